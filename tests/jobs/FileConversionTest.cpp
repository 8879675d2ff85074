#include <gtest/gtest.h>

#include "jobs/Messages.h"
#include "process/ProcessState.h"
#include "tests/jobs/FileRunFixture.h"
#include "tests/support/Printing.h"

namespace {

using FileConversionTest = FileRunTest;
using namespace std::string_view_literals;

TEST_F(FileConversionTest, ConvertsALoadedFileAndShowsSave) {
    Load(
        "\xFF\xFE"
        "5\0\r\0\n\0"
        "3\0\r\0\n\0"sv);
    EXPECT_EQ(toolkit.Text(ControlId::FileContents), u"5\r\n3\r\n");
    EXPECT_TRUE(toolkit.State(ControlId::ConvertFile).visible);
    Click(ControlId::ConvertFile);
    EXPECT_EQ(toolkit.Text(ControlId::Result), u"101\r\n11\r\n");
    EXPECT_EQ(toolkit.Beeps(), 1);
    EXPECT_TRUE(toolkit.Messages().empty()) << "the message gate is closed by default";
    EXPECT_TRUE(toolkit.State(ControlId::AutoRun).checked) << "a run ticks the automatic mode";
    EXPECT_EQ(g_autoRunArmed, 0);
    EXPECT_EQ(toolkit.Text(ControlId::ProgressText), u"");
    ExpectIdle(true);
}

TEST_F(FileConversionTest, ShowsEachPercentageOnceInOrder) {
    std::string file;
    for (int line = 0; line < 10; ++line) {
        file += "12345\r\n";
    }
    Load(file);
    Click(ControlId::ConvertFile);
    std::vector<int> expected;
    for (int percent = 0; percent <= 31; ++percent) {
        expected.push_back(percent);
    }
    for (const int percent : {85, 86, 87, 89, 90, 91, 92, 93, 95, 96, 97, 98, 100}) {
        expected.push_back(percent);
    }
    EXPECT_EQ(ShownPercentages(), expected);
}

TEST_F(FileConversionTest, TheMessageGateNeedsTheTickAndTheStoredSetting) {
    OpenMessageGate();
    Load("5");
    Click(ControlId::ConvertFile);
    EXPECT_EQ(toolkit.MessageTexts(), std::vector<std::u16string>{std::u16string(message::kDone)});

    toolkit.ClearRecords();
    g_settings[1] = WideString(1, u'0');
    Click(ControlId::ConvertFile);
    EXPECT_TRUE(toolkit.Messages().empty());
    EXPECT_EQ(toolkit.Beeps(), 1);
}

TEST_F(FileConversionTest, ARangeErrorKeepsThePreviousResult) {
    OpenMessageGate();
    Load("7");
    Click(ControlId::ConvertFile);
    toolkit.ClearRecords();
    Load("1\r\n\r\n\r\n2147483648\r\n");
    Click(ControlId::ConvertFile);
    EXPECT_EQ(toolkit.MessageTexts(),
              std::vector<std::u16string>{std::u16string(message::kTooLargeInList)});
    EXPECT_EQ(toolkit.Messages()[0].icon, MessageIcon::Error);
    EXPECT_EQ(toolkit.Text(ControlId::Result), u"111\r\n");
    EXPECT_EQ(toolkit.Beeps(), 0);
    ExpectIdle(true);
}

TEST_F(FileConversionTest, CancelInAnyPhaseLeavesTheResultAsItWas) {
    const struct {
        const char* phase;
        int cancelAtPercent;
    } cases[] = {{"split", 0}, {"split, later", 20}, {"conversion", 80}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.phase);
        toolkit.OnTextSet(nullptr);
        Load("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n");
        Click(ControlId::ConvertFile);
        toolkit.ClearRecords();
        toolkit.OnTextSet([&](std::optional<ControlId> control, const WideString& text) {
            if (control == ControlId::ProgressText &&
                ShownPercentages().back() >= c.cancelAtPercent) {
                toolkit.OnTextSet(nullptr);
                Click(ControlId::Cancel);
            }
            (void)text;
        });
        std::string twentyFours;
        for (int line = 0; line < 20; ++line) {
            twentyFours += "4\r\n";
        }
        Load(twentyFours);
        Click(ControlId::ConvertFile);
        EXPECT_EQ(toolkit.Text(ControlId::Result).substr(0, 5), u"1\r\n10");
        EXPECT_EQ(toolkit.State(ControlId::Progress).position, 0);
        const std::vector<std::string> calls = toolkit.Calls();
        const auto send = std::find(calls.begin(), calls.end(), "send 1124");
        ASSERT_GE(send - calls.begin(), 2);
        EXPECT_EQ(*(send - 2), "position 0");
        EXPECT_EQ(*(send - 1), "text 1011 進捗率 0 %");
        EXPECT_EQ(toolkit.Beeps(), 0);
        EXPECT_TRUE(toolkit.Messages().empty());
        ExpectIdle(true);
    }
}

TEST_F(FileConversionTest, ACancelAfterTheLastPollChangesNothing) {
    Load("5");
    toolkit.OnTextSet([&](std::optional<ControlId> control, const WideString&) {
        if (control == ControlId::Result) {
            Click(ControlId::Cancel);
        }
    });
    Click(ControlId::ConvertFile);
    EXPECT_EQ(toolkit.Text(ControlId::Result), u"101\r\n");
    EXPECT_EQ(toolkit.Beeps(), 1);
    EXPECT_EQ(g_cancelRequested, 1);
    toolkit.OnTextSet(nullptr);
    Load("6");
    Click(ControlId::ConvertFile);
    EXPECT_EQ(toolkit.Text(ControlId::Result), u"110\r\n") << "the next start clears the flag";
}

TEST_F(FileConversionTest, ASecondRunConvertsOnlyItsOwnNumbers) {
    Load("1\r\n2\r\n");
    Click(ControlId::ConvertFile);
    Click(ControlId::ConvertFile);
    EXPECT_EQ(toolkit.Text(ControlId::Result), u"1\r\n10\r\n") << "the same text, run again";
    Load("3");
    Click(ControlId::ConvertFile);
    EXPECT_EQ(toolkit.Text(ControlId::Result), u"11\r\n");
}

TEST_F(FileConversionTest, AListOfLineBreaksGivesAnEmptyResultAndNoSave) {
    Load("\r\n\r\n");
    Click(ControlId::ConvertFile);
    EXPECT_EQ(toolkit.Text(ControlId::Result), u"");
    EXPECT_EQ(toolkit.Beeps(), 1);
    ExpectIdle(false);
}

TEST_F(FileConversionTest, RefusesWhatCannotBeConverted) {
    const struct {
        const char* what;
        std::optional<std::string_view> file;
        std::u16string_view message;
    } cases[] = {
        {"no file chosen", std::nullopt, message::kNoFileChosen},
        {"one empty line", "\r\n"sv, message::kOnlyLineBreaks},
        {"a blank", "1 2"sv, message::kNotDigits},
        {"a sign", "-1"sv, message::kNotDigits},
        {"a decimal point", "1.5"sv, message::kNotDigits},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        toolkit.Reset();
        Start();
        if (c.file) {
            Load(*c.file);
            Click(ControlId::ConvertFile);
        } else {
            Click(ControlId::LoadFile);
        }
        EXPECT_EQ(toolkit.MessageTexts(), std::vector<std::u16string>{std::u16string(c.message)});
        EXPECT_TRUE(toolkit.State(ControlId::Convert).enabled) << "no run started";
    }
}

TEST_F(FileConversionTest, AnEmptyFileAfterALoadedOneLeavesConvertFileShown) {
    Load("5");
    Load("", "empty.txt");
    EXPECT_EQ(toolkit.Text(ControlId::FileContents), u"");
    EXPECT_TRUE(toolkit.State(ControlId::ConvertFile).visible);
    Click(ControlId::ConvertFile);
    EXPECT_EQ(toolkit.MessageTexts(),
              std::vector<std::u16string>{std::u16string(message::kNothingLoaded)});
}

TEST_F(FileConversionTest, AnUnreadableFileChangesNothing) {
    Load("5");
    toolkit.Type(ControlId::BrowseFile, (m_documents / "missing.txt").u16string());
    Click(ControlId::LoadFile);
    EXPECT_EQ(toolkit.MessageTexts(),
              std::vector<std::u16string>{std::u16string(message::kFileUnreadable)});
    EXPECT_EQ(toolkit.Text(ControlId::FileContents), u"5\r\n");
    EXPECT_EQ(*g_fileText, u"5\r\n");
}

TEST_F(FileConversionTest, AWorkerThatCannotStartReturnsTheDialogToIdle) {
    Load("5");
    toolkit.RefuseThreads();
    Click(ControlId::ConvertFile);
    EXPECT_EQ(toolkit.MessageTexts(),
              std::vector<std::u16string>{std::u16string(message::kWorkerNotStarted)});
    ExpectIdle(false);
}

}  // namespace

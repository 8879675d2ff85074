#include <gtest/gtest.h>

#include "jobs/Messages.h"
#include "jobs/ProcessState.h"
#include "tests/support/DialogFixture.h"
#include "tests/support/Printing.h"

namespace fs = std::filesystem;

namespace {

using namespace std::string_view_literals;

class AutoRunTest : public DialogTest {
  protected:
    AutoRunTest() { fs::create_directories(ProductFolder() / "AutoFile"); }

    fs::path Input() const { return ProductFolder() / "AutoFile" / "Radix10Kan.tbin"; }
    fs::path Result() const { return ProductFolder() / "Result" / "Radix2Result.tbin"; }
    // Messages show only with the show-messages setting on and the automatic mode stored ticked.
    void OpenMessageGate() {
        fs::create_directories(ProductFolder() / "temp");
        WriteFileBytes(ProductFolder() / "temp" / "Radix2A.tmp", "1\r\n1");
    }
};

TEST_F(AutoRunTest, ConvertsTheInputDeletesItAndCloses) {
    const struct {
        const char* what;
        std::string_view input;
        std::string_view result;
    } cases[] = {
        {"two numbers", "5\r\n3\r\n", "101\r\n11\r\n"},
        {"UTF-16LE with mark",
         "\xFF\xFE"
         "5\0\n\0"
         "3\0"sv,
         "101\r\n11\r\n"},
        {"a CR inside a line", "1\r2", "1100\r\n"},
        {"blank lines", "\r\n\r\n7\r\n\r\n", "111\r\n"},
        {"a mark only", "\xEF\xBB\xBF", ""},
        {"line breaks only", "\r\n\r\n", ""},
    };
    OpenMessageGate();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetProcessState();
        toolkit.Reset();
        WriteFileBytes(Input(), c.input);
        Start();
        EXPECT_EQ(dialog.AutomaticOutcome(), AutoRunOutcome::Converted);
        EXPECT_EQ(toolkit.EndResult(), -1);
        EXPECT_EQ(ReadFileBytes(Result()), c.result);
        EXPECT_FALSE(fs::exists(Input()));
        EXPECT_TRUE(fs::is_directory(ProductFolder() / "AutoFile")) << "the mode stays armed";
        EXPECT_EQ(toolkit.Beeps(), 1);
        EXPECT_EQ(toolkit.MessageTexts(),
                  std::vector<std::u16string>{std::u16string(message::kDone)});
        EXPECT_FALSE(toolkit.State(ControlId::AutoRun).checked);
        EXPECT_EQ(toolkit.WaitCursorDepth(), 0);
    }
}

TEST_F(AutoRunTest, RefusedInputChangesNothingOnDisk) {
    const struct {
        const char* what;
        std::optional<std::string_view> input;
        AutoRunOutcome outcome;
        std::u16string_view message;
    } cases[] = {
        {"missing", std::nullopt, AutoRunOutcome::InputMissing, message::kAutoInputMissing},
        {"empty", "", AutoRunOutcome::InputEmpty, message::kAutoInputEmpty},
        {"a letter", "5\r\nx\r\n", AutoRunOutcome::NotDigits, message::kAutoInputNotDigits},
        {"a sign", "+5", AutoRunOutcome::NotDigits, message::kAutoInputNotDigits},
        {"too large", "1\r\n2147483648\r\n", AutoRunOutcome::TooLarge, message::kTooLargeInList},
    };
    OpenMessageGate();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetProcessState();
        toolkit.Reset();
        fs::remove(Input());
        if (c.input) {
            WriteFileBytes(Input(), *c.input);
        }
        Start();
        EXPECT_EQ(dialog.AutomaticOutcome(), c.outcome);
        EXPECT_EQ(toolkit.EndResult(), -1);
        EXPECT_EQ(fs::exists(Input()), c.input.has_value());
        EXPECT_FALSE(fs::exists(Result()));
        EXPECT_EQ(toolkit.Beeps(), 0);
        EXPECT_EQ(toolkit.MessageTexts(), std::vector<std::u16string>{std::u16string(c.message)});
    }
}

TEST_F(AutoRunTest, WithTheGateClosedASuccessfulRunOnlyBeeps) {
    WriteFileBytes(Input(), "5");
    Start();
    EXPECT_EQ(dialog.AutomaticOutcome(), AutoRunOutcome::Converted);
    EXPECT_EQ(toolkit.Beeps(), 1);
    EXPECT_TRUE(toolkit.Messages().empty());
}

TEST_F(AutoRunTest, ReplacesALongerResultAndDeletesAReadOnlyInput) {
    fs::create_directories(Result().parent_path());
    WriteFileBytes(Result(), std::string(1000, '1'));
    WriteFileBytes(Input(), "5");
    fs::permissions(Input(), fs::perms::owner_read);
    Start();
    EXPECT_EQ(ReadFileBytes(Result()), "101\r\n");
    EXPECT_FALSE(fs::exists(Input()));
}

TEST_F(AutoRunTest, KeepsTheInputWhenTheResultCannotBeWritten) {
    OpenMessageGate();
    fs::create_directories(ProductFolder());
    WriteFileBytes(ProductFolder() / "Result", "a file where the folder should be");
    WriteFileBytes(Input(), "5");
    Start();
    EXPECT_EQ(dialog.AutomaticOutcome(), AutoRunOutcome::ResultNotWritten);
    EXPECT_TRUE(fs::exists(Input()));
    EXPECT_EQ(toolkit.MessageTexts(),
              std::vector<std::u16string>{std::u16string(message::kAutoResultNotWritten)});
    EXPECT_EQ(toolkit.Beeps(), 0);
}

TEST_F(AutoRunTest, AnInputReplacedByAFolderCountsAsMissing) {
    fs::create_directory(Input());
    Start();
    EXPECT_EQ(dialog.AutomaticOutcome(), AutoRunOutcome::InputMissing);
    EXPECT_TRUE(fs::is_directory(Input()));
}

}  // namespace

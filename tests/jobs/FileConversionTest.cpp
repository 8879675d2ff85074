#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <fstream>
#include <functional>

#include "jobs/Messages.h"
#include "process/ProcessState.h"
#include "tests/jobs/FileRunFixture.h"
#include "tests/support/Printing.h"
#include "tests/support/TestBytes.h"

namespace {

using FileConversionTest = FileRunTest;
using namespace std::string_view_literals;

// A load that gets no thread of its own is done in place.
TEST_F(FileConversionTest, ConvertsALoadedFileAndShowsSave) {
    toolkit.RefuseThreads();
    Load(
        "\xFF\xFE"
        "5\0\r\0\n\0"
        "3\0\r\0\n\0"sv);
    EXPECT_EQ(toolkit.Text(ControlId::FileContents), u"5\r\n3\r\n");
    EXPECT_TRUE(toolkit.State(ControlId::ConvertFile).visible);
    toolkit.RefuseThreads(false);
    Click(ControlId::ConvertFile);
    EXPECT_EQ(toolkit.Text(ControlId::Result), u"101\r\n11\r\n");
    EXPECT_EQ(toolkit.Beeps(), 1U);
    EXPECT_TRUE(toolkit.MessageTexts().empty()) << "the message gate is closed by default";
    EXPECT_TRUE(toolkit.State(ControlId::AutoRun).checked) << "a run ticks the automatic mode";
    EXPECT_EQ(g_autoRunArmed, 0);
    EXPECT_EQ(toolkit.Text(ControlId::ProgressText), u"");
    ExpectIdle(true);
    // With the load and the run over, nothing holds the window: it closes at once.
    dialog.OnCancel();
    EXPECT_TRUE(toolkit.Ended());
}

// The message gate needs the tick and the stored setting. A range error's box comes before the
// controls come back, so that nothing can start under it.
TEST_F(FileConversionTest, ARangeErrorKeepsThePreviousResult) {
    OpenMessageGate();
    Load("7");
    Click(ControlId::ConvertFile);
    EXPECT_EQ(toolkit.MessageTexts(), std::vector{WideString(message::kDone)});
    g_settings[1] = WideString(1, u'0');
    Click(ControlId::ConvertFile);
    EXPECT_EQ(toolkit.MessageTexts().size(), 1U);
    EXPECT_EQ(toolkit.Beeps(), 2U);
    g_settings[1] = WideString(1, u'1');
    toolkit.ClearEvents();
    Load("1\r\n\r\n\r\n2147483648\r\n");
    Click(ControlId::ConvertFile);
    const std::vector<Event> events = toolkit.Events();
    const auto shown = std::find(events.begin(), events.end(),
                                 MessageEvent(message::kTooLargeInList, MessageIcon::Error));
    const Event reenabled{Event::Kind::Enabled, ControlId::BrowseFile, {}, 1};
    EXPECT_LT(shown, std::find(shown, events.end(), reenabled));
    EXPECT_EQ(toolkit.MessageTexts().size(), 1U);
    EXPECT_EQ(toolkit.Text(ControlId::Result), u"111\r\n");
    EXPECT_EQ(toolkit.Beeps(), 0U);
    ExpectIdle(true);
}

// A cancelled run shows 0 % and leaves the result of the run before it.
TEST_F(FileConversionTest, CancelInAnyPhaseLeavesTheResultAsItWas) {
    const std::string twentyFours = Repeated("4\r\n", 20);
    const struct {
        const char* phase;
        std::string list;
        std::function<bool(const Event&)> cancelAt;
    } cases[] = {
        {"at the first poll of the split", twentyFours,
         [](const Event& event) { return event.kind == Event::Kind::Range; }},
        {"later in the split", twentyFours,
         [](const Event& event) { return event.text == u"進捗率\u300020 %"; }},
        {"right after an empty split", "\r\n\r\n\r\n",
         [](const Event& event) { return event.kind == Event::Kind::Range; }},
        {"in the conversion", twentyFours,
         [](const Event& event) { return event.text == u"進捗率\u300080 %"; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.phase);
        toolkit.OnEvent(nullptr);
        Load(CountingList(10, 1));
        Click(ControlId::ConvertFile);
        Load(c.list);
        toolkit.ClearEvents();
        toolkit.OnEvent([&](const Event& event) {
            if (c.cancelAt(event)) {
                toolkit.OnEvent(nullptr);
                Click(ControlId::Cancel);
            }
        });
        Click(ControlId::ConvertFile);
        EXPECT_EQ(toolkit.Text(ControlId::Result).substr(0, 5), u"1\r\n10");
        EXPECT_EQ(toolkit.State(ControlId::Progress).position, 0);
        EXPECT_EQ(toolkit.Text(ControlId::ProgressText), u"進捗率 0 %");
        EXPECT_EQ(toolkit.Beeps(), 0U);
        EXPECT_TRUE(toolkit.MessageTexts().empty());
        ExpectIdle(true);
        Load("\r\n5");
        Click(ControlId::ConvertFile);
        EXPECT_EQ(toolkit.Text(ControlId::Result), u"101\r\n") << "nothing of the cancelled split";
    }
}

// The worker has posted its end and gone, and the window's thread takes a Cancel first.
TEST_F(FileConversionTest, ACancelWhileTheRunEndsChangesNothing) {
    toolkit.RunThreadsForReal();
    Load("5");
    Click(ControlId::ConvertFile);
    ASSERT_TRUE(toolkit.AwaitWorkerEnd());
    Click(ControlId::Cancel);
    toolkit.JoinWorker();
    EXPECT_EQ(toolkit.Text(ControlId::Result), u"101\r\n");
    EXPECT_EQ(toolkit.Beeps(), 1U);
    ExpectIdle(true);
    Load("6");
    Click(ControlId::ConvertFile);
    toolkit.JoinWorker();
    EXPECT_EQ(toolkit.Text(ControlId::Result), u"110\r\n") << "the next start clears the flag";
}

// A close while a file loads ends the dialog only once the load is done.
TEST_F(FileConversionTest, ClosingDuringALoadEndsOnceItIsDone) {
    toolkit.RunThreadsForReal();
    WriteFileBytes(m_documents / "numbers.txt", "5");
    toolkit.Type(ControlId::BrowseFile, (m_documents / "numbers.txt").u16string());
    Click(ControlId::LoadFile);
    dialog.OnCancel();
    EXPECT_FALSE(toolkit.Ended()) << "the dialog waits for the load";
    toolkit.JoinWorker();
    EXPECT_TRUE(toolkit.Ended());
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

// Each refusal shows its one message and leaves the window idle with the last result in place.
TEST_F(FileConversionTest, RefusesWhatCannotBeConvertedAndKeepsTheLastResult) {
    const struct {
        const char* what;
        std::optional<std::string_view> file;  // none: the typed path is loaded
        std::u16string_view message;
        std::u16string_view typed = u"";
    } cases[] = {
        {"no file chosen", std::nullopt, message::kNoFileChosen},
        {"a missing file", std::nullopt, message::kFileUnreadable, u"/nonexistent/numbers.txt"},
        {"an empty file", ""sv, message::kNothingLoaded},
        {"one empty line", "\r\n"sv, message::kOnlyLineBreaks},
        {"a sign", "-1"sv, message::kNotDigits},
        {"no thread can start", "6"sv, message::kWorkerNotStarted},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Load("5");
        Click(ControlId::ConvertFile);
        toolkit.ClearEvents();
        if (c.file) {
            Load(*c.file);
            toolkit.RefuseThreads(c.message == message::kWorkerNotStarted);
            Click(ControlId::ConvertFile);
        } else {
            toolkit.Type(ControlId::BrowseFile, c.typed);
            Click(ControlId::LoadFile);
            toolkit.JoinWorker();
            EXPECT_EQ(toolkit.Text(ControlId::FileContents), u"5\r\n");
        }
        EXPECT_EQ(toolkit.MessageTexts(), std::vector{WideString(c.message)});
        EXPECT_EQ(toolkit.Text(ControlId::Result), u"101\r\n");
        EXPECT_TRUE(toolkit.State(ControlId::ConvertFile).visible);
        ExpectIdle(true);
    }
}

#if !defined(_WIN32) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// Room for what the process holds now and 250 MB more, while it lives. The sanitizers reserve
// more address space than that for themselves.
class AddressSpaceCeiling {
  public:
    AddressSpaceCeiling() {
        getrlimit(RLIMIT_AS, &m_saved);
        std::ifstream statm("/proc/self/statm");
        rlim_t pages = 0;
        statm >> pages;
        const rlimit ceiling{pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (250 << 20),
                             m_saved.rlim_max};
        setrlimit(RLIMIT_AS, &ceiling);
    }
    ~AddressSpaceCeiling() { setrlimit(RLIMIT_AS, &m_saved); }

  private:
    rlimit m_saved{};
};

// A run that cannot hold its numbers and results ends with an error and keeps the loaded text
// and the earlier result; a file too large to load keeps the text loaded before.
TEST_F(FileConversionTest, RunningOutOfMemoryEndsTheStepAndKeepsWhatWasThere) {
    toolkit.RunThreadsForReal();
    WriteFileBytes(Documents() / "large.txt", Repeated("2147483647\r\n", 5'000'000));
    WriteFileBytes(Documents() / "larger.txt", Repeated("2147483647\r\n", 12'000'000));
    Load("5");
    Click(ControlId::ConvertFile);
    toolkit.JoinWorker();
    const AddressSpaceCeiling ceiling;
    const WideString failedRun(message::kOutOfMemory);
    const struct {
        const char* file;
        std::vector<WideString> messages;
    } cases[] = {
        {"large.txt", {failedRun}},
        {"larger.txt", {WideString(message::kFileUnreadable), failedRun}},
    };
    for (const auto& [file, messages] : cases) {
        SCOPED_TRACE(file);
        toolkit.ClearEvents();
        toolkit.Type(ControlId::BrowseFile, (Documents() / file).u16string());
        Click(ControlId::LoadFile);
        toolkit.JoinWorker();
        Click(ControlId::ConvertFile);
        toolkit.JoinWorker();
        EXPECT_EQ(toolkit.MessageTexts(), messages);
        // Its size, without a copy of 120 MB that the ceiling may not leave room for.
        EXPECT_EQ(toolkit.State(ControlId::FileContents).text.Size(), 60'000'000U);
        EXPECT_EQ(toolkit.Text(ControlId::Result), u"101\r\n");
        ExpectIdle(true);
    }
}
#endif

// A drop loads as 「…」 then 「ファイル読込」 would, messages and all, and only then: one file,
// not a folder, while both are usable.
TEST_F(FileConversionTest, ADropLoadsOneFileAsChoosingAndLoadingWould) {
    namespace fs = std::filesystem;
    const fs::path numbers = m_documents / "numbers.txt";
    const fs::path missing = m_documents / "missing.txt";
    WriteFileBytes(numbers, "5\r\n3\r\n");
    struct Row {
        std::vector<fs::path> files;
        bool loadUsable;
        bool accepted;
        std::u16string_view shown;
    };
    const Row rows[] = {
        {{}, true, false, u""},
        {{numbers, numbers}, true, false, u""},
        {{m_documents.path()}, true, false, u""},
        {{numbers}, false, false, u""},
        {{missing}, true, true, u""},
        {{numbers}, true, true, u"5\r\n3\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.files.empty() ? "" : row.files.front().string());
        toolkit.SetEnabled(ControlId::LoadFile, row.loadUsable);
        toolkit.ClearEvents();
        EXPECT_EQ(dialog.AcceptsDrop(row.files), row.accepted);
        dialog.OnDrop(row.files);
        toolkit.JoinWorker();
        EXPECT_EQ(toolkit.Text(ControlId::BrowseFile),
                  row.accepted ? row.files.front().u16string() : u"");
        EXPECT_EQ(toolkit.Text(ControlId::FileContents), row.shown);
        const bool unreadable = row.accepted && row.shown.empty();
        EXPECT_EQ(toolkit.MessageTexts(), unreadable
                                              ? std::vector{WideString(message::kFileUnreadable)}
                                              : std::vector<WideString>{});
    }
}

}  // namespace

#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "core/NumberListStream.h"
#include "tests/jobs/FileRunFixture.h"
#include "tests/support/Printing.h"
#include "tests/support/TestBytes.h"

namespace {

using namespace std::chrono_literals;

// The worker runs on a thread of its own and holds at its first progress text until the test,
// standing for the window's thread, has acted. Each test runs on a list short enough for one core,
// and on one long enough for the worker to share each step with a second thread.
class PauseAndCloseTest : public FileRunTest, public testing::WithParamInterface<int> {
  protected:
    PauseAndCloseTest() {
        toolkit.RunThreadsForReal();
        toolkit.OnEvent([this](const Event& event) {
            if (!m_held && event.control == ControlId::ProgressText && !event.text.empty()) {
                m_held = true;
                m_workerHeld.set_value();
                m_testActed.get_future().wait();
            }
        });
    }

    // Starts the run and returns once the worker holds.
    void StartAndHold() {
        m_held = false;
        m_workerHeld = {};
        m_testActed = {};
        Click(ControlId::ConvertFile);
        m_workerHeld.get_future().wait();
    }
    void LetGo() { m_testActed.set_value(); }

    std::size_t EventsAfterAWhile() {
        std::this_thread::sleep_for(50ms);
        return toolkit.Events().size();
    }

  private:
    bool m_held = false;
    std::promise<void> m_workerHeld;
    std::promise<void> m_testActed;
};

TEST_P(PauseAndCloseTest, APausedRunMakesNoProgressUntilResumed) {
    Load(CountingList(GetParam(), 1));
    StartAndHold();
    EXPECT_EQ(toolkit.WaitCursorDepth(), 1);
    EXPECT_TRUE(toolkit.State(ControlId::ProgressText).visible);
    ExpectEnabled(kRunControls, false);
    Click(ControlId::Pause);
    LetGo();
    EXPECT_EQ(toolkit.Text(ControlId::Pause), u"再開");
    ExpectEnabled({ControlId::Pause}, true);
    ExpectEnabled({ControlId::ConvertFile, ControlId::Cancel, ControlId::Exit, ControlId::AutoRun,
                   ControlId::ShowMessages, ControlId::About, ControlId::Convert,
                   ControlId::LoadFile, ControlId::BrowseFile},
                  false);
    const std::size_t paused = EventsAfterAWhile();
    EXPECT_EQ(EventsAfterAWhile(), paused);

    Click(ControlId::Pause);
    EXPECT_EQ(toolkit.Text(ControlId::Pause), u"一時停止");
    ExpectEnabled({ControlId::Pause, ControlId::Cancel, ControlId::AutoRun, ControlId::ShowMessages,
                   ControlId::About, ControlId::Convert},
                  true);
    // Exit is left out: the resumed run enables it from its own thread as it finishes.
    ExpectEnabled({ControlId::ConvertFile, ControlId::LoadFile, ControlId::BrowseFile,
                   ControlId::Save, ControlId::Decimal},
                  false);
    toolkit.JoinWorker();
    ByteString expected;
    ConvertLines(CountingList(GetParam(), 1), Encoding::Utf8, expected);
    EXPECT_EQ(toolkit.Text(ControlId::Result), WideString(expected.begin(), expected.end()));
    EXPECT_EQ(toolkit.Beeps(), 1U);
    ExpectIdle(true);
}

// A paused run is resumed first, so that it can see the cancel.
TEST_P(PauseAndCloseTest, ClosingDuringARunCancelsItAndEndsOnceItStopped) {
    for (const bool paused : {false, true}) {
        SCOPED_TRACE(paused ? "paused" : "running");
        Load(CountingList(GetParam(), 1));
        toolkit.ClearEvents();
        StartAndHold();
        if (paused) {
            Click(ControlId::Pause);
            LetGo();
            EventsAfterAWhile();
        }
        dialog.OnCancel();
        EXPECT_FALSE(toolkit.Ended()) << "the dialog waits for the run";
        if (!paused) {
            LetGo();
        }
        toolkit.JoinWorker();
        EXPECT_TRUE(toolkit.Ended());
        EXPECT_EQ(toolkit.Text(ControlId::Result), u"");
        EXPECT_EQ(toolkit.Beeps(), 0U);
    }
}

INSTANTIATE_TEST_SUITE_P(OneCoreAndTwo, PauseAndCloseTest, testing::Values(200, 150'000));

// While the worker waits, the second core splits its half, which the next percentage then counts.
TEST_F(PauseAndCloseTest, ProgressCountsTheSecondCoresHalfWhileTheFirstWaits) {
    Load(CountingList(150'000, 1));
    StartAndHold();
    std::this_thread::sleep_for(300ms);
    LetGo();
    toolkit.JoinWorker();
    const std::vector<int> shown = ShownPercentages();
    ASSERT_GE(shown.size(), 2U);
    EXPECT_GE(shown[1], 16) << "the second half is a sixth of the run";
}

}  // namespace

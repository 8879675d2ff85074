#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <future>

#include "process/ProcessState.h"
#include "tests/jobs/FileRunFixture.h"
#include "tests/support/Printing.h"
#include "tests/support/TestBytes.h"

namespace {

using namespace std::chrono_literals;

using HoldPoint = std::function<bool(const Event&)>;

bool AtFirstProgress(const Event& event) {
    return event.control == ControlId::ProgressText && !event.text.empty();
}

// The worker runs on a thread of its own and holds at a text write of the test's choosing until
// the test, standing for the window's thread, has acted.
class PauseAndCloseTest : public FileRunTest {
  protected:
    PauseAndCloseTest() {
        toolkit.RunThreadsForReal();
        toolkit.OnEvent([this](const Event& event) {
            if (!m_held && m_holdAt && m_holdAt(event)) {
                m_held = true;
                m_workerHeld.set_value();
                m_testActed.get_future().wait();
            }
        });
    }

    // Starts the run and returns once the worker holds.
    void StartAndHold(HoldPoint holdAt = AtFirstProgress) {
        m_holdAt = std::move(holdAt);
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
    int RunsEnded() const {
        const auto sent = toolkit.Events(Event::Kind::Send);
        return static_cast<int>(std::count(sent.begin(), sent.end(),
                                           Event{Event::Kind::Send, {}, {}, WM_CONVERT_DONE}));
    }

  private:
    HoldPoint m_holdAt;
    bool m_held = false;
    std::promise<void> m_workerHeld;
    std::promise<void> m_testActed;
};

TEST_F(PauseAndCloseTest, APausedRunMakesNoProgressUntilResumed) {
    Load(CountingList(200, 1));
    StartAndHold();
    EXPECT_EQ(toolkit.WaitCursorDepth(), 1);
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
    EXPECT_EQ(toolkit.Text(ControlId::Result).substr(0, 9), u"1\r\n10\r\n11");
    EXPECT_EQ(toolkit.Beeps(), 1U);
    ExpectIdle(true);
}

// Past its last poll a run still writes the result, beeps and ends; a Pause there must hold it
// too, and the next run must start unpaused. A range error holds at its box only when the message
// gate is open.
TEST_F(PauseAndCloseTest, APauseInTheLastStepsHoldsTheRunAndTheNextStartsUnpaused) {
    const struct {
        const char* exit;
        const char* file;
        HoldPoint holdAt;
        bool messageGateOpen = false;
    } cases[] = {
        {"done", "5\r\n3\r\n",
         [](const Event& event) { return event.control == ControlId::Result; }},
        {"a range error, at its box", "5\r\n2147483648\r\n",
         [](const Event& event) { return event.kind == Event::Kind::Message; }, true},
        {"a range error, as the file choice comes back", "5\r\n2147483648\r\n",
         [](const Event& event) {
             return event == Event{Event::Kind::Enabled, ControlId::BrowseFile, {}, 1};
         }},
        {"cancelled", "5\r\n3\r\n",
         [](const Event& event) {
             if (AtFirstProgress(event)) {
                 g_cancelRequested = 1;
             }
             return event.text == u"進捗率 0 %";
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exit);
        toolkit.SetChecked(ControlId::ShowMessages, c.messageGateOpen);
        Load(c.file);
        toolkit.ClearEvents();
        StartAndHold(c.holdAt);
        Click(ControlId::Pause);
        LetGo();
        const std::size_t paused = EventsAfterAWhile();
        EXPECT_EQ(EventsAfterAWhile(), paused);
        EXPECT_EQ(RunsEnded(), 0) << "a paused run must not end";
        EXPECT_FALSE(toolkit.State(ControlId::BrowseFile).enabled) << "Pause disables it";
        EXPECT_EQ(toolkit.Beeps(), 0U);

        Click(ControlId::Pause);
        toolkit.JoinWorker();
        EXPECT_EQ(RunsEnded(), 1);
        EXPECT_EQ(toolkit.Text(ControlId::Pause), u"一時停止");

        g_cancelRequested = 0;
        Click(ControlId::ConvertFile);
        toolkit.JoinWorker();
        EXPECT_EQ(RunsEnded(), 2) << "the next run must not hold at its first poll";
        EXPECT_EQ(toolkit.Text(ControlId::Pause), u"一時停止");
        EXPECT_FALSE(toolkit.State(ControlId::Pause).visible);
    }
}

// A paused run is resumed first, so that it can see the cancel.
TEST_F(PauseAndCloseTest, ClosingDuringARunCancelsItAndEndsOnceItStopped) {
    for (const bool paused : {false, true}) {
        SCOPED_TRACE(paused ? "paused" : "running");
        Load(CountingList(200, 1));
        toolkit.ClearEvents();
        StartAndHold();
        if (paused) {
            Click(ControlId::Pause);
            LetGo();
            EventsAfterAWhile();
        }
        dialog.OnCancel();
        EXPECT_FALSE(toolkit.EndResult().has_value()) << "the dialog waits for the run";
        if (!paused) {
            LetGo();
        }
        toolkit.JoinWorker();
        EXPECT_EQ(toolkit.EndResult(), IDCANCEL);
        EXPECT_EQ(toolkit.Text(ControlId::Result), u"");
        EXPECT_EQ(toolkit.Beeps(), 0U);
    }
}

}  // namespace

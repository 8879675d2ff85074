#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "jobs/ProcessState.h"
#include "tests/jobs/FileRunFixture.h"
#include "tests/support/Printing.h"

namespace {

using namespace std::chrono_literals;

// The worker runs on a thread of its own and holds at its first progress step until the test,
// standing for the window's thread, has acted.
class PauseAndCloseTest : public FileRunTest {
  protected:
    PauseAndCloseTest() {
        toolkit.RunThreadsForReal();
        std::string file;
        for (int n = 1; n <= 200; ++n) {
            file += std::to_string(n) + "\r\n";
        }
        Load(file);
        toolkit.OnTextSet([this](ControlId control, const WideString&) {
            if (control == ControlId::ProgressText && !m_held) {
                m_held = true;
                m_workerHeld.set_value();
                m_testActed.get_future().wait();
            }
        });
    }

    // Starts the run and returns once the worker holds.
    void StartAndHold() {
        Click(ControlId::ConvertFile);
        m_workerHeld.get_future().wait();
    }
    void LetGo() { m_testActed.set_value(); }

    std::size_t CallsAfterAWhile() {
        std::this_thread::sleep_for(50ms);
        return toolkit.Calls().size();
    }

  private:
    bool m_held = false;
    std::promise<void> m_workerHeld;
    std::promise<void> m_testActed;
};

TEST_F(PauseAndCloseTest, APausedRunMakesNoProgressUntilResumed) {
    StartAndHold();
    Click(ControlId::Pause);
    LetGo();
    EXPECT_EQ(toolkit.Text(ControlId::Pause), u"再開");
    EXPECT_FALSE(toolkit.State(ControlId::Cancel).enabled);
    EXPECT_FALSE(toolkit.State(ControlId::Exit).enabled);
    EXPECT_FALSE(toolkit.State(ControlId::Convert).enabled);
    EXPECT_FALSE(toolkit.State(ControlId::LoadFile).enabled);
    const std::size_t paused = CallsAfterAWhile();
    EXPECT_EQ(CallsAfterAWhile(), paused);

    Click(ControlId::Pause);
    EXPECT_EQ(toolkit.Text(ControlId::Pause), u"一時停止");
    EXPECT_TRUE(toolkit.State(ControlId::Cancel).enabled);
    EXPECT_TRUE(toolkit.State(ControlId::Convert).enabled) << "Resume lets single conversions in";
    toolkit.JoinWorker();
    EXPECT_EQ(toolkit.Text(ControlId::Result).substr(0, 9), u"1\r\n10\r\n11");
    EXPECT_EQ(toolkit.Beeps(), 1);
    ExpectIdle(true);
}

TEST_F(PauseAndCloseTest, ClosingDuringARunCancelsItAndEndsOnceItStopped) {
    StartAndHold();
    dialog.OnCancel();
    EXPECT_FALSE(toolkit.EndResult().has_value()) << "the dialog waits for the run";
    LetGo();
    toolkit.JoinWorker();
    EXPECT_EQ(toolkit.EndResult(), IDCANCEL);
    EXPECT_EQ(toolkit.Text(ControlId::Result), u"");
    EXPECT_EQ(toolkit.Beeps(), 0);
}

TEST_F(PauseAndCloseTest, ClosingAPausedRunResumesItFirst) {
    StartAndHold();
    Click(ControlId::Pause);
    LetGo();
    CallsAfterAWhile();
    dialog.OnCancel();
    toolkit.JoinWorker();
    EXPECT_EQ(toolkit.EndResult(), IDCANCEL);
    EXPECT_EQ(toolkit.Beeps(), 0);
}

}  // namespace

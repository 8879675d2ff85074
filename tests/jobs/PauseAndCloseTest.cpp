#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <future>

#include "process/ProcessState.h"
#include "tests/jobs/FileRunFixture.h"
#include "tests/support/Printing.h"

namespace {

using namespace std::chrono_literals;

using HoldPoint = std::function<bool(std::optional<ControlId>, const WideString&)>;

bool AtFirstProgress(std::optional<ControlId> control, const WideString& text) {
    return control == ControlId::ProgressText && !text.empty();
}

// The worker runs on a thread of its own and holds at a text write of the test's choosing until
// the test, standing for the window's thread, has acted.
class PauseAndCloseTest : public FileRunTest {
  protected:
    PauseAndCloseTest() {
        toolkit.RunThreadsForReal();
        toolkit.OnTextSet([this](std::optional<ControlId> control, const WideString& text) {
            if (!m_held && m_holdAt && m_holdAt(control, text)) {
                m_held = true;
                m_workerHeld.set_value();
                m_testActed.get_future().wait();
            }
        });
    }

    void LoadNumbers(int count) {
        std::string file;
        for (int n = 1; n <= count; ++n) {
            file += std::to_string(n) + "\r\n";
        }
        Load(file);
    }
    // Starts the run and returns once the worker holds.
    void StartAndHold(HoldPoint holdAt = AtFirstProgress) {
        m_holdAt = std::move(holdAt);
        Click(ControlId::ConvertFile);
        m_workerHeld.get_future().wait();
    }
    void LetGo() { m_testActed.set_value(); }

    std::size_t CallsAfterAWhile() {
        std::this_thread::sleep_for(50ms);
        return toolkit.Calls().size();
    }
    int RunsEnded() const {
        const auto calls = toolkit.Calls();
        return static_cast<int>(std::count(calls.begin(), calls.end(), "send 1124"));
    }

  private:
    HoldPoint m_holdAt;
    bool m_held = false;
    std::promise<void> m_workerHeld;
    std::promise<void> m_testActed;
};

TEST_F(PauseAndCloseTest, APausedRunMakesNoProgressUntilResumed) {
    LoadNumbers(200);
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

// Past its last poll a run still writes the result, beeps and ends; a Pause there must hold it
// too, and the next run must start unpaused.
struct LastStepCase {
    const char* exit;
    const char* file;
    HoldPoint holdAt;
    bool messageGateOpen = false;
};

void PrintTo(const LastStepCase& c, std::ostream* out) {
    *out << c.exit;
}

class PauseInLastStepsTest : public PauseAndCloseTest,
                             public ::testing::WithParamInterface<LastStepCase> {};

TEST_P(PauseInLastStepsTest, HoldsTheRunAndTheNextRunStartsUnpaused) {
    if (GetParam().messageGateOpen) {
        OpenMessageGate();
    }
    Load(GetParam().file);
    StartAndHold(GetParam().holdAt);
    Click(ControlId::Pause);
    LetGo();
    const std::size_t paused = CallsAfterAWhile();
    EXPECT_EQ(CallsAfterAWhile(), paused);
    EXPECT_EQ(RunsEnded(), 0) << "a paused run must not end";
    EXPECT_EQ(toolkit.Beeps(), 0);

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

INSTANTIATE_TEST_SUITE_P(
    EachWayOut, PauseInLastStepsTest,
    ::testing::Values(LastStepCase{"Done", "5\r\n3\r\n",
                                   [](std::optional<ControlId> control, const WideString&) {
                                       return control == ControlId::Result;
                                   }},
                      LastStepCase{"RangeError", "5\r\n2147483648\r\n",
                                   [](std::optional<ControlId> control, const WideString&) {
                                       return !control.has_value();
                                   },
                                   true},
                      LastStepCase{"Cancelled", "5\r\n3\r\n",
                                   [](std::optional<ControlId> control, const WideString& text) {
                                       if (AtFirstProgress(control, text)) {
                                           g_cancelRequested = 1;
                                       }
                                       return text == u"進捗率 0 %";
                                   }}),
    [](const auto& info) { return std::string(info.param.exit); });

TEST_F(PauseAndCloseTest, ClosingDuringARunCancelsItAndEndsOnceItStopped) {
    LoadNumbers(200);
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
    LoadNumbers(200);
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

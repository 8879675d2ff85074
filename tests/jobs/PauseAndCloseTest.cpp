#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <utility>

#include "core/NumberListStream.h"
#include "tests/jobs/FileRunFixture.h"
#include "tests/support/Printing.h"
#include "tests/support/TestBytes.h"

namespace {

using namespace std::chrono_literals;
using Kind = Event::Kind;

// Where a run can be caught between two of its updates: each phase, the boundary between them,
// and its result. Counting ranges tells the split's end, where the bar goes back to 0.
struct Moment {
    const char* what;
    std::function<bool(const Event&)> at;
};
std::vector<Moment> RunMoments() {
    // The first percentage from least on: a second core's half can skip some.
    const auto percent = [](int least) {
        return [least](const Event& event) {
            constexpr std::u16string_view kPrefix = u"進捗率\u3000";
            return event.control == ControlId::ProgressText && event.text.starts_with(kPrefix) &&
                   std::stoi(std::string(event.text.begin() + kPrefix.size(), event.text.end())) >=
                       least;
        };
    };
    return {
        {"as it starts", [](const Event& event) { return event.kind == Kind::Range; }},
        {"in the split", percent(10)},
        {"as the split ends",
         [ranges = 0](const Event& event) mutable {
             return event.kind == Kind::Range && ++ranges == 2;
         }},
        {"in the conversion", percent(95)},
        {"as the result shows",
         [](const Event& event) { return event.control == ControlId::Result; }},
    };
}

// The worker runs on a thread of its own. The test stands for the window's thread: it runs what
// the worker posts, one call at a time, and acts the moment a row's event shows, as a user would.
// Each row runs on a list short enough for one core, and on one long enough for the worker to
// share each step with a second thread.
class RunMomentTest : public FileRunTest {
  protected:
    RunMomentTest() { toolkit.RunThreadsForReal(); }

    // Starts a run of list and shows what it posts up to the moment's event.
    void RunUntil(const std::string& list, const Moment& moment) {
        Load(list);
        toolkit.ClearEvents();
        RunUntil(moment.at, [&] { Click(ControlId::ConvertFile); });
    }
    // Does what, then shows what is posted until an event that at accepts.
    void RunUntil(std::function<bool(const Event&)> at, const std::function<void()>& what) {
        bool reached = false;
        toolkit.OnEvent([&](const Event& event) { reached = reached || at(event); });
        what();
        EXPECT_TRUE(toolkit.RunUntil([&] { return reached; }));
        toolkit.OnEvent(nullptr);
    }
    // Whatever the worker still posts meanwhile is handed to the window.
    void LetTheWorkerGoOn() {
        const auto until = std::chrono::steady_clock::now() + 100ms;
        toolkit.RunUntil([&] { return std::chrono::steady_clock::now() > until; });
    }
    // Closes in the way given, and shows what is posted until the dialog has ended; the fake's
    // join then runs nothing posted, as the window is gone.
    void CloseBy(const std::function<void()>& closing) {
        RunUntil([](const Event& event) { return event.kind == Kind::End; }, closing);
        toolkit.JoinWorker();
    }
};

std::string List(int numbers) {
    return CountingList(numbers, 1);
}
const Moment& MomentAt(std::size_t row) {
    static const std::vector<Moment> moments = RunMoments();
    return moments.at(row);
}
const auto kLists = testing::Values(200, 150'000);
const auto kMoments = testing::Range<std::size_t>(0, RunMoments().size());

class PauseTest : public RunMomentTest,
                  public testing::WithParamInterface<std::tuple<int, std::size_t>> {};

// While 「再開」 shows, nothing of the run moves, however long; resumed, it goes on from there to
// the whole result, each percentage shown in order.
TEST_P(PauseTest, APauseHoldsTheRunWhereverItIsPressed) {
    const auto [numbers, row] = GetParam();
    RunUntil(List(numbers), MomentAt(row));
    Click(ControlId::Pause);
    EXPECT_EQ(toolkit.Text(ControlId::Pause), u"再開");
    const std::vector<Event> paused = toolkit.Events();
    LetTheWorkerGoOn();
    EXPECT_EQ(toolkit.Events(), paused);
    Click(ControlId::Pause);
    EXPECT_EQ(toolkit.Text(ControlId::Pause), u"一時停止");
    toolkit.JoinWorker();
    ByteString expected;
    ConvertLines(List(numbers), Encoding::Utf8, expected);
    EXPECT_EQ(toolkit.Text(ControlId::Result), WideString(expected.begin(), expected.end()));
    const std::vector<int> shown = ShownPercentages();
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end(), std::less_equal<>()));
    EXPECT_EQ(shown.back(), 100);
    EXPECT_EQ(toolkit.Beeps(), 1U);
    ExpectIdle(true);
}

INSTANTIATE_TEST_SUITE_P(OneCoreAndTwo, PauseTest, testing::Combine(kLists, kMoments));

class CloseTest : public RunMomentTest,
                  public testing::WithParamInterface<std::tuple<int, std::size_t, bool>> {};

// Closing the window at any moment of a run, paused or not, ends the dialog once the run has
// stopped, and the worker ends without the window.
TEST_P(CloseTest, ClosingAtAnyMomentEndsTheDialogAndTheWorker) {
    const auto [numbers, row, paused] = GetParam();
    RunUntil(List(numbers), MomentAt(row));
    if (paused) {
        Click(ControlId::Pause);
        LetTheWorkerGoOn();
    }
    CloseBy([&] { dialog.OnCancel(); });
}

INSTANTIATE_TEST_SUITE_P(OneCoreAndTwo, CloseTest,
                         testing::Combine(kLists, kMoments, testing::Bool()));

// 「終了」 pressed with the click that starts a run, before the run has disabled it: the run is
// cancelled and the dialog ends.
TEST_F(RunMomentTest, ExitAsARunStartsEndsTheDialogAndTheWorker) {
    Load(List(2'000'000));
    Click(ControlId::ConvertFile);
    CloseBy([&] { Click(ControlId::Exit); });
    EXPECT_EQ(toolkit.Text(ControlId::ProgressText), u"進捗率 0 %") << "the run was cancelled";
}

// 「終了」 pressed while the run's completion message is up, as assistive technology can.
TEST_F(RunMomentTest, ExitDuringTheCompletionMessageEndsTheDialogAndTheWorker) {
    OpenMessageGate();
    Load(List(200));
    bool pressed = false;
    toolkit.OnEvent([&](const Event& event) {
        if (event.kind == Kind::Message && !std::exchange(pressed, true)) {
            Click(ControlId::Exit);
        }
    });
    Click(ControlId::ConvertFile);
    toolkit.JoinWorker();
    EXPECT_TRUE(pressed);
    EXPECT_TRUE(toolkit.Ended());
}

// While the worker waits, the second core splits its half, which the next percentage then counts.
TEST_F(RunMomentTest, ProgressCountsTheSecondCoresHalfWhileTheFirstWaits) {
    Load(List(150'000));
    toolkit.ClearEvents();
    int posts = 0;
    // The fourth is the first percentage: the run has started, its range and bar are set.
    toolkit.OnPost([&] {
        if (++posts == 4) {
            std::this_thread::sleep_for(300ms);
        }
    });
    Click(ControlId::ConvertFile);
    toolkit.JoinWorker();
    toolkit.OnPost(nullptr);
    const std::vector<int> shown = ShownPercentages();
    // The first may count some of that half already, on a loaded machine.
    ASSERT_GE(shown.size(), 2U);
    EXPECT_GE(shown[1], 16) << "the second half is a sixth of the run";
}

// A save under way ends first, the file written; the dialog then ends. A load: in the file
// conversion's tests.
TEST_F(RunMomentTest, ClosingDuringASaveEndsOnceItIsDone) {
    Load("5");
    Click(ControlId::ConvertFile);
    toolkit.JoinWorker();
    toolkit.AnswerSaveDialog(Documents() / "saved.txt");
    Click(ControlId::Save);
    dialog.OnCancel();
    EXPECT_FALSE(toolkit.Ended()) << "the dialog waits for the save";
    toolkit.JoinWorker();
    EXPECT_TRUE(toolkit.Ended());
    EXPECT_EQ(ReadFileBytes(Documents() / "saved.txt"), "101\r\n");
}

}  // namespace

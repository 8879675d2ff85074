#include "jobs/Progress.h"

#include <gtest/gtest.h>

#include "tests/support/FakeToolkit.h"

namespace {

// Every percentage once and in order, for a range met before or far beyond the bar's int, and
// again from the start when the reporter is given a new range.
TEST(ProgressReporter, ShowsEachPercentageOnceInOrderForEveryRange) {
    FakeToolkit toolkit{"."};
    const ProgressBar bar{toolkit, ControlId::Progress};
    const Control text{toolkit, ControlId::ProgressText};
    // A range given up at 0 %: the next one shows its own 0 % all the same.
    ProgressReporter progress(bar, text, 50);
    progress.Report(0);
    for (const std::int64_t maximum :
         {std::int64_t{1000}, std::int64_t{7}, std::int64_t{5} << 31}) {
        SCOPED_TRACE(maximum);
        toolkit.ClearEvents();
        progress.SetRange(maximum);
        const std::int64_t step = std::max<std::int64_t>(1, maximum / 5000);
        for (std::int64_t position = 0; position <= maximum; position += step) {
            progress.Report(position);
        }
        progress.Report(maximum);
        std::vector<WideString> shown;
        for (const Event& event : toolkit.Events()) {
            if (event.control == ControlId::ProgressText) {
                shown.push_back(event.text);
            }
        }
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown.front(), u"進捗率\u30000 %");
        EXPECT_EQ(shown.back(), u"進捗率\u3000100 %");
        EXPECT_EQ(shown.size(), maximum < 100 ? static_cast<std::size_t>(maximum) + 1 : 101U);
        const FakeToolkit::ControlState shownBar = toolkit.State(ControlId::Progress);
        EXPECT_EQ(shownBar.position, shownBar.maximum);
        EXPECT_GT(shownBar.maximum, maximum < 1000000 ? maximum - 1 : 1 << 30);
    }
}

}  // namespace

#include "jobs/Progress.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Every percentage once and in order, for a range met before or far beyond the bar's int, and
// again from the start when the reporter is given a new range.
TEST(ProgressReporter, ShowsEachPercentageOnceInOrderForEveryRange) {
    std::vector<RunUpdate> posted;
    // A range given up at 0 %: the next one shows its own 0 % all the same.
    ProgressReporter progress([&](RunUpdate update) { posted.push_back(std::move(update)); }, 50);
    progress.Report(0);
    for (const std::int64_t maximum :
         {std::int64_t{1000}, std::int64_t{7}, std::int64_t{5} << 31}) {
        SCOPED_TRACE(maximum);
        posted.clear();
        progress.SetRange(maximum);
        const std::int64_t step = std::max<std::int64_t>(1, maximum / 5000);
        for (std::int64_t position = 0; position <= maximum; position += step) {
            progress.Report(position);
        }
        progress.Report(maximum);
        std::vector<WideString> shown;
        std::int32_t barMaximum = -1;
        std::int32_t barPosition = -1;
        for (const RunUpdate& update : posted) {
            if (const auto* line = std::get_if<ProgressLine>(&update)) {
                shown.push_back(line->text);
            } else if (const auto* range = std::get_if<BarRange>(&update)) {
                barMaximum = range->maximum;
            } else if (const auto* position = std::get_if<BarPosition>(&update)) {
                barPosition = position->position;
            }
        }
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown.front(), u"進捗率\u30000 %");
        EXPECT_EQ(shown.back(), u"進捗率\u3000100 %");
        EXPECT_EQ(shown.size(), maximum < 100 ? static_cast<std::size_t>(maximum) + 1 : 101U);
        EXPECT_EQ(barPosition, barMaximum);
        EXPECT_GT(barMaximum, maximum < 1000000 ? maximum - 1 : 1 << 30);
    }
}

}  // namespace

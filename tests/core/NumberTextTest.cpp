#include "core/NumberText.h"

#include <gtest/gtest.h>

#include "tests/support/Printing.h"

#include <optional>
#include <vector>

namespace {

struct RunOutcome {
    std::int32_t lineIndex = -1;
    RangeCheck range = RangeCheck::Stopped;
    WideString result;
};

// The steps in the order a run takes them, without hooks.
RunOutcome RunSteps(WideString text) {
    RunOutcome outcome;
    NumberLines numbers;
    std::int64_t maxValue = 0;
    EXPECT_TRUE(SplitNumberLines(text, numbers, outcome.lineIndex, kNeverStop));
    EXPECT_EQ(static_cast<std::size_t>(outcome.lineIndex), numbers.size());
    outcome.range = ScanRange(numbers, maxValue, kNeverStop);
    if (outcome.range == RangeCheck::Passed) {
        EXPECT_TRUE(BuildResultText(numbers, outcome.result, kNeverStop));
    }
    return outcome;
}

TEST(NumberText, TurnsListsIntoResultText) {
    const WideString ones(31, u'1');
    const struct {
        WideString list;
        WideString result;
    } cases[] = {
        {u"5", u"101\r\n"},
        {u"5\r\n3\r\n", u"101\r\n11\r\n"},
        {u"1\r\n\r\n2", u"1\r\n10\r\n"},
        {u"1\n\n2", u"1\r\n10\r\n"},
        {u"\n\n1", u"1\r\n"},
        {u"1\r2", u"1100\r\n"},
        {u"1\r2\r3", u"1111011\r\n"},
        {u"", u""},
        {u"\r\n\r\n", u""},
        {u"0", u"0\r\n"},
        {u"000", u"0\r\n"},
        {u"0007", u"111\r\n"},
        {u"2147483647", ones + u"\r\n"},
        {u"0000000000000002147483647", ones + u"\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.list.begin(), c.list.end()));
        const RunOutcome outcome = RunSteps(c.list);
        EXPECT_EQ(outcome.range, RangeCheck::Passed);
        EXPECT_EQ(outcome.result, c.result);
    }
}

TEST(NumberText, RefusesNumbersAboveTheLargest) {
    for (const WideString list : {u"2147483648", u"4294967296", u"123456789012345678901234567890",
                                  u"1\r\n\r\n\r\n2147483648", u"2147483648\r\n5"}) {
        SCOPED_TRACE(std::string(list.begin(), list.end()));
        EXPECT_EQ(RunSteps(list).range, RangeCheck::TooLarge);
    }
}

TEST(NumberText, TrimsTrailingLineBreaksAndCountsCollectedLines) {
    EXPECT_EQ(TrimmedNumberText(u"7\r\n\r\n8\r\n\r\n"), u"7\r\n\r\n8");
    EXPECT_EQ(RunSteps(u"7\r\n\r\n8\r\n\r\n").lineIndex, 2);
}

TEST(NumberText, ListWithoutNumbersPassesAfterARangeError) {
    NumberLines numbers;
    std::int64_t maxValue = 0;
    std::int32_t lineIndex = 0;
    WideString first = u"9999999999";
    SplitNumberLines(first, numbers, lineIndex, kNeverStop);
    ASSERT_EQ(ScanRange(numbers, maxValue, kNeverStop), RangeCheck::TooLarge);
    numbers.clear();
    WideString second = u"\r\n\r\n";
    SplitNumberLines(second, numbers, lineIndex, kNeverStop);
    EXPECT_EQ(ScanRange(numbers, maxValue, kNeverStop), RangeCheck::Passed);
}

TEST(NumberText, DigitCheckAllowsOnlyDigitsAndLineBreaks) {
    EXPECT_TRUE(CheckNumberText(u""));
    EXPECT_TRUE(CheckNumberText(u"0123456789\r\n\r\n"));
    const std::u16string_view refused[] = {u"1 2", u"+1",     u"-1",
                                           u"1\t", u"1.5",    u"a",
                                           u"１",  u"\u3000", std::u16string_view(u"1\0", 2)};
    for (const std::u16string_view bad : refused) {
        EXPECT_FALSE(CheckNumberText(bad));
    }
}

TEST(NumberText, HooksSeeEveryItemAndCanStopEachStep) {
    WideString text = u"12\r\n3\r\n";
    NumberLines numbers;
    std::int32_t lineIndex = 0;
    std::vector<std::int64_t> characters;
    ASSERT_TRUE(SplitNumberLines(text, numbers, lineIndex, [&](std::int64_t i) {
        characters.push_back(i);
        return true;
    }));
    EXPECT_EQ(characters, (std::vector<std::int64_t>{0, 1, 2, 3, 4}));

    std::int64_t maxValue = 0;
    std::vector<std::int64_t> scanned;
    EXPECT_EQ(ScanRange(numbers, maxValue,
                        [&](std::int64_t j) {
                            scanned.push_back(j);
                            return j < 0;
                        }),
              RangeCheck::Stopped);
    EXPECT_EQ(scanned, (std::vector<std::int64_t>{0}));

    WideString result;
    std::vector<WideString> resultSoFar;
    EXPECT_TRUE(BuildResultText(numbers, result, [&](std::int64_t) {
        resultSoFar.push_back(result);
        return true;
    }));
    EXPECT_EQ(resultSoFar, (std::vector<WideString>{u"1100\r\n", u"1100\r\n11\r\n"}));

    WideString stoppedText = u"123";
    NumberLines stoppedNumbers;
    EXPECT_FALSE(SplitNumberLines(stoppedText, stoppedNumbers, lineIndex,
                                  [](std::int64_t i) { return i < 1; }));
}

TEST(NumberText, BuildsNarrowResultTextToo) {
    WideString text = u"5\r\n3";
    NumberLines numbers;
    std::int32_t lineIndex = 0;
    SplitNumberLines(text, numbers, lineIndex, kNeverStop);
    std::string bytes;
    BuildResultText(numbers, bytes, kNeverStop);
    EXPECT_EQ(bytes, "101\r\n11\r\n");
}

}  // namespace

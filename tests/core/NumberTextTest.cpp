#include "core/NumberText.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "tests/support/Printing.h"

namespace {

// The steps in the order a run takes them, without hooks: the UTF-16 result, or nothing when a
// number is too large. The largest value is kept
// from run to run, as the program keeps it.
std::optional<WideString> RunSteps(const WideString& text, std::int32_t& lineIndex,
                                   std::int64_t& maxValue) {
    NumberLines numbers;
    EXPECT_TRUE(SplitNumberLines(text, numbers, lineIndex, kNeverStop));
    EXPECT_EQ(static_cast<std::size_t>(lineIndex), numbers.size());
    if (ScanRange(numbers, maxValue, kNeverStop) != RangeCheck::Passed) {
        return std::nullopt;
    }
    std::string bytes(ResultLength(numbers, 0, numbers.size()), '\0');
    EXPECT_TRUE(WriteResultLines(numbers, 0, numbers.size(), bytes.data(), kNeverStop));
    return WideString(bytes.begin(), bytes.end());
}

TEST(NumberText, TurnsListsIntoResultTextOrRefusesNumbersAboveTheLargest) {
    const WideString ones(31, u'1');
    const struct {
        WideString list;
        std::optional<WideString> result;
        std::int32_t lines;
    } cases[] = {
        {u"5", u"101\r\n", 1},
        {u"5\r\n3\r\n", u"101\r\n11\r\n", 2},
        {u"1\r\n\r\n2", u"1\r\n10\r\n", 2},
        {u"1\n\n2", u"1\r\n10\r\n", 2},
        {u"\n\n1", u"1\r\n", 1},
        {u"7\r\n\r\n8\r\n\r\n", u"111\r\n1000\r\n", 2},
        {u"5\r", u"101\r\n", 1},
        {u"7\r\n\r8", u"111\r\n1000\r\n", 2},
        {u"1\r\n2\r\n", u"1\r\n10\r\n", 2},
        {u"\r\n\r\n5", u"101\r\n", 1},
        {u"", u"", 0},
        {u"000", u"0\r\n", 1},
        {u"0007", u"111\r\n", 1},
        {u"2147483647", ones + u"\r\n", 1},
        {u"0000000000000002147483647", ones + u"\r\n", 1},
        {u"2147483648", std::nullopt, 1},
        {u"123456789012345678901234567890", std::nullopt, 1},
        {u"1\r\n\r\n\r\n2147483648", std::nullopt, 2},
        {u"2147483648\r\n5", std::nullopt, 2},
        {u"\r\n\r\n", u"", 0},  // after a number too large
    };
    std::int64_t maxValue = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.list.begin(), c.list.end()));
        std::int32_t lineIndex = -1;
        EXPECT_EQ(RunSteps(c.list, lineIndex, maxValue), c.result);
        EXPECT_EQ(lineIndex, c.lines);
    }
}

// The halves of a long text split on two cores: the second starts past a line end from the middle
// on, and is empty when there is none.
TEST(NumberText, HalvesATextAtALineStart) {
    EXPECT_EQ(HalfwayLineStart(u"12\n34\n56"), 6U);
    EXPECT_EQ(HalfwayLineStart(u"1\n2345"), 6U);
}

// A CR is dropped where it ends a line or stands alone, never where it would join two digits.
TEST(NumberText, DigitCheckAllowsOnlyDigitsAndLineBreaks) {
    for (const std::u16string_view good :
         {u"", u"0123456789\r\n\r\n", u"5\r", u"7\r\n\r8", u"\r5\r\r\n", u"\r\n\r\n5"}) {
        EXPECT_TRUE(CheckNumberText(good)) << std::string(good.begin(), good.end());
    }
    for (const std::u16string_view bad :
         {u"1 2", u"+1", u"-1", u"1\t", u"1.5", u"a", u"１", u"\u3000", u"1\xD800", u"/", u":",
          u"1\r2", u"1\r2\r3\r", u"12\r34\r\n", u"4\r\r5", u"2147483647\r1\r"}) {
        EXPECT_FALSE(CheckNumberText(bad)) << std::string(bad.begin(), bad.end());
    }
}

}  // namespace

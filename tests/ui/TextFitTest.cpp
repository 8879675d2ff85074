#include <gtest/gtest.h>

#include <random>
#include <string>

#include "ui/TextFit.h"

namespace {

bool IsSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDFFF;
}

// Against random paths, some with characters outside the BMP, at every width: the result fits,
// keeps the text's start and end around one "…", splits no pair, and drops no more than it must.
TEST(TextFit, ElidesTheMiddleOfWhatDoesNotFit) {
    const auto units = [](std::u16string_view text) { return static_cast<int>(text.size()); };
    std::mt19937 random(48);
    for (int trial = 0; trial < 300; ++trial) {
        std::u16string text;
        const int length = static_cast<int>(random() % 40);
        for (int unit = 0; unit < length; ++unit) {
            if (random() % 5 == 0) {
                text += u"\U0001F600";
            } else {
                text += static_cast<char16_t>(u'a' + random() % 26);
            }
        }
        const int width = static_cast<int>(random() % 45) + 1;
        const std::u16string shown = ElideMiddle(text, width, units);
        if (units(text) <= width) {
            EXPECT_EQ(shown, text);
            continue;
        }
        SCOPED_TRACE(std::to_string(width));
        const std::size_t cut = shown.find(u'…');
        ASSERT_NE(cut, std::u16string::npos);
        const std::u16string_view head(shown.data(), cut);
        const std::u16string_view tail(shown.data() + cut + 1, shown.size() - cut - 1);
        EXPECT_EQ(std::u16string_view(text).substr(0, head.size()), head);
        EXPECT_TRUE(text.ends_with(tail));
        EXPECT_LE(units(shown), width);
        EXPECT_GE(units(shown), width - 2) << "drops no more than a split pair needs";
        EXPECT_FALSE(!head.empty() && IsSurrogate(head.back()) && head.back() < 0xDC00);
        EXPECT_FALSE(!tail.empty() && IsSurrogate(tail.front()) && tail.front() >= 0xDC00);
    }
}

TEST(TextFit, TakesTheLargestFontThatFitsDownToTheSmallest) {
    const auto sixPerPoint = [](double size) { return static_cast<int>(size * 6); };
    EXPECT_EQ(FittingFontSize(9, 6, 60, sixPerPoint), 9);
    EXPECT_EQ(FittingFontSize(9, 6, 50, sixPerPoint), 8);
    EXPECT_EQ(FittingFontSize(9, 6, 10, sixPerPoint), 6);
}

}  // namespace

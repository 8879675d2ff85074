#include "core/DecimalToBinary.h"

#include <gtest/gtest.h>

#include "tests/support/Printing.h"

namespace {

const WideString kAllOnes(31, u'1');

// Values outside the type are clamped, and the parse says so, so that callers can refuse them.
TEST(DecimalToBinary, ConvertsTextAsTheRuntimeParsesIt) {
    const struct {
        std::u16string_view text;
        WideString binary;
        bool outOfRange = false;
    } cases[] = {
        {u"0", u"0"},
        {u"1", u"1"},
        {u"2", u"10"},
        {u"6", u"110"},
        {u"255", u"11111111"},
        {u"1024", u"10000000000"},
        {u"0007", u"111"},
        {u"", u"0"},
        {u"   ", u"0"},
        {u"abc", u"0"},
        {u"12abc", u"1100"},
        {u"  7", u"111"},
        {u"\r\n\r\n5", u"101"},
        {u"\t\v\f7", u"111"},
        {u"\u30007", u"111"},  // a wide space, then 7
        {u"\b7", u"0"},        // \b and \016 stand either side of the control spaces
        {u"\0167", u"0"},
        {u"+5", u"101"},
        {u"5 6", u"101"},
        {u"12 99999999999", u"1100"},
        {std::u16string_view(u"123").substr(0, 2), u"1100"},  // a view ends before its digits
        {u"-", u"0"},
        {u"2147483647", kAllOnes},
        {u"000000000000002147483647", kAllOnes},
        {u"2147483648", kAllOnes, true},
        {u"21474836470", kAllOnes, true},
        {u"99999999999999999999999", kAllOnes, true},
        {u"-5", u"-101"},
        {u"-1", u"-1"},
        {u"-2147483648", u"-1" + WideString(31, u'0')},
        {u"-2147483649", u"-1" + WideString(31, u'0'), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        const ParsedDecimal<std::int32_t> parsed = ParseDecimal<std::int32_t>(c.text);
        WideString binary;
        AppendBinary(parsed.value, binary);
        EXPECT_EQ(binary, c.binary);
        EXPECT_EQ(parsed.outOfRange, c.outOfRange);
    }
}

}  // namespace

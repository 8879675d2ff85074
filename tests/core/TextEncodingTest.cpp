#include "core/TextEncoding.h"

#include <gtest/gtest.h>

#include "tests/support/Printing.h"

namespace {

TEST(TextEncoding, DecodesUtf8AndReplacesMalformedBytes) {
    const struct {
        std::string_view bytes;
        WideString text;
    } cases[] = {
        {"123\r\n", u"123\r\n"},
        {"\xE9\x80\xB2\xE6\x8D\x97", u"進捗"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {"1\xFF"
         "2",
         u"1\uFFFD2"},
        {"\xC0\xAF", u"\uFFFD\uFFFD"},
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"\xE9\x80", u"\uFFFD\uFFFD"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToUtf16(c.bytes), c.text);
    }
}

TEST(TextEncoding, DecodesUtf16InBothByteOrders) {
    using namespace std::string_view_literals;
    EXPECT_EQ(Utf16BytesToUtf16("1\0\r\0"sv, false), u"1\r");
    EXPECT_EQ(Utf16BytesToUtf16("\0"
                                "1\0\r"sv,
                                true),
              u"1\r");
    EXPECT_EQ(Utf16BytesToUtf16("1\0"
                                "2"sv,
                                false),
              u"1\uFFFD");
    EXPECT_EQ(Utf16BytesToUtf16("\x00\xD8"
                                "1\0"sv,
                                false),
              u"\uFFFD"
              u"1");
    EXPECT_EQ(Utf16BytesToUtf16("\x3D\xD8\x00\xDE"sv, false), u"\U0001F600");
}

TEST(TextEncoding, EncodesUtf8) {
    EXPECT_EQ(Utf16ToUtf8(u"101\r\n"), "101\r\n");
    EXPECT_EQ(Utf16ToUtf8(u"進\U0001F600"), "\xE9\x80\xB2\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf16ToUtf8(WideString(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
}

}  // namespace

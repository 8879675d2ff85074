#include "core/TextEncoding.h"

#include <gtest/gtest.h>

#include <string>

#include <random>
#include <tuple>

#include "tests/support/MemorySource.h"
#include "tests/support/Printing.h"

namespace {

// Each boundary of UTF-8's lengths, both ways; what cannot stand for a character becomes U+FFFD.
struct Utf8Case {
    std::u16string text;
    std::string bytes;
};
const Utf8Case kBothWays[] = {
    {u"\u007F", "\x7F"},
    {u"\u0080", "\xC2\x80"},
    {u"\u07FF", "\xDF\xBF"},
    {u"\u0800", "\xE0\xA0\x80"},
    {u"\uFFFF", "\xEF\xBF\xBF"},
    {u"\U00010000", "\xF0\x90\x80\x80"},
    {u"\U0010FFFF", "\xF4\x8F\xBF\xBF"},
};

TEST(TextEncoding, EncodesAndDecodesEveryLengthOfUtf8) {
    for (const Utf8Case& c : kBothWays) {
        EXPECT_EQ(Utf16ToUtf8(c.text), c.bytes);
        EXPECT_EQ(DecodeText(Encoding::Utf8, c.bytes), c.text);
    }
    EXPECT_EQ(Utf16ToUtf8(u"a\xD800"
                          u"b\xDC00"),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD");
}

// One replacement character for each byte of a sequence that stands for no character.
TEST(TextEncoding, DecodesMalformedUtf8AsReplacementCharacters) {
    const std::pair<std::string, std::u16string> malformed[] = {
        {"\xC0\xB1", u"\uFFFD\uFFFD"},                      // '1', overlong
        {"\xE0\x80\xB1", u"\uFFFD\uFFFD\uFFFD"},            // and in three bytes
        {"\xF0\x80\x80\xB1", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // and in four
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},            // a surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
        {"\xE2\x82"
         "1",
         u"\uFFFD\uFFFD"
         u"1"},  // cut short
        {"\x80", u"\uFFFD"},
    };
    for (const auto& [bytes, text] : malformed) {
        EXPECT_EQ(DecodeText(Encoding::Utf8, bytes), text) << bytes;
    }
}

// Whatever the text, and however the blocks fall, across a sequence or a surrogate pair, each
// encoding decodes to the text, a lone surrogate to U+FFFD and an odd last byte to one more.
TEST(TextEncoding, DecodesInAnyBlocksWhatWasEncoded) {
    std::mt19937 random(7);
    const char16_t units[] = {
        u'1', u'\r', u'\n', u'\u00E9', u'\u20AC', u'\u0800', char16_t{0xD83D}, char16_t{0xDE00}};
    for (int round = 0; round < 400; ++round) {
        std::u16string text;
        for (std::size_t length = random() % 12; text.size() < length;) {
            text += units[random() % std::size(units)];
        }
        const auto isLow = [](char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; };
        std::u16string decoded = text;
        for (std::size_t k = 0; k < decoded.size(); ++k) {
            const bool pair =
                k + 1 < decoded.size() && IsHighSurrogate(decoded[k]) && isLow(decoded[k + 1]);
            if (pair) {
                ++k;
            } else if (IsHighSurrogate(decoded[k]) || isLow(decoded[k])) {
                decoded[k] = u'\uFFFD';
            }
        }
        std::string little;
        std::string big;
        for (const char16_t unit : text) {
            little += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
            big += {static_cast<char>(unit >> 8), static_cast<char>(unit & 0xFF)};
        }
        const bool odd = random() % 4 == 0;
        const std::tuple<Encoding, std::string, std::u16string> encoded[] = {
            {Encoding::Utf8, Utf16ToUtf8(text), decoded},
            {Encoding::Utf16LE, little + (odd ? "\x3D" : ""), decoded + (odd ? u"\uFFFD" : u"")},
            {Encoding::Utf16BE, big, decoded}};
        for (const auto& [encoding, bytes, expected] : encoded) {
            SCOPED_TRACE(testing::PrintToString(WideString(text)));
            EXPECT_EQ(DecodeText(encoding, bytes), expected);
            MemorySource source(bytes);
            std::u16string blocks;
            EXPECT_TRUE(DecodeBlocks(
                encoding, 1 + random() % 9,
                [&](char* buffer, std::size_t room) { return source.Read(buffer, room); },
                [&](std::u16string_view part) {
                    blocks += part;
                    return true;
                }));
            EXPECT_EQ(blocks, expected) << static_cast<int>(encoding);
        }
    }
}

}  // namespace

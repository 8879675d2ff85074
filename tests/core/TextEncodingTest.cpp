#include "core/TextEncoding.h"

#include <gtest/gtest.h>

#include <string>

#ifdef __linux__
#include <dlfcn.h>
#include <pthread.h>

#include <cerrno>
#endif

#include "core/NumberListStream.h"
#include "core/NumberText.h"
#include "tests/support/MemorySource.h"
#include "tests/support/Printing.h"
#include "tests/support/StringSink.h"

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

// However the blocks fall, across a sequence or a surrogate pair, the text is the whole's.
TEST(TextEncoding, DecodesInBlocksExactlyAsWhole) {
    const std::u16string text =
        u"1\u00E9\u20AC\U0001F600\u0800x\U00010000\xDC00"
        u"2\xD800"
        u"3";
    const std::string utf8 = Utf16ToUtf8(text);
    std::string little;
    std::string big;
    for (const char16_t unit : text) {
        little += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        big += {static_cast<char>(unit >> 8), static_cast<char>(unit & 0xFF)};
    }
    const std::pair<Encoding, std::string> encoded[] = {{Encoding::Utf8, utf8},
                                                        {Encoding::Utf16LE, little},
                                                        {Encoding::Utf16BE, big},
                                                        {Encoding::Utf16LE, little + "\x3D"}};
    for (const auto& [encoding, bytes] : encoded) {
        const std::u16string whole = DecodeText(encoding, bytes);
        for (std::size_t block = 1; block <= 9; ++block) {
            MemorySource source(bytes);
            std::u16string decoded;
            EXPECT_TRUE(DecodeBlocks(
                encoding, block,
                [&](char* buffer, std::size_t room) { return source.Read(buffer, room); },
                [&](std::u16string_view units) {
                    decoded += units;
                    return true;
                }));
            EXPECT_EQ(decoded, whole) << static_cast<int>(encoding) << " in blocks of " << block;
        }
    }
    // Lone surrogates stand for no character, in either byte order; an odd last byte is one more.
    const std::u16string paired =
        u"1\u00E9\u20AC\U0001F600\u0800x\U00010000\uFFFD"
        u"2\uFFFD"
        u"3";
    EXPECT_EQ(DecodeText(Encoding::Utf16LE, little), paired);
    EXPECT_EQ(DecodeText(Encoding::Utf16BE, big), paired);
    EXPECT_EQ(DecodeText(Encoding::Utf16LE, little + "\x3D"),
              DecodeText(Encoding::Utf16LE, little) + u"\uFFFD");
    // A high surrogate with no low one after it stands alone; what follows is kept.
    EXPECT_EQ(DecodeText(Encoding::Utf16LE, std::string("1\0\0\xD8"
                                                        "2\0",
                                                        6)),
              u"1\uFFFD"
              u"2");
    EXPECT_EQ(DecodeText(Encoding::Utf16BE, std::string("\0"
                                                        "1\xDC\0",
                                                        4)),
              u"1\uFFFD");
}

// Streamed a few bytes at a time from any encoding, a list converts as it would whole.
struct StreamCase {
    std::string bytes;
    ConversionOutcome outcome;
    std::string result;
};
const StreamCase kStreams[] = {
    {"5\r\n3\r\n", ConversionOutcome::Converted, "101\r\n11\r\n"},
    {"\xEF\xBB\xBF"
     "7\n12",
     ConversionOutcome::Converted, "111\r\n1100\r\n"},
    {std::string("\xFF\xFE"
                 "2\0\r\0\n\0",
                 8),
     ConversionOutcome::Converted, "10\r\n"},
    {std::string("\xFE\xFF\0"
                 "4",
                 4),
     ConversionOutcome::Converted, "100\r\n"},
    {std::string("9\0\n\0", 4), ConversionOutcome::Converted, "1001\r\n"},
    // Half a unit at the end is no character a list holds.
    {std::string("\xFF\xFE"
                 "5\0\n\0"
                 "3",
                 7),
     ConversionOutcome::NotDigits, ""},
    // No mark, and a zero byte only past the first blocks: UTF-16LE from the start, never UTF-8
    // up to the zero byte and UTF-16LE after it.
    {std::string("12\r\n3\0\n\0", 8), ConversionOutcome::NotDigits, ""},
    {"2147483647", ConversionOutcome::Converted, std::string(31, '1') + "\r\n"},
    {"1\r\n2147483648\r\n1\r\n", ConversionOutcome::TooLarge, ""},
    {"1\r\nx\r\n", ConversionOutcome::NotDigits, ""},
    {"1\r2\r3\r", ConversionOutcome::NotDigits, ""},
    {"12\r34\r\n", ConversionOutcome::NotDigits, ""},
    {"4\r\r5", ConversionOutcome::NotDigits, ""},
    {"2147483647\r1\r", ConversionOutcome::NotDigits, ""},
    {"5\r\r\n\r7\r", ConversionOutcome::Converted, "101\r\n111\r\n"},
    {"\xC0\xB1", ConversionOutcome::NotDigits, ""},
    {"1\r\n\xC3\xA9", ConversionOutcome::NotDigits, ""},
};

TEST(NumberListStream, ConvertsInBlocksOfAnySizeAsWhole) {
    for (const StreamCase& c : kStreams) {
        for (const std::size_t block : {1, 2, 3, 5, 64}) {
            MemorySource source(c.bytes);
            StringSink written;
            const ConversionOutcome outcome = StreamNumberList(source, written, block);
            EXPECT_EQ(outcome, c.outcome) << c.bytes << " in blocks of " << block;
            if (outcome == ConversionOutcome::Converted) {
                EXPECT_EQ(written.bytes, c.result) << c.bytes << " in blocks of " << block;
            }
        }
    }
}

#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// While set, no thread can start, as when the system has none to spare. The sanitizers put their
// own pthread_create in the way.
bool g_refuseThreads = false;

}  // namespace

extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attributes,
                              void* (*start)(void*), void* argument) {
    using Create = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);
    static const auto real = reinterpret_cast<Create>(dlsym(RTLD_NEXT, "pthread_create"));
    return g_refuseThreads ? EAGAIN : real(thread, attributes, start, argument);
}

namespace {

// Without a thread to spare, each block is read, and each block's lines converted, in turn.
TEST(NumberListStream, WithoutAThreadToSpareEachBlockIsDoneInTurn) {
    g_refuseThreads = true;
    const std::string list = "5\r\n3\r\n10\r\n";
    MemorySource streamed(list);
    StringSink written;
    const ConversionOutcome outcome = StreamNumberList(streamed, written, 4);
    MemorySource read(list);
    std::u16string decoded;
    const bool whole = DecodeBlocks(
        Encoding::Utf8, 4, [&](char* buffer, std::size_t room) { return read.Read(buffer, room); },
        [&](std::u16string_view units) {
            decoded += units;
            return true;
        });
    g_refuseThreads = false;
    EXPECT_EQ(outcome, ConversionOutcome::Converted);
    EXPECT_EQ(written.bytes, "101\r\n11\r\n1010\r\n");
    EXPECT_TRUE(whole);
    EXPECT_EQ(decoded, u"5\r\n3\r\n10\r\n");
}
#endif

// Each block's bytes stay as read until another core has converted its lines, however many
// blocks the reading runs ahead.
TEST(NumberListStream, KeepsEachBlockUntilItsLinesAreConverted) {
    std::string numbers;
    std::string expected;
    for (std::int32_t value = 0; value < 200000; ++value) {
        numbers += std::to_string(value) + "\r\n";
        AppendResultLine(value, expected);
    }
    MemorySource source(numbers);
    StringSink written;
    EXPECT_EQ(StreamNumberList(source, written, 1 << 16), ConversionOutcome::Converted);
    EXPECT_TRUE(written.bytes == expected);
}

// Whole lines run from just past a block's first LF through its last, so that they convert on
// another core; a block with no LF has none. What lies past a block's end, such as an earlier
// block's bytes in a reused buffer, is no part of it.
TEST(NumberListStream, FindsEachBlocksWholeLines) {
    const struct {
        std::string_view block;
        Encoding encoding;
        std::size_t start, end;
    } cases[] = {
        {"12\n34\n5", Encoding::Utf8, 3, 6},
        {"12345", Encoding::Utf8, 5, 5},
        {std::string_view("1\0\n\0"
                          "2\0\n\0"
                          "3\0\n\0",
                          9),
         Encoding::Utf16LE, 4, 8},
        {std::string_view("\0"
                          "1\0\n\0"
                          "2",
                          6),
         Encoding::Utf16BE, 4, 4},
    };
    for (const auto& c : cases) {
        const BlockLines lines = WholeLines(c.block, c.encoding);
        EXPECT_EQ(lines.start, c.start) << c.block;
        EXPECT_EQ(lines.end, c.end) << c.block;
    }
}

// A read that fails partway through leaves a list unread, never converted in part; a list
// already refused is not read further.
TEST(NumberListStream, AFailedReadIsNeverAConversion) {
    // Bytes that can be read, again and again, but not what comes after them.
    class FailingSource final : public ByteSource {
      public:
        explicit FailingSource(std::string_view bytes) : m_bytes(bytes) {}
        std::optional<std::size_t> Read(char* buffer, std::size_t room) override {
            const std::optional<std::size_t> got = m_bytes.Read(buffer, room);
            return got == 0U ? std::nullopt : got;
        }
        bool Rewind() override { return m_bytes.Rewind(); }

      private:
        MemorySource m_bytes;
    };
    const std::pair<std::string_view, ConversionOutcome> cases[] = {
        {"\xEF\xBB\xBF"
         "7\r\n8\r\n",
         ConversionOutcome::InputUnreadable},
        {"7\r\nx\r\n8", ConversionOutcome::NotDigits},
    };
    for (const auto& [bytes, outcome] : cases) {
        FailingSource source(bytes);
        StringSink written;
        EXPECT_EQ(StreamNumberList(source, written, 4), outcome) << bytes;
    }
}

}  // namespace

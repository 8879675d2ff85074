// The number-list rules, held to one small oracle over random lists: whole, as the window's run
// takes them, and streamed in blocks from every encoding, as the automatic run does.
#include <gtest/gtest.h>

#ifdef __linux__
#include <dlfcn.h>
#include <pthread.h>

#include <cerrno>
#endif

#include <algorithm>
#include <bitset>
#include <random>

#include "core/NumberListStream.h"
#include "core/NumberText.h"
#include "tests/support/MemorySource.h"
#include "tests/support/Printing.h"
#include "tests/support/StringSink.h"

namespace {

using enum ConversionOutcome;

struct Expected {
    ConversionOutcome outcome = Converted;
    std::string result;
    std::int32_t lines = 0;
};

// Lines end at LF. CRs at either end of a line count for nothing; anything else that is not a
// digit, a CR between two digits included, refuses the list, before any number too large does.
Expected Oracle(std::u16string_view text) {
    Expected expected;
    bool tooLarge = false;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find(u'\n', start), text.size());
        std::u16string_view line = text.substr(start, end - start);
        start = end + 1;
        line.remove_prefix(std::min(line.find_first_not_of(u'\r'), line.size()));
        line = line.substr(0, line.find_last_not_of(u'\r') + 1);
        if (line.find_first_not_of(u"0123456789") != line.npos) {
            return {NotDigits, "", 0};
        }
        if (line.empty()) {
            continue;
        }
        ++expected.lines;
        line.remove_prefix(std::min(line.find_first_not_of(u'0'), line.size() - 1));
        const std::uint64_t value =
            line.size() > 10 ? 0 : std::stoull(std::string(line.begin(), line.end()));
        if (line.size() > 10 || value > 2147483647) {
            tooLarge = true;
            continue;
        }
        const std::string bits = std::bitset<31>(value).to_string();
        expected.result += bits.substr(std::min(bits.find('1'), bits.size() - 1)) + "\r\n";
    }
    if (tooLarge) {
        return {TooLarge, "", expected.lines};
    }
    return expected;
}

// Lists of every shape: blank lines, leading zeros, numbers about the largest, CRs at a line's
// ends and rarely between digits, and now and then a character no list holds.
std::u16string RandomList(std::mt19937& random) {
    const auto chance = [&](int percent) { return static_cast<int>(random() % 100) < percent; };
    const bool mayRefuse = chance(30);
    const bool mayBeTooLarge = chance(30);
    std::string text;
    const int lines = static_cast<int>(random() % 12);
    for (int line = 0; line < lines; ++line) {
        text += chance(20) ? "\r" : "";
        text += chance(15) ? "00" : "";
        if (chance(20)) {
            text += std::to_string(2147483647LL + (mayBeTooLarge ? 1 : -1) * (random() % 3));
        } else if (!chance(15)) {
            text += std::to_string(random() % 100000);
        }
        if (mayRefuse && chance(10)) {
            const std::string_view refused[] = {"\r5", " ", "+", "-", "x", ".", "\x01"};
            text += refused[random() % std::size(refused)];
        }
        text += chance(50) ? "\r\n" : chance(50) ? "\n" : "\r\r\n";
    }
    if (chance(50) && !text.empty()) {
        text.pop_back();
    }
    std::u16string wide(text.begin(), text.end());
    // Characters beyond ASCII, as one unit, two and a pair; a digit but not 0 to 9.
    std::replace(wide.begin(), wide.end(), u'\x01', u"\u00E9\u3000\uFF11\U0001F600"[random() % 4]);
    return wide;
}

// The whole-text steps in the order a run takes them. maxValue is kept from run to run, as the
// program keeps it.
Expected RunSteps(std::u16string_view text, std::int64_t& maxValue) {
    if (!CheckNumberText(text)) {
        return {NotDigits, "", 0};
    }
    NumberLines numbers;
    std::int32_t lines = -1;
    EXPECT_TRUE(SplitNumberLines(text, numbers, lines, kNeverStop));
    if (ScanRange(numbers, maxValue, kNeverStop) != RangeCheck::Passed) {
        return {TooLarge, "", lines};
    }
    std::string result(ResultLength(numbers, 0, numbers.size()), '\0');
    EXPECT_TRUE(WriteResultLines(numbers, 0, numbers.size(), result.data(), kNeverStop));
    return {Converted, result, lines};
}

// A file's bytes: UTF-8 without and with its mark, UTF-16LE and BE with theirs, and UTF-16LE
// without one, which its zero bytes tell.
std::string Encoded(std::u16string_view text, int encoding) {
    const std::string_view marks[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF", ""};
    std::string bytes(marks[encoding]);
    if (encoding < 2) {
        return bytes + Utf16ToUtf8(text);
    }
    for (const char16_t unit : text) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>(unit >> 8);
        bytes += encoding == 3 ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

bool operator==(const Expected& a, const Expected& b) {
    return std::tie(a.outcome, a.result, a.lines) == std::tie(b.outcome, b.result, b.lines);
}

void PrintTo(const Expected& e, std::ostream* out) {
    *out << static_cast<int>(e.outcome) << " \"" << e.result << "\" in " << e.lines << " lines";
}

TEST(NumberList, WholeAndStreamedInAnyBlocksAListGivesWhatTheRulesSay) {
    std::mt19937 random(2026);
    std::int64_t maxValue = 0;
    for (int round = 0; round < 3000; ++round) {
        const std::u16string text = RandomList(random);
        SCOPED_TRACE(testing::PrintToString(WideString(text)));
        const Expected expected = Oracle(text);
        EXPECT_EQ(RunSteps(text, maxValue), expected);
        const int encoding = static_cast<int>(random() % 5);
        const std::size_t block = encoding == 4 ? 2 + random() % 6 : 1 + random() % 7;
        const std::string bytes = Encoded(text, encoding);
        MemorySource source(bytes);
        StringSink written;
        const ConversionOutcome outcome =
            StreamNumberList(source, written, round % 50 ? block : 64);
        EXPECT_EQ(outcome, expected.outcome) << "encoding " << encoding << ", blocks of " << block;
        if (outcome == Converted) {
            EXPECT_EQ(written.bytes, expected.result);
        }
    }
}

// Decisions the oracle leaves open: the largest number seen stays the run's after a list too
// large, so an empty list then passes; a list's halves meet at a line start; half a UTF-16 unit
// ends no list; a zero byte only past the first block makes a list of no encoding.
TEST(NumberList, KeepsTheDecisionsThatNoRuleCovers) {
    std::int64_t maxValue = 0;
    EXPECT_EQ(RunSteps(u"2147483648", maxValue).outcome, TooLarge);
    EXPECT_EQ(RunSteps(u"\r\n\r\n", maxValue), Expected{});
    EXPECT_EQ(HalfwayLineStart(u"12\n34\n56"), 6U);
    EXPECT_EQ(HalfwayLineStart(u"1\n2345"), 6U);
    EXPECT_FALSE(CheckNumberText(u"1\xD800"));
    for (const std::string_view bytes : {std::string_view("\xFF\xFE"
                                                          "5\0\n\0"
                                                          "3",
                                                          7),
                                         std::string_view("12\r\n3\0\n\0", 8)}) {
        MemorySource source(bytes);
        StringSink written;
        EXPECT_EQ(StreamNumberList(source, written, 4), NotDigits);
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
TEST(NumberList, WithoutAThreadToSpareEachBlockIsDoneInTurn) {
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
    EXPECT_EQ(outcome, Converted);
    EXPECT_EQ(written.bytes, "101\r\n11\r\n1010\r\n");
    EXPECT_TRUE(whole);
    EXPECT_EQ(decoded, u"5\r\n3\r\n10\r\n");
}
#endif

// Each block's bytes stay as read until another core has converted its lines, however many
// blocks the reading runs ahead.
TEST(NumberList, KeepsEachBlockUntilItsLinesAreConverted) {
    std::string numbers;
    std::string expected;
    for (std::int32_t value = 0; value < 200000; ++value) {
        numbers += std::to_string(value) + "\r\n";
        AppendResultLine(value, expected);
    }
    MemorySource source(numbers);
    StringSink written;
    EXPECT_EQ(StreamNumberList(source, written, 1 << 16), Converted);
    EXPECT_TRUE(written.bytes == expected);
}

// A read that fails partway through leaves a list unread, never converted in part; a list
// already refused is not read further.
TEST(NumberList, AFailedReadIsNeverAConversion) {
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
         InputUnreadable},
        {"7\r\nx\r\n8", NotDigits},
    };
    for (const auto& [bytes, outcome] : cases) {
        FailingSource source(bytes);
        StringSink written;
        EXPECT_EQ(StreamNumberList(source, written, 4), outcome) << bytes;
    }
}

}  // namespace

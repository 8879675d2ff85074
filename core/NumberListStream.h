#pragma once

// The number-list rules for a file that is never held whole: it is read in blocks, decoded,
// checked, split, range-checked and turned into result lines in one pass, with the same outcome and
// the same result bytes as the steps of NumberText.h over the whole text.

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "core/ConversionOutcome.h"
#include "core/HelperThread.h"
#include "core/NumberText.h"
#include "core/TextEncoding.h"
#include "core/TextTypes.h"

// A number file's bytes, read in order; Rewind starts over from the first byte.
class ByteSource {
  public:
    // The number of bytes read into buffer (0 at the end), or nothing when reading failed.
    virtual std::optional<std::size_t> Read(char* buffer, std::size_t room) = 0;
    virtual bool Rewind() = 0;

  protected:
    ~ByteSource() = default;
};

inline constexpr std::size_t kStreamBlock = std::size_t{1} << 20;

// The encoding a number file's byte-order mark names, leaving source just past it; UTF-8 with a
// mark length of 0 when it has none. Nothing when it cannot be read.
std::optional<MarkedEncoding> ReadMark(ByteSource& source);

// The encoding of a number file: its byte-order mark's, or without one UTF-16LE when it holds a
// zero byte anywhere and UTF-8 otherwise. Leaves source just past the mark; nothing when it
// cannot be read.
std::optional<Encoding> ReadEncoding(ByteSource& source, std::size_t blockSize = kStreamBlock);

// Reads up to room bytes, however many reads it takes; nothing on a failure.
std::optional<std::size_t> ReadUpTo(ByteSource& source, char* buffer, std::size_t room);

// The checks and result lines over a list whose bytes arrive in pieces, classified straight from
// the bytes: every character a number list holds is ASCII, so any other unit, well-formed or not,
// is one that no list holds, as it would be decoded. A number's result line is appended as its line
// ends; once a number was too large nothing more is appended, but the rest is still checked for
// characters that are not digits, which decide the outcome first.
class NumberListStream {
  public:
    explicit NumberListStream(Encoding encoding) : m_encoding(encoding) {}

    // False once a character that no number list holds was seen: nothing after it matters.
    // UTF-16 comes in whole units, as blocks of an even size cut it; a lone byte can only be the
    // last of a file, and no number list ends in one.
    bool Take(std::string_view bytes, ByteString& result);
    void Finish(ByteString& result);
    // Converted, NotDigits or TooLarge.
    ConversionOutcome Result() const;

  private:
    template <typename Unit>
    void TakeUnits(std::size_t count, Unit unit, ByteString& result);
    void TakeUnit(char16_t unit, ByteString& result);
    void EndLine(ByteString& result);

    Encoding m_encoding;
    // Whether UTF-16 bytes ended in half a unit.
    bool m_loneByte = false;
    ListCharacterReader m_reader;
    std::int64_t m_value = 0;
    bool m_inLine = false;
    bool m_tooLarge = false;
    bool m_notDigits = false;
};

// The parts of a block that can be converted on their own: whole lines, from just past its first
// LF through its last. What comes before joins the line the previous block ended in, what comes
// after starts the next one. For UTF-16 the LF is a whole unit at an even offset.
struct BlockLines {
    std::size_t start = 0;
    std::size_t end = 0;
};
BlockLines WholeLines(std::string_view block, Encoding encoding);

// Which of two list outcomes decides: a character that no list holds, then a number too large.
inline bool OutcomeOrder(ConversionOutcome a, ConversionOutcome b) {
    const auto rank = [](ConversionOutcome outcome) {
        return outcome == ConversionOutcome::NotDigits  ? 2
               : outcome == ConversionOutcome::TooLarge ? 1
                                                        : 0;
    };
    return rank(a) < rank(b);
}

// Converts a stretch of whole lines by itself, appending its result lines to result.
ConversionOutcome ConvertLines(std::string_view bytes, Encoding encoding, ByteString& result);

// Runs the number list of source, handing the result to sink in file order: sink.Take(block)
// takes a block's bytes and leaves it empty to be filled again. The whole lines of each block
// convert on another core, on the run's one helper thread, while the next block is read; a line
// that spans blocks goes through one stream, so that no line, however long, is ever held. A file
// without a mark is UTF-16LE when its first block holds a zero byte, and UTF-8 otherwise: a zero
// byte only further on makes it no list either way, as a block without one holds no character of a
// UTF-16 list. One pass, which ends at the first character that no list holds. The result is whole
// only when the outcome is Converted.
template <typename Sink>
ConversionOutcome StreamNumberList(ByteSource& source, Sink& sink,
                                   std::size_t blockSize = kStreamBlock) {
    // Blocks whose lines may convert at once; each is read into a buffer of its own, kept until
    // its lines are handed over.
    constexpr std::size_t kMostInFlight = 3;
    const std::optional<MarkedEncoding> marked = ReadMark(source);
    if (!marked) {
        return ConversionOutcome::InputUnreadable;
    }
    Encoding encoding = marked->encoding;
    // Even, so that blocks of UTF-16 start on whole units.
    std::vector<std::vector<char>> buffers(kMostInFlight + 1,
                                           std::vector<char>(blockSize + blockSize % 2));
    struct Pending {
        // The line the block ends first, then its whole lines as the helper appends them.
        ByteString result;
        // Valid while the lines convert on the helper.
        std::future<ConversionOutcome> linesOutcome;
    };
    // Each result buffer comes back once taken, with the one the sink gave in exchange, so that
    // the run's buffers are allocated, and their pages touched, once.
    std::vector<ByteString> spare;
    std::deque<Pending> inFlight;
    // After what its jobs write into, so that it goes, its jobs ended, before them.
    HelperThread converter;
    ConversionOutcome linesOutcome = ConversionOutcome::Converted;
    const auto handOver = [&](std::size_t keep) {
        for (; inFlight.size() > keep; inFlight.pop_front()) {
            Pending& pending = inFlight.front();
            if (pending.linesOutcome.valid()) {
                linesOutcome = std::max(linesOutcome, pending.linesOutcome.get(), OutcomeOrder);
            }
            sink.Take(pending.result);
            spare.push_back(std::move(pending.result));
        }
    };
    NumberListStream spanning(encoding);
    // A block's tail holds no LF, so no line ends in it and nothing is appended here.
    ByteString noLineEnds;
    for (std::size_t count = 0; linesOutcome != ConversionOutcome::NotDigits; ++count) {
        handOver(kMostInFlight);
        std::vector<char>& buffer = buffers[count % buffers.size()];
        const std::optional<std::size_t> got = ReadUpTo(source, buffer.data(), buffer.size());
        if (!got) {
            handOver(0);
            return ConversionOutcome::InputUnreadable;
        }
        const std::string_view bytes(buffer.data(), *got);
        if (bytes.empty()) {
            break;
        }
        if (count == 0 && marked->markLength == 0 && bytes.find('\0') != bytes.npos) {
            encoding = Encoding::Utf16LE;
            spanning = NumberListStream(encoding);
        }
        const BlockLines whole = WholeLines(bytes, encoding);
        Pending& pending = inFlight.emplace_back();
        if (!spare.empty()) {
            pending.result = std::move(spare.back());
            spare.pop_back();
        }
        if (!spanning.Take(bytes.substr(0, whole.start), pending.result)) {
            break;
        }
        if (whole.end > whole.start) {
            pending.linesOutcome = converter.Start(
                [&pending, encoding, lines = bytes.substr(whole.start, whole.end - whole.start)] {
                    return ConvertLines(lines, encoding, pending.result);
                });
        }
        if (!spanning.Take(bytes.substr(whole.end), noLineEnds)) {
            break;
        }
    }
    handOver(0);
    ByteString last;
    spanning.Finish(last);
    sink.Take(last);
    return std::max(linesOutcome, spanning.Result(), OutcomeOrder);
}

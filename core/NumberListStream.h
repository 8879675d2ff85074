#pragma once

// The number-list rules for a file that is never held whole: it is read in blocks, decoded,
// checked, split, range-checked and turned into result lines in one pass, with the same outcome and
// the same result bytes as the steps of NumberText.h over the whole text.

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/ConversionOutcome.h"
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

class MemorySource final : public ByteSource {
  public:
    explicit MemorySource(std::string_view bytes) : m_bytes(bytes) {}
    std::optional<std::size_t> Read(char* buffer, std::size_t room) override;
    bool Rewind() override;

  private:
    std::string_view m_bytes;
    std::size_t m_next = 0;
};

inline constexpr std::size_t kStreamBlock = std::size_t{1} << 20;

// The encoding of a number file: its byte-order mark's, or without one UTF-16LE when it holds a
// zero byte anywhere and UTF-8 otherwise. Leaves source just past the mark; nothing when it
// cannot be read.
std::optional<Encoding> ReadEncoding(ByteSource& source, std::size_t blockSize = kStreamBlock);

// The checks and result lines over text that arrives in pieces. A number's result line is
// appended as its line ends; once a number was too large nothing more is appended, but the rest
// is still checked for characters that are not digits, which decide the outcome first.
class NumberListStream {
  public:
    // False once a character that no number list holds was seen: nothing after it matters.
    bool Take(std::u16string_view units, ByteString& result);
    void Finish(ByteString& result);
    // Converted, NotDigits or TooLarge.
    ConversionOutcome Result() const;

  private:
    void EndLine(ByteString& result);

    ListCharacterReader m_reader;
    std::int64_t m_value = 0;
    bool m_inLine = false;
    bool m_tooLarge = false;
    bool m_notDigits = false;
};

// Runs the number list of source through NumberListStream, handing the result to write(bytes)
// in blocks. The result is whole only when the outcome is Converted.
template <typename Write>
ConversionOutcome StreamNumberList(ByteSource& source, Write&& write,
                                   std::size_t blockSize = kStreamBlock) {
    const std::optional<Encoding> encoding = ReadEncoding(source, blockSize);
    if (!encoding) {
        return ConversionOutcome::InputUnreadable;
    }
    NumberListStream list;
    ByteString result;
    result.reserve(blockSize + 64);
    const auto read = [&](char* buffer, std::size_t room) { return source.Read(buffer, room); };
    const auto take = [&](std::u16string_view units) {
        const bool more = list.Take(units, result);
        if (result.size() >= blockSize) {
            write(std::string_view(result));
            result.clear();
        }
        return more;
    };
    if (!DecodeBlocks(*encoding, blockSize, read, take)) {
        return ConversionOutcome::InputUnreadable;
    }
    list.Finish(result);
    write(std::string_view(result));
    return list.Result();
}

#pragma once

// Conversions between the program's UTF-16 text and bytes. Malformed input never fails: every
// malformed sequence (a stray byte, an unpaired surrogate, an odd last byte) becomes U+FFFD.

#include <cstddef>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include "core/HelperThread.h"
#include "core/TextTypes.h"

inline constexpr char16_t kReplacementCharacter = u'\uFFFD';

inline bool IsHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

enum class Encoding { Utf8, Utf16LE, Utf16BE };

struct MarkedEncoding {
    Encoding encoding;
    std::size_t markLength;
};

// The encoding that a byte-order mark at the start of bytes names, with the mark's length.
std::optional<MarkedEncoding> EncodingFromMark(std::string_view start);

struct Decoded {
    std::size_t consumed;
    std::size_t units;
};

// Decodes bytes into out, which has room for bytes.size() units. Unless last, an unfinished
// sequence at the end (at most three bytes) is left unconsumed for the next call to start with,
// so that a text decoded in blocks is exactly the text decoded whole.
Decoded DecodeBlock(Encoding encoding, std::string_view bytes, bool last, char16_t* out);

// Reads a text in blocks through read(buffer, room), which gives the number of bytes read (0 at
// the end) or nothing on a failure, and hands each decoded block to take(units), which returns
// false to stop. The next block is read on a helper thread while one is decoded and taken, so two
// blocks are held at a time; read is never called twice at once. Returns false when a read
// failed.
template <typename Read, typename Take>
bool DecodeBlocks(Encoding encoding, std::size_t blockSize, Read&& read, Take&& take) {
    // A block's unfinished sequence, at most three bytes, is put just before the next one.
    constexpr std::size_t kLongestTail = 3;
    std::vector<char> buffers[2] = {std::vector<char>(kLongestTail + blockSize),
                                    std::vector<char>(kLongestTail + blockSize)};
    std::vector<char16_t> units(blockSize + kLongestTail);
    // After what it reads into, so that a read still under way ends before that goes.
    HelperThread reader;
    const auto readInto = [&](int which) {
        return reader.Start(
            [&, which] { return read(buffers[which].data() + kLongestTail, blockSize); });
    };
    auto next = readInto(0);
    std::size_t carried = 0;
    for (int current = 0;; current = 1 - current) {
        const std::optional<std::size_t> got = next.get();
        if (!got) {
            return false;
        }
        const bool last = *got == 0;
        if (!last) {
            next = readInto(1 - current);
        }
        const char* start = buffers[current].data() + kLongestTail - carried;
        const std::size_t available = carried + *got;
        const Decoded decoded =
            DecodeBlock(encoding, std::string_view(start, available), last, units.data());
        if (decoded.units > 0 && !take(std::u16string_view(units.data(), decoded.units))) {
            return true;
        }
        if (last) {
            return true;
        }
        carried = available - decoded.consumed;
        std::memcpy(buffers[1 - current].data() + kLongestTail - carried, start + decoded.consumed,
                    carried);
    }
}

WideString DecodeText(Encoding encoding, std::string_view bytes);
void AppendUtf8(std::u16string_view text, ByteString& bytes);
inline ByteString Utf16ToUtf8(std::u16string_view text) {
    ByteString bytes;
    AppendUtf8(text, bytes);
    return bytes;
}

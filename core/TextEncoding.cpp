#include "core/TextEncoding.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace {

bool IsLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The length of the UTF-8 sequence that lead starts, or 0 when no sequence starts with it.
std::size_t SequenceLength(std::uint8_t lead) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    return lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
}

// Decodes the sequence of length at bytes[i]; returns false when it is malformed.
bool DecodeUtf8Sequence(std::string_view bytes, std::size_t i, std::size_t length, char32_t& c) {
    constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(bytes[k]); };
    if (length == 0 || i + length > bytes.size()) {
        return false;
    }
    c = byte(i) & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            return false;
        }
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    return c >= kShortest[length] && c <= 0x10FFFF && !IsHighSurrogate(c) && !IsLowSurrogate(c);
}

Decoded DecodeUtf8(std::string_view bytes, bool last, char16_t* out) {
    std::size_t i = 0;
    std::size_t n = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<std::uint8_t>(bytes[i]);
        if (lead < 0x80) {
            out[n++] = lead;
            ++i;
            continue;
        }
        const std::size_t length = SequenceLength(lead);
        if (!last && i + length > bytes.size()) {
            break;
        }
        char32_t c = kReplacementCharacter;
        const bool whole = DecodeUtf8Sequence(bytes, i, length, c);
        if (!whole) {
            c = kReplacementCharacter;
        }
        if (c < 0x10000) {
            out[n++] = static_cast<char16_t>(c);
        } else {
            c -= 0x10000;
            out[n++] = static_cast<char16_t>(0xD800 + (c >> 10));
            out[n++] = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        }
        i += whole ? length : 1;
    }
    return {i, n};
}

Decoded DecodeUtf16(std::string_view bytes, bool bigEndian, bool last, char16_t* out) {
    const int high = bigEndian ? 0 : 1;
    const auto unit = [&](std::size_t k) {
        return static_cast<char16_t>((static_cast<std::uint8_t>(bytes[2 * k + high]) << 8) |
                                     static_cast<std::uint8_t>(bytes[2 * k + 1 - high]));
    };
    const std::size_t count = bytes.size() / 2;
    const auto isSurrogate = [&](std::size_t k) { return (unit(k) & 0xF800) == 0xD800; };
    // Where the run of units without a surrogate that starts at from ends. Units in the host's own
    // order are looked at four at a time: a lane of 0xD800 after the mask is a surrogate.
    const auto plainRunEnd = [&](std::size_t from) {
        if (!bigEndian && std::endian::native == std::endian::little) {
            constexpr std::uint64_t kLanes = 0x0001000100010001;
            for (; from + 4 <= count; from += 4) {
                std::uint64_t word = 0;
                std::memcpy(&word, bytes.data() + 2 * from, 8);
                const std::uint64_t offSurrogate = (word & 0xF800 * kLanes) ^ (0xD800 * kLanes);
                if (((offSurrogate - kLanes) & ~offSurrogate & 0x8000 * kLanes) != 0) {
                    break;
                }
            }
        }
        while (from < count && !isSurrogate(from)) {
            ++from;
        }
        return from;
    };
    std::size_t k = 0;
    std::size_t n = 0;
    while (k < count) {
        const std::size_t plainEnd = plainRunEnd(k);
        if (!bigEndian && std::endian::native == std::endian::little) {
            std::memcpy(out + n, bytes.data() + 2 * k, 2 * (plainEnd - k));
            n += plainEnd - k;
            k = plainEnd;
        }
        for (; k < plainEnd; ++k) {
            out[n++] = unit(k);
        }
        if (k == count) {
            break;
        }
        const char16_t u = unit(k);
        if (IsHighSurrogate(u) && k + 1 < count && IsLowSurrogate(unit(k + 1))) {
            out[n++] = u;
            out[n++] = unit(k + 1);
            k += 2;
        } else if (IsHighSurrogate(u) && k + 1 == count && !last) {
            break;
        } else {
            out[n++] = kReplacementCharacter;
            ++k;
        }
    }
    if (k == count && bytes.size() % 2 != 0 && last) {
        out[n++] = kReplacementCharacter;
        return {bytes.size(), n};
    }
    return {2 * k, n};
}

}  // namespace

std::optional<MarkedEncoding> EncodingFromMark(std::string_view start) {
    using namespace std::string_view_literals;
    if (start.starts_with("\xEF\xBB\xBF"sv)) {
        return MarkedEncoding{Encoding::Utf8, 3};
    }
    if (start.starts_with("\xFF\xFE"sv)) {
        return MarkedEncoding{Encoding::Utf16LE, 2};
    }
    if (start.starts_with("\xFE\xFF"sv)) {
        return MarkedEncoding{Encoding::Utf16BE, 2};
    }
    return std::nullopt;
}

Decoded DecodeBlock(Encoding encoding, std::string_view bytes, bool last, char16_t* out) {
    if (encoding == Encoding::Utf8) {
        return DecodeUtf8(bytes, last, out);
    }
    return DecodeUtf16(bytes, encoding == Encoding::Utf16BE, last, out);
}

WideString DecodeText(Encoding encoding, std::string_view bytes) {
    WideString text(bytes.size(), u'\0');
    text.resize(DecodeBlock(encoding, bytes, true, text.data()).units);
    return text;
}

void AppendUtf8(std::u16string_view text, ByteString& bytes) {
    bytes.reserve(bytes.size() + text.size());
    for (std::size_t k = 0; k < text.size(); ++k) {
        char32_t c = text[k];
        if (c < 0x80) {
            bytes.push_back(static_cast<char>(c));
            continue;
        }
        if (IsHighSurrogate(c) && k + 1 < text.size() && IsLowSurrogate(text[k + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++k] - 0xDC00);
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            c = kReplacementCharacter;
        }
        if (c < 0x800) {
            bytes.push_back(static_cast<char>(0xC0 | (c >> 6)));
        } else if (c < 0x10000) {
            bytes.push_back(static_cast<char>(0xE0 | (c >> 12)));
            bytes.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        } else {
            bytes.push_back(static_cast<char>(0xF0 | (c >> 18)));
            bytes.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        }
        bytes.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

#include "core/TextEncoding.h"

#include <cstdint>

namespace {

bool IsHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Decodes one UTF-8 sequence at bytes[i]; returns its length, or 0 when it is malformed.
std::size_t DecodeUtf8Sequence(std::string_view bytes, std::size_t i, char32_t& c) {
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(bytes[k]); };
    const std::uint8_t lead = byte(i);
    std::size_t length = 0;
    char32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, c = lead & 0x1F, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, c = lead & 0x0F, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, c = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > bytes.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            return 0;
        }
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    if (c < min || c > 0x10FFFF || IsHighSurrogate(c) || IsLowSurrogate(c)) {
        return 0;
    }
    return length;
}

}  // namespace

WideString Utf8ToUtf16(std::string_view bytes) {
    // Each byte gives at most one UTF-16 unit (a four-byte sequence gives two), so the text is
    // sized once and shrunk at the end.
    WideString text(bytes.size(), u'\0');
    std::size_t length = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<std::uint8_t>(bytes[i]);
        if (lead < 0x80) {
            text[length++] = lead;
            ++i;
            continue;
        }
        char32_t c = 0;
        const std::size_t sequence = DecodeUtf8Sequence(bytes, i, c);
        if (sequence == 0) {
            c = kReplacementCharacter;
        }
        if (c < 0x10000) {
            text[length++] = static_cast<char16_t>(c);
        } else {
            c -= 0x10000;
            text[length++] = static_cast<char16_t>(0xD800 + (c >> 10));
            text[length++] = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        }
        i += sequence == 0 ? 1 : sequence;
    }
    text.resize(length);
    return text;
}

WideString Utf16BytesToUtf16(std::string_view bytes, bool bigEndian) {
    WideString text(bytes.size() / 2, u'\0');
    const int high = bigEndian ? 0 : 1;
    for (std::size_t k = 0; k < text.size(); ++k) {
        text[k] = static_cast<char16_t>((static_cast<std::uint8_t>(bytes[2 * k + high]) << 8) |
                                        static_cast<std::uint8_t>(bytes[2 * k + 1 - high]));
    }
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (IsHighSurrogate(text[k]) && k + 1 < text.size() && IsLowSurrogate(text[k + 1])) {
            ++k;
        } else if (IsHighSurrogate(text[k]) || IsLowSurrogate(text[k])) {
            text[k] = kReplacementCharacter;
        }
    }
    if (bytes.size() % 2 != 0) {
        text.push_back(kReplacementCharacter);
    }
    return text;
}

ByteString Utf16ToUtf8(std::u16string_view text) {
    ByteString bytes;
    bytes.reserve(text.size());
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
    return bytes;
}

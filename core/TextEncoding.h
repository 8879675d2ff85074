#pragma once

// Conversions between the program's UTF-16 text and bytes. Malformed input never fails: every
// malformed sequence (a stray byte, an unpaired surrogate, an odd last byte) becomes U+FFFD.

#include <string_view>
#include "core/LargeAllocator.h"

inline constexpr char16_t kReplacementCharacter = u'\uFFFD';

WideString Utf8ToUtf16(std::string_view bytes);
WideString Utf16BytesToUtf16(std::string_view bytes, bool bigEndian);
ByteString Utf16ToUtf8(std::u16string_view text);

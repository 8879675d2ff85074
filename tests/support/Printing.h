#pragma once

#include <ostream>

#include "core/LargeAllocator.h"
#include "core/TextEncoding.h"

// Lets failing assertions show texts as text.
inline void PrintTo(const WideString& text, std::ostream* out) {
    *out << '"' << Utf16ToUtf8(text) << '"';
}

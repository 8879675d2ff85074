#pragma once

#include <ostream>

#include "core/TextEncoding.h"
#include "core/TextTypes.h"

// Lets failing assertions show texts as text.
inline void PrintTo(const WideString& text, std::ostream* out) {
    *out << '"' << Utf16ToUtf8(text) << '"';
}

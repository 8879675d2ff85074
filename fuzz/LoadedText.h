#pragma once

#include "storage/TextFile.h"
#include "tests/support/MemorySource.h"

// The text a number file of these bytes loads as in the window; empty when it cannot be loaded.
inline WideString LoadedText(std::string_view bytes) {
    MemorySource source(bytes);
    return ReadText(source, bytes.size()).value_or(WideString());
}

#pragma once

#include <string>

#include "core/TextTypes.h"

// Takes a streamed run's result into one string, as a file would hold it.
struct StringSink {
    void Take(ByteString& block) {
        bytes += block;
        block.clear();
    }
    std::string bytes;
};

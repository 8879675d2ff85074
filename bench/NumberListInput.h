#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "core/TextTypes.h"

// count random numbers from 0 to 2147483647, one per line, each line ended by CR LF.
inline WideString RandomNumberList(std::int64_t count, std::uint64_t seed = 42) {
    std::mt19937_64 random(seed);
    std::uniform_int_distribution<std::int64_t> value(0, 2147483647);
    WideString text;
    text.reserve(static_cast<std::size_t>(count) * 12);
    for (std::int64_t k = 0; k < count; ++k) {
        for (char c : std::to_string(value(random))) {
            text.push_back(static_cast<char16_t>(c));
        }
        text.append(u"\r\n");
    }
    return text;
}

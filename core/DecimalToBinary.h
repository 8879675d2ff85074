#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <concepts>
#include <cstdint>
#include <limits>
#include <string_view>

#include "core/TextTypes.h"

// A decimal integer read the way the C runtime's wtoi/atoll read it: leading white space, one
// optional sign, then ASCII digits up to the first other character. A value beyond T's range is
// clamped, and outOfRange says so, so that callers can refuse it instead of using the clamp.
template <std::signed_integral T>
struct ParsedDecimal {
    T value = 0;
    bool outOfRange = false;
};

bool IsParseSpace(char16_t c);

template <std::signed_integral T, typename Char>
ParsedDecimal<T> ParseDecimal(std::basic_string_view<Char> text) {
    std::size_t i = 0;
    while (i < text.size() && IsParseSpace(static_cast<char16_t>(text[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    using U = std::make_unsigned_t<T>;
    // The magnitude limit: one more than max for a negative value.
    const U limit = static_cast<U>(std::numeric_limits<T>::max()) + (negative ? 1U : 0U);
    const U limitTens = limit / 10;
    const U limitUnits = limit % 10;
    U magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const U digit = static_cast<U>(text[i] - '0');
        if (magnitude > limitTens || (magnitude == limitTens && digit > limitUnits)) {
            return {negative ? std::numeric_limits<T>::min() : std::numeric_limits<T>::max(), true};
        }
        magnitude = magnitude * 10 + digit;
    }
    const T value = negative ? static_cast<T>(U{0} - magnitude) : static_cast<T>(magnitude);
    return {value, false};
}

// The eight binary digits of every byte value, most significant first.
inline constexpr auto kByteDigits = [] {
    std::array<std::array<char, 8>, 256> table{};
    for (std::size_t value = 0; value < 256; ++value) {
        for (std::size_t bit = 0; bit < 8; ++bit) {
            table[value][7 - bit] = static_cast<char>('0' + ((value >> bit) & 1U));
        }
    }
    return table;
}();

// The length of a number's result line: its binary digits and CR LF; value is not negative.
inline std::size_t ResultLineLength(std::int64_t value) {
    const auto magnitude = static_cast<std::uint32_t>(value);
    return static_cast<std::size_t>(magnitude == 0 ? 1 : 32 - std::countl_zero(magnitude)) + 2;
}

// Fills line with a number's 32 binary digits and CR LF; its result line is the last
// ResultLineLength(value) of them.
template <typename Char>
void FillResultLine(std::uint32_t magnitude, Char (&line)[34]) {
    for (std::size_t byte = 0; byte < 4; ++byte) {
        const auto& eight = kByteDigits[(magnitude >> (24 - 8 * byte)) & 0xFFU];
        std::copy(eight.begin(), eight.end(), line + 8 * byte);
    }
    line[32] = Char('\r');
    line[33] = Char('\n');
}

// Appends the binary digits of value, most significant first; "0" for zero, and a minus sign
// before the digits of the magnitude for a negative value.
template <typename String>
void AppendBinary(std::int32_t value, String& out) {
    std::uint32_t magnitude = static_cast<std::uint32_t>(value);
    if (value < 0) {
        magnitude = 0U - magnitude;
        out.push_back('-');
    }
    typename String::value_type line[34];
    FillResultLine(magnitude, line);
    out.append(line + 34 - ResultLineLength(magnitude), line + 32);
}

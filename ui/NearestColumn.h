#pragma once

#include <cstddef>

// The column boundary (0 to length) nearest to x, where leftEdge(column) gives each boundary's
// place and only grows along the line: found by halving, so a long line costs no more than a few
// measurements.
template <typename LeftEdge>
std::size_t NearestColumn(std::size_t length, long long x, const LeftEdge& leftEdge) {
    std::size_t low = 0;
    std::size_t high = length;
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        if ((leftEdge(middle) + leftEdge(middle + 1)) / 2 < x) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

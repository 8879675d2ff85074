#pragma once

#include <cstddef>
#include <vector>

#include "ui/LineIndex.h"
#include "ui/TextMetrics.h"

// Where the characters of one line stand. A short line is laid out as the font lays it out; a
// long one (a file whose lines end in CR alone is one line of millions of digits) in cells one
// digit wide, so that any part of it is found and drawn without measuring what comes before it.
class LinePlacement {
  public:
    static constexpr std::size_t kLongestExactLine = 1024;

    LinePlacement(const TextMetrics& metrics, const SharedText& text, LineIndex::Line line);

    // The left edge of column (0 to the line's length), from the line's start.
    long long X(std::size_t column) const;
    long long Width() const { return X(m_length); }
    // The column boundary nearest to x.
    std::size_t ColumnAt(long long x) const;
    // The first column that reaches past x, and the first that starts beyond x + width: the whole
    // of a short line, which is drawn in one piece.
    std::size_t FirstVisible(long long x) const;
    std::size_t EndVisible(long long x, long long width) const;

  private:
    bool IsExact() const { return m_length <= kLongestExactLine; }

    std::size_t m_length;
    int m_cell;
    std::vector<int> m_edges;
};

#pragma once

#include <cstddef>
#include <vector>

#include "core/SharedText.h"

// Where the lines of a text start, kept for every 256th line only: enough to find any line in a
// few microseconds, small enough for texts of millions of lines. Building it reads the whole
// text, so it is built on the thread that hands the text over, not on the window's.
class LineIndex {
  public:
    // A line's characters, without its CR LF or LF.
    struct Line {
        std::size_t start = 0;
        std::size_t length = 0;
    };

    LineIndex() = default;
    explicit LineIndex(const SharedText& text);

    std::size_t LineCount() const { return m_lineCount; }
    std::size_t LongestLineStart() const { return m_longestLineStart; }
    // The start of line, and of each following line, in text.
    std::size_t LineStart(const SharedText& text, std::size_t line) const;
    static Line LineAt(const SharedText& text, std::size_t start);
    // The number of the line that offset stands in; a line's end is its own.
    std::size_t LineOf(const SharedText& text, std::size_t offset) const;

  private:
    static constexpr std::size_t kStride = 256;
    std::vector<std::size_t> m_sampledStarts{0};
    std::size_t m_lineCount = 1;
    std::size_t m_longestLineStart = 0;
};

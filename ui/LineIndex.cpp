#include "ui/LineIndex.h"

#include <algorithm>

LineIndex::LineIndex(const SharedText& text) {
    text.VisitUnits([this](auto units) {
        using Char = typename decltype(units)::value_type;
        std::size_t lineStart = 0;
        std::size_t longest = 0;
        for (std::size_t k = units.find(Char('\n')); k != SharedText::npos;
             k = units.find(Char('\n'), k + 1)) {
            if (k - lineStart > longest) {
                longest = k - lineStart;
                m_longestLineStart = lineStart;
            }
            lineStart = k + 1;
            // m_lineCount is the number of the line that starts here.
            if (m_lineCount % kStride == 0) {
                m_sampledStarts.push_back(lineStart);
            }
            ++m_lineCount;
        }
        if (units.size() - lineStart > longest) {
            m_longestLineStart = lineStart;
        }
    });
}

std::size_t LineIndex::LineStart(const SharedText& text, std::size_t line) const {
    std::size_t start = m_sampledStarts[line / kStride];
    for (std::size_t skip = line % kStride; skip > 0; --skip) {
        start = text.Find(u'\n', start) + 1;
    }
    return start;
}

LineIndex::Line LineIndex::LineAt(const SharedText& text, std::size_t start) {
    const std::size_t size = text.Size();
    const std::size_t end = std::min(text.Find(u'\n', start), size);
    Line line{start, end - start};
    if (line.length > 0 && end < size && text.At(end - 1) == u'\r') {
        --line.length;
    }
    return line;
}

std::size_t LineIndex::LineOf(const SharedText& text, std::size_t offset) const {
    const auto sample =
        std::upper_bound(m_sampledStarts.begin(), m_sampledStarts.end(), offset) - 1;
    std::size_t line = static_cast<std::size_t>(sample - m_sampledStarts.begin()) * kStride;
    for (std::size_t end = text.Find(u'\n', *sample); end < offset;
         end = text.Find(u'\n', end + 1)) {
        ++line;
    }
    return std::min(line, m_lineCount - 1);
}

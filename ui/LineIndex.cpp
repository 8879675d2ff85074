#include "ui/LineIndex.h"

LineIndex::LineIndex(std::u16string_view text) {
    std::size_t lineStart = 0;
    std::size_t longest = 0;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] != u'\n') {
            continue;
        }
        if (k - lineStart > longest) {
            longest = k - lineStart;
            m_longestLineStart = lineStart;
        }
        lineStart = k + 1;
        if (m_lineCount++ % kStride == kStride - 1) {
            m_sampledStarts.push_back(lineStart);
        }
    }
    if (text.size() - lineStart > longest) {
        m_longestLineStart = lineStart;
    }
}

std::size_t LineIndex::LineStart(std::u16string_view text, std::size_t line) const {
    std::size_t start = m_sampledStarts[line / kStride];
    for (std::size_t skip = line % kStride; skip > 0; --skip) {
        start = text.find(u'\n', start) + 1;
    }
    return start;
}

std::u16string_view LineIndex::LineAt(std::u16string_view text, std::size_t start) {
    const std::size_t end = std::min(text.find(u'\n', start), text.size());
    std::u16string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == u'\r' && end < text.size()) {
        line.remove_suffix(1);
    }
    return line;
}

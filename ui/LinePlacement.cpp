#include "ui/LinePlacement.h"

#include <algorithm>

#include "ui/NearestColumn.h"

LinePlacement::LinePlacement(const TextMetrics& metrics, const SharedText& text,
                             LineIndex::Line line)
    : m_length(line.length), m_cell(std::max(1, metrics.CellWidth())) {
    if (IsExact() && m_length > 0) {
        m_edges = metrics.Edges(text.Copy(line.start, line.length));
        m_edges.resize(m_length, m_edges.empty() ? 0 : m_edges.back());
    }
}

long long LinePlacement::X(std::size_t column) const {
    column = std::min(column, m_length);
    if (IsExact()) {
        return column == 0 ? 0 : m_edges[column - 1];
    }
    return static_cast<long long>(column) * m_cell;
}

std::size_t LinePlacement::ColumnAt(long long x) const {
    if (!IsExact()) {
        const long long column = (x + m_cell / 2) / m_cell;
        return static_cast<std::size_t>(std::clamp(column, 0LL, static_cast<long long>(m_length)));
    }
    return NearestColumn(m_length, x, [this](std::size_t column) { return X(column); });
}

std::size_t LinePlacement::FirstVisible(long long x) const {
    if (IsExact()) {
        return 0;
    }
    return std::min(m_length, static_cast<std::size_t>(std::max(0LL, x / m_cell)));
}

std::size_t LinePlacement::EndVisible(long long x, long long width) const {
    if (IsExact()) {
        return m_length;
    }
    return std::min(m_length, static_cast<std::size_t>(std::max(0LL, (x + width) / m_cell + 1)));
}

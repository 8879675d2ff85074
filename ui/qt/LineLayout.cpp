#include "ui/qt/LineLayout.h"

#include <algorithm>

#include "ui/NearestColumn.h"
#include "ui/qt/QtText.h"

LineLayout::LineLayout(const QFontMetrics& metrics, const SharedText& text, LineIndex::Line line)
    : m_metrics(metrics),
      m_length(line.length),
      m_exact(IsExact() ? ToQString(text, line.start, line.length) : QString()),
      m_cell(std::max(1, metrics.horizontalAdvance(QLatin1Char('0')))) {}

long long LineLayout::X(std::size_t column) const {
    column = std::min(column, m_length);
    if (IsExact()) {
        return m_metrics.horizontalAdvance(m_exact.left(static_cast<qsizetype>(column)));
    }
    return static_cast<long long>(column) * m_cell;
}

std::size_t LineLayout::ColumnAt(long long x) const {
    if (!IsExact()) {
        const long long column = (x + m_cell / 2) / m_cell;
        return static_cast<std::size_t>(std::clamp(column, 0LL, static_cast<long long>(m_length)));
    }
    return NearestColumn(m_length, x, [this](std::size_t column) { return X(column); });
}

std::size_t LineLayout::FirstVisible(long long x) const {
    if (IsExact()) {
        return 0;
    }
    return std::min(m_length, static_cast<std::size_t>(std::max(0LL, x / m_cell)));
}

std::size_t LineLayout::EndVisible(long long x, long long width) const {
    if (IsExact()) {
        return m_length;
    }
    return std::min(m_length, static_cast<std::size_t>(std::max(0LL, (x + width) / m_cell + 1)));
}

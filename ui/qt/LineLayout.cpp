#include "ui/qt/LineLayout.h"

#include <algorithm>

#include "ui/NearestColumn.h"
#include "ui/qt/QtText.h"

LineLayout::LineLayout(const QFontMetrics& metrics, std::u16string_view line)
    : m_metrics(metrics),
      m_line(line),
      m_exact(IsExact() ? ToQString(line) : QString()),
      m_cell(std::max(1, metrics.horizontalAdvance(QLatin1Char('0')))) {}

long long LineLayout::X(std::size_t column) const {
    column = std::min(column, m_line.size());
    if (IsExact()) {
        return m_metrics.horizontalAdvance(m_exact.left(static_cast<qsizetype>(column)));
    }
    return static_cast<long long>(column) * m_cell;
}

std::size_t LineLayout::ColumnAt(long long x) const {
    if (!IsExact()) {
        const long long column = (x + m_cell / 2) / m_cell;
        return static_cast<std::size_t>(
            std::clamp(column, 0LL, static_cast<long long>(m_line.size())));
    }
    return NearestColumn(m_line.size(), x, [this](std::size_t column) { return X(column); });
}

std::size_t LineLayout::FirstVisible(long long x) const {
    if (IsExact()) {
        return 0;
    }
    return std::min(m_line.size(), static_cast<std::size_t>(std::max(0LL, x / m_cell)));
}

std::size_t LineLayout::EndVisible(long long x, long long width) const {
    if (IsExact()) {
        return m_line.size();
    }
    return std::min(m_line.size(),
                    static_cast<std::size_t>(std::max(0LL, (x + width) / m_cell + 1)));
}

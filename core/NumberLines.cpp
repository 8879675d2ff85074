#include "core/NumberLines.h"

void NumberLines::clear() {
    m_digits = {};
    m_ends = {};
}

std::string_view NumberLines::operator[](std::size_t index) const {
    const std::uint32_t start = index == 0 ? 0 : m_ends[index - 1];
    return std::string_view(m_digits).substr(start, m_ends[index] - start);
}

bool NumberLines::EndLine() {
    if (m_digits.size() == PendingStart()) {
        return false;
    }
    m_ends.push_back(static_cast<std::uint32_t>(m_digits.size()));
    return true;
}

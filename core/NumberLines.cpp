#include "core/NumberLines.h"

void NumberLines::clear() {
    // Assigning {} would keep the capacity; the memory must go.
    std::vector<std::uint32_t>().swap(m_values);
    m_pendingValue = 0;
    m_pendingHasDigits = false;
}

bool NumberLines::EndLine() {
    if (!m_pendingHasDigits) {
        return false;
    }
    m_values.push_back(static_cast<std::uint32_t>(m_pendingValue));
    m_pendingValue = 0;
    m_pendingHasDigits = false;
    return true;
}

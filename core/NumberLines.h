#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

inline constexpr std::int64_t kLargestNumber = 2147483647;
// Where a number's value is held once it is beyond the largest: past that point only "too large"
// matters, and the value still fits in 32 bits.
inline constexpr std::int64_t kBeyondLargest = kLargestNumber + 1;

// A line's value with one more digit, held at kBeyondLargest once beyond the largest number.
inline std::int64_t WithDigit(std::int64_t value, char16_t digit) {
    const std::int64_t next = value * 10 + (digit - u'0');
    return next < kBeyondLargest ? next : kBeyondLargest;
}

// The collected number lines of a run, in list order, as their values: four bytes a line, so ten
// million lines cost 40 MB, not a heap block apiece.
class NumberLines {
  public:
    void clear();
    std::size_t size() const { return m_values.size(); }
    bool empty() const { return m_values.empty(); }
    std::int64_t operator[](std::size_t index) const { return m_values[index]; }

    // Building a line in place: digits go to the pending line, which EndLine keeps when it has
    // any and drops when it has none.
    void Reserve(std::size_t lines) { m_values.reserve(lines); }
    void AppendToPendingLine(char16_t digit) {
        m_pendingValue = WithDigit(m_pendingValue, digit);
        m_pendingHasDigits = true;
    }
    bool EndLine();
    // Adds other's lines after these.
    void Append(const NumberLines& other) {
        m_values.insert(m_values.end(), other.m_values.begin(), other.m_values.end());
    }

  private:
    std::vector<std::uint32_t> m_values;
    std::int64_t m_pendingValue = 0;
    bool m_pendingHasDigits = false;
};

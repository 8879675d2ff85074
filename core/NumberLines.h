#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include "core/LargeAllocator.h"

// The collected number lines of a run, in list order. Lines hold only ASCII digits, so they are
// kept as bytes in one buffer: ten million lines cost about fourteen bytes each, not a heap
// block apiece.
class NumberLines {
  public:
    void clear();
    std::size_t size() const { return m_ends.size(); }
    bool empty() const { return m_ends.empty(); }
    std::string_view operator[](std::size_t index) const;

    // Building a line in place: digits go to the pending line, which EndLine keeps when it is
    // not empty and drops when it is.
    void Reserve(std::size_t digits) { m_digits.reserve(digits); }
    void AppendToPendingLine(char digit) { m_digits.push_back(digit); }
    bool EndLine();

  private:
    std::uint32_t PendingStart() const { return m_ends.empty() ? 0 : m_ends.back(); }

    ByteString m_digits;
    LargeVector<std::uint32_t> m_ends;
};

#pragma once

#include <algorithm>
#include <cstring>
#include <string_view>

#include "core/NumberListStream.h"

// A number file's bytes held in memory.
class MemorySource final : public ByteSource {
  public:
    explicit MemorySource(std::string_view bytes) : m_bytes(bytes) {}
    std::optional<std::size_t> Read(char* buffer, std::size_t room) override {
        const std::size_t count = std::min(room, m_bytes.size() - m_next);
        std::memcpy(buffer, m_bytes.data() + m_next, count);
        m_next += count;
        return count;
    }
    bool Rewind() override {
        m_next = 0;
        return true;
    }

  private:
    std::string_view m_bytes;
    std::size_t m_next = 0;
};

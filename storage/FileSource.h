#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "core/NumberListStream.h"

// A regular file's bytes (links followed), read in order. Anything else (a folder, a FIFO, a
// device) does not open, so that no read can block or run forever.
class FileSource final : public ByteSource {
  public:
    explicit FileSource(const std::filesystem::path& path);
    ~FileSource();
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool IsOpen() const { return m_file != nullptr; }
    std::uintmax_t Size() const { return m_size; }
    std::optional<std::size_t> Read(char* buffer, std::size_t room) override;
    bool Rewind() override;

  private:
    std::FILE* m_file = nullptr;
    std::uintmax_t m_size = 0;
};

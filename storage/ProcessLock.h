#pragma once

#include <cstdint>
#include <filesystem>

// A lock on a file that one process holds at a time: a second one waits in the constructor until
// the first lets go, however that one ends, a kill included. Where the file cannot be made, there
// is no lock and nothing waits.
class ProcessLock {
  public:
    explicit ProcessLock(const std::filesystem::path& file);
    ~ProcessLock();
    ProcessLock(const ProcessLock&) = delete;
    ProcessLock& operator=(const ProcessLock&) = delete;

    bool Held() const { return m_handle != -1; }

  private:
    // A descriptor, or on Windows a handle; -1 is none on both.
    std::intptr_t m_handle = -1;
};

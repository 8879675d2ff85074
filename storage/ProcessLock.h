#pragma once

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

    bool Held() const { return m_handle != kNone; }

  private:
#ifdef _WIN32
    using Handle = void*;
    static inline Handle const kNone = reinterpret_cast<void*>(-1);
#else
    using Handle = int;
    static constexpr Handle kNone = -1;
#endif
    Handle m_handle = kNone;
};

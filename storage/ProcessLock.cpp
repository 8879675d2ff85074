#include "storage/ProcessLock.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#endif

#ifdef _WIN32
ProcessLock::ProcessLock(const std::filesystem::path& file) {
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    OVERLAPPED whole{};
    if (handle != INVALID_HANDLE_VALUE &&
        !LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &whole)) {
        CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
    }
    m_handle = handle;
}

ProcessLock::~ProcessLock() {
    if (Held()) {
        CloseHandle(m_handle);
    }
}
#else
ProcessLock::ProcessLock(const std::filesystem::path& file) {
    const int descriptor = open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    int locked = -1;
    while (descriptor >= 0 && (locked = flock(descriptor, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (descriptor >= 0 && locked != 0) {
        close(descriptor);
        return;
    }
    m_handle = descriptor;
}

ProcessLock::~ProcessLock() {
    if (Held()) {
        close(m_handle);
    }
}
#endif

#include "storage/ProcessLock.h"

#include <windows.h>

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
    m_handle = reinterpret_cast<std::intptr_t>(handle);
}

ProcessLock::~ProcessLock() {
    if (Held()) {
        CloseHandle(reinterpret_cast<HANDLE>(m_handle));
    }
}

#pragma once

// Windows only: a C stream over a file handle opened with the access a stream cannot ask for.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

// The stream owns handle from here on; on failure handle is closed and nothing is returned.
inline std::FILE* StreamOver(HANDLE handle, int flags, const char* mode) {
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags);
    if (descriptor < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* stream = _fdopen(descriptor, mode);
    if (stream == nullptr) {
        _close(descriptor);
    }
    return stream;
}

inline HANDLE HandleOf(std::FILE* stream) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
}

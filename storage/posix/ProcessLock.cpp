#include "storage/ProcessLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

ProcessLock::ProcessLock(const std::filesystem::path& file) {
    const int descriptor = open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644);
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
        close(static_cast<int>(m_handle));
    }
}

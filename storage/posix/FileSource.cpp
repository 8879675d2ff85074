#include "storage/FileSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace fs = std::filesystem;

namespace {

FileSource::Identity IdentityOf(const struct stat& info) {
    const auto nanoseconds = [](const timespec& time) {
        return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
    };
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::uint64_t>(info.st_size), nanoseconds(info.st_mtim),
            nanoseconds(info.st_ctim)};
}

}  // namespace

// Opened without blocking, so that a FIFO or a device put at the name in the meantime cannot
// hold the run up, and refused unless it is a regular file.
std::FILE* FileSource::Open(const fs::path& path, Use) {
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        if (fd >= 0) {
            close(fd);
        }
        return nullptr;
    }
    std::FILE* file = fdopen(fd, "rb");
    if (file == nullptr) {
        close(fd);
    }
    return file;
}

std::optional<FileSource::Identity> FileSource::OpenIdentity() const {
    struct stat info {};
    if (fstat(fileno(m_file), &info) != 0) {
        return std::nullopt;
    }
    return IdentityOf(info);
}

// The name goes only while it shows the file as it was opened, change time included: a job
// written over it, or put in its place, since the read began stays for the next run.
FileSource::Deletion FileSource::DeleteName(const fs::path& path) {
    struct stat named {};
    if (lstat(path.c_str(), &named) != 0) {
        return errno == ENOENT ? Deletion::Deleted : Deletion::Failed;
    }
    if (stat(path.c_str(), &named) != 0 || IdentityOf(named) != m_opened) {
        return Deletion::Changed;
    }
    // Removing a name needs only its folder's write permission: the file's mode is not touched.
    // A name gone by then (false with no error) was deleted all the same, as one gone before.
    std::error_code error;
    return fs::remove(path, error) || !error ? Deletion::Deleted : Deletion::Failed;
}

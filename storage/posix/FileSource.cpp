#include "storage/FileSource.h"

#include <sys/stat.h>

#include <cerrno>

namespace fs = std::filesystem;

std::FILE* FileSource::Open(const fs::path& path, Use) {
    return std::fopen(path.c_str(), "rb");
}

std::optional<FileSource::Identity> FileSource::OpenIdentity() const {
    struct stat info {};
    if (fstat(fileno(m_file), &info) != 0) {
        return std::nullopt;
    }
    return Identity{
        static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
        static_cast<std::uint64_t>(info.st_size),
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

FileSource::Deletion FileSource::DeleteName(const fs::path& path) {
    struct stat named {};
    if (lstat(path.c_str(), &named) != 0) {
        return errno == ENOENT ? Deletion::Deleted : Deletion::Failed;
    }
    if (stat(path.c_str(), &named) != 0 ||
        static_cast<std::uint64_t>(named.st_dev) != m_opened.device ||
        static_cast<std::uint64_t>(named.st_ino) != m_opened.file) {
        return Deletion::Replaced;
    }
    // Removing a name needs only its folder's write permission: the file's mode is not touched.
    // A name gone by then (false with no error) was deleted all the same, as one gone before.
    std::error_code error;
    return fs::remove(path, error) || !error ? Deletion::Deleted : Deletion::Failed;
}

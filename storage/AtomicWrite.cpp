#include <cstdio>
#include <random>
#include <string>

#include "storage/FileHelpers.h"

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

std::FILE* OpenNew(const fs::path& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"wbx");
#else
    return std::fopen(path.c_str(), "wbx");
#endif
}

bool FlushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) {
        return false;
    }
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

// Makes the rename itself durable; where a folder cannot be synced, the rename still stands.
void FlushFolder(const fs::path& folder) {
#ifndef _WIN32
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
#else
    (void)folder;
#endif
}

// The same short length whatever the target is called, so that a target whose name is as long as
// the file system allows can still be replaced.
fs::path TemporarySibling(const fs::path& target) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    char name[32];
    std::snprintf(name, sizeof name, ".Tallow-%012llx.tmp",
                  static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFULL));
    return target.parent_path() / name;
}

// Where a write through path lands: a link is followed, as a plain open follows it, so that the
// file it names is replaced in its own folder and the link stays.
fs::path FollowLinks(fs::path path) {
    constexpr int kMostLinks = 40;
    for (int hop = 0; hop < kMostLinks; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error))) {
            break;
        }
        const fs::path target = fs::read_symlink(path, error);
        if (error) {
            break;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path;
}

bool IsReadOnly(const fs::file_status& status) {
    return (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

bool WriteAndClose(std::FILE* file, std::string_view bytes) {
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool flushed = written && FlushToDisk(file);
    return std::fclose(file) == 0 && flushed;
}

}  // namespace

// A target that exists keeps its permission bits; one the user made read-only, or one that is not
// a regular file, is refused as a plain open would refuse it.
int WriteBytesFile(const fs::path& path, std::string_view bytes) {
    const fs::path target = FollowLinks(path);
    std::error_code error;
    const fs::file_status existing = fs::status(target, error);
    const bool replacing = fs::exists(existing);
    if (replacing && (!fs::is_regular_file(existing) || IsReadOnly(existing))) {
        return 0;
    }
    const fs::path temporary = TemporarySibling(target);
    std::FILE* file = OpenNew(temporary);
    if (file == nullptr) {
        return 0;
    }
    error.clear();
    if (replacing) {
        fs::permissions(temporary, existing.permissions(), error);
    }
    if (WriteAndClose(file, bytes) && !error) {
        fs::rename(temporary, target, error);
        if (!error) {
            FlushFolder(target.parent_path());
            return 1;
        }
    }
    fs::remove(temporary, error);
    return 0;
}

#include <random>
#include <string>

#include "storage/AtomicFile.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include <cstdint>

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

// Puts the written file in the target's place in one step, replacing what was there.
bool ReplaceWith(const fs::path& temporary, const fs::path& target) {
#ifdef _WIN32
    return MoveFileExW(temporary.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    std::error_code error;
    fs::rename(temporary, target, error);
    return !error;
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

}  // namespace

AtomicFile::AtomicFile(const fs::path& target) : m_target(FollowLinks(target)) {
    std::error_code error;
    const fs::file_status existing = fs::status(m_target, error);
    const bool replacing = fs::exists(existing);
    if (replacing && (!fs::is_regular_file(existing) || IsReadOnly(existing))) {
        return;
    }
    m_temporary = TemporarySibling(m_target);
    m_file = OpenNew(m_temporary);
    if (m_file != nullptr && replacing) {
        fs::permissions(m_temporary, existing.permissions(), error);
        m_failed = static_cast<bool>(error);
    }
}

AtomicFile::~AtomicFile() {
    if (m_file != nullptr) {
        std::fclose(m_file);
        std::error_code error;
        fs::remove(m_temporary, error);
    }
}

bool AtomicFile::Write(std::string_view bytes) {
    m_failed = m_failed || m_file == nullptr ||
               std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size();
#ifdef __linux__
    // Large files start going to disk while the rest is written, so that Commit's flush to disk
    // waits for little.
    constexpr std::uint64_t kWriteBackStep = std::uint64_t{8} << 20;
    m_written += bytes.size();
    if (!m_failed && m_written - m_writtenBack >= kWriteBackStep && std::fflush(m_file) == 0) {
        sync_file_range(fileno(m_file), static_cast<off_t>(m_writtenBack),
                        static_cast<off_t>(m_written - m_writtenBack), SYNC_FILE_RANGE_WRITE);
        m_writtenBack = m_written;
    }
#endif
    return !m_failed;
}

bool AtomicFile::Commit() {
    if (m_file == nullptr) {
        return false;
    }
    const bool flushed = !m_failed && FlushToDisk(m_file);
    const bool closed = std::fclose(m_file) == 0;
    m_file = nullptr;
    if (flushed && closed && ReplaceWith(m_temporary, m_target)) {
        FlushFolder(m_target.parent_path());
        return true;
    }
    std::error_code error;
    fs::remove(m_temporary, error);
    return false;
}

#include "storage/AtomicFile.h"

#ifdef __linux__
#include <fcntl.h>
#endif

#include <cstdint>
#include <random>
#include <string>

#include "storage/TemporaryFiles.h"

namespace fs = std::filesystem;

namespace {

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

void RemoveAbandonedTemporaries(const fs::path& folder) {
    std::error_code error;
    for (fs::directory_iterator it(folder.empty() ? "." : folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.starts_with(kTemporaryPrefix) && name.ends_with(kTemporarySuffix)) {
            RemoveIfAbandoned(it->path());
        }
    }
}

fs::path TemporarySibling(const fs::path& target) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    char name[64];
    std::snprintf(name, sizeof name, "%s%s%012llx%s", kTemporaryPrefix.data(), WriterTag().c_str(),
                  static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFULL),
                  kTemporarySuffix.data());
    return target.parent_path() / name;
}

AtomicFile::AtomicFile(const fs::path& target) : m_target(FollowLinks(target)) {
    std::error_code error;
    const fs::file_status existing = fs::status(m_target, error);
    RemoveAbandonedTemporaries(m_target.parent_path());
    if (fs::exists(existing) && (!fs::is_regular_file(existing) || IsReadOnly(existing))) {
        return;
    }
    Open(existing);
    // Callers write whole blocks: each goes straight to the file, not copied through a buffer.
    if (m_file != nullptr) {
        std::setvbuf(m_file, nullptr, _IONBF, 0);
    }
}

AtomicFile::~AtomicFile() {
    Discard();
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
    const bool replaced =
        m_file != nullptr && !m_failed && std::fflush(m_file) == 0 && PutInPlace();
    Discard();
    return replaced;
}

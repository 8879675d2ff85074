#include <random>
#include <string>

#include "storage/AtomicFile.h"

#ifdef _WIN32
#include "storage/WindowsStream.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <fstream>
#include <optional>
#include <sstream>
#endif

#include <chrono>
#include <cstdint>
#include <cstring>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTemporaryPrefix = ".Tallow-";
constexpr std::string_view kTemporarySuffix = ".tmp";

#ifdef _WIN32
bool MarkForDeletion(HANDLE file, bool deleted) {
    FILE_DISPOSITION_INFO disposition{static_cast<BOOLEAN>(deleted)};
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                      sizeof disposition) != 0;
}

// A new file that goes when its handle closes, as it does when the process is killed, until
// Commit takes the mark off. No one else may open it meanwhile.
std::FILE* OpenNew(const fs::path& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE && !MarkForDeletion(file, true)) {
        CloseHandle(file);
        return nullptr;
    }
    return StreamOver(file, 0, "wb");
}

// Renamed by its handle, the mark taken off first; put back when the rename fails.
bool RenameOpen(std::FILE* file, const fs::path& target) {
    const std::wstring name = target.wstring();
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::memcpy(rename->FileName, name.c_str(), rename->FileNameLength);
    const HANDLE handle = HandleOf(file);
    if (MarkForDeletion(handle, false) &&
        SetFileInformationByHandle(handle, FileRenameInfo, rename,
                                   static_cast<DWORD>(buffer.size())) != 0) {
        return true;
    }
    MarkForDeletion(handle, true);
    return false;
}

// A file some process still has open cannot be deleted: only an abandoned one goes.
void RemoveIfAbandoned(const fs::path& temporary) {
    std::error_code error;
    fs::remove(temporary, error);
}

// Deletion on close already tells a dead writer's file apart: the name needs no writer.
std::string WriterTag() {
    return {};
}
#else
// Named temporary files being written, removed by a signal that would end the process.
std::array<std::array<char, 4096>, 8> gNamedTemporaries{};
std::array<std::atomic<bool>, 8> gNamedInUse{};

void RemoveNamedTemporariesAndDie(int signal) {
    for (std::size_t slot = 0; slot < gNamedTemporaries.size(); ++slot) {
        if (gNamedInUse[slot].load()) {
            unlink(gNamedTemporaries[slot].data());
        }
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// The slot of a named temporary file, or -1 when every slot is taken or the path is too long.
int RegisterNamed(const fs::path& temporary) {
    static const bool installed = [] {
        for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
            struct sigaction current {};
            if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
                std::signal(signal, RemoveNamedTemporariesAndDie);
            }
        }
        return true;
    }();
    (void)installed;
    for (std::size_t slot = 0; slot < gNamedTemporaries.size(); ++slot) {
        bool free = false;
        if (temporary.native().size() < gNamedTemporaries[slot].size() &&
            gNamedInUse[slot].compare_exchange_strong(free, true)) {
            std::strcpy(gNamedTemporaries[slot].data(), temporary.c_str());
            return static_cast<int>(slot);
        }
    }
    return -1;
}

void Unregister(int slot) {
    if (slot >= 0) {
        gNamedInUse[static_cast<std::size_t>(slot)].store(false);
    }
}

// When the process pid started, in clock ticks after boot: the pair names one process for good,
// even once its id is reused. Nothing where /proc cannot tell.
std::optional<unsigned long long> StartTime(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    std::getline(file, stat);
    // The name in parentheses may hold anything; the start time is the 20th field after it.
    const std::size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos) {
        return std::nullopt;
    }
    std::istringstream fields(stat.substr(nameEnd + 1));
    std::string skipped;
    for (int field = 0; field < 19; ++field) {
        fields >> skipped;
    }
    unsigned long long start = 0;
    return fields >> start ? std::optional(start) : std::nullopt;
}

// "pid-start-" of this process, so that a sweep can tell whether a file's writer still runs;
// empty where its start time cannot be known.
std::string WriterTag() {
    static const std::string tag = [] {
        const std::optional<unsigned long long> start = StartTime(getpid());
        return start ? std::to_string(getpid()) + "-" + std::to_string(*start) + "-"
                     : std::string();
    }();
    return tag;
}

// True when name carries a writer's tag and that writer is gone: no process has its id, or the
// one that has it started at another time.
bool WriterGone(std::string_view name) {
    name.remove_prefix(kTemporaryPrefix.size());
    long long pid = 0;
    unsigned long long start = 0;
    const char* end = name.data() + name.size();
    auto [afterPid, pidError] = std::from_chars(name.data(), end, pid);
    if (pidError != std::errc() || pid <= 0 || afterPid == end || *afterPid != '-') {
        return false;
    }
    auto [afterStart, startError] = std::from_chars(afterPid + 1, end, start);
    if (startError != std::errc() || afterStart == end || *afterStart != '-') {
        return false;
    }
    const auto writer = static_cast<pid_t>(pid);
    if (kill(writer, 0) != 0) {
        return errno == ESRCH;
    }
    const std::optional<unsigned long long> running = StartTime(writer);
    return running && *running != start;
}

// Every writer holds a lock on its temporary file while it lives, so a file whose lock can be
// taken, and whose writer is gone, was left behind. A file of no known writer (another version's)
// is taken for abandoned once it is old: just made, its writer may not have locked it yet.
void RemoveIfAbandoned(const fs::path& temporary) {
    const int fd = open(temporary.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return;
    }
    struct stat info {};
    const bool old = fstat(fd, &info) == 0 && info.st_mtime + 10 < std::time(nullptr);
    if ((old || WriterGone(temporary.filename().native())) && flock(fd, LOCK_EX | LOCK_NB) == 0) {
        unlink(temporary.c_str());
    }
    close(fd);
}

// An unnamed file in folder, or a named one at path where the file system cannot make one;
// either is locked for as long as it is open. flock refuses a failed open's -1 by itself. A named
// one is registered in slot before it exists, so that no signal finds it there unregistered.
int OpenLocked(const fs::path& folder, const fs::path& path, bool& named, int& slot) {
    int fd = open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    named = fd < 0;
    if (named) {
        slot = RegisterNamed(path);
        fd = open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    }
    flock(fd, LOCK_EX);
    return fd;
}

// Gives an unnamed file the name path; through /proc where it is mounted, else (root) directly.
bool GiveName(int fd, const fs::path& path) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
           linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0;
}
#endif

// Temporary files of this program beside target that no writer holds any more.
void RemoveAbandonedTemporaries(const fs::path& target) {
    std::error_code error;
    for (fs::directory_iterator
             it(target.parent_path().empty() ? "." : target.parent_path(), error),
         end;
         !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.starts_with(kTemporaryPrefix) && name.ends_with(kTemporarySuffix)) {
            RemoveIfAbandoned(it->path());
        }
    }
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

#ifndef _WIN32
// Puts the written file in the target's place in one step, replacing what was there.
bool ReplaceWith(const fs::path& temporary, const fs::path& target) {
    std::error_code error;
    fs::rename(temporary, target, error);
    return !error;
}
#endif

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

// A short name whatever the target is called, so that a target whose name is as long as the file
// system allows can still be replaced.
fs::path TemporarySibling(const fs::path& target) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    char name[64];
    std::snprintf(name, sizeof name, "%s%s%012llx%s", kTemporaryPrefix.data(), WriterTag().c_str(),
                  static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFULL),
                  kTemporarySuffix.data());
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
    RemoveAbandonedTemporaries(m_target);
#ifdef _WIN32
    // Closing the file deletes it: it needs no removal by name. The only permission bit Windows
    // has, read-only, a replaced target never has.
    m_file = OpenNew(TemporarySibling(m_target));
#else
    bool named = false;
    const fs::path sibling = TemporarySibling(m_target);
    const int fd = OpenLocked(m_target.parent_path(), sibling, named, m_slot);
    if (fd < 0) {
        Discard();
        return;
    }
    if (named) {
        m_temporary = sibling;
    }
    m_file = fdopen(fd, "wb");
    // The destructor removes a named file that could not be opened as a stream.
    if (m_file == nullptr) {
        close(fd);
        return;
    }
    if (replacing) {
        m_failed = fchmod(fd, static_cast<mode_t>(existing.permissions())) != 0;
    }
#endif
}

AtomicFile::~AtomicFile() {
    Discard();
}

void AtomicFile::Discard() {
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    if (!m_temporary.empty()) {
        std::error_code error;
        fs::remove(m_temporary, error);
        m_temporary.clear();
    }
#ifndef _WIN32
    Unregister(m_slot);
    m_slot = -1;
#endif
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
    bool replaced = !m_failed && FlushToDisk(m_file);
#ifdef _WIN32
    replaced = replaced && RenameOpen(m_file, m_target);
#else
    // Named only now, and renamed while still open, so its lock covers it until it is in place.
    if (replaced && m_temporary.empty()) {
        const fs::path sibling = TemporarySibling(m_target);
        replaced = GiveName(fileno(m_file), sibling);
        if (replaced) {
            m_temporary = sibling;
        }
    }
    replaced = replaced && ReplaceWith(m_temporary, m_target);
#endif
    if (replaced) {
        m_temporary.clear();
        FlushFolder(m_target.parent_path());
    }
    Discard();
    return replaced;
}

#include "storage/AtomicFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fstream>
#include <optional>
#include <sstream>

#include "storage/TemporaryFiles.h"

namespace fs = std::filesystem;

namespace {

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

// Makes the rename itself durable; where a folder cannot be synced, the rename still stands.
void FlushFolder(const fs::path& folder) {
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

}  // namespace

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

// Every writer holds a lock on its temporary file while it lives, so a file whose lock can be
// taken, and whose writer is gone, was left behind. A file of no known writer (another version's)
// is taken for abandoned once it is old: just made, its writer may not have locked it yet.
void RemoveIfAbandoned(const fs::path& temporary) {
    // Without blocking: a FIFO of that name would wait for a writer.
    const int fd = open(temporary.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        return;
    }
    struct stat info {};
    const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    const bool old = info.st_mtime + 10 < std::time(nullptr);
    if (regular && (old || WriterGone(temporary.filename().native())) &&
        flock(fd, LOCK_EX | LOCK_NB) == 0) {
        unlink(temporary.c_str());
    }
    close(fd);
}

void AtomicFile::Open(const fs::file_status& existing) {
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
    if (fs::exists(existing)) {
        m_failed = fchmod(fd, static_cast<mode_t>(existing.permissions())) != 0;
    }
}

// Named only now, and renamed while still open, so its lock covers it until it is in place.
bool AtomicFile::PutInPlace() {
    if (fsync(fileno(m_file)) != 0) {
        return false;
    }
    if (m_temporary.empty()) {
        const fs::path sibling = TemporarySibling(m_target);
        if (!GiveName(fileno(m_file), sibling)) {
            return false;
        }
        m_temporary = sibling;
    }
    std::error_code error;
    fs::rename(m_temporary, m_target, error);
    if (error) {
        return false;
    }
    m_temporary.clear();
    FlushFolder(m_target.parent_path());
    return true;
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
    Unregister(m_slot);
    m_slot = -1;
}

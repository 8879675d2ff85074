#include "storage/FileHelpers.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <sstream>
#endif

#include <fstream>

#include "storage/TextFile.h"
#include "tests/support/Printing.h"
#include "tests/support/ScratchFolder.h"

namespace fs = std::filesystem;

namespace {

// Names outside every code page fail on Windows wherever a path goes through a narrow string.
TEST(WriteBytesFile, ReplacesTheTargetWithExactlyTheBytesWhateverItsName) {
#ifndef _WIN32
    // As for a program started with standard input closed: the new file gets descriptor 0.
    close(STDIN_FILENO);
#endif
    ScratchFolder folder;
    for (const fs::path& name : {fs::path("result.tbin"), fs::path(std::string(255, 'n')),
                                 fs::path(u"結果 \U0001F600 ü.tbin")}) {
        const fs::path target = folder / name;
        WriteFileBytes(target, std::string(1000, 'x'));
        for (const std::string_view bytes : {"101\r\n11\r\n", "", "10\r\n"}) {
            EXPECT_EQ(WriteBytesFile(target, bytes), 1);
            EXPECT_EQ(ReadFileBytes(target), bytes);
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 1)
            << "no temporary file is left behind";
        EXPECT_EQ(ReadTextFile(target), std::optional<WideString>(u"10\r\n"));
        fs::remove(target);
    }
}

#ifndef _WIN32
// A replaced file keeps who may read and write it, a link to it stays a link, and another name
// of the old file keeps what it held.
TEST(WriteBytesFile, AReplacedFileKeepsItsModeAndItsLinks) {
    ScratchFolder folder;
    const fs::path target = folder / "real.tbin";
    WriteFileBytes(target, "1\r\n");
    fs::create_symlink("real.tbin", folder / "result.tbin");
    fs::create_hard_link(target, folder / "other name");
    EXPECT_EQ(WriteBytesFile(folder / "result.tbin", "11\r\n"), 1);
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder / "result.tbin")));
    EXPECT_EQ(ReadFileBytes(target), "11\r\n");
    EXPECT_EQ(ReadFileBytes(folder / "other name"), "1\r\n") << "a hard link keeps the old file";
    const fs::perms kept = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(target, kept);
    EXPECT_EQ(WriteBytesFile(target, "10\r\n"), 1);
    EXPECT_EQ(fs::status(target).permissions(), kept);
    EXPECT_EQ(ReadFileBytes(target), "10\r\n");
}
#endif

TEST(WriteBytesFile, FailsWithoutTouchingAnythingWhenTheTargetCannotBeReplaced) {
    ScratchFolder folder;
    fs::create_directory(folder / "a folder");
    WriteFileBytes(folder / "read-only", "kept");
    fs::permissions(folder / "read-only", fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(WriteBytesFile(folder / "missing" / "result.tbin", "1"), 0);
    EXPECT_FALSE(fs::exists(folder / "missing"));
    EXPECT_EQ(WriteBytesFile(folder / "a folder", "1"), 0);
    EXPECT_TRUE(fs::is_directory(folder / "a folder"));
    EXPECT_EQ(WriteBytesFile(folder / "read-only", "1"), 0) << "even for root";
    EXPECT_EQ(ReadFileBytes(folder / "read-only"), "kept");
#ifdef _WIN32
    // Held open by the C runtime, which never gives leave to delete, it cannot be renamed over.
    fs::permissions(folder / "read-only", fs::perms::owner_write, fs::perm_options::add);
    std::ifstream held(folder / "read-only");
    EXPECT_EQ(WriteBytesFile(folder / "read-only", "1"), 0);
    held.close();
#endif
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2);
}

#ifndef _WIN32
// Every write beyond two bytes fails while it lives, as on a full disk, whoever runs the test.
class FullDisk {
  public:
    FullDisk() {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit tiny{2, m_saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &tiny);
    }
    ~FullDisk() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

  private:
    rlimit m_saved{};
    void (*m_handler)(int);
};

std::ptrdiff_t OpenDescriptors() {
    return std::distance(fs::directory_iterator("/proc/self/fd"), {});
}

// Whether the disk fills at the last flush or at the first write, the old file stays whole and
// nothing is left behind, not even an open descriptor.
TEST(WriteBytesFile, AFullDiskLeavesTheOldFileWhole) {
    ScratchFolder folder;
    WriteFileBytes(folder / "settings", "1\r\n1");
    for (const std::string& bytes : {std::string("0\r\n0"), std::string(1 << 20, '0')}) {
        const std::ptrdiff_t before = OpenDescriptors();
        {
            const FullDisk full;
            EXPECT_EQ(WriteBytesFile(folder / "settings", bytes), 0);
        }
        EXPECT_EQ(OpenDescriptors(), before);
        EXPECT_EQ(ReadFileBytes(folder / "settings"), "1\r\n1");
        EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 1);
    }
}

#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// While set, a stream cannot be opened over a descriptor, as when memory runs out. The
// sanitizers put their own fdopen in the way.
bool g_refuseStreams = false;

}  // namespace

extern "C" std::FILE* fdopen(int descriptor, const char* mode) noexcept {
    using Open = std::FILE* (*)(int, const char*);
    static const auto real = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "fdopen"));
    return g_refuseStreams ? nullptr : real(descriptor, mode);
}

namespace {

TEST(WriteBytesFile, AStreamThatCannotBeOpenedLeavesNoDescriptorNorFile) {
    ScratchFolder folder;
    WriteFileBytes(folder / "result.tbin", "old");
    const std::ptrdiff_t before = OpenDescriptors();
    g_refuseStreams = true;
    EXPECT_EQ(WriteBytesFile(folder / "result.tbin", "new"), 0);
    g_refuseStreams = false;
    EXPECT_EQ(OpenDescriptors(), before);
    EXPECT_EQ(ReadFileBytes(folder / "result.tbin"), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 1);
}
#endif

// This process's start time, as /proc gives it: with its id, it names the process for good.
std::string StartTimeOfThisProcess() {
    std::ifstream file("/proc/self/stat");
    std::string stat;
    std::getline(file, stat);
    std::istringstream fields(stat.substr(stat.rfind(')') + 1));
    std::string field;
    for (int i = 0; i < 20; ++i) {
        fields >> field;
    }
    return field;
}

// An id no process has any more.
pid_t DeadProcessId() {
    const pid_t child = fork();
    if (child == 0) {
        _exit(0);
    }
    waitpid(child, nullptr, 0);
    return child;
}

// A temporary file that a killed writer left beside the target goes with the next write, at once
// when its name tells that its writer is gone; one that a writer still holds, one just made by a
// writer that still runs or by no known writer, and files of other programs stay.
TEST(WriteBytesFile, RemovesTheTemporaryFilesKilledWritersLeft) {
    ScratchFolder folder;
    const auto make = [&](const char* name, bool old) {
        WriteFileBytes(folder / name, "x");
        if (old) {
            fs::last_write_time(folder / name,
                                fs::file_time_type::clock::now() - std::chrono::hours(1));
        }
        return folder / name;
    };
    const fs::path abandoned = make(".Tallow-000000000001.tmp", true);
    const fs::path held = make(".Tallow-000000000002.tmp", true);
    const fs::path fresh = make(".Tallow-000000000003.tmp", false);
    const fs::path others = make(".Other-000000000004.tmp", true);
    const std::string self = std::to_string(getpid());
    const std::string deadWriter = ".Tallow-" + std::to_string(DeadProcessId()) + "-1-0000000a.tmp";
    const fs::path ofDeadWriter = make(deadWriter.c_str(), false);
    const std::string badStart = ".Tallow-" + std::to_string(DeadProcessId()) + "--0000000d.tmp";
    const fs::path ofNoKnownWriter = make(badStart.c_str(), false);
    const fs::path ofReusedId = make((".Tallow-" + self + "-1-0000000b.tmp").c_str(), false);
    const std::string liveWriter = ".Tallow-" + self + "-" + StartTimeOfThisProcess() + "-c.tmp";
    const fs::path ofLiveWriter = make(liveWriter.c_str(), false);
    const int holder = open(held.c_str(), O_RDONLY);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);
    EXPECT_EQ(WriteBytesFile(folder / "result.tbin", "1"), 1);
    close(holder);
    for (const fs::path& removed : {abandoned, ofDeadWriter, ofReusedId}) {
        EXPECT_FALSE(fs::exists(removed)) << removed;
    }
    for (const fs::path& kept : {held, fresh, others, ofLiveWriter, ofNoKnownWriter}) {
        EXPECT_TRUE(fs::exists(kept)) << kept;
    }
}
#endif

TEST(DeleteDirectoryTree, RemovesFoldersAndLinksToThemButNeverFollowsALink) {
    SKIP_WITHOUT_SYMBOLIC_LINKS();
    ScratchFolder folder;
    const fs::path outside = folder / "outside";
    fs::create_directories(outside / "kept");
    WriteFileBytes(outside / "kept.txt", "keep");
    const fs::path tree = folder / "tree";
    fs::create_directories(tree / "a" / "b");
    WriteFileBytes(tree / "top.txt", "1");
    WriteFileBytes(tree / "a" / "b" / "deep.txt", "2");
    fs::create_directory_symlink(outside, tree / "a" / "link");
    fs::create_directory_symlink(outside, folder / "link");
    WriteFileBytes(folder / "file", "x");

    EXPECT_EQ(DeleteDirectoryTree(folder / "missing"), 0);
    EXPECT_EQ(DeleteDirectoryTree(folder / "file"), 0);
    EXPECT_EQ(DeleteDirectoryTree(tree), 1);
    EXPECT_FALSE(fs::exists(tree));
    EXPECT_EQ(DeleteDirectoryTree(folder / "link"), 1);
    EXPECT_FALSE(fs::is_symlink(folder / "link"));
    EXPECT_TRUE(fs::exists(outside / "kept.txt"));
    EXPECT_TRUE(fs::exists(outside / "kept"));
}

}  // namespace

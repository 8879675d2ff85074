#include "storage/FileSource.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <functional>
#include <utility>

#ifdef _WIN32
#include <io.h>
#else
#include <dlfcn.h>
#endif

#include "tests/support/ScratchFolder.h"

namespace fs = std::filesystem;

namespace {

using Deletion = FileSource::Deletion;

// What befalls the input between its opening and its deletion, whether a run still finds it
// unchanged, and what deleting its name does: only the job read goes, never one written since.
// Windows keeps writers and movers off an input opened to be deleted, so there no change takes
// place and the input goes, read-only or not.
TEST(FileSource, DeletesOnlyTheFileItReadAndTellsAChangedOne) {
    const auto append = [](const fs::path& input) {
        std::ofstream file(input, std::ios::binary | std::ios::app);
        file << "9\r\n";
        return file.good();
    };
    const auto rewrite = [](const fs::path& input) {
        std::ofstream file(input, std::ios::binary | std::ios::trunc);
        file << "7";
        return file.good();
    };
    // As a copy that keeps its source's time does: only the change time tells.
    const auto rewriteKeepingTime = [](const fs::path& input) {
        std::error_code error;
        const fs::file_time_type time = fs::last_write_time(input, error);
        std::ofstream file(input, std::ios::binary | std::ios::trunc);
        file << "1\r\n2\r\n";
        file.close();
        fs::last_write_time(input, time, error);
        return file.good() && !error;
    };
    const auto replace = [](const fs::path& input) {
        WriteFileBytes(input.parent_path() / "new", "8\r\n");
        std::error_code error;
        fs::rename(input.parent_path() / "new", input, error);
        return !error;
    };
    const auto remove = [](const fs::path& input) {
        std::error_code error;
        return fs::remove(input, error);
    };
    const struct {
        const char* what;
        std::function<bool(const fs::path&)> change;
        bool unchanged;
        Deletion deletion;
        std::string_view left;
    } cases[] = {
        {"nothing", nullptr, true, Deletion::Deleted, ""},
        {"appended to", append, false, Deletion::Changed, "5\r\n6\r\n9\r\n"},
        {"rewritten in place", rewrite, false, Deletion::Changed, "7"},
        {"rewritten in place keeping its time", rewriteKeepingTime, true, Deletion::Changed,
         "1\r\n2\r\n"},
        {"another file moved onto it", replace, true, Deletion::Changed, "8\r\n"},
        {"removed", remove, true, Deletion::Deleted, ""},
    };
#ifdef _WIN32
    // With standard input closed, each input's stream gets descriptor 0, as valid as any other.
    _close(0);
#endif
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder;
        const fs::path input = folder / "Radix10Kan.tbin";
        WriteFileBytes(input, "5\r\n6\r\n");
#ifdef _WIN32
        // Read-only too: the attribute is taken off for the deletion.
        fs::permissions(input, fs::perms::owner_write, fs::perm_options::remove);
#endif
        std::optional<FileSource> source(std::in_place, input, FileSource::Use::ReadThenDelete);
        ASSERT_TRUE(source->IsOpen());
        char bytes[16];
        EXPECT_EQ(source->Read(bytes, sizeof bytes), std::optional<std::size_t>(6));
        const bool changed = c.change && c.change(input);
#ifdef _WIN32
        EXPECT_FALSE(changed) << "the open input is kept as it is";
        EXPECT_TRUE(source->Unchanged());
        EXPECT_EQ(source->DeleteName(input), Deletion::Deleted);
        source.reset();
        EXPECT_FALSE(fs::exists(input));
        continue;
#endif
        EXPECT_TRUE(changed || !c.change);
        EXPECT_EQ(source->Unchanged(), c.unchanged);
        EXPECT_EQ(source->DeleteName(input), c.deletion);
        EXPECT_EQ(fs::exists(input) ? ReadFileBytes(input) : "", c.left);
    }
}

#ifndef _WIN32
// The file a link names is read; only the link goes.
TEST(FileSource, DeletesALinkAndNotTheFileItNames) {
    ScratchFolder folder;
    WriteFileBytes(folder / "elsewhere", "5\r\n");
    fs::create_symlink(folder / "elsewhere", folder / "Radix10Kan.tbin");
    FileSource source(folder / "Radix10Kan.tbin", FileSource::Use::ReadThenDelete);
    EXPECT_EQ(source.DeleteName(folder / "Radix10Kan.tbin"), Deletion::Deleted);
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder / "Radix10Kan.tbin")));
    EXPECT_EQ(ReadFileBytes(folder / "elsewhere"), "5\r\n");
}
#endif

#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// While set, the next removal finds its name already gone, as when another program removed it
// just before.
bool g_nameGoesFirst = false;

}  // namespace

extern "C" int remove(const char* path) noexcept {
    using Remove = int (*)(const char*);
    static const auto real = reinterpret_cast<Remove>(dlsym(RTLD_NEXT, "remove"));
    if (std::exchange(g_nameGoesFirst, false) && real(path) == 0) {
        errno = ENOENT;
        return -1;
    }
    return real(path);
}

namespace {

// An input whose name went while it was being deleted is gone all the same, as one removed before.
TEST(FileSource, ANameGoneDuringTheDeletionCountsAsDeleted) {
    ScratchFolder folder;
    const fs::path input = folder / "Radix10Kan.tbin";
    WriteFileBytes(input, "5\r\n");
    FileSource source(input, FileSource::Use::ReadThenDelete);
    g_nameGoesFirst = true;
    EXPECT_EQ(source.DeleteName(input), Deletion::Deleted);
    EXPECT_FALSE(g_nameGoesFirst) << "the removal went another way";
    EXPECT_FALSE(fs::exists(input));
}
#endif

#ifdef __linux__
// A read that fails is no end of the file. The process's own memory, read at address 0, fails.
TEST(FileSource, AFailedReadIsNoEnd) {
    FileSource source("/proc/self/mem");
    ASSERT_TRUE(source.IsOpen());
    char bytes[16];
    EXPECT_EQ(source.Read(bytes, sizeof bytes), std::nullopt);
}
#endif

}  // namespace

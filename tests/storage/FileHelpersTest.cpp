#include "storage/FileHelpers.h"

#include <gtest/gtest.h>

#include "storage/TextFile.h"
#include "tests/support/Printing.h"
#include "tests/support/ScratchFolder.h"

namespace fs = std::filesystem;

namespace {

TEST(FileHelpers, ExistenceTestsTellFilesFromFolders) {
    ScratchFolder folder;
    WriteFileBytes(folder / "file", "x");
    EXPECT_EQ(DirectoryExists(folder.path()), 1);
    EXPECT_EQ(FileExists(folder.path()), 0);
    EXPECT_EQ(DirectoryExists(folder / "file"), 0);
    EXPECT_EQ(FileExists(folder / "file"), 1);
    EXPECT_EQ(DirectoryExists(folder / "missing"), 0);
    EXPECT_EQ(FileExists(folder / "missing"), 0);
}

TEST(WriteBytesFile, ReplacesTheTargetWithExactlyTheBytes) {
    ScratchFolder folder;
    const fs::path target = folder / "result.tbin";
    WriteFileBytes(target, std::string(1000, 'x'));
    for (const std::string_view bytes : {"101\r\n11\r\n", ""}) {
        EXPECT_EQ(WriteBytesFile(target, bytes), 1);
        EXPECT_EQ(ReadFileBytes(target), bytes);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1)
        << "no temporary file is left behind";
}

TEST(WriteBytesFile, TakesNamesUpToTheFileSystemsLongest) {
    ScratchFolder folder;
    const fs::path target = folder / std::string(255, 'n');
    EXPECT_EQ(WriteBytesFile(target, "1\r\n"), 1);
    EXPECT_EQ(WriteBytesFile(target, "10\r\n"), 1);
    EXPECT_EQ(ReadFileBytes(target), "10\r\n");
}

// On Windows such names fail wherever a path goes through a narrow string.
TEST(WriteBytesFile, TakesNamesOutsideEveryCodePage) {
    ScratchFolder folder;
    const fs::path name = folder / fs::path(u"結果 \U0001F600 ü.tbin");
    EXPECT_EQ(WriteBytesFile(name, "1\r\n"), 1);
    EXPECT_EQ(WriteBytesFile(name, "10\r\n"), 1);
    EXPECT_EQ(ReadTextFile(name), std::optional<WideString>(u"10\r\n"));
    EXPECT_TRUE(DeleteFile(name));
    EXPECT_FALSE(fs::exists(name));
}

TEST(WriteBytesFile, KeepsWhatTheUserSetOnTheTarget) {
    SKIP_WITHOUT_SYMBOLIC_LINKS();
    ScratchFolder folder;
    fs::create_directory(folder / "elsewhere");
    const fs::path real = folder / "elsewhere" / "result.tbin";
    WriteFileBytes(real, "old");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(fs::path("elsewhere") / "result.tbin", folder / "link");

    EXPECT_EQ(WriteBytesFile(folder / "link", "new"), 1);
    EXPECT_TRUE(fs::is_symlink(folder / "link")) << "the link is followed, not replaced";
    EXPECT_EQ(ReadFileBytes(real), "new");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

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
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2);
}

TEST(DeleteDirectoryTree, RemovesNestedTreesButNeverFollowsLinks) {
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

    EXPECT_EQ(DeleteDirectoryTree(tree), 1);
    EXPECT_FALSE(fs::exists(tree));
    EXPECT_TRUE(fs::exists(outside / "kept.txt"));
    EXPECT_TRUE(fs::exists(outside / "kept"));
}

TEST(DeleteDirectoryTree, TakesOnlyFoldersAndRemovesALinkToOneByItself) {
    SKIP_WITHOUT_SYMBOLIC_LINKS();
    ScratchFolder folder;
    fs::create_directory(folder / "empty");
    WriteFileBytes(folder / "file", "x");
    fs::create_directory_symlink(folder / "empty", folder / "link");
    EXPECT_EQ(DeleteDirectoryTree(folder / "missing"), 0);
    EXPECT_EQ(DeleteDirectoryTree(folder / "file"), 0);
    EXPECT_EQ(DeleteDirectoryTree(folder / "link"), 1);
    EXPECT_FALSE(fs::is_symlink(folder / "link"));
    EXPECT_TRUE(fs::exists(folder / "empty"));
    EXPECT_EQ(DeleteDirectoryTree(folder / "empty"), 1);
    EXPECT_FALSE(fs::exists(folder / "empty"));
}

}  // namespace

#include "storage/WorkingFolders.h"

#include <gtest/gtest.h>

#include "tests/support/ScratchFolder.h"

namespace fs = std::filesystem;

namespace {

TEST(WorkingFolders, CreatesTheTreeBelowAnExistingMakerFolderOnly) {
    ScratchFolder documents;
    CreateWorkingFolders(documents.path());
    EXPECT_FALSE(fs::exists(documents / "Merrow"));
    fs::create_directory(documents / "Merrow");
    const WorkingFolders folders = CreateWorkingFolders(documents.path());
    EXPECT_EQ(folders.result, documents / "Merrow/TallowKit/Result");
    EXPECT_EQ(folders.temp, documents / "Merrow/TallowKit/temp");
    EXPECT_TRUE(fs::is_directory(folders.result));
    EXPECT_TRUE(fs::is_directory(folders.temp));
    EXPECT_FALSE(fs::exists(AutoFileFolder(documents.path())));

    WriteFileBytes(folders.temp / "Radix2A.tmp", "1\r\n1");
    CreateWorkingFolders(documents.path());
    EXPECT_EQ(ReadFileBytes(folders.temp / "Radix2A.tmp"), "1\r\n1");
}

}  // namespace

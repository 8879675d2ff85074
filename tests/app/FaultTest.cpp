// Faults around the automatic run, each showing that nothing is lost.
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>

#include "tests/app/ProgramFixture.h"

namespace fs = std::filesystem;

namespace {

using namespace std::string_view_literals;
using FaultTest = ProgramTest;

std::size_t FilesIn(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST_F(FaultTest, AFullDiskKeepsTheOldResultWholeAndTheInput) {
    fs::create_directories(Result().parent_path());
    WriteFileBytes(Result(), "old result\r\n");
    WriteFileBytes(Input(), "5\r\n3\r\n");
    EXPECT_EQ(RunProgram({.fileSizeLimit = 4}).status, 7);
    EXPECT_EQ(ReadFileBytes(Result()), "old result\r\n");
    EXPECT_EQ(ReadFileBytes(Input()), "5\r\n3\r\n");
    EXPECT_EQ(FilesIn(Result().parent_path()), 1U) << "no temporary file is left behind";
}

TEST_F(FaultTest, RefusesInputThatIsNotNumbers) {
    const struct {
        const char* what;
        std::string_view bytes;
    } cases[] = {
        {"a zero byte", "5\0\r\n"sv},
        {"an unpaired surrogate",
         "\xFF\xFE"
         "5\0\x00\xD8\r\0\n\0"sv},
        {"malformed UTF-8",
         "\xEF\xBB\xBF"
         "5\xC0\r\n"sv},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFileBytes(Input(), c.bytes);
        EXPECT_EQ(RunProgram().status, 4);
        EXPECT_EQ(ReadFileBytes(Input()), c.bytes);
        EXPECT_FALSE(fs::exists(Result()));
    }
}

TEST_F(FaultTest, AnInputReplacedByAFolderCountsAsMissing) {
    fs::create_directory(Input());
    EXPECT_EQ(RunProgram().status, 2);
    EXPECT_TRUE(fs::is_directory(Input()));
}

TEST_F(FaultTest, AnInputLinkedFromOutsideIsReadButOnlyTheLinkIsDeleted) {
    const fs::path outside = home / "outside.txt";
    WriteFileBytes(outside, "9\r\n");
    fs::create_symlink(outside, Input());
    EXPECT_EQ(RunProgram().status, 0);
    EXPECT_EQ(ReadFileBytes(Result()), "1001\r\n");
    EXPECT_FALSE(fs::exists(fs::symlink_status(Input())));
    EXPECT_EQ(ReadFileBytes(outside), "9\r\n");
}

// Makes the input impossible to delete while it lives: immutable where the file system allows it,
// which holds even for root, or else, for anyone but root, in a folder without write permission.
class UndeletableInput {
  public:
    explicit UndeletableInput(const fs::path& input) : m_input(input) {
        if (Chattr("+i")) {
            m_immutable = true;
        } else if (geteuid() != 0) {
            fs::permissions(input.parent_path(), fs::perms::owner_write, fs::perm_options::remove);
            m_readOnlyFolder = true;
        }
    }
    ~UndeletableInput() {
        if (m_immutable) {
            Chattr("-i");
        }
        if (m_readOnlyFolder) {
            fs::permissions(m_input.parent_path(), fs::perms::owner_write, fs::perm_options::add);
        }
    }
    bool Holds() const { return m_immutable || m_readOnlyFolder; }

  private:
    bool Chattr(const char* flag) const {
        const std::string command =
            std::string("chattr ") + flag + " '" + m_input.string() + "' 2>/dev/null";
        return std::system(command.c_str()) == 0;
    }

    fs::path m_input;
    bool m_immutable = false;
    bool m_readOnlyFolder = false;
};

TEST_F(FaultTest, AnInputThatCannotBeDeletedIsReportedAfterTheResultIsWritten) {
    WriteFileBytes(Input(), "6\r\n");
    const UndeletableInput undeletable(Input());
    if (!undeletable.Holds()) {
        GTEST_SKIP() << "root on a file system without the immutable attribute";
    }
    EXPECT_EQ(RunProgram().status, 8);
    EXPECT_EQ(ReadFileBytes(Result()), "110\r\n");
    EXPECT_EQ(ReadFileBytes(Input()), "6\r\n");
}

TEST_F(FaultTest, AnInputOfThreeHundredMegabytesIsConverted) {
    std::mt19937 random(7);
    std::uniform_int_distribution<std::uint32_t> value(0, 2147483647);
    std::ofstream input(Input(), std::ios::binary);
    std::uint64_t lines = 0;
    std::uint32_t last = 0;
    for (std::uint64_t written = 0; written < 300'000'000; ++lines) {
        last = value(random);
        const std::string line = std::to_string(last) + "\n";
        input << line;
        written += line.size();
    }
    input.close();
    EXPECT_EQ(RunProgram().status, 0);
    EXPECT_FALSE(fs::exists(Input()));
    std::ifstream result(Result(), std::ios::binary);
    std::uint64_t resultLines = 0;
    std::string line;
    std::string previous;
    while (std::getline(result, line)) {
        ++resultLines;
        previous = std::move(line);
    }
    EXPECT_EQ(resultLines, lines);
    EXPECT_EQ(std::stoul(previous.substr(0, previous.size() - 1), nullptr, 2), last);
}

}  // namespace

// Faults around the automatic run, each showing that nothing is lost.
#include <unistd.h>

#include <cstdlib>

#include "tests/app/ProgramFixture.h"

namespace fs = std::filesystem;

namespace {

using FaultTest = ProgramTest;

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

}  // namespace

// Faults around the settings file and the AutoFile folder, each showing that nothing is lost.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include "tests/support/DialogFixture.h"

namespace fs = std::filesystem;

namespace {

class PreferenceFaultTest : public DialogTest {
  protected:
    PreferenceFaultTest() { fs::create_directories(ProductFolder() / "temp"); }
    fs::path SettingsFile() const { return ProductFolder() / "temp" / "Radix2A.tmp"; }
};

// Every write beyond a few bytes fails while it lives, as on a full disk, whoever runs the test.
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

TEST_F(PreferenceFaultTest, AFullDiskAtExitKeepsTheOldSettingsWhole) {
    WriteFileBytes(SettingsFile(), "1\r\n1");
    Start();
    {
        FullDisk full;
        Click(ControlId::Exit);
    }
    EXPECT_EQ(toolkit.EndResult(), IDOK);
    EXPECT_EQ(ReadFileBytes(SettingsFile()), "1\r\n1");
    EXPECT_EQ(std::distance(fs::directory_iterator(SettingsFile().parent_path()),
                            fs::directory_iterator()),
              1);
}

TEST_F(PreferenceFaultTest, ASettingsFifoNeverBlocksTheStart) {
    ASSERT_EQ(mkfifo(SettingsFile().c_str(), 0600), 0);
    Start();
    EXPECT_FALSE(toolkit.EndResult().has_value());
    EXPECT_FALSE(toolkit.State(ControlId::AutoRun).checked);
}

}  // namespace

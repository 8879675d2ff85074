#include <gtest/gtest.h>

#include "jobs/Messages.h"
#include "process/ProcessState.h"
#include "tests/support/DialogFixture.h"
#include "tests/support/Printing.h"

namespace fs = std::filesystem;

namespace {

class PreferencesTest : public DialogTest {
  protected:
    fs::path SettingsFile() const { return ProductFolder() / "temp" / "Radix2A.tmp"; }
    fs::path AutoFileFolder() const { return ProductFolder() / "AutoFile"; }
    void WriteSettings(std::string_view bytes) {
        fs::create_directories(ProductFolder() / "temp");
        WriteFileBytes(SettingsFile(), bytes);
    }
    // What the next start of the program finds.
    void Restart() {
        ResetProcessState();
        toolkit.Reset();
        Start();
    }
};

TEST_F(PreferencesTest, ExitWritesTheFourBytesOfTheBoxes) {
    const struct {
        const char* what;
        std::vector<ControlId> clicks;
        std::string_view bytes;
    } cases[] = {
        {"nothing ticked", {}, "0\r\n0"},
        {"automatic mode ticked", {ControlId::AutoRun}, "1\r\n0"},
        {"both ticked", {ControlId::AutoRun, ControlId::ShowMessages}, "1\r\n1"},
        {"messages ticked, then hidden",
         {ControlId::AutoRun, ControlId::ShowMessages, ControlId::AutoRun},
         "0\r\n0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(AutoFileFolder());
        Restart();
        for (const ControlId control : c.clicks) {
            Click(control);
        }
        Click(ControlId::Exit);
        EXPECT_EQ(ReadFileBytes(SettingsFile()), c.bytes);
        EXPECT_EQ(toolkit.EndResult(), IDOK);
    }
}

TEST_F(PreferencesTest, SettingsSetTheBoxesBeforeTheInteractiveStartClearsThem) {
    const struct {
        std::optional<std::string_view> file;
        bool autoRunTicked;
        bool messagesVisible;
        bool messagesTicked;
    } cases[] = {
        {std::nullopt, false, true, false}, {"1\r\n1", true, true, true},
        {"1\r\n0", true, true, false},      {"0\r\n1", false, false, false},
        {"1\n0\n", true, true, false},      {"", true, true, true},
        {"10\r\n1", true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file.value_or("no file")));
        ResetProcessState();
        FakeToolkit fresh(Documents());
        CTallowDlg freshDialog(fresh);
        fs::remove(SettingsFile());
        if (c.file) {
            WriteSettings(*c.file);
        }
        g_tempDir = ProductFolder() / "temp";
        freshDialog.ApplySettingsFile();
        EXPECT_EQ(fresh.State(ControlId::AutoRun).checked, c.autoRunTicked);
        EXPECT_EQ(fresh.State(ControlId::ShowMessages).visible, c.messagesVisible);
        EXPECT_EQ(fresh.State(ControlId::ShowMessages).checked, c.messagesTicked);
    }
}

TEST_F(PreferencesTest, AnInteractiveStartShowsTheAutomaticModeOffWhateverTheFileSays) {
    WriteSettings("1\r\n1");
    Start();
    EXPECT_FALSE(toolkit.State(ControlId::AutoRun).checked);
    EXPECT_FALSE(toolkit.State(ControlId::ShowMessages).visible);
    Click(ControlId::AutoRun);
    EXPECT_TRUE(toolkit.State(ControlId::ShowMessages).visible);
    EXPECT_TRUE(toolkit.State(ControlId::ShowMessages).checked) << "the stored tick returns";
}

TEST_F(PreferencesTest, TickingArmsTheModeAndExitKeepsTheFolder) {
    Start();
    Click(ControlId::AutoRun);
    ASSERT_EQ(toolkit.Messages().size(), 1U);
    EXPECT_EQ(toolkit.Messages()[0].text, message::kAutoFileFolderCreated);
    EXPECT_EQ(toolkit.Messages()[0].icon, MessageIcon::Information);
    EXPECT_TRUE(fs::is_directory(AutoFileFolder()));
    WriteFileBytes(AutoFileFolder() / "Radix10Kan.tbin", "5\r\n");
    Click(ControlId::Exit);
    EXPECT_TRUE(fs::exists(AutoFileFolder() / "Radix10Kan.tbin"));
    EXPECT_EQ(ReadFileBytes(SettingsFile()).substr(0, 3), "1\r\n");
}

TEST_F(PreferencesTest, TickUntickTickShowsTheFolderIsThereAndStillArms) {
    Start();
    Click(ControlId::AutoRun);
    Click(ControlId::AutoRun);
    EXPECT_FALSE(toolkit.State(ControlId::ShowMessages).visible);
    EXPECT_EQ(g_autoRunArmed, 0);
    Click(ControlId::AutoRun);
    ASSERT_EQ(toolkit.Messages().size(), 2U);
    EXPECT_EQ(toolkit.Messages()[1].text, message::kAutoFileFolderNotCreated);
    EXPECT_EQ(toolkit.Messages()[1].icon, MessageIcon::Error);
    EXPECT_EQ(g_autoRunArmed, 1);
    EXPECT_TRUE(toolkit.State(ControlId::ShowMessages).visible);
}

TEST_F(PreferencesTest, ExitRemovesTheFolderWhenTheModeIsNotArmed) {
    Start();
    Click(ControlId::AutoRun);
    Click(ControlId::AutoRun);
    WriteFileBytes(AutoFileFolder() / "Radix10Kan.tbin", "5\r\n");
    Click(ControlId::Exit);
    EXPECT_FALSE(fs::exists(AutoFileFolder()));
    EXPECT_EQ(ReadFileBytes(SettingsFile()), "0\r\n0");
}

TEST_F(PreferencesTest, ATickWithoutAClickIsSavedButDoesNotArm) {
    Start();
    Click(ControlId::AutoRun);
    Click(ControlId::AutoRun);
    toolkit.SetChecked(ControlId::AutoRun, true);
    Click(ControlId::Exit);
    EXPECT_EQ(ReadFileBytes(SettingsFile()), "1\r\n0");
    EXPECT_FALSE(fs::exists(AutoFileFolder()));
}

TEST_F(PreferencesTest, WithoutTheMakerFolderNothingIsCreatedAndExitStillEnds) {
    fs::remove(Documents() / "Merrow");
    Start();
    Click(ControlId::AutoRun);
    ASSERT_EQ(toolkit.Messages().size(), 1U);
    EXPECT_EQ(toolkit.Messages()[0].text, message::kAutoFileFolderNotCreated);
    EXPECT_EQ(g_autoRunArmed, 1);
    Click(ControlId::Exit);
    EXPECT_EQ(toolkit.EndResult(), IDOK);
    EXPECT_FALSE(fs::exists(Documents() / "Merrow"));
}

TEST_F(PreferencesTest, ExitRecreatesATempFolderDeletedWhileRunning) {
    Start();
    fs::remove_all(ProductFolder() / "temp");
    Click(ControlId::Exit);
    EXPECT_EQ(ReadFileBytes(SettingsFile()), "0\r\n0");
}

}  // namespace

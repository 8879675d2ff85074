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

// A file too large to be settings counts as none.
TEST_F(PreferencesTest, SettingsSetTheBoxesBeforeTheInteractiveStartClearsThem) {
    const struct {
        std::optional<std::string> file;
        bool autoRunTicked;
        bool messagesVisible;
        bool messagesTicked;
    } cases[] = {
        {std::nullopt, false, true, false}, {"1\r\n1", true, true, true},
        {"1\r\n0", true, true, false},      {"0\r\n1", false, false, false},
        {"1\n0\n", true, true, false},      {"", true, true, true},
        {"10\r\n1", true, true, true},      {std::string(3'000'000, '0'), true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.value_or("no file").substr(0, 10));
        ResetProcessState();
        toolkit.Reset();
        fs::remove(SettingsFile());
        if (c.file) {
            WriteSettings(*c.file);
        }
        g_tempDir = ProductFolder() / "temp";
        dialog.ApplySettingsFile();
        EXPECT_EQ(toolkit.State(ControlId::AutoRun).checked, c.autoRunTicked);
        EXPECT_EQ(toolkit.State(ControlId::ShowMessages).visible, c.messagesVisible);
        EXPECT_EQ(toolkit.State(ControlId::ShowMessages).checked, c.messagesTicked);
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

// Exit writes the four bytes of the boxes. It removes the AutoFile folder only when a click in
// this window made it and a later one unticked it, and never with an input waiting in it.
TEST_F(PreferencesTest, TickingArmsTheModeAndExitDisarmsOnlyWhatThisWindowArmed) {
    using enum ControlId;
    const Event created = MessageEvent(message::kAutoFileFolderCreated, MessageIcon::Information);
    const Event notCreated = MessageEvent(message::kAutoFileFolderNotCreated, MessageIcon::Error);
    const Event inputWaiting = MessageEvent(message::kAutoInputWaiting, MessageIcon::Information);
    const auto failed = [](std::u16string_view text, const fs::path& folder) {
        return MessageEvent(std::u16string(text) + folder.u16string(), MessageIcon::Error);
    };
    const Event noMakerFolder = failed(message::kMakerFolderMissing, Documents() / "Merrow");
    const Event notWritable = failed(message::kAutoFileFolderFailed, ProductFolder());
    enum Input { None, ArmedElsewhere, DroppedBeforeExit };
    const struct {
        const char* what;
        std::vector<ControlId> clicks;
        std::vector<Event> messages;
        bool kept;
        std::string_view settings;
        Input input = None;
        bool makerFolder = true;
        bool tickWithoutClick = false;
        bool productFolderIsAFile = false;
    } cases[] = {
        {"nothing ticked", {}, {}, false, "0\r\n0"},
        {"armed by a caller, input waiting", {}, {}, true, "0\r\n0", ArmedElsewhere},
        {"ticked", {AutoRun}, {created}, true, "1\r\n0"},
        {"ticked, input dropped", {AutoRun}, {created}, true, "1\r\n0", DroppedBeforeExit},
        {"both ticked", {AutoRun, ShowMessages}, {created}, true, "1\r\n1"},
        {"ticked, unticked", {AutoRun, AutoRun}, {created}, false, "0\r\n0"},
        {"ticked, unticked, input dropped",
         {AutoRun, AutoRun},
         {created, inputWaiting},
         true,
         "0\r\n0",
         DroppedBeforeExit},
        {"armed elsewhere, ticked, unticked",
         {AutoRun, AutoRun},
         {notCreated},
         true,
         "0\r\n0",
         ArmedElsewhere},
        {"messages hidden", {AutoRun, ShowMessages, AutoRun}, {created}, false, "0\r\n0"},
        {"ticked again", {AutoRun, AutoRun, AutoRun}, {created, notCreated}, true, "1\r\n0"},
        {"ticked without a click",
         {AutoRun, AutoRun},
         {created},
         false,
         "1\r\n0",
         None,
         true,
         true},
        {"no maker folder", {AutoRun}, {noMakerFolder}, false, "", None, false},
        {"no folder can be made", {AutoRun}, {notWritable}, false, "", None, true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(Documents() / "Merrow");
        if (c.makerFolder) {
            fs::create_directory(Documents() / "Merrow");
        }
        if (c.productFolderIsAFile) {
            WriteFileBytes(ProductFolder(), "");
        }
        Restart();
        const fs::path input = AutoFileFolder() / "Radix10Kan.tbin";
        if (c.input == ArmedElsewhere) {
            fs::create_directories(AutoFileFolder());
            WriteFileBytes(input, "5\r\n");
        }
        for (const ControlId control : c.clicks) {
            Click(control);
        }
        const bool ticked = std::count(c.clicks.begin(), c.clicks.end(), AutoRun) % 2 == 1;
        EXPECT_EQ(g_autoRunArmed, ticked ? 1 : 0);
        EXPECT_EQ(toolkit.State(ShowMessages).visible, ticked);
        if (c.tickWithoutClick) {
            toolkit.SetChecked(AutoRun, true);
        }
        if (c.input == DroppedBeforeExit) {
            WriteFileBytes(input, "5\r\n");
        }
        Click(Exit);
        EXPECT_EQ(toolkit.Events(Event::Kind::Message), c.messages);
        EXPECT_TRUE(toolkit.Ended());
        EXPECT_EQ(fs::exists(AutoFileFolder()), c.kept);
        EXPECT_EQ(fs::exists(input), c.input != None);
        EXPECT_EQ(ReadFileBytes(SettingsFile()), c.settings);
        EXPECT_EQ(fs::exists(Documents() / "Merrow"), c.makerFolder) << "never created";
    }
}

// Documents may have moved while the window was open: Exit saves the settings where it is now.
TEST_F(PreferencesTest, ExitSavesTheSettingsWhereDocumentsIsNow) {
    const ScratchFolder moved;
    fs::create_directories(moved / "Merrow" / "TallowKit" / "temp");
    toolkit.MoveDocuments(moved.path());
    Click(ControlId::Exit);
    EXPECT_EQ(ReadFileBytes(moved / "Merrow" / "TallowKit" / "temp" / "Radix2A.tmp"), "0\r\n0");
    EXPECT_FALSE(fs::exists(SettingsFile()));
}

}  // namespace

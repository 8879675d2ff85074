// The real Win32 window, created from the program's own resource, driven through its controls.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <vector>

#include "tests/support/ClipboardText.h"
#include "tests/support/Printing.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/TestBytes.h"
#include "ui/ControlTable.h"
#include "ui/TallowDlg.h"
#include "ui/win32/ResourceIds.h"
#include "ui/win32/WideText.h"
#include "ui/win32/Win32Toolkit.h"
#include "ui/win32/Win32Window.h"

namespace fs = std::filesystem;

namespace {

// The real toolkit, with Documents in a scratch folder, the save dialog answered and no message
// box: an unexpected modal box would otherwise hang the test.
class TestToolkit : public Win32Toolkit {
  public:
    TestToolkit(Win32Window& window, fs::path documents)
        : Win32Toolkit(window), m_documents(std::move(documents)) {}
    fs::path DocumentsFolder() override { return m_documents; }
    std::optional<fs::path> AskSavePath(const SaveDialogOptions&) override { return savePath; }
    void ShowMessage(std::u16string_view, MessageIcon) override {}

    fs::path savePath;

  private:
    fs::path m_documents;
};

class Win32WindowTest : public testing::Test {
  protected:
    Win32WindowTest() { EXPECT_TRUE(window.Start(dialog)); }

    HWND Item(ControlId id) const { return window.Control(static_cast<int>(id)); }
    std::u16string Text(HWND control) const {
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
        return FromWide(text);
    }
    void Click(ControlId id) { SendMessageW(Item(id), BM_CLICK, 0, 0); }
    // Runs the window's messages, through its own filter, until done() holds.
    bool PumpUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                window.ProcessMessage(message);
            }
            Sleep(1);
        }
        return true;
    }
    void PumpAWhile() {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
        PumpUntil([&] { return std::chrono::steady_clock::now() > until; });
    }

    ScratchFolder folder;
    Win32Window window{GetModuleHandleW(nullptr)};
    TestToolkit toolkit{window, folder.path()};
    CTallowDlg dialog{toolkit};
};

bool ShowsItsText(ControlKind kind) {
    return kind == ControlKind::Button || kind == ControlKind::DefaultButton ||
           kind == ControlKind::CheckBox || kind == ControlKind::Label;
}

TEST_F(Win32WindowTest, HoldsEveryControlOfTheResourceInOrderWithItsText) {
    const std::vector<ControlId> hidden{
        ControlId::ShowMessages, ControlId::ConvertFile, ControlId::Cancel, ControlId::Save,
        ControlId::ProgressText, ControlId::Progress,    ControlId::Pause};
    HWND child = GetWindow(window.Handle(), GW_CHILD);
    for (const ControlTemplate& expected : MainDialogControls()) {
        SCOPED_TRACE(std::string(expected.objectName));
        ASSERT_NE(child, nullptr);
        const int id = expected.id ? static_cast<int>(*expected.id) : IDC_STATIC;
        EXPECT_EQ(static_cast<short>(GetDlgCtrlID(child)), id);
        if (ShowsItsText(expected.kind)) {
            EXPECT_EQ(Text(child), expected.text);
        }
        if (expected.id == ControlId::BrowseFile) {
            child = GetWindow(child, GW_HWNDNEXT);
            EXPECT_EQ(GetDlgCtrlID(child), IDC_BROWSE_BUTTON);
        }
        const bool shouldShow =
            !expected.id || std::find(hidden.begin(), hidden.end(), *expected.id) == hidden.end();
        EXPECT_EQ(IsWindowVisible(child) != 0, shouldShow);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr);
    EXPECT_EQ(Text(window.Handle()), u"Tallow Ver2");
    EXPECT_EQ(GetFocus(), Item(ControlId::Exit));
}

TEST_F(Win32WindowTest, EnterAndEscapeNeverCloseTheWindow) {
    const struct {
        ControlId focused;
        WPARAM key;
    } presses[] = {{ControlId::Exit, VK_RETURN},
                   {ControlId::Exit, VK_ESCAPE},
                   {ControlId::Decimal, VK_ESCAPE},
                   {ControlId::Convert, VK_TAB}};
    for (const auto& press : presses) {
        SetFocus(Item(press.focused));
        PostMessageW(Item(press.focused), WM_KEYDOWN, press.key, 0);
        PumpAWhile();
        EXPECT_FALSE(window.Ended()) << press.key;
        EXPECT_EQ(GetFocus(), Item(press.focused)) << "the focus stays where it was";
    }
    SetFocus(Item(ControlId::Decimal));
    PostMessageW(Item(ControlId::Decimal), WM_CHAR, L'7', 0);
    PumpAWhile();
    EXPECT_EQ(Text(Item(ControlId::Decimal)), u"7") << "typing still reaches the field";
}

TEST_F(Win32WindowTest, ConvertsANumberAndAFileOfAThousandAndSavesTheResult) {
    SetWindowTextW(Item(ControlId::Decimal), L"2147483647");
    Click(ControlId::Convert);
    EXPECT_EQ(Text(Item(ControlId::Binary)), std::u16string(31, u'1'));

    const std::string list = Repeated("6\r\n", 1000);
    const std::string result = Repeated("110\r\n", 1000);
    const std::u16string expected(result.begin(), result.end());
    WriteFileBytes(folder / "numbers.txt", list);
    SetWindowTextW(Item(ControlId::BrowseFile), (folder / "numbers.txt").c_str());
    Click(ControlId::LoadFile);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(Item(ControlId::ConvertFile)) != 0; }));
    Click(ControlId::ConvertFile);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(Item(ControlId::Save)) != 0; }));
    EXPECT_EQ(Text(Item(ControlId::Result)), expected);
    EXPECT_FALSE(IsWindowVisible(Item(ControlId::Progress)));

    toolkit.savePath = folder / "saved.tbin";
    Click(ControlId::Save);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowEnabled(Item(ControlId::Save)) != 0; }));
    EXPECT_EQ(ReadFileBytes(folder / "saved.tbin"), result);
    EXPECT_FALSE(window.Ended());
}

TEST_F(Win32WindowTest, TheResultBoxCopiesItAllAndSelectsWhatIsInSightAtItsEnd) {
    const std::string digits = CountingList(100000);
    // As a run hands its result over: one byte per character.
    toolkit.SetText(ControlId::Result,
                    SharedText::FromAscii(std::make_shared<const ByteString>(digits)));
    const std::u16string text(digits.begin(), digits.end());
    HWND box = Item(ControlId::Result);
    EXPECT_EQ(Text(box), text);
    SendMessageW(box, EM_SETSEL, 0, -1);
    SendMessageW(box, WM_COPY, 0, 0);
    EXPECT_EQ(ClipboardText(), text);

    // At the end, a drag along the top line past its right end selects just that line.
    SendMessageW(box, WM_VSCROLL, SB_BOTTOM, 0);
    SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0, 1));
    SendMessageW(box, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(3000, 1));
    SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(3000, 1));
    SendMessageW(box, WM_COPY, 0, 0);
    const std::u16string line = ClipboardText();
    ASSERT_EQ(line.size(), 5u) << "one line of the last hundred";
    EXPECT_GE(line, u"99900");
}

TEST_F(Win32WindowTest, ExitEndsTheDialog) {
    Click(ControlId::Exit);
    EXPECT_TRUE(window.Ended());
    EXPECT_EQ(window.Run(), IDOK);
}

}  // namespace

// The real Win32 window, created from the program's own resource, driven through its controls.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "tests/support/Printing.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/TestBytes.h"
#include "ui/TallowDlg.h"
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
    ScratchFolder folder;
    Win32Window window{GetModuleHandleW(nullptr)};
    TestToolkit toolkit{window, folder.path()};
    CTallowDlg dialog{toolkit};
};

// Neither Enter nor Escape closes the window, nor does Tab move the focus; only Exit closes it.
TEST_F(Win32WindowTest, ConvertsANumberAndAFileOfAThousandSavesTheResultAndExits) {
    EXPECT_EQ(Text(window.Handle()), u"Tallow Ver2");
    for (const WPARAM key : {VK_RETURN, VK_ESCAPE, VK_TAB}) {
        PostMessageW(Item(ControlId::Exit), WM_KEYDOWN, key, 0);
    }
    ASSERT_TRUE(PumpUntil([] { return HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0; }));
    EXPECT_EQ(GetFocus(), Item(ControlId::Exit));
    EXPECT_FALSE(window.Ended());
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
    Click(ControlId::Exit);
    EXPECT_TRUE(window.Ended());
    EXPECT_EQ(window.Run(), IDOK);
}

}  // namespace

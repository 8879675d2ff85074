// The real Win32 window, created from the program's own resource, driven through its controls.
#include <windows.h>

#include <ole2.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <thread>

#include "jobs/TallowDlg.h"
#include "tests/support/ClipboardText.h"
#include "tests/support/Printing.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/TestBytes.h"
#include "tests/support/WorkerJoin.h"
#include "tests/ui/AccessibilityRules.h"
#include "tests/ui/KeyRules.h"
#include "tests/ui/ViewRules.h"
#include "tests/ui/win32/Win32WindowFixture.h"
#include "ui/ControlTable.h"
#include "ui/win32/ResourceIds.h"
#include "ui/win32/WideText.h"
#include "ui/win32/Win32Toolkit.h"
#include "ui/win32/Win32Window.h"

namespace fs = std::filesystem;

namespace {

TEST_F(Win32WindowTest, StartsTitledWithTheFocusOnExit) {
    EXPECT_EQ(Text(window.Handle()), u"Tallow Ver2");
    EXPECT_EQ(GetFocus(), Item(ControlId::Exit));
}

// A modal box as another thread saw it, just before closing it.
struct SeenBox {
    HWND owner = nullptr;
    bool foreground = false;
    RECT place{};
};

// Runs show, which opens a modal box over mainWindow and returns once the box is closed.
SeenBox WhileABoxIsOpen(HWND mainWindow, const std::function<void()>& show) {
    SeenBox seen;
    std::thread watcher([&] {
        HWND box = nullptr;
        for (int tries = 0; box == nullptr && tries < 400; ++tries) {
            Sleep(50);
            box = OpenBox(mainWindow);
        }
        Sleep(200);
        seen = {GetWindow(box, GW_OWNER), GetForegroundWindow() == box};
        GetWindowRect(box, &seen.place);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    show();
    watcher.join();
    return seen;
}

// An automatic run's box, shown while the window is hidden, comes to the front above the window.
TEST_F(Win32WindowTest, MessageBoxesComeToTheFrontOwnedByTheWindow) {
    ShowWindow(window.Handle(), SW_HIDE);
    const SeenBox box = WhileABoxIsOpen(window.Handle(), [&] {
        toolkit.Win32Toolkit::ShowMessage(u"message", MessageIcon::Information);
    });
    EXPECT_EQ(box.owner, window.Handle());
    EXPECT_TRUE(box.foreground);
}

TEST_F(Win32WindowTest, TheAboutBoxOpensOverTheMiddleOfTheWindow) {
    const SeenBox box = WhileABoxIsOpen(window.Handle(), [&] { Click(ControlId::About); });
    RECT main;
    GetWindowRect(window.Handle(), &main);
    EXPECT_NEAR(box.place.left + box.place.right, main.left + main.right, 2);
    EXPECT_NEAR(box.place.top + box.place.bottom, main.top + main.bottom, 2);
}

using namespace key_rules;

// The real window as the shared tables drive it.
class Win32WindowDriver : public Win32WindowTest {
  public:
    using Win32WindowTest::Click;
    void Focus(ControlId id) { SetFocus(Item(id)); }
    void Type(std::u16string_view text) {
        for (const char16_t unit : text) {
            PostMessageW(GetFocus(), WM_CHAR, unit, 1);
        }
        EXPECT_TRUE(PumpAll());
    }
    void Paste(std::u16string_view text) {
        const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
        std::memcpy(GlobalLock(memory), text.data(), bytes - sizeof(wchar_t));
        GlobalUnlock(memory);
        ASSERT_TRUE(OpenClipboard(window.Handle()));
        EmptyClipboard();
        SetClipboardData(CF_UNICODETEXT, memory);
        CloseClipboard();
        Strike('V', VK_CONTROL);
    }
    void Press(Key key) {
        static constexpr std::pair<WORD, WORD> kKeys[] = {
            {VK_RETURN, 0}, {VK_ESCAPE, 0}, {VK_TAB, 0},  {VK_TAB, VK_SHIFT}, {VK_LEFT, 0},
            {VK_RIGHT, 0},  {VK_UP, 0},     {VK_DOWN, 0}, {'C', VK_CONTROL},  {'Q', VK_MENU}};
        const auto [code, held] = kKeys[static_cast<int>(key)];
        Strike(code, held);
    }
    std::u16string Text(ControlId id) { return toolkit.GetText(id).Wide(); }
    bool HasFocus(ControlId id) const { return GetFocus() == Item(id); }
    bool IsOpen() const { return !window.Ended(); }
    // Clicked past the message loop, which the worker needs for its first step: the run is
    // paused before it can end.
    void StartAPausedRun() {
        WriteFileBytes(folder / "numbers.txt", Repeated("7\r\n", 1000));
        Win32Window::ShowOwnText(Item(ControlId::BrowseFile), (folder / "numbers.txt").c_str());
        Click(ControlId::LoadFile);
        ASSERT_TRUE(PumpUntil([&] { return IsWindowEnabled(Item(ControlId::ConvertFile)) != 0; }));
        Click(ControlId::ConvertFile);
        Click(ControlId::Pause);
    }
    bool WaitForTheRunsEnd() {
        return PumpUntil([&] { return IsWindowVisible(Item(ControlId::Save)) != 0; });
    }
    bool IsShown(ControlId id) const { return IsWindowVisible(Item(id)) != 0; }
    bool SaveTo(const fs::path& path) {
        toolkit.savePath = path;
        Click(ControlId::Save);
        return PumpUntil([&] { return IsWindowEnabled(Item(ControlId::Save)) != 0; });
    }

  private:
    // A key as the keyboard gives it: down, translated by the window's loop, then up. With Alt
    // held it comes as a system key.
    void Strike(WORD key, WORD held) {
        HoldKeys({held});
        const bool alt = held == VK_MENU;
        const LPARAM scan =
            static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16 | (alt ? 1 << 29 : 0);
        PostMessageW(GetFocus(), alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, scan | 1);
        EXPECT_TRUE(PumpAll());
        PostMessageW(GetFocus(), alt ? WM_SYSKEYUP : WM_KEYUP, key, scan | 0xC0000001);
        EXPECT_TRUE(PumpAll());
        HoldKeys({});
    }
};

class Win32KeyRulesTest : public Win32WindowDriver, public testing::WithParamInterface<Rule> {};

TEST_P(Win32KeyRulesTest, KeysReachOnlyTheFocusedControl) {
    Check(*this, GetParam());
}

INSTANTIATE_TEST_SUITE_P(BothWindows, Win32KeyRulesTest, testing::ValuesIn(kRules),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(Win32WindowDriver, LoadsConvertsSavesAndExits) {
    CheckAFileRun(*this, folder / "saved.tbin");
}

// 「終了」 pressed right after 「ファイルデータを変換」, before the run has disabled it: the run
// is cancelled, the window closes, and the worker ends without it.
TEST_F(Win32WindowDriver, ExitAsARunStartsClosesTheWindowAndEndsTheWorker) {
    WriteFileBytes(folder / "numbers.txt", Repeated("7\r\n", 2'000'000));
    Win32Window::ShowOwnText(Item(ControlId::BrowseFile), (folder / "numbers.txt").c_str());
    Click(ControlId::LoadFile);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowEnabled(Item(ControlId::Exit)) != 0; }));
    Click(ControlId::ConvertFile);
    Click(ControlId::Exit);
    ASSERT_TRUE(PumpUntil([&] { return !IsOpen(); }));
    JoinTheWorkerWithoutTheWindow(toolkit);
}

// The result box's view, as the mouse and the keyboard reach it.
class Win32ViewTest : public Win32WindowTest {
  protected:
    explicit Win32ViewTest(std::u16string_view text = view_rules::ManyLines()) {
        toolkit.SetText(ControlId::Result, std::make_shared<const WideString>(text), nullptr);
        SetFocus(view);
    }
    LPARAM OnFirstLine(int column) const {
        HDC context = GetDC(view);
        HGDIOBJ before =
            SelectObject(context, reinterpret_cast<HGDIOBJ>(SendMessageW(view, WM_GETFONT, 0, 0)));
        SIZE prefix{};
        GetTextExtentPoint32W(context, L"12 ab+cd", column, &prefix);
        TEXTMETRICW metrics;
        GetTextMetricsW(context, &metrics);
        SelectObject(context, before);
        ReleaseDC(view, context);
        return MAKELPARAM(TextViewModel::kMargin + prefix.cx, metrics.tmHeight / 2);
    }
    // A key with Shift or Ctrl held, as the keyboard state tells them.
    void Strike(WORD key, std::initializer_list<WORD> held = {}) {
        HoldKeys(held);
        SendMessageW(view, WM_KEYDOWN, key, 1);
        HoldKeys({});
    }
    void Mouse(UINT message, WPARAM keys, LPARAM at) { SendMessageW(view, message, keys, at); }

    HWND view = Item(ControlId::Result);
};

class Win32ViewRulesTest : public Win32ViewTest,
                           public testing::WithParamInterface<view_rules::Rule> {
  public:
    Win32ViewRulesTest() : Win32ViewTest(view_rules::kText) {
        toolkit.SetText(ControlId::Binary, std::make_shared<const WideString>(u"-"), nullptr);
        SendMessageW(Item(ControlId::Binary), EM_SETSEL, 0, -1);
        SendMessageW(Item(ControlId::Binary), WM_COPY, 0, 0);
    }
    void Do(const view_rules::Step& step) {
        using enum view_rules::Act;
        static constexpr WORD kKeys[] = {VK_LEFT, VK_RIGHT, VK_UP,    VK_DOWN,
                                         VK_HOME, VK_END,   VK_PRIOR, VK_NEXT};
        const WORD key = kKeys[static_cast<int>(step.key)];
        const LPARAM at = OnFirstLine(step.column);
        switch (step.act) {
            case Key:
                return Strike(key);
            case ShiftKey:
                return Strike(key, {VK_SHIFT});
            case Click:
                Mouse(WM_LBUTTONDOWN, MK_LBUTTON, at);
                return Mouse(WM_LBUTTONUP, 0, at);
            case ShiftClick:
                Mouse(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, at);
                return Mouse(WM_LBUTTONUP, MK_SHIFT, at);
            case DoubleClick:
                Mouse(WM_LBUTTONDOWN, MK_LBUTTON, at);
                Mouse(WM_LBUTTONUP, 0, at);
                Mouse(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
                return Mouse(WM_LBUTTONUP, 0, at);
            default:
                return Strike('C', {VK_CONTROL});
        }
    }
    // Another thread reads the open menu and types the mnemonic into its loop.
    std::vector<std::u16string> ChooseFromMenu(char16_t mnemonic) {
        std::vector<std::u16string> offered;
        std::thread chooser([&] {
            HWND menuWindow = nullptr;
            for (int tries = 0; menuWindow == nullptr && tries < 400; ++tries) {
                Sleep(25);
                menuWindow = FindWindowW(L"#32768", nullptr);
            }
            auto* menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
            for (int item = 0; item < GetMenuItemCount(menu); ++item) {
                wchar_t text[64] = {};
                GetMenuStringW(menu, static_cast<UINT>(item), text, 64, MF_BYPOSITION);
                const bool off =
                    (GetMenuState(menu, static_cast<UINT>(item), MF_BYPOSITION) & MF_GRAYED) != 0;
                offered.push_back(FromWide(text) + (off ? u" (off)" : u""));
            }
            PostMessageW(menuWindow, WM_CHAR, mnemonic, 1);
        });
        POINT at{5, 5};
        ClientToScreen(view, &at);
        SendMessageW(view, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view), MAKELPARAM(at.x, at.y));
        chooser.join();
        return offered;
    }
    std::u16string Clipboard() const { return ClipboardText(); }
};

TEST_P(Win32ViewRulesTest, SelectsAndCopiesAsTheModelSays) {
    Check(*this, GetParam());
}

INSTANTIATE_TEST_SUITE_P(BothViews, Win32ViewRulesTest, testing::ValuesIn(view_rules::kRules),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(Win32ViewTest, KeepsScrollingWhileTheButtonIsHeldBelowIt) {
    RECT client;
    GetClientRect(view, &client);
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, OnFirstLine(0));
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, client.bottom + 20));
    const int first = GetScrollPos(view, SB_VERT);
    EXPECT_GT(first, 0);
    EXPECT_TRUE(PumpUntil([&] { return GetScrollPos(view, SB_VERT) > first + 2; }));
    Mouse(WM_LBUTTONUP, 0, MAKELPARAM(5, client.bottom + 20));
    const int released = GetScrollPos(view, SB_VERT);
    Sleep(200);
    EXPECT_TRUE(PumpAll());
    EXPECT_EQ(GetScrollPos(view, SB_VERT), released);
}

// The window as assistive technology reaches it: IAccessible for names, roles and states; the
// edit messages the system's edit proxy sends for a box's text, caret and characters; a command
// sent to the dialog, as an automation tool may send it, from any control, shown or not.
class Win32AccessibilityTest : public Win32WindowTest {
  public:
    HWND Handle(std::string_view control) { return window.ControlNamed(control); }
    template <typename Use>
    auto WithObject(std::string_view control, Use use) {
        IAccessible* object = nullptr;
        EXPECT_EQ(
            AccessibleObjectFromWindow(Handle(control), static_cast<DWORD>(OBJID_CLIENT),
                                       __uuidof(IAccessible), reinterpret_cast<void**>(&object)),
            S_OK);
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        const auto result = use(*object, self);
        object->Release();
        return result;
    }
    // Any box a press opens is closed and counted, so that none can hang the test.
    void Press(std::string_view control) {
        HWND button = Handle(control);
        m_boxesClosed += BoxesClosedWhile(window.Handle(), IDOK, [&] {
            SendMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
        });
        PumpAll();
    }
    // Through the object's default action, and as another program may click, with BM_CLICK
    // where the object has no action to take (as under wine).
    void Toggle(std::string_view control) {
        const HRESULT acted = WithObject(control, [](IAccessible& object, VARIANT self) {
            return object.accDoDefaultAction(self);
        });
        if (acted != S_OK) {
            SendMessageW(Handle(control), BM_CLICK, 0, 0);
        }
        PumpAll();
    }
    bool IsChecked(std::string_view control) {
        return SendMessageW(Handle(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    void Disable(std::string_view control) { EnableWindow(Handle(control), FALSE); }
    bool IsEnabled(std::string_view control) { return IsWindowEnabled(Handle(control)) != 0; }
    std::u16string Text(std::string_view control) { return Win32WindowTest::Text(Handle(control)); }
    // Through the object's value, and as another program may write, with WM_SETTEXT.
    void SetValue(std::string_view control, std::u16string_view text) {
        const std::wstring wide(text.begin(), text.end());
        WithObject(control, [&](IAccessible& object, VARIANT self) {
            BSTR value = SysAllocString(wide.c_str());
            const HRESULT result = object.put_accValue(self, value);
            SysFreeString(value);
            return result;
        });
        SendMessageW(Handle(control), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    std::pair<int, int> Selection(std::string_view control) {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(Handle(control), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        return {static_cast<int>(start), static_cast<int>(end)};
    }
    int Caret(std::string_view control) { return Selection(control).second; }
    void SelectAll(std::string_view control) {
        HWND box = Handle(control);
        SetFocus(box);
        HoldKeys({VK_CONTROL});
        SendMessageW(box, WM_KEYDOWN, 'A', 1);
        HoldKeys({});
    }
    POINT CharacterOrigin(HWND box, int offset) {
        const LRESULT at = SendMessageW(box, EM_POSFROMCHAR, static_cast<WPARAM>(offset), 0);
        POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
        ClientToScreen(box, &point);
        return point;
    }
    // Its width up to the next character, its height down to the next line.
    std::array<int, 4> CharacterBox(std::string_view control, int offset) {
        HWND box = Handle(control);
        const POINT origin = CharacterOrigin(box, offset);
        const POINT next = CharacterOrigin(box, offset + 1);
        const auto line = SendMessageW(box, EM_LINEFROMCHAR, static_cast<WPARAM>(offset), 0);
        const auto below = SendMessageW(box, EM_LINEINDEX, static_cast<WPARAM>(line + 1), 0);
        const POINT under = CharacterOrigin(box, static_cast<int>(below));
        return {origin.x, origin.y, next.x - origin.x, under.y - origin.y};
    }
    int OffsetAt(std::string_view control, int x, int y) {
        HWND box = Handle(control);
        POINT point{x, y};
        ScreenToClient(box, &point);
        return LOWORD(SendMessageW(box, EM_CHARFROMPOS, 0, MAKELPARAM(point.x, point.y)));
    }
    void Load(std::string_view bytes) {
        WriteFileBytes(folder / "numbers.txt", bytes);
        Win32Window::ShowOwnText(Item(ControlId::BrowseFile), (folder / "numbers.txt").c_str());
        Click(ControlId::LoadFile);
        ASSERT_TRUE(PumpUntil([&] { return IsWindowEnabled(Item(ControlId::LoadFile)) != 0; }));
    }
    bool ShowsMessagesBox() { return IsWindowVisible(Item(ControlId::ShowMessages)) != 0; }
    int AboutBoxesOpened() const { return m_boxesClosed; }

  private:
    std::atomic<int> m_boxesClosed = 0;
};

class Win32RulesTest : public Win32AccessibilityTest,
                       public testing::WithParamInterface<accessibility_rules::Rule> {};

TEST_P(Win32RulesTest, AssistiveTechnologyReadsAndActsAsAUserCan) {
    accessibility_rules::Check(*this, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Win32, Win32RulesTest, testing::ValuesIn(accessibility_rules::kRules),
                         [](const auto& info) { return std::string(info.param.name); });

// Wine has no edit proxy: there the view gives its plain client object, which must not fail.
TEST_F(Win32ViewTest, GivesAssistiveTechnologyAnObjectThatAnswers) {
    IAccessible* accessible = nullptr;
    ASSERT_EQ(
        AccessibleObjectFromWindow(view, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&accessible)),
        S_OK);
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role{};
    EXPECT_EQ(accessible->get_accRole(self, &role), S_OK);
    accessible->Release();
}

}  // namespace

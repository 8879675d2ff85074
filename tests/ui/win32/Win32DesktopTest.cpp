// The real Win32 window as a desktop window: access keys, files dropped on it, and its layout at
// every scale.
#include <windows.h>

#include <ole2.h>
#include <oleacc.h>
#include <shlobj.h>

#include <cstring>

#include "tests/support/ClickRecorder.h"
#include "tests/ui/DesktopRules.h"
#include "tests/ui/win32/Win32WindowFixture.h"
#include "ui/win32/ResourceIds.h"

namespace fs = std::filesystem;

namespace {

using namespace desktop_rules;

// Just what the window reads of files dragged from the shell: a list of paths.
class FileList final : public IDataObject {
  public:
    explicit FileList(const std::vector<fs::path>& files) {
        for (const fs::path& file : files) {
            m_names += file.wstring() + L'\0';
        }
        m_names += L'\0';
    }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (format->cfFormat != CF_HDROP) {
            return DV_E_FORMATETC;
        }
        const std::size_t bytes = sizeof(DROPFILES) + m_names.size() * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
        auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        std::memcpy(drop + 1, m_names.data(), m_names.size() * sizeof(wchar_t));
        GlobalUnlock(memory);
        *medium = {TYMED_HGLOBAL, {.hGlobal = memory}, nullptr};
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

  private:
    std::wstring m_names;
};

// The window as the desktop table drives it, its clicks recorded rather than carried out.
class Win32DesktopTest : public Win32WindowTest {
  public:
    Win32DesktopTest() : Win32WindowTest(false) { EXPECT_TRUE(window.Start(recorder)); }

    // Wine keeps no annotations: there the shortcut cannot be read back.
    std::optional<std::u16string> KeyBinding(std::string_view control) {
        if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr) {
            return std::nullopt;
        }
        IAccessible* object = nullptr;
        if (FAILED(AccessibleObjectFromWindow(
                window.ControlNamed(control), static_cast<DWORD>(OBJID_CLIENT),
                __uuidof(IAccessible), reinterpret_cast<void**>(&object)))) {
            return u"";
        }
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR shortcut = nullptr;
        object->get_accKeyboardShortcut(self, &shortcut);
        object->Release();
        const std::u16string key = shortcut == nullptr ? u"" : FromWide(shortcut);
        SysFreeString(shortcut);
        return key;
    }
    // Alt held, as the keyboard sends it: the key comes as a system key. Only the browse button
    // opens a box, which is closed.
    void AltKey(const KeyRow& row) {
        const WPARAM key = row.key;
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
        constexpr LPARAM kAlt = 1 << 29;
        const auto strike = [&] {
            PostMessageW(GetFocus(), WM_SYSKEYDOWN, key, kAlt | scan | 1);
            EXPECT_TRUE(PumpAll());
            PostMessageW(GetFocus(), WM_SYSKEYUP, key, kAlt | scan | 0xC0000001);
            EXPECT_TRUE(PumpAll());
        };
        if (row.control == "browseButton") {
            m_boxes = BoxesClosedWhile(window.Handle(), IDCANCEL, strike);
        } else {
            strike();
        }
    }
    bool HasFocus(std::string_view control) { return GetFocus() == window.ControlNamed(control); }
    bool WasPressed(std::string_view control) {
        if (control == "browseButton") {
            return m_boxes == 1;
        }
        const int id = GetDlgCtrlID(window.ControlNamed(control));
        return recorder.Clicked(static_cast<ControlId>(id));
    }

    bool DragOver(const std::vector<fs::path>& files) {
        FileList data(files);
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
        window.DropTarget().DragEnter(&data, MK_LBUTTON, {10, 10}, &effect);
        const DWORD entered = effect;
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        window.DropTarget().DragOver(MK_LBUTTON, {12, 12}, &effect);
        EXPECT_EQ(effect, entered);
        return effect == DROPEFFECT_COPY;
    }
    void Drop(const std::vector<fs::path>& files) {
        FileList data(files);
        DWORD effect = DROPEFFECT_COPY;
        window.DropTarget().Drop(&data, 0, {12, 12}, &effect);
        EXPECT_TRUE(PumpAll());
        ASSERT_TRUE(PumpUntil([&] { return IsWindowEnabled(Item(ControlId::LoadFile)) != 0; }));
    }
    std::u16string Text(ControlId id) { return toolkit.GetText(id).Wide(); }

    ClickRecorder recorder{dialog};

  private:
    int m_boxes = 0;
};

class Win32AccessKeyTest : public Win32DesktopTest, public testing::WithParamInterface<KeyRow> {};

TEST_P(Win32AccessKeyTest, ReachesItsControlOnlyWhereAUserCould) {
    Check(*this, GetParam());
}

INSTANTIATE_TEST_SUITE_P(BothWindows, Win32AccessKeyTest, testing::ValuesIn(kKeys),
                         [](const auto& row) { return std::string(row.param.control); });

class Win32DropTest : public Win32DesktopTest, public testing::WithParamInterface<DropRow> {};

TEST_P(Win32DropTest, LoadsOneFileDroppedAnywhere) {
    Check(*this, GetParam(), folder.path());
}

INSTANTIATE_TEST_SUITE_P(BothWindows, Win32DropTest, testing::ValuesIn(kDrops),
                         [](const auto& row) { return std::string(row.param.name); });

// How wide text is in a control's own font.
int TextWidth(HWND control, const std::u16string& text) {
    HDC context = GetDC(control);
    HGDIOBJ before =
        SelectObject(context, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(context, AsWide(text), static_cast<int>(text.size()), &extent);
    SelectObject(context, before);
    ReleaseDC(control, context);
    return extent.cx;
}

// The largest picture the icon has.
int LargestIconPicture() {
    HMODULE program = GetModuleHandleW(nullptr);
    HRSRC group = FindResourceW(program, MAKEINTRESOURCEW(IDR_MAINFRAME), RT_GROUP_ICON);
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(program, group)));
    const int count = bytes[4];
    int largest = 0;
    for (int entry = 0; entry < count; ++entry) {
        const int width = bytes[6 + entry * 14];
        largest = std::max(largest, width == 0 ? 256 : width);
    }
    return largest;
}

class Win32ScaleTest : public Win32WindowTest, public testing::WithParamInterface<int> {};

// Labels and check boxes show their whole text and buttons their whole caption, at each scale the
// window is moved to; the icon has a picture for the largest.
TEST_P(Win32ScaleTest, EveryCaptionShowsWhole) {
    const UINT dpi = MulDiv(USER_DEFAULT_SCREEN_DPI, GetParam(), 100);
    RECT place;
    GetWindowRect(window.Handle(), &place);
    const int scale =
        MulDiv(GetParam(), USER_DEFAULT_SCREEN_DPI, DpiLayout::DpiOf(window.Handle()));
    place.right = place.left + MulDiv(place.right - place.left, scale, 100);
    place.bottom = place.top + MulDiv(place.bottom - place.top, scale, 100);
    SendMessageW(window.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&place));
    int captions = 0;
    for (HWND child = GetWindow(window.Handle(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t kind[16] = {};
        GetClassNameW(child, kind, 16);
        const bool button = lstrcmpiW(kind, L"Button") == 0;
        if (!button && lstrcmpiW(kind, L"Static") != 0) {
            continue;
        }
        ++captions;
        const bool checkBox = (GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX;
        const int margin = button ? MulDiv(checkBox ? 15 : 4, static_cast<int>(dpi), 96) : 0;
        RECT room;
        GetClientRect(child, &room);
        EXPECT_LE(TextWidth(child, Text(child)) + margin, room.right) << "caption " << captions;
    }
    EXPECT_EQ(captions, 10 + 11);
    RECT resized;
    GetWindowRect(window.Handle(), &resized);
    EXPECT_EQ(resized.right - resized.left, place.right - place.left);
    EXPECT_GE(LargestIconPicture(), 64);
}

INSTANTIATE_TEST_SUITE_P(Scales, Win32ScaleTest, testing::Values(100, 125, 150, 175, 200));

// Long paths keep their ends in sight, and give the whole path when pointed at or read.
TEST_F(Win32WindowTest, LongPathsShowTheirEndsAndGiveTheWholePath) {
    const std::wstring path =
        L"C:\\Users\\user\\ドキュメント " + std::wstring(150, L'x') + L" 最後\\TallowKit";
    window.SetLinks(path, path + L"\\README.md");
    HWND link = Item(ControlId::FirstLink);
    const std::u16string shown = Text(link);
    EXPECT_NE(shown.find(u"…"), std::u16string::npos);
    EXPECT_EQ(shown.rfind(u"<a>C:\\Users\\user\\", 0), 0U);
    EXPECT_NE(shown.find(u"最後\\TallowKit</a>"), std::u16string::npos);
    NMTTDISPINFOW tip{};
    tip.hdr = {window.Handle(), reinterpret_cast<UINT_PTR>(link), TTN_GETDISPINFOW};
    SendMessageW(window.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    EXPECT_EQ(std::wstring(tip.lpszText), path);
    HWND modulePath = Item(ControlId::ModulePath);
    Win32Window::ShowOwnText(modulePath, path.c_str());
    EXPECT_EQ(SendMessageW(modulePath, EM_GETLINECOUNT, 0, 0), 1) << "scrolls, never wraps";
}

}  // namespace

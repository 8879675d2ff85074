#include "ui/win32/Win32Window.h"

#include <commctrl.h>
#include <commdlg.h>
#include <oleacc.h>
#include <shellapi.h>

#include <cstring>
#include <functional>
#include <vector>

#include "ui/ControlTable.h"
#include "ui/DialogEvents.h"
#include "ui/TextFit.h"
#include "ui/win32/FontContext.h"
#include "ui/win32/IconPlacement.h"
#include "ui/win32/ResourceIds.h"
#include "ui/win32/WideText.h"
#include "ui/win32/Win32TextView.h"
#include "ui/win32/WindowText.h"

namespace {

constexpr int kBrowseFieldId = static_cast<int>(ControlId::BrowseFile);

// The dialog template without its visible style: the window shows only once the dialog has been
// initialised, so an automatic run never shows it at all.
std::vector<unsigned char> HiddenTemplate(HINSTANCE instance) {
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDD_TALLOW_DIALOG), RT_DIALOG);
    if (found == nullptr) {
        return {};
    }
    const auto* bytes =
        static_cast<const unsigned char*>(LockResource(LoadResource(instance, found)));
    std::vector<unsigned char> copy(bytes, bytes + SizeofResource(instance, found));
    // DLGTEMPLATEEX: version, signature, help id and extended style come before the style.
    constexpr std::size_t kStyleOffset = 12;
    DWORD style = 0;
    std::memcpy(&style, copy.data() + kStyleOffset, sizeof style);
    style &= ~static_cast<DWORD>(WS_VISIBLE);
    std::memcpy(copy.data() + kStyleOffset, &style, sizeof style);
    return copy;
}

// An edit control acts as a dialog's child on its own: on Escape a multi-line edit posts WM_CLOSE
// to its parent, Tab makes it move the focus, and Enter in an edit that takes no line break goes
// to the default button. Those keys stop here, so they neither close the window nor move the
// focus; a tab, never part of a number, is not typed either. Their characters have the keys'
// codes.
// Set while the program itself writes an edit.
thread_local bool t_ownWrite = false;

// Other programs (assistive technology, automation) may write any edit: a read-only one, or one
// no user could reach, takes only the program's own text.
LRESULT CALLBACK KeepKeysInEdit(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR) {
    if ((message == WM_SETTEXT || message == EM_REPLACESEL) && !t_ownWrite &&
        ((GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) != 0 || !Win32Window::IsUsable(edit))) {
        return FALSE;
    }
    if (message == WM_KEYDOWN || message == WM_CHAR) {
        const bool takesLines = (GetWindowLongW(edit, GWL_STYLE) & ES_WANTRETURN) != 0;
        if (wParam == VK_ESCAPE || wParam == VK_TAB || (wParam == VK_RETURN && !takesLines)) {
            return 0;
        }
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

// A click or a tick from another program reaches a check box that no user could reach only when
// the program itself sets the tick.
LRESULT CALLBACK KeepTickWhileUnusable(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR) {
    if ((message == BM_CLICK || message == BM_SETCHECK) && !t_ownWrite &&
        !Win32Window::IsUsable(box)) {
        return 0;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

BOOL CALLBACK SubclassEdit(HWND control, LPARAM) {
    if (HasClass(control, L"Edit")) {
        SetWindowSubclass(control, &KeepKeysInEdit, 0, 0);
    } else if (HasClass(control, L"Button") &&
               (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
        SetWindowSubclass(control, &KeepTickWhileUnusable, 0, 0);
    }
    return TRUE;
}

// What assistive technology reads of a control, in place of what Windows would make of it.
void Annotate(HWND control, MSAAPROPID property, std::u16string_view text) {
    IAccPropServices* services = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&services)))) {
        return;
    }
    std::wstring wide(text.begin(), text.end());
    services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, property,
                             wide.data());
    services->Release();
}

// Windows names a field after the static text just before it in the template, which is not
// always the label beside it (both box labels precede both boxes), and the template's order is
// the tab order: each name is given explicitly, from the control table.
void NameControls(HWND window) {
    for (const ControlTemplate& item : MainDialogControls()) {
        if (item.id && !AccessibleName(item).empty()) {
            Annotate(GetDlgItem(window, static_cast<int>(*item.id)), PROPID_ACC_NAME,
                     AccessibleName(item));
        }
    }
    Annotate(GetDlgItem(window, IDC_BROWSE_BUTTON), PROPID_ACC_NAME, kBrowseButtonName);
}

// A path too long for its link loses its middle to "…"; the tooltip and the name give it whole.
void ShowLink(HWND link, const std::wstring& target) {
    RECT room;
    GetClientRect(link, &room);
    const FontContext measuring(link, FontOf(link));
    const std::u16string shown =
        ElideMiddle(FromWide(target), room.right, [&](std::u16string_view text) {
            return measuring.Width({AsWide(text), text.size()});
        });
    const std::wstring markup = L"<a>" + std::wstring(AsWide(shown), shown.size()) + L"</a>";
    SetWindowTextW(link, markup.c_str());
    Annotate(link, PROPID_ACC_NAME, FromWide(target));
}

}  // namespace

Win32Window::Win32Window(HINSTANCE instance)
    : m_instance(instance),
      m_dropTarget([this](const DroppedFiles& files) { return m_dialog->AcceptsDrop(files); },
                   [this](DroppedFiles files) {
                       m_dropped = std::move(files);
                       PostMessageW(m_window, kDropped, 0, 0);
                   }) {}

Win32Window::~Win32Window() {
    if (m_window != nullptr) {
        RevokeDragDrop(m_window);
        DestroyWindow(m_window);
    }
    for (const HICON icon : {m_icon, m_smallIcon}) {
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
    }
}

void Win32Window::ShowOwnText(HWND edit, const wchar_t* text) {
    t_ownWrite = true;
    SetWindowTextW(edit, text);
    t_ownWrite = false;
}

// The control's own style bit: a window never shown yet still counts its shown controls.
bool Win32Window::IsUsable(HWND control) {
    return (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0 && IsWindowEnabled(control);
}

void Win32Window::SetOwnCheck(HWND box, bool checked) {
    t_ownWrite = true;
    SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    t_ownWrite = false;
}

std::wstring Win32Window::TextOf(HWND control) {
    return WindowText(control);
}

void Win32Window::SetLinks(std::wstring workingFolder, std::wstring helpFile) {
    m_workingFolder = std::move(workingFolder);
    m_helpFile = std::move(helpFile);
    if (m_window != nullptr) {
        ShowLinks();
    }
}

bool Win32Window::Start(DialogEvents& dialog) {
    // Every common-control class the template names, the progress bar and the links among them.
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), 0xFF | ICC_LINK_CLASS};
    InitCommonControlsEx(&controls);
    m_dialog = &dialog;
    const std::vector<unsigned char> dialogTemplate = HiddenTemplate(m_instance);
    if (dialogTemplate.empty() ||
        CreateDialogIndirectParamW(
            m_instance, reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate.data()), nullptr,
            &DialogProc, reinterpret_cast<LPARAM>(this)) == nullptr) {
        m_ended = true;
        return false;
    }
    if (m_ended) {
        return false;
    }
    ShowWindow(m_window, SW_SHOW);
    SetFocus(Control(IDOK));
    return true;
}

void Win32Window::Run() {
    MSG message;
    while (!m_ended && GetMessageW(&message, nullptr, 0, 0) > 0) {
        ProcessMessage(message);
    }
}

void Win32Window::ProcessMessage(MSG& message) {
    constexpr LPARAM kAltHeld = 1 << 29;
    if (message.message == WM_SYSKEYDOWN && (message.lParam & kAltHeld) != 0 &&
        TakeAccessKey(message.wParam)) {
        return;
    }
    if (message.message == WM_KEYDOWN || !IsDialogMessageW(m_window, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// A box still open (a message, the save dialog, About) closes with the window, so that the
// program can end.
void Win32Window::EndDialog() {
    m_ended = true;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND box, LPARAM owner) {
            if (GetWindow(box, GW_OWNER) == reinterpret_cast<HWND>(owner) && IsWindowVisible(box)) {
                PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(m_window));
    if (m_window != nullptr) {
        ShowWindow(m_window, SW_HIDE);
    }
    // Wakes the loop, which may be waiting for a message.
    PostMessageW(m_window, WM_NULL, 0, 0);
}

void Win32Window::ChangeWaitCount(int change) {
    m_waitCount += change;
    SetCursor(LoadCursorW(nullptr, m_waitCount > 0 ? IDC_WAIT : IDC_ARROW));
}

INT_PTR CALLBACK Win32Window::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Win32Window*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->m_window = window;
    }
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, DWLP_USER));
    return self == nullptr ? FALSE : self->Dispatch(message, wParam, lParam);
}

INT_PTR Win32Window::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return FALSE;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_CLOSE:
            m_dialog->OnCancel();
            return TRUE;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->code == TTN_GETDISPINFOW) {
                reinterpret_cast<NMTTDISPINFOW*>(lParam)->lpszText =
                    const_cast<wchar_t*>(TooltipOf(reinterpret_cast<HWND>(header->idFrom)));
            } else if (header->code == NM_CLICK || header->code == NM_RETURN) {
                OpenLink(static_cast<int>(header->idFrom));
            }
            return TRUE;
        }
        case WM_DPICHANGED:
            m_layout.Rescale(m_window, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            ShowLinks();
            LoadIcons(LOWORD(wParam));
            return TRUE;
        case kDropped:
            m_dialog->OnDrop(m_dropped);
            return TRUE;
        case WM_PAINT:
            return PaintMinimised() ? TRUE : FALSE;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<INT_PTR>(m_icon);
        case WM_SETCURSOR:
            if (m_waitCount > 0) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                SetWindowLongPtrW(m_window, DWLP_MSGRESULT, TRUE);
                return TRUE;
            }
            return FALSE;
        case kBrowse:
            Browse();
            return TRUE;
        case kRunPosted:
            (*reinterpret_cast<const std::function<void()>*>(lParam))();
            return TRUE;
        default:
            return FALSE;
    }
}

void Win32Window::OnInitDialog() {
    // The path field gets its browse button inside its right end, as tall as the field.
    HWND field = Control(kBrowseFieldId);
    RECT place;
    GetWindowRect(field, &place);
    MapWindowPoints(nullptr, m_window, reinterpret_cast<POINT*>(&place), 2);
    const int height = place.bottom - place.top;
    const int buttonWidth = height + height / 2;
    SetWindowPos(field, nullptr, 0, 0, place.right - place.left - buttonWidth, height,
                 SWP_NOMOVE | SWP_NOZORDER);
    HWND button =
        CreateWindowExW(0, L"BUTTON", L"...", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                        place.right - buttonWidth, place.top, buttonWidth, height, m_window,
                        reinterpret_cast<HMENU>(IDC_BROWSE_BUTTON), m_instance, nullptr);
    SendMessageW(button, WM_SETFONT, SendMessageW(m_window, WM_GETFONT, 0, 0), TRUE);
    SetWindowPos(button, field, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    for (const int box :
         {static_cast<int>(ControlId::FileContents), static_cast<int>(ControlId::Result)}) {
        Win32TextView::Replace(Control(box));
    }
    EnumChildWindows(m_window, &SubclassEdit, 0);
    m_layout.Start(m_window);
    LoadIcons(DpiLayout::DpiOf(m_window));
    NameControls(m_window);
    for (const AccessKey& access : AccessKeys()) {
        Annotate(ControlNamed(access.control), PROPID_ACC_KEYBOARDSHORTCUT, AccessKeyText(access));
    }
    ShowLinks();
    AddTooltips();
    // Fails without OLE on the thread, as in tests, which call the target themselves.
    RegisterDragDrop(m_window, &m_dropTarget);
    m_dialog->OnInitDialog();
}

void Win32Window::LoadIcons(UINT dpi) {
    const auto load = [&](int size) {
        const int pixels = MulDiv(size, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
        return static_cast<HICON>(
            LoadImageW(m_instance, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, pixels, pixels, 0));
    };
    HICON bigIcon = load(32);
    HICON smallIcon = load(16);
    SendMessageW(m_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    SendMessageW(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    for (const HICON old : {m_icon, m_smallIcon}) {
        if (old != nullptr) {
            DestroyIcon(old);
        }
    }
    m_icon = bigIcon;
    m_smallIcon = smallIcon;
}

void Win32Window::ShowLinks() {
    ShowLink(Control(static_cast<int>(ControlId::FirstLink)), m_workingFolder);
    ShowLink(Control(static_cast<int>(ControlId::SecondLink)), m_helpFile);
}

// The links and the program's path, whose whole text may not show, give it whole when pointed at.
void Win32Window::AddTooltips() {
    HWND tips = CreateWindowExW(
        0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_window, nullptr, m_instance, nullptr);
    for (const ControlId id :
         {ControlId::FirstLink, ControlId::SecondLink, ControlId::ModulePath}) {
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = m_window;
        tool.uId = reinterpret_cast<UINT_PTR>(Control(static_cast<int>(id)));
        tool.lpszText = LPSTR_TEXTCALLBACKW;
        SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, GetSystemMetrics(SM_CXVIRTUALSCREEN));
}

const wchar_t* Win32Window::TooltipOf(HWND control) {
    if (control == Control(static_cast<int>(ControlId::FirstLink))) {
        return m_workingFolder.c_str();
    }
    if (control == Control(static_cast<int>(ControlId::SecondLink))) {
        return m_helpFile.c_str();
    }
    m_tooltip = TextOf(control);
    return m_tooltip.c_str();
}

HWND Win32Window::ControlNamed(std::string_view objectName) const {
    if (objectName == "browseButton") {
        return Control(IDC_BROWSE_BUTTON);
    }
    for (const ControlTemplate& item : MainDialogControls()) {
        if (item.objectName == objectName && item.id) {
            return Control(static_cast<int>(*item.id));
        }
    }
    return nullptr;
}

// A button is pressed as a click presses it, taking the focus; a field takes the focus. A
// control that no user could reach takes neither.
bool Win32Window::TakeAccessKey(WPARAM key) {
    const bool letterOrDigit = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
    const AccessKey* access = letterOrDigit ? FindAccessKey(static_cast<char16_t>(key)) : nullptr;
    if (access == nullptr) {
        return false;
    }
    HWND control = ControlNamed(access->control);
    if (control != nullptr && IsUsable(control)) {
        SetFocus(control);
        if (access->action == AccessAction::Press) {
            SendMessageW(control, BM_CLICK, 0, 0);
        }
    }
    return true;
}

void Win32Window::OnCommand(int id, int code) {
    if (id == IDCANCEL) {
        m_dialog->OnCancel();
        return;
    }
    // Posted: a BM_CLICK sent by another program returns before the modal dialog runs.
    if (id == IDC_BROWSE_BUTTON && code == BN_CLICKED) {
        PostMessageW(m_window, kBrowse, 0, 0);
        return;
    }
    if (code == BN_CLICKED) {
        m_dialog->OnClicked(static_cast<ControlId>(id));
    }
}

bool Win32Window::PaintMinimised() {
    if (!IsIconic(m_window)) {
        return false;
    }
    PAINTSTRUCT paint;
    HDC context = BeginPaint(m_window, &paint);
    SendMessageW(m_window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(context), 0);
    RECT client;
    GetClientRect(m_window, &client);
    const IconPoint at = CentredIcon(client.right - client.left, client.bottom - client.top,
                                     GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    DrawIcon(context, at.x, at.y, m_icon);
    EndPaint(m_window, &paint);
    return true;
}

// A file-open dialog with no filter, default extension or initial folder.
void Win32Window::Browse() {
    std::vector<wchar_t> path(32768, L'\0');
    OPENFILENAMEW choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = m_window;
    choice.lpstrFile = path.data();
    choice.nMaxFile = static_cast<DWORD>(path.size());
    choice.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (GetOpenFileNameW(&choice)) {
        ShowOwnText(Control(kBrowseFieldId), path.data());
    }
}

// A file type with no program of its own, as .md often is, opens in Notepad.
void Win32Window::OpenLink(int id) const {
    const std::wstring& target =
        id == static_cast<int>(ControlId::FirstLink) ? m_workingFolder : m_helpFile;
    const auto opened = reinterpret_cast<INT_PTR>(
        ShellExecuteW(m_window, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (opened <= 32 && &target == &m_helpFile) {
        const std::wstring quoted = L"\"" + target + L"\"";
        ShellExecuteW(m_window, L"open", L"notepad.exe", quoted.c_str(), nullptr, SW_SHOWNORMAL);
    }
}

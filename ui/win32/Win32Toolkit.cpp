#include "ui/win32/Win32Toolkit.h"

#include <commctrl.h>
#include <commdlg.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <optional>
#include <utility>
#include <vector>

#include "ui/win32/ResourceIds.h"
#include "ui/win32/WideText.h"
#include "ui/win32/Win32TextView.h"
#include "ui/win32/Win32Window.h"

namespace {

// Over the middle of the window that owns it, as a dialog framework places its boxes.
void CentreOverOwner(HWND box) {
    RECT owner;
    RECT own;
    if (!GetWindowRect(GetWindow(box, GW_OWNER), &owner) || !GetWindowRect(box, &own)) {
        return;
    }
    const int x = (owner.left + owner.right - (own.right - own.left)) / 2;
    const int y = (owner.top + owner.bottom - (own.bottom - own.top)) / 2;
    SetWindowPos(box, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK AboutProc(HWND box, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        CentreOverOwner(box);
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(box, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

Win32Toolkit::Win32Toolkit(Win32Window& window) : m_window(window) {}

Win32Toolkit::~Win32Toolkit() {
    JoinWorker();
}

void Win32Toolkit::WakeWindowThread() {
    PostMessageW(m_window.Handle(), Win32Window::kRunPosted, 0,
                 reinterpret_cast<LPARAM>(&m_runPosted));
}

HWND Win32Toolkit::Control(ControlId control) const {
    return m_window.Control(static_cast<int>(control));
}

bool Win32Toolkit::SetVisible(ControlId control, bool visible) {
    if (control == ControlId::BrowseFile) {
        ShowWindow(m_window.Control(IDC_BROWSE_BUTTON), visible ? SW_SHOW : SW_HIDE);
    }
    return ShowWindow(Control(control), visible ? SW_SHOW : SW_HIDE) != 0;
}

void Win32Toolkit::SetEnabled(ControlId control, bool enabled) {
    if (control == ControlId::BrowseFile) {
        EnableWindow(m_window.Control(IDC_BROWSE_BUTTON), enabled);
    }
    EnableWindow(Control(control), enabled);
}

bool Win32Toolkit::IsUsable(ControlId control) {
    return Win32Window::IsUsable(Control(control));
}

SharedText Win32Toolkit::GetText(ControlId control) {
    if (IsTextView(control)) {
        return Win32TextView::From(Control(control))->Text();
    }
    return SharedText(
        std::make_shared<const WideString>(FromWide(Win32Window::TextOf(Control(control)))));
}

bool Win32Toolkit::IsTextView(ControlId control) const {
    return control == ControlId::FileContents || control == ControlId::Result;
}

SharedText Win32Toolkit::ShowInView(ControlId control, SharedText text,
                                    std::shared_ptr<const LineIndex> index) {
    return Win32TextView::From(Control(control))->SetText(std::move(text), std::move(index));
}

void Win32Toolkit::ShowText(ControlId control, SharedText text) {
    Win32Window::ShowOwnText(Control(control), AsWide(text.Wide()));
}

bool Win32Toolkit::IsChecked(ControlId control) {
    return SendMessageW(Control(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Toolkit::SetChecked(ControlId control, bool checked) {
    Win32Window::SetOwnCheck(Control(control), checked);
}

void Win32Toolkit::SetProgressRange(ControlId control, std::int32_t maximum) {
    SendMessageW(Control(control), PBM_SETRANGE32, 0, maximum);
}

void Win32Toolkit::SetProgressPosition(ControlId control, std::int32_t position) {
    SendMessageW(Control(control), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void Win32Toolkit::ShowMessage(std::u16string_view text, MessageIcon icon) {
    if (m_window.Ended()) {
        return;
    }
    const std::u16string message(text);
    const std::wstring caption = ExecutablePath().stem().wstring();
    // Owned by the window, hidden or not, and brought to the front: the program that started an
    // automatic run often holds the foreground, and a box behind it would wait unseen.
    MessageBoxW(m_window.Handle(), AsWide(message), caption.c_str(),
                MB_OK | MB_SETFOREGROUND |
                    (icon == MessageIcon::Error ? MB_ICONERROR : MB_ICONINFORMATION));
}

void Win32Toolkit::Beep() {
    MessageBeep(MB_ICONINFORMATION);
}

void Win32Toolkit::BeginWaitCursor() {
    m_window.ChangeWaitCount(+1);
}

void Win32Toolkit::EndWaitCursor() {
    m_window.ChangeWaitCount(-1);
}

void Win32Toolkit::ShowAboutBox() {
    if (m_window.Ended()) {
        return;
    }
    DialogBoxParamW(m_window.Instance(), MAKEINTRESOURCEW(IDD_ABOUTBOX), m_window.Handle(),
                    &AboutProc, 0);
}

void Win32Toolkit::EndDialog() {
    m_window.EndDialog();
}

std::optional<std::filesystem::path> Win32Toolkit::AskSavePath(const SaveDialogOptions& options) {
    if (m_window.Ended()) {
        return std::nullopt;
    }
    // The filter's name and pattern, each ended by a zero, and one more zero after them.
    std::u16string filter(options.filterName);
    filter.push_back(u'\0');
    filter.append(options.filterPattern);
    filter.append(2, u'\0');
    std::vector<wchar_t> path(32768, L'\0');
    OPENFILENAMEW choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = m_window.Handle();
    choice.lpstrFilter = AsWide(filter);
    choice.lpstrFile = path.data();
    choice.nMaxFile = static_cast<DWORD>(path.size());
    choice.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
    if (!GetSaveFileNameW(&choice)) {
        return std::nullopt;
    }
    return std::filesystem::path(path.data());
}

std::filesystem::path Win32Toolkit::DocumentsFolder() {
    PWSTR folder = nullptr;
    std::filesystem::path documents;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &folder))) {
        documents = folder;
    }
    CoTaskMemFree(folder);
    return documents;
}

// However long the path: the buffer grows until the whole path fits.
std::filesystem::path Win32Toolkit::ExecutablePath() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            return std::filesystem::path(std::wstring(path.data(), length));
        }
        path.resize(path.size() * 2);
    }
}

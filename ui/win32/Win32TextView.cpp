#include "ui/win32/Win32TextView.h"

#include <ole2.h>
#include <oleacc.h>
#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <optional>
#include <utility>
#include <vector>

#include "ui/win32/FontContext.h"
#include "ui/win32/WideText.h"

namespace {

constexpr wchar_t kClassName[] = L"TallowTextView";
constexpr int kWheelLines = 3;
constexpr UINT_PTR kDragTimer = 1;

void RegisterClassOnce(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, kClassName, &existing)) {
        return;
    }
    WNDCLASSEXW viewClass{};
    viewClass.cbSize = sizeof viewClass;
    viewClass.style = CS_DBLCLKS;
    viewClass.lpfnWndProc = procedure;
    viewClass.hInstance = instance;
    viewClass.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
    viewClass.lpszClassName = kClassName;
    RegisterClassExW(&viewClass);
}

// One run of a row's columns, each in its own place, over the selection's colours when selected.
void DrawRun(HDC context, const TextViewModel::Row& row, std::size_t from, std::size_t to,
             int height, bool selected) {
    if (from >= to) {
        return;
    }
    const auto edge = [&row](std::size_t column) {
        return column == 0 ? 0 : row.edges[column - 1];
    };
    std::vector<int> advances(to - from);
    for (std::size_t column = from; column < to; ++column) {
        advances[column - from] = edge(column + 1) - edge(column);
    }
    const RECT area{static_cast<int>(row.left + edge(from)), row.top,
                    static_cast<int>(row.left + edge(to)), row.top + height};
    const COLORREF text = GetTextColor(context);
    const COLORREF back = GetBkColor(context);
    if (selected) {
        SetTextColor(context, GetSysColor(COLOR_HIGHLIGHTTEXT));
        SetBkColor(context, GetSysColor(COLOR_HIGHLIGHT));
    }
    ExtTextOutW(context, area.left, row.top, selected ? ETO_OPAQUE : 0, &area,
                AsWide(std::u16string_view(row.characters).substr(from, to - from)),
                static_cast<UINT>(to - from), advances.data());
    SetTextColor(context, text);
    SetBkColor(context, back);
}

std::optional<ViewKey> ViewKeyOf(WPARAM key) {
    static constexpr std::pair<WPARAM, ViewKey> kKeys[] = {
        {VK_LEFT, ViewKey::Left},    {VK_RIGHT, ViewKey::Right},   {VK_UP, ViewKey::Up},
        {VK_DOWN, ViewKey::Down},    {VK_HOME, ViewKey::Home},     {VK_END, ViewKey::End},
        {VK_PRIOR, ViewKey::PageUp}, {VK_NEXT, ViewKey::PageDown},
    };
    for (const auto& [code, viewKey] : kKeys) {
        if (code == key) {
            return viewKey;
        }
    }
    return std::nullopt;
}

ViewPoint PointOf(LPARAM point) {
    return {GET_X_LPARAM(point), GET_Y_LPARAM(point)};
}

int ScrollPosition(std::size_t position) {
    return static_cast<int>(std::min<std::size_t>(position, INT_MAX));
}

}  // namespace

Win32TextView::Win32TextView(HWND window) : m_window(window) {}

void Win32TextView::Replace(HWND edit) {
    HWND parent = GetParent(edit);
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    RegisterClassOnce(instance, &Proc);
    RECT place;
    GetWindowRect(edit, &place);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    HWND view = CreateWindowExW(
        static_cast<DWORD>(GetWindowLongPtrW(edit, GWL_EXSTYLE)), kClassName, L"",
        static_cast<DWORD>(GetWindowLongPtrW(edit, GWL_STYLE)), place.left, place.top,
        place.right - place.left, place.bottom - place.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(GetDlgCtrlID(edit))), instance, nullptr);
    SendMessageW(view, WM_SETFONT, SendMessageW(edit, WM_GETFONT, 0, 0), FALSE);
    SetWindowPos(view, edit, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    DestroyWindow(edit);
}

Win32TextView* Win32TextView::From(HWND window) {
    return reinterpret_cast<Win32TextView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

SharedText Win32TextView::SetText(SharedText text, std::shared_ptr<const LineIndex> index) {
    SharedText shownBefore = m_model.Text();
    m_model.SetText(std::move(text), std::move(index));
    Changed();
    return shownBefore;
}

LRESULT CALLBACK Win32TextView::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(new Win32TextView(window)));
    }
    Win32TextView* view = From(window);
    if (view == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete view;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return view->Handle(message, wParam, lParam);
}

LRESULT Win32TextView::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SETFONT:
            SetFont(reinterpret_cast<HFONT>(wParam));
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(m_font);
        case WM_CREATE:
        case WM_SIZE:
            Resize();
            return 0;
        case WM_ENABLE:
            InvalidateRect(m_window, nullptr, FALSE);
            return 0;
        case WM_SETFOCUS:
            CreateCaret(m_window, nullptr, 1, m_lineHeight);
            Changed();
            ShowCaret(m_window);
            return 0;
        case WM_KILLFOCUS:
            DestroyCaret();
            InvalidateRect(m_window, nullptr, FALSE);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_VSCROLL:
            OnScroll(SB_VERT, LOWORD(wParam));
            return 0;
        case WM_HSCROLL:
            OnScroll(SB_HORZ, LOWORD(wParam));
            return 0;
        case WM_MOUSEWHEEL: {
            const long long lines =
                static_cast<long long>(kWheelLines) * GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
            const long long top = static_cast<long long>(m_model.TopLine()) - lines;
            m_model.ScrollTo(static_cast<std::size_t>(std::max(0LL, top)), m_model.LeftCell());
            Changed();
            return 0;
        }
        case WM_KEYDOWN:
            OnKey(wParam);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_MOUSEMOVE:
        case WM_TIMER:
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            return HandleMouse(message, wParam, lParam);
        case WM_CONTEXTMENU:
            OnContextMenu(lParam);
            return 0;
        case EM_SETSEL: {
            // A start of -1 takes the selection away; an end of -1 is the text's end.
            const std::size_t size = m_model.Text().Size();
            if (static_cast<int>(wParam) == -1) {
                m_model.Select(m_model.Caret(), m_model.Caret());
            } else {
                m_model.Select(wParam, static_cast<int>(lParam) < 0 ? size : lParam);
            }
            Changed();
            return 0;
        }
        case EM_GETSEL: {
            const auto start = static_cast<DWORD>(ScrollPosition(m_model.SelectionStart()));
            const auto end = static_cast<DWORD>(ScrollPosition(m_model.SelectionEnd()));
            if (wParam != 0) {
                *reinterpret_cast<DWORD*>(wParam) = start;
            }
            if (lParam != 0) {
                *reinterpret_cast<DWORD*>(lParam) = end;
            }
            return MAKELRESULT(std::min<DWORD>(start, 0xFFFF), std::min<DWORD>(end, 0xFFFF));
        }
        case EM_POSFROMCHAR:
        case EM_CHARFROMPOS:
        case EM_LINEFROMCHAR:
        case EM_LINEINDEX:
        case EM_LINELENGTH:
        case EM_GETLINECOUNT:
        case EM_GETFIRSTVISIBLELINE:
            return AnswerPlacement(message, wParam, lParam);
        case WM_COPY:
            CopySelection();
            return 0;
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(m_model.Text().Size());
        case WM_GETTEXT:
            return CopyText(reinterpret_cast<wchar_t*>(lParam), wParam);
        // Read-only to everyone else: the program shows its texts through SetText.
        case WM_SETTEXT:
            return FALSE;
        case WM_GETOBJECT:
            if (static_cast<LONG>(lParam) == static_cast<LONG>(OBJID_CLIENT)) {
                return AccessibleObject(wParam);
            }
            return DefWindowProcW(m_window, message, wParam, lParam);
        default:
            return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

// What the system's edit proxy asks to place the caret and the characters for magnifiers and
// screen readers, answered as a multi-line edit answers: 16-bit positions, -1 for "the caret's".
LRESULT Win32TextView::AnswerPlacement(UINT message, WPARAM wParam, LPARAM lParam) const {
    const auto caretOr = [&](WPARAM given) {
        return static_cast<int>(given) == -1 ? m_model.Caret() : given;
    };
    switch (message) {
        case EM_POSFROMCHAR: {
            const ViewBox box = m_model.CharacterBox(wParam);
            return MAKELRESULT(static_cast<WORD>(box.x), static_cast<WORD>(box.y));
        }
        case EM_CHARFROMPOS: {
            const std::size_t offset = m_model.OffsetAt(PointOf(lParam));
            return MAKELRESULT(static_cast<WORD>(offset),
                               static_cast<WORD>(m_model.LineOf(offset)));
        }
        case EM_LINEFROMCHAR:
            return static_cast<LRESULT>(m_model.LineOf(caretOr(wParam)));
        case EM_LINEINDEX: {
            const std::size_t line =
                static_cast<int>(wParam) == -1 ? m_model.LineOf(m_model.Caret()) : wParam;
            return line < m_model.LineCount()
                       ? static_cast<LRESULT>(m_model.LineCharacters(line).start)
                       : -1;
        }
        case EM_LINELENGTH: {
            const TextSpan line = m_model.LineCharacters(m_model.LineOf(caretOr(wParam)));
            return static_cast<LRESULT>(line.end - line.start);
        }
        case EM_GETLINECOUNT:
            return static_cast<LRESULT>(m_model.LineCount());
        default:
            return static_cast<LRESULT>(m_model.TopLine());
    }
}

LRESULT Win32TextView::HandleMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
            SetFocus(m_window);
            SetCapture(m_window);
            m_model.Press(PointOf(lParam), (wParam & MK_SHIFT) != 0);
            break;
        case WM_LBUTTONDBLCLK:
            m_model.DoubleClick(PointOf(lParam));
            break;
        case WM_MOUSEMOVE:
            if (GetCapture() != m_window) {
                return 0;
            }
            m_dragPoint = PointOf(lParam);
            m_model.Drag(m_dragPoint);
            // Past an edge the view keeps moving towards the mouse, moved or not.
            if (m_model.PastAnEdge(m_dragPoint)) {
                SetTimer(m_window, kDragTimer, 50, nullptr);
            } else {
                KillTimer(m_window, kDragTimer);
            }
            break;
        case WM_TIMER:
            if (wParam != kDragTimer || GetCapture() != m_window) {
                return 0;
            }
            m_model.Drag(m_dragPoint);
            break;
        case WM_LBUTTONUP:
            ReleaseCapture();
            return 0;
        default:  // WM_CAPTURECHANGED
            KillTimer(m_window, kDragTimer);
            return 0;
    }
    Changed();
    return 0;
}

// The edit control's own accessible object: role, value, read-only state and selection, read
// through the messages the view answers as an edit control. Wine has no such proxy (calling it
// ends the process): there the window's plain client object stands in.
LRESULT Win32TextView::AccessibleObject(WPARAM flags) const {
    static const bool onWine =
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    IAccessible* accessible = nullptr;
    const HRESULT made =
        onWine ? CreateStdAccessibleObject(m_window, OBJID_CLIENT, __uuidof(IAccessible),
                                           reinterpret_cast<void**>(&accessible))
               : CreateStdAccessibleProxyW(m_window, L"EDIT", OBJID_CLIENT, __uuidof(IAccessible),
                                           reinterpret_cast<void**>(&accessible));
    if (FAILED(made)) {
        return 0;
    }
    const LRESULT result = LresultFromObject(__uuidof(IAccessible), flags, accessible);
    accessible->Release();
    return result;
}

void Win32TextView::SetFont(HFONT font) {
    m_font = font;
    const FontContext measuring(m_window, m_font);
    HDC context = measuring.Get();
    TEXTMETRICW metrics;
    GetTextMetricsW(context, &metrics);
    SIZE digit;
    GetTextExtentPoint32W(context, L"0", 1, &digit);
    m_lineHeight = std::max(1, static_cast<int>(metrics.tmHeight));
    m_cell = std::max(1, static_cast<int>(digit.cx));
    Resize();
}

std::vector<int> Win32TextView::Edges(std::u16string_view characters) const {
    std::vector<int> edges(characters.size());
    const FontContext measuring(m_window, m_font);
    SIZE total;
    GetTextExtentExPointW(measuring.Get(), AsWide(characters), static_cast<int>(characters.size()),
                          0, nullptr, edges.data(), &total);
    return edges;
}

void Win32TextView::Resize() {
    RECT client;
    GetClientRect(m_window, &client);
    m_model.Resize(client.right, client.bottom);
    Changed();
}

// Vertically in lines, horizontally in digit cells, as the model scrolls.
void Win32TextView::Changed() {
    SCROLLINFO vertical{};
    vertical.cbSize = sizeof vertical;
    vertical.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    vertical.nMax = ScrollPosition(m_model.LineCount() - 1);
    vertical.nPage = static_cast<UINT>(m_model.LinesInSight());
    vertical.nPos = ScrollPosition(m_model.TopLine());
    SetScrollInfo(m_window, SB_VERT, &vertical, TRUE);
    SCROLLINFO horizontal{};
    horizontal.cbSize = sizeof horizontal;
    horizontal.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    horizontal.nMax = static_cast<int>(m_model.LastLeftCell() + m_model.CellsInSight() - 1);
    horizontal.nPage = static_cast<UINT>(m_model.CellsInSight());
    horizontal.nPos = static_cast<int>(m_model.LeftCell());
    SetScrollInfo(m_window, SB_HORZ, &horizontal, TRUE);
    if (GetFocus() == m_window) {
        const std::optional<ViewPoint> caret = m_model.CaretPoint();
        // Out of sight, the caret stands off the window, as the edit control's does.
        SetCaretPos(caret ? static_cast<int>(caret->x) : -m_lineHeight,
                    caret ? static_cast<int>(caret->y) : -m_lineHeight);
    }
    InvalidateRect(m_window, nullptr, FALSE);
}

void Win32TextView::OnScroll(int bar, int request) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(m_window, bar, &info);
    const long long page = std::max(1, static_cast<int>(info.nPage));
    long long position = info.nPos;
    switch (request) {
        case SB_LINEUP:
            position -= 1;
            break;
        case SB_LINEDOWN:
            position += 1;
            break;
        case SB_PAGEUP:
            position -= page;
            break;
        case SB_PAGEDOWN:
            position += page;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            position = info.nTrackPos;
            break;
        case SB_TOP:
            position = info.nMin;
            break;
        case SB_BOTTOM:
            position = info.nMax;
            break;
        default:
            return;
    }
    position = std::max(0LL, position);
    if (bar == SB_VERT) {
        m_model.ScrollTo(static_cast<std::size_t>(position), m_model.LeftCell());
    } else {
        m_model.ScrollTo(m_model.TopLine(), position);
    }
    Changed();
}

void Win32TextView::OnKey(WPARAM key) {
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    if (control && key == 'A') {
        Run(ViewCommand::SelectAll);
    } else if (control && (key == 'C' || key == VK_INSERT)) {
        Run(ViewCommand::Copy);
    } else if (const std::optional<ViewKey> viewKey = ViewKeyOf(key)) {
        m_model.Key(*viewKey, shift, control);
        Changed();
    }
}

// At the mouse, or at the caret when the menu was asked for from the keyboard.
void Win32TextView::OnContextMenu(LPARAM place) {
    POINT at{GET_X_LPARAM(place), GET_Y_LPARAM(place)};
    if (place == -1) {
        const ViewPoint caret = m_model.CaretPoint().value_or(ViewPoint{});
        at = {static_cast<int>(caret.x), static_cast<int>(caret.y) + m_lineHeight};
        ClientToScreen(m_window, &at);
    }
    HMENU menu = CreatePopupMenu();
    for (const ViewMenuItem& item : kViewMenu) {
        AppendMenuW(menu, MF_STRING | (m_model.CanDo(item.command) ? 0 : MF_GRAYED),
                    static_cast<UINT_PTR>(item.command), AsWide(item.text));
    }
    const auto chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x,
                                       at.y, 0, m_window, nullptr);
    DestroyMenu(menu);
    if (chosen != 0) {
        Run(static_cast<ViewCommand>(chosen));
    }
}

void Win32TextView::Run(ViewCommand command) {
    if (command == ViewCommand::Copy) {
        CopySelection();
    } else {
        m_model.Key(ViewKey::SelectAll, false, false);
        Changed();
    }
}

// Only what is in sight is measured and drawn, however long the text and its lines are.
void Win32TextView::Paint() {
    PAINTSTRUCT paint;
    HDC context = BeginPaint(m_window, &paint);
    RECT client;
    GetClientRect(m_window, &client);
    // The colours of a read-only edit control, which the dialog may change.
    auto* background = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(m_window), WM_CTLCOLORSTATIC,
                                                             reinterpret_cast<WPARAM>(context),
                                                             reinterpret_cast<LPARAM>(m_window)));
    FillRect(context, &client, background ? background : GetSysColorBrush(COLOR_BTNFACE));
    if (!IsWindowEnabled(m_window)) {
        SetTextColor(context, GetSysColor(COLOR_GRAYTEXT));
    }
    SetBkMode(context, TRANSPARENT);
    HGDIOBJ before = SelectObject(context, FontOrDefault(m_font));
    for (const TextViewModel::Row& row : m_model.Rows()) {
        DrawRun(context, row, 0, row.selectedFrom, m_lineHeight, false);
        DrawRun(context, row, row.selectedFrom, row.selectedTo, m_lineHeight, true);
        DrawRun(context, row, row.selectedTo, row.characters.size(), m_lineHeight, false);
    }
    SelectObject(context, before);
    EndPaint(m_window, &paint);
}

// The selection as it is, CR LF line breaks included.
void Win32TextView::CopySelection() const {
    const std::size_t from = m_model.SelectionStart();
    const std::size_t count = m_model.SelectionEnd() - from;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (count + 1) * sizeof(char16_t));
    if (memory == nullptr) {
        return;
    }
    auto* target = static_cast<char16_t*>(GlobalLock(memory));
    target[m_model.Text().CopyInto(target, from, count)] = u'\0';
    GlobalUnlock(memory);
    if (!OpenClipboard(m_window)) {
        GlobalFree(memory);
        return;
    }
    EmptyClipboard();
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
        GlobalFree(memory);
    }
    CloseClipboard();
}

LRESULT Win32TextView::CopyText(wchar_t* buffer, std::size_t capacity) const {
    if (buffer == nullptr || capacity == 0) {
        return 0;
    }
    const std::size_t count =
        m_model.Text().CopyInto(reinterpret_cast<char16_t*>(buffer), 0, capacity - 1);
    buffer[count] = L'\0';
    return static_cast<LRESULT>(count);
}

#include "ui/win32/Win32TextView.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

#include "ui/NearestColumn.h"
#include "ui/win32/WideText.h"

namespace {

constexpr wchar_t kClassName[] = L"TallowTextView";
constexpr int kMargin = 2;
constexpr int kWheelLines = 3;

// Where the characters of one line stand. A short line is laid out as the font lays it out; a
// long one (a file whose lines end in CR alone is one line of millions of digits) in cells one
// digit wide, so that any part of it is found and drawn without measuring what comes before it.
class LinePlacement {
  public:
    LinePlacement(HDC context, const SharedText& text, LineIndex::Line line, int cell)
        : m_size(line.length), m_cell(cell) {
        if (IsExact() && m_size > 0) {
            const WideString characters = text.Copy(line.start, line.length);
            m_edges.resize(m_size);
            SIZE total;
            GetTextExtentExPointW(context, AsWide(characters), static_cast<int>(m_size), 0, nullptr,
                                  m_edges.data(), &total);
        }
    }

    // The left edge of column (0 to the line's length), from the line's start.
    long long X(std::size_t column) const {
        column = std::min(column, m_size);
        if (IsExact()) {
            return column == 0 ? 0 : m_edges[column - 1];
        }
        return static_cast<long long>(column) * m_cell;
    }

    // The column boundary nearest to x.
    std::size_t ColumnAt(long long x) const {
        return NearestColumn(m_size, x, [this](std::size_t column) { return X(column); });
    }

  private:
    static constexpr std::size_t kLongestExactLine = 1024;
    bool IsExact() const { return m_size <= kLongestExactLine; }

    std::size_t m_size;
    int m_cell;
    std::vector<int> m_edges;
};

HGDIOBJ FontOrDefault(HFONT font) {
    return font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT);
}

// The view's device context with its font chosen, for measuring outside painting.
class FontContext {
  public:
    FontContext(HWND window, HFONT font)
        : m_window(window),
          m_context(GetDC(window)),
          m_before(SelectObject(m_context, FontOrDefault(font))) {}
    ~FontContext() {
        SelectObject(m_context, m_before);
        ReleaseDC(m_window, m_context);
    }
    FontContext(const FontContext&) = delete;
    FontContext& operator=(const FontContext&) = delete;
    HDC Get() const { return m_context; }

  private:
    HWND m_window;
    HDC m_context;
    HGDIOBJ m_before;
};

void RegisterClassOnce(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, kClassName, &existing)) {
        return;
    }
    WNDCLASSEXW viewClass{};
    viewClass.cbSize = sizeof viewClass;
    viewClass.lpfnWndProc = procedure;
    viewClass.hInstance = instance;
    viewClass.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
    viewClass.lpszClassName = kClassName;
    RegisterClassExW(&viewClass);
}

// One run of a line's columns, each in its own place, over the selection's colours when selected;
// shown holds the line's columns from shownFrom on.
void DrawRun(HDC context, const LinePlacement& placement, std::u16string_view shown,
             std::size_t shownFrom, std::size_t from, std::size_t to, long long left, int top,
             int height, bool selected) {
    if (from >= to) {
        return;
    }
    std::vector<int> advances(to - from);
    for (std::size_t column = from; column < to; ++column) {
        advances[column - from] = static_cast<int>(placement.X(column + 1) - placement.X(column));
    }
    const RECT area{static_cast<int>(left + placement.X(from)), top,
                    static_cast<int>(left + placement.X(to)), top + height};
    const COLORREF text = GetTextColor(context);
    const COLORREF back = GetBkColor(context);
    if (selected) {
        SetTextColor(context, GetSysColor(COLOR_HIGHLIGHTTEXT));
        SetBkColor(context, GetSysColor(COLOR_HIGHLIGHT));
    }
    ExtTextOutW(context, area.left, top, selected ? ETO_OPAQUE : 0, &area,
                AsWide(shown.substr(from - shownFrom, to - from)), static_cast<UINT>(to - from),
                advances.data());
    SetTextColor(context, text);
    SetBkColor(context, back);
}

}  // namespace

Win32TextView::Win32TextView(HWND window)
    : m_window(window), m_index(std::make_shared<const LineIndex>()) {}

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
    SharedText shownBefore = std::exchange(m_text, std::move(text));
    m_index = std::move(index);
    m_anchor = m_cursor = 0;
    ScrollTo(SB_VERT, 0);
    ScrollTo(SB_HORZ, 0);
    UpdateScrollBars();
    InvalidateRect(m_window, nullptr, TRUE);
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
        case WM_SIZE:
            UpdateScrollBars();
            return 0;
        case WM_ENABLE:
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
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
        case WM_MOUSEWHEEL:
            ScrollTo(SB_VERT, Position(SB_VERT) - static_cast<long long>(kWheelLines) *
                                                      GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
            return 0;
        case WM_KEYDOWN:
            OnKey(wParam);
            return 0;
        case WM_LBUTTONDOWN:
            SetFocus(m_window);
            SetCapture(m_window);
            Select(OffsetAt(lParam), OffsetAt(lParam));
            return 0;
        case WM_MOUSEMOVE:
            if (GetCapture() == m_window) {
                Select(m_anchor, OffsetAt(lParam));
            }
            return 0;
        case WM_LBUTTONUP:
            ReleaseCapture();
            return 0;
        case EM_SETSEL: {
            const auto end = static_cast<long long>(lParam);
            const std::size_t size = m_text.Size();
            Select(std::min(static_cast<std::size_t>(wParam), size),
                   end < 0 ? size : std::min<std::size_t>(end, size));
            return 0;
        }
        case WM_COPY:
            CopySelection();
            return 0;
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(m_text.Size());
        case WM_GETTEXT:
            return CopyText(reinterpret_cast<wchar_t*>(lParam), wParam);
        case WM_SETTEXT: {
            const SharedText text(std::make_shared<const WideString>(
                FromWide(lParam == 0 ? L"" : reinterpret_cast<const wchar_t*>(lParam))));
            auto index = std::make_shared<const LineIndex>(text);
            SetText(std::move(text), std::move(index));
            return TRUE;
        }
        default:
            return DefWindowProcW(m_window, message, wParam, lParam);
    }
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
    UpdateScrollBars();
    InvalidateRect(m_window, nullptr, TRUE);
}

int Win32TextView::VisibleLines() const {
    RECT client;
    GetClientRect(m_window, &client);
    return std::max(1, static_cast<int>(client.bottom) / m_lineHeight);
}

// Vertically in lines, horizontally in digit cells: both fit the scroll bars' int for any text
// the program holds.
void Win32TextView::UpdateScrollBars() {
    RECT client;
    GetClientRect(m_window, &client);
    SCROLLINFO vertical{};
    vertical.cbSize = sizeof vertical;
    vertical.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
    vertical.nMax = static_cast<int>(m_index->LineCount() - 1);
    vertical.nPage = static_cast<UINT>(VisibleLines());
    SetScrollInfo(m_window, SB_VERT, &vertical, TRUE);

    const FontContext measuring(m_window, m_font);
    HDC context = measuring.Get();
    const LineIndex::Line longest = LineIndex::LineAt(m_text, m_index->LongestLineStart());
    const long long width =
        LinePlacement(context, m_text, longest, m_cell).X(longest.length) + 2 * kMargin;
    SCROLLINFO horizontal{};
    horizontal.cbSize = sizeof horizontal;
    horizontal.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
    horizontal.nMax = static_cast<int>((width + m_cell - 1) / m_cell - 1);
    horizontal.nPage = static_cast<UINT>(std::max(1, static_cast<int>(client.right) / m_cell));
    SetScrollInfo(m_window, SB_HORZ, &horizontal, TRUE);
}

int Win32TextView::Position(int bar) const {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    GetScrollInfo(m_window, bar, &info);
    return info.nPos;
}

void Win32TextView::ScrollTo(int bar, long long position) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    info.nPos = static_cast<int>(std::clamp<long long>(position, 0, INT_MAX));
    SetScrollInfo(m_window, bar, &info, TRUE);
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
    ScrollTo(bar, position);
}

void Win32TextView::OnKey(WPARAM key) {
    const bool control = GetKeyState(VK_CONTROL) < 0;
    if (control && key == 'A') {
        Select(0, m_text.Size());
    } else if (control && (key == 'C' || key == VK_INSERT)) {
        CopySelection();
    } else if (key == VK_UP || key == VK_DOWN) {
        OnScroll(SB_VERT, key == VK_UP ? SB_LINEUP : SB_LINEDOWN);
    } else if (key == VK_PRIOR || key == VK_NEXT) {
        OnScroll(SB_VERT, key == VK_PRIOR ? SB_PAGEUP : SB_PAGEDOWN);
    } else if (key == VK_LEFT || key == VK_RIGHT) {
        OnScroll(SB_HORZ, key == VK_LEFT ? SB_LINEUP : SB_LINEDOWN);
    } else if (key == VK_HOME || key == VK_END) {
        OnScroll(control ? SB_VERT : SB_HORZ, key == VK_HOME ? SB_TOP : SB_BOTTOM);
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

    const SharedText& text = m_text;
    const auto first = static_cast<std::size_t>(Position(SB_VERT));
    const std::size_t last =
        std::min(m_index->LineCount(), first + static_cast<std::size_t>(VisibleLines()) + 1);
    const long long scrolled = static_cast<long long>(Position(SB_HORZ)) * m_cell;
    const long long left = kMargin - scrolled;
    const std::size_t selectionStart = std::min(m_anchor, m_cursor);
    const std::size_t selectionEnd = std::max(m_anchor, m_cursor);
    std::size_t start = first < last ? m_index->LineStart(text, first) : 0;
    for (std::size_t line = first; line < last; ++line) {
        const LineIndex::Line characters = LineIndex::LineAt(text, start);
        const LinePlacement placement(context, text, characters, m_cell);
        const int top = static_cast<int>(line - first) * m_lineHeight;
        const std::size_t begin = placement.ColumnAt(scrolled - m_cell);
        const std::size_t end =
            std::min(characters.length, placement.ColumnAt(scrolled + client.right) + 1);
        const std::size_t from = std::clamp(selectionStart, start + begin, start + end) - start;
        const std::size_t to = std::clamp(selectionEnd, start + begin, start + end) - start;
        const WideString shown = text.Copy(start + begin, end - begin);
        DrawRun(context, placement, shown, begin, begin, from, left, top, m_lineHeight, false);
        DrawRun(context, placement, shown, begin, from, to, left, top, m_lineHeight, true);
        DrawRun(context, placement, shown, begin, to, end, left, top, m_lineHeight, false);
        const std::size_t lineEnd = text.Find(u'\n', start);
        if (lineEnd == SharedText::npos) {
            break;
        }
        start = lineEnd + 1;
    }
    SelectObject(context, before);
    EndPaint(m_window, &paint);
}

std::size_t Win32TextView::OffsetAt(LPARAM point) const {
    const SharedText& text = m_text;
    const long long row = std::max(0, GET_Y_LPARAM(point)) / m_lineHeight;
    const std::size_t line = std::min<std::size_t>(
        m_index->LineCount() - 1, static_cast<std::size_t>(Position(SB_VERT) + row));
    const std::size_t start = m_index->LineStart(text, line);
    const FontContext measuring(m_window, m_font);
    HDC context = measuring.Get();
    const LinePlacement placement(context, text, LineIndex::LineAt(text, start), m_cell);
    const std::size_t column = placement.ColumnAt(
        GET_X_LPARAM(point) - kMargin + static_cast<long long>(Position(SB_HORZ)) * m_cell);
    return start + column;
}

void Win32TextView::Select(std::size_t anchor, std::size_t cursor) {
    m_anchor = anchor;
    m_cursor = cursor;
    InvalidateRect(m_window, nullptr, FALSE);
}

// The selection as it is, CR LF line breaks included.
void Win32TextView::CopySelection() const {
    const std::size_t from = std::min(m_anchor, m_cursor);
    const std::size_t count = std::max(m_anchor, m_cursor) - from;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (count + 1) * sizeof(char16_t));
    if (memory == nullptr) {
        return;
    }
    auto* target = static_cast<char16_t*>(GlobalLock(memory));
    target[m_text.CopyInto(target, from, count)] = u'\0';
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
    const std::size_t count = m_text.CopyInto(reinterpret_cast<char16_t*>(buffer), 0, capacity - 1);
    buffer[count] = L'\0';
    return static_cast<LRESULT>(count);
}

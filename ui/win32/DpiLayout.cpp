#include "ui/win32/DpiLayout.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "ui/TextFit.h"
#include "ui/win32/FontContext.h"
#include "ui/win32/WindowText.h"

namespace {

// A left-aligned static text has free room to its right: it grows to show its whole text.
BOOL CALLBACK FitStaticText(HWND control, LPARAM) {
    if (!HasClass(control, L"Static") ||
        (GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) != SS_LEFT) {
        return TRUE;
    }
    const int width = FontContext(control, FontOf(control)).Width(WindowText(control));
    RECT place;
    GetWindowRect(control, &place);
    if (width > place.right - place.left) {
        SetWindowPos(control, nullptr, 0, 0, width, place.bottom - place.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return TRUE;
}

using DialogDpiChange = BOOL(WINAPI*)(HWND, int, int);

// Windows would also rescale the dialog on its own, from the template, undoing the fitting.
void StopSystemRescaling(HWND window) {
    constexpr int kDisableAll = 1 | 2 | 4;
    const auto set = reinterpret_cast<DialogDpiChange>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetDialogDpiChangeBehavior")));
    if (set != nullptr) {
        set(window, kDisableAll, kDisableAll);
    }
}

}  // namespace

DpiLayout::~DpiLayout() {
    for (const HFONT font : m_buttonFonts) {
        DeleteObject(font);
    }
    if (m_dialogFont != nullptr) {
        DeleteObject(m_dialogFont);
    }
}

UINT DpiLayout::DpiOf(HWND window) {
    using GetDpi = UINT(WINAPI*)(HWND);
    const auto get = reinterpret_cast<GetDpi>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (get != nullptr) {
        return get(window);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

void DpiLayout::Start(HWND window) {
    StopSystemRescaling(window);
    m_dpi = DpiOf(window);
    GetObjectW(FontOf(window), sizeof m_font, &m_font);
    FitTexts(window, m_dpi);
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        RECT place;
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
        m_placed.push_back({child, place});
    }
}

void DpiLayout::Rescale(HWND window, UINT dpi, const RECT& place) {
    const auto scaled = [&](LONG length) { return MulDiv(length, static_cast<int>(dpi), m_dpi); };
    LOGFONTW font = m_font;
    font.lfHeight = scaled(m_font.lfHeight);
    HFONT dialogFont = CreateFontIndirectW(&font);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont), FALSE);
    for (const Placed& placed : m_placed) {
        const RECT& at = placed.place;
        SetWindowPos(placed.control, nullptr, scaled(at.left), scaled(at.top),
                     scaled(at.right - at.left), scaled(at.bottom - at.top),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(placed.control, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont), FALSE);
    }
    for (const HFONT old : m_buttonFonts) {
        DeleteObject(old);
    }
    m_buttonFonts.clear();
    if (m_dialogFont != nullptr) {
        DeleteObject(m_dialogFont);
    }
    m_dialogFont = dialogFont;
    FitTexts(window, dpi);
    SetWindowPos(window, nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window, nullptr, TRUE);
}

void DpiLayout::FitTexts(HWND window, UINT dpi) {
    EnumChildWindows(window, &FitStaticText, 0);
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (HasClass(child, L"Button")) {
            FitButton(child, dpi);
        }
    }
}

// A button keeps its size, which the layout needs, and takes a smaller font, down to 6 points.
void DpiLayout::FitButton(HWND button, UINT dpi) {
    const auto pixels = [&](int length) { return MulDiv(length, static_cast<int>(dpi), 96); };
    const LONG type = GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK;
    RECT client;
    GetClientRect(button, &client);
    // A check box's mark and the gap after it, or a button's edges.
    const int margin = pixels(type == BS_AUTOCHECKBOX ? 17 : 8);
    const std::wstring text = WindowText(button);
    LOGFONTW font{};
    GetObjectW(FontOf(button), sizeof font, &font);
    const auto widthAt = [&](double height) {
        font.lfHeight = -std::lround(height);
        HFONT sized = CreateFontIndirectW(&font);
        const int width = FontContext(button, sized).Width(text);
        DeleteObject(sized);
        return width;
    };
    const double height = std::abs(font.lfHeight);
    const double fitting = FittingFontSize(height, MulDiv(6, static_cast<int>(dpi), 72),
                                           client.right - margin, widthAt);
    if (fitting < height) {
        font.lfHeight = -std::lround(fitting);
        m_buttonFonts.push_back(CreateFontIndirectW(&font));
        SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(m_buttonFonts.back()), TRUE);
    }
}

#pragma once

#include <windows.h>

#include <vector>

// The window's layout at the DPI it was made for and at any other: each control keeps its place
// and size from then, scaled; the dialog's font is made anew at the new DPI; labels then grow, and
// buttons and check boxes take a smaller font, until each shows its whole text.
class DpiLayout {
  public:
    DpiLayout() = default;
    ~DpiLayout();
    DpiLayout(const DpiLayout&) = delete;
    DpiLayout& operator=(const DpiLayout&) = delete;

    // Fits the texts, then keeps the layout as the one to scale from.
    void Start(HWND window);
    // Lays the window out for dpi, in place, its new outer rectangle.
    void Rescale(HWND window, UINT dpi, const RECT& place);
    static UINT DpiOf(HWND window);

  private:
    struct Placed {
        HWND control;
        RECT place;
    };
    void FitTexts(HWND window, UINT dpi);
    void FitButton(HWND button, UINT dpi);

    std::vector<Placed> m_placed;
    LOGFONTW m_font{};
    UINT m_dpi = USER_DEFAULT_SCREEN_DPI;
    // The fonts made here, which the controls use until the next rescale.
    HFONT m_dialogFont = nullptr;
    std::vector<HFONT> m_buttonFonts;
};

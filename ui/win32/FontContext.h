#pragma once

#include <windows.h>

#include <string_view>

inline HGDIOBJ FontOrDefault(HFONT font) {
    return font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT);
}

// A window's device context with a font chosen, for measuring outside painting.
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
    int Width(std::wstring_view text) const {
        SIZE extent{};
        GetTextExtentPoint32W(m_context, text.data(), static_cast<int>(text.size()), &extent);
        return extent.cx;
    }

  private:
    HWND m_window;
    HDC m_context;
    HGDIOBJ m_before;
};

inline HFONT FontOf(HWND control) {
    return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
}

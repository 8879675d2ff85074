#pragma once

#include <windows.h>

#include <memory>

#include "ui/LineIndex.h"
#include "ui/Toolkit.h"

// A read-only view of a text of any size, put in the place of a multi-line edit control, which
// takes tens of seconds to show a million lines. It draws only the lines in sight and holds the
// text once, shared with whoever handed it over. Text is selected with the mouse, Ctrl+A or
// EM_SETSEL and copied with Ctrl+C or WM_COPY, as in the edit control.
class Win32TextView {
  public:
    // Puts a view in the edit control's place, with its id, place, styles, font and tab order.
    static void Replace(HWND edit);
    static Win32TextView* From(HWND window);

    // Shows text from its start; returns the text shown before, for the caller to let go.
    SharedText SetText(SharedText text, std::shared_ptr<const LineIndex> index);
    const SharedText& Text() const { return m_text; }

  private:
    explicit Win32TextView(HWND window);
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void SetFont(HFONT font);
    void Paint();
    void UpdateScrollBars();
    int Position(int bar) const;
    void ScrollTo(int bar, long long position);
    void OnScroll(int bar, int request);
    void OnKey(WPARAM key);
    int VisibleLines() const;
    std::size_t OffsetAt(LPARAM point) const;
    void Select(std::size_t anchor, std::size_t cursor);
    void CopySelection() const;
    LRESULT CopyText(wchar_t* buffer, std::size_t capacity) const;

    HWND m_window;
    HFONT m_font = nullptr;
    int m_lineHeight = 16;
    int m_cell = 8;
    SharedText m_text;
    std::shared_ptr<const LineIndex> m_index;
    std::size_t m_anchor = 0;
    std::size_t m_cursor = 0;
};

#pragma once

#include <windows.h>

#include <memory>

#include "ui/TextViewModel.h"

// A read-only view of a text of any size, put in the place of a multi-line edit control, which
// takes tens of seconds to show a million lines. The caret, the selection and the scrolling are
// the model's; this window measures, draws, and turns messages into the model's events. It answers
// EM_SETSEL, EM_GETSEL, WM_COPY and WM_GETTEXT as the edit control does, and gives assistive
// technology the edit control's standard accessible object, which reads it through them.
class Win32TextView final : private TextMetrics {
  public:
    // Puts a view in the edit control's place, with its id, place, styles, font and tab order.
    static void Replace(HWND edit);
    static Win32TextView* From(HWND window);

    // Shows text from its start; returns the text shown before, for the caller to let go.
    SharedText SetText(SharedText text, std::shared_ptr<const LineIndex> index);
    const SharedText& Text() const { return m_model.Text(); }

  private:
    explicit Win32TextView(HWND window);
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMouse(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT AnswerPlacement(UINT message, WPARAM wParam, LPARAM lParam) const;
    int LineHeight() const override { return m_lineHeight; }
    int CellWidth() const override { return m_cell; }
    std::vector<int> Edges(std::u16string_view characters) const override;
    void SetFont(HFONT font);
    void Resize();
    // Brings the scroll bars, the caret and the drawing up to the model.
    void Changed();
    void Paint();
    void OnScroll(int bar, int request);
    void OnKey(WPARAM key);
    void OnContextMenu(LPARAM place);
    void Run(ViewCommand command);
    void CopySelection() const;
    LRESULT CopyText(wchar_t* buffer, std::size_t capacity) const;
    LRESULT AccessibleObject(WPARAM flags) const;

    HWND m_window;
    HFONT m_font = nullptr;
    int m_lineHeight = 16;
    int m_cell = 8;
    TextViewModel m_model{*this};
    ViewPoint m_dragPoint;
};

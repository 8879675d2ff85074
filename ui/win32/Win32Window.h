#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "ui/win32/DpiLayout.h"
#include "ui/win32/FileDropTarget.h"

class DialogEvents;

// The main window, created from dialog template 102 and run by a message loop of its own. Key-down
// messages never reach the dialog manager: Enter, Escape, Tab and the arrow keys go only to the
// focused control, so they neither close the window nor move the focus. Alt and a control's
// access key reach that control; files dragged onto the window go to the dialog.
class Win32Window {
  public:
    // The private message that has the window's thread run the calls other threads posted.
    static constexpr UINT kRunPosted = WM_APP + 1;
    // The browse button's file dialog, opened once the click that asked for it has returned.
    static constexpr UINT kBrowse = WM_APP + 2;
    // A file dropped on the window, loaded once the drag and drop has returned.
    static constexpr UINT kDropped = WM_APP + 3;

    explicit Win32Window(HINSTANCE instance);
    ~Win32Window();
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    // Creates the window and initialises the dialog, hidden; false when the dialog ended there.
    // Otherwise shows the window.
    bool Start(DialogEvents& dialog);
    // Runs the window until the dialog ends; returns its result.
    void Run();
    // One message through the key filter and the dialog manager, as Run takes it.
    void ProcessMessage(MSG& message);
    void EndDialog();
    bool Ended() const { return m_ended; }

    HWND Handle() const { return m_window; }
    HWND Control(int id) const { return GetDlgItem(m_window, id); }
    // The control of that object name in the control table; browseButton is the path field's.
    HWND ControlNamed(std::string_view objectName) const;
    HINSTANCE Instance() const { return m_instance; }
    // What the two links show and open with the shell: the working folder and the help file.
    // Shown at once when the window is there.
    void SetLinks(std::wstring workingFolder, std::wstring helpFile);
    // Shows text in an edit; the only way into a read-only one, or one no user can reach, which
    // refuse WM_SETTEXT from anyone else (assistive technology and other programs may send it).
    static void ShowOwnText(HWND edit, const wchar_t* text);
    // The program's own tick, which a check box takes even while no user can reach it.
    static void SetOwnCheck(HWND box, bool checked);
    // Shown and enabled: what a user can reach.
    static bool IsUsable(HWND control);
    static std::wstring TextOf(HWND control);
    // One count for the whole process: the hourglass shows while it is above zero.
    void ChangeWaitCount(int change);
    // What the shell's drag and drop calls while files are dragged over the window.
    IDropTarget& DropTarget() { return m_dropTarget; }

  private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnCommand(int id, int code);
    bool PaintMinimised();
    void Browse();
    void OpenLink(int id) const;
    // Presses or focuses the control that Alt and key reach; false when key is no access key.
    bool TakeAccessKey(WPARAM key);
    void AddTooltips();
    const wchar_t* TooltipOf(HWND control);
    // The links show as much of their paths as their width holds.
    void ShowLinks();
    void LoadIcons(UINT dpi);

    HINSTANCE m_instance;
    std::wstring m_workingFolder;
    std::wstring m_helpFile;
    HWND m_window = nullptr;
    HICON m_icon = nullptr;
    HICON m_smallIcon = nullptr;
    DpiLayout m_layout;
    FileDropTarget m_dropTarget;
    DroppedFiles m_dropped;
    std::wstring m_tooltip;
    DialogEvents* m_dialog = nullptr;
    bool m_ended = false;
    int m_waitCount = 0;
};

#pragma once

#include <windows.h>

#include "ui/ToolkitBase.h"

class Win32Window;

// The toolkit on plain Win32. A call from another thread reaches the window's thread through a
// synchronous SendMessage and returns once it was carried out there. The window's thread waits for
// the worker only when a new thread starts or the toolkit goes, both after the worker's last
// message.
class Win32Toolkit : public ToolkitBase {
  public:
    explicit Win32Toolkit(Win32Window& window);
    ~Win32Toolkit() override;

    // The path field's browse button is shown and enabled with it.
    bool SetVisible(ControlId control, bool visible) override;
    void SetEnabled(ControlId control, bool enabled) override;
    bool IsUsable(ControlId control) override;
    // The views' texts as handed over; any other control's window text.
    SharedText GetText(ControlId control) override;
    // Button and progress-bar messages.
    bool IsChecked(ControlId control) override;
    void SetChecked(ControlId control, bool checked) override;
    void SetProgressRange(ControlId control, std::int32_t maximum) override;
    void SetProgressPosition(ControlId control, std::int32_t position) override;
    // Owned by the window and brought to the front, hidden or not.
    void ShowMessage(std::u16string_view text, MessageIcon icon) override;
    void Beep() override;
    // Counted by the window, which shows the wait cursor while the count is above zero.
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    // The resource's About box, centred over the window.
    void ShowAboutBox() override;
    void EndDialog() override;
    std::optional<std::filesystem::path> AskSavePath(const SaveDialogOptions& options) override;
    // From the worker, a message to the dialog goes as a window message, as a dialog's would.
    // The shell's known folder.
    std::filesystem::path DocumentsFolder() override;
    std::filesystem::path ExecutablePath() override;

  private:
    // Through a SendMessage to the window, handled by its procedure.
    void RunOnWindowThread(const std::function<void()>& call) override;
    bool OnWindowThreadNow() const override;
    // 1013 and 1014, which the window put views in the place of.
    bool IsTextView(ControlId control) const override;
    void ShowText(ControlId control, SharedText text) override;
    SharedText ShowInView(ControlId control, SharedText text,
                          std::shared_ptr<const LineIndex> index) override;
    HWND Control(ControlId control) const;

    Win32Window& m_window;
    DWORD m_windowThread;
};

#pragma once

#include <windows.h>

#include "ui/ToolkitBase.h"

class Win32Window;

// The toolkit on plain Win32. Calls posted from another thread run on the window's thread,
// woken by a posted window message that the poster never waits for.
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
    // Owned by the window and brought to the front, hidden or not; none once it has ended.
    void ShowMessage(std::u16string_view text, MessageIcon icon) override;
    void Beep() override;
    // Counted by the window, which shows the wait cursor while the count is above zero.
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    // The resource's About box, centred over the window.
    void ShowAboutBox() override;
    void EndDialog() override;
    std::optional<std::filesystem::path> AskSavePath(const SaveDialogOptions& options) override;
    // The shell's known folder.
    std::filesystem::path DocumentsFolder() override;
    std::filesystem::path ExecutablePath() override;

  private:
    // Through a message posted to the window, whose procedure runs what it carries.
    void WakeWindowThread() override;
    // 1013 and 1014, which the window put views in the place of.
    bool IsTextView(ControlId control) const override;
    void ShowText(ControlId control, SharedText text) override;
    SharedText ShowInView(ControlId control, SharedText text,
                          std::shared_ptr<const LineIndex> index) override;
    HWND Control(ControlId control) const;

    Win32Window& m_window;
    const std::function<void()> m_runPosted = [this] { RunPosted(); };
};

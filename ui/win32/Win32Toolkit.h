#pragma once

#include <windows.h>

#include <thread>

#include "ui/Toolkit.h"

class Win32Window;

// The toolkit on plain Win32. A call from another thread reaches the window's thread through a
// synchronous SendMessage and returns once it was carried out there. The window's thread waits for
// the worker only when a new thread starts or the toolkit goes, both after the worker's last
// message.
class Win32Toolkit : public Toolkit {
  public:
    explicit Win32Toolkit(Win32Window& window);
    ~Win32Toolkit() override;

    bool SetVisible(ControlId control, bool visible) override;
    void SetEnabled(ControlId control, bool enabled) override;
    SharedText GetText(ControlId control) override;
    void SetText(ControlId control, SharedText text) override;
    bool IsChecked(ControlId control) override;
    void SetChecked(ControlId control, bool checked) override;
    void SetProgressRange(ControlId control, std::int32_t maximum) override;
    void SetProgressPosition(ControlId control, std::int32_t position) override;
    void ShowMessage(std::u16string_view text, MessageIcon icon) override;
    void Beep() override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void ShowAboutBox() override;
    void EndDialog(int result) override;
    std::optional<std::filesystem::path> AskSavePath(const SaveDialogOptions& options) override;
    bool BeginThread(std::function<void()> body) override;
    std::intptr_t SendDialogMessage(MessageTarget& target, unsigned message) override;
    std::filesystem::path DocumentsFolder() override;
    std::filesystem::path ExecutablePath() override;

  private:
    template <typename Operation>
    auto OnWindowThread(Operation operation);
    HWND Control(ControlId control) const;

    Win32Window& m_window;
    DWORD m_windowThread;
    std::thread m_worker;
};

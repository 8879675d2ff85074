#pragma once

#include <QObject>
#include <QThread>
#include <deque>
#include <map>
#include <mutex>

#include "ui/ToolkitBase.h"

class QWidget;
class TallowWindow;

// The toolkit on Qt widgets. Calls from another thread are carried out on the window's thread
// and block until done. The window's thread waits for the worker only when a new thread starts or
// the toolkit goes; the dialog lets both happen only after the worker's last call.
class QtToolkit : public ToolkitBase {
  public:
    explicit QtToolkit(TallowWindow& window);
    ~QtToolkit() override;

    // Boxes and dialogs, modal over the window while it is shown.
    void ShowMessage(std::u16string_view text, MessageIcon icon) override;
    void ShowAboutBox() override;
    std::optional<std::filesystem::path> AskSavePath(const SaveDialogOptions& options) override;
    void EndDialog() override;
    // The application's override cursor, and its beep.
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void Beep() override;
    // Widgets found by their control's id; texts as written are kept beside them.
    SharedText GetText(ControlId control) override;
    void SetProgressRange(ControlId control, std::int32_t maximum) override;
    void SetProgressPosition(ControlId control, std::int32_t position) override;
    bool IsChecked(ControlId control) override;
    void SetChecked(ControlId control, bool checked) override;
    bool SetVisible(ControlId control, bool visible) override;
    void SetEnabled(ControlId control, bool enabled) override;
    bool IsUsable(ControlId control) override;
    // The user's XDG Documents folder.
    std::filesystem::path DocumentsFolder() override;
    std::filesystem::path ExecutablePath() override;
    // A modal box captioned with the program's name, over parent when there is one.
    static void ExecMessageBox(std::u16string_view text, MessageIcon icon, QWidget* parent);

    // Whether message boxes can be shown at all; without a display they are skipped.
    void SetMessagesShown(bool shown) { m_messagesShown = shown; }

  private:
    bool OnWindowThreadNow() const override;
    void RunOnWindowThread(const std::function<void()>& call) override;
    bool IsTextView(ControlId control) const override;
    SharedText ShowInView(ControlId control, SharedText text,
                          std::shared_ptr<const LineIndex> index) override;
    void ShowText(ControlId control, SharedText text) override;
    void RunQueuedTasks();

    TallowWindow& m_window;
    QObject m_context;
    // Exact texts as written; widgets would give them back with LF only. The views hold their own.
    std::map<ControlId, SharedText> m_texts;
    std::mutex m_tasksMutex;
    std::deque<std::function<void()>> m_tasks;
    bool m_messagesShown = true;
};

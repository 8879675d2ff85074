#pragma once

#include <QObject>
#include <map>

#include "ui/ToolkitBase.h"

class QWidget;
class TallowWindow;

// The toolkit on Qt widgets. Calls posted from another thread run on the window's thread through a
// queued call, which the poster never waits for.
class QtToolkit : public ToolkitBase {
  public:
    explicit QtToolkit(TallowWindow& window);
    ~QtToolkit() override;

    // Boxes and dialogs, modal over the window while it is shown; none once it has ended.
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
    void WakeWindowThread() override;
    bool IsTextView(ControlId control) const override;
    SharedText ShowInView(ControlId control, SharedText text,
                          std::shared_ptr<const LineIndex> index) override;
    void ShowText(ControlId control, SharedText text) override;

    TallowWindow& m_window;
    QObject m_context;
    // Exact texts as written; widgets would give them back with LF only. The views hold their own.
    std::map<ControlId, SharedText> m_texts;
    bool m_messagesShown = true;
};

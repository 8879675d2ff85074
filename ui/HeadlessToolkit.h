#pragma once

#include <map>
#include <vector>

#include "ui/Toolkit.h"

// The toolkit of a run that shows no window: controls are states in memory, and the message
// boxes asked for are kept, in order, to be shown once the run is over, if a display is there.
// An automatic run needs no display connection to do its work, nor waits for one.
class HeadlessToolkit final : public Toolkit {
  public:
    struct Message {
        std::u16string text;
        MessageIcon icon;
    };

    HeadlessToolkit(std::filesystem::path documents, std::filesystem::path executable)
        : m_documents(std::move(documents)), m_executable(std::move(executable)) {}

    bool SetVisible(ControlId control, bool visible) override;
    void SetEnabled(ControlId, bool) override {}
    // No one can reach a control that is never shown.
    bool IsUsable(ControlId) override { return false; }
    SharedText GetText(ControlId control) override { return m_texts[control]; }
    void SetText(ControlId control, SharedText text, std::shared_ptr<const LineIndex>) override {
        m_texts[control] = std::move(text);
    }
    bool IsChecked(ControlId control) override { return m_checked[control]; }
    void SetChecked(ControlId control, bool checked) override { m_checked[control] = checked; }
    void SetProgressRange(ControlId, std::int32_t) override {}
    void SetProgressPosition(ControlId, std::int32_t) override {}
    void ShowMessage(std::u16string_view text, MessageIcon icon) override {
        m_messages.push_back({std::u16string(text), icon});
    }
    void Beep() override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void ShowAboutBox() override {}
    // The run's outcome, which the dialog keeps, is all that its end tells.
    void EndDialog() override {}
    std::optional<std::filesystem::path> AskSavePath(const SaveDialogOptions&) override {
        return std::nullopt;
    }
    bool BeginThread(std::function<void()> body) override;
    // With no event loop to come back to, what is posted runs here and now.
    void Post(std::function<void()> call) override { call(); }
    std::filesystem::path DocumentsFolder() override { return m_documents; }
    std::filesystem::path ExecutablePath() override { return m_executable; }

    const std::vector<Message>& Messages() const { return m_messages; }

  private:
    std::filesystem::path m_documents;
    std::filesystem::path m_executable;
    std::map<ControlId, SharedText> m_texts;
    std::map<ControlId, bool> m_checked;
    std::map<ControlId, bool> m_hidden;
    std::vector<Message> m_messages;
};

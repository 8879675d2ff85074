#pragma once

#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ui/TallowDlg.h"
#include "ui/Toolkit.h"

// A toolkit without a window: it keeps each control's state, records every call in order, and
// answers the save dialog as the test says. Its threads run inline unless told otherwise.
class FakeToolkit : public Toolkit {
  private:
    template <typename Read>
    auto Locked(Read read) const {
        std::lock_guard lock(m_mutex);
        return read();
    }
    // Records call, then changes the state under the same lock.
    template <typename Change>
    auto Update(std::string call, Change change) {
        std::lock_guard lock(m_mutex);
        m_calls.push_back(std::move(call));
        return change();
    }

  public:
    struct ControlState {
        bool visible = true;
        bool enabled = true;
        bool checked = false;
        SharedText text = std::make_shared<const WideString>();
        std::int32_t maximum = 100;
        std::int32_t position = 0;
    };
    struct Message {
        WideString text;
        MessageIcon icon;
    };

    explicit FakeToolkit(std::filesystem::path documents);
    ~FakeToolkit() override;

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
    std::filesystem::path DocumentsFolder() override { return m_documents; }
    std::filesystem::path ExecutablePath() override { return m_executable; }

    // What a user does: a click on a hidden or disabled control does nothing; on a check box it
    // toggles the tick before the notification.
    void Click(CTallowDlg& dialog, ControlId control);
    void Type(ControlId control, std::u16string_view text);

    ControlState State(ControlId control) const;
    WideString Text(ControlId control) const { return *State(control).text; }
    std::vector<Message> Messages() const {
        return Locked([&] { return m_messages; });
    }
    std::vector<std::u16string> MessageTexts() const;
    std::vector<std::string> Calls() const {
        return Locked([&] { return m_calls; });
    }
    int Beeps() const {
        return Locked([&] { return m_beeps; });
    }
    int WaitCursorDepth() const {
        return Locked([&] { return m_waitCursorDepth; });
    }
    std::optional<int> EndResult() const {
        return Locked([&] { return m_endResult; });
    }
    std::optional<SaveDialogOptions> LastSaveDialog() const {
        return Locked([&] { return m_lastSaveDialog; });
    }
    void ClearRecords();
    // Every control back to visible, enabled and its template text, and nothing recorded.
    void Reset();

    void SetExecutable(std::filesystem::path executable) { m_executable = std::move(executable); }
    void AnswerSaveDialog(std::optional<std::filesystem::path> answer) { m_saveAnswer = answer; }
    // Runs workers on threads of their own; JoinWorker waits for the last one.
    void RunThreadsForReal() { m_realThreads = true; }
    void JoinWorker();
    void RefuseThreads() { m_refuseThreads = true; }
    // Called after every text write, on the writing thread; a message box is a write to no control.
    void OnTextSet(std::function<void(std::optional<ControlId>, const WideString&)> reaction) {
        std::lock_guard lock(m_mutex);
        m_onTextSet = std::move(reaction);
    }

  private:
    mutable std::mutex m_mutex;
    std::map<ControlId, ControlState> m_controls;
    std::vector<Message> m_messages;
    std::vector<std::string> m_calls;
    int m_beeps = 0;
    int m_waitCursorDepth = 0;
    std::optional<int> m_endResult;
    std::optional<SaveDialogOptions> m_lastSaveDialog;
    std::optional<std::filesystem::path> m_saveAnswer;
    std::filesystem::path m_documents;
    std::filesystem::path m_executable = "/opt/tallow/bin/Tallow";
    bool m_realThreads = false;
    bool m_refuseThreads = false;
    std::thread m_worker;
    std::function<void(std::optional<ControlId>, const WideString&)> m_onTextSet;
};

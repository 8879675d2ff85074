#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <future>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "ui/TallowDlg.h"
#include "ui/Toolkit.h"

// One call the dialog made on the toolkit.
struct Event {
    enum class Kind {
        Show,
        Hide,
        Enable,
        Disable,
        Text,
        Check,
        Uncheck,
        Range,
        Position,
        Message,
        Beep,
        WaitCursor,
        EndWaitCursor,
        About,
        End,
        SaveDialog,
        Send
    };
    Kind kind;
    std::optional<ControlId> control = {};
    // The text written, or the message box's.
    WideString text = {};
    // The range, the position, the dialog's result, the message sent or the box's icon.
    std::int64_t value = 0;

    bool operator==(const Event&) const = default;
};

inline Event MessageEvent(std::u16string_view text, MessageIcon icon) {
    return {Event::Kind::Message, {}, WideString(text), static_cast<std::int64_t>(icon)};
}

// A toolkit without a window: it keeps each control's state and every call in order, and answers
// the save dialog as the test says. The thread that made it stands for the window's thread:
// messages sent from other threads wait in a queue until it handles them, as clicks would. Threads
// run inline unless told otherwise.
class FakeToolkit : public Toolkit {
  public:
    struct ControlState {
        bool visible = true;
        bool enabled = true;
        bool checked = false;
        SharedText text = std::make_shared<const WideString>();
        std::int32_t maximum = 100;
        std::int32_t position = 0;
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
    std::vector<Event> Events() const;
    std::vector<Event> EventsOf(Event::Kind kind) const;
    std::vector<WideString> MessageTexts() const;
    int WaitCursorDepth() const;
    std::optional<int> EndResult() const;
    void ClearEvents();
    // Every control back to visible, enabled and its template text, and no events.
    void Reset();

    void SetExecutable(std::filesystem::path executable) { m_executable = std::move(executable); }
    void AnswerSaveDialog(std::optional<std::filesystem::path> answer) { m_saveAnswer = answer; }
    // Runs workers on threads of their own; JoinWorker handles their messages and waits for the
    // last one to end.
    void RunThreadsForReal() { m_realThreads = true; }
    void JoinWorker();
    void RefuseThreads() { m_refuseThreads = true; }
    // Waits, without handling it, until a message from another thread is waiting.
    bool AwaitQueuedMessage();
    // Called after every event, on the thread that caused it.
    void OnEvent(std::function<void(const Event&)> reaction);

  private:
    // Records the event and changes the state under one lock, then reacts to the event.
    template <typename Change>
    auto Record(const Event& event, Change change);
    bool RunUntil(const std::function<bool()>& done);

    mutable std::mutex m_mutex;
    std::condition_variable m_queued;
    std::map<ControlId, ControlState> m_controls;
    std::vector<Event> m_events;
    std::function<void(const Event&)> m_onEvent;
    int m_waitCursorDepth = 0;
    std::optional<int> m_endResult;
    std::optional<std::filesystem::path> m_saveAnswer;
    std::filesystem::path m_documents;
    std::filesystem::path m_executable = "/opt/tallow/bin/Tallow";
    bool m_realThreads = false;
    bool m_refuseThreads = false;
    const std::thread::id m_windowThread = std::this_thread::get_id();
    std::deque<std::packaged_task<std::intptr_t()>> m_messages;
    std::thread m_worker;
    bool m_workerEnded = false;
};

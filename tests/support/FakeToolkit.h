#pragma once

#include <condition_variable>
#include <deque>
#include <future>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "jobs/TallowDlg.h"
#include "ui/Toolkit.h"

// One call the dialog made on the toolkit.
struct Event {
    enum class Kind { Visible, Enabled, Text, Checked, Range, Position, Message, Beep, End };
    Kind kind;
    std::optional<ControlId> control = {};
    // The text written, or the message box's.
    WideString text = {};
    // The new state, the range, the position, the dialog's result, the message or the box's icon.
    std::int64_t value = 0;

    bool operator==(const Event&) const = default;
};

inline Event MessageEvent(std::u16string_view text, MessageIcon icon) {
    return {Event::Kind::Message, {}, WideString(text), static_cast<std::int64_t>(icon)};
}

// A toolkit without a window: it keeps each control's state and the calls in order, and answers
// the save dialog as the test says. The thread that made it stands for the window's thread: what
// is posted waits until it runs there, between clicks. Threads run inline unless told otherwise.
class FakeToolkit : public Toolkit {
    using Kind = Event::Kind;

  public:
    struct ControlState {
        bool visible = true;
        bool enabled = true;
        bool checked = false;
        SharedText text;
        std::int32_t maximum = 100;
        std::int32_t position = 0;
    };

    explicit FakeToolkit(std::filesystem::path documents) : m_documents(std::move(documents)) {
        Reset();
    }
    ~FakeToolkit() override { JoinWorker(); }

    bool SetVisible(ControlId id, bool visible) override {
        return Record({Kind::Visible, id, {}, visible}, &ControlState::visible, visible);
    }
    void SetEnabled(ControlId id, bool enabled) override {
        Record({Kind::Enabled, id, {}, enabled}, &ControlState::enabled, enabled);
    }
    bool IsUsable(ControlId id) override { return State(id).visible && State(id).enabled; }
    SharedText GetText(ControlId id) override { return State(id).text; }
    // The event keeps a text's first 64 Ki units: a file's text is hundreds of megabytes.
    void SetText(ControlId id, SharedText text, std::shared_ptr<const LineIndex>) override {
        Record({Kind::Text, id, text.Copy(0, 1 << 16)}, &ControlState::text, text);
    }
    bool IsChecked(ControlId id) override { return State(id).checked; }
    void SetChecked(ControlId id, bool checked) override {
        Record({Kind::Checked, id, {}, checked}, &ControlState::checked, checked);
    }
    void SetProgressRange(ControlId id, std::int32_t maximum) override {
        Record({Kind::Range, id, {}, maximum}, &ControlState::maximum, maximum);
    }
    void SetProgressPosition(ControlId id, std::int32_t position) override {
        Record({Kind::Position, id, {}, position}, &ControlState::position, position);
    }
    void ShowMessage(std::u16string_view text, MessageIcon icon) override {
        Record(MessageEvent(text, icon));
    }
    void Beep() override { Record({Kind::Beep}); }
    void BeginWaitCursor() override {
        Locked([&] { ++m_waitCursorDepth; });
    }
    void EndWaitCursor() override {
        Locked([&] { m_waitCursorDepth = std::max(0, m_waitCursorDepth - 1); });
    }
    void ShowAboutBox() override {}
    void EndDialog() override { Record({Kind::End}); }
    std::optional<std::filesystem::path> AskSavePath(const SaveDialogOptions&) override {
        return m_saveAnswer;
    }
    bool BeginThread(std::function<void()> body) override;
    // With threads run inline, at once: the poster is on the window's thread. Else queued for
    // the window's thread, which runs it in JoinWorker or RunPosted.
    void Post(std::function<void()> call) override;
    std::filesystem::path DocumentsFolder() override { return m_documents; }
    void MoveDocuments(std::filesystem::path documents) { m_documents = std::move(documents); }
    std::filesystem::path ExecutablePath() override { return "/opt/tallow/bin/Tallow"; }

    // A click on a check box that can be used toggles its tick; the notification reaches the
    // dialog from any control, as an automation tool's press does.
    void Click(CTallowDlg& dialog, ControlId id);
    void Type(ControlId id, std::u16string_view text) {
        Locked([&] { m_controls[id].text = std::make_shared<const WideString>(text); });
    }

    ControlState State(ControlId id) const;
    WideString Text(ControlId id) const { return State(id).text.Wide(); }
    std::vector<Event> Events(std::optional<Kind> only = {}) const;
    std::vector<WideString> MessageTexts() const;
    std::size_t Beeps() const { return Events(Kind::Beep).size(); }
    int WaitCursorDepth() const {
        return Locked([&] { return m_waitCursorDepth; });
    }
    bool Ended() const { return !Events(Kind::End).empty(); }
    void ClearEvents() {
        Locked([&] { m_events.clear(); });
    }
    // Every control back to visible, enabled and its template text, and no events.
    void Reset();

    void AnswerSaveDialog(std::optional<std::filesystem::path> answer) { m_saveAnswer = answer; }
    // Runs workers on threads of their own; JoinWorker handles their messages until the last one
    // has ended.
    void RunThreadsForReal() { m_realThreads = true; }
    void JoinWorker();
    void RefuseThreads(bool refuse = true) { m_refuseThreads = refuse; }
    // Waits, running nothing posted, until the worker's thread has ended.
    bool AwaitWorkerEnd();
    // Runs, on the window's thread, every call posted so far and those they post; returns how many.
    std::size_t RunPosted();
    // Runs posted calls, waiting for more, until done, checked after each; false after a minute.
    // done must not call the fake.
    bool RunUntil(const std::function<bool()>& done, std::size_t* ran = nullptr);
    // Called before each call a thread posts, on that thread, outside the fake's lock.
    void OnPost(std::function<void()> reaction) {
        Locked([&] { m_onPost = std::move(reaction); });
    }
    // Called after every event, on the thread that caused it, outside the fake's lock.
    void OnEvent(std::function<void(const Event&)> reaction) {
        Locked([&] { m_onEvent = std::move(reaction); });
    }

  private:
    template <typename Field>
    Field Record(const Event& event, Field ControlState::*field, Field value) {
        Field before = value;
        Record(event, [&] { std::swap(m_controls[*event.control].*field, before); });
        return before;
    }
    void Record(
        const Event& event, const std::function<void()>& change = [] {});
    template <typename Action>
    auto Locked(Action action) const -> decltype(action()) {
        std::lock_guard lock(m_mutex);
        return action();
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_queued;
    std::map<ControlId, ControlState> m_controls;
    std::vector<Event> m_events;
    std::function<void(const Event&)> m_onEvent;
    std::function<void()> m_onPost;
    int m_waitCursorDepth = 0;
    std::optional<std::filesystem::path> m_saveAnswer;
    std::filesystem::path m_documents;
    bool m_realThreads = false;
    bool m_refuseThreads = false;
    const std::thread::id m_windowThread = std::this_thread::get_id();
    std::deque<std::function<void()>> m_messages;
    std::thread m_worker;
    bool m_workerEnded = false;
};

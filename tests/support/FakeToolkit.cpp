#include "tests/support/FakeToolkit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "ui/ControlTable.h"

using Kind = Event::Kind;

FakeToolkit::FakeToolkit(std::filesystem::path documents) : m_documents(std::move(documents)) {
    Reset();
}

FakeToolkit::~FakeToolkit() {
    JoinWorker();
}

template <typename Change>
auto FakeToolkit::Record(const Event& event, Change change) {
    // Made before the lock, so that it reacts once the lock is released.
    struct Reaction {
        const Event& event;
        std::function<void(const Event&)> react;
        ~Reaction() {
            if (react) {
                react(event);
            }
        }
    } reaction{event, nullptr};
    std::lock_guard lock(m_mutex);
    m_events.push_back(event);
    reaction.react = m_onEvent;
    return change();
}

bool FakeToolkit::SetVisible(ControlId control, bool visible) {
    return Record({visible ? Kind::Show : Kind::Hide, control},
                  [&] { return std::exchange(m_controls[control].visible, visible); });
}

void FakeToolkit::SetEnabled(ControlId control, bool enabled) {
    Record({enabled ? Kind::Enable : Kind::Disable, control},
           [&] { m_controls[control].enabled = enabled; });
}

SharedText FakeToolkit::GetText(ControlId control) {
    std::lock_guard lock(m_mutex);
    return m_controls[control].text;
}

void FakeToolkit::SetText(ControlId control, SharedText text) {
    Record({Kind::Text, control, *text}, [&] { m_controls[control].text = text; });
}

bool FakeToolkit::IsChecked(ControlId control) {
    std::lock_guard lock(m_mutex);
    return m_controls[control].checked;
}

void FakeToolkit::SetChecked(ControlId control, bool checked) {
    Record({checked ? Kind::Check : Kind::Uncheck, control},
           [&] { m_controls[control].checked = checked; });
}

void FakeToolkit::SetProgressRange(ControlId control, std::int32_t maximum) {
    Record({Kind::Range, control, {}, maximum}, [&] { m_controls[control].maximum = maximum; });
}

void FakeToolkit::SetProgressPosition(ControlId control, std::int32_t position) {
    Record({Kind::Position, control, {}, position},
           [&] { m_controls[control].position = position; });
}

void FakeToolkit::ShowMessage(std::u16string_view text, MessageIcon icon) {
    Record({Kind::Message, {}, WideString(text), static_cast<std::int64_t>(icon)}, [] {});
}

void FakeToolkit::Beep() {
    Record({Kind::Beep}, [] {});
}

void FakeToolkit::BeginWaitCursor() {
    Record({Kind::WaitCursor}, [&] { ++m_waitCursorDepth; });
}

void FakeToolkit::EndWaitCursor() {
    Record({Kind::EndWaitCursor}, [&] { m_waitCursorDepth = std::max(0, m_waitCursorDepth - 1); });
}

void FakeToolkit::ShowAboutBox() {
    Record({Kind::About}, [] {});
}

void FakeToolkit::EndDialog(int result) {
    Record({Kind::End, {}, {}, result}, [&] { m_endResult = result; });
}

std::optional<std::filesystem::path> FakeToolkit::AskSavePath(const SaveDialogOptions&) {
    return Record({Kind::SaveDialog}, [&] { return m_saveAnswer; });
}

bool FakeToolkit::BeginThread(std::function<void()> body) {
    if (m_refuseThreads) {
        return false;
    }
    if (!m_realThreads) {
        body();
        return true;
    }
    JoinWorker();
    m_workerEnded = false;
    m_worker = std::thread([this, body = std::move(body)] {
        body();
        std::lock_guard lock(m_mutex);
        m_workerEnded = true;
        m_queued.notify_all();
    });
    return true;
}

std::intptr_t FakeToolkit::SendDialogMessage(MessageTarget& target, unsigned message) {
    Record({Kind::Send, {}, {}, message}, [] {});
    if (std::this_thread::get_id() == m_windowThread) {
        return target.WindowProc(message, 0, 0);
    }
    std::packaged_task<std::intptr_t()> handle([&] { return target.WindowProc(message, 0, 0); });
    std::future<std::intptr_t> handled = handle.get_future();
    {
        std::lock_guard lock(m_mutex);
        m_messages.push_back(std::move(handle));
        m_queued.notify_all();
    }
    return handled.get();
}

bool FakeToolkit::RunUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    std::unique_lock lock(m_mutex);
    while (!done()) {
        if (!m_messages.empty()) {
            std::packaged_task<std::intptr_t()> handle = std::move(m_messages.front());
            m_messages.pop_front();
            lock.unlock();
            handle();
            lock.lock();
        } else if (m_queued.wait_until(lock, deadline) == std::cv_status::timeout) {
            return false;
        }
    }
    return true;
}

void FakeToolkit::JoinWorker() {
    if (!m_worker.joinable()) {
        return;
    }
    EXPECT_TRUE(RunUntil([&] { return m_workerEnded; })) << "the worker never ended";
    m_worker.join();
}

bool FakeToolkit::AwaitQueuedMessage() {
    std::unique_lock lock(m_mutex);
    return m_queued.wait_for(lock, std::chrono::seconds(60), [&] { return !m_messages.empty(); });
}

void FakeToolkit::OnEvent(std::function<void(const Event&)> reaction) {
    std::lock_guard lock(m_mutex);
    m_onEvent = std::move(reaction);
}

void FakeToolkit::Click(CTallowDlg& dialog, ControlId control) {
    {
        std::lock_guard lock(m_mutex);
        ControlState& state = m_controls[control];
        if (!state.visible || !state.enabled) {
            return;
        }
        if (control == ControlId::AutoRun || control == ControlId::ShowMessages) {
            state.checked = !state.checked;
        }
    }
    dialog.OnCommand(control, Notification::Clicked);
}

void FakeToolkit::Type(ControlId control, std::u16string_view text) {
    std::lock_guard lock(m_mutex);
    m_controls[control].text = std::make_shared<const WideString>(text);
}

FakeToolkit::ControlState FakeToolkit::State(ControlId control) const {
    std::lock_guard lock(m_mutex);
    const auto found = m_controls.find(control);
    return found == m_controls.end() ? ControlState{} : found->second;
}

std::vector<Event> FakeToolkit::Events() const {
    std::lock_guard lock(m_mutex);
    return m_events;
}

std::vector<Event> FakeToolkit::EventsOf(Kind kind) const {
    std::vector<Event> events = Events();
    std::erase_if(events, [&](const Event& event) { return event.kind != kind; });
    return events;
}

std::vector<WideString> FakeToolkit::MessageTexts() const {
    std::vector<WideString> texts;
    for (const Event& message : EventsOf(Kind::Message)) {
        texts.push_back(message.text);
    }
    return texts;
}

int FakeToolkit::WaitCursorDepth() const {
    std::lock_guard lock(m_mutex);
    return m_waitCursorDepth;
}

std::optional<int> FakeToolkit::EndResult() const {
    std::lock_guard lock(m_mutex);
    return m_endResult;
}

void FakeToolkit::ClearEvents() {
    std::lock_guard lock(m_mutex);
    m_events.clear();
}

void FakeToolkit::Reset() {
    std::lock_guard lock(m_mutex);
    m_events.clear();
    m_controls.clear();
    for (const ControlTemplate& item : MainDialogControls()) {
        if (item.id) {
            m_controls[*item.id].text = std::make_shared<const WideString>(item.text);
        }
    }
    m_endResult.reset();
    m_waitCursorDepth = 0;
}

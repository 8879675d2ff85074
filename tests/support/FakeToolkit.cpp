#include "tests/support/FakeToolkit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "ui/ControlTable.h"

void FakeToolkit::Record(const Event& event, const std::function<void()>& change) {
    std::function<void(const Event&)> reaction;
    {
        std::lock_guard lock(m_mutex);
        m_events.push_back(event);
        change();
        reaction = m_onEvent;
    }
    if (reaction) {
        reaction(event);
    }
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

void FakeToolkit::Post(std::function<void()> call) {
    if (!m_realThreads) {
        call();
        return;
    }
    if (const std::function<void()> reaction = Locked([&] { return m_onPost; })) {
        reaction();
    }
    std::lock_guard lock(m_mutex);
    m_messages.push_back(std::move(call));
    m_queued.notify_all();
}

std::size_t FakeToolkit::RunPosted() {
    std::size_t ran = 0;
    RunUntil([&] { return m_messages.empty(); }, &ran);
    return ran;
}

bool FakeToolkit::RunUntil(const std::function<bool()>& done, std::size_t* ran) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    std::unique_lock lock(m_mutex);
    while (!done()) {
        if (m_messages.empty()) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            m_queued.wait_for(lock, std::chrono::milliseconds(10));
            continue;
        }
        const std::function<void()> call = std::move(m_messages.front());
        m_messages.pop_front();
        lock.unlock();
        call();
        if (ran != nullptr) {
            ++*ran;
        }
        lock.lock();
    }
    return true;
}

// Once the dialog has ended, the window is gone: as a real toolkit's, the join then runs nothing
// posted, and a worker that waits for the window never ends.
void FakeToolkit::JoinWorker() {
    if (m_worker.joinable()) {
        if (Ended()) {
            if (!AwaitWorkerEnd()) {
                ADD_FAILURE() << "the worker waits for a window that has closed";
                std::_Exit(1);
            }
        } else {
            EXPECT_TRUE(RunUntil([&] { return m_workerEnded; })) << "the worker never ended";
        }
        m_worker.join();
    }
    if (!Ended()) {
        RunPosted();
    }
}

bool FakeToolkit::AwaitWorkerEnd() {
    std::unique_lock lock(m_mutex);
    return m_queued.wait_for(lock, std::chrono::seconds(10), [&] { return m_workerEnded; });
}

void FakeToolkit::Click(CTallowDlg& dialog, ControlId id) {
    {
        std::lock_guard lock(m_mutex);
        ControlState& state = m_controls[id];
        state.checked ^= state.visible && state.enabled &&
                         (id == ControlId::AutoRun || id == ControlId::ShowMessages);
    }
    dialog.OnClicked(id);
}

FakeToolkit::ControlState FakeToolkit::State(ControlId id) const {
    std::lock_guard lock(m_mutex);
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? ControlState{} : found->second;
}

std::vector<Event> FakeToolkit::Events(std::optional<Kind> only) const {
    std::lock_guard lock(m_mutex);
    std::vector<Event> events = m_events;
    std::erase_if(events, [&](const Event& event) { return only && event.kind != *only; });
    return events;
}

std::vector<WideString> FakeToolkit::MessageTexts() const {
    std::vector<WideString> texts;
    for (const Event& message : Events(Kind::Message)) {
        texts.push_back(message.text);
    }
    return texts;
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
    m_waitCursorDepth = 0;
}

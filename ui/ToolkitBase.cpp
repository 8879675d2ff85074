#include "ui/ToolkitBase.h"

#include <system_error>

#include "ui/ReleaseOffThread.h"

void ToolkitBase::JoinWorker() {
    if (m_worker.joinable()) {
        m_worker.join();
    }
}

void ToolkitBase::SetText(ControlId control, SharedText text,
                          std::shared_ptr<const LineIndex> index) {
    if (!IsTextView(control)) {
        ShowText(control, std::move(text));
        return;
    }
    if (index == nullptr) {
        index = std::make_shared<const LineIndex>(text);
    }
    ReleaseOffThread(ShowInView(control, std::move(text), std::move(index)));
}

bool ToolkitBase::BeginThread(std::function<void()> body) {
    JoinWorker();
    try {
        m_worker = std::thread(std::move(body));
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

// A wake-up per call, though one finds them all: the first one to run empties the queue.
void ToolkitBase::Post(std::function<void()> call) {
    {
        std::lock_guard lock(m_postedMutex);
        m_posted.push_back(std::move(call));
    }
    WakeWindowThread();
}

// One call at a time: one that opens a modal box lets the calls after it run from the box's
// event loop, still in the order posted.
void ToolkitBase::RunPosted() {
    for (;;) {
        std::function<void()> call;
        {
            std::lock_guard lock(m_postedMutex);
            if (m_posted.empty()) {
                return;
            }
            call = std::move(m_posted.front());
            m_posted.pop_front();
        }
        call();
    }
}

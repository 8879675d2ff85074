#include "ui/ToolkitBase.h"

#include <system_error>

void ToolkitBase::JoinWorker() {
    if (m_worker.joinable()) {
        m_worker.join();
    }
}

void ToolkitBase::CarryOver(const std::function<void()>& call) {
    std::exception_ptr failure;
    RunOnWindowThread([&] {
        try {
            call();
        } catch (...) {
            failure = std::current_exception();
        }
    });
    if (failure) {
        std::rethrow_exception(failure);
    }
}

void ToolkitBase::SetText(ControlId control, SharedText text) {
    if (!IsTextView(control)) {
        OnWindowThread([&] { ShowText(control, std::move(text)); });
        return;
    }
    // Indexing reads the whole text: done here, so a worker's result never stalls the window.
    auto index = std::make_shared<const LineIndex>(text);
    // The text shown before may be hundreds of megabytes: it is let go here, not on the window's
    // thread.
    SharedText shownBefore;
    OnWindowThread([&] { shownBefore = ShowInView(control, std::move(text), std::move(index)); });
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

void ToolkitBase::CallOnWindowThread(const std::function<void()>& handler) {
    OnWindowThread(handler);
}

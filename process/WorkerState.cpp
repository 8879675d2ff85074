#include "process/WorkerState.h"

void WorkerState::Suspend() {
    std::lock_guard lock(m_mutex);
    m_suspended.store(true, std::memory_order_release);
}

void WorkerState::Resume() {
    {
        std::lock_guard lock(m_mutex);
        m_suspended.store(false, std::memory_order_release);
    }
    m_resumed.notify_all();
}

void WorkerState::WaitForResume() {
    std::unique_lock lock(m_mutex);
    m_resumed.wait(lock, [this] { return !m_suspended.load(std::memory_order_acquire); });
}

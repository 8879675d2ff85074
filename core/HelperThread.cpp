#include "core/HelperThread.h"

#include <system_error>

HelperThread::~HelperThread() {
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_queued.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void HelperThread::Queue(std::function<void()> job) {
    if (!m_thread.joinable() && !m_noThread) {
        try {
            m_thread = std::thread([this] { Run(); });
        } catch (const std::system_error&) {
            m_noThread = true;
        }
    }
    if (m_noThread) {
        job();
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_queued.notify_one();
}

void HelperThread::Run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_queued.wait(lock, [&] { return !m_jobs.empty() || m_closing; });
        if (m_jobs.empty()) {
            return;
        }
        const std::function<void()> job = std::move(m_jobs.front());
        m_jobs.pop_front();
        lock.unlock();
        job();
        lock.lock();
    }
}

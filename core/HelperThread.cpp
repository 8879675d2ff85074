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

std::future<void> HelperThread::Start(std::function<void()> job) {
    std::packaged_task<void()> task(std::move(job));
    std::future<void> ended = task.get_future();
    if (!m_thread.joinable() && !m_noThread) {
        try {
            m_thread = std::thread([this] { Run(); });
        } catch (const std::system_error&) {
            m_noThread = true;
        }
    }
    if (m_noThread) {
        task();
        return ended;
    }
    {
        std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(task));
    }
    m_queued.notify_one();
    return ended;
}

void HelperThread::Run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_queued.wait(lock, [&] { return !m_jobs.empty() || m_closing; });
        if (m_jobs.empty()) {
            return;
        }
        std::packaged_task<void()> job = std::move(m_jobs.front());
        m_jobs.pop_front();
        lock.unlock();
        job();
        lock.lock();
    }
}

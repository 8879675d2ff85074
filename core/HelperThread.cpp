#include "core/HelperThread.h"

#include <system_error>

HelperThread::~HelperThread() {
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void HelperThread::Do(Job& job) {
    try {
        job.work();
    } catch (...) {
        job.failure = std::current_exception();
    }
}

void HelperThread::Start(std::function<void()> job) {
    {
        std::lock_guard lock(m_mutex);
        m_jobs.push_back(Job{std::move(job), false, nullptr});
    }
    if (!m_thread.joinable() && !m_noThread) {
        try {
            m_thread = std::thread([this] { Run(); });
        } catch (const std::system_error&) {
            m_noThread = true;
        }
    }
    if (m_noThread) {
        Job& only = m_jobs.back();
        Do(only);
        only.done = true;
        ++m_started;
        return;
    }
    m_changed.notify_all();
}

void HelperThread::Collect() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_jobs.front().done; });
    const std::exception_ptr failure = m_jobs.front().failure;
    m_jobs.pop_front();
    --m_started;
    if (failure) {
        std::rethrow_exception(failure);
    }
}

// A job taken up stays where it is: only collected jobs, which are done, leave the front.
void HelperThread::Run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [&] { return m_started < m_jobs.size() || m_closing; });
        if (m_started == m_jobs.size()) {
            return;
        }
        Job& job = m_jobs[m_started++];
        lock.unlock();
        Do(job);
        lock.lock();
        job.done = true;
        m_changed.notify_all();
    }
}

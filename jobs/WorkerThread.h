#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

// The conversion worker as the dialog sees it: whether it still runs, and a pause that holds it
// at its next poll point until it is resumed. The worker is never stopped from outside, so it
// can never be caught holding a lock the window needs.
class WorkerThread {
  public:
    // Called on the window's thread before the thread starts, and by the worker as it ends.
    void MarkRunning() { m_running.store(true); }
    void MarkFinished() { m_running.store(false); }
    bool IsRunning() const { return m_running.load(); }

    void Suspend();
    void Resume();
    // The worker's side: returns at once unless suspended.
    void WaitWhileSuspended() {
        if (m_suspended.load(std::memory_order_acquire)) {
            WaitForResume();
        }
    }

  private:
    void WaitForResume();

    std::atomic<bool> m_running{false};
    std::atomic<bool> m_suspended{false};
    std::mutex m_mutex;
    std::condition_variable m_resumed;
};

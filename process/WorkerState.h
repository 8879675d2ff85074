#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

// The conversion worker as the dialog sees it: whether it still runs, and a pause that holds it
// at its next poll point, or its next step, until it is resumed. The worker is never stopped from
// outside, so it can never be caught holding a lock the window needs.
class WorkerState {
  public:
    // Both on the window's thread: before the worker starts, and in OnConvertDone as its run ends.
    void MarkRunning() { m_running.store(true); }
    void MarkFinished() { m_running.store(false); }
    bool IsRunning() const { return m_running.load(); }
    bool IsSuspended() const { return m_suspended.load(); }

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

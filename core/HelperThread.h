#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

// One thread that runs jobs in the order given, started with the first and kept until the helper
// goes: a pass over a file in blocks starts one thread, not one for each block. Without a thread
// to spare, each job runs as it is given. The destructor lets queued jobs end first.
class HelperThread {
  public:
    HelperThread() = default;
    ~HelperThread();
    HelperThread(const HelperThread&) = delete;
    HelperThread& operator=(const HelperThread&) = delete;

    // The future is ready once the job has ended, and rethrows what it threw.
    std::future<void> Start(std::function<void()> job);

  private:
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_queued;
    std::deque<std::packaged_task<void()>> m_jobs;
    bool m_closing = false;
    bool m_noThread = false;
    std::thread m_thread;
};

#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
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

    void Start(std::function<void()> job);
    // Waits for the oldest job not yet collected to end; rethrows what it threw.
    void Collect();

  private:
    struct Job {
        std::function<void()> work;
        bool done = false;
        std::exception_ptr failure;
    };
    static void Do(Job& job);
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    // Collected from the front; m_started of them have been taken up.
    std::deque<Job> m_jobs;
    std::size_t m_started = 0;
    bool m_closing = false;
    bool m_noThread = false;
    std::thread m_thread;
};

#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
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

    // The future gives the job's result once it has ended, or rethrows what it threw.
    template <typename Job>
    auto Start(Job job) -> std::future<decltype(job())> {
        auto task = std::make_shared<std::packaged_task<decltype(job())()>>(std::move(job));
        auto ended = task->get_future();
        Queue([task] { (*task)(); });
        return ended;
    }

  private:
    void Queue(std::function<void()> job);
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_queued;
    std::deque<std::function<void()>> m_jobs;
    bool m_closing = false;
    bool m_noThread = false;
    std::thread m_thread;
};

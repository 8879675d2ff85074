#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "core/TextTypes.h"
#include "storage/AtomicFile.h"

// Writes blocks into a file on a thread of its own, so that reading, converting or encoding the
// next ones go on meanwhile. A few blocks wait at the most, and written blocks come back to be
// filled again: memory stays flat whatever the size.
class BackgroundWriter {
  public:
    explicit BackgroundWriter(AtomicFile& file) : m_file(file), m_thread([this] { Drain(); }) {}
    ~BackgroundWriter() { Close(); }
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    void Take(ByteString& block) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_waiting.size() < kMostWaiting; });
        m_waiting.push_back(std::move(block));
        block = m_spare.empty() ? ByteString() : std::move(m_spare.back());
        if (!m_spare.empty()) {
            m_spare.pop_back();
        }
        block.clear();
        m_changed.notify_all();
    }
    // Once every block is written.
    void Close() {
        {
            std::lock_guard lock(m_mutex);
            m_closing = true;
            m_changed.notify_all();
        }
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }

  private:
    static constexpr std::size_t kMostWaiting = 3;

    void Drain() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_changed.wait(lock, [&] { return !m_waiting.empty() || m_closing; });
            if (m_waiting.empty()) {
                return;
            }
            ByteString block = std::move(m_waiting.front());
            m_waiting.pop_front();
            lock.unlock();
            m_file.Write(block);
            lock.lock();
            m_spare.push_back(std::move(block));
            m_changed.notify_all();
        }
    }

    AtomicFile& m_file;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<ByteString> m_waiting;
    std::vector<ByteString> m_spare;
    bool m_closing = false;
    std::thread m_thread;
};

#pragma once

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "ui/Toolkit.h"

// Joins the toolkit's worker, as starting another thread does, on this thread, without running
// the window's events: a worker that waits for the window holds the join for ever, so after
// twenty seconds the test program fails instead of hanging.
inline void JoinTheWorkerWithoutTheWindow(Toolkit& toolkit) {
    static std::atomic<bool> joined{false};
    joined.store(false);
    std::thread([] {
        std::this_thread::sleep_for(std::chrono::seconds(20));
        if (!joined.load()) {
            std::fprintf(stderr, "the worker waits for a window that has closed\n");
            std::_Exit(1);
        }
    }).detach();
    toolkit.BeginThread([] {});
    joined.store(true);
}

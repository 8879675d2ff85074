#pragma once

#include <system_error>
#include <thread>
#include <utility>

// A text of hundreds of megabytes takes milliseconds to free: the last reference to it goes on a
// thread of its own, so that the window's thread never waits for it. Without a thread to spare,
// it goes here.
template <typename Value>
void ReleaseOffThread(Value value) {
    try {
        std::thread([released = std::move(value)] {}).detach();
    } catch (const std::system_error&) {
    }
}

#pragma once

// Blocks of many megabytes (a loaded file, the result text of millions of numbers) are asked for
// on 2 MiB boundaries with a hint to back them with huge pages: on machines where first touching
// a page is slow, that makes filling them several times faster. Small blocks take the ordinary
// allocator.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

void* AllocateLarge(std::size_t bytes);
void FreeLarge(void* block, std::size_t bytes) noexcept;

template <typename T>
struct LargeAllocator {
    using value_type = T;

    LargeAllocator() noexcept = default;
    template <typename U>
    LargeAllocator(const LargeAllocator<U>&) noexcept {}

    T* allocate(std::size_t count) { return static_cast<T*>(AllocateLarge(count * sizeof(T))); }
    void deallocate(T* block, std::size_t count) noexcept { FreeLarge(block, count * sizeof(T)); }

    friend bool operator==(const LargeAllocator&, const LargeAllocator&) { return true; }
};

// The program's text: UTF-16, like the window toolkit's.
using WideString =
    std::basic_string<char16_t, std::char_traits<char16_t>, LargeAllocator<char16_t>>;
// Large texts travel by shared pointer: a loaded file or the result of ten million numbers is
// handed over, never copied.
using SharedText = std::shared_ptr<const WideString>;
// Bytes, as files hold them.
using ByteString = std::basic_string<char, std::char_traits<char>, LargeAllocator<char>>;
template <typename T>
using LargeVector = std::vector<T, LargeAllocator<T>>;

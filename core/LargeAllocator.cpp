#include "core/LargeAllocator.h"

#include <cstdlib>
#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kLargeBlock = 2 * kHugePage;

std::size_t RoundedToHugePages(std::size_t bytes) {
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

}  // namespace

void* AllocateLarge(std::size_t bytes) {
    if (bytes < kLargeBlock) {
        return ::operator new(bytes);
    }
    const std::size_t rounded = RoundedToHugePages(bytes);
    void* block = std::aligned_alloc(kHugePage, rounded);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
#ifdef __linux__
    madvise(block, rounded, MADV_HUGEPAGE);
#endif
    return block;
}

void FreeLarge(void* block, std::size_t bytes) noexcept {
    if (bytes < kLargeBlock) {
        ::operator delete(block);
    } else {
        std::free(block);
    }
}

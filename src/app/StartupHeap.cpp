#include "StartupHeap.h"

#include <cstdint>
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace StartupHeap {

namespace {

#if defined(__GLIBC__)
constexpr int kReserve = 64 << 20;
// The largest block glibc lets come from the heap rather than its own mapping.
constexpr int kLargestFromHeap = 32 << 20;
// glibc's defaults for the three.
constexpr int kDefaultThreshold = 128 << 10;
constexpr std::uintptr_t kHugePage = 2 << 20;
#endif

}  // namespace

void reserve() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, kLargestFromHeap);
    mallopt(M_TRIM_THRESHOLD, 2 * kReserve);
    mallopt(M_TOP_PAD, kReserve);
    auto* start = static_cast<char*>(sbrk(0));
    // A block larger than what the heap has free makes it grow by the reserve; volatile, so
    // that the pair is not optimised away.
    void* volatile block = std::malloc(16 << 20);
    std::free(block);
    auto* end = static_cast<char*>(sbrk(0));
    auto* from = reinterpret_cast<char*>((reinterpret_cast<std::uintptr_t>(start) + kHugePage - 1) &
                                         ~(kHugePage - 1));
    if (end > from) {
        madvise(from, static_cast<std::size_t>(end - from), MADV_HUGEPAGE);
    }
#endif
}

void release() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, kDefaultThreshold);
    mallopt(M_TRIM_THRESHOLD, kDefaultThreshold);
    mallopt(M_TOP_PAD, kDefaultThreshold);
#endif
}

}  // namespace StartupHeap

// The global operator new, replaced to count allocations and the bytes they hold; kept in its
// own file so the compiler never sees a replaced new and its delete inlined together. Each block
// carries its size in a 16-byte prefix, so the default alignment is kept.

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {
std::atomic<long> g_allocations{0};
std::atomic<long> g_liveBytes{0};
constexpr std::size_t kPrefix = 16;
}  // namespace

long AllocationCount() noexcept {
    return g_allocations.load(std::memory_order_relaxed);
}

// Bytes requested through operator new and not yet deleted.
long LiveAllocatedBytes() noexcept {
    return g_liveBytes.load(std::memory_order_relaxed);
}

void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (auto* p = static_cast<unsigned char*>(std::malloc(size + kPrefix))) {
        std::memcpy(p, &size, sizeof size);
        g_liveBytes.fetch_add(static_cast<long>(size), std::memory_order_relaxed);
        return p + kPrefix;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    if (p == nullptr) {
        return;
    }
    auto* block = static_cast<unsigned char*>(p) - kPrefix;
    std::size_t size = 0;
    std::memcpy(&size, block, sizeof size);
    g_liveBytes.fetch_sub(static_cast<long>(size), std::memory_order_relaxed);
    std::free(block);
}
void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}

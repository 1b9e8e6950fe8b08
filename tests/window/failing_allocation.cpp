// The window tests' global operator new: the usual one, except that a test may arm it to
// fail one chosen allocation, so that a change can be made to run out of memory at each
// of its allocations in turn.

#include <atomic>
#include <cstdlib>
#include <new>

#include "tests/window/window_test_support.h"

namespace {

// Allocations until the failing one, that one included; 0 or less: disarmed.
std::atomic<long> untilFailure{0};
std::atomic<bool> failureReached{false};

void* Allocate(std::size_t size) {
    if (untilFailure.load() > 0 && --untilFailure == 0) {
        failureReached = true;
        throw std::bad_alloc();
    }
    // As the usual one: a distinct pointer for no bytes, and the new handler's turn.
    if (size == 0) {
        size = 1;
    }
    for (;;) {
        if (void* block = std::malloc(size)) {
            return block;
        }
        const std::new_handler handler = std::get_new_handler();
        if (handler == nullptr) {
            throw std::bad_alloc();
        }
        handler();
    }
}

void* AllocateOrNull(std::size_t size) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}

}  // namespace

namespace lumarel::testing {

void FailAllocation(long nth) {
    failureReached = false;
    untilFailure = nth;
}

bool StopFailingAllocations() {
    untilFailure = 0;
    return failureReached.exchange(false);
}

}  // namespace lumarel::testing

// Every form that pairs with malloc and free: libstdc++ is linked in statically, and none
// of its own forms may be left to pair with these. The aligned forms are left as they are:
// they allocate and free by their own means and never reach these.
void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return AllocateOrNull(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return AllocateOrNull(size);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}

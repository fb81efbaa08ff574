// SPDX-License-Identifier: MIT
// A global operator new that counts the allocations alive, in a translation
// unit of its own so that no caller sees it inlined.
#include <cstdlib>
#include <new>

long live_allocations = 0;

void* operator new(std::size_t size) {
    if (void* const p = std::malloc(size == 0 ? 1 : size)) {
        ++live_allocations;
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    live_allocations -= p != nullptr;
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

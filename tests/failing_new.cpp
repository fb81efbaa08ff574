// A global operator new that fails on demand, in a translation unit of its
// own so that no caller sees it inlined.
#include <cstdlib>
#include <new>

int allocations_left = -1;

void* operator new(std::size_t size) {
    if (allocations_left == 0) {
        throw std::bad_alloc();
    }
    if (allocations_left > 0) {
        --allocations_left;
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

// SPDX-License-Identifier: MIT
// An allocator to preload, whose allocation number K fails: with
// LISTAENC_FAILING_ALLOCATION=K that one call only, with K+ every call from
// K on. malloc, calloc, realloc, aligned_alloc, memalign and posix_memalign
// all count and all fail. With 0, none fails and the number of calls is
// written on standard error at exit.
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* p, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
}

namespace {

std::atomic<long> calls{0};

struct Failing {
    long first = 0;
    bool onwards = false;
};

Failing const& failing() {
    static Failing const f = [] {
        const char* const k_text = std::getenv("LISTAENC_FAILING_ALLOCATION");
        char* end = nullptr;
        long const k = std::strtol(k_text ? k_text : "0", &end, 10);
        return Failing{k, *end == '+'};
    }();
    return f;
}

// Counts a call and answers whether it fails, with errno set as when memory
// runs out.
bool fails() {
    long const call = ++calls;
    Failing const& f = failing();
    bool const fail = f.first != 0 && (call == f.first || (f.onwards && call > f.first));
    if (fail) {
        errno = ENOMEM;
    }
    return fail;
}

[[gnu::destructor]] void count() {
    if (failing().first == 0) {
        std::fprintf(stderr, "%ld\n", calls.load());
    }
}

} // namespace

extern "C" {
void* malloc(std::size_t size) { return fails() ? nullptr : __libc_malloc(size); }
void* calloc(std::size_t count, std::size_t size) {
    return fails() ? nullptr : __libc_calloc(count, size);
}
void* realloc(void* p, std::size_t size) { return fails() ? nullptr : __libc_realloc(p, size); }
void* memalign(std::size_t alignment, std::size_t size) {
    return fails() ? nullptr : __libc_memalign(alignment, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) { return memalign(alignment, size); }
int posix_memalign(void** p, std::size_t alignment, std::size_t size) {
    *p = memalign(alignment, size);
    return *p ? 0 : ENOMEM;
}
}

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
#include <cstring>

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* p, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
}

static std::atomic<long> calls{0};

// Counts a call and answers whether it fails, with errno set as when memory
// runs out.
static bool fails() {
    static long const first = std::atol(std::getenv("LISTAENC_FAILING_ALLOCATION"));
    static bool const onwards = std::strchr(std::getenv("LISTAENC_FAILING_ALLOCATION"), '+');
    long const call = ++calls;
    bool const fail = call == first || (onwards && call > first);
    errno = fail ? ENOMEM : errno;
    return fail;
}

[[gnu::destructor]] static void count() {
    if (std::atol(std::getenv("LISTAENC_FAILING_ALLOCATION")) == 0) {
        std::fprintf(stderr, "%ld\n", calls.load());
    }
}

extern "C" {
void* malloc(std::size_t size) { return fails() ? nullptr : __libc_malloc(size); }
void* calloc(std::size_t n, std::size_t size) { return fails() ? nullptr : __libc_calloc(n, size); }
void* realloc(void* p, std::size_t size) { return fails() ? nullptr : __libc_realloc(p, size); }
void* memalign(std::size_t a, std::size_t size) {
    return fails() ? nullptr : __libc_memalign(a, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) { return memalign(alignment, size); }
int posix_memalign(void** p, std::size_t alignment, std::size_t size) {
    return (*p = memalign(alignment, size)) ? 0 : ENOMEM;
}
}

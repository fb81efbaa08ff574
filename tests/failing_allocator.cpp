// SPDX-License-Identifier: MIT
// An allocator to preload, whose allocation number K fails: with
// LISTAENC_FAILING_ALLOCATION=K that one call only, with K+ every call from
// K on, with K:node only the K-th call for the size of a node (an element of
// the list or its header). malloc, calloc, realloc, aligned_alloc, memalign
// and posix_memalign all count and all fail. With 0 (or 0:node), none fails
// and the number of calls (of a node's size) is written on standard error at
// exit.
#include "listaenccircular.h"

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

// Read at the first call, which may come before this library's
// initialization.
struct Setting {
    const char* text = std::getenv("LISTAENC_FAILING_ALLOCATION");
    long first = std::atol(text);
    bool onwards = std::strchr(text, '+') != nullptr;
    bool nodes_only = std::strstr(text, ":node") != nullptr;
};

static const Setting& setting() {
    static Setting const read;
    return read;
}

static std::atomic<long> calls{0};

// Counts a call and answers whether it fails, with errno set as when memory
// runs out.
static bool fails(std::size_t size) {
    if (setting().nodes_only && size != sizeof(node)) {
        return false;
    }
    long const call = ++calls;
    bool const fail = call == setting().first || (setting().onwards && call > setting().first);
    errno = fail ? ENOMEM : errno;
    return fail;
}

[[gnu::destructor]] static void count() {
    if (setting().first == 0) {
        std::fprintf(stderr, "%ld\n", calls.load());
    }
}

extern "C" {
void* malloc(std::size_t size) { return fails(size) ? nullptr : __libc_malloc(size); }
void* calloc(std::size_t n, std::size_t size) {
    return fails(n * size) ? nullptr : __libc_calloc(n, size);
}
void* realloc(void* p, std::size_t size) { return fails(size) ? nullptr : __libc_realloc(p, size); }
void* memalign(std::size_t a, std::size_t size) {
    return fails(size) ? nullptr : __libc_memalign(a, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) { return memalign(alignment, size); }
int posix_memalign(void** p, std::size_t alignment, std::size_t size) {
    return (*p = memalign(alignment, size)) ? 0 : ENOMEM;
}
}

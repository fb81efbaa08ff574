// SPDX-License-Identifier: MIT
// A malloc, preloaded, whose call number LISTAENC_FAILING_MALLOC fails; with
// 0, none fails and the number of calls is written on standard error at exit.
#include <cstdio>
#include <cstdlib>

extern "C" void* __libc_malloc(std::size_t size);

static long calls = 0;

static long failing() {
    static long const call = std::atol(std::getenv("LISTAENC_FAILING_MALLOC"));
    return call;
}

[[gnu::destructor]] static void count() {
    if (failing() == 0) {
        std::fprintf(stderr, "%ld\n", calls);
    }
}

extern "C" void* malloc(std::size_t size) {
    return ++calls == failing() ? nullptr : __libc_malloc(size);
}

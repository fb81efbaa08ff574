// SPDX-License-Identifier: MIT
// The list's part of list_bench, compiled once with the list plain and once
// in its checked mode (LISTAENC_ASSERTIONS), each under the name that
// LIST_RUN gives it.
#include "list_bench.h"
#include "listaenccircular.h"

void LIST_RUN(double* times) {
    ListaEnc l;
    times[0] = seconds([&] {
        l.inserir(bench_keys()[0], "");
        auto tail = l.begin();
        for (int i = 1; i < bench_elements; ++i) {
            tail = l.insert_after(tail, bench_keys()[std::size_t(i)], "");
        }
    });
    times[1] = seconds([&] {
        auto const first = l.cbegin();
        for (int i = 0; i < bench_elements; ++i) {
            l.insert_after(first, i, "");
        }
    });
    times[2] = seconds([&] {
        auto const first = l.cbegin();
        for (int i = 0; i < bench_elements; ++i) {
            l.erase_after(first);
        }
    });
    times[3] = seconds([&] {
        long sum = 0;
        for (const node& e : l) {
            sum += e.key;
        }
        bench_sink = sum;
    });
    times[4] = seconds([&] { l.sort(); });
}

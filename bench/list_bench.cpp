// SPDX-License-Identifier: MIT
// The list against std::forward_list of the same elements (an int key and
// a std::string info), on 10^6 elements: build (append after the last),
// insert_after and erase_after at the first element, a walk over every
// element, and sort by key; and the list in its checked mode against the
// list plain. Each run of each contender is a process of its own, so that
// none gets memory that another has warmed, and the three take turns; each
// figure is the fastest of all runs (noise on a shared machine only adds
// time). Targets: the list within 1.1 times std::forward_list, the checked
// mode within 1.2 times the plain list; a figure past its target is marked.
// Usage: list_bench [RUNS] (21 unless given)
#include "list_bench.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <forward_list>
#include <random>
#include <string>
#include <utility>

#include <sys/wait.h>
#include <unistd.h>

const std::vector<int>& bench_keys() {
    static std::vector<int> const keys = [] {
        std::mt19937 random(7);
        std::vector<int> made(bench_elements);
        for (int& key : made) {
            key = int(random() % 1'000'000);
        }
        return made;
    }();
    return keys;
}

volatile long bench_sink;

namespace {

struct Element {
    int key;
    std::string info;
};

void run_forward_list(double* times) {
    std::forward_list<Element> f;
    times[0] = seconds([&] {
        auto tail = f.before_begin();
        for (int i = 0; i < bench_elements; ++i) {
            tail = f.insert_after(tail, Element{bench_keys()[std::size_t(i)], ""});
        }
    });
    times[1] = seconds([&] {
        auto const first = f.cbegin();
        for (int i = 0; i < bench_elements; ++i) {
            f.insert_after(first, Element{i, ""});
        }
    });
    times[2] = seconds([&] {
        auto const first = f.cbegin();
        for (int i = 0; i < bench_elements; ++i) {
            f.erase_after(first);
        }
    });
    times[3] = seconds([&] {
        long sum = 0;
        for (const Element& e : f) {
            sum += e.key;
        }
        bench_sink = sum;
    });
    times[4] =
        seconds([&] { f.sort([](const Element& a, const Element& b) { return a.key < b.key; }); });
}

using Times = std::vector<double>;

// Runs `run` in a process of its own, and answers the times it took.
Times apart(void (*run)(double*)) {
    int ends[2];
    if (pipe(ends) != 0) {
        std::perror("list_bench: pipe");
        std::exit(1);
    }
    static_cast<void>(bench_keys()); // made once, before the processes part
    pid_t const child = fork();
    if (child < 0) {
        std::perror("list_bench: fork");
        std::exit(1);
    }
    if (child == 0) {
        double times[bench_operations] = {};
        run(times);
        ssize_t const written = write(ends[1], times, sizeof times);
        _exit(written == sizeof times ? 0 : 1);
    }
    double times[bench_operations] = {};
    ssize_t const got = read(ends[0], times, sizeof times);
    close(ends[0]), close(ends[1]);
    int status = 0;
    waitpid(child, &status, 0);
    if (got != sizeof times || status != 0) {
        std::fputs("list_bench: a run failed\n", stderr);
        std::exit(1);
    }
    return {times, times + bench_operations};
}

} // namespace

int main(int argc, char** argv) {
    int const runs = argc > 1 ? std::atoi(argv[1]) : 21;
    if (runs < 1) {
        std::fputs("usage: list_bench [RUNS]\n", stderr);
        return 2;
    }
    const char* const names[bench_operations] = {"build", "insert_after", "erase_after",
                                                 "iteration", "sort"};
    Times model(bench_operations, 1e9), plain = model, checked = model;
    for (int run = 0; run < runs; ++run) {
        for (auto [times, of] :
             {std::pair{&model, &run_forward_list}, std::pair{&plain, &run_plain},
              std::pair{&checked, &run_checked}}) {
            Times const got = apart(of);
            for (std::size_t i = 0; i < got.size(); ++i) {
                (*times)[i] = std::min((*times)[i], got[i]);
            }
        }
    }
    std::printf("fastest of %d runs each, the three taking turns\n", runs);
    std::printf("%-13s %15s %12s %7s %12s %14s\n", "operation", "forward_list ms", "ListaEnc ms",
                "ratio", "checked ms", "checked/plain");
    for (std::size_t i = 0; i < bench_operations; ++i) {
        double const ratio = plain[i] / model[i];
        double const cost = checked[i] / plain[i];
        std::printf("%-13s %15.2f %12.2f %6.2f%s %12.2f %13.2f%s\n", names[i], model[i] * 1e3,
                    plain[i] * 1e3, ratio, ratio > 1.1 ? "!" : " ", checked[i] * 1e3, cost,
                    cost > 1.2 ? "!" : " ");
    }
}

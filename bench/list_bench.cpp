// SPDX-License-Identifier: MIT
// The list against std::forward_list of the same elements (an int key and
// a std::string info), on 10^6 elements: build (append after the last),
// insert_after and erase_after at the first element, a walk over every
// element, and sort by key. Each figure is the fastest of many runs, the two
// containers taking turns; the ratio is the list's time over
// std::forward_list's. Each run of each container is a process of its own,
// so that neither gets memory that the other has warmed. Built twice: with the library as
// configured, and in the checked mode (list_bench_checked), for the checked mode's cost.
#include "listaenccircular.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <forward_list>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int elements = 1'000'000;
constexpr int runs = 5;

struct Element {
    int key;
    std::string info;
};

std::vector<int> const keys = [] {
    std::mt19937 random(7);
    std::vector<int> made(elements);
    for (int& key : made) {
        key = int(random() % 1'000'000);
    }
    return made;
}();

volatile long sink;

template <typename Run>
double seconds(Run run) {
    auto const start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Figure {
    const char* name;
    double list = 1e9;
    double model = 1e9;
};

void build(ListaEnc& l) {
    l.inserir(keys[0], "");
    auto tail = l.begin();
    for (int i = 1; i < elements; ++i) {
        tail = l.insert_after(tail, keys[std::size_t(i)], "");
    }
}

void build(std::forward_list<Element>& f) {
    auto tail = f.before_begin();
    for (int i = 0; i < elements; ++i) {
        tail = f.insert_after(tail, Element{keys[std::size_t(i)], ""});
    }
}

} // namespace

// Runs `measure` in a process of its own, and answers the five times it
// took.
template <typename Measure>
std::vector<double> apart(Measure measure) {
    int ends[2];
    if (pipe(ends) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    pid_t const child = fork();
    if (child == 0) {
        double times[5] = {};
        measure(times);
        ssize_t const written = write(ends[1], times, sizeof times);
        _exit(written == sizeof times ? 0 : 1);
    }
    double times[5] = {};
    ssize_t const got = read(ends[0], times, sizeof times);
    close(ends[0]), close(ends[1]);
    int status = 0;
    waitpid(child, &status, 0);
    if (got != sizeof times || status != 0) {
        std::fputs("list_bench: a run failed\n", stderr);
        std::exit(1);
    }
    return {times, times + 5};
}

int main() {
    Figure figures[] = {{"build"}, {"insert_after"}, {"erase_after"}, {"iteration"}, {"sort"}};
    for (int run = 0; run < runs; ++run) {
        std::vector<double> const list_times = apart([](double* t) {
            ListaEnc l;
            t[0] = (seconds([&] { build(l); }));
            t[1] = (seconds([&] {
                auto const first = l.cbegin();
                for (int i = 0; i < elements; ++i) {
                    l.insert_after(first, i, "");
                }
            }));
            t[2] = (seconds([&] {
                auto const first = l.cbegin();
                for (int i = 0; i < elements; ++i) {
                    l.erase_after(first);
                }
            }));
            t[3] = (seconds([&] {
                long sum = 0;
                for (const node& e : l) {
                    sum += e.key;
                }
                sink = sum;
            }));
            t[4] = seconds([&] { l.sort(); });
        });
        std::vector<double> const model_times = apart([](double* t) {
            std::forward_list<Element> f;
            t[0] = (seconds([&] { build(f); }));
            t[1] = (seconds([&] {
                auto const first = f.cbegin();
                for (int i = 0; i < elements; ++i) {
                    f.insert_after(first, Element{i, ""});
                }
            }));
            t[2] = (seconds([&] {
                auto const first = f.cbegin();
                for (int i = 0; i < elements; ++i) {
                    f.erase_after(first);
                }
            }));
            t[3] = (seconds([&] {
                long sum = 0;
                for (const Element& e : f) {
                    sum += e.key;
                }
                sink = sum;
            }));
            t[4] = seconds(
                [&] { f.sort([](const Element& a, const Element& b) { return a.key < b.key; }); });
        });
        for (std::size_t i = 0; i < 5; ++i) {
            figures[i].list = std::min(figures[i].list, list_times[i]);
            figures[i].model = std::min(figures[i].model, model_times[i]);
        }
    }
    std::printf("%-13s %12s %14s %7s\n", "operation", "ListaEnc ms", "forward_list ms", "ratio");
    for (const Figure& f : figures) {
        std::printf("%-13s %12.2f %14.2f %7.2f\n", f.name, f.list * 1e3, f.model * 1e3,
                    f.list / f.model);
    }
}

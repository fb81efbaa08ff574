// SPDX-License-Identifier: MIT
// The list against std::forward_list of the same elements (an int key and
// a std::string info), on 10^6 elements: build (append after the last),
// insert_after and erase_after at the first element, a walk over every
// element, and sort by key. Each figure is the fastest of many runs, the two
// containers taking turns; the ratio is the list's time over
// std::forward_list's. Built twice: with the library as configured, and in
// the checked mode (list_bench_checked), for the checked mode's cost.
#include "listaenccircular.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <forward_list>
#include <iterator>
#include <random>
#include <string>
#include <vector>

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

int main() {
    Figure figures[] = {{"build"}, {"insert_after"}, {"erase_after"}, {"iteration"}, {"sort"}};
    for (int run = 0; run < runs; ++run) {
        {
            ListaEnc l;
            figures[0].list = std::min(figures[0].list, seconds([&] { build(l); }));
            figures[1].list = std::min(figures[1].list, seconds([&] {
                                           auto const first = l.cbegin();
                                           for (int i = 0; i < elements; ++i) {
                                               l.insert_after(first, i, "");
                                           }
                                       }));
            figures[2].list = std::min(figures[2].list, seconds([&] {
                                           auto const first = l.cbegin();
                                           for (int i = 0; i < elements; ++i) {
                                               l.erase_after(first);
                                           }
                                       }));
            figures[3].list = std::min(figures[3].list, seconds([&] {
                                           long sum = 0;
                                           for (const node& e : l) {
                                               sum += e.key;
                                           }
                                           sink = sum;
                                       }));
            figures[4].list = std::min(figures[4].list, seconds([&] { l.sort(); }));
        }
        {
            std::forward_list<Element> f;
            figures[0].model = std::min(figures[0].model, seconds([&] { build(f); }));
            figures[1].model = std::min(figures[1].model, seconds([&] {
                                            auto const first = f.cbegin();
                                            for (int i = 0; i < elements; ++i) {
                                                f.insert_after(first, Element{i, ""});
                                            }
                                        }));
            figures[2].model = std::min(figures[2].model, seconds([&] {
                                            auto const first = f.cbegin();
                                            for (int i = 0; i < elements; ++i) {
                                                f.erase_after(first);
                                            }
                                        }));
            figures[3].model = std::min(figures[3].model, seconds([&] {
                                            long sum = 0;
                                            for (const Element& e : f) {
                                                sum += e.key;
                                            }
                                            sink = sum;
                                        }));
            figures[4].model = std::min(
                figures[4].model, seconds([&] {
                    f.sort([](const Element& a, const Element& b) { return a.key < b.key; });
                }));
        }
    }
    std::printf("%-13s %12s %14s %7s\n", "operation", "ListaEnc ms", "forward_list ms", "ratio");
    for (const Figure& f : figures) {
        std::printf("%-13s %12.2f %14.2f %7.2f\n", f.name, f.list * 1e3, f.model * 1e3,
                    f.list / f.model);
    }
}

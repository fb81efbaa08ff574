// SPDX-License-Identifier: MIT
// What the parts of list_bench share: the elements' keys, the clock, and the
// runs of the list in each of its modes.
#ifndef LIST_BENCH_H
#define LIST_BENCH_H

#include <chrono>
#include <vector>

constexpr int bench_elements = 1'000'000;
// The operations timed, in the order of the times that a run answers.
constexpr int bench_operations = 5;

// The keys of the elements, pseudo-random and the same in every process.
const std::vector<int>& bench_keys();
// Where a walk leaves its sum, so that it is not left out.
extern volatile long bench_sink;

template <typename Run>
double seconds(Run run) {
    auto const start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// One run of each operation on 10^6 elements: build, insert_after,
// erase_after, iteration and sort, each time in seconds.
void run_plain(double* times);
void run_checked(double* times);

#endif

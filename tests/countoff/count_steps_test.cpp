// SPDX-License-Identifier: MIT
// The steps that show a count: every soldier it passes, laps included, and a
// count of many laps folded into its first lap, one step for the whole laps
// after it, and the rest; against a count that walks every soldier.
#include "counting.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <utility>
#include <vector>

namespace {

using Steps = std::vector<std::pair<std::size_t, std::size_t>>; // number, laps

Steps shown(std::size_t n, std::size_t m) {
    Steps out;
    for (std::size_t i = 0, steps = shown_steps(n, m); i < steps; ++i) {
        CountStep const step = shown_step(n, m, i);
        out.emplace_back(step.number, step.laps);
    }
    return out;
}

struct Case {
    std::size_t n;
    std::size_t m;
    Steps steps;
};

class ShownCount : public testing::TestWithParam<Case> {};

TEST_P(ShownCount, StepsAre) {
    EXPECT_EQ(shown(GetParam().n, GetParam().m), GetParam().steps)
        << "n = " << GetParam().n << ", m = " << GetParam().m;
}

INSTANTIATE_TEST_SUITE_P(
    Counts, ShownCount,
    testing::Values(
        Case{0, 3, {}},                                               // reaches where it starts
        Case{2, 3, {{1, 0}, {2, 0}}},                                 // within a lap
        Case{5, 3, {{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}}},         // laps included
        Case{6, 2, {{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}}}, // three laps
        Case{7, 2, {{1, 0}, {2, 0}, {6, 2}, {7, 0}}},                 // folded
        Case{9, 3, {{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 0}, {9, 0}}},
        Case{12, 3, {{1, 0}, {2, 0}, {3, 0}, {12, 3}}}, // ends on the folded step
        Case{1'000'000'000,
             3,
             {{1, 0}, {2, 0}, {3, 0}, {999'999'999, 333'333'332}, {1'000'000'000, 0}}},
        Case{2'147'483'647,
             2,
             {{1, 0}, {2, 0}, {2'147'483'646, 1'073'741'822}, {2'147'483'647, 0}}}));

// Where the count stands after its steps, walking the soldiers 0 .. m - 1 as
// the game does (a step of laps stays), is where a count of n soldiers one by
// one stands; the numbers rise to n, and there are never more than 3m steps.
TEST(ShownCount, EndsWhereEverySoldierCountedEnds) {
    for (std::size_t m = 1; m <= 12; ++m) {
        for (std::size_t n = 0; n <= 60; ++n) {
            std::size_t at = 0;
            std::size_t last = 0;
            std::size_t const steps = shown_steps(n, m);
            EXPECT_LE(steps, 3 * m) << n << " " << m;
            for (std::size_t i = 0; i < steps; ++i) {
                CountStep const step = shown_step(n, m, i);
                EXPECT_GT(step.number, last) << n << " " << m << " " << i;
                if (step.laps == 0) {
                    at = (at + 1) % m;
                    EXPECT_EQ(step.number, last + 1) << n << " " << m << " " << i;
                } else {
                    EXPECT_EQ(at, 0u) << "the laps start where the count did";
                    EXPECT_EQ(step.number, last + step.laps * m) << n << " " << m;
                }
                last = step.number;
            }
            EXPECT_EQ(last, n) << n << " " << m;
            EXPECT_EQ(at, n % m) << n << " " << m;
        }
    }
}

} // namespace

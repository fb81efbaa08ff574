// SPDX-License-Identifier: MIT
// The pieces that the programs' lines are put together with: a text's "{}"
// filled in turn, whatever the values hold, and numbers in decimal.
#include "format.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

TEST(Filled, FillsEachPlaceInTurnAndNothingElse) {
    struct Case {
        std::string got;
        std::string want;
    };
    Case const cases[] = {
        {filled("a chave {} não está", "99"), "a chave 99 não está"},
        {filled("sem lugar", "99"), "sem lugar"},
        {filled("{}", ""), ""},
        {filled("{}: {} (de 50 a 1000)", "listdemo", "7"), "listdemo: 7 (de 50 a 1000)"},
        {filled("{} soldados, n = {}", std::size_t{12}, 3), "12 soldados, n = 3"},
        // A value that holds "{}" is not filled in its turn.
        {filled("{} e {}", "{}", "b"), "{} e b"},
        // More places than values: the rest stay; more values: not written.
        {filled("{} {} {}", 1), "1 {} {}"},
        {filled("{}", 1, 2, 3), "1"},
        {filled("até {} passos", INT_MIN), "até -2147483648 passos"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.got, c.want);
    }
}

TEST(Decimal, WritesEveryNumberWhole) {
    EXPECT_EQ(decimal(0), "0");
    EXPECT_EQ(decimal(INT_MIN), "-2147483648");
    EXPECT_EQ(decimal(LLONG_MIN), "-9223372036854775808");
    EXPECT_EQ(decimal(~std::size_t{0}), std::to_string(~std::size_t{0}));
}

} // namespace

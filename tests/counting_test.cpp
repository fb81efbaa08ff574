// SPDX-License-Identifier: MIT
// Counting against a plain model, a vector of the soldiers standing: at the
// sizes where the index's words and the levels of its tree change, and for
// counts of 0, 1, 2, 1000 and the largest.
#include "counting.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

namespace {

// The keys of the roster's elements, in circle order.
std::vector<int> keys(const ListaEnc& roster) {
    std::vector<int> standing;
    for (const node& soldier : roster) {
        standing.push_back(soldier.key);
    }
    return standing;
}

class CountingCase : public testing::TestWithParam<std::tuple<std::size_t, std::size_t>> {};

TEST_P(CountingCase, RemovesWhatAPlainCircleRemoves) {
    std::size_t const soldiers = std::get<0>(GetParam());
    std::size_t const n = std::get<1>(GetParam());
    ListaEnc roster;
    roster.inserir(0, "s0");
    node* last = &roster.front();
    for (int key = 1; key < static_cast<int>(soldiers); ++key) {
        last = roster.inserirapos(last, key, "s" + std::to_string(key));
    }
    std::vector<int> model(soldiers);
    std::iota(model.begin(), model.end(), 0);

    Counting counting(roster, n);
    std::size_t at = 0; // where the model's count starts
    // Checks the whole circle a few times, at the start and near the end.
    auto const checked = [&model, soldiers] {
        return model.size() == soldiers || model.size() <= 3 || model.size() % 997 == 0;
    };
    while (model.size() > 1) {
        ASSERT_EQ(counting.standing(), model.size());
        at = (at + n % model.size()) % model.size();
        auto const expected = static_cast<std::size_t>(model[at]);
        ASSERT_EQ(counting.reached_place(), expected);
        ASSERT_EQ(&counting.reached(), &*std::next(roster.begin(), static_cast<long>(at)));
        const node& removed = counting.remove_reached();
        ASSERT_EQ(static_cast<std::size_t>(removed.key), expected);
        model.erase(model.begin() + static_cast<long>(at));
        at %= model.size();
        ASSERT_EQ(removed.next->key, model[at]) << "the count starts again after it";
        if (checked()) {
            ASSERT_EQ(keys(roster), model);
        }
    }
    EXPECT_EQ(counting.standing(), 1U);
    EXPECT_EQ(counting.reached().key, model.front());
    EXPECT_EQ(counting.reached_place(), static_cast<std::size_t>(model.front()));
    // The last one too, which leaves the roster emptied.
    const node& removed = counting.remove_reached();
    EXPECT_EQ(removed.key, model.front());
    EXPECT_EQ(removed.next, &removed);
    EXPECT_EQ(counting.standing(), 0U);
    EXPECT_TRUE(roster.empty());
    EXPECT_FALSE(roster.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Counting, CountingCase,
                         testing::Combine(testing::Values(1, 2, 3, 63, 64, 65, 127, 128, 129, 255,
                                                          256, 257, 4095, 4096, 4097, 8193),
                                          testing::Values(0, 1, 2, 1000, 2147483647)),
                         [](const testing::TestParamInfo<CountingCase::ParamType>& info) {
                             return std::to_string(std::get<0>(info.param)) + "_soldiers_n_" +
                                    std::to_string(std::get<1>(info.param));
                         });

// The soldiers removed are the Counting's; those still standing, the
// roster's: each is released once, by its owner (the sanitizers and
// valgrind see to it).
TEST(Counting, ReleasesTheSoldiersItRemoved) {
    ListaEnc roster;
    for (int key = 0; key < 100; ++key) {
        roster.inserir(key, std::string(40, 'x'));
    }
    {
        Counting counting(roster, 7);
        for (int i = 0; i < 60; ++i) {
            counting.remove_reached();
        }
    }
    EXPECT_EQ(roster.size(), 40U);
}

} // namespace

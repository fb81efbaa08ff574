// SPDX-License-Identifier: MIT
// The standard algorithms over the list's iterators: each, given the same
// elements, must leave the values that it leaves in a std::forward_list,
// and the circle whole, with the same nodes in it (none lost, none leaked).
// A node is a value (key and info) at a place (next): copying or assigning
// one moves the value alone.
#include "listaenccircular.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <forward_list>
#include <functional>
#include <iterator>
#include <ranges>
#include <set>
#include <string>
#include <utility>
#include <vector>

static_assert(std::ranges::forward_range<ListaEnc>);
static_assert(!std::ranges::sized_range<ListaEnc>); // size() walks the circle
static_assert(!std::ranges::sized_range<const ListaEnc>);

namespace {

using Element = std::pair<int, std::string>;
using Model = std::forward_list<Element>;

// One algorithm, written once for both containers: it is given begin and
// end and a way to read an element's key.
struct Case {
    const char* name;
    std::function<void(ListaEnc::iterator, ListaEnc::iterator)> on_list;
    std::function<void(Model::iterator, Model::iterator)> on_model;
};

template <typename Run>
Case both(const char* name, Run run) {
    return {name,
            [run](auto first, auto last) { run(first, last, [](const node& e) { return e.key; }); },
            [run](auto first, auto last) {
                run(first, last, [](const Element& e) { return e.first; });
            }};
}

std::vector<Element> values(const ListaEnc& list) {
    std::vector<Element> seen;
    for (const node& e : list) {
        seen.emplace_back(e.key, e.info);
    }
    return seen;
}

std::set<const node*> places(const ListaEnc& list) {
    std::set<const node*> seen;
    for (const node& e : list) {
        seen.insert(&e);
    }
    return seen;
}

class Algorithm : public testing::TestWithParam<Case> {};

TEST_P(Algorithm, GivesStdForwardListsValuesAndKeepsTheCircle) {
    const Case& c = GetParam();
    for (const std::vector<int>& keys :
         {std::vector<int>{1, 2, 3, 4, 5, 6}, {3, 1, 2}, {7}, {2, 2, 1, 1, 9, 0, 4}, {}}) {
        ListaEnc list;
        Model model;
        auto tail = model.before_begin();
        for (int key : keys) {
            std::string const info(1, char('a' + key));
            list.inserir(key, info);
            tail = model.emplace_after(tail, key, info);
        }
        std::set<const node*> const before = places(list);
        const node* const first = list.empty() ? nullptr : &list.front();
        c.on_list(list.begin(), list.end());
        c.on_model(model.begin(), model.end());
        EXPECT_EQ(values(list), std::vector<Element>(model.begin(), model.end()))
            << c.name << " on " << keys.size() << " elements";
        EXPECT_EQ(places(list), before) << c.name;
        EXPECT_EQ(list.size(), keys.size()) << c.name;
        EXPECT_EQ(list.empty() ? nullptr : &list.front(), first) << c.name;
    }
}

// Keeps the first `kept` values, which is all that remove_if and unique
// promise; the rest are moved-from on both sides.
template <typename It>
void blank_after(It kept, It last) {
    for (; kept != last; ++kept) {
        *kept = std::decay_t<decltype(*kept)>{};
    }
}

std::vector<Case> const cases = {
    both("iter_swap",
         [](auto f, auto l, auto) {
             if (std::distance(f, l) > 2) {
                 std::iter_swap(f, std::next(f, 2));
             }
         }),
    both("swap", [](auto f, auto l, auto) { f != l ? std::swap(*f, *f) : void(); }),
    both("rotate",
         [](auto f, auto l, auto) {
             if (std::distance(f, l) > 2) {
                 std::rotate(f, std::next(f, 2), l);
             }
         }),
    both("partition",
         [](auto f, auto l, auto key) {
             std::partition(f, l, [&](const auto& e) { return key(e) % 2 == 0; });
         }),
    both("remove_if",
         [](auto f, auto l, auto key) {
             blank_after(std::remove_if(f, l, [&](const auto& e) { return key(e) > 2; }), l);
         }),
    both("unique",
         [](auto f, auto l, auto key) {
             blank_after(
                 std::unique(f, l, [&](const auto& a, const auto& b) { return key(a) == key(b); }),
                 l);
         }),
    both("shift_left", [](auto f, auto l, auto) { blank_after(std::shift_left(f, l, 2), l); }),
    both("sorted_through_a_vector",
         [](auto f, auto l, auto key) {
             std::vector<std::decay_t<decltype(*f)>> copy(f, l);
             std::stable_sort(copy.begin(), copy.end(),
                              [&](const auto& a, const auto& b) { return key(a) < key(b); });
             std::move(copy.begin(), copy.end(), f);
         }),
    both("swap_ranges",
         [](auto f, auto l, auto) {
             auto const half = std::distance(f, l) / 2;
             std::swap_ranges(f, std::next(f, half), std::next(f, half));
         }),
// libc++ 14 has ranges without their algorithms, and Clang 14 cannot
// compile libstdc++ 12's.
#if defined(__cpp_lib_ranges) && !(defined(__clang__) && defined(__GLIBCXX__))
    both("ranges_rotate",
         [](auto f, auto l, auto) {
             if (f != l) {
                 std::ranges::rotate(f, std::next(f), l);
             }
         }),
#endif
};

INSTANTIATE_TEST_SUITE_P(Standard, Algorithm, testing::ValuesIn(cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(NodeValue, CopyingMakesANodeOfNoList) {
    ListaEnc list;
    list.inserir(1, "alfa"), list.inserir(2, "beta");
    node const copy = *list.begin();
    EXPECT_EQ(copy.key, 1);
    EXPECT_EQ(copy.info, "alfa");
    EXPECT_EQ(copy.next, nullptr);
    node moved = std::move(*list.begin());
    EXPECT_EQ(moved.next, nullptr);
    EXPECT_EQ(list.size(), 2u);
}

TEST(NodeValue, AssigningMovesTheValueAloneNeverTheLink) {
    ListaEnc list;
    list.inserir(1, "alfa"), list.inserir(2, "beta"), list.inserir(3, "gama");
    node& first = *list.begin();
    node* const next = first.next;
    first = *std::next(list.begin(), 2);
    EXPECT_EQ(first.next, next);
    first = node(9, "nove", nullptr);
    EXPECT_EQ(first.next, next);
    EXPECT_EQ(values(list), (std::vector<Element>{{9, "nove"}, {2, "beta"}, {3, "gama"}}));
}

} // namespace

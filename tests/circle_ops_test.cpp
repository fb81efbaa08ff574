// SPDX-License-Identifier: MIT
// Turning the circle, and the operations that the list shares with
// std::forward_list beyond the first ones, compiled as C++17 against each
// build: random sequences on the list and on a std::forward_list must leave
// the same elements and answer the same; rotate against std::rotate.
#include "listaenccircular.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <forward_list>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using Element = std::pair<int, std::string>;
using Model = std::forward_list<Element>;

std::vector<Element> elements(const ListaEnc& list) {
    std::vector<Element> seen;
    for (const node& e : list) {
        seen.emplace_back(e.key, e.info);
    }
    return seen;
}

std::vector<Element> elements(const Model& model) { return {model.begin(), model.end()}; }

// Whether the circle closes at the first element after as many steps as
// the list has elements.
bool closes(const ListaEnc& list) {
    std::size_t const n = list.size();
    if (n == 0) {
        return true;
    }
    const node* at = &list.front();
    for (std::size_t i = 0; i < n; ++i) {
        at = at->next;
    }
    return at == &list.front();
}

TEST(Rotate, TurnsTheCircleAsStdRotateTurnsAVector) {
    for (std::size_t n : {0u, 1u, 2u, 5u}) {
        for (std::size_t k : {0u, 1u, 2u, 4u, 5u, 6u, 13u, 1000001u}) {
            ListaEnc list;
            std::vector<Element> model;
            for (std::size_t i = 0; i < n; ++i) {
                list.inserir(int(i), std::string(1, char('a' + i)));
                model.emplace_back(int(i), std::string(1, char('a' + i)));
            }
            std::vector<const node*> places;
            for (const node& e : list) {
                places.push_back(&e);
            }
            list.rotate(k);
            if (n > 0) {
                std::rotate(model.begin(), model.begin() + long(k % n), model.end());
            }
            EXPECT_EQ(elements(list), model) << n << " elements, " << k << " places";
            for (std::size_t i = 0; i < places.size(); ++i) { // no link changed
                EXPECT_EQ(places[i]->next, places[(i + 1) % n]);
            }
        }
    }
    ListaEnc list{{1, "a"}, {2, "b"}, {3, "c"}};
    list.rotate();
    EXPECT_EQ(elements(list), (std::vector<Element>{{2, "b"}, {3, "c"}, {1, "a"}}));
}

TEST(Comparison, IsElementByElementKeyThenInfo) {
    struct Row {
        std::vector<Element> a, b;
        int order; // of a against b
    };
    Row const rows[] = {
        {{}, {}, 0},
        {{{1, "a"}}, {}, 1},
        {{{1, "a"}}, {{1, "a"}}, 0},
        {{{1, "a"}}, {{1, "b"}}, -1},
        {{{2, "a"}}, {{1, "b"}}, 1},
        {{{1, "a"}, {2, "b"}}, {{1, "a"}}, 1},
        {{{1, "a"}, {2, "b"}}, {{1, "a"}, {3, ""}}, -1},
    };
    for (const Row& row : rows) {
        ListaEnc a, b;
        a.assign(row.a.begin(), row.a.end());
        b.assign(row.b.begin(), row.b.end());
        Model const ma(row.a.begin(), row.a.end()), mb(row.b.begin(), row.b.end());
        EXPECT_EQ(a == b, ma == mb);
        EXPECT_EQ(a != b, ma != mb);
        EXPECT_EQ(a < b, ma < mb);
        EXPECT_EQ(a > b, ma > mb);
        EXPECT_EQ(a <= b, ma <= mb);
        EXPECT_EQ(a >= b, ma >= mb);
        EXPECT_EQ(compare(a, b), row.order);
    }
}

TEST(ForwardListAdditions, GiveTheResultsOfStdForwardList) {
    std::mt19937 random(4077);
    for (int run = 0; run < 300; ++run) {
        ListaEnc list;
        Model model;
        for (int op = 0; op < 30; ++op) {
            std::size_t const n = list.size();
            int const key = int(random() % 5);
            std::string const info(1, char('a' + random() % 3));
            switch (random() % 9) {
            case 0: {
                std::vector<Element> const values(random() % 6, Element{key, info});
                list.assign(values.begin(), values.end());
                model.assign(values.begin(), values.end());
                break;
            }
            case 1:
                list.assign({{key, info}, {key + 1, info}});
                model.assign({{key, info}, {key + 1, info}});
                break;
            case 2:
                if (n > 0) {
                    std::size_t const at = random() % n;
                    list.emplace_after(std::next(list.cbegin(), long(at)), key, info);
                    model.emplace_after(std::next(model.cbegin(), long(at)), key, info);
                }
                break;
            case 3: {
                if (n > 0) { // within the first lap: [pos, last) before the end
                    std::size_t const at = random() % n;
                    std::size_t const to = at + 1 + random() % (n - at);
                    auto const last = to == n ? list.cend() : std::next(list.cbegin(), long(to));
                    auto const kept = list.erase_after(std::next(list.cbegin(), long(at)), last);
                    EXPECT_TRUE(kept == last);
                    model.erase_after(std::next(model.cbegin(), long(at)),
                                      std::next(model.cbegin(), long(to)));
                }
                break;
            }
            case 4:
                list.unique();
                model.unique([](const Element& a, const Element& b) { return a.first == b.first; });
                break;
            case 5: {
                auto const same_info = [](const auto& a, const auto& b) {
                    return a.info == b.info;
                };
                list.unique(same_info);
                model.unique(
                    [](const Element& a, const Element& b) { return a.second == b.second; });
                break;
            }
            case 6:
            case 7: {
                std::vector<Element> values(random() % 5);
                for (Element& v : values) {
                    v = {int(random() % 6), std::string(1, char('p' + random() % 3))};
                }
                ListaEnc other;
                other.assign(values.begin(), values.end());
                Model other_model(values.begin(), values.end());
                auto const by_key = [](const auto& a, const auto& b) { return a.first < b.first; };
                other.sort();
                other_model.sort(by_key);
                list.sort();
                model.sort(by_key);
                if (op % 2 == 0) {
                    list.merge(other);
                } else {
                    list.merge(std::move(other),
                               [](const node& a, const node& b) { return a.key < b.key; });
                }
                model.merge(other_model, by_key);
                EXPECT_TRUE(other.empty());
                break;
            }
            case 8:
                list.clear(), model.clear();
            }
            ASSERT_EQ(elements(list), elements(model)) << "run " << run << ", operation " << op;
            ASSERT_TRUE(closes(list));
        }
    }
}

} // namespace

// SPDX-License-Identifier: MIT
// The names that the list shares with std::forward_list, compiled as C++17
// against each build: random operations on two lists, and the same on two
// std::forward_list, must leave the same elements in the same order (a
// circle read from its first element) and answer the same.
#include "listaenccircular.h"

#include <gtest/gtest.h>

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
    for (auto at = list.cbegin(); at != list.cend(); ++at) {
        seen.emplace_back(at->key, at->info);
    }
    return seen;
}

std::size_t size(const Model& model) {
    return std::size_t(std::distance(model.begin(), model.end()));
}

TEST(ForwardListNames, GiveTheResultsOfStdForwardList) {
    std::mt19937 random(2033);
    auto const pick = [&random](std::size_t n) { return std::size_t(random() % n); };
    for (int run = 0; run < 300; ++run) {
        ListaEnc lists[2];
        Model models[2];
        for (int op = 0; op < 60; ++op) {
            std::size_t const which = pick(2);
            ListaEnc &list = lists[which], &other = lists[1 - which];
            Model &model = models[which], &other_model = models[1 - which];
            std::size_t const n = size(model);
            std::size_t const i = n > 0 ? pick(n) : 0;
            std::size_t const j = pick(size(other_model) + 1);
            auto const at = [](auto& l, std::size_t k) { return std::next(l.begin(), long(k)); };
            int const key = int(pick(4));
            std::string const info = std::to_string(run) + "." + std::to_string(op);
            auto const odd = [](node& e) { return e.info.size() % 2 == 1; };
            auto const odd_pair = [](const Element& e) { return e.second.size() % 2 == 1; };
            switch (pick(15)) {
            case 0:
            case 1:
                if (n == 0) {
                    list.inserir(key, info);
                    model.emplace_front(key, info);
                } else {
                    EXPECT_EQ(list.insert_after(at(list, i), key, info)->info,
                              model.insert_after(at(model, i), {key, info})->second);
                }
                break;
            case 2:
                if (i + 1 < n) {
                    EXPECT_EQ(list.erase_after(at(list, i))->info, std::next(at(model, i))->second);
                    model.erase_after(at(model, i));
                }
                break;
            case 3:
                list.clear(), model.clear();
                break;
            case 4:
                list.swap(other), model.swap(other_model);
                break;
            case 5: {
                using std::swap;
                swap(list, other), swap(model, other_model);
                break;
            }
            case 6:
                model.remove_if([key](const Element& e) { return e.first == key; });
                EXPECT_EQ(list.remove(key), n - size(model));
                break;
            case 7:
                model.remove_if(odd_pair);
                EXPECT_EQ(list.remove_if(odd), n - size(model));
                break;
            case 8:
                list.reverse(), model.reverse();
                break;
            case 9: // stable: equal keys keep their order
                list.sort();
                model.sort([](const Element& a, const Element& b) { return a.first < b.first; });
                break;
            case 10:
                list.sort([](const node& a, const node& b) { return a.key > b.key; });
                model.sort([](const Element& a, const Element& b) { return a.first > b.first; });
                break;
            case 11:
                if (n > 0) {
                    list.splice_after(at(list, i), other);
                    model.splice_after(at(model, i), other_model);
                }
                break;
            case 12:
                if (n > 0) {
                    list.splice_after(at(list, i), std::move(other));
                    model.splice_after(at(model, i), std::move(other_model));
                }
                break;
            case 13: // the element after the j-th of the other list, not after its last
                if (n > 0 && j + 1 < size(other_model)) {
                    list.splice_after(at(list, i), other, at(other, j));
                    model.splice_after(at(model, i), other_model, at(other_model, j));
                }
                break;
            case 14: // within the list itself
                if (std::size_t const k = pick(n + 1); k + 1 < n) {
                    list.splice_after(at(list, i), list, at(list, k));
                    model.splice_after(at(model, i), model, at(model, k));
                }
            }
            for (std::size_t k : {0, 1}) {
                ASSERT_EQ(elements(lists[k]),
                          std::vector<Element>(models[k].begin(), models[k].end()))
                    << "run " << run << ", operation " << op;
                ASSERT_EQ(lists[k].empty(), models[k].empty());
            }
        }
    }
}

} // namespace

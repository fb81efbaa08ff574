// SPDX-License-Identifier: MIT
// The list in its checked mode, compiled into this test: each requirement
// broken once must abort the process with exactly one line on standard error
// that names the operation and what was wrong (each row's line a regular
// expression).
#include "listaenccircular.h"

#include <gtest/gtest.h>

#include <csignal>
#include <iostream>
#include <iterator>
#include <string>
#include <utility>

TEST(CheckedMode, AbortsWithOneLineOnEachBrokenRequirement) {
    // Static, for the rows to reach; each row runs in a process of its own.
    static ListaEnc list, other;
    list.inserir(1, "alfa"), list.inserir(2, "beta"), other.inserir(3, "gama");
    static ListaEnc::const_iterator const first = list.begin(); // a row unlinks it
    std::string const out = " nao e um elemento desta lista";
    std::string const gone = ": o elemento do iterador nao esta na lista";
    std::pair<std::string, void (*)()> const rows[] = {
        {"removerapos: anterior e nulo", [] { list.removerapos(nullptr); }},
        {"removerapos: anterior" + out, [] { list.removerapos(&*other.begin()); }},
        {"inserirapos: anterior" + out, [] { list.inserirapos(&*other.begin(), 0, ""); }},
        {"insert_after: pos e end\\(\\)", [] { list.insert_after(list.end(), 0, ""); }},
        {"insert_after: pos" + out, [] { list.insert_after(other.begin(), 0, ""); }},
        {"erase_after: pos" + out, [] { list.erase_after(other.begin()); }},
        {"erase_after: pos" + out, [] { list.pop(), list.erase_after(first); }},
        {"erase_after: last" + out, [] { list.erase_after(list.begin(), other.begin()); }},
        {"erase_after: pos e end\\(\\)", [] { list.erase_after(list.end(), list.end()); }},
        {"inserirapos: anterior e nulo", [] { list.inserirapos(nullptr, 0, ""); }},
        {"front: a lista nao tem elementos", [] { list.limpar(), list.front(); }},
        {"operator\\+\\+: o iterador e end\\(\\)", [] { ++list.end(); }},
        {"splice_after: other e esta lista", [] { list.splice_after(list.begin(), list); }},
        {"splice_after: it" + out, [] { list.splice_after(list.begin(), other, list.begin()); }},
        // A copy of an element is a node of no list.
        {"removerapos: anterior" + out,
         [] {
             node copy = *std::next(list.begin());
             list.removerapos(&copy);
         }},
        {"inserirapos: anterior" + out,
         [] {
             node copy = *list.begin();
             copy = *std::next(list.begin());
             list.inserirapos(&copy, 0, "");
         }},
        // An iterator whose element is unlinked and still alive, or moved to
        // another list.
        {"operator\\*" + gone,
         [] {
             auto const kept = list.pop();
             *first;
         }},
        {"operator->" + gone,
         [] {
             auto const kept = list.pop();
             static_cast<void>(first->key);
         }},
        {"operator\\+\\+" + gone,
         [] {
             auto const kept = list.pop();
             ++ListaEnc::const_iterator(first);
         }},
        {"operator\\*" + gone, [] { other.splice_after(other.begin(), list), *first; }},
        // The report arrives whatever state std::cerr is in.
        {"front: a lista nao tem elementos",
         [] { std::cerr.setstate(std::ios::failbit), list.clear(), list.front(); }},
        {"removerapos: anterior e nulo",
         [] { std::cerr.rdbuf(nullptr), list.removerapos(nullptr); }},
    };
    for (const auto& [line, broken] : rows) { // an emulator may add its report of the signal
        EXPECT_EXIT(broken(), testing::KilledBySignal(SIGABRT),
                    testing::MatchesRegex("listaenc: " + line + "\n(qemu: [^\n]*\n)?"));
    }
}

TEST(CheckedMode, LetsEachRequirementThatHoldsPass) {
    ListaEnc list, other;
    list.inserir(1, "alfa"), other.inserir(2, "beta"), other.inserir(3, "gama");
    list.insert_after(list.begin(), 4, "delta");
    list.inserirapos(&list.front(), 5, "epsilon");
    list.splice_after(list.begin(), other, other.begin());
    list.splice_after(list.begin(), other);
    auto const kept = list.removerapos(&list.front());
    list.erase_after(list.begin());
    int keys = 0;
    for (const node& e : list) {
        keys = keys * 10 + e.key;
    }
    EXPECT_EQ(keys, 154);
    EXPECT_EQ(kept->key, 2);
    EXPECT_TRUE(other.empty());
    list.erase_after(list.begin(), std::next(list.begin(), 2));
    list.erase_after(list.begin(), list.end());
    EXPECT_EQ(list.size(), 1U);
}

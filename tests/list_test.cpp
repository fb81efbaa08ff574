// SPDX-License-Identifier: MIT
// The list's tests: the differential fuzz target, run without libFuzzer on
// its corpus and on inputs drawn from a fixed seed, and what the header
// promises beyond what it sees: where an iterator stays valid, and how the
// list prints, whatever the stream's format and when memory runs out.
#include "listaenc_differential.h"
#include "listaenccircular.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <iterator>
#include <locale>
#include <new>
#include <random>
#include <string>
#include <utility>
#include <vector>

extern long allocations_left; // failing_new.cpp

namespace {

// Each input, a file of the corpus or bytes drawn from a seed, is named in
// the report of its first disagreement, with the operation, by its index,
// and what the list printed against what its model says; the others run on.
TEST(ListaEnc, AgreesWithItsModel) {
    auto const run = [](const std::string& bytes, const std::string& input) {
        auto const found =
            first_disagreement(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        EXPECT_FALSE(found) << input << ", operation " << found->operation << " (" << found->name
                            << "): the list printed\n"
                            << found->printed << "\nwhere its model says\n"
                            << found->expected;
    };
    for (const auto& file : std::filesystem::directory_iterator(LISTAENC_FUZZ_CORPUS)) {
        std::ifstream in(file.path(), std::ios::binary);
        run(std::string(std::istreambuf_iterator<char>(in), {}), file.path().string());
    }
    std::mt19937 random(2026);
    for (int drawn = 0; drawn < 500; ++drawn) {
        std::string bytes(random() % 2000, '\0');
        std::generate(bytes.begin(), bytes.end(), [&random] { return char(random()); });
        run(bytes, "input " + std::to_string(drawn) + " from the seed 2026");
    }
}

// Where an iterator at the second element of the circle 1, 2, 3 goes on to
// after each change that the header says leaves it valid.
TEST(ListaEnc, IteratorStaysValidAcrossChangesToOtherElements) {
    struct Change {
        const char* what;
        void (*apply)(ListaEnc& list, ListaEnc& moved);
        std::vector<int> keys_after;
    };
    Change const changes[] = {
        {"an insertion at the end", [](ListaEnc& l, ListaEnc&) { l.inserir(4, ""); }, {2, 3, 4}},
        {"the first unlinked", [](ListaEnc& l, ListaEnc&) { l.pop(); }, {2, 3}},
        {"the list moved",
         [](ListaEnc& l, ListaEnc& m) { m = std::move(l), m.inserir(4, ""); },
         {2, 3, 4}},
    };
    for (const Change& change : changes) {
        ListaEnc list, moved;
        for (int key : {1, 2, 3}) {
            list.inserir(key, "");
        }
        auto const second = std::next(list.begin());
        change.apply(list, moved);
        const ListaEnc& now = moved.isEmpty() ? list : moved;
        std::vector<int> keys;
        for (auto at = second; at != now.end() && keys.size() < 10; ++at) {
            keys.push_back(at->key);
        }
        EXPECT_EQ(keys, change.keys_after) << change.what;
    }
}

// A node of the caller's own, in each form of new that any type takes, is
// never taken for an element.
TEST(ListaEnc, LeavesANodeOfTheCallersOwnAlone) {
    std::unique_ptr<node> const made(new node{1, "", nullptr});
    std::unique_ptr<node> const nothrow(new (std::nothrow) node{1, "", nullptr});
    alignas(node) unsigned char place[sizeof(node)];
    node* const placed = new (place) node{1, "", nullptr};
    ListaEnc list;
    list.inserir(1, "");
    for (node* const own : {made.get(), nothrow.get(), placed}) {
        EXPECT_EQ(list.removerno(own), nullptr);
    }
    placed->~node();
    EXPECT_EQ(list.tamanho(), 1);
}

// Keys in plain decimal and texts as they are, whatever the stream is set to,
// and no width left for the caller's next output.
TEST(Printing, IgnoresTheFormatOfTheStream) {
    struct Dotted : std::numpunct<char> {
        char do_thousands_sep() const override { return '.'; }
        std::string do_grouping() const override { return "\3"; }
    };
    ListaEnc list;
    list.inserir(1234567, "alfa");
    testing::internal::CaptureStdout();
    std::locale const before = std::cout.imbue(std::locale(std::cout.getloc(), new Dotted));
    std::cout << std::hex << std::showbase << std::setfill('*');
    for (const node& e : list) { // a width is taken by the printing, and ignored
        std::cout << std::setw(12);
        e.display();
        std::cout << '|' << std::setw(12);
        e.displayinfo();
        std::cout << '|' << std::setw(12);
    }
    list.ExibirLista();
    std::cout << '|' << std::dec << std::noshowbase << std::setfill(' ');
    std::cout.imbue(before);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "1234567 |alfa | 1234567 \n|");
}

TEST(Printing, ThrowsBadAllocAndLeavesTheListAsItWasWhenMemoryRunsOut) {
    ListaEnc list;
    for (int key = 0; key < 100; ++key) { // a line too long to need no memory
        list.inserir(key, "soldado");
    }
    testing::internal::CaptureStdout();
    allocations_left = 0;
    EXPECT_THROW(list.ExibirInfo(), std::bad_alloc);
    list.ExibirInfo(); // the one line printed
    EXPECT_EQ(testing::internal::GetCapturedStdout().size(), listaenc_demo_build ? 802U : 1194U);
}

} // namespace

// SPDX-License-Identifier: MIT
// The list's tests: the differential fuzz target, run without libFuzzer on
// its corpus and on inputs drawn from a fixed seed, and what the header
// promises beyond what it sees: where an iterator stays valid, and what
// printing does when memory runs out.
#include "listaenccircular.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <random>
#include <string>
#include <utility>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

extern long allocations_left; // failing_new.cpp

namespace {

TEST(ListaEnc, AgreesWithItsModel) {
    auto const run = [](const std::string& bytes) {
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    };
    for (const auto& file : std::filesystem::directory_iterator(LISTAENC_FUZZ_CORPUS)) {
        std::ifstream in(file.path(), std::ios::binary);
        run(std::string(std::istreambuf_iterator<char>(in), {}));
    }
    std::mt19937 random(2026);
    for (int drawn = 0; drawn < 500; ++drawn) {
        std::string bytes(random() % 2000, '\0');
        std::generate(bytes.begin(), bytes.end(), [&random] { return char(random()); });
        run(bytes);
    }
}

// The circle 1, 2, 3 and an iterator at 2.
class Circle : public ::testing::Test {
protected:
    void SetUp() override {
        for (int key : {1, 2, 3}) {
            list.inserir(key, "");
        }
        second = ++list.begin();
    }

    // The keys from the iterator at 2 to the end of `of`, ten at most.
    std::vector<int> keys_from_second(const ListaEnc& of) const {
        std::vector<int> keys;
        for (auto at = second; at != of.end() && keys.size() < 10; ++at) {
            keys.push_back(at->key);
        }
        return keys;
    }

    ListaEnc list;
    ListaEnc::iterator second;
};

TEST_F(Circle, IteratorGoesOnToAnElementInsertedAtTheEnd) {
    list.inserir(4, "");
    EXPECT_EQ(keys_from_second(list), (std::vector<int>{2, 3, 4}));
}

TEST_F(Circle, IteratorStopsAtTheNewFirstElementWhenTheFirstIsRemoved) {
    auto const first = list.pop();
    EXPECT_EQ(keys_from_second(list), (std::vector<int>{2, 3}));
}

TEST_F(Circle, IteratorGoesWithTheElementsWhenTheListIsMoved) {
    ListaEnc moved(std::move(list));
    moved.inserir(4, "");
    EXPECT_EQ(keys_from_second(moved), (std::vector<int>{2, 3, 4}));
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

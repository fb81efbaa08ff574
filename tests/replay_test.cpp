// SPDX-License-Identifier: MIT
// The differential fuzz target, run without libFuzzer against each build of
// the list: on its corpus, then on inputs drawn from a fixed seed. No input
// may leave an allocation behind; a leak names the input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern long live_allocations; // counting_new.cpp

TEST(ListaEnc, AgreesWithItsModel) {
    std::vector<std::pair<std::string, std::string>> inputs; // origin, bytes
    for (const auto& file : std::filesystem::directory_iterator(LISTAENC_FUZZ_CORPUS)) {
        std::ifstream in(file.path(), std::ios::binary);
        inputs.emplace_back(file.path(), std::string(std::istreambuf_iterator<char>(in), {}));
    }
    std::mt19937 random(2026);
    for (int drawn = 0; drawn < 500; ++drawn) {
        auto& bytes = inputs.emplace_back("drawn", std::string(random() % 2000, '\0')).second;
        std::generate(bytes.begin(), bytes.end(), [&random] { return char(random()); });
    }
    std::uint8_t const insertion[] = {0, 0, 0}; // makes the buffer that printing keeps
    LLVMFuzzerTestOneInput(insertion, sizeof insertion);
    for (const auto& [origin, bytes] : inputs) {
        long const before = live_allocations;
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        EXPECT_EQ(live_allocations, before)
            << "leaked on " << origin << ": " << ::testing::PrintToString(bytes);
    }
}

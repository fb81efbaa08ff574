// SPDX-License-Identifier: MIT
// The list against its model, on operations read from bytes: the fuzz
// target's work, which the test suite runs too.
#ifndef LISTAENC_DIFFERENTIAL_H
#define LISTAENC_DIFFERENTIAL_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Where the list and its model first disagree.
struct Disagreement {
    std::size_t operation; // its index among the input's operations, from 0
    const char* name;      // what the operation does ("remover", "sort"...)
    std::string printed;   // what the list printed for it
    std::string expected;  // what its model says it must print
};

// Effects: applies the operations that `data` encodes to a list and to its
//   model, printing each list's output into a buffer of its own (std::cout
//   is given back, even when an exception leaves).
// Returns: the first operation whose output differs from the model's, or
//   none.
std::optional<Disagreement> first_disagreement(const std::uint8_t* data, std::size_t size);

#endif

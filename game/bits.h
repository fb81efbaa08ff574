// SPDX-License-Identifier: MIT
// A word of 64 bits as a set of places: the place of its set bit of a given
// rank. The indexes of the count (counting.h, and the draw's Circle in
// draw.h) keep who still stands this way, a bit each.
#ifndef LISTAENC_BITS_H
#define LISTAENC_BITS_H

#include <bit>
#include <cstddef>
#include <cstdint>

// Returns: the position in `bits` of its set bit of this rank (< the number
//   set). Each byte's bits are counted at once, and summed into a running
//   count by a multiplication; then the byte is found, and the bit in it.
inline std::size_t select_bit(std::uint64_t bits, std::size_t rank) noexcept {
    constexpr std::uint64_t every_byte = 0x0101010101010101;
    std::uint64_t counts = bits - ((bits >> 1) & 0x5555555555555555);
    counts = (counts & 0x3333333333333333) + ((counts >> 2) & 0x3333333333333333);
    counts = (counts + (counts >> 4)) & 0x0f0f0f0f0f0f0f0f;
    std::uint64_t const up_to = counts * every_byte; // byte i: the bits set in bytes 0 to i
    std::size_t byte = 0;
    std::size_t before = 0;
    while ((up_to >> (8 * byte) & 0xff) <= rank) {
        before = up_to >> (8 * byte) & 0xff;
        ++byte;
    }
    auto in_byte = static_cast<unsigned>(bits >> (8 * byte) & 0xff);
    for (rank -= before; rank > 0; --rank) {
        in_byte &= in_byte - 1; // the lowest bit set goes
    }
    return 8 * byte + static_cast<std::size_t>(std::countr_zero(in_byte));
}

#endif

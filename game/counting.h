// SPDX-License-Identifier: MIT
// Counting: the count that walks the circle of a roster (a ListaEnc), and
// the index beside the roster that finds the soldier at which it stops.
//
// The count starts at the roster's first soldier, passes n soldiers and
// removes the one it reaches; it starts again at the soldier after that one.
// A soldier's rank is its 0-based place among those still standing, in
// circle order from the roster's first element (what ExibirInfo numbers from
// 1). Removing a soldier never changes the order of the others, so the
// soldier that the count reaches is the one of rank (r + n) mod m, where r is
// the rank at which the count starts and m the number of soldiers standing:
// whole laps cost nothing. The index keeps each element by its place in the
// roster as it was made, and which places still stand, one bit each, with a
// Fenwick tree over the number standing in each 64 places: a soldier is
// found by rank, and sits down, in O(log N) steps, N the number of soldiers
// at the start. While the caller prints one removal, the soldiers that the
// next one touches are on their way to the cache.
//
// Ownership: the soldiers removed are the Counting's, and stay in memory,
// each with its `next` link as the removal left it, until the Counting is
// destroyed; they are then released in roster order, which is much faster
// than releasing them in the order of the count.
//
// Memory: a pointer, a bit and 1/16 of a 32-bit count for each soldier that
// stood at the start, allocated with operator new when the Counting is made.
#ifndef LISTAENC_COUNTING_H
#define LISTAENC_COUNTING_H

#include "listaenccircular.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A count shown step by step: each soldier that it passes is a step, k of
// n, the last the soldier it reaches. A count of more than three laps of the
// m soldiers standing is shown as its first lap, then one step for the whole
// laps after it (two or more), which end where the first one did, at the
// soldier where the count started, then the rest: never more than 3m steps,
// and the last is always step n of n.
struct CountStep {
    std::size_t number; // k of "passo k de n"
    std::size_t laps;   // the whole laps that the step passes at once, or 0
};
// Requires: m >= 1.
// Returns: how many steps show a count of n among m soldiers. Cost: O(1).
std::size_t shown_steps(std::size_t n, std::size_t m) noexcept;
// Requires: m >= 1 and i < shown_steps(n, m).
// Returns: the i-th step (from 0) of that count; the count moves on by one
//   soldier in each, but in a step of laps. Cost: O(1).
CountStep shown_step(std::size_t n, std::size_t m, std::size_t i) noexcept;

class Counting {
public:
    // Requires: the roster has an element, outlives the Counting, and from
    //   now on loses elements only through remove_reached().
    // Effects: stands every element of the roster, in circle order, and
    //   starts the count of n at the first. Cost: O(N). Throws:
    //   std::bad_alloc.
    Counting(ListaEnc& roster, std::size_t n);
    // Effects: releases the soldiers removed. Cost: O(N). Throws: nothing.
    ~Counting();
    Counting(const Counting&) = delete;
    Counting& operator=(const Counting&) = delete;

    // Returns: how many soldiers still stand. Cost: O(1). Throws: nothing.
    std::size_t standing() const noexcept { return standing_; }

    // Requires: standing() > 0.
    // Returns: the soldier that the count reaches (with one standing, that
    //   one), and its place: 0-based, in circle order of the roster as it
    //   was when the Counting was made. Cost: O(1). Throws: nothing.
    const node& reached() const noexcept { return *by_place_[reached_place_]; }
    std::size_t reached_place() const noexcept { return reached_place_; }

    // Requires: standing() > 0.
    // Effects: unlinks from the roster the soldier that the count reaches,
    //   and starts the next count at the soldier that followed it.
    // Returns: the soldier removed; its `next` is the soldier that followed
    //   it (itself when it stood alone). Cost: O(log N). Throws: nothing.
    const node& remove_reached() noexcept;

private:
    bool stands(std::size_t place) const noexcept;
    // The place in the roster of the soldier of this rank (< standing()).
    std::size_t place(std::size_t rank) const noexcept;
    // The place of the soldier of this rank, which stands next to the one
    // at `from` (just before it when `before`, else just after it).
    std::size_t beside(std::size_t from, bool before, std::size_t rank) const noexcept;
    // Finds the soldier before the one that the count reaches, and asks for
    // the two and the one after it to be brought to the cache; then finds
    // the soldier that the count after this one reaches, and asks for the
    // pointers to it and to the soldiers likely to stand beside it.
    void aim() noexcept;

    ListaEnc& roster_;
    std::size_t n_;
    std::vector<node*> by_place_;
    // Bit p % 64 of word p / 64 is set while the soldier at place p stands;
    // there are span_ words, a power of two, those past the roster empty.
    std::vector<std::uint64_t> bits_;
    // A Fenwick tree over the words, 1-based: tree_[i] is the number of bits
    // set in the words (i - lowbit(i), i], counted from 1; tree_[0] is unused.
    std::vector<std::uint32_t> tree_;
    std::size_t span_ = 1;
    std::size_t standing_ = 0;
    std::size_t reached_ = 0;       // the rank that the count reaches
    std::size_t reached_place_ = 0; // and its place
    std::size_t before_place_ = 0;  // the place of the soldier before it
    std::size_t next_reached_ = 0;  // the rank that the next count reaches
    std::size_t next_place_ = 0;    // and its place
};

#endif

// SPDX-License-Identifier: MIT
#include "counting.h"

#include "bits.h"

#include <algorithm>
#include <bit>
#include <iterator>
#include <memory>

namespace {

constexpr std::size_t word_bits = 64;

} // namespace

Counting::Counting(ListaEnc& roster, std::size_t n) : roster_(roster), n_(n) {
    by_place_.reserve(static_cast<std::size_t>(std::distance(roster.begin(), roster.end())));
    for (node& soldier : roster) {
        by_place_.push_back(&soldier);
    }
    standing_ = by_place_.size();
    std::size_t const words = (standing_ + word_bits - 1) / word_bits;
    while (span_ < words) {
        span_ *= 2;
    }
    bits_.assign(span_, 0);
    std::fill_n(bits_.begin(), standing_ / word_bits, ~std::uint64_t{0});
    if (std::size_t const rest = standing_ % word_bits; rest != 0) {
        bits_[words - 1] = (std::uint64_t{1} << rest) - 1;
    }
    // Each word's count, each node's then passed on to the node above it.
    tree_.assign(span_ + 1, 0);
    for (std::size_t i = 1; i <= span_; ++i) {
        tree_[i] += static_cast<std::uint32_t>(std::popcount(bits_[i - 1]));
        if (std::size_t const above = i + (i & -i); above <= span_) {
            tree_[above] += tree_[i];
        }
    }
    reached_ = n_ % standing_;
    reached_place_ = place(reached_);
    aim();
}

Counting::~Counting() {
    for (std::size_t place = 0; place < by_place_.size(); ++place) {
        if (!stands(place)) {
            std::unique_ptr<node> const removed(by_place_[place]);
        }
    }
}

bool Counting::stands(std::size_t place) const noexcept {
    return (bits_[place / word_bits] >> (place % word_bits) & 1) != 0;
}

// Descends the tree from its widest range to its narrowest: a range whose
// soldiers all come before the one sought is stepped over, and the rank
// counts down by them. What was stepped over is the words before its word.
std::size_t Counting::place(std::size_t rank) const noexcept {
    std::size_t passed = 0;
    for (std::size_t step = span_ / 2; step > 0; step /= 2) {
        std::uint32_t const below = tree_[passed + step];
        if (below <= rank) {
            passed += step;
            rank -= below;
        }
    }
    return passed * word_bits + select_bit(bits_[passed], rank);
}

// Looks in the word of `from` first, and searches the tree only when the
// soldier is not there.
std::size_t Counting::beside(std::size_t from, bool before, std::size_t rank) const noexcept {
    std::size_t const word = from / word_bits;
    std::uint64_t const below = (std::uint64_t{1} << from % word_bits) - 1;
    std::uint64_t const near = bits_[word] & (before ? below : ~below << 1);
    if (near == 0) {
        return place(rank);
    }
    return word * word_bits +
           static_cast<std::size_t>(before ? 63 - std::countl_zero(near) : std::countr_zero(near));
}

void Counting::aim() noexcept {
    std::size_t const last = standing_ - 1;
    before_place_ = beside(reached_place_, true, reached_ == 0 ? last : reached_ - 1);
    std::size_t const after_place =
        beside(reached_place_, false, reached_ == last ? 0 : reached_ + 1);
    __builtin_prefetch(by_place_[before_place_], 1);
    __builtin_prefetch(by_place_[reached_place_], 1);
    __builtin_prefetch(by_place_[after_place]);
    if (last > 0) {
        // The next count's rank once this soldier is gone, then its place,
        // and the pointers to it and to the places beside it, where its
        // neighbours most often stand (three pointers span two lines).
        next_reached_ = (reached_ + n_ % last) % last;
        next_place_ = place(next_reached_ < reached_ ? next_reached_ : next_reached_ + 1);
        __builtin_prefetch(&by_place_[next_place_ == 0 ? 0 : next_place_ - 1]);
        __builtin_prefetch(&by_place_[std::min(next_place_ + 1, by_place_.size() - 1)]);
    }
}

const node& Counting::remove_reached() noexcept {
    // The names that the caller prints next: the soldier's, and that of the
    // soldier after it, where the next count starts. Their elements are in
    // the cache by now.
    const node* const reached = by_place_[reached_place_];
    __builtin_prefetch(reached->info.data());
    __builtin_prefetch(reached->next->info.data());
    bits_[reached_place_ / word_bits] &= ~(std::uint64_t{1} << reached_place_ % word_bits);
    for (std::size_t i = reached_place_ / word_bits + 1; i <= span_; i += i & -i) {
        --tree_[i];
    }
    node* const removed = roster_.removerapos(by_place_[before_place_]).release();
    if (--standing_ > 0) {
        reached_ = next_reached_; // the soldier after the one removed has its rank now
        reached_place_ = next_place_;
        aim();
    }
    return *removed;
}

std::size_t shown_steps(std::size_t n, std::size_t m) noexcept {
    return n <= 3 * m ? n : m + 1 + n % m;
}

CountStep shown_step(std::size_t n, std::size_t m, std::size_t i) noexcept {
    if (n <= 3 * m || i < m) {
        return {i + 1, 0};
    }
    std::size_t const laps_end = n / m * m; // where the whole laps end
    return i == m ? CountStep{laps_end, n / m - 1} : CountStep{laps_end + (i - m), 0};
}

// SPDX-License-Identifier: MIT
// What the list writes, for listaenccircular.cpp alone (not installed): a
// line on standard output, formatted whole in a buffer of its own and written
// with one call, and a report on standard error, written with one write(2)
// whatever state std::cerr is in.
#ifndef LISTAENC_PRINTING_H
#define LISTAENC_PRINTING_H

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <iostream>
#include <memory>
#include <string_view>

namespace {

// The size of the last line of this thread that was too long for the buffer
// it holds in itself. The next such line allocates that much at once, so that
// a long circle printed again and again takes one allocation a line and no
// copy, while one huge line costs the lines after it only once. It is plain
// data: a line owns its buffer, and nothing is left to free when the thread
// ends.
thread_local std::size_t line_size = 0;

// Copies `text` to `at` and answers where the copy ends. A short text, the
// common case in a roster, goes in two copies of a fixed size, which overlap
// when the text is shorter than both together, rather than in a library call.
[[gnu::always_inline]] inline char* copy_text(char* at, std::string_view text) {
    std::size_t const size = text.size();
    const char* const from = text.data();
    if (size > 16) {
        return std::copy(text.begin(), text.end(), at);
    }
    if (size >= 8) {
        std::memcpy(at, from, 8);
        std::memcpy(at + size - 8, from + size - 8, 8);
    } else if (size >= 4) {
        std::memcpy(at, from, 4);
        std::memcpy(at + size - 4, from + size - 4, 4);
    } else if (size > 0) {
        at[0] = from[0];
        at[size / 2] = from[size / 2];
        at[size - 1] = from[size - 1];
    }
    return at + size;
}

// One line of output, formatted in place in a buffer of its own, then written
// to standard output with one call and flushed. A short line needs no memory
// but its own.
class Line {
public:
    Line() = default;
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;

    // Answers where the next `size` bytes go; advance() takes them.
    char* room(std::size_t size) {
        if (static_cast<std::size_t>(limit_ - end_) < size) {
            grow(size);
        }
        return end_;
    }
    void advance(char* end) { end_ = end; }
    // What the line holds, as it stands (after write(), its end of line too).
    std::string_view text() const { return {begin_, static_cast<std::size_t>(end_ - begin_)}; }

    Line& operator<<(std::string_view text) {
        advance(copy_text(room(text.size()), text));
        return *this;
    }
    Line& operator<<(int value) {
        constexpr std::size_t most = 11; // "-2147483648"
        char* const at = room(most);
        advance(std::to_chars(at, at + most, value).ptr);
        return *this;
    }

    // Ends the line: a newline, one write, then the flush.
    void write() {
        *this << "\n";
        put();
        std::cout.flush();
        if (allocated_) {
            line_size = static_cast<std::size_t>(end_ - begin_);
        }
    }
    // Writes what the line holds with one call, as it stands. Like any
    // formatted output, it consumes a width set before it (and ignores it).
    void put() const {
        std::cout.width(0);
        std::cout.write(begin_, end_ - begin_);
    }

private:
    void grow(std::size_t size) {
        auto const used = static_cast<std::size_t>(end_ - begin_);
        auto const held = static_cast<std::size_t>(limit_ - begin_);
        std::size_t const larger = std::max({line_size, 2 * held, used + size});
        std::unique_ptr<char[]> bigger(new char[larger]);
        std::copy(begin_, end_, bigger.get());
        allocated_ = std::move(bigger);
        begin_ = allocated_.get();
        end_ = begin_ + used;
        limit_ = begin_ + larger;
    }

    char short_line_[128];
    std::unique_ptr<char[]> allocated_;
    char* begin_ = short_line_;
    char* end_ = short_line_;                        // of what the line holds so far
    char* limit_ = short_line_ + sizeof short_line_; // of the room it has
};

// The positions " 1.", " 2.", " 3."... of a numbered line, counted as decimal
// text rather than converted from binary for each element of a long circle.
// The last digit is kept apart, so that the text before it changes only once
// in ten positions.
class Position {
public:
    // Bytes that next() may write; a position takes 12 at most (" 2147483647.").
    static constexpr std::size_t room = 16;

    // Writes the next position at `at` and answers where it ends.
    char* next(char* at) {
        if (++last_ > '9') {
            last_ = '0';
            raise_tens();
        }
        std::memcpy(at, tens_, room);
        at += tens_size_;
        *at++ = last_;
        *at++ = '.';
        return at;
    }

private:
    void raise_tens() {
        char* digit = tens_ + tens_size_ - 1;
        while (digit != tens_ && *digit == '9') {
            *digit-- = '0';
        }
        if (digit == tens_) { // past 9, 99, ...: one digit more
            tens_[tens_size_++] = '0';
            ++digit;
        }
        ++*digit;
    }

    char tens_[room] = " "; // a space, then the digits before the last one
    std::size_t tens_size_ = 1;
    char last_ = '0';
};

// Writes `text` on file descriptor 2 with one call (more only when the system
// takes part of it), just before the process aborts.
void report(std::string_view text) noexcept {
    while (!text.empty()) {
        ssize_t const written = ::write(2, text.data(), text.size());
        if (written < 0 && errno != EINTR) {
            return; // the abort follows all the same
        }
        text.remove_prefix(written < 0 ? 0 : static_cast<std::size_t>(written));
    }
}

} // namespace

#endif

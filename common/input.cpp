// SPDX-License-Identifier: MIT
#include "input.h"

#include "lines.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

// Whether a byte is white space in the C locale, by table.
constexpr auto white_bytes = [] {
    std::array<bool, 256> white{};
    for (unsigned char const c : std::string_view(" \t\n\v\f\r")) {
        white[c] = true;
    }
    return white;
}();

constexpr bool white(char c) noexcept { return white_bytes[static_cast<unsigned char>(c)]; }

} // namespace

Input::Input(std::streambuf& source) : source_(source), buffer_(new char[capacity]) {
    at_ = end_ = buffer_.get();
}

bool Input::fill() {
    if (at_ != end_) {
        return true;
    }
    using traits = std::streambuf::traits_type;
    if (traits::eq_int_type(source_.sgetc(), traits::eof())) {
        return false;
    }
    std::streamsize const ready =
        std::min(source_.in_avail(), static_cast<std::streamsize>(capacity));
    at_ = buffer_.get();
    end_ = at_ + source_.sgetn(buffer_.get(), std::max<std::streamsize>(ready, 1));
    if (!started_) {
        // The mark may come in more than one piece at a terminal.
        while (end_ - at_ < 3 && byte_order_mark.starts_with(std::string_view(at_, end_ - at_)) &&
               !traits::eq_int_type(source_.sgetc(), traits::eof())) {
            *const_cast<char*>(end_) = static_cast<char>(source_.sbumpc());
            ++end_;
        }
        started_ = true;
        if (std::string_view(at_, end_ - at_).starts_with(byte_order_mark)) {
            at_ += byte_order_mark.size();
            return fill();
        }
    }
    return at_ != end_ || fill();
}

bool Input::word(std::string& text) {
    text.clear();
    while (true) {
        if (!fill()) {
            return !text.empty();
        }
        if (text.empty()) {
            at_ = std::find_if_not(at_, end_, white);
            if (at_ == end_) {
                continue;
            }
        }
        const char* const stop = std::find_if(at_, end_, white);
        text.append(at_, stop);
        at_ = stop;
        if (stop != end_) {
            return true;
        }
    }
}

bool Input::line(std::string& text) {
    text.clear();
    bool any = false;
    while (fill()) {
        std::string_view piece(at_, static_cast<std::size_t>(end_ - at_));
        std::string_view part;
        LineCutter::Taken const taken = lines_.take(piece, part);
        at_ = end_ - piece.size();
        text.append(part);
        any = any || taken != LineCutter::Taken::nothing;
        if (taken == LineCutter::Taken::line) {
            return true;
        }
    }
    return any;
}

void Input::rest(std::string& text) {
    while (fill()) {
        text.append(at_, end_);
        at_ = end_;
        // What the source holds past the buffer comes in large pieces.
        // The first as large as the room that `text` has, so that an input
        // of a size foretold is read into it without a copy.
        for (std::size_t block = std::max(capacity, text.capacity() - text.size());;
             block = std::min<std::size_t>(2 * block, 16 << 20)) {
            std::size_t const size = text.size();
            text.resize(size + block);
            auto const got = static_cast<std::size_t>(
                source_.sgetn(text.data() + size, static_cast<std::streamsize>(block)));
            text.resize(size + got);
            if (got < block) {
                break;
            }
        }
    }
}

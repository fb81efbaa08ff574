// SPDX-License-Identifier: MIT
// Lines as the programs read them, from standard input as it comes (input.h)
// or from a text in memory (a roster, a list of names): LF, CRLF and a lone
// CR each end a line, the last one may end at the end of the text, and a
// UTF-8 byte order mark at the very start is no part of the first. Any other
// byte, NUL included, belongs to its line.
#ifndef LISTAENC_LINES_H
#define LISTAENC_LINES_H

#include <cstddef>
#include <string_view>

inline constexpr std::string_view byte_order_mark = "\xef\xbb\xbf";

// Returns: `text` without a byte order mark at its start.
constexpr std::string_view without_mark(std::string_view text) noexcept {
    return text.substr(text.starts_with(byte_order_mark) ? byte_order_mark.size() : 0);
}

// Cuts a text into lines as it comes, in pieces: a CR at the end of one
// piece and a LF at the start of the next are one end.
class LineCutter {
public:
    enum class Taken {
        nothing, // the piece held no byte of a line (empty, or the LF of a CRLF)
        part,    // bytes of a line that goes on in the next piece
        line     // the rest of a line, and its end
    };

    // Effects: takes from the front of `piece` what belongs to the line under
    //   way, its end included, and sets `part` to its bytes, its end left out.
    constexpr Taken take(std::string_view& piece, std::string_view& part) noexcept {
        part = {};
        if (after_cr_ && !piece.empty()) {
            after_cr_ = false;
            piece.remove_prefix(piece.front() == '\n' ? 1 : 0);
        }
        if (piece.empty()) {
            return Taken::nothing;
        }
        std::size_t const end = piece.find_first_of("\r\n");
        part = piece.substr(0, end);
        if (end == std::string_view::npos) {
            piece = {};
            return Taken::part;
        }
        after_cr_ = piece[end] == '\r';
        piece.remove_prefix(end + 1);
        return Taken::line;
    }

private:
    bool after_cr_ = false; // a line ended at CR: a LF next belongs to it
};

// The lines of a text in memory, counted from 1.
class TextLines {
public:
    explicit constexpr TextLines(std::string_view text) noexcept : rest_(text) {}

    // Effects: takes the next line, without its end. Returns: false at the
    //   end of the text.
    constexpr bool next(std::string_view& line) noexcept {
        if (cutter_.take(rest_, line) == LineCutter::Taken::nothing) {
            return false;
        }
        ++number_;
        return true;
    }
    constexpr std::size_t number() const noexcept { return number_; }

private:
    std::string_view rest_;
    LineCutter cutter_;
    std::size_t number_ = 0;
};

#endif

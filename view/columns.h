// SPDX-License-Identifier: MIT
// Text as a terminal shows it: UTF-8 read character by character, each
// character's width in columns from this file's own table (wide East Asian
// characters take two, combining and zero-width ones none), never from the
// machine's locale. What a terminal would act on, or shows as nothing, is
// escaped as C writes it, in octal where C has no letter: what messages
// escape (text.h's hidden(): the controls, the format characters, every space
// but the ASCII one), a combining mark with nothing before it to combine
// with, and every byte that is not part of valid UTF-8.
#ifndef LISTAENC_COLUMNS_H
#define LISTAENC_COLUMNS_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Returns: the columns that the character `point` takes: 0, 1 or 2.
int columns(char32_t point) noexcept;

// One column of a line: the bytes drawn there (a character with the
// combining marks that follow it), or, for the second column of a wide
// character, nothing.
using Cells = std::vector<std::string>;

// Returns: `text`, which must be drawable (ASCII, or what quoted() makes),
//   cut into the columns that it takes.
Cells cells(std::string_view text);
// Returns: the cells put back together as text.
std::string text_of(const Cells& cells);

// Text drawn, and the columns it takes.
struct Drawn {
    std::string text;
    std::size_t columns = 0;
};

// Returns: `text` between single quotes, the quote and the backslash escaped
//   and so is what the top of this file says, in at most `room` columns (at
//   least 5): when the whole does not fit, as many whole characters as fit,
//   the quote and "..."; `cut` says that `text` was the beginning of a longer
//   one, which shows with "..." too.
Drawn quoted(std::string_view text, std::size_t room, bool cut = false);
// Returns: the cells of quoted(text, room, cut).
Cells quoted_cells(std::string_view text, std::size_t room, bool cut = false);

// Returns: the beginning of `text` at most `bytes` long that ends on the
//   boundary of a character (and of its combining marks).
std::string_view prefix(std::string_view text, std::size_t bytes) noexcept;

#endif

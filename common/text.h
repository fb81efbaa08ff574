// SPDX-License-Identifier: MIT
// Text as the programs look at it: bytes that are UTF-8 or are not, and the
// characters that a reader cannot see, or would take for others.
#ifndef LISTAENC_TEXT_H
#define LISTAENC_TEXT_H

#include <cstddef>
#include <string>
#include <string_view>

// The code point that `text` begins with and the length of its UTF-8
// sequence, or a length of 0 when `text` does not begin with one (an empty
// text, a stray or missing continuation byte, an overlong form, a surrogate,
// a point past U+10FFFF).
struct Decoded {
    char32_t point;
    std::size_t length;
};
Decoded decode(std::string_view text) noexcept;

// Whether all of `text` is UTF-8.
bool valid_utf8(std::string_view text) noexcept;

// Whether a message must show this character escaped, since a reader cannot
// see it for what it is, or a terminal would act on it: the controls (C0,
// DEL and C1), the format characters (Unicode's class Cf: the soft hyphen,
// the zero-width and bidirectional marks, the byte order mark, the tags...),
// the line and paragraph separators, every space but the ASCII one (the
// no-break and the typographic spaces, the ideographic space), and the
// fillers that draw as blanks (Hangul and Braille).
bool hidden(char32_t point) noexcept;

// `word` as a message shows it: between single quotes, with the quote and
// the backslash escaped as C writes them, and so is every byte that a reader
// could not see for what it is: the characters of hidden() and bytes that
// are not UTF-8. Controls with a letter in C show it ('a\tb'); the others
// show each byte in octal ('\033[2J', a no-break space as '\302\240').
std::string quote(std::string_view word);

#endif

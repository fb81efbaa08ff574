// SPDX-License-Identifier: MIT
// Text as the programs look at it: bytes that are UTF-8 or are not, and the
// characters that a reader cannot see, or would take for others.
#ifndef LISTAENC_TEXT_H
#define LISTAENC_TEXT_H

#include <cstddef>
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

#endif

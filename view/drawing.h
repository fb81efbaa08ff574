// SPDX-License-Identifier: MIT
// A drawing of a ListaEnc in ASCII, made from the list's public interface
// alone: `head` and the header node, each element with its key and its text,
// each `next` as an arrow, the link from the last element back to the first,
// and the elements that a caller points out or has just unlinked.
//
// A list with three elements, the second pointed out, and an element just
// unlinked that still points to the third:
//
//   :     [no cabeca] <-- head
//   :      |            +-- contagem
//   :      |            |         +--[4|'beta'] removido
//   :      v            v         v
//   : +-->[1|'alfa']-->[2|' ']-->[3|'gama']--+
//   : +--------------------------------------+
//
// The elements stand in rows, in circle order, as many as 80 columns hold;
// a row that is full goes on below the one before it, and the line along the
// bottom and up the left side is the last element's `next`. A text shows
// between single quotes, with the quote, the backslash and every byte that is
// not printable ASCII escaped as C writes them (octal where C has no letter);
// a text too long for its box shows its beginning, then "...".
//
// Built twice, as the list is: a file compiled for one build of the list
// draws that build's lists.
#ifndef LISTAENC_DRAWING_H
#define LISTAENC_DRAWING_H

#include "listaenccircular.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// An element that a drawing points at, and the word it points with; a word
// shows up to 12 characters.
struct Mark {
    const node* element;
    std::string_view label;
};

// Returns: the lines of the drawing of `list`, without ends of line: ASCII,
//   at most 80 columns, each beginning with ':', the same for the same list
//   and the same marks. Each mark whose element is in the circle has an arrow
//   down to it; other marks are left out. `unlinked`, when given, is an
//   element out of the circle, drawn apart with its own label: its `next` an
//   arrow down to the element it points to, or, drawn below the list, a loop
//   when it points to itself, "nulo" when it is null, and "fora da lista"
//   when it points anywhere else (that link is compared, never followed).
// Cost: O(N) for N elements, and a bounded part of each text.
// Throws: std::bad_alloc.
std::vector<std::string> draw(const ListaEnc& list, std::initializer_list<Mark> marks = {},
                              std::optional<Mark> unlinked = std::nullopt);

// Effects: prints the lines of draw(list, marks, unlinked) on standard
//   output, each formatted whole, written once and flushed.
// Throws: std::bad_alloc, and what std::cout throws.
void show(const ListaEnc& list, std::initializer_list<Mark> marks = {},
          std::optional<Mark> unlinked = std::nullopt);

#endif

// SPDX-License-Identifier: MIT
// A drawing of a ListaEnc as text: `head` and the header node, each element
// with its key and its text, each `next` as an arrow, the link from the last
// element back to the first, the words that point at elements, and the
// elements out of the circle that a step is about.
//
// A list with three elements, the second pointed out, and an element just
// unlinked from between the second and the third, which still points to the
// third:
//
//   :     [no cabeca] <-- head
//   :      |            +-- contagem
//   :      |            |       +--[4|'beta'] removido
//   :      v            v       v
//   : +-->[1|'alfa']-->[2|' ']-->[3|'gama']--+
//   : +--------------------------------------+
//
// Drawing is in two steps: capture() copies what memory holds into a Scene,
// and draw() makes the lines of a Scene, a pure function of it and of the
// width. The elements stand in rows, in the order of the walk from the first
// element, as many as the width holds; a row that is full goes on below the
// one before it, and the line along the bottom and up the left side is the
// last element's `next` back to the first. When the last element's `next`
// points elsewhere (between two steps of an operation), its arrow says where:
// up into an element of the last row, or in words. An element out of the
// circle is drawn above the gap where it stood, its arrow down to where it
// stood, or, when its `next` does not point into the circle, below the rest.
// The link that a step has just changed is drawn with "=" ("==>", "<== head")
// or, for the header's `next`, with "#". The words that point at one place
// (the cursors on an element, the states of one out of the circle) stack on
// as many lines as they take within the width: none is cut.
//
// A text shows between single quotes as text.h says, in at most 16 columns:
// a text too long for its box shows its beginning, then "...". Structure is
// ASCII; every line begins with ':' and takes at most the width's columns.
//
// Built for each build of the list, as the list is: a file compiled for one
// build draws that build's lists.
#ifndef LISTAENC_DRAWING_H
#define LISTAENC_DRAWING_H

#include "listaenccircular.h"
#include "scene.h"

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// An element that a drawing points at, and the word it points with; the
// words at one place stack on as many lines as they take, none cut.
struct Mark {
    const node* element;
    std::string_view label;
    // The helper whose local the word is, if any (see scene.h).
    std::string_view frame = {};
};

// An element out of the circle that a drawing is about: made, unlinked or
// about to be released, with where it stood in the circle.
struct Apart {
    const node* element;
    std::string_view label;
    // The element before which it stood in the circle, or null: it never
    // stood there (it was made), or where is not known (it is then drawn
    // above the element its `next` points to).
    const node* before = nullptr;
    // Whether it was the first element: it stood at the start of the circle
    // rather than after its last element (both are before the first).
    bool was_first = false;
    // Whether `label` is its state ("removido") rather than a cursor's word,
    // and the helper whose local that cursor is, if any.
    bool state = false;
    std::string_view frame = {};
};

// The link that a step changed: `head`, the header's `next` or the `next` of
// `element`.
struct Changed {
    Scene::Link::Which which = Scene::Link::none;
    const node* element = nullptr;
};

// What a drawing is told besides the list.
struct Moment {
    std::span<const Mark> marks = {};
    std::span<const Apart> apart = {};
    // Elements already released: a link to one is compared, never followed.
    std::span<const node* const> released = {};
    Changed changed = {};
    // The header node, when known: a mark on it labels the header.
    const node* header = nullptr;
};

// The narrowest drawing, in columns, and the default width.
inline constexpr std::size_t least_width = 50;
inline constexpr std::size_t default_width = 80;
// The widest drawing.
inline constexpr std::size_t most_width = 1000;

// Returns: the width of drawings: `given`, when there is one, read as a
//   whole number of columns from least_width to most_width (0 when it is not
//   such a number); else the width of the terminal where standard output is
//   one, held within those bounds; else default_width.
std::size_t drawing_width(const std::string_view* given);

// Effects: when standard output is a terminal, keeps a descriptor of it
//   (a pager may take standard output later) and notes each change of its
//   size (SIGWINCH, restarting the calls it interrupts) from now on.
void watch_width();
// Returns: `width` when the terminal watched was not resized since the last
//   call; else its width now, held within least_width and most_width.
std::size_t resized_width(std::size_t width);

// Returns: what memory holds of `list` now, as scene.h says: the walk from
//   the first element along `next`, up to an element met again, null or a
//   released element; then the elements of `moment.apart` and the marked
//   ones that the walk did not meet. A mark on a released element dangles. Each text is copied only
//   as far as a drawing shows it. Marks and elements apart must be alive; links are followed only
//   by the walk and only to elements that are not released.
// Cost: O(N) for N elements walked. Throws: std::bad_alloc.
Scene capture(const ListaEnc& list, const Moment& moment = {});

// Returns: the lines of the drawing of `scene`, without ends of line, each
//   beginning with ':' and at most `width` columns (width at least
//   least_width); the same for the same scene and width.
// Cost: O(N + labels) for N elements. Throws: std::bad_alloc.
std::vector<std::string> draw(const Scene& scene, std::size_t width = default_width);

// Returns: the drawing of `list` with these marks and, when given, the
//   element `unlinked` apart: draw(capture(...), width), the unlinked
//   element drawn above the element its `next` points to.
std::vector<std::string> draw(const ListaEnc& list, std::initializer_list<Mark> marks = {},
                              std::optional<Mark> unlinked = std::nullopt,
                              std::size_t width = default_width);

// Effects: prints the lines of `lines` on standard output, each formatted
//   whole, written once and flushed. Throws: what std::cout throws.
void print_lines(const std::vector<std::string>& lines);

#endif

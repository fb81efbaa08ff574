// SPDX-License-Identifier: MIT
// A scene: what memory holds of a list at one moment, copied out of it, so
// that it can be drawn then or later, as text at a terminal or as a picture
// on a page. A scene holds no pointer into the list: links are indices into
// its elements.
//
// The elements stand in the order of a walk from the first element along
// `next` (the header's `next`), up to the first element met again or any
// element met before: in a sound list, the circle. Between two steps of an
// operation memory need not be a sound list (the first element has moved
// while the last still points to the old first, a `next` has been turned
// around), and the scene shows what is there all the same. After the
// elements of that walk come the elements outside it that a step is about:
// one made but not yet linked, one unlinked and handed over, one about to be
// released.
#ifndef LISTAENC_SCENE_H
#define LISTAENC_SCENE_H

#include <cstddef>
#include <string>
#include <vector>

struct Scene {
    // Where a link points, besides an index into `elements`.
    static constexpr int null = -1;        // nullptr
    static constexpr int elsewhere = -2;   // a node that the scene does not hold
    static constexpr int header_node = -3; // for a label: the header node
    static constexpr int freed = -4;       // for a label: memory released (the pointer dangles)

    struct Element {
        int key = 0;
        std::string info; // a bounded prefix of the element's text
        bool cut = false; // whether `info` is shorter than the text
        int next = null;  // where its `next` points
        // For an element outside the walk: the index of the element before
        // which it stood in the circle (the gap that it left), or null.
        int stood = null;
        // Whether it was the first element: it stood at the start of the
        // circle rather than after its last element, before the same one.
        bool was_first = false;
    };

    // A word on an element: a cursor of the operation ("atual", "anterior",
    // "ultimo"), which points at it, or the state of an element outside the
    // walk ("novo", "removido", "liberado"), which says what it is. A cursor
    // into memory already released points at `freed`: it dangles.
    struct Label {
        std::string word;
        int element = null;
        bool state = false;
        // For a local of a helper of the operation, the helper whose frame
        // holds it ("last"); empty for the operation's own.
        std::string frame = {};
    };

    // A link that a step changed.
    struct Link {
        enum Which { none, head, header_next, element_next };
        Which which = none;
        int element = null; // for element_next, the element whose `next` it is
    };

    bool header = false; // whether `head` points to a header node
    int first = null;    // the header's `next`
    std::vector<Element> elements;
    std::size_t walked = 0; // how many of `elements` the walk from the first met
    std::vector<Label> labels;
    Link changed;
};

#endif

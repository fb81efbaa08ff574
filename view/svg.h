// SPDX-License-Identifier: MIT
// The picture of a list as SVG, beside its drawing as text (drawing.h): a
// pure function of a Scene, and the places of its elements, which the steps
// of one operation keep.
#ifndef LISTAENC_SVG_H
#define LISTAENC_SVG_H

#include "scene.h"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

// Returns: the SVG of `scene` (an <svg> element of class "list"). The
//   elements stand in rows of four, in walk order, or each at its place in
//   `places` (from 0, as many as the elements). Below each element, the words
//   that point at it, stacked; a `next` runs straight to the box beside it,
//   or along the gaps between boxes, never through one. No text under 16 of
//   the picture's units.
std::string picture(const Scene& scene, std::span<const int> places = {});

// The pictures of the steps of a page, one after the other: within an
// operation, each element keeps the place that it had in the step before,
// found by its key, its text and what its `next` names, unless it is new.
class ScenePictures {
public:
    // Past this many elements, they stand in walk order.
    static constexpr std::size_t most_followed = 64;

    // Returns: the picture of `scene`, a step that `begins` an operation or
    //   follows the one drawn before.
    std::string draw(const Scene& scene, bool begins);
    // Effects: the next picture begins anew.
    void forget() { placed_.clear(); }

    // Returns: the places of `scene`'s elements, as draw() puts them.
    std::vector<int> places(const Scene& scene, bool begins);

private:
    struct Placed {
        int key;
        std::string info;
        bool cut;
        int next; // the index in `placed_` of the element that its `next` names, or -1
        int place;
    };
    std::vector<Placed> placed_; // the elements of the step before, in this operation
};

#endif

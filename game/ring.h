// SPDX-License-Identifier: MIT
// The soldiers of a game at one moment and their picture on a ring, as SVG:
// a pure function of the state.
#ifndef LISTAENC_RING_H
#define LISTAENC_RING_H

#include <string>
#include <vector>

// The soldiers of a game at one moment, drawn on a ring in roster order:
// each with its name (up to 64 soldiers; past that, as dots) and its place,
// the removed ones taken out of the ring with the order of their removal.
struct Ring {
    static constexpr int none = -1;

    // Each soldier's name, by place in the first roster: names[0] is the
    // soldier that the roster numbers 1.
    std::vector<std::string> names;
    // The places (indices into `names`) of the soldiers removed so far, in
    // the order of their removal. The others still stand.
    std::vector<int> removed;
    int count = none;      // the soldier at which the count stands
    bool removing = false; // whether the last of `removed` left at this step
    int winner = none;     // the soldier who won, at the end
};

// Returns: the SVG of `ring` (an <svg> element of class "ring"): the
//   soldiers on a circle in roster order from the top, clockwise, each with
//   its number in the first roster and its name beside it, the picture sized
//   for the longest name with the order of its removal; the removed ones
//   taken a step out of it, their names followed by that order ("Carla
//   (2º)"); an arrow from the middle to the soldier at which the count
//   stands. Past 64 soldiers, they are dots. No text under 16 of the
//   picture's units.
std::string picture(const Ring& ring);

#endif

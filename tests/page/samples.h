// SPDX-License-Identifier: MIT
// Pages made by hand from scenes and rings: a short script of list
// operations with the steps inside them, a short game, and names and texts
// that a page must show as text.
#ifndef LISTAENC_PAGE_SAMPLES_H
#define LISTAENC_PAGE_SAMPLES_H

#include <iosfwd>

void script_page(std::ostream& out);
void game_page(std::ostream& out);
void hostile_page(std::ostream& out);

struct Sample {
    const char* name;
    void (*write)(std::ostream&);
};
inline constexpr Sample samples[] = {
    {"script", script_page}, {"game", game_page}, {"hostile", hostile_page}};

#endif

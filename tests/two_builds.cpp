// SPDX-License-Identifier: MIT
// A program whose files use different builds of the list: this file is
// compiled once for each build, and each copy must run its own build's
// remover, whatever the order in which the two libraries are linked.
#include "listaenccircular.h"

namespace {

// Whether remover hands back an element that is not the first.
bool remover_hands_back() {
    ListaEnc list;
    list.inserir(1, "");
    list.inserir(2, "");
    return list.remover(2) != nullptr;
}

} // namespace

#ifdef LISTAENC_DEMO_BUILD
bool demo_remover_hands_back() { return remover_hands_back(); }
#else
bool demo_remover_hands_back();

int main() { return remover_hands_back() && !demo_remover_hands_back() ? 0 : 1; }
#endif

// SPDX-License-Identifier: MIT
// A program for the GDB printers test, which stops it where it says so.
#include "listaenccircular.h"
#include <iterator>
int main() {
    ListaEnc l;
    l.inserir(10, "ana"), l.inserir(20, "bia"), l.inserir(30, "caio");
    ListaEnc::iterator it = std::next(l.begin());
    ListaEnc::const_iterator e = l.cend();
    node& n = *l.begin();
    ListaEnc none;
    static_cast<void>(0); // gdb stops here
    return n.key + (it == e) + none.empty();
}

// SPDX-License-Identifier: MIT
// Lines of the list printed while another line is on its way: by a stream
// buffer of std::cout that prints a list of its own, and by the destructor of
// a static object, after main's own objects are gone. Each line must come out
// whole, with nothing read or written where it should not be (the golden runs
// are under valgrind or the sanitizers). Memory that runs out ends the
// program as it ends countoff and listdemo.
#include "listaenccircular.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <new>
#include <sstream>
#include <utility>

[[noreturn]] void out_of_memory() {
    std::fputs("printing: memória esgotada\n", stderr);
    std::abort();
}

// Prints a line of its own before it takes the first text it is given.
struct Interrupting : std::stringbuf {
    std::streamsize xsputn(const char* text, std::streamsize size) override {
        if (!std::exchange(interrupted, true)) {
            ListaEnc{}.ExibirLista(); // one space, begun while the other line is written
        }
        return std::stringbuf::xsputn(text, size);
    }
    bool interrupted = false;
};

struct PrintsWhenDestroyed {
    ListaEnc list;
    ~PrintsWhenDestroyed() {
        list.ExibirLista();
        ListUnderflowException{}; // prints when it is made
    }
} last_words;

int main() {
    std::set_new_handler(out_of_memory);
    for (int key = 1000; key < 1100; ++key) { // a line longer than the one interrupting it
        last_words.list.inserir(key, "");
    }
    Interrupting interrupting;
    std::streambuf* const real = std::cout.rdbuf(&interrupting);
    last_words.list.ExibirLista();
    std::cout.rdbuf(real);
    std::cout << interrupting.str();
}

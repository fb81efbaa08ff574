// SPDX-License-Identifier: MIT
// Lines of the list printed while another line is on its way: by a stream
// buffer of std::cout that prints a list of its own, by two threads at once,
// and by the destructor of a static object, after the threads' own objects
// are gone. Each line must come out whole, with nothing read or written where
// it should not be (the golden runs are under valgrind or the sanitizers).
// Memory that runs out ends the program as it ends countoff and listdemo.
#include "listaenccircular.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <new>
#include <sstream>
#include <system_error>
#include <thread>
#include <utility>

// The thread that runs out of memory first says so and ends the process; any
// other waits for that.
[[noreturn]] void out_of_memory() {
    static std::mutex first;
    first.lock();
    std::fputs("printing: memoria esgotada\n", stderr);
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

// Prints ten lines of a circle of its own, the same lines in every thread.
void print_circle() {
    ListaEnc circle;
    for (int key = 1; key <= 5; ++key) {
        circle.inserir(key, "alfa");
    }
    for (int line = 0; line < 10; ++line) {
        circle.ExibirInfo();
    }
}

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
    try {
        std::thread other(print_circle);
        print_circle();
        other.join();
    } catch (const std::system_error&) { // no memory for the thread
        out_of_memory();
    }
}

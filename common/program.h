// SPDX-License-Identifier: MIT
// What countoff and listdemo share around their work: the command line
// (--help and --version, as GNU programs take them), and how a run ends when
// standard input or output fails or memory runs out.
#ifndef LISTAENC_PROGRAM_H
#define LISTAENC_PROGRAM_H

#include <iostream>
#include <string>
#include <string_view>

struct Program {
    std::string_view name; // as the program names itself
    std::string_view help; // what --help prints
};

// A word as a message shows it: between single quotes, with the quote, the
// backslash and control bytes escaped as C writes them ('a\tb', '\033[2J').
struct Quoted {
    std::string_view word;
};
std::ostream& operator<<(std::ostream& out, Quoted quoted);

// Takes the command line, then runs `work` with the standard streams on
// buffers of their own, throwing when a read or a write fails. Answers the
// exit status:
// - with --help or --version first, prints that and answers 0, reading nothing;
// - with any other argument, says so on standard error and answers 2;
// - otherwise what `work` answers, or 3, with the reason on standard error,
//   when standard input cannot be read or standard output cannot be written.
// From the start, memory that runs out ends the process: "NAME: memoria
// esgotada" on standard error, then abort(), with no exception thrown. Any
// exception but a stream's failure goes on to the caller.
int run(const Program& program, int argc, char** argv, int (*work)());

// Reads the next word of standard input, as std::cin >> word does. Answers
// false at the end of input; a failed read fails std::cin, as run() expects,
// with either standard library (libc++ reads through C's stdin, and would
// take a failed read for the end of input).
bool read_word(std::string& word);

// Writes the parts as one line on standard error, at once and without
// allocating memory.
template <typename... Parts>
void complain(const Parts&... parts) {
    std::cerr << std::nounitbuf;
    (std::cerr << ... << parts) << '\n' << std::flush << std::unitbuf;
}

#endif

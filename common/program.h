// SPDX-License-Identifier: MIT
// What countoff and listdemo share around their work: the command line
// (--help, --version and the program's own options, as GNU programs take
// them), the standard streams, and how a run ends when standard input or
// output fails or memory runs out.
#ifndef LISTAENC_PROGRAM_H
#define LISTAENC_PROGRAM_H

#include <iostream>
#include <span>
#include <string>
#include <string_view>

// An option of a program's own, and the bit that it sets in the modes that
// the program's work is given. An option that takes an argument
// ("--largura 60" or "--largura=60") keeps it where `argument` points; the
// program reads it when its work starts. Given again, the last one holds.
struct Option {
    std::string_view name; // "--resumo"
    unsigned mode;
    std::string_view* argument = nullptr;
};

struct Program {
    std::string_view name; // as the program names itself
    std::string_view help; // what --help prints
    std::span<const Option> options = {};
};

// A word as a message shows it: between single quotes, with the quote and
// the backslash escaped as C writes them, and so is every byte that a reader
// could not see for what it is: the characters of hidden() in text.h
// (controls, format characters, separators, spaces other than ' ', blank
// fillers) and bytes that are not UTF-8. Controls with a letter in C show it
// ('a\tb'); the others show each byte in octal ('\033[2J', a no-break space
// as '\302\240').
struct Quoted {
    std::string_view word;
};
std::ostream& operator<<(std::ostream& out, Quoted quoted);

// Takes the command line, then runs `work` with the modes that the options
// given ask for, and answers the exit status. The arguments are taken in
// order:
// - --help or --version prints that and answers 0, reading nothing (what
//   follows it is not looked at);
// - one of the program's options adds its mode, and takes its argument:
//   the rest of the same word after "=", or else the next word, whatever it
//   is (a missing one is said on standard error and answers 2);
// - "--" ends the options: what follows it is an operand;
// - anything else (an unknown option, or an operand: the programs take
//   none) is said on standard error and answers 2.
// Otherwise it answers what `work` answers, or 3, with the reason on standard
// error, when standard input cannot be read or standard output cannot be
// written (a file-size limit included). The standard streams are on buffers
// of their own meanwhile: a line of standard output, formatted whole and then
// flushed, leaves in one write, and so does each message on standard error.
// From the start, memory that runs out ends the process: "NAME: memoria
// esgotada" on standard error, then abort(), with no exception thrown. Any
// exception but a stream's failure goes on to the caller.
int run(const Program& program, int argc, char** argv, int (*work)(unsigned modes));

// Whether standard input is a terminal.
bool input_is_terminal();

// Prints the pieces, strings all, as one line of standard output: formatted
// whole, written once and flushed.
template <typename... Pieces>
void say(const Pieces&... pieces) {
    static std::string line; // keeps its capacity from one line to the next
    line.clear();
    (line.append(pieces), ...);
    line += '\n';
    std::cout.write(line.data(), static_cast<std::streamsize>(line.size()));
    std::cout.flush();
}

// Writes the parts as one line on standard error.
template <typename... Parts>
void complain(const Parts&... parts) {
    (std::cerr << ... << parts) << '\n' << std::flush;
}

#endif

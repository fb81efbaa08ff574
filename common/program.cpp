// SPDX-License-Identifier: MIT
#include "program.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <string_view>

namespace {

std::string_view running; // the program's name, for out_of_memory()

constexpr std::string_view version_notice =
    "Copyright (C) 2026 The listaenc developers\n"
    "Licenca MIT <https://spdx.org/licenses/MIT.html>.\n"
    "Este e um software livre: voce e livre para altera-lo e redistribui-lo.\n"
    "NAO HA GARANTIA, na maxima extensao permitida em lei.\n";

// The new-handler: memory that runs out ends the run here, with no exception
// thrown (the runtime may have no memory left to throw one). C's standard
// error has no buffer that could be lost, and writes the line with one call.
[[noreturn]] void out_of_memory() {
    std::fprintf(stderr, "%.*s: memoria esgotada\n", static_cast<int>(running.size()),
                 running.data());
    std::abort();
}

// Prints the text line by line, each line flushed.
void print(std::string_view text) {
    for (std::size_t end; (end = text.find('\n')) != std::string_view::npos;) {
        std::cout.write(text.data(), static_cast<std::streamsize>(end + 1)).flush();
        text.remove_prefix(end + 1);
    }
}

// Does what the first argument asks and answers the exit status.
int take(const Program& program, std::string_view argument) {
    if (argument == "--help") {
        print(program.help);
        return 0;
    }
    if (argument == "--version") {
        std::cout << program.name << " (listaenc) " LISTAENC_VERSION << std::endl;
        print(version_notice);
        return 0;
    }
    complain(program.name,
             argument.starts_with('-') ? ": opcao nao reconhecida " : ": operando extra ",
             Quoted{argument});
    complain("Tente '", program.name, " --help' para mais informacoes.");
    return 2;
}

} // namespace

std::ostream& operator<<(std::ostream& out, Quoted quoted) {
    constexpr std::string_view controls = "\a\b\t\n\v\f\r";
    constexpr std::string_view letters = "abtnvfr";
    out << '\'';
    for (unsigned char const byte : quoted.word) {
        if (byte == '\\' || byte == '\'') {
            out << '\\' << byte;
        } else if (std::size_t const at = controls.find(static_cast<char>(byte));
                   at != std::string_view::npos) {
            out << '\\' << letters[at];
        } else if (byte < ' ' || byte == 0x7f) {
            out << '\\' << char('0' + (byte >> 6)) << char('0' + ((byte >> 3) & 7))
                << char('0' + (byte & 7));
        } else {
            out << byte;
        }
    }
    return out << '\'';
}

bool read_word(std::string& word) {
    if (std::cin >> word) {
        return true;
    }
    if (std::ferror(stdin)) {
        std::cin.setstate(std::ios::badbit); // throws
    }
    return false;
}

int run(const Program& program, int argc, char** argv, int (*work)()) {
    running = program.name;
    std::set_new_handler(out_of_memory);
    // Input is read in blocks, and a line, formatted whole and then flushed,
    // leaves in one write.
    std::ios::sync_with_stdio(false);
    try {
        // Every line is flushed as soon as it is printed, so neither stream
        // has to flush standard output first (and a failed one must not be
        // tried again).
        std::cin.tie(nullptr);
        std::cerr.tie(nullptr);
        // A failed read or write must not pass for the end of input or for a
        // run that went well.
        std::cin.exceptions(std::ios::badbit);
        std::cout.exceptions(std::ios::badbit);
        return argc > 1 ? take(program, argv[1]) : work();
    } catch (const std::exception&) {
        // A stream's failure: which kind of ios_base::failure the library
        // throws varies with its ABI, so the streams tell which one failed.
        int const reason = errno; // of the read or write that failed
        if (!std::cout.bad() && !std::cin.bad()) {
            throw;
        }
        complain(program.name, std::cout.bad() ? ": erro de escrita: " : ": erro de leitura: ",
                 std::strerror(reason));
        return 3;
    }
}

// SPDX-License-Identifier: MIT
#include "program.h"

#include "streams.h"
#include "text.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>
#include <string_view>
#include <unistd.h>
#include <utility>

namespace {

constexpr std::string_view version_notice =
    "Copyright (C) 2026 The listaenc developers\n"
    "Licença MIT <https://spdx.org/licenses/MIT.html>.\n"
    "Este é um software livre: você é livre para alterá-lo e redistribuí-lo.\n"
    "NÃO HÁ GARANTIA, na máxima extensão permitida em lei.\n";

// "NAME: memória esgotada\n", made when the run starts.
char out_of_memory_line[128];
std::size_t out_of_memory_size = 0;

// The new-handler: memory that runs out ends the run here, with no exception
// thrown (the runtime may have no memory left to throw one), with one write.
[[noreturn]] void out_of_memory() {
    [[maybe_unused]] auto const written = ::write(2, out_of_memory_line, out_of_memory_size);
    std::abort();
}

void prepare_out_of_memory_line(std::string_view name) {
    constexpr std::string_view said = ": memória esgotada\n";
    name = name.substr(0, sizeof out_of_memory_line - said.size());
    char* const end = std::copy(name.begin(), name.end(), out_of_memory_line);
    out_of_memory_size =
        static_cast<std::size_t>(std::copy(said.begin(), said.end(), end) - out_of_memory_line);
}

// Prints the text line by line, each line flushed.
void print(std::string_view text) {
    for (std::size_t end; (end = text.find('\n')) != std::string_view::npos;) {
        std::cout.write(text.data(), static_cast<std::streamsize>(end + 1)).flush();
        text.remove_prefix(end + 1);
    }
}

// Says on standard error what is wrong with an argument and answers 2.
int refuse(const Program& program, std::string_view wrong, std::string_view argument) {
    complain(program.name, wrong, Quoted{argument});
    complain("Tente '", program.name, " --help' para mais informações.");
    return 2;
}

// Takes the arguments in order; answers the exit status when one of them ends
// the run before the work, or -1 with the modes that they ask for set.
int take(const Program& program, std::span<char* const> arguments, unsigned& modes) {
    bool options = true; // until "--"
    for (auto at = arguments.begin(); at != arguments.end(); ++at) {
        std::string_view const argument = *at;
        if (options && argument == "--") {
            options = false;
        } else if (!options || argument.size() < 2 || !argument.starts_with('-')) {
            return refuse(program, ": operando extra ", argument);
        } else if (argument == "--help") {
            print(program.help);
            return 0;
        } else if (argument == "--version") {
            std::cout << program.name << " (listaenc) " LISTAENC_VERSION << std::endl;
            print(version_notice);
            return 0;
        } else if (auto const known = std::find_if(program.options.begin(), program.options.end(),
                                                   [argument](const Option& o) {
                                                       return o.name == argument ||
                                                              (o.argument != nullptr &&
                                                               argument.starts_with(o.name) &&
                                                               argument[o.name.size()] == '=');
                                                   });
                   known != program.options.end()) {
            modes |= known->mode;
            if (known->argument == nullptr) {
                continue;
            }
            if (argument.size() > known->name.size()) { // --largura=60
                *known->argument = argument.substr(known->name.size() + 1);
            } else if (++at != arguments.end()) { // --largura 60
                *known->argument = *at;
            } else {
                return refuse(program, ": a opção requer um argumento ", argument);
            }
        } else {
            return refuse(program, ": opção não reconhecida ", argument);
        }
    }
    return -1;
}

void octal(std::ostream& out, unsigned char byte) {
    out << '\\' << char('0' + (byte >> 6)) << char('0' + ((byte >> 3) & 7))
        << char('0' + (byte & 7));
}

} // namespace

std::ostream& operator<<(std::ostream& out, Quoted quoted) {
    constexpr std::string_view controls = "\a\b\t\n\v\f\r";
    constexpr std::string_view letters = "abtnvfr";
    out << '\'';
    for (std::string_view rest = quoted.word; !rest.empty();) {
        auto const byte = static_cast<unsigned char>(rest[0]);
        std::size_t size = 1;
        if (byte == '\\' || byte == '\'') {
            out << '\\' << byte;
        } else if (std::size_t const at = controls.find(static_cast<char>(byte));
                   at != std::string_view::npos) {
            out << '\\' << letters[at];
        } else if (byte < ' ' || byte == 0x7f) {
            octal(out, byte);
        } else if (byte < 0x80) {
            out << byte;
        } else if (auto const [point, length] = decode(rest); length == 0) {
            octal(out, byte);
        } else {
            size = length;
            for (unsigned char const part : rest.substr(0, size)) {
                hidden(point) ? octal(out, part) : void(out << part);
            }
        }
        rest.remove_prefix(size);
    }
    return out << '\'';
}

bool input_is_terminal() { return ::isatty(0) == 1; }

int run(const Program& program, int argc, char** argv, int (*work)(unsigned)) {
    prepare_out_of_memory_line(program.name);
    std::set_new_handler(out_of_memory);
    // A file-size limit is a failed write like a full disk, not a signal.
    std::signal(SIGXFSZ, SIG_IGN);

    OutputBuffer output(1, 64 * 1024);
    OutputBuffer errors(2, 1024);
    InputBuffer input(0);
    // The streams' own buffers come back when the run ends, however it ends.
    struct Streams {
        std::streambuf* in = std::cin.rdbuf();
        std::streambuf* out = std::cout.rdbuf();
        std::streambuf* err = std::cerr.rdbuf();
        ~Streams() {
            std::cin.rdbuf(in);
            std::cout.rdbuf(out);
            std::cerr.rdbuf(err);
        }
    } const streams;
    std::cin.rdbuf(&input);
    std::cout.rdbuf(&output);
    std::cerr.rdbuf(&errors);
    // Every line is flushed as soon as it is printed, so neither stream has
    // to flush standard output first (and a failed one must not be tried
    // again). A failed read or write must not pass for the end of input or
    // for a run that went well: the streams pass the buffers' failure on.
    std::cin.tie(nullptr);
    std::cerr.tie(nullptr);
    std::cerr << std::nounitbuf; // a message leaves when it is whole
    std::cin.exceptions(std::ios::badbit);
    std::cout.exceptions(std::ios::badbit);
    try {
        unsigned modes = 0;
        int const status =
            take(program, std::span(argv, static_cast<std::size_t>(argc)).subspan(1), modes);
        return status >= 0 ? status : work(modes);
    } catch (const StreamFailure& failure) {
        complain(program.name, failure.reading ? ": erro de leitura: " : ": erro de escrita: ",
                 std::strerror(failure.error));
        return 3;
    }
}

// SPDX-License-Identifier: MIT
// countoff: the counting-out game. Reads a count n and the soldiers' names
// from standard input and stands the soldiers in a circle in that order.
// Starting from the first soldier, the count passes n soldiers and removes the
// one it reaches, then starts again from the soldier after it, until one
// soldier is left: the winner.
#include "listaenccircular.h"

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <new>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view prompt_for_n = "\n\t Entre com n ( > 0): ";
constexpr std::string_view prompt_for_names = "\t Nome dos soldados(ctrl+d para encerrar):";
constexpr std::string_view dash_line =
    "------------------------------------------------------------------";
constexpr std::string_view roster_title = "Os soldados sao:";
constexpr std::string_view first_counter = " O soldado que iniciara a contagem sera: ";
constexpr std::string_view removal = "\tO Soldado removido foi: ";
constexpr std::string_view remaining_title = "Os soldados restantes sao:";
constexpr std::string_view next_counter = "\tO soldado ";
constexpr std::string_view next_counter_end = " iniciara a contagem";
constexpr std::string_view star_line = "****************************************************";
constexpr std::string_view winner = "\tO vencedor e o Soldado ";
constexpr std::string_view game_over = "\nJogo terminado...";
constexpr std::string_view negative_n = "countoff: n deve ser maior ou igual a zero";
constexpr std::string_view read_error = "countoff: erro de leitura: ";
constexpr std::string_view write_error = "countoff: erro de escrita: ";

// Prints the pieces as one line, formatted whole, written once and flushed.
template <typename... Pieces>
void say(const Pieces&... pieces) {
    static std::string line; // keeps its capacity from one line to the next
    line.clear();
    (line.append(pieces), ...);
    line += '\n';
    std::cout.write(line.data(), static_cast<std::streamsize>(line.size()));
    std::cout.flush();
}

// Writes one line on standard error, in one piece.
void complain(std::string_view what, std::string_view why = {}) {
    std::string line(what);
    line += why;
    line += '\n';
    std::cerr << line; // unit-buffered: written at once
}

// Stands every name up to the end of input in the circle, in order; answers
// how many there are and sets `last` to the last one.
std::size_t read_roster(ListaEnc& roster, node*& last) {
    std::size_t soldiers = 0;
    std::string word;
    while (std::cin >> word) {
        if (last == nullptr) {
            roster.inserir(0, std::move(word));
            last = &*roster.begin();
        } else {
            last = roster.inserirapos(last, 0, std::move(word));
        }
        ++soldiers;
    }
    return soldiers;
}

node* pass(node* soldier, std::size_t count) {
    for (; count > 0; --count) {
        soldier = soldier->next;
    }
    return soldier;
}

int play() {
    ListaEnc roster;
    say(prompt_for_n);
    int n = 0;
    if (std::cin >> n && n < 0) {
        complain(negative_n);
        return 2;
    }
    say(prompt_for_names);
    node* before = nullptr; // the soldier before the one at which the count stands
    std::size_t soldiers = read_roster(roster, before); // none when n could not be read
    if (roster.isEmpty()) {
        throw ListUnderflowException();
    }
    say(dash_line);
    say(roster_title);
    roster.ExibirInfo();

    say(first_counter, before->next->info);
    say(dash_line);
    while (soldiers > 1) {
        // The circle stands still while the count walks it, so whole laps
        // can be skipped.
        before = pass(before, static_cast<std::size_t>(n) % soldiers);
        std::unique_ptr<node> const removed = roster.removerapos(before);
        --soldiers;
        say(removal, removed->info);
        if (soldiers == 1) {
            break;
        }
        say(remaining_title);
        say(dash_line);
        roster.ExibirInfo();
        say(dash_line);
        say(next_counter, removed->next->info, next_counter_end);
    }
    std::unique_ptr<node> const survivor = roster.pop();
    say(star_line);
    say(winner, survivor->info);
    say(star_line);
    say(game_over);
    return 0;
}

} // namespace

int main() {
    // The standard streams on buffers of their own: input is read in blocks,
    // and a line, formatted whole and then flushed, leaves in one write.
    std::ios::sync_with_stdio(false);
    // Every line is flushed as soon as it is printed, so neither stream has
    // to flush standard output first (and a failed one must not be retried).
    std::cin.tie(nullptr);
    std::cerr.tie(nullptr);
    // A failed read or write must not pass for the end of input or for a
    // game played; nor may running out of memory while a name is read.
    std::cin.exceptions(std::ios::badbit);
    std::cout.exceptions(std::ios::badbit);
    try {
        return play();
    } catch (const ListUnderflowException&) {
        return 1; // no soldiers; the exception printed why
    } catch (const std::bad_alloc&) {
        std::cerr << allocation_failure_message << std::flush;
        std::abort();
    } catch (const std::exception&) {
        // A stream's failure: which kind of ios_base::failure the library
        // throws varies with its ABI, so the streams tell which one failed.
        int const reason = errno; // of the read or write that failed
        if (!std::cout.bad() && !std::cin.bad()) {
            throw;
        }
        complain(std::cout.bad() ? write_error : read_error, std::strerror(reason));
        return 3;
    }
}

// SPDX-License-Identifier: MIT
// countoff: the counting-out game. Reads a count n and the soldiers' names
// from standard input and stands the soldiers in a circle in that order.
// Starting from the first soldier, the count passes n soldiers and removes the
// one it reaches, then starts again from the soldier after it, until one
// soldier is left: the winner.
#include "counting.h"
#include "drawing.h"
#include "listaenccircular.h"
#include "program.h"

#include <charconv>
#include <cstddef>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

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
constexpr std::string_view missing_n = "countoff: n ausente";
constexpr std::string_view invalid_n = "countoff: n invalido: ";
constexpr std::string_view n_out_of_range = "countoff: n fora do intervalo: ";
constexpr std::string_view white_space = " \t\n\v\f\r";
constexpr std::string_view counting_mark = "contagem";
constexpr std::string_view removed_mark = "removido";

// The modes that the options set.
enum : unsigned {
    summary = 1U << 0,         // the circle that is left after a removal is not shown
    one_name_a_line = 1U << 1, // the count and each name on a line of its own
    drawings = 1U << 2,        // the circle drawn after the first roster and each removal
};
constexpr Option options[] = {
    {"--resumo", summary}, {"--linhas", one_name_a_line}, {"--desenho", drawings}};

constexpr Program countoff{"countoff", R"(Uso: countoff [OPCAO]...
Joga a contagem de eliminacao. Le da entrada padrao um numero n e os nomes
dos soldados, que ficam em circulo na ordem dada; a partir do primeiro, a
contagem passa n soldados e remove o que alcancar, e recomeca no seguinte,
ate restar um soldado: o vencedor.

Os nomes sao palavras separadas por espacos ou quebras de linha, ate o fim
da entrada (ctrl+d no terminal). Para ler n e os nomes de um arquivo:
  countoff < arquivo
Para sortear um nome de um arquivo com n na primeira linha e um nome em cada
linha seguinte, mostrando so as remocoes:
  countoff --linhas --resumo < nomes.txt

      --desenho  desenha o circulo depois da primeira lista e de cada
                 remocao: o soldado da contagem e o removido, com seu next
      --linhas   le n sozinho na primeira linha que nao esta em branco, e
                 depois um nome por linha, sem os espacos do comeco e do fim
                 (os de dentro ficam); pula as linhas em branco
      --resumo   mostra cada remocao, mas nao o circulo que resta depois dela
      --help     mostra esta ajuda e sai
      --version  mostra a versao e sai

Estado de saida:
  0  o jogo chegou ao vencedor
  1  nenhum nome, ou um n que nao se pode ler
  2  n negativo, ou um argumento desconhecido
  3  erro de leitura da entrada ou de escrita da saida
)",
                           options};

// Reads the next piece of standard input into `text`: a word, or a line.
// Answers false at the end of input.
using Reader = bool (*)(std::string& text);

bool next_word(std::string& text) { return static_cast<bool>(std::cin >> text); }

// Reads the next line that is not blank, without the white space at its ends.
bool next_line(std::string& text) {
    while (std::getline(std::cin, text)) {
        std::size_t const last = text.find_last_not_of(white_space);
        if (last != std::string::npos) {
            text.erase(last + 1);
            text.erase(0, text.find_first_not_of(white_space));
            return true;
        }
    }
    return false;
}

// Reads n as the first piece, whole: an optional sign and decimal digits, as
// the formatted extraction of an int reads them, with nothing else in the
// piece. Answers whether there was such a count; when not, standard error
// says why.
bool read_count(Reader read, int& n) {
    std::string word;
    if (!read(word)) {
        complain(missing_n);
        return false;
    }
    std::string_view digits = word;
    if (digits.starts_with('+') && !digits.starts_with("+-")) {
        digits.remove_prefix(1); // from_chars takes a minus sign only
    }
    auto const [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (end != digits.data() + digits.size() || error == std::errc::invalid_argument) {
        complain(invalid_n, Quoted{word});
        return false;
    }
    if (error == std::errc::result_out_of_range) {
        complain(n_out_of_range, Quoted{word});
        return false;
    }
    return true;
}

// Stands every name up to the end of input in the circle, in order.
void read_roster(Reader read, ListaEnc& roster) {
    node* last = nullptr;
    std::string name;
    while (read(name)) {
        if (last == nullptr) {
            roster.inserir(0, std::move(name));
            last = &*roster.begin();
        } else {
            last = roster.inserirapos(last, 0, std::move(name));
        }
    }
}

// Shows the circle that is left after a removal, unless the game is summed up.
void show_remaining(const ListaEnc& roster, unsigned modes) {
    if ((modes & summary) != 0) {
        return;
    }
    say(remaining_title);
    say(dash_line);
    roster.ExibirInfo();
    say(dash_line);
}

int play(unsigned modes) {
    Reader const read = (modes & one_name_a_line) != 0 ? next_line : next_word;
    ListaEnc roster;
    say(prompt_for_n);
    int n = 0;
    bool const counted = read_count(read, n);
    if (counted && n < 0) {
        complain(negative_n);
        return 2;
    }
    say(prompt_for_names);
    if (counted) {
        read_roster(read, roster);
    }
    if (roster.isEmpty()) {
        throw ListUnderflowException();
    }
    say(dash_line);
    say(roster_title);
    roster.ExibirInfo();
    say(first_counter, roster.begin()->info);
    if ((modes & drawings) != 0) {
        show(roster, {{&*roster.begin(), counting_mark}});
    }
    say(dash_line);

    Counting counting(roster, static_cast<std::size_t>(n));
    while (counting.standing() > 1) {
        const node& removed = counting.remove_reached();
        say(removal, removed.info);
        if ((modes & drawings) != 0) {
            show(roster, {{removed.next, counting_mark}}, Mark{&removed, removed_mark});
        }
        if (counting.standing() == 1) {
            break;
        }
        show_remaining(roster, modes);
        say(next_counter, removed.next->info, next_counter_end);
    }
    std::unique_ptr<node> const survivor = roster.pop();
    say(star_line);
    say(winner, survivor->info);
    say(star_line);
    say(game_over);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(countoff, argc, argv, play);
    } catch (const ListUnderflowException&) {
        return 1; // no soldiers; the exception printed why
    }
}

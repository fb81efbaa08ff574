// SPDX-License-Identifier: MIT
// countoff: the counting-out game. Reads a count n and the soldiers' names
// from standard input and stands the soldiers in a circle in that order.
// Starting from the first soldier, the count passes n soldiers and removes the
// one it reaches, then starts again from the soldier after it, until one
// soldier is left: the winner. What the game does is said to one
// presentation (presentation.h), which the options choose.
#include "counting.h"
#include "drawing.h"
#include "input.h"
#include "listaenccircular.h"
#include "on_page.h"
#include "presentation.h"
#include "program.h"
#include "text.h"

#include <charconv>
#include <cstddef>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace {

constexpr std::string_view negative_n = "countoff: n deve ser maior ou igual a zero";
constexpr std::string_view missing_n = "countoff: n ausente";
constexpr std::string_view invalid_n = "countoff: n invalido: ";
constexpr std::string_view n_out_of_range = "countoff: n fora do intervalo: ";
constexpr std::string_view not_utf8 = ": nome que nao e UTF-8: ";
constexpr std::string_view bad_width = "countoff: largura invalida: ";
constexpr std::string_view width_bounds = " (de 50 a 1000 colunas)";
constexpr std::string_view csv_alone = "countoff: --csv nao se combina com --desenho nem --passo";
constexpr std::string_view page_and_table = "countoff: --html nao se combina com --csv";
constexpr std::string_view width_on_page = "countoff: --largura nao se combina com --html";
// Names that are not UTF-8 are named one by one up to this many; then one
// line says how many more there were.
constexpr std::size_t named_at_most = 10;

// The modes that the options set.
enum : unsigned {
    summary = 1U << 0,         // the circle that is left after a removal is not shown
    one_name_a_line = 1U << 1, // the count and each name on a line of its own
    drawings = 1U << 2,        // the circle drawn after the first roster and each removal
    table = 1U << 3,           // the draw as a table
    count_given = 1U << 4,     // the count on the command line
    steps = 1U << 5,           // each step of each count drawn, and the drawings
    width_given = 1U << 6,     // the drawings' width on the command line
    html = 1U << 7,            // a page of the game's steps instead of the text
};
std::string_view count_argument;
std::string_view width_argument;
constexpr Option options[] = {{"--resumo", summary},
                              {"--linhas", one_name_a_line},
                              {"--desenho", drawings},
                              {"--passo", steps},
                              {"--csv", table},
                              {"--contagem", count_given, &count_argument},
                              {"--largura", width_given, &width_argument},
                              {"--html", html}};

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
Para sortear com n = 7 uma coluna de nomes exportada de uma planilha, e ter
o resultado como tabela:
  countoff --linhas --csv --contagem 7 < nomes.txt > resultado.csv

      --contagem N  usa N como n; a entrada tem entao so os nomes
      --csv         mostra o sorteio como tabela CSV (RFC 4180, UTF-8) e nada
                    mais: o cabecalho ordem,posicao,nome e uma linha por
                    soldado, na ordem em que sai, o vencedor por ultimo;
                    posicao e o numero do soldado na primeira lista
      --desenho     desenha o circulo depois da primeira lista e de cada
                    remocao: o soldado da contagem e o removido, com seu next
      --html        escreve, em vez do texto, uma pagina HTML com os passos do
                    jogo: a roda de soldados e as linhas do texto de cada um;
                    ate 1000 soldados e, com --passo, ate 20000 passos
      --largura N   desenha em N colunas (de 50 a 1000); sem ela, na largura
                    do terminal, ou em 80 fora de um terminal
      --linhas      le n sozinho na primeira linha que nao esta em branco, e
                    depois um nome por linha, sem os espacos do comeco e do
                    fim (os de dentro ficam); pula as linhas em branco; LF,
                    CRLF e CR terminam uma linha; avisa dos nomes que nao sao
                    UTF-8
      --passo       desenha tambem cada passo da contagem: o soldado em que
                    ela esta, ate o que sera removido
      --resumo      mostra cada remocao, mas nao o circulo que resta depois
                    dela
      --help        mostra esta ajuda e sai
      --version     mostra a versao e sai

Uma marca de ordem de bytes (BOM) UTF-8 no comeco da entrada e ignorada.

Estado de saida:
  0  o jogo chegou ao vencedor
  1  nenhum nome, ou um n que nao se pode ler
  2  n negativo, um argumento desconhecido, uma largura invalida, opcoes
     que nao se combinam, ou um jogo grande demais para --html
  3  erro de leitura da entrada ou de escrita da saida
)",
                           options};

// Reads n from `word`, whole: an optional sign and decimal digits, as the
// formatted extraction of an int reads them, with nothing else. Answers
// whether it is such a count; when not, standard error says why.
bool read_count(std::string_view word, int& n) {
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

// Reads the next piece of the input into `text`: a word, or a line.
using Reader = bool (Input::*)(std::string& text);

// Stands every name up to the end of input in the circle, in order. One name
// a line, it names on standard error the lines whose name is not UTF-8.
// It stops at `most` names.
void read_roster(Input& input, Reader read, ListaEnc& roster, std::size_t most) {
    bool const lines = read == &Input::line;
    std::size_t not_utf8_names = 0;
    node* last = nullptr;
    std::string name;
    for (std::size_t names = 0; names < most && (input.*read)(name); ++names) {
        if (lines && !valid_utf8(name) && ++not_utf8_names <= named_at_most) {
            complain("countoff: linha ", input.line_number(), not_utf8, Quoted{name});
        }
        if (last == nullptr) {
            roster.inserir(0, std::move(name));
            last = &*roster.begin();
        } else {
            last = roster.inserirapos(last, 0, std::move(name));
        }
    }
    if (not_utf8_names > named_at_most) {
        complain("countoff: e mais ", not_utf8_names - named_at_most, " nomes que nao sao UTF-8");
    }
}

// Plays the game: reads the count and the roster, and tells the presentation
// what happens. Answers the exit status.
int play(Presentation& presentation, Input& input, Reader read, unsigned modes) {
    ListaEnc roster;
    presentation.asking_count();
    int n = 0;
    std::string word;
    bool counted = false;
    if ((modes & count_given) != 0) {
        counted = read_count(count_argument, n);
    } else if ((input.*read)(word)) {
        counted = read_count(word, n);
    } else {
        complain(missing_n);
    }
    if (counted && n < 0) {
        complain(negative_n);
        return 2;
    }
    if (counted) {
        presentation.counted(static_cast<std::size_t>(n));
    }
    presentation.asking_names();
    if (counted) {
        read_roster(input, read, roster, presentation.most_soldiers() + 1);
    }
    if (roster.empty()) {
        presentation.nobody();
        return 1;
    }
    presentation.first_roster(roster);

    Counting counting(roster, static_cast<std::size_t>(n));
    const node* start = &roster.front(); // where the count starts
    for (std::size_t order = 1; counting.standing() > 1; ++order) {
        if (presentation.follows_count()) {
            std::size_t const steps = static_cast<std::size_t>(n) % counting.standing();
            const node* at = start;
            for (std::size_t step = 1; step <= steps; ++step) {
                at = at->next;
                presentation.passing(roster, *at, step, steps);
            }
        }
        std::size_t const place = counting.reached_place();
        const node& removed = counting.remove_reached();
        presentation.removed(roster, {removed, place + 1}, order, counting.standing() > 1);
        start = removed.next;
    }
    std::size_t const place = counting.reached_place();
    std::unique_ptr<node> const survivor = roster.pop();
    presentation.won({*survivor, place + 1});
    return 0;
}

int play(unsigned modes) {
    if ((modes & table) != 0 && (modes & html) != 0) {
        complain(page_and_table);
        return 2;
    }
    if ((modes & table) != 0 && (modes & (drawings | steps)) != 0) {
        complain(csv_alone);
        return 2;
    }
    if ((modes & html) != 0 && (modes & width_given) != 0) {
        complain(width_on_page);
        return 2;
    }
    std::size_t const width = drawing_width((modes & width_given) != 0 ? &width_argument : nullptr);
    if (width == 0) {
        complain(bad_width, Quoted{width_argument}, width_bounds);
        return 2;
    }
    StandardOutput out;
    std::ostream page(std::cout.rdbuf());
    page.exceptions(std::ios::badbit);
    std::optional<Transcript> transcript;
    std::optional<Table> draw_table;
    std::optional<PageGame> page_game;
    Presentation* presentation = nullptr;
    if ((modes & html) != 0) {
        presentation = &page_game.emplace(page, (modes & summary) != 0, (modes & steps) != 0);
    } else if ((modes & table) != 0) {
        presentation = &draw_table.emplace(out);
    } else {
        presentation = &transcript.emplace(
            out, Transcript::Options{(modes & summary) != 0, (modes & (drawings | steps)) != 0,
                                     (modes & steps) != 0, width});
    }
    Input input(*std::cin.rdbuf());
    try {
        return play(*presentation, input,
                    (modes & one_name_a_line) != 0 ? &Input::line : &Input::word, modes);
    } catch (const TooLargeForAPage&) {
        return 2; // standard error said why
    }
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(countoff, argc, argv, play);
    } catch (const ListUnderflowException&) {
        return 1; // no soldiers; the exception printed why
    }
}

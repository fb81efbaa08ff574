// SPDX-License-Identifier: MIT
// listdemo: narrates operations on the demo build of the list, one step at a
// time: a fixed script, or the commands that a learner types, one a line.
// Both go through the interpreter; what it says and draws goes to one
// Presentation: text on standard output here, or a page.
#include "columns.h"
#include "drawing.h"
#include "format.h"
#include "interpreter.h"
#include "narration.h"
#include "on_page.h"
#include "pager.h"
#include "program.h"
#include "reader.h"
#include "text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <iostream>
#include <memory>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

constexpr unsigned drawings = 1;
constexpr unsigned interactive = 2;
constexpr unsigned width_given = 4;
constexpr unsigned steps = 8;
constexpr unsigned html = 16;
std::string_view width_argument;
constexpr Option options[] = {{"--desenho", drawings},
                              {"--html", html},
                              {"--interativo", interactive},
                              {"--largura", width_given, &width_argument},
                              {"--passo", steps}};

constexpr Program listdemo{"listdemo", R"(Uso: listdemo [OPÇÃO]...
Narra operações numa lista circular simplesmente encadeada com nó cabeça:
um roteiro fixo de inserções, remoções, contagens e exibições ou, com
--interativo, os comandos lidos da entrada padrão, um por linha.

      --desenho     desenha a lista depois de cada passo
      --html        escreve, em vez do texto, uma página HTML com os passos:
                    em cada um, o desenho da lista e as linhas do texto
      --interativo  lê os comandos da entrada padrão em vez de seguir o
                    roteiro; o comando ajuda lista os comandos
      --passo       desenha a lista depois de cada passo de cada operação:
                    os cursores, o next que mudou, a linha do código; num
                    terminal, pelo paginador ($PAGER, ou less -FRX)
      --largura N   desenha em N colunas (de 50 a 1000); sem ela, na
                    largura do terminal, ou em 80 fora de um terminal
      --help        mostra esta ajuda e sai
      --version     mostra a versão e sai

Os comandos de uma sessão: inserir K [TEXTO], remover K, removerinfo TEXTO,
pop, inverter, ordenar, girar [K] (o primeiro vira o último, K vezes),
limpar, tamanho, busca K, buscainfo TEXTO, primeiro, exibir, exibirinfo,
desenhar, ajuda e sair.

Sem --interativo, não lê nada. Uma sessão guardada num arquivo:
  listdemo --interativo --desenho < sessao.txt
Uma página para projetar, que o navegador abre:
  listdemo --interativo --passo --html < sessao.txt > sessao.html

Estado de saída:
  0  o roteiro chegou ao fim, ou a sessão, com cada linha entendida
  1  uma linha da sessão que não era um comando válido
  2  um argumento desconhecido, uma largura inválida, --largura com
     --html, ou uma página cortada em 20000 passos (o resto não foi lido)
  3  erro de leitura da entrada ou de escrita da saída
)",
                           options};

// Every text that listdemo says itself; the interpreter says the rest.
namespace texts {
constexpr std::string_view bad_width = "{}: largura inválida: {} (de 50 a 1000 colunas)";
constexpr std::string_view width_on_page = "{}: --largura não se combina com --html";
constexpr std::string_view script_title = "listdemo: roteiro";
constexpr std::string_view session_title = "listdemo: sessão";
constexpr std::string_view page_full =
    "{}: a página mostra até {} passos; o resto da sessão não foi lido";
} // namespace texts

// A word as a message shows it, only its beginning when it is long.
std::string quoted(std::string_view text) {
    constexpr std::size_t shown_bytes = 64;
    std::string_view const shown = prefix(text, shown_bytes);
    std::string out = quote(shown);
    if (shown.size() < text.size()) {
        out += "...";
    }
    return out;
}

// What is shown as text on standard output: each line said, and the
// drawings in `width` columns.
class TextPresentation final : public Presentation {
public:
    // With `follows`, the width is read again after the terminal is resized.
    TextPresentation(std::size_t width, bool follows, bool session, bool drawings)
        : width_(width), follows_(follows), session_(session), drawings_(drawings) {}

    void say(std::string_view line) override { ::say(line); }
    void note(std::string_view line) override {
        if (session_) {
            ::say(line);
        } else if (drawings_) {
            drawn(line, "");
        }
    }
    void draw(const Frame& frame) override {
        if (follows_) {
            width_ = resized_width(width_);
        }
        if (frame.step != 0 && frame.steps == 0) {
            drawn(frame.operation, joined(": passo ", decimal(frame.step)));
        } else if (frame.step != 0) {
            drawn(frame.operation,
                  joined(": passo ", decimal(frame.step), " de ", decimal(frame.steps)));
        }
        if (frame.step != 0) {
            code_lines(frame.code, frame.outcome);
            if (!frame.caller.empty()) {
                helper_line(code_title(frame));
            }
            listing_lines(frame.listing, frame.line);
        }
        print_lines(::draw(frame.scene, width_));
    }

private:
    // Says the code of the function that runs the step, every line, the
    // one that the step runs marked with an arrow as the drawings draw one
    // ("->"), and a blank line; a line wider than the room is cut with "...".
    void listing_lines(std::span<const std::string> listing, std::size_t line) const {
        constexpr std::string_view marked = ":   -> ";
        constexpr std::string_view other = ":      ";
        static_assert(marked.size() == other.size());
        std::size_t const room = width_ - marked.size();
        for (std::size_t i = 0; i < listing.size(); ++i) {
            std::string_view const start = i + 1 == line ? marked : other;
            Cells const shown = cells(listing[i]);
            if (shown.size() <= room) {
                ::say(start, listing[i]);
                continue;
            }
            std::size_t cut = room - 3;
            if (shown[cut].empty()) { // the second column of a wide character
                --cut;
            }
            ::say(start, text_of(Cells(shown.begin(), shown.begin() + std::ptrdiff_t(cut))), "...");
        }
        if (!listing.empty()) {
            ::say(":");
        }
    }

    // Says whose code the listing is, when a helper's, above it: on one
    // line where it fits, else broken after its comma.
    void helper_line(std::string_view title) const {
        constexpr std::string_view start = ":   ";
        std::size_t const comma = title.find(", ");
        if (start.size() + cells(title).size() + 1 <= width_ || comma == std::string_view::npos) {
            ::say(start, title, ":");
            return;
        }
        ::say(start, title.substr(0, comma + 1));
        ::say(start, title.substr(comma + 2), ":");
    }

    // Says the step's code and its outcome, "  (sim)", within the width: a
    // line of code too long is broken at its spaces, the outcome kept whole.
    void code_lines(std::string_view code, std::string_view outcome) const {
        constexpr std::string_view first = ":   ";
        constexpr std::string_view more = ":       ";
        std::string line(first);
        std::string_view rest = code;
        while (true) {
            std::size_t const room = width_ - line.size();
            std::size_t const whole = rest.size() + outcome.size();
            if (whole <= room) {
                ::say(line, rest, outcome);
                return;
            }
            std::size_t cut = rest.size() <= room ? std::string_view::npos : rest.rfind(' ', room);
            if (rest.size() <= room) { // the code fits, its outcome does not
                ::say(line, rest);
                ::say(more, outcome.substr(outcome.find_first_not_of(' ')));
                return;
            }
            if (cut == std::string_view::npos || cut == 0) {
                cut = rest.find(' ');
                if (cut == std::string_view::npos) { // one word, wider than the room
                    ::say(line, rest, outcome);
                    return;
                }
            }
            ::say(line, rest.substr(0, cut));
            rest.remove_prefix(cut + 1);
            line = more;
        }
    }

    // Says a line of a drawing, `text` then `end`, within the width: the end
    // whole, the text cut with "..." where the two do not fit.
    void drawn(std::string_view text, std::string_view end) const {
        std::size_t const room = width_ - gutter.size() - end.size(); // `end` is ASCII
        Cells const shown = cells(text);
        if (shown.size() <= room) {
            ::say(gutter, text, end);
            return;
        }
        std::size_t cut = room - 3;
        if (shown[cut].empty()) { // the second column of a wide character
            --cut;
        }
        ::say(gutter, text_of(Cells(shown.begin(), shown.begin() + std::ptrdiff_t(cut))), "...",
              end);
    }

    static constexpr std::string_view gutter = ": ";
    std::size_t width_;
    bool follows_;
    bool session_;
    bool drawings_;
};

// A session: the commands of standard input, up to its end or sair. Answers
// 0 when every line was understood, 1 otherwise.
// On a page, the lines are read as from a file, without a prompt.
int converse(Interpreter& session, Presentation& show, bool on_page) {
    bool const terminal = !on_page && input_is_terminal();
    if (terminal) {
        show.say(Interpreter::greeting);
    }
    std::unique_ptr<LineReader> const reader =
        line_reader(terminal, Interpreter::prompt, Interpreter::command_names());
    bool understood = true;
    std::string line;
    while (!session.over() && !show.full()) {
        if (!reader->read(line)) {
            if (terminal) {
                say(""); // ends the prompt's line
            }
            break;
        }
        if (std::string_view const error = session.line(line); !error.empty()) {
            understood = false;
            complain(error);
        }
    }
    return understood ? 0 : 1;
}

// Runs the script, or the session, and answers the exit status.
int narrate(Presentation& show, Interpreter::Options options, bool interactive_session,
            bool on_page) {
    Interpreter session(show, options);
    if (interactive_session) {
        return converse(session, show, on_page);
    }
    session.script();
    return 0;
}

int narrate(unsigned modes) {
    bool const session = (modes & interactive) != 0;
    bool const stepped = (modes & steps) != 0;
    if ((modes & html) != 0) {
        if ((modes & width_given) != 0) {
            complain(filled(texts::width_on_page, listdemo.name));
            return 2;
        }
        std::ostream page(std::cout.rdbuf());
        page.exceptions(std::ios::badbit);
        PagePresentation presentation(page, session ? texts::session_title : texts::script_title,
                                      session);
        int const status =
            narrate(presentation, {.drawings = true, .steps = stepped}, session, true);
        presentation.finish();
        if (presentation.full()) {
            complain(filled(filled(texts::page_full, listdemo.name),
                            decimal(PagePresentation::most_steps)));
            return 2; // what was not shown is no success
        }
        return status;
    }
    std::size_t const width = drawing_width((modes & width_given) != 0 ? &width_argument : nullptr);
    if (width == 0) {
        complain(filled(filled(texts::bad_width, listdemo.name), quoted(width_argument)));
        return 2;
    }
    bool const follows = (modes & width_given) == 0;
    if (follows) {
        watch_width();
    }
    TextPresentation presentation(width, follows, session, (modes & drawings) != 0 || stepped);
    // Steps are long: at a terminal they are paged, unless the lines are
    // typed there.
    Pager pager(stepped && !(session && input_is_terminal()));
    int const status = narrate(
        presentation, {.drawings = (modes & drawings) != 0, .steps = stepped}, session, false);
    pager.finish();
    return status;
}

} // namespace

int main(int argc, char** argv) { return run(listdemo, argc, argv, narrate); }

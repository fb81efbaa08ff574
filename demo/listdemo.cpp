// SPDX-License-Identifier: MIT
// listdemo: narrates operations on the demo build of the list, one step at a
// time: a fixed script, or the commands that a learner types, one a line.
// Both go through one interpreter, a table from command names to operations,
// and the script is a list of such commands.
#include "drawing.h"
#include "listaenccircular.h"
#include "program.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>

namespace {

constexpr unsigned drawings = 1;
constexpr unsigned interactive = 2;
constexpr Option options[] = {{"--desenho", drawings}, {"--interativo", interactive}};

constexpr Program listdemo{"listdemo", R"(Uso: listdemo [OPCAO]...
Narra operacoes numa lista circular simplesmente encadeada com no cabeca:
um roteiro fixo de insercoes, remocoes, contagens e exibicoes ou, com
--interativo, os comandos lidos da entrada padrao, um por linha.

      --desenho     desenha a lista depois de cada passo
      --interativo  le os comandos da entrada padrao em vez de seguir o
                    roteiro; o comando ajuda lista os comandos
      --help        mostra esta ajuda e sai
      --version     mostra a versao e sai

Sem --interativo, nao le nada. Uma sessao guardada num arquivo:
  listdemo --interativo --desenho < sessao.txt

Estado de saida:
  0  o roteiro chegou ao fim, ou a sessao, com cada linha entendida
  1  uma linha da sessao que nao era um comando valido
  2  um argumento desconhecido
  3  erro de leitura da entrada ou de escrita da saida
)",
                           options};

constexpr std::string_view show_again_after_a_blank_line = "\n>>Nova exibicao da lista";
constexpr std::string_view show_again = show_again_after_a_blank_line.substr(1);
constexpr std::string_view removed_label = "removido";
constexpr std::string_view released_label = "liberado"; // by the demo build's remover
constexpr std::string_view prompt = "lista> ";
constexpr std::string_view greeting =
    "Digite um comando por linha (ajuda lista os comandos, sair termina).";
constexpr std::string_view blanks = " \t\r";
constexpr std::string_view default_text = " ";

template <typename Number>
std::string decimal(Number value) {
    char digits[24];
    return {digits, std::to_chars(digits, digits + sizeof digits, value).ptr};
}

// The pieces one after the other. (Appended rather than added up: GCC 12
// warns, wrongly, of overlapping copies in some sums of strings.)
template <typename... Pieces>
std::string joined(const Pieces&... pieces) {
    std::string out;
    (out.append(pieces), ...);
    return out;
}

// A text as the messages show a word: quoted, its control bytes escaped.
std::string quoted(std::string_view text) {
    std::ostringstream out;
    out << Quoted{text};
    return std::move(out).str();
}

std::string_view trimmed(std::string_view text) {
    text.remove_prefix(std::min(text.find_first_not_of(blanks), text.size()));
    return text.substr(0, text.find_last_not_of(blanks) + 1);
}

// Takes the first word of `rest` off it.
std::string_view take_word(std::string_view& rest) {
    rest = trimmed(rest);
    std::string_view const word = rest.substr(0, rest.find_first_of(blanks));
    rest.remove_prefix(word.size());
    return word;
}

// What a command is given.
struct Arguments {
    int key = 0;
    std::string text;
};

// The list that the commands work on, and what a step leaves for its drawing.
class Session {
public:
    explicit Session(bool drawing) : drawing_(drawing) {}

    // Keeps what an element was when it left the list, for the next drawing:
    // a copy, which stands for it, so that a link to itself is one to the copy.
    void unlinked(const node& element, std::string_view label) {
        if (drawing_) {
            node& copy = unlinked_.emplace(element);
            if (element.next == &element) {
                copy.next = &copy;
            }
            label_ = label;
        }
    }
    // The end of a step: with drawings, the list as the step left it.
    void step_done() {
        if (drawing_) {
            show(list, {}, unlinked_ ? std::optional<Mark>({&*unlinked_, label_}) : std::nullopt);
        }
        unlinked_.reset();
    }

    ListaEnc list;
    bool over = false; // sair was given

private:
    bool drawing_;
    std::optional<node> unlinked_;
    std::string_view label_;
};

// What a command takes after its name.
enum class Takes { nothing, key, key_and_text, text };

struct Command {
    std::string_view name;
    Takes takes;
    std::string_view usage; // its line in ajuda
    // The line that tells what the command does, said before it does it;
    // none where null.
    std::string (*narration)(const Session&, const Arguments&);
    void (*act)(Session&, const Arguments&);
    bool drawn = true; // a drawing follows it with --desenho
};

void remove_key(Session& session, const Arguments& arguments) {
    // remover unlinks the first element with the key in circle order, and the
    // demo build may release it: what it was is kept before.
    auto const target =
        std::find_if(session.list.begin(), session.list.end(),
                     [&arguments](const node& e) { return e.key == arguments.key; });
    std::optional<node> before;
    if (target != session.list.end()) {
        before.emplace(*target);
        if (target->next == &*target) { // alone, linked to itself
            before->next = &*before;
        }
    }
    std::unique_ptr<node> const removed = session.list.remover(arguments.key);
    if (before) {
        session.unlinked(*before, removed ? removed_label : released_label);
    }
}

void pop(Session& session, const Arguments&) {
    std::unique_ptr<node> popped;
    try {
        popped = session.list.pop();
    } catch (const ListUnderflowException&) {
        return; // it said that the list is empty
    }
    session.unlinked(*popped, removed_label);
    session.step_done();
    say(">>a chave removida foi: ", decimal(popped->key));
}

void print_first(Session& session, const Arguments&) {
    try {
        session.list.PrintFirst();
    } catch (const ListUnderflowException&) { // it said that the list is empty
    }
}

void list_commands(Session&, const Arguments&);

constexpr Command commands[] = {
    {"inserir", Takes::key_and_text,
     "  inserir K [TEXTO]  insere a chave K com o texto (um espaco, se faltar)",
     [](const Session&, const Arguments& a) {
         return joined(">>inserindo ", decimal(a.key), "...");
     },
     [](Session& s, const Arguments& a) { s.list.inserir(a.key, a.text); }},
    {"remover", Takes::key, "  remover K          remove o primeiro elemento de chave K",
     [](const Session&, const Arguments& a) {
         return joined(">>removendo ", decimal(a.key), "...");
     },
     remove_key},
    {"removerinfo", Takes::text, "  removerinfo TEXTO  remove o primeiro elemento com o texto",
     [](const Session&, const Arguments& a) {
         return joined(">>removendo ", quoted(a.text), "...");
     },
     [](Session& s, const Arguments& a) {
         if (std::unique_ptr<node> const removed = s.list.removerinfo(a.text)) {
             s.unlinked(*removed, removed_label);
         }
     }},
    {"pop", Takes::nothing, "  pop                remove o primeiro elemento da lista",
     [](const Session&, const Arguments&) {
         return std::string(">>Remove o primeiro elemento da lista");
     },
     pop},
    {"limpar", Takes::nothing, "  limpar             libera todos os elementos; o no cabeca fica",
     [](const Session&, const Arguments&) { return std::string(">>limpando a lista..."); },
     [](Session& s, const Arguments&) { s.list.limpar(); }},
    {"tamanho", Takes::nothing, "  tamanho            conta os elementos",
     [](const Session& s, const Arguments&) {
         return joined(">>Tamanho da lista e' :", decimal(s.list.tamanho()));
     },
     [](Session&, const Arguments&) {}},
    {"busca", Takes::key, "  busca K            diz se algum elemento tem a chave K",
     [](const Session&, const Arguments& a) {
         return joined(">>A chave ", decimal(a.key), " esta na lista?");
     },
     [](Session& s, const Arguments& a) { say(s.list.Busca(a.key) ? "sim" : "nao"); }},
    {"buscainfo", Takes::text, "  buscainfo TEXTO    diz se algum elemento tem o texto",
     [](const Session&, const Arguments& a) {
         return joined(">>O texto ", quoted(a.text), " esta na lista?");
     },
     [](Session& s, const Arguments& a) { say(s.list.BuscaInfo(a.text) ? "sim" : "nao"); }},
    {"primeiro", Takes::nothing, "  primeiro           mostra a chave do primeiro elemento",
     [](const Session&, const Arguments&) { return std::string(">>Qual o primeiro no da lista?"); },
     print_first},
    {"exibir", Takes::nothing, "  exibir             mostra as chaves em ordem, do primeiro",
     [](const Session&, const Arguments&) { return std::string(">>Exibicao da lista"); },
     [](Session& s, const Arguments&) { s.list.ExibirLista(); }},
    {"exibirinfo", Takes::nothing, "  exibirinfo         mostra os textos em ordem, do primeiro",
     [](const Session&, const Arguments&) { return std::string(">>Exibicao dos textos da lista"); },
     [](Session& s, const Arguments&) { s.list.ExibirInfo(); }},
    {"desenhar", Takes::nothing, "  desenhar           desenha a lista, o no cabeca e os next",
     [](const Session&, const Arguments&) { return std::string(">>Desenho da lista"); },
     [](Session& s, const Arguments&) { show(s.list); }, false},
    {"ajuda", Takes::nothing, "  ajuda              mostra estes comandos",
     [](const Session&, const Arguments&) { return std::string(">>Comandos:"); }, list_commands,
     false},
    {"sair", Takes::nothing, "  sair               termina a sessao", nullptr,
     [](Session& s, const Arguments&) { s.over = true; }, false},
};

void list_commands(Session&, const Arguments&) {
    for (const Command& command : commands) {
        say(command.usage);
    }
}

// What is wrong with a line, and the part of it that is wrong, if any.
struct Fault {
    std::string_view reason;
    std::optional<std::string_view> part = std::nullopt;
};

// Reads a key: the whole word, an optional sign and decimal digits.
std::optional<Fault> read_key(std::string_view word, int& key) {
    if (word.empty()) {
        return Fault{"chave ausente"};
    }
    std::string_view digits = word;
    if (digits.starts_with('+') && !digits.starts_with("+-")) {
        digits.remove_prefix(1); // from_chars takes a minus sign only
    }
    auto const [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), key);
    if (end != digits.data() + digits.size() || error == std::errc::invalid_argument) {
        return Fault{"chave invalida", word};
    }
    if (error == std::errc::result_out_of_range) {
        return Fault{"chave fora do intervalo", word};
    }
    return std::nullopt;
}

// Runs a line of commands: its command, said with `narration` when that is
// given and with the command's own words otherwise. A blank line does
// nothing. Answers what is wrong with the line, which then does nothing.
std::optional<Fault> perform(Session& session, std::string_view line,
                             std::string_view narration = {}) {
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    std::string_view const name = take_word(line);
    if (name.empty()) {
        return std::nullopt;
    }
    auto const command = std::find_if(std::begin(commands), std::end(commands),
                                      [name](const Command& c) { return c.name == name; });
    if (command == std::end(commands)) {
        return Fault{"comando desconhecido", name};
    }
    Arguments arguments;
    if (command->takes == Takes::key || command->takes == Takes::key_and_text) {
        if (auto const fault = read_key(take_word(line), arguments.key)) {
            return fault;
        }
    }
    if (command->takes == Takes::key_and_text || command->takes == Takes::text) {
        std::string_view const text = trimmed(line);
        if (text.empty() && command->takes == Takes::text) {
            return Fault{"texto ausente"};
        }
        arguments.text = text.empty() ? default_text : text;
        line = {};
    }
    if (std::string_view const extra = trimmed(line); !extra.empty()) {
        return Fault{"argumento a mais", extra};
    }
    if (!narration.empty()) {
        say(narration);
    } else if (command->narration != nullptr) {
        say(command->narration(session, arguments));
    }
    command->act(session, arguments);
    if (command->drawn) {
        session.step_done();
    }
    return std::nullopt;
}

// The script: a step of the demonstration a line, as a learner would type
// it, and the script's own words where it says more than the command does.
struct Step {
    std::string_view command;
    std::string_view narration = {};
};
constexpr Step script[] = {
    {"inserir 10"},
    {"inserir 30"},
    {"inserir 20"},
    {"inserir 13"},
    {"inserir 53"},
    {"inserir 20"},
    {"exibir"},
    {"primeiro"},
    {"tamanho"},
    {"remover 30"},
    {"tamanho"},
    {"primeiro"},
    {"exibir", show_again},
    {"remover 10"},
    {"exibir", show_again},
    {"primeiro"},
    {"pop"},
    {"exibir", show_again_after_a_blank_line},
};

// A session: the commands of standard input, up to its end or sair. Answers
// 0 when every line was understood, 1 otherwise.
int converse(Session& session) {
    bool const terminal = input_is_terminal();
    if (terminal) {
        say(greeting);
    }
    bool understood = true;
    std::string line;
    for (std::size_t number = 1; !session.over; ++number) {
        if (terminal) {
            std::cout.write(prompt.data(), static_cast<std::streamsize>(prompt.size())).flush();
        }
        if (!std::getline(std::cin, line)) {
            if (terminal) {
                say(""); // ends the prompt's line
            }
            break;
        }
        if (auto const fault = perform(session, line)) {
            understood = false;
            std::string const where = decimal(number);
            if (fault->part) {
                complain(listdemo.name, ": linha ", where, ": ", fault->reason, ": ",
                         Quoted{*fault->part});
            } else {
                complain(listdemo.name, ": linha ", where, ": ", fault->reason);
            }
        }
    }
    return understood ? 0 : 1;
}

int narrate(unsigned modes) {
    Session session((modes & drawings) != 0);
    if ((modes & interactive) != 0) {
        return converse(session);
    }
    for (const Step& step : script) {
        perform(session, step.command, step.narration);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) { return run(listdemo, argc, argv, narrate); }

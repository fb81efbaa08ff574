// SPDX-License-Identifier: MIT
// listdemo: narrates operations on the demo build of the list, one step at a
// time: a fixed script, or the commands that a learner types, one a line.
// Both go through one interpreter, a table from command names to operations,
// and the script is a list of such commands. What the interpreter says and
// draws goes to one Presentation.
#include "columns.h"
#include "drawing.h"
#include "listaenccircular.h"
#include "on_page.h"
#include "presentation.h"
#include "program.h"
#include "reader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <iostream>
#include <memory>
#include <optional>
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

constexpr Program listdemo{"listdemo", R"(Uso: listdemo [OPCAO]...
Narra operacoes numa lista circular simplesmente encadeada com no cabeca:
um roteiro fixo de insercoes, remocoes, contagens e exibicoes ou, com
--interativo, os comandos lidos da entrada padrao, um por linha.

      --desenho     desenha a lista depois de cada passo
      --html        escreve, em vez do texto, uma pagina HTML com os passos:
                    em cada um, o desenho da lista e as linhas do texto
      --interativo  le os comandos da entrada padrao em vez de seguir o
                    roteiro; o comando ajuda lista os comandos
      --passo       desenha a lista depois de cada passo de cada operacao:
                    os cursores, o next que mudou, a linha do codigo
      --largura N   desenha em N colunas (de 50 a 1000); sem ela, na
                    largura do terminal, ou em 80 fora de um terminal
      --help        mostra esta ajuda e sai
      --version     mostra a versao e sai

Sem --interativo, nao le nada. Uma sessao guardada num arquivo:
  listdemo --interativo --desenho < sessao.txt
Uma pagina para projetar, que o navegador abre:
  listdemo --interativo --passo --html < sessao.txt > sessao.html

Estado de saida:
  0  o roteiro chegou ao fim, ou a sessao, com cada linha entendida
  1  uma linha da sessao que nao era um comando valido
  2  um argumento desconhecido, uma largura invalida, ou --largura com
     --html
  3  erro de leitura da entrada ou de escrita da saida
)",
                           options};

// Every text that listdemo says, but the commands' own (in the table of
// commands). "{}" stands for what a text is said with.
namespace texts {
constexpr std::string_view show_again_after_a_blank_line = "\n>>Nova exibicao da lista";
constexpr std::string_view show_again = show_again_after_a_blank_line.substr(1);
constexpr std::string_view popped_key = ">>a chave removida foi: {}";
constexpr std::string_view key_absent = "a chave {} nao esta na lista";
constexpr std::string_view text_absent = "o texto {} nao esta na lista";
constexpr std::string_view yes = "sim";
constexpr std::string_view no = "nao";
constexpr std::string_view removed = "removido";
constexpr std::string_view released = "liberado"; // by the demo build's remover
constexpr std::string_view prompt = "lista> ";
constexpr std::string_view greeting =
    "Digite um comando por linha (ajuda lista os comandos, sair termina).";
constexpr std::string_view quoting =
    "  Um TEXTO entre aspas duplas e' o que esta entre elas: \" \" e' um espaco.";
constexpr std::string_view at_line = ": linha "; // after the program's name, before the number
constexpr std::string_view no_key = "chave ausente";
constexpr std::string_view bad_key = "chave invalida";
constexpr std::string_view key_out_of_range = "chave fora do intervalo";
constexpr std::string_view no_text = "texto ausente";
constexpr std::string_view unknown_command = "comando desconhecido";
constexpr std::string_view extra_argument = "argumento a mais";
constexpr std::string_view bad_width = "{}: largura invalida: {} (de 50 a 1000 colunas)";
constexpr std::string_view width_on_page = "{}: --largura nao se combina com --html";
constexpr std::string_view script_title = "listdemo: roteiro";
constexpr std::string_view session_title = "listdemo: sessao";
constexpr std::string_view page_full =
    "{}: a pagina mostra ate {} passos; o resto da sessao nao foi lido";
constexpr std::string_view step_done = "(fim da operacao)";
constexpr std::string_view matched = "  (sim)";
constexpr std::string_view not_matched = "  (nao)";
} // namespace texts

constexpr std::string_view blanks = " \t\r";
constexpr std::string_view default_text = " ";
// As much of a text as a narration echoes.
constexpr std::size_t echoed_bytes = 64;

template <typename... Pieces>
std::string joined(const Pieces&... pieces) {
    std::string out;
    (out.append(pieces), ...);
    return out;
}

template <typename Number>
std::string decimal(Number value) {
    char digits[24];
    return {digits, std::to_chars(digits, digits + sizeof digits, value).ptr};
}

// `text` with its first "{}" replaced by `value`.
std::string filled(std::string_view text, std::string_view value) {
    std::size_t const at = text.find("{}");
    if (at == std::string_view::npos) {
        return std::string(text);
    }
    std::string out(text.substr(0, at));
    return out.append(value).append(text.substr(at + 2));
}

// A text as the narrations show it: quoted, escaped as messages show a
// word, and only its beginning when it is long.
std::string quoted(std::string_view text) {
    std::string_view const shown = prefix(text, echoed_bytes);
    std::ostringstream out;
    out << Quoted{shown};
    if (shown.size() < text.size()) {
        out << "...";
    }
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

// What is shown as text on standard output: each line said, and the
// drawings in `width` columns.
class TextPresentation final : public Presentation {
public:
    TextPresentation(std::size_t width, bool session, bool drawings)
        : width_(width), session_(session), drawings_(drawings) {}

    void say(std::string_view line) override { ::say(line); }
    void note(std::string_view line) override {
        if (session_) {
            ::say(line);
        } else if (drawings_) {
            drawn(line, "");
        }
    }
    void draw(const Frame& frame) override {
        if (frame.step != 0 && frame.steps == 0) {
            drawn(frame.operation, joined(": passo ", decimal(frame.step)));
        } else if (frame.step != 0) {
            drawn(frame.operation,
                  joined(": passo ", decimal(frame.step), " de ", decimal(frame.steps)));
        }
        if (frame.step != 0) {
            ::say(":   ", frame.code, frame.outcome);
        }
        print_lines(::draw(frame.scene, width_));
    }

private:
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
    bool session_;
    bool drawings_;
};

// While it lives, `list` tells no observer its steps: what the program
// reads of it besides the operation it shows is not part of that.
class Unobserved {
public:
    explicit Unobserved(ListaEnc& list) : list_(list), observer_(list.observer()) {
        list.observe(nullptr);
    }
    Unobserved(const Unobserved&) = delete;
    Unobserved& operator=(const Unobserved&) = delete;
    ~Unobserved() { list_.observe(observer_); }

private:
    ListaEnc& list_;
    Observer* observer_;
};

// Keeps a scene of the list after each step of the operations it is told
// of: the cursors as labels, the elements made, unlinked or being released
// apart, and the link that the step changed.
class Stepper final : public Observer {
public:
    struct Shot {
        Scene scene;
        std::string code;
        std::string_view outcome;
    };

    void step(const ListaEnc& list, const Step& step) override {
        learn_header(step);
        switch (step.kind) {
        case Step::Kind::call:
            start(list);
            return;
        case Step::Kind::done:
        case Step::Kind::test:
        case Step::Kind::unchanged:
        case Step::Kind::output:
        case Step::Kind::enter:
        case Step::Kind::leave:
        case Step::Kind::declare:
            return;
        case Step::Kind::visit:
            point(step.name, step.element);
            break;
        case Step::Kind::compare:
            point(step.name, step.element);
            break;
        case Step::Kind::make:
            apart_.push_back({step.element, step.name});
            break;
        case Step::Kind::link:
            // The header node made is apart until head points to it.
            if (step.element == nullptr) {
                std::erase_if(apart_, [&step](const Apart& a) { return a.element == step.after; });
            }
            if (step.before != nullptr && step.before != header_) {
                let_go_.push_back(step.before);
            }
            break;
        case Step::Kind::unlink:
        case Step::Kind::release: {
            forget(step.element);
            apart_.push_back(stood(
                step.element, step.kind == Step::Kind::unlink ? texts::removed : texts::released));
            break;
        }
        }
        step_shot(list, step);
    }

    // The command whose operation comes next, and where its steps are shown.
    void command(Presentation& show, std::string_view operation) {
        show_ = &show;
        operation_ = operation;
        shots_.clear();
        held_ = 0;
        shown_ = 0;
    }
    // Shows the steps kept, numbered, and then `last`, the drawing after
    // the operation, as its last step.
    void finish(const Scene& last) {
        std::size_t const count = shown_ + shots_.size() + 1;
        for (const Shot& shot : shots_) {
            show_->draw({shot.scene, operation_, ++shown_, count, shot.code, shot.outcome});
        }
        show_->draw({last, operation_, count, count, texts::step_done});
        shots_.clear();
        held_ = 0;
        shown_ = 0;
    }

private:
    struct Cursor {
        std::string_view name;
        const node* element;
    };

    // The header node is the one made as "cabeca", the one whose `next` is
    // head->next, or the one a cursor takes from head.
    void learn_header(const Step& step) {
        std::string_view const name = step.name;
        std::string_view const code = step.code;
        if ((step.kind == Step::Kind::make && name == "cabeca") ||
            (step.kind == Step::Kind::link && name.starts_with("head->next")) ||
            (step.kind == Step::Kind::visit && code.ends_with("= head"))) {
            header_ = step.element;
        }
    }

    void step_shot(const ListaEnc& list, const Step& step) {
        Changed changed;
        if (step.kind == Step::Kind::link) {
            changed.which = step.element == nullptr   ? Scene::Link::head
                            : step.element == header_ ? Scene::Link::header_next
                                                      : Scene::Link::element_next;
            changed.element = step.element;
        }
        // What the walk from the first element meets; the elements that it
        // does not meet but a link let go of are still in memory, as are the
        // ones they lead to, until released: each is drawn apart, with its
        // cursors, above the gap it left.
        std::unordered_set<const node*> walked;
        const node* const first = list.begin() == list.end() ? nullptr : &*list.begin();
        for (const node* at = first; at != nullptr && !released(at) && walked.insert(at).second;
             at = at->next) {
        }
        std::vector<const node*> off;
        std::unordered_set<const node*> met;
        auto const follow = [&](const node* at) {
            for (; at != nullptr && at != header_ && !walked.contains(at) && !released(at) &&
                   met.insert(at).second;
                 at = at->next) {
                off.push_back(at);
            }
        };
        for (const node* root : let_go_) {
            follow(root);
        }
        for (const Cursor& cursor : cursors_) {
            follow(cursor.element);
        }
        std::vector<Mark> marks;
        std::vector<Apart> apart;
        for (const node* element : off) {
            apart.push_back(stood(element, ""));
            for (const Cursor& cursor : cursors_) {
                if (cursor.element == element) {
                    apart.push_back(stood(element, cursor.name));
                }
            }
        }
        apart.insert(apart.end(), apart_.begin(), apart_.end());
        for (const Cursor& cursor : cursors_) {
            if (!met.contains(cursor.element)) {
                marks.push_back({cursor.element, cursor.name});
            }
        }
        Shot& shot = shots_.emplace_back();
        shot.scene = capture(list, {marks, apart, released_, changed, header_});
        if (first != nullptr) {
            firsts_.insert(first);
        }
        shot.code = step.code;
        if (step.kind == Step::Kind::compare) {
            shot.outcome = step.matched ? texts::matched : texts::not_matched;
        }
        // The steps are kept until the operation ends, so that each can say
        // how many there are; an operation on a long list, whose scenes
        // would fill memory, shows them as they come, without the count.
        held_ += shot.scene.elements.size() + 1;
        if (held_ > most_held && show_ != nullptr) {
            for (const Shot& kept : shots_) {
                show_->draw({kept.scene, operation_, ++shown_, 0, kept.code, kept.outcome});
            }
            shots_.clear();
            held_ = 0;
        }
        if (step.kind == Step::Kind::release) {
            // What the released element led to is reached through its next.
            std::replace(let_go_.begin(), let_go_.end(), step.element,
                         static_cast<const node*>(step.element->next));
            apart_.pop_back();
            released_.push_back(step.element);
        }
    }

    void start(const ListaEnc& list) {
        cursors_.clear();
        apart_.clear();
        released_.clear();
        firsts_.clear();
        let_go_.clear();
        if (list.begin() != list.end()) {
            firsts_.insert(&*list.begin());
        }
    }
    bool released(const node* element) const {
        return std::find(released_.begin(), released_.end(), element) != released_.end();
    }
    // An element out of the circle, drawn above the gap it left: before the
    // element its `next` points to, at the start of the circle if it was
    // ever the first element during the operation.
    Apart stood(const node* element, std::string_view label) const {
        bool const alone = element->next == element;
        return {element, label, alone ? nullptr : element->next, firsts_.contains(element)};
    }
    void point(std::string_view name, const node* element) {
        auto const same = std::find_if(cursors_.begin(), cursors_.end(),
                                       [name](const Cursor& c) { return c.name == name; });
        if (element == nullptr) {
            if (same != cursors_.end()) {
                cursors_.erase(same);
            }
        } else if (same != cursors_.end()) {
            same->element = element;
        } else {
            cursors_.push_back({name, element});
        }
    }
    // The element is no cursor's any more, nor made: it goes apart.
    void forget(const node* element) {
        std::erase_if(cursors_, [element](const Cursor& c) { return c.element == element; });
        std::erase_if(apart_, [element](const Apart& a) { return a.element == element; });
    }

    std::vector<Cursor> cursors_;
    std::vector<Apart> apart_;
    std::vector<const node*> released_;
    std::unordered_set<const node*> firsts_; // the elements that were first
    std::vector<const node*> let_go_;        // what links pointed to before they changed
    const node* header_ = nullptr;
    std::vector<Shot> shots_;
    static constexpr std::size_t most_held = 100'000; // elements in the scenes kept
    std::size_t held_ = 0;
    std::size_t shown_ = 0; // steps shown before the operation ended
    Presentation* show_ = nullptr;
    std::string_view operation_;
};

// What a command is given.
struct Arguments {
    int key = 0;
    std::string text;
};

// The list that the commands work on, and what a command leaves for its
// drawing: the element it unlinked, as it was, and where it stood.
class Session {
public:
    Session(Presentation& presentation, bool drawings, bool stepped)
        : show(presentation), drawings_(drawings || stepped), stepped_(stepped) {
        if (stepped) {
            list.observe(&stepper_);
        }
    }

    // Keeps what the first element in circle order that `matches` finds is
    // now, and where it stands, for the drawing after it is unlinked: a copy
    // (the demo build may release the element), with as much of its text as
    // a drawing shows.
    // Answers whether it found one.
    template <typename Match>
    bool before_removal(Match matches) {
        kept_.reset();
        Unobserved const quiet(list);
        auto const found = std::find_if(list.begin(), list.end(), matches);
        if (found == list.end() || !drawings_) {
            return found != list.end();
        }
        Kept& kept = kept_.emplace(Kept{});
        kept.copy.key = found->key;
        kept.copy.info = prefix(found->info, 512);
        kept.was_first = found == list.begin();
        bool const alone = found->next == &*found;
        kept.copy.next = alone ? &kept.copy : found->next;
        kept.before = alone ? nullptr : found->next;
        return true;
    }
    // The element that before_removal() found was unlinked, and
    // `handed_over` says whether the list handed it over or released it.
    void removed(bool handed_over) {
        label_ = handed_over ? texts::removed : texts::released;
        unlinked_ = kept_.has_value();
    }
    // The command given, as the steps of its operation name it.
    void command(std::string operation) {
        operation_ = std::move(operation);
        stepper_.command(show, operation_);
        show.begin(operation_);
    }
    // The drawing after a command, with what it unlinked; with steps, the
    // drawing after each step of its operation before it, numbered, and it
    // the last of them.
    void drawn() {
        if (drawings_) {
            Unobserved const quiet(list);
            Apart apart{nullptr, label_};
            if (unlinked_) {
                apart = {&kept_->copy, label_, kept_->before, kept_->was_first};
            }
            Scene const scene = capture(list, {{}, {&apart, unlinked_ ? 1u : 0u}});
            if (stepped_) {
                stepper_.finish(scene);
            } else {
                show.draw({scene});
            }
        }
        unlinked_ = false;
        kept_.reset();
    }

    ListaEnc list;
    Presentation& show;
    bool over = false; // sair was given

private:
    struct Kept {
        node copy;
        const node* before = nullptr;
        bool was_first = false;
    };
    bool drawings_;
    bool stepped_;
    Stepper stepper_;
    std::string operation_;
    std::optional<Kept> kept_;
    bool unlinked_ = false;
    std::string_view label_;
};

// What a command takes after its name.
enum class Takes { nothing, key, key_and_text, text };
// What fills the "{}" of its narration.
enum class Says { nothing, key, text, size };

struct Command {
    std::string_view name;
    Takes takes;
    std::string_view usage; // its line in ajuda
    // The line that tells what the command does, said before it does it;
    // none where empty.
    std::string_view narration;
    Says says;
    void (*act)(Session&, const Arguments&);
    bool drawn = true; // a drawing follows it with --desenho
};

void remove_key(Session& s, const Arguments& a) {
    bool const found = s.before_removal([&a](const node& e) { return e.key == a.key; });
    std::unique_ptr<node> const removed = s.list.remover(a.key);
    if (found) {
        s.removed(removed != nullptr);
    } else {
        s.show.note(filled(texts::key_absent, decimal(a.key)));
    }
}

void remove_text(Session& s, const Arguments& a) {
    s.before_removal([&a](const node& e) { return e.info == a.text; });
    if (std::unique_ptr<node> const removed = s.list.removerinfo(a.text)) {
        s.removed(true);
    } else {
        s.show.note(filled(texts::text_absent, quoted(a.text)));
    }
}

void pop(Session& s, const Arguments&) {
    s.before_removal([](const node&) { return true; });
    std::unique_ptr<node> popped;
    try {
        popped = s.list.pop();
    } catch (const ListUnderflowException&) {
        s.drawn();
        return; // it said that the list is empty
    }
    s.removed(true);
    s.drawn();
    s.show.say(filled(texts::popped_key, decimal(popped->key)));
}

void print_first(Session& s, const Arguments&) {
    try {
        s.list.PrintFirst();
    } catch (const ListUnderflowException&) { // it said that the list is empty
    }
}

void list_commands(Session&, const Arguments&);

constexpr Command commands[] = {
    {"inserir", Takes::key_and_text,
     "  inserir K [TEXTO]  insere a chave K com o texto (um espaco, se faltar)",
     ">>inserindo {}...", Says::key,
     [](Session& s, const Arguments& a) { s.list.inserir(a.key, a.text); }},
    {"remover", Takes::key, "  remover K          remove o primeiro elemento de chave K",
     ">>removendo {}...", Says::key, remove_key},
    {"removerinfo", Takes::text, "  removerinfo TEXTO  remove o primeiro elemento com o texto",
     ">>removendo {}...", Says::text, remove_text},
    {"pop", Takes::nothing, "  pop                remove o primeiro elemento da lista",
     ">>Remove o primeiro elemento da lista", Says::nothing, pop, false},
    {"inverter", Takes::nothing, "  inverter           inverte a ordem dos elementos (cada next)",
     ">>invertendo a lista...", Says::nothing,
     [](Session& s, const Arguments&) { s.list.reverse(); }},
    {"ordenar", Takes::nothing, "  ordenar            ordena os elementos pela chave",
     ">>ordenando a lista pelas chaves...", Says::nothing,
     [](Session& s, const Arguments&) { s.list.sort(); }},
    {"limpar", Takes::nothing, "  limpar             libera todos os elementos; o no cabeca fica",
     ">>limpando a lista...", Says::nothing, [](Session& s, const Arguments&) { s.list.limpar(); }},
    {"tamanho", Takes::nothing, "  tamanho            conta os elementos",
     ">>Tamanho da lista e' :{}", Says::size, [](Session&, const Arguments&) {}},
    {"busca", Takes::key, "  busca K            diz se algum elemento tem a chave K",
     ">>A chave {} esta na lista?", Says::key,
     [](Session& s, const Arguments& a) {
         s.show.say(s.list.Busca(a.key) ? texts::yes : texts::no);
     }},
    {"buscainfo", Takes::text, "  buscainfo TEXTO    diz se algum elemento tem o texto",
     ">>O texto {} esta na lista?", Says::text,
     [](Session& s, const Arguments& a) {
         s.show.say(s.list.BuscaInfo(a.text) ? texts::yes : texts::no);
     }},
    {"primeiro", Takes::nothing, "  primeiro           mostra a chave do primeiro elemento",
     ">>Qual o primeiro no da lista?", Says::nothing, print_first},
    {"exibir", Takes::nothing, "  exibir             mostra as chaves em ordem, do primeiro",
     ">>Exibicao da lista", Says::nothing,
     [](Session& s, const Arguments&) { s.list.ExibirLista(); }},
    {"exibirinfo", Takes::nothing, "  exibirinfo         mostra os textos em ordem, do primeiro",
     ">>Exibicao dos textos da lista", Says::nothing,
     [](Session& s, const Arguments&) { s.list.ExibirInfo(); }},
    {"desenhar", Takes::nothing, "  desenhar           desenha a lista, o no cabeca e os next",
     ">>Desenho da lista", Says::nothing,
     [](Session& s, const Arguments&) {
         Scene const scene = capture(s.list);
         s.show.draw({scene});
     },
     false},
    {"ajuda", Takes::nothing, "  ajuda              mostra estes comandos",
     ">>Comandos:", Says::nothing, list_commands, false},
    {"sair", Takes::nothing, "  sair               termina a sessao", "", Says::nothing,
     [](Session& s, const Arguments&) { s.over = true; }, false},
};

constexpr auto command_names = [] {
    std::array<std::string_view, std::size(commands)> names{};
    for (std::size_t i = 0; i < names.size(); ++i) {
        names[i] = commands[i].name;
    }
    return names;
}();

void list_commands(Session& s, const Arguments&) {
    for (const Command& command : commands) {
        s.show.say(command.usage);
    }
    s.show.say(texts::quoting);
}

// What is wrong with a line, and the part of it that is wrong, if any.
struct Fault {
    std::string_view reason;
    std::optional<std::string_view> part = std::nullopt;
};

// Reads a key: the whole word, an optional sign and decimal digits.
std::optional<Fault> read_key(std::string_view word, int& key) {
    if (word.empty()) {
        return Fault{texts::no_key};
    }
    std::string_view digits = word;
    if (digits.starts_with('+') && !digits.starts_with("+-")) {
        digits.remove_prefix(1); // from_chars takes a minus sign only
    }
    auto const [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), key);
    if (end != digits.data() + digits.size() || error == std::errc::invalid_argument) {
        return Fault{texts::bad_key, word};
    }
    if (error == std::errc::result_out_of_range) {
        return Fault{texts::key_out_of_range, word};
    }
    return std::nullopt;
}

// A text as a line gives it: between double quotes, what is between them.
std::string_view unquoted(std::string_view text) {
    if (text.size() >= 2 && text.starts_with('"') && text.ends_with('"')) {
        text.remove_prefix(1);
        text.remove_suffix(1);
    }
    return text;
}

// Runs a line of commands: its command, said with `narration` when that is
// given and with the command's own words otherwise. A blank line does
// nothing. Answers what is wrong with the line, which then does nothing.
std::optional<Fault> perform(Session& session, std::string_view line,
                             std::string_view narration = {}) {
    std::string_view const name = take_word(line);
    if (name.empty()) {
        return std::nullopt;
    }
    auto const command = std::find_if(std::begin(commands), std::end(commands),
                                      [name](const Command& c) { return c.name == name; });
    if (command == std::end(commands)) {
        return Fault{texts::unknown_command, name};
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
            return Fault{texts::no_text};
        }
        arguments.text = text.empty() ? default_text : unquoted(text);
        line = {};
    }
    if (std::string_view const extra = trimmed(line); !extra.empty()) {
        return Fault{texts::extra_argument, extra};
    }
    switch (command->takes) {
    case Takes::nothing:
        session.command(std::string(name));
        break;
    case Takes::key:
    case Takes::key_and_text:
        session.command(joined(name, " ", decimal(arguments.key)));
        break;
    case Takes::text:
        session.command(joined(name, " ", quoted(arguments.text)));
        break;
    }
    if (narration.empty() && !command->narration.empty()) {
        switch (command->says) {
        case Says::nothing:
            session.show.say(command->narration);
            break;
        case Says::key:
            session.show.say(filled(command->narration, decimal(arguments.key)));
            break;
        case Says::text:
            session.show.say(filled(command->narration, quoted(arguments.text)));
            break;
        case Says::size:
            session.show.say(filled(command->narration, decimal(session.list.tamanho())));
            break;
        }
    } else if (!narration.empty()) {
        session.show.say(narration);
    }
    command->act(session, arguments);
    if (command->drawn) {
        session.drawn();
    }
    session.show.end();
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
    {"exibir", texts::show_again},
    {"remover 10"},
    {"exibir", texts::show_again},
    {"primeiro"},
    {"pop"},
    {"exibir", texts::show_again_after_a_blank_line},
};

// A session: the commands of standard input, up to its end or sair. Answers
// 0 when every line was understood, 1 otherwise.
// On a page, the lines are read as from a file, without a prompt.
int converse(Session& session, bool on_page) {
    bool const terminal = !on_page && input_is_terminal();
    if (terminal) {
        session.show.say(texts::greeting);
    }
    std::unique_ptr<LineReader> const reader = line_reader(terminal, texts::prompt, command_names);
    bool understood = true;
    std::string line;
    for (std::size_t number = 1; !session.over && !session.show.full(); ++number) {
        if (!reader->read(line)) {
            if (terminal) {
                say(""); // ends the prompt's line
            }
            break;
        }
        if (auto const fault = perform(session, line)) {
            understood = false;
            std::string const where = decimal(number); // short: nothing to allocate
            if (fault->part) {
                complain(listdemo.name, texts::at_line, where, ": ", fault->reason, ": ",
                         Quoted{prefix(*fault->part, echoed_bytes)},
                         fault->part->size() > echoed_bytes ? "..." : "");
            } else {
                complain(listdemo.name, texts::at_line, where, ": ", fault->reason);
            }
        }
    }
    return understood ? 0 : 1;
}

// Runs the script, or the session, and answers the exit status.
int narrate(Session& session, bool interactive_session, bool on_page) {
    if (interactive_session) {
        return converse(session, on_page);
    }
    for (const Step& step : script) {
        perform(session, step.command, step.narration);
    }
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
        Session state(presentation, true, stepped);
        int const status = narrate(state, session, true);
        presentation.finish();
        if (presentation.full()) {
            complain(filled(filled(texts::page_full, listdemo.name),
                            decimal(PagePresentation::most_steps)));
        }
        return status;
    }
    std::size_t const width = drawing_width((modes & width_given) != 0 ? &width_argument : nullptr);
    if (width == 0) {
        complain(filled(filled(texts::bad_width, listdemo.name), quoted(width_argument)));
        return 2;
    }
    TextPresentation presentation(width, session, (modes & drawings) != 0 || stepped);
    Session state(presentation, (modes & drawings) != 0, stepped);
    return narrate(state, session, false);
}

} // namespace

int main(int argc, char** argv) { return run(listdemo, argc, argv, narrate); }

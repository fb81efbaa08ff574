// SPDX-License-Identifier: MIT
// listdemo's interpreter: a table from command names to operations on one
// list, and the fixed script as a list of such commands. What it says and
// draws goes to one Presentation, with the list's own lines, caught from
// std::cout while a command runs, among them in the order they come.
#include "interpreter.h"

#include "columns.h"
#include "drawing.h"
#include "format.h"
#include "listaenccircular.h"
#include "narration.h"
#include "stepper.h"
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
#include <utility>
#include <vector>

namespace {

// Every text that the interpreter says, but the commands' own (in the table of
// commands). "{}" stands for what a text is said with.
namespace texts {
constexpr std::string_view show_again_after_a_blank_line = "\n>>Nova exibicao da lista";
constexpr std::string_view show_again = show_again_after_a_blank_line.substr(1);
constexpr std::string_view popped_key = ">>a chave removida foi: {}";
constexpr std::string_view key_absent = "a chave {} não está na lista";
constexpr std::string_view text_absent = "o texto {} não está na lista";
constexpr std::string_view yes = "sim";
constexpr std::string_view no = "não";
constexpr std::string_view quoting =
    "  Um TEXTO entre aspas duplas é o que está entre elas: \" \" é um espaço.";
constexpr std::string_view at_line = "listdemo: linha "; // before the number
constexpr std::string_view no_key = "chave ausente";
constexpr std::string_view bad_key = "chave inválida";
constexpr std::string_view key_out_of_range = "chave fora do intervalo";
constexpr std::string_view no_text = "texto ausente";
constexpr std::string_view bad_count = "número de posições inválido";
constexpr std::string_view count_out_of_range = "número de posições fora do intervalo";
constexpr std::string_view one_place = "1 posição";
constexpr std::string_view places = "{} posições";
constexpr std::string_view unknown_command = "comando desconhecido";
constexpr std::string_view extra_argument = "argumento a mais";
constexpr std::string_view step_done = "(fim da operação)";
} // namespace texts

// The program's code that takes what a removal hands over and deletes it, as
// delete_handed() runs it, a function of its own; the operation that it
// calls ends its second line.
const std::array<std::string_view, 6> program_code = {"void listdemo_remove(ListaEnc& lista) {",
                                                      "    std::unique_ptr<node> removido = lista.",
                                                      "    if (removido != nullptr) {",
                                                      "        delete removido.release();",
                                                      "    }",
                                                      "}"};

constexpr std::string_view blanks = " \t\r";
constexpr std::string_view default_text = " ";
// As much of a text as a narration echoes.
constexpr std::size_t echoed_bytes = 64;

// A text as the narrations show it: quoted, escaped as messages show a
// word, and only its beginning when it is long.
std::string quoted(std::string_view text) {
    std::string_view const shown = prefix(text, echoed_bytes);
    std::string out = quote(shown);
    if (shown.size() < text.size()) {
        out += "...";
    }
    return out;
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

// Passes on what a command says and draws, each time after the lines that
// the list printed on std::cout since the last, which it catches from the
// command's begin() to its end(), as lines said, in the order they came.
class Relay final : public Presentation {
public:
    explicit Relay(Presentation& to) : to_(to) {}
    Relay(const Relay&) = delete;
    Relay& operator=(const Relay&) = delete;
    ~Relay() { stop(); }

    void say(std::string_view line) override {
        Paused const paused(*this);
        to_.say(line);
    }
    void note(std::string_view line) override {
        Paused const paused(*this);
        to_.note(line);
    }
    void draw(const Frame& frame) override {
        Paused const paused(*this);
        to_.draw(frame);
    }
    void begin(std::string_view command) override {
        to_.begin(command);
        start();
    }
    void end() override {
        stop();
        pass(true);
        to_.end();
    }
    bool full() const override { return to_.full(); }

    // Takes back `text`, which the list has just printed, from what is
    // caught, so that it can be said later. Answers whether it was there.
    bool take_back(std::string_view text) {
        if (output_ == nullptr) {
            return false;
        }
        std::string caught = std::move(caught_).str();
        bool const there = std::string_view(caught).ends_with(text);
        if (there) {
            caught.resize(caught.size() - text.size());
        }
        caught_.str(std::move(caught));
        return there;
    }

    // Gives std::cout its own buffer back, if it is caught.
    void stop() noexcept {
        if (output_ != nullptr) {
            std::cout.rdbuf(output_);
            output_ = nullptr;
        }
    }

private:
    // While it lives, std::cout is not caught, and what was is said.
    class Paused {
    public:
        explicit Paused(Relay& relay) : relay_(relay), caught_(relay.output_ != nullptr) {
            relay.stop();
            relay.pass(false);
        }
        Paused(const Paused&) = delete;
        Paused& operator=(const Paused&) = delete;
        ~Paused() {
            if (caught_) {
                relay_.output_ = std::cout.rdbuf(&relay_.caught_);
            }
        }

    private:
        Relay& relay_;
        bool caught_;
    };

    void start() {
        if (output_ == nullptr) {
            std::cout.flush();
            output_ = std::cout.rdbuf(&caught_);
        }
    }
    // Says each whole line caught and, with `all`, the rest of one too.
    void pass(bool all) {
        std::string const text = std::move(caught_).str();
        caught_.str({});
        std::string_view rest = text;
        for (std::size_t end = rest.find('\n'); end != std::string_view::npos;
             end = rest.find('\n')) {
            to_.say(rest.substr(0, end));
            rest.remove_prefix(end + 1);
        }
        if (all && !rest.empty()) {
            to_.say(rest);
        } else if (!rest.empty()) {
            caught_.sputn(rest.data(), static_cast<std::streamsize>(rest.size()));
        }
    }

    Presentation& to_;
    std::stringbuf caught_{std::ios::out | std::ios::ate}; // written at its end
    std::streambuf* output_ = nullptr;                     // std::cout's own, while it is caught
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

// What a command is given.
struct Arguments {
    int key = 0;
    ListaEnc::size_type places = 1; // how far girar turns
    std::string text;
};

// The list that the commands work on, and what a command leaves for its
// drawing: the element it unlinked, as it was, and where it stood.
class Session : Stepper::Sink {
public:
    Session(Presentation& presentation, bool drawings, bool stepped)
        : relay(presentation), drawings_(drawings || stepped), stepped_(stepped) {
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
        label_ = handed_over ? Stepper::removed : Stepper::released;
        unlinked_ = kept_.has_value();
    }
    // The program's own end of a removal that handed `removido` over: it
    // holds it, tests it and deletes it, each a step after the operation's
    // (with steps shown), in the program's code; `call` is how it called
    // the operation ("remover(10)").
    void delete_handed(std::unique_ptr<node>& removido, std::string_view call) {
        if (stepped_ && removido != nullptr) {
            program_listing_.assign(program_code.begin(), program_code.end());
            program_listing_[1].append(call).append(";");
            std::string const declared(
                trimmed(program_listing_[1]).substr(0, trimmed(program_listing_[1]).size() - 1));
            Step step{};
            step.operation = operation_.c_str();
            step.function = "listdemo_remove";
            step.name = "removido";
            step.local = Step::Local::removido;
            step.element = removido.get();
            step.kind = Step::Kind::declare;
            step.code = declared.c_str();
            stepper_.program_step(list, step, program_listing_, 2);
            step.kind = Step::Kind::test;
            step.code = "removido != nullptr";
            step.matched = true;
            stepper_.program_step(list, step, program_listing_, 3);
            step.kind = Step::Kind::release;
            step.code = "delete removido.release()";
            step.matched = false;
            stepper_.program_step(list, step, program_listing_, 4);
        }
        if (removido != nullptr) {
            delete removido.release();
            label_ = Stepper::released;
        }
    }
    // What the operation answered, said after the step that found it.
    void answer(std::string_view line) {
        if (!stepped_ || !stepper_.after_last(line, false)) {
            show.say(line);
        }
    }
    void answer_note(std::string_view line) {
        if (!stepped_ || !stepper_.after_last(line, true)) {
            show.note(line);
        }
    }
    // The command given, as the steps of its operation name it.
    void command(std::string operation) {
        operation_ = std::move(operation);
        stepper_.command();
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
                apart = {&kept_->copy, label_, kept_->before, kept_->was_first, true};
            }
            Scene const scene = capture(list, {{}, {&apart, unlinked_ ? 1u : 0u}});
            if (stepped_) {
                std::size_t const last = stepper_.finish();
                show.draw({scene, operation_, last, last, texts::step_done});
            } else {
                show.draw({scene});
            }
        }
        unlinked_ = false;
        kept_.reset();
    }

    // What the commands say and draw goes through the relay, with what the
    // list prints meanwhile.
    Relay relay;
    Presentation& show = relay;
    ListaEnc list;
    bool over = false; // sair was given

private:
    // The list printed `text` during a step: it is said after the step.
    bool printed(std::string_view text) override { return relay.take_back(text); }
    void shown(const Stepper::Shot& shot, std::size_t number, std::size_t count) override {
        show.draw({shot.scene, operation_, number, count, shot.code, shot.outcome, shot.listing,
                   shot.line, shot.function, shot.caller});
        for (const auto& [line, note] : shot.printed) {
            note ? show.note(line) : show.say(line);
        }
    }

    struct Kept {
        node copy;
        const node* before = nullptr;
        bool was_first = false;
    };
    bool drawings_;
    bool stepped_;
    Stepper stepper_{*this};
    std::string operation_;
    std::optional<Kept> kept_;
    std::vector<std::string> program_listing_; // of the steps of the program's own
    bool unlinked_ = false;
    std::string_view label_;
};

// What a command takes after its name.
enum class Takes { nothing, key, key_and_text, text, places };
// What fills the "{}" of its narration.
enum class Says { nothing, key, text, size, places };

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
    std::unique_ptr<node> removido = s.list.remover(a.key);
    if (found) {
        s.removed(removido != nullptr);
        s.delete_handed(removido, joined("remover(", decimal(a.key), ")"));
    } else {
        s.answer_note(filled(texts::key_absent, decimal(a.key)));
    }
}

void remove_text(Session& s, const Arguments& a) {
    s.before_removal([&a](const node& e) { return e.info == a.text; });
    if (std::unique_ptr<node> removido = s.list.removerinfo(a.text)) {
        s.removed(true);
        s.delete_handed(removido, joined("removerinfo(", quote(prefix(a.text, 32)), ")"));
    } else {
        s.answer_note(filled(texts::text_absent, quoted(a.text)));
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
     "  inserir K [TEXTO]  insere a chave K com o texto (um espaço, se faltar)",
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
    {"girar", Takes::places,
     "  girar [K]          o primeiro vira o último, K vezes (1, se faltar)",
     ">>girando a lista {}...", Says::places,
     [](Session& s, const Arguments& a) { s.list.rotate(a.places); }},
    {"limpar", Takes::nothing, "  limpar             libera todos os elementos; o nó cabeça fica",
     ">>limpando a lista...", Says::nothing, [](Session& s, const Arguments&) { s.list.limpar(); }},
    {"tamanho", Takes::nothing, "  tamanho            conta os elementos",
     ">>Tamanho da lista e' :{}", Says::size, [](Session&, const Arguments&) {}},
    {"busca", Takes::key, "  busca K            diz se algum elemento tem a chave K",
     ">>A chave {} está na lista?", Says::key,
     [](Session& s, const Arguments& a) {
         s.answer(s.list.Busca(a.key) ? texts::yes : texts::no);
     }},
    {"buscainfo", Takes::text, "  buscainfo TEXTO    diz se algum elemento tem o texto",
     ">>O texto {} está na lista?", Says::text,
     [](Session& s, const Arguments& a) {
         s.answer(s.list.BuscaInfo(a.text) ? texts::yes : texts::no);
     }},
    {"primeiro", Takes::nothing, "  primeiro           mostra a chave do primeiro elemento",
     ">>Qual o primeiro no da lista?", Says::nothing, print_first},
    {"exibir", Takes::nothing, "  exibir             mostra as chaves em ordem, do primeiro",
     ">>Exibicao da lista", Says::nothing,
     [](Session& s, const Arguments&) { s.list.ExibirLista(); }},
    {"exibirinfo", Takes::nothing, "  exibirinfo         mostra os textos em ordem, do primeiro",
     ">>Exibição dos textos da lista", Says::nothing,
     [](Session& s, const Arguments&) { s.list.ExibirInfo(); }},
    {"desenhar", Takes::nothing, "  desenhar           desenha a lista, o nó cabeça e os next",
     ">>Desenho da lista", Says::nothing,
     [](Session& s, const Arguments&) {
         Scene const scene = capture(s.list);
         s.show.draw({scene});
     },
     false},
    {"ajuda", Takes::nothing, "  ajuda              mostra estes comandos",
     ">>Comandos:", Says::nothing, list_commands, false},
    {"sair", Takes::nothing, "  sair               termina a sessão", "", Says::nothing,
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

// Reads how many places girar turns: the whole word, decimal digits only;
// none is one place.
std::optional<Fault> read_places(std::string_view word, ListaEnc::size_type& places) {
    if (word.empty()) {
        return std::nullopt;
    }
    auto const [end, error] = std::from_chars(word.data(), word.data() + word.size(), places);
    if (end != word.data() + word.size() || error == std::errc::invalid_argument) {
        return Fault{texts::bad_count, word};
    }
    if (error == std::errc::result_out_of_range) {
        return Fault{texts::count_out_of_range, word};
    }
    return std::nullopt;
}

// How girar's narration names a number of places.
std::string said_places(ListaEnc::size_type places) {
    return places == 1 ? std::string(texts::one_place) : filled(texts::places, decimal(places));
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
    if (command->takes == Takes::places) {
        if (auto const fault = read_places(take_word(line), arguments.places)) {
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
    case Takes::places:
        session.command(joined(name, " ", decimal(arguments.places)));
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
        case Says::places:
            session.show.say(filled(command->narration, said_places(arguments.places)));
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
struct ScriptLine {
    std::string_view command;
    std::string_view narration = {};
};
constexpr ScriptLine script[] = {
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

} // namespace

class Interpreter::Session final : public ::Session {
public:
    using ::Session::Session;
};

Interpreter::Interpreter(Presentation& show, Options options)
    : session_(std::make_unique<Session>(show, options.drawings, options.steps)) {}

Interpreter::~Interpreter() = default;

namespace {

// While it lives, nothing; then std::cout has its own buffer back, whatever
// a command threw.
class Given {
public:
    explicit Given(Relay& relay) : relay_(relay) {}
    Given(const Given&) = delete;
    Given& operator=(const Given&) = delete;
    ~Given() { relay_.stop(); }

private:
    Relay& relay_;
};

} // namespace

std::string_view Interpreter::line(std::string_view line) {
    ++number_;
    Given const given{session_->relay};
    std::optional<Fault> const fault = perform(*session_, line);
    if (!fault) {
        return {};
    }
    // Formatted where the last one was: a session of wrong lines allocates
    // nothing once the longest is said.
    error_.assign(texts::at_line);
    char digits[24];
    error_.append(digits, std::to_chars(digits, digits + sizeof digits, number_).ptr);
    error_.append(": ").append(fault->reason);
    if (fault->part) {
        error_.append(": ").append(quoted(*fault->part));
    }
    return error_;
}

void Interpreter::script() {
    Given const given{session_->relay};
    for (const ScriptLine& step : ::script) {
        perform(*session_, step.command, step.narration);
    }
}

bool Interpreter::over() const noexcept { return session_->over; }

std::span<const std::string_view> Interpreter::command_names() noexcept { return ::command_names; }

// SPDX-License-Identifier: MIT
// listdemo's interpreter, as a library with no input or output of its own:
// lines in (the commands a learner types, or the fixed script), and out, in
// the order they happen, through one Presentation: the lines of the
// transcript (the narrations, the answers, and the list's own lines, caught
// from std::cout while a command runs), and the drawings after each command
// or after each step of its operation. What standard error gets (a line that
// is not a command) comes back from line() apart, for the caller to write.
//
//     struct Lines final : Presentation { ... };   // see narration.h
//     Lines shown;
//     Interpreter session(shown, {.steps = true});
//     for (std::string_view typed : {"inserir 10 ana", "exibir", "xyz"}) {
//         if (std::string_view const error = session.line(typed); !error.empty()) {
//             ... // "listdemo: linha 3: comando desconhecido: 'xyz'"
//         }
//     }
//
// Terminal, pager, prompt and exit status are the caller's.
#ifndef LISTAENC_INTERPRETER_H
#define LISTAENC_INTERPRETER_H

#include <memory>
#include <span>
#include <string>
#include <string_view>

// Where what the interpreter says and draws goes (narration.h).
class Presentation;

class Interpreter {
public:
    struct Options {
        // A drawing of the list after each command that changes or shows it.
        bool drawings = false;
        // A drawing after each step of each operation, numbered, and the
        // drawing after the command as its last step (drawings implied).
        bool steps = false;
    };

    // Effects: an empty list. `show` must outlive the interpreter.
    Interpreter(Presentation& show, Options options);
    ~Interpreter();
    Interpreter(const Interpreter&) = delete;
    Interpreter& operator=(const Interpreter&) = delete;

    // Effects: runs `line`, the next line of a session (they are numbered
    //   from 1 as they are given): its command, with its narration, answer
    //   and drawings told to the Presentation between its begin() and end().
    //   A blank line does nothing. std::cout is caught while the command
    //   runs and given back before anything is told.
    // Returns: empty when the line was understood; otherwise the line, with
    //   no newline, that standard error gets ("listdemo: linha 3: comando
    //   desconhecido: 'xyz'"), valid until the next call, and the line did
    //   nothing.
    // Throws: what the Presentation throws (the list is left sound).
    std::string_view line(std::string_view line);

    // Effects: runs the fixed script of the demonstration, as line() would,
    //   with the script's own narrations where they say more.
    void script();

    // Returns: whether `sair` was given; a session reads no line after it.
    bool over() const noexcept;

    // The command names, for completing the first word of a line.
    static std::span<const std::string_view> command_names() noexcept;
    // What a terminal asks each line with, and says once before the first.
    static constexpr std::string_view prompt = "lista> ";
    static constexpr std::string_view greeting =
        "Digite um comando por linha (ajuda lista os comandos, sair termina).";

private:
    class Session;
    std::unique_ptr<Session> session_;
    std::size_t number_ = 0; // of the last line given
    std::string error_;      // what line() answered last
};

#endif

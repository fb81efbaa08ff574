// SPDX-License-Identifier: MIT
// The interpreter on its own: the transcript that it tells is the program's,
// line for line (against the program's golden sessions), the list's own
// lines among the narrations in the order they come, standard error's lines
// apart, and std::cout left as it was found, whatever happens.
#include "drawing.h"
#include "interpreter.h"
#include "narration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

// A file of the golden cases; empty where there is none.
std::string file(const std::string& name) {
    std::ifstream in(std::string(LISTAENC_LISTDEMO_CASES) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The lines of a text, each ended by LF, CRLF or a lone CR.
std::vector<std::string> lines_of(std::string_view text) {
    std::vector<std::string> out;
    while (!text.empty()) {
        std::size_t const end = text.find_first_of("\r\n");
        out.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + (text.substr(end, 2) == "\r\n" ? 2 : 1));
    }
    return out;
}

// What a session at a terminal would print, as text: every line said and
// noted, the drawings after commands in 80 columns, and for each step its
// number, count and code.
class Transcript final : public Presentation {
public:
    void say(std::string_view line) override {
        out.emplace_back(line);
        events.emplace_back(line);
    }
    void note(std::string_view line) override { say(line); }
    void draw(const Frame& frame) override {
        if (frame.step != 0) {
            events.push_back(std::to_string(frame.step) + " de " + std::to_string(frame.steps));
            steps.push_back(
                {std::string(frame.operation), frame.step, frame.steps, std::string(frame.code)});
            return;
        }
        for (std::string& line : ::draw(frame.scene, 80)) {
            out.push_back(std::move(line));
        }
    }
    void begin(std::string_view command) override { commands.emplace_back(command); }

    std::vector<std::string> out;
    struct Step {
        std::string operation;
        std::size_t number;
        std::size_t count;
        std::string code;
    };
    std::vector<Step> steps;
    std::vector<std::string> commands;
    std::vector<std::string> events; // lines said, and "k de n" for each step
};

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text.append(line).append("\n");
    }
    return text;
}

// Standard output's buffer while a test runs, to see that nothing reaches it.
class Watched : public testing::Test {
protected:
    void SetUp() override { saved_ = std::cout.rdbuf(&seen_); }
    void TearDown() override {
        EXPECT_EQ(std::cout.rdbuf(), &seen_) << "std::cout was not given back";
        std::cout.rdbuf(saved_);
        EXPECT_EQ(seen_.str(), "") << "the interpreter wrote to std::cout itself";
    }

private:
    std::stringbuf seen_;
    std::streambuf* saved_ = nullptr;
};

// A golden case of the program: its input a session, or none for the script.
struct Golden {
    const char* name;
    const char* input; // relative to the cases; null for the script
    bool drawings;
};

class GoldenSession : public Watched, public testing::WithParamInterface<Golden> {};

TEST_P(GoldenSession, TellsWhatTheProgramPrints) {
    Transcript shown;
    Interpreter session(shown, {.drawings = GetParam().drawings});
    std::string errors;
    if (GetParam().input == nullptr) {
        session.script();
    }
    std::string const input = GetParam().input == nullptr ? "" : file(GetParam().input);
    ASSERT_NE(input.empty(), GetParam().input != nullptr);
    for (const std::string& line : lines_of(input)) {
        if (session.over()) {
            break;
        }
        if (std::string_view const error = session.line(line); !error.empty()) {
            errors.append(error).append("\n");
        }
    }
    EXPECT_EQ(joined(shown.out), file(std::string(GetParam().name) + ".out"));
    EXPECT_EQ(errors, file(std::string(GetParam().name) + ".err"));
}

INSTANTIATE_TEST_SUITE_P(Interpreter, GoldenSession,
                         testing::Values(Golden{"session", "session.in", false},
                                         Golden{"example_session", "../../examples/sessao.txt",
                                                true},
                                         Golden{"drawing", nullptr, true}),
                         [](const auto& info) { return std::string(info.param.name); });

using InterpreterTest = Watched;

TEST_F(InterpreterTest, ListsOwnLinesComeWhereTheyArePrinted) {
    Transcript shown;
    Interpreter session(shown, {});
    for (std::string_view line : {"inserir 10", "inserir 20", "exibir", "pop", "pop", "pop"}) {
        EXPECT_EQ(session.line(line), "");
    }
    EXPECT_EQ(joined(shown.out), ">>inserindo 10...\n>>inserindo 20...\n>>Exibicao da lista\n"
                                 " 10 20 \n>>Remove o primeiro elemento da lista\n"
                                 ">>a chave removida foi: 10\n"
                                 ">>Remove o primeiro elemento da lista\n"
                                 ">>a chave removida foi: 20\n"
                                 ">>Remove o primeiro elemento da lista\nA lista esta vazia\n");
}

TEST_F(InterpreterTest, NumbersEveryLineAndSaysTheWrongOnesApart) {
    Transcript shown;
    Interpreter session(shown, {});
    struct Case {
        std::string line;
        std::string error;
    };
    std::string const long_word(70, 'x');
    Case const cases[] = {
        {"", ""},
        {"inserir 1", ""},
        {"xyz", "listdemo: linha 3: comando desconhecido: 'xyz'"},
        {"remover", "listdemo: linha 4: chave ausente"},
        {"busca 1 2", "listdemo: linha 5: argumento a mais: '2'"},
        {"inserir 99999999999", "listdemo: linha 6: chave fora do intervalo: '99999999999'"},
        {"busca \x1b[2J", "listdemo: linha 7: chave inválida: '\\033[2J'"},
        {long_word, "listdemo: linha 8: comando desconhecido: '" + std::string(64, 'x') + "'..."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(session.line(c.line), c.error) << c.line;
    }
    EXPECT_EQ(shown.commands, std::vector<std::string>{"inserir 1"});
}

TEST_F(InterpreterTest, StopsAtSair) {
    Transcript shown;
    Interpreter session(shown, {});
    EXPECT_FALSE(session.over());
    session.line("sair");
    EXPECT_TRUE(session.over());
}

TEST_F(InterpreterTest, NumbersTheStepsAndEndsWithTheDrawing) {
    Transcript shown;
    Interpreter session(shown, {.steps = true});
    std::vector<std::string> const lines = {"inserir 5", "inserir 7", "busca 7", "remover 5",
                                            "inverter"};
    for (const std::string& line : lines) {
        session.line(line);
    }
    std::vector<std::string> operations;
    for (std::size_t at = 0; at < shown.steps.size();) {
        const auto& first = shown.steps[at];
        operations.push_back(first.operation);
        ASSERT_GE(first.count, 1u) << first.operation;
        ASSERT_LE(at + first.count, shown.steps.size());
        for (std::size_t k = 0; k < first.count; ++k) {
            EXPECT_EQ(shown.steps[at + k].operation, first.operation);
            EXPECT_EQ(shown.steps[at + k].number, k + 1);
            EXPECT_EQ(shown.steps[at + k].count, first.count);
        }
        EXPECT_EQ(shown.steps[at + first.count - 1].code, "(fim da operação)");
        at += first.count;
    }
    EXPECT_EQ(operations, lines);
}

// Whoever deletes what a removal unlinks, the list (a middle element, the
// last) or the program it hands it to (the first, removerinfo's), the
// removal's steps end with that delete, before the drawing after it: the
// element never just vanishes.
TEST_F(InterpreterTest, EachRemovalEndsWithItsDelete) {
    struct Case {
        const char* removal;
        const char* last_step;
    };
    for (const Case& c :
         {Case{"remover 20", "delete removido"}, Case{"remover 30", "delete removido"},
          Case{"remover 10", "delete removido.release()"},
          Case{"removerinfo b", "delete removido.release()"}}) {
        Transcript shown;
        Interpreter session(shown, {.steps = true});
        for (const char* line : {"inserir 10 a", "inserir 20 b", "inserir 30 c"}) {
            session.line(line);
        }
        shown.steps.clear();
        session.line(c.removal);
        ASSERT_GE(shown.steps.size(), 2u) << c.removal;
        EXPECT_EQ(shown.steps[shown.steps.size() - 2].code, c.last_step) << c.removal;
    }
}

// What the list prints, and what an operation answers, comes after the step
// that produced it, before the operation's last step.
TEST_F(InterpreterTest, OutputFallsAfterTheStepThatProducesIt) {
    struct Case {
        std::string line;
        std::string said;
    };
    Case const cases[] = {
        {"exibir", " 10 20 "},   {"busca 20", "sim"},
        {"buscainfo zz", "não"}, {"remover 99", "a chave 99 não está na lista"},
        {"primeiro", "10"},
    };
    for (const Case& c : cases) {
        Transcript shown;
        Interpreter session(shown, {.steps = true});
        session.line("inserir 10");
        session.line("inserir 20");
        shown.events.clear();
        session.line(c.line);
        auto const said = std::find(shown.events.begin(), shown.events.end(), c.said);
        ASSERT_NE(said, shown.events.end()) << c.line;
        EXPECT_TRUE(said != shown.events.begin() &&
                    std::prev(said)->find(" de ") != std::string::npos)
            << c.line << ": not after a step";
        ASSERT_NE(std::next(said), shown.events.end()) << c.line;
        std::string const last = *std::next(said);
        EXPECT_EQ(last.substr(0, last.find(' ')), last.substr(last.rfind(' ') + 1))
            << c.line << ": not before the last step";
    }
}

// A presentation that fails, as a full disk does, at its n-th line.
class Failing final : public Presentation {
public:
    explicit Failing(int lines) : left_(lines) {}
    void say(std::string_view) override { count(); }
    void note(std::string_view) override { count(); }
    void draw(const Frame&) override { count(); }

private:
    void count() {
        if (--left_ == 0) {
            throw std::runtime_error("full");
        }
    }
    int left_;
};

TEST_F(InterpreterTest, GivesStdCoutBackWhenThePresentationThrows) {
    for (int lines = 1; lines <= 4; ++lines) {
        Failing shown(lines);
        Interpreter session(shown, {});
        EXPECT_THROW(
            {
                session.line("inserir 1");
                session.line("exibir");
                session.line("pop");
                session.line("pop");
            },
            std::runtime_error)
            << lines;
    }
}

} // namespace

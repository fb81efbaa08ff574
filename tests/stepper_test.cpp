// SPDX-License-Identifier: MIT
// The stepper on its own: an operation's steps in, the facts of its scenes
// out. Each case runs one operation on a list of given keys and names steps
// by their code, in the order they must come; at each, the scene must hold
// the given facts: the walk's keys, which word points where, and the link
// that the step changed.
#include "stepper.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// Where a label points, as the facts say it: the key of an element of the
// walk, the key and "*" for one apart, "cabeça", "nulo", "fora", or
// "liberado!" for memory released.
std::string where(const Scene& scene, int element) {
    if (element == Scene::header_node) {
        return "cabeça";
    }
    if (element == Scene::freed) {
        return "liberado!";
    }
    if (element == Scene::null) {
        return "nulo";
    }
    if (element < 0 || static_cast<std::size_t>(element) >= scene.elements.size()) {
        return "fora";
    }
    std::string out = std::to_string(scene.elements[static_cast<std::size_t>(element)].key);
    return static_cast<std::size_t>(element) < scene.walked ? out : out + "*";
}

// The facts of a scene, its labels in the order of their words, a state
// between parentheses, a helper's local with "@" and the helper:
// "[10 20] (liberado)>30* anterior>10 atual@find_before>30* =10.next".
std::string facts(const Scene& scene) {
    std::string out = "[";
    for (std::size_t i = 0; i < scene.walked; ++i) {
        out += (i == 0 ? "" : " ") + std::to_string(scene.elements[i].key);
    }
    out += "]";
    std::vector<std::string> labels;
    for (const Scene::Label& label : scene.labels) {
        std::string const word = label.state           ? "(" + label.word + ")"
                                 : label.frame.empty() ? label.word
                                                       : label.word + "@" + label.frame;
        labels.push_back(word + ">" + where(scene, label.element));
    }
    std::sort(labels.begin(), labels.end());
    for (const std::string& label : labels) {
        out += " " + label;
    }
    switch (scene.changed.which) {
    case Scene::Link::none:
        break;
    case Scene::Link::head:
        out += " =head";
        break;
    case Scene::Link::header_next:
        out += " =head->next";
        break;
    case Scene::Link::element_next:
        out += " =" + where(scene, scene.changed.element) + ".next";
        break;
    }
    return out;
}

struct Shown {
    std::string code;
    std::string facts;
    std::size_t number;
    std::size_t count;
    const std::string* listing; // the function's code that the step runs
    std::size_t line;
};

class Recorder final : public Stepper::Sink {
public:
    bool printed(std::string_view) override { return true; }
    void shown(const Stepper::Shot& shot, std::size_t number, std::size_t count) override {
        shots.push_back({shot.code + std::string(shot.outcome), facts(shot.scene), number, count,
                         shot.listing.data(), shot.line});
    }
    std::vector<Shown> shots;
};

// The shots of `operation` on a list of `keys`.
std::vector<Shown> stepped(const std::vector<int>& keys,
                           const std::function<void(ListaEnc&)>& operation) {
    Recorder recorder;
    Stepper stepper(recorder);
    ListaEnc list;
    for (int const key : keys) {
        list.inserir(key, " ");
    }
    list.observe(&stepper);
    stepper.command();
    operation(list);
    std::size_t const last = stepper.finish();
    list.observe(nullptr);
    EXPECT_EQ(last, recorder.shots.size() + 1);
    return recorder.shots;
}

struct Case {
    const char* name;
    std::vector<int> keys;
    std::function<void(ListaEnc&)> operation;
    // Steps by their code (and answer), in order, each with its facts.
    std::vector<std::pair<std::string, std::string>> expected;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class StepperFacts : public testing::TestWithParam<Case> {};

TEST_P(StepperFacts, EachNamedStepHoldsItsFacts) {
    const Case& c = GetParam();
    std::vector<Shown> const shots = stepped(c.keys, c.operation);
    std::string all;
    for (const Shown& shot : shots) {
        all += "  " + shot.code + "  |  " + shot.facts + "\n";
    }
    std::size_t at = 0;
    for (const auto& [code, expected] : c.expected) {
        while (at < shots.size() && shots[at].code != code) {
            ++at;
        }
        ASSERT_LT(at, shots.size()) << "no step " << code << " here or later in:\n" << all;
        EXPECT_EQ(shots[at].facts, expected) << "at " << code << " in:\n" << all;
        ++at;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Operations, StepperFacts,
    testing::Values(
        // A new element is new, and its cursor says so apart, until linked.
        Case{"InsertIntoNoHeader",
             {},
             [](ListaEnc& l) { l.inserir(10, " "); },
             {{"novo = new node{key, info}", "[] (novo)>10* novo>10*"},
              {"novo->next = novo", "[] (novo)>10* novo>10* =10*.next"},
              {"cabeca = new node{0, \"\"}", "[] (novo)>0* (novo)>10* cabeca>cabeça novo>10*"},
              {"head = cabeca", "[] (novo)>10* cabeca>cabeça novo>10* =head"},
              {"head->next = novo", "[10] cabeca>cabeça novo>10 =head->next"}}},
        // last()'s locals live in its frame, after the step that calls it,
        // and are gone once it returns.
        Case{"InsertAfterTheLast",
             {10, 20},
             [](ListaEnc& l) { l.inserir(30, " "); },
             {{"node* primeiro = head->next", "[10 20] (novo)>30* novo>30* primeiro>10"},
              {"last()  (chamada: um quadro novo)", "[10 20] (novo)>30* novo>30* primeiro>10"},
              {"ultimo->next == primeiro  (sim)",
               "[10 20] (novo)>30* novo>30* primeiro>10 primeiro@last>10 ultimo@last>20"},
              {"node* ultimo = last()", "[10 20] (novo)>30* novo>30* primeiro>10 ultimo>20"},
              {"ultimo->next = novo", "[10 20 30] novo>30 primeiro>10 ultimo>20 =20.next"},
              {"novo->next = primeiro", "[10 20 30] novo>30 primeiro>10 ultimo>20 =30.next"}}},
        // The list deletes a middle element: its cursor dangles after.
        Case{"RemoveAMiddleElementReleasesIt",
             {10, 30, 20},
             [](ListaEnc& l) { l.remover(30); },
             {{"find_before()  (chamada: um quadro novo)", "[10 30 20]"},
              {"atual->key == key  (não)",
               "[10 30 20] atual@find_before>10 primeiro@find_before>10"},
              {"atual->key == key  (sim)",
               "[10 30 20] anterior@find_before>10 atual@find_before>30 primeiro@find_before>10"},
              {"node* anterior = find_before(MATCH(atual->key == key))", "[10 30 20] anterior>10"},
              {"anterior->next = removido->next",
               "[10 20] anterior>10 removido@unlink_after>30* =10.next"},
              {"first_of_several  (não)", "[10 20] anterior>10 removido>30*"},
              {"delete removido", "[10 20] (liberado)>30* anterior>10 removido>liberado!"}}},
        // The first of several is handed over: its state says so.
        Case{"RemoveTheFirstHandsItOver",
             {10, 30, 20},
             [](ListaEnc& l) { l.remover(10); },
             {{"atual->key == key  (sim)",
               "[10 30 20] atual@find_before>10 primeiro@find_before>10"},
              {"ultimo->next == primeiro  (sim)",
               "[10 30 20] atual@find_before>10 primeiro@find_before>10 primeiro@last>10 "
               "ultimo@last>20"},
              {"anterior = last()",
               "[10 30 20] anterior@find_before>20 atual@find_before>10 primeiro@find_before>10"},
              {"head->next = removido->next",
               "[30 20 10] anterior>20 removido@unlink_after>10 =head->next"},
              {"anterior->next = removido->next",
               "[30 20] anterior>20 removido@unlink_after>10* =20.next"},
              {"return removido", "[30 20] (removido)>10* anterior>20 removido>10*"}}},
        Case{"PopWalksToTheLast",
             {10, 20},
             [](ListaEnc& l) { l.pop(); },
             {{"last()  (chamada: um quadro novo)", "[10 20]"},
              {"ultimo = primeiro", "[10 20] primeiro@last>10 ultimo@last>10"},
              {"ultimo->next == primeiro  (sim)", "[10 20] primeiro@last>10 ultimo@last>20"},
              {"anterior = last()", "[10 20] anterior>20"},
              {"return removido", "[20] (removido)>10* anterior>20 removido>10*"}}},
        // Every cursor into an element released dangles, however many.
        Case{"ClearReleasesEveryElement",
             {10, 20},
             [](ListaEnc& l) { l.clear(); },
             {{"head->next = nullptr", "[] primeiro@release_elements>10* =head->next"},
              {"delete removido",
               "[] (liberado)>20* atual@release_elements>10* primeiro@release_elements>10* "
               "removido@release_elements>liberado!"},
              {"delete primeiro",
               "[] (liberado)>10* atual@release_elements>liberado! "
               "primeiro@release_elements>liberado! removido@release_elements>liberado!"}}},
        Case{"CountWalksTheCircle",
             {10, 20},
             [](ListaEnc& l) { l.tamanho(); },
             {{"count()  (chamada: um quadro novo)", "[10 20]"},
              {"atual = atual->next", "[10 20] atual@count>20 primeiro@count>10"},
              {"atual != primeiro  (não)", "[10 20] atual@count>10 primeiro@count>10"}}},
        // The walks that print start from primeiro, which is drawn.
        Case{"ShowWalksFromTheFirst",
             {10, 20},
             [](ListaEnc& l) { l.ExibirLista(); },
             {{"node* primeiro = first()", "[10 20] primeiro>10"},
              {"atual = primeiro", "[10 20] atual>10 primeiro>10"},
              {"atual != primeiro  (não)", "[10 20] atual>10 primeiro>10"}}},
        Case{"ShowTextsWalksFromTheFirst",
             {10, 20},
             [](ListaEnc& l) { l.ExibirInfo(); },
             {{"node* primeiro = first()", "[10 20] primeiro>10"},
              {"atual = atual->next", "[10 20] atual>20 primeiro>10"}}}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// Each step once, numbered from 1 of the count of them and the drawing
// after, however long the operation is.
TEST(Stepper, NumbersEveryStepOfTheOperation) {
    std::vector<Shown> const shots = stepped({1, 2, 3, 4, 5}, [](ListaEnc& l) { l.remover(5); });
    ASSERT_FALSE(shots.empty());
    for (std::size_t i = 0; i < shots.size(); ++i) {
        EXPECT_EQ(shots[i].number, i + 1);
        EXPECT_EQ(shots[i].count, shots.size() + 1);
    }
}

// A helper is called on a line of its caller, marked before the helper's
// first step: the same line as the caller's step that takes its answer.
TEST(Stepper, MarksTheLineThatCallsAHelper) {
    struct Call {
        const char* call;
        const char* answer;
    };
    for (const Call& c : {Call{"last()  (chamada: um quadro novo)", "anterior = last()"},
                          Call{"unlink_after()  (chamada: um quadro novo)",
                               "node* removido = unlink_after(anterior)"}}) {
        std::vector<Shown> const shots = stepped({10, 20}, [](ListaEnc& l) { l.pop(); });
        auto const find = [&shots](std::string_view code) {
            return std::find_if(shots.begin(), shots.end(),
                                [code](const Shown& s) { return s.code == code; });
        };
        auto const call = find(c.call);
        auto const answer = find(c.answer);
        ASSERT_NE(call, shots.end()) << c.call;
        ASSERT_NE(answer, shots.end()) << c.answer;
        EXPECT_LT(call, answer);
        EXPECT_EQ(call->listing, answer->listing) << c.call;
        EXPECT_EQ(call->line, answer->line) << c.call;
    }
}

// What the list hands over, the program that called it deletes in steps of
// its own, after the operation's, on its own code: the element is there to
// the end, its state says whose it is, and the program's cursor dangles
// after the delete.
TEST(Stepper, ShowsTheProgramsStepsAfterTheOperation) {
    Recorder recorder;
    Stepper stepper(recorder);
    ListaEnc list;
    for (int const key : {10, 20, 30}) {
        list.inserir(key, " ");
    }
    list.observe(&stepper);
    stepper.command();
    std::unique_ptr<node> removido = list.remover(10);
    ASSERT_NE(removido, nullptr);
    std::vector<std::string> const code = {"removido = remover(10);", "delete removido;"};
    Step step{};
    step.operation = "remover";
    step.name = "removido";
    step.element = removido.get();
    step.kind = Step::Kind::declare;
    step.code = "removido = remover(10)";
    stepper.program_step(list, step, code, 1);
    step.kind = Step::Kind::release;
    step.code = "delete removido";
    stepper.program_step(list, step, code, 2);
    removido.reset();
    stepper.finish();
    list.observe(nullptr);
    ASSERT_GE(recorder.shots.size(), 3u);
    const Shown* const shots = &recorder.shots[recorder.shots.size() - 3];
    EXPECT_EQ(shots[0].code, "return removido");
    EXPECT_EQ(shots[0].facts, "[20 30] (removido)>10* anterior>30 removido>10*");
    EXPECT_EQ(shots[1].facts, "[20 30] (removido)>10* removido>10*"); // remover's locals gone
    EXPECT_EQ(shots[1].listing, code.data());
    EXPECT_EQ(shots[1].line, 1u);
    EXPECT_EQ(shots[2].facts, "[20 30] (liberado)>10* removido>liberado!");
    EXPECT_EQ(shots[2].line, 2u);
}

// Every step of an operation of the list runs a line of its code.
TEST(Stepper, EveryStepHasItsLine) {
    for (const Shown& shot : stepped({10, 20, 30}, [](ListaEnc& l) { l.remover(20); })) {
        EXPECT_GT(shot.line, 0u) << shot.code;
    }
}

} // namespace

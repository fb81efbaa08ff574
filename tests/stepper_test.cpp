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
#include <string>
#include <vector>

namespace {

// Where a label points, as the facts say it: the key of an element of the
// walk, the key and "*" for one apart, "cabeça", "nulo" or "fora".
std::string where(const Scene& scene, int element) {
    if (element == Scene::header_node) {
        return "cabeça";
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

// The facts of a scene, its labels in the order of their words:
// "[10 20] anterior>10 removido>30* =10.next".
std::string facts(const Scene& scene) {
    std::string out = "[";
    for (std::size_t i = 0; i < scene.walked; ++i) {
        out += (i == 0 ? "" : " ") + std::to_string(scene.elements[i].key);
    }
    out += "]";
    std::vector<std::string> labels;
    for (const Scene::Label& label : scene.labels) {
        labels.push_back(label.word + ">" + where(scene, label.element));
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
    std::size_t line;
};

class Recorder final : public Stepper::Sink {
public:
    bool printed(std::string_view) override { return true; }
    void shown(const Stepper::Shot& shot, std::size_t number, std::size_t count) override {
        shots.push_back(
            {shot.code + std::string(shot.outcome), facts(shot.scene), number, count, shot.line});
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
        Case{"InsertIntoNoHeader",
             {},
             [](ListaEnc& l) { l.inserir(10, " "); },
             {{"novo = new node{key, info}", "[] novo>10*"},
              {"novo->next = novo", "[] novo>10* =10*.next"},
              {"cabeca = new node{0, \"\"}", "[] cabeca>0* novo>10*"},
              {"head = cabeca", "[] novo>10* =head"},
              {"head->next = novo", "[10] novo>10 =head->next"}}},
        Case{"InsertAfterTheLast",
             {10, 20},
             [](ListaEnc& l) { l.inserir(30, " "); },
             {{"novo = new node{key, info}", "[10 20] novo>30*"},
              {"ultimo->next == primeiro  (sim)", "[10 20] novo>30* primeiro>10 ultimo>20"},
              {"ultimo->next = novo", "[10 20 30] novo>30 primeiro>10 ultimo>20 =20.next"},
              {"novo->next = primeiro", "[10 20 30] novo>30 primeiro>10 ultimo>20 =30.next"}}},
        Case{"RemoveAMiddleElementReleasesIt",
             {10, 30, 20},
             [](ListaEnc& l) { l.remover(30); },
             {{"atual->key == key  (não)", "[10 30 20] atual>10 primeiro>10"},
              {"atual->key == key  (sim)", "[10 30 20] anterior>10 atual>30 primeiro>10"},
              {"anterior->next = removido->next",
               "[10 20] anterior>10 atual>30* primeiro>10 removido>30* =10.next"},
              {"first_of_several  (não)", "[10 20] anterior>10 atual>30* primeiro>10 removido>30*"},
              {"delete removido", "[10 20] anterior>10 liberado>30* primeiro>10"}}},
        Case{"RemoveTheFirstHandsItOver",
             {10, 30, 20},
             [](ListaEnc& l) { l.remover(10); },
             {{"atual->key == key  (sim)", "[10 30 20] atual>10 primeiro>10"},
              {"head->next = removido->next",
               "[30 20 10] anterior>20 atual>10 primeiro>10 removido>10 ultimo>20 =head->next"},
              {"anterior->next = removido->next",
               "[30 20] anterior>20 atual>10* primeiro>10* removido>10* ultimo>20 =20.next"},
              {"return removido", "[30 20] anterior>20 removido>10* ultimo>20"}}},
        Case{"PopWalksToTheLast",
             {10, 20},
             [](ListaEnc& l) { l.pop(); },
             {{"ultimo = primeiro", "[10 20] primeiro>10 ultimo>10"},
              {"ultimo->next == primeiro  (sim)", "[10 20] primeiro>10 ultimo>20"},
              {"anterior = last()", "[10 20] anterior>20 primeiro>10 ultimo>20"},
              {"return removido", "[20] anterior>20 removido>10* ultimo>20"}}},
        Case{"ClearReleasesEveryElement",
             {10, 20},
             [](ListaEnc& l) { l.clear(); },
             {{"head->next = nullptr", "[] primeiro>10* =head->next"},
              {"delete removido", "[] atual>10* liberado>20* primeiro>10*"},
              {"delete primeiro", "[] liberado>10*"}}},
        Case{"CountWalksTheCircle",
             {10, 20},
             [](ListaEnc& l) { l.tamanho(); },
             {{"atual = atual->next", "[10 20] atual>20 primeiro>10"},
              {"atual != primeiro  (não)", "[10 20] atual>10 primeiro>10"}}}),
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

// Every step of an operation of the list runs a line of its code.
TEST(Stepper, EveryStepHasItsLine) {
    for (const Shown& shot : stepped({10, 20, 30}, [](ListaEnc& l) { l.remover(20); })) {
        EXPECT_GT(shot.line, 0u) << shot.code;
    }
}

} // namespace

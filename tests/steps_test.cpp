// SPDX-License-Identifier: MIT
// Over random sessions on the traced list, every state drawn at a step shows
// what memory holds at that step: the elements of the walk from the first
// element, in its order, the link from the last one, each element that the
// step is about, every line within the width.
#include "columns.h"
#include "drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

// The keys of the boxes in the rows of the circle, in order, and whether the
// drawing goes back from the last one to the first along the bottom.
struct Seen {
    std::vector<int> keys;
    bool back_to_first = false;
};

Seen seen(const std::vector<std::string>& lines) {
    static std::regex const box(R"(\[(-?[0-9]+)\|)");
    Seen out;
    for (const std::string& line : lines) {
        std::string content = line.substr(std::min<std::size_t>(2, line.size()));
        if (line == ":") {
            break; // what stands apart comes after an empty line
        }
        bool const row = content.starts_with("+-->") || content.starts_with("|+->") ||
                         content.starts_with(" +->") ||
                         (content.starts_with("    [") && !content.starts_with("    [nó cabeça]"));
        if (!row) {
            out.back_to_first =
                out.back_to_first || content.starts_with("+-") || content.starts_with("+=");
            continue;
        }
        for (std::string_view const end : {"--> ", "==> "}) {
            content = content.substr(0, content.find(end));
        }
        for (std::sregex_iterator at(content.begin(), content.end(), box), none; at != none; ++at) {
            out.keys.push_back(std::stoi((*at)[1]));
        }
    }
    return out;
}

class Checker final : public Observer {
public:
    explicit Checker(std::size_t width) : width_(width) {}

    void step(const ListaEnc& list, const Step& step) override {
        if (step.kind == Step::Kind::call) {
            apart_.clear();
            released_.clear();
            return;
        }
        if (step.kind == Step::Kind::make && std::string_view(step.name) != "cabeca") {
            apart_.push_back({step.element, "novo"});
        }
        if (step.kind == Step::Kind::unlink || step.kind == Step::Kind::release) {
            apart_.push_back({step.element, "apart"});
        }
        // What memory holds: the walk from the first element.
        std::vector<int> keys;
        std::set<const node*> met;
        const node* first = list.begin() == list.end() ? nullptr : &*list.begin();
        const node* at = first;
        for (; at != nullptr && !met.contains(at) &&
               std::find(released_.begin(), released_.end(), at) == released_.end();
             at = at->next) {
            met.insert(at);
            keys.push_back(at->key);
        }
        Scene const scene = capture(list, {{}, apart_, released_, {}});
        std::vector<std::string> const lines = draw(scene, width_);
        Seen const drawn = seen(lines);
        std::string whole;
        for (const std::string& line : lines) {
            whole += line + '\n';
            ASSERT_LE(cells(line).size(), width_) << line;
        }
        ASSERT_EQ(drawn.keys, keys) << step.operation << ": " << step.code << '\n' << whole;
        ASSERT_EQ(drawn.back_to_first, at == first && first != nullptr) << step.code << '\n'
                                                                        << whole;
        for (const Apart& apart : apart_) {
            if (!met.contains(apart.element)) {
                ASSERT_NE(whole.find("[" + std::to_string(apart.element->key) + "|"),
                          std::string::npos)
                    << step.code << '\n'
                    << whole;
            }
        }
        if (step.kind == Step::Kind::release) {
            apart_.pop_back();
            released_.push_back(step.element);
        }
        ++steps;
    }

    std::size_t steps = 0;

private:
    std::size_t width_;
    std::vector<Apart> apart_;
    std::vector<const node*> released_;
};

TEST(Steps, EveryStateDrawnIsWhatMemoryHolds) {
    std::mt19937 random(20261207);
    const char* const texts[] = {" ",
                                 "ana",
                                 "Concei\u00e7\u00e3o",
                                 "\u674e\u5c0f\u9f8d",
                                 "Jose\u0301",
                                 "a text much longer than any box"};
    std::size_t steps = 0;
    for (int session = 0; session < LISTAENC_STEPS_SESSIONS; ++session) {
        Checker checker(50 + random() % 80);
        ListaEnc list;
        list.observe(&checker);
        int key = 0;
        for (int operation = 0; operation < 25; ++operation) {
            std::vector<int> keys;
            {
                list.observe(nullptr);
                for (const node& element : list) {
                    keys.push_back(element.key);
                }
                list.observe(&checker);
            }
            int const some = keys.empty() ? 0 : keys[random() % keys.size()];
            switch (random() % 8) {
            case 0:
            case 1:
            case 2:
                list.inserir(++key, texts[random() % std::size(texts)]);
                break;
            case 3:
                list.remover(random() % 4 == 0 ? -1 : some);
                break;
            case 4:
                if (!keys.empty()) {
                    list.removerinfo(list.front().info);
                }
                break;
            case 5:
                if (!keys.empty()) {
                    list.pop();
                }
                break;
            case 6:
                list.Busca(some);
                break;
            case 7:
                if (random() % 4 == 0) {
                    list.limpar();
                } else {
                    list.tamanho();
                }
                break;
            }
        }
        list.observe(nullptr);
        steps += checker.steps;
        if (HasFatalFailure()) {
            return;
        }
    }
    EXPECT_GT(steps, 10000u * LISTAENC_STEPS_SESSIONS / 150);
}

} // namespace

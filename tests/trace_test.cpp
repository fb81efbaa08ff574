// SPDX-License-Identifier: MIT
// The traced build: the steps that each operation tells, for each starting
// shape, against golden files (tests/trace/NAME.txt, or NAME.demo.txt where
// the demo build differs); and, over random sequences of operations, that
// memory at each step is what the step says.
#include "listaenc_listing.h"
#include "listaenccircular.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Writes each step as a line, indented by the depth of its helper: its
// kind, its code and the keys of the nodes it names ("-" for null).
struct Recorder : Observer {
    std::ostringstream lines;
    void step(const ListaEnc&, const Step& s) override {
        static const char* const kinds[] = {"call",   "visit",   "compare", "make",   "link",
                                            "unlink", "release", "done",    "test",   "unchanged",
                                            "output", "enter",   "leave",   "declare"};
        auto const key = [](const node* e) { return e ? std::to_string(e->key) : "-"; };
        lines << std::string(2 * std::size_t(s.depth), ' ') << kinds[int(s.kind)] << ' '
              << (*s.code   ? s.code
                  : *s.name ? s.name
                            : s.operation);
        switch (s.kind) {
        case Step::Kind::compare:
        case Step::Kind::test:
            lines << " [" << key(s.element) << (s.matched ? "] sim" : "] nao");
            break;
        case Step::Kind::link:
        case Step::Kind::unchanged:
            lines << " [" << key(s.element) << ": " << key(s.before) << " -> " << key(s.after)
                  << ']';
            break;
        case Step::Kind::output:
            lines << " \"" << s.text.substr(0, s.text.size() - 1) << "\\n\"";
            break;
        case Step::Kind::call:
        case Step::Kind::done:
        case Step::Kind::enter:
        case Step::Kind::leave:
            break;
        default:
            lines << " [" << key(s.element) << ']';
        }
        lines << '\n';
    }
};

// A starting shape, "-" for no header, "" for an emptied list, else keys.
ListaEnc shaped(const std::string& shape) {
    ListaEnc list;
    if (shape != "-") {
        list.inserir(0, ""), list.limpar();
        std::istringstream keys(shape);
        for (int key; keys >> key;) {
            list.inserir(key, std::string(1, char('a' + key / 10)));
        }
    }
    return list;
}

struct Case {
    const char* name;
    const char* shape;
    std::function<void(ListaEnc&)> run;
};

class Steps : public testing::TestWithParam<Case> {};

TEST_P(Steps, AreTheGoldenOnes) {
    const Case& c = GetParam();
    std::string const dir = LISTAENC_TRACE_DIR "/";
    std::string path = dir + c.name + ".demo.txt";
    if (!listaenc_demo_build || !std::ifstream(path)) {
        path = dir + c.name + ".txt";
    }
    ListaEnc list = shaped(c.shape);
    Recorder recorder;
    list.observe(&recorder);
    try {
        c.run(list);
    } catch (...) {
        recorder.lines << "throws\n";
    }
    list.observe(nullptr);
    if (std::getenv("LISTAENC_UPDATE_GOLDEN")) {
        std::ofstream(path) << recorder.lines.str();
    }
    std::ifstream golden(path);
    std::stringstream want;
    want << golden.rdbuf();
    EXPECT_EQ(recorder.lines.str(), want.str()) << path;
}

node* at(ListaEnc& list, int position) { return &*std::next(list.begin(), position); }

std::vector<Case> const cases = {
    {"inserir_sem_cabeca", "-", [](ListaEnc& l) { l.inserir(40, "d"); }},
    {"inserir_esvaziada", "", [](ListaEnc& l) { l.inserir(40, "d"); }},
    {"inserir_um", "10", [](ListaEnc& l) { l.inserir(40, "d"); }},
    {"inserir_tres", "10 20 30", [](ListaEnc& l) { l.inserir(40, "d"); }},
    {"remover_primeiro", "10 20 30", [](ListaEnc& l) { l.remover(10); }},
    {"remover_meio", "10 20 30", [](ListaEnc& l) { l.remover(20); }},
    {"remover_ultimo", "10 20 30", [](ListaEnc& l) { l.remover(30); }},
    {"remover_ausente", "10 20 30", [](ListaEnc& l) { l.remover(99); }},
    {"remover_sozinho", "10", [](ListaEnc& l) { l.remover(10); }},
    {"removerinfo", "10 20 30", [](ListaEnc& l) { l.removerinfo("c"); }},
    {"pop", "10 20 30", [](ListaEnc& l) { l.pop(); }},
    {"pop_sem_cabeca", "-", [](ListaEnc& l) { l.pop(); }},
    {"limpar", "10 20 30", [](ListaEnc& l) { l.limpar(); }},
    {"inserirapos", "10 20 30", [](ListaEnc& l) { l.inserirapos(at(l, 1), 25, "c"); }},
    {"removerapos", "10 20 30", [](ListaEnc& l) { l.removerapos(at(l, 2)); }},
    {"consultas", "10 20",
     [](ListaEnc& l) {
         l.isEmpty(), l.empty(), l.front(), l.begin(), l.end(), l.cbegin(), l.cend();
         l.tamanho(), l.size(), l.Busca(20), l.BuscaInfo("z");
     }},
    {"impressao", "10",
     [](ListaEnc& l) {
         testing::internal::CaptureStdout();
         l.ExibirLista(), l.ExibirInfo(), l.PrintFirst();
         testing::internal::GetCapturedStdout();
     }},
    {"posicoes", "10 20",
     [](ListaEnc& l) {
         l.erase_after(l.insert_after(l.begin(), 15, "b"));
         l.removerno(&*l.begin());
     }},
    {"clear", "10 20", [](ListaEnc& l) { l.clear(); }},
    {"move_assign", "10", [](ListaEnc& l) { l = shaped("20"); }},
    {"swap", "10 20",
     [](ListaEnc& l) {
         ListaEnc o = shaped("30");
         l.swap(o);
     }},
    {"remove", "10 20 10", [](ListaEnc& l) { l.remove(10); }},
    {"remove_if", "10 20 30",
     [](ListaEnc& l) { l.remove_if([](const node& e) { return e.key > 15; }); }},
    {"reverse", "10 20 30", [](ListaEnc& l) { l.reverse(); }},
    {"sort", "30 10 20 10", [](ListaEnc& l) { l.sort(); }},
    {"splice_after", "10 20",
     [](ListaEnc& l) {
         ListaEnc o = shaped("30 40");
         l.splice_after(l.begin(), o);
     }},
    {"splice_after_it", "10 20 30",
     [](ListaEnc& l) { l.splice_after(std::next(l.begin(), 2), l, l.begin()); }},
#ifndef LISTAENC_DEMO_BUILD
    {"GetNth", "10 20 30", [](ListaEnc& l) { l.GetNth(1); }},
#endif
};

INSTANTIATE_TEST_SUITE_P(EachOperation, Steps, testing::ValuesIn(cases),
                         [](const auto& info) { return std::string(info.param.name); });

// An observer may throw where the operation may: its exception leaves the
// operation, unless another is already on its way, and the list is told
// again from its next call.
TEST(Trace, AnObserverThatThrowsLeavesWhereTheContractAllows) {
    struct Throws : Observer {
        explicit Throws(Step::Kind kind) : at(kind) {}
        Step::Kind at;
        void step(const ListaEnc&, const Step& s) override {
            if (s.kind == at) {
                throw std::runtime_error(s.operation);
            }
        }
    };
    ListaEnc list, without_header;
    list.inserir(1, "");
    testing::internal::CaptureStdout();
    for (Step::Kind at : {Step::Kind::call, Step::Kind::visit, Step::Kind::done}) {
        Throws observer(at);
        list.observe(&observer);
        EXPECT_THROW(list.ExibirLista(), std::runtime_error);
        EXPECT_THROW(list.ExibirLista(), std::runtime_error);
        without_header.observe(&observer);
        if (at == Step::Kind::call) {
            EXPECT_THROW(without_header.pop(), std::runtime_error);
        } else { // at done, the underflow is on its way
            EXPECT_THROW(without_header.pop(), ListUnderflowException);
        }
    }
    testing::internal::GetCapturedStdout();
}

// An observer may ask the list's queries at any step, while the links are
// half changed (a new element pointing at itself, a circle opened for a
// sort): each answers from the nodes reached from the first, and returns.
TEST(Trace, AnObserversQueriesAnswerAtEveryStep) {
    struct Asks : Observer {
        std::size_t most = 0;
        std::size_t at_done = 0;
        void step(const ListaEnc& list, const Step& s) override {
            std::size_t const size = list.size();
            most = std::max(most, size);
            EXPECT_EQ(int(size), list.tamanho());
            list.Busca(-1), list.BuscaInfo("?"), list.empty();
#ifndef LISTAENC_DEMO_BUILD
            if (size > 0) {
                EXPECT_NE(list.GetNth(int(size) - 1), nullptr);
            }
#endif
            if (s.kind == Step::Kind::done) {
                at_done = size;
            }
        }
    };
    struct Run {
        const char* shape;
        std::size_t after;
        std::function<void(ListaEnc&)> run;
    };
    Run const runs[] = {
        {"10 20 30", 4, [](ListaEnc& l) { l.inserir(40, "d"); }},
        {"10", 2, [](ListaEnc& l) { l.inserir(40, "d"); }},
        {"30 10 20 10 50 0", 6, [](ListaEnc& l) { l.sort(); }},
        {"30 10 20", 3, [](ListaEnc& l) { l.reverse(); }},
        {"10 20 30", 2, [](ListaEnc& l) { l.remover(10); }},
        {"10 20 30", 2, [](ListaEnc& l) { l.remover(20); }},
        {"10 20 30", 0, [](ListaEnc& l) { l.limpar(); }},
        {"10 20 30", 1,
         [](ListaEnc& l) { l.remove_if([](const node& e) { return e.key > 5 && e.key < 30; }); }},
        {"10 20", 4,
         [](ListaEnc& l) {
             ListaEnc o = shaped("30 40");
             l.splice_after(l.begin(), o);
         }},
    };
    for (const Run& r : runs) {
        ListaEnc list = shaped(r.shape);
        Asks asks;
        list.observe(&asks);
        r.run(list);
        list.observe(nullptr);
        EXPECT_EQ(asks.at_done, r.after) << r.shape;
        EXPECT_LE(asks.most, r.after + 3) << r.shape;
    }
}

// What the output steps tell is what the operations print, byte for byte
// and line by line, exceptions' lines included.
TEST(Trace, OutputStepsAreWhatIsPrinted) {
    struct Outputs : Observer {
        std::string text;
        void step(const ListaEnc&, const Step& s) override {
            if (s.kind == Step::Kind::output) {
                text += s.text;
            }
        }
    } outputs;
    ListaEnc list = shaped("10 20 30"), none;
    list.observe(&outputs);
    none.observe(&outputs);
    testing::internal::CaptureStdout();
    list.ExibirLista(), list.ExibirInfo(), list.PrintFirst();
    EXPECT_THROW(none.pop(), ListUnderflowException);
    EXPECT_THROW(none.PrintFirst(), ListUnderflowException);
#ifndef LISTAENC_DEMO_BUILD
    EXPECT_THROW(list.GetNth(7), OutOfBoundsException);
#endif
    std::string const printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(outputs.text, printed);
    EXPECT_NE(printed.find("A lista esta vazia\n"), std::string::npos);
}

// Checks, at each step, that memory holds what the step says, and at the
// end of each operation that the list is a sound circle.
struct Checker : Observer {
    int depth = 0;
    std::vector<std::string> faults;

    // The nodes reached from the first element, up to one met again.
    static std::set<const node*> reached(const ListaEnc& list) {
        std::set<const node*> seen;
        const node* e = list.empty() ? nullptr : &list.front();
        while (e != nullptr && seen.insert(e).second) {
            e = e->next;
        }
        return seen;
    }
    void fault(const Step& s, const char* what) {
        faults.push_back(std::string(s.operation) + ": " + s.code + ": " + what);
    }
    void step(const ListaEnc& list, const Step& s) override {
        switch (s.kind) {
        case Step::Kind::call:
            depth == 0 ? void(++depth) : fault(s, "call within a call");
            break;
        case Step::Kind::done: {
            depth == 1 ? void(--depth) : fault(s, "done without a call");
            std::size_t const size = reached(list).size();
            const node* e = list.empty() ? nullptr : &list.front();
            for (std::size_t i = 0; i < size; ++i) {
                e = e->next;
            }
            if (e != (list.empty() ? nullptr : &list.front()) || list.size() != size) {
                fault(s, "the circle does not close at the first");
            }
            break;
        }
        case Step::Kind::link:
            if (s.element ? s.element->next != s.after : list.isEmpty() != (s.after == nullptr)) {
                fault(s, "the link is not where the step says");
            }
            break;
        case Step::Kind::unchanged:
            if (s.before != s.after || (s.element && s.element->next != s.after)) {
                fault(s, "the link is not unchanged");
            }
            break;
        case Step::Kind::visit: // a cursor may run off a chain
        case Step::Kind::declare:
        case Step::Kind::test:
            break;
        case Step::Kind::compare:
            if (s.element == nullptr) {
                fault(s, "a test of nothing");
            }
            break;
        case Step::Kind::make:
        case Step::Kind::unlink:
        case Step::Kind::release:
            if (s.element == nullptr || reached(list).count(s.element) != 0) {
                fault(s, "the element is in the circle");
            }
            break;
        case Step::Kind::output:
            if (s.text.empty() || s.text.back() != '\n') {
                fault(s, "an output that is not a line");
            }
            break;
        case Step::Kind::enter:
            ++frames;
            break;
        case Step::Kind::leave:
            --frames;
            break;
        }
        typed(s);
    }

    // The typed facts agree with the words, and with the listing.
    void typed(const Step& s) {
        bool const framed = s.kind != Step::Kind::call && s.kind != Step::Kind::done;
        if (framed && s.kind != Step::Kind::enter && s.kind != Step::Kind::leave &&
            *s.code == '\0') {
            fault(s, "a step without its code");
        }
        if (s.depth != (s.kind == Step::Kind::leave ? frames + 1 : frames)) {
            fault(s, "the depth is not the helpers' running");
        }
        std::string_view const name = s.name;
        std::string_view const local = Step::local_name(s.local);
        if (!local.empty() && name.substr(0, name.find("->")) != local) {
            fault(s, "the local is not the one named");
        }
        if ((s.kind == Step::Kind::visit || s.kind == Step::Kind::declare ||
             s.kind == Step::Kind::make) &&
            local.empty()) {
            fault(s, "a cursor without its local");
        }
        bool const link = s.kind == Step::Kind::link || s.kind == Step::Kind::unchanged;
        Step::Link const which = !link                   ? Step::Link::none
                                 : s.element == nullptr  ? Step::Link::head
                                 : s.element == s.header ? Step::Link::header_next
                                                         : Step::Link::next;
        if (s.link != which) {
            fault(s, "the link is not the one changed");
        }
        if (s.kind == Step::Kind::link && s.element == nullptr && s.header != s.after) {
            fault(s, "the header is not the one head points to");
        }
        if (framed && s.kind != Step::Kind::leave) {
            const SourceListing* const listing = listing_at(s.line);
            if (listing == nullptr || std::string_view(listing->function) != s.function) {
                fault(s, "the line is not in the function's listing");
            } else if (s.kind != Step::Kind::enter &&
                       std::none_of(listing->lines, listing->lines + listing->size,
                                    [&](const SourceLine& l) { return l.number == s.line; })) {
                fault(s, "the line is not a line of the listing");
            }
        }
    }
    int frames = 0;
};

TEST(Trace, EveryStepOfRandomOperationsIsWhatMemoryHolds) {
    std::mt19937 random(33);
    for (int run = 0; run < 200; ++run) {
        ListaEnc list;
        Checker checker;
        list.observe(&checker);
        std::vector<int> model;
        for (int op = 0; op < 40; ++op) {
            int const key = int(random() % 6);
            std::size_t const n = model.size();
            auto const nth = [&](std::size_t i) { return std::next(list.begin(), long(i % n)); };
            switch (random() % 15) {
            case 0:
            case 1:
                list.inserir(key, ""), model.push_back(key);
                break;
            case 2:
                if (auto f = std::find(model.begin(), model.end(), key); f != model.end()) {
                    model.erase(f);
                }
                list.remover(key);
                break;
            case 3:
                if (n > 0) {
                    list.pop(), model.erase(model.begin());
                }
                break;
            case 4:
                if (n > 0) {
                    std::size_t const i = random() % n;
                    list.insert_after(nth(i), key, "");
                    model.insert(model.begin() + long(i + 1), key);
                }
                break;
            case 5:
                if (n > 0) {
                    std::size_t const i = random() % n;
                    list.erase_after(nth(i)), model.erase(model.begin() + long((i + 1) % n));
                }
                break;
            case 6:
                list.limpar(), model.clear();
                break;
            case 7:
                list.Busca(key), list.tamanho();
                break;
            case 8:
                list.reverse(), std::reverse(model.begin(), model.end());
                break;
            case 9:
                list.sort(), std::stable_sort(model.begin(), model.end());
                break;
            case 10:
                list.remove(key),
                    model.erase(std::remove(model.begin(), model.end(), key), model.end());
                break;
            case 11:
                if (n > 2) { // the second element moved after the last
                    list.splice_after(nth(n - 1), list, nth(0));
                    std::rotate(model.begin() + 1, model.begin() + 2, model.end());
                }
                break;
            case 12:
                list.rotate(std::size_t(key));
                if (n > 0) {
                    std::rotate(model.begin(), model.begin() + long(std::size_t(key) % n),
                                model.end());
                }
                break;
            case 13:
                list.unique();
                model.erase(std::unique(model.begin(), model.end()), model.end());
                break;
            case 14: {
                ListaEnc other;
                other.inserir(key, ""), other.inserir(key + 1, "");
                list.sort(), std::stable_sort(model.begin(), model.end());
                list.merge(other);
                model.insert(std::upper_bound(model.begin(), model.end(), key), key);
                model.insert(std::upper_bound(model.begin(), model.end(), key + 1), key + 1);
            }
            }
            std::vector<int> keys;
            for (const node& e : list) {
                keys.push_back(e.key);
            }
            ASSERT_EQ(keys, model);
        }
        ASSERT_EQ(checker.faults, std::vector<std::string>{});
        ASSERT_EQ(checker.depth, 0);
    }
}

} // namespace

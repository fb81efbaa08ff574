// Differential test of the list: the input bytes are read as operations,
// each applied to a ListaEnc and to a vector that models it. The list's
// answers are printed beside what the list prints itself, and after every
// operation all of it must be what the model says, the whole circle
// included; a disagreement aborts. Built for libFuzzer, and replayed by the
// test suite.
#include "listaenccircular.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <vector>

namespace {

struct Element {
    int key;
    std::string info;
};

std::string shown(const Element& e) { return std::to_string(e.key) + " " + e.info + " "; }

// Prints what a removal handed back: the element, its successor, and whether
// that is the element itself.
void show(const std::unique_ptr<node>& got) {
    if (got) {
        for (const node* e : {got.get(), got->next}) {
            e->display();
            e->displayinfo();
        }
        std::cout << (got->next == got.get());
    }
    std::cout << "|";
}

struct Differential {
    ListaEnc list;
    std::vector<Element> model;
    bool made = false; // the list has its header

    // Runs operation `op` on the list and on the model, and answers what the
    // list must have printed: its own output, its answers, and the circle.
    std::string step(unsigned op, int k, const std::string& t) {
        auto index = [this](auto match) {
            return std::size_t(std::find_if(model.begin(), model.end(), match) - model.begin());
        };
        auto const with_key = index([k](const Element& e) { return e.key == k; });
        auto const with_text = index([&t](const Element& e) { return e.info == t; });
        std::string const underflow = "A lista esta vazia\n!";
        std::string expected =
            std::to_string(with_key < model.size()) + std::to_string(with_text < model.size());
        std::cout << list.Busca(k) << list.BuscaInfo(t);
        try {
            switch (op % 8) {
            case 0:
            case 1:
                expected += "0";
                model.push_back({k, t});
                made = true;
                std::cout << list.inserir(k, t);
                break;
            case 2: // the demo build releases what it removes, unless pop took it
                expected +=
                    take(with_key, !listaenc_demo_build || (with_key == 0 && model.size() > 1));
                show(list.remover(k));
                break;
            case 3:
                expected += take(with_text, true);
                show(list.removerinfo(t));
                break;
            case 4:
                expected += model.empty() ? underflow : take(0, true);
                show(list.pop());
                break;
            case 5:
                model.clear();
                list.limpar();
                break;
            case 6: // prints "key\n", then " info\n" in the game build, and answers the key
                expected += model.empty()
                                ? underflow
                                : std::to_string(model[0].key) + "\n" +
                                      (listaenc_demo_build ? "" : " " + model[0].info + "\n") +
                                      std::to_string(model[0].key);
                std::cout << list.PrintFirst();
                break;
#ifndef LISTAENC_DEMO_BUILD
            default:
                if (auto const at = static_cast<std::size_t>(k); k < 0 || at >= model.size()) {
                    expected += "indice maior do que o tamanho da lista\n!";
                } else {
                    expected += model[at].info;
                }
                std::cout << list.GetNth(k)->info;
#endif
            }
        } catch (...) { // the message that the exception printed tells which one it is
            std::cout << "!";
        }
        std::cout << list.isEmpty() << list.tamanho() << "\n";
        list.ExibirLista();
        list.ExibirInfo();
        expected += std::to_string(!made) + std::to_string(model.size()) + "\n ";
        std::string texts = " ";
        for (std::size_t i = 0; i < model.size(); ++i) {
            expected += std::to_string(model[i].key) + " ";
            texts += (listaenc_demo_build ? "" : " " + std::to_string(i + 1) + ".") +
                     model[i].info + " ";
        }
        return expected + "\n" + texts + "\n";
    }

    // Takes the element at `at` (past the end: none) out of the model and
    // answers what show() must print of what the list handed back.
    std::string take(std::size_t at, bool handed_back) {
        if (at >= model.size()) {
            return "|";
        }
        Element const e = model[at];
        model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
        Element const& next = model.empty() ? e : model[at % model.size()];
        return handed_back ? shown(e) + shown(next) + std::to_string(model.empty()) + "|" : "|";
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t* const end = data + size;
    auto byte = [&data, end]() -> unsigned { return data < end ? *data++ : 0; };
    std::ostringstream printed;
    std::streambuf* const saved = std::cout.rdbuf(printed.rdbuf());
    Differential differential;
    while (data < end) {
        // Mostly small keys, so that they repeat, and sometimes a large one;
        // texts of up to three bytes from a small alphabet, NUL included.
        unsigned const low = byte();
        int const key = low < 224 ? static_cast<int>(low % 8) - 2 : static_cast<int>(byte() << 24);
        std::string text(byte() % 4, '\0');
        for (char& c : text) {
            c = "ab \0"[byte() % 4];
        }
        printed.str("");
        std::string const expected = differential.step(byte(), key, text);
        if (printed.str() != expected) {
            std::cerr << "the list printed\n"
                      << printed.str() << "\nwhere its model says\n"
                      << expected;
            std::abort();
        }
    }
    std::cout.rdbuf(saved);
    return 0;
}

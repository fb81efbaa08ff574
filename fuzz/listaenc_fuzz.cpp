// SPDX-License-Identifier: MIT
// Differential test of the list: the input bytes are read as operations,
// each applied to a ListaEnc and to a vector that models it. The list's
// answers are printed beside what the list prints itself, and after every
// operation all of it must be what the model says, the whole circle
// included, walked by the list and by its iterators; a disagreement names the
// input and aborts. Built for libFuzzer, and replayed by the test suite.
#include "listaenccircular.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <ranges>
#include <sstream>
#include <utility>
#include <vector>

static_assert(std::ranges::forward_range<ListaEnc> && std::ranges::forward_range<const ListaEnc>);
#ifndef LISTAENC_DEMO_BUILD
// A const list hands out its elements read-only.
static_assert(std::is_same_v<decltype(std::declval<const ListaEnc&>().GetNth(0)), const node*>);
#endif

namespace {

constexpr bool demo = listaenc_demo_build;

std::string shown(const node& e) { return std::to_string(e.key) + " " + e.info + " "; }

// The keys and texts of a list or of its model, walked in order.
std::string listed(auto&& elements) {
    std::string text;
    for (const auto& e : elements) {
        text += shown(e);
    }
    return text;
}

// What a list handed out: the element, its successor, and whether that is
// the element itself.
std::string handed(const node* got) {
    return got ? shown(*got) + shown(*got->next) + std::to_string(got->next == got) + "|" : "|";
}

struct Differential {
    ListaEnc list;
    std::vector<node> model; // their next unused
    bool made = false;       // the list has its header

    // Runs operation `op` on the list and on the model, and answers what the
    // list must have printed: its own output, its answers, and the circle.
    // The operations at an element take its position from the key.
    std::string step(unsigned op, int k, const std::string& t) {
        auto const where = [this](auto found) { return std::size_t(found - model.begin()); };
        auto const with_key = where(std::ranges::find(model, k, &node::key));
        auto const with_text = where(std::ranges::find(model, t, &node::info));
        std::size_t const at = model.empty() ? 0 : static_cast<std::size_t>(k) % model.size();
        std::string const underflow = "A lista esta vazia\n!";
        std::string want =
            std::to_string(with_key < model.size()) + std::to_string(with_text < model.size());
        std::cout << list.Busca(k) << list.BuscaInfo(t);
        try {
            switch (op % 12) {
            case 0:
            case 1:
                want += "0";
                model.push_back({k, t, nullptr});
                made = true;
                std::cout << list.inserir(k, t);
                break;
            case 2: // the demo build releases what it removes, unless pop took it
                want += take(with_key, !demo || (with_key == 0 && model.size() > 1));
                std::cout << handed(list.remover(k).get());
                break;
            case 3:
                want += take(with_text, true);
                std::cout << handed(list.removerinfo(t).get());
                break;
            case 4:
                want += model.empty() ? underflow : take(0, true);
                std::cout << handed(list.pop().get());
                break;
            case 5:
                model.clear();
                list.limpar();
                break;
            case 6: // prints "key\n", then " info\n" in the game build, and answers the key
                want += model.empty() ? underflow
                                      : std::to_string(model[0].key) + "\n" +
                                            (demo ? "" : " " + model[0].info + "\n") +
                                            std::to_string(model[0].key);
                std::cout << list.PrintFirst();
                break;
#ifndef LISTAENC_DEMO_BUILD
            case 7:
                want += k >= 0 && std::size_t(k) < model.size()
                            ? model[std::size_t(k)].info
                            : "indice maior do que o tamanho da lista\n!";
                std::cout << list.GetNth(k)->info;
                break;
#endif
            case 8:
                if (!model.empty()) {
                    model.insert(model.begin() + std::ptrdiff_t(at) + 1, {k, t, nullptr});
                    want += shown(model[at + 1]) + shown(model[(at + 2) % model.size()]) + "0|";
                    std::cout << handed(list.inserirapos(element(at), k, t));
                }
                break;
            case 9:
                if (!model.empty()) {
                    want += take((at + 1) % model.size(), true);
                    std::cout << handed(list.removerapos(element(at)).get());
                }
                break;
            case 10: { // with a negative key, an element that is not in the circle
                node outside;
                bool const in_circle = k >= 0 && !model.empty();
                want += in_circle ? take(at, true) : "|";
                std::cout << handed(list.removerno(in_circle ? element(at) : &outside).get());
                break;
            }
            case 11: { // out and back, through a list that held an element, and onto itself
                ListaEnc moved(std::move(list)), other;
                other.inserir(k, t);
                other = std::move(moved);
                other = std::move(*&other);
                list = std::move(other);
                want += "11";
                std::cout << moved.isEmpty() << other.isEmpty();
            }
            }
        } catch (...) { // the message that the exception printed tells which one it is
            std::cout << "!";
        }
        std::cout << list.isEmpty() << list.tamanho() << "\n";
        list.ExibirLista();
        list.ExibirInfo();
        for (node& e : list) {
            e.display();
            e.displayinfo();
        }
        std::cout << listed(std::as_const(list))
                  << std::ranges::distance(list.begin(), std::as_const(list).end());
        want += std::to_string(!made) + std::to_string(model.size()) + "\n ";
        std::string texts = " ";
        for (std::size_t i = 0; i < model.size(); ++i) {
            want += std::to_string(model[i].key) + " ";
            texts += (demo ? "" : " " + std::to_string(i + 1) + ".") + model[i].info + " ";
        }
        return want + "\n" + texts + "\n" + listed(model) + listed(model) +
               std::to_string(model.size());
    }

    // The list's element at position `at`, reached by its iterator.
    node* element(std::size_t at) { return &*std::next(list.begin(), std::ptrdiff_t(at)); }

    // Takes the element at `at` (past the end: none) out of the model and
    // answers what handed() must say of what the list handed back.
    std::string take(std::size_t at, bool handed_back) {
        if (at >= model.size()) {
            return "|";
        }
        node const e = model[at];
        model.erase(model.begin() + std::ptrdiff_t(at));
        node const& next = model.empty() ? e : model[at % model.size()];
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
        std::ranges::generate(text, [&byte] { return "ab \0"[byte() % 4]; });
        printed.str("");
        std::string const want = differential.step(byte(), key, text);
        if (printed.str() != want) {
            std::cerr << "the list printed\n"
                      << printed.str() << "\nwhere its model says\n"
                      << want << "\non the input";
            std::for_each(end - size, end, [](unsigned b) { std::cerr << ' ' << b; });
            std::abort();
        }
    }
    std::cout.rdbuf(saved);
    return 0;
}

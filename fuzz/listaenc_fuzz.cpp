// SPDX-License-Identifier: MIT
// Differential test of the list: the input bytes are read as operations,
// each applied to a ListaEnc and to a vector that models it. What the list
// prints, with its answers beside it, must be what the model says: after
// every operation, its own output and its whole circle, counted by the list
// and walked by its iterators; every sixteenth operation and the last, both
// lines in which the list prints itself. A second list takes part in swap
// and splice_after. Built for libFuzzer, where a disagreement names the input
// and aborts; the test suite replays the same inputs through
// first_disagreement(), which says which operation it was and returns.
#include "listaenc_differential.h"
#include "listaenccircular.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <optional>
#include <ranges>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

static_assert(std::ranges::forward_range<ListaEnc> && std::ranges::forward_range<const ListaEnc>);

namespace {

// What is printed, seen without a copy.
struct Printed : std::stringbuf {
    std::string_view seen() const { return {pbase(), std::size_t(pptr() - pbase())}; }
};

std::ostream& operator<<(std::ostream& out, const node& e) {
    return out << e.key << ' ' << e.info << ' ';
}

struct Differential {
    ListaEnc list;
    std::vector<node> model; // their next unused
    bool made = false;       // the list has its header
    ListaEnc spare;          // a second list, for swap and splice_after
    std::vector<node> spare_model;
    bool spare_made = false;
    std::ostream want; // what the list must print

    // An iterator to the list's element at position `at`.
    auto nth(std::size_t at) { return std::next(list.begin(), std::ptrdiff_t(at)); }

    // Runs operation `op` on the list and on the model. The operations at an
    // element take its position from the key, and another bit of `op` picks
    // the name, std::forward_list's (fwd) or the list's own, of one that has
    // two.
    void step(unsigned op, int k, const std::string& t, bool all) {
        bool const fwd = op / 20 % 2;
        auto const with = [this](auto match) {
            return std::size_t(std::find_if(model.begin(), model.end(), match) - model.begin());
        };
        auto const key_at = [&] { return with([k](const node& e) { return e.key == k; }); };
        auto const text_at = [&] { return with([&t](const node& e) { return e.info == t; }); };
        std::size_t const at = model.empty() ? 0 : static_cast<std::size_t>(k) % model.size();
        constexpr std::string_view underflow = "A lista esta vazia\n!";
        try {
            switch (op % 20) {
            case 0:
            case 1:
                model.push_back({k, t, nullptr});
                made = true;
                want << 0;
                std::cout << list.inserir(k, t);
                break;
            case 2: { // the demo build releases what it removes, unless pop took it
                std::size_t const found = key_at();
                take(found, !listaenc_demo_build || (found == 0 && model.size() > 1));
                handed(list.remover(k).get());
                break;
            }
            case 3:
                take(text_at(), true);
                handed(list.removerinfo(t).get());
                break;
            case 4:
                model.empty() ? void(want << underflow) : take(0, true);
                handed(list.pop().get());
                break;
            case 5:
                model.clear();
                list.limpar();
                break;
            case 6: // prints "key\n", then " info\n" in the game build, and answers the key
                if (model.empty()) {
                    want << underflow;
                } else {
                    want << model[0].key << '\n'
                         << (listaenc_demo_build ? "" : " " + model[0].info + "\n") << model[0].key
                         << model[0].info;
                }
                std::cout << list.PrintFirst() << list.front().info; // front() only with elements
                break;
#ifndef LISTAENC_DEMO_BUILD
            case 7:
                want << (k >= 0 && std::size_t(k) < model.size()
                             ? model[std::size_t(k)].info
                             : "indice maior do que o tamanho da lista\n!");
                std::cout << list.GetNth(k)->info;
                break;
#endif
            case 8:
                if (!model.empty()) {
                    model.insert(model.begin() + std::ptrdiff_t(at) + 1, {k, t, nullptr});
                    want << model[at + 1] << model[(at + 2) % model.size()] << "0|";
                    handed(fwd ? &*list.insert_after(nth(at), k, t)
                               : list.inserirapos(&*nth(at), k, t));
                }
                break;
            case 9:
                if (!model.empty()) {
                    take((at + 1) % model.size(), true);
                    handed((fwd ? list.erase_after(nth(at)) : list.removerapos(&*nth(at))).get());
                }
                break;
            case 10: { // with a negative key, an element that is not in the circle
                node outside;
                bool const in_circle = k >= 0 && !model.empty();
                in_circle ? take(at, true) : void(want << '|');
                handed(list.removerno(in_circle ? &*nth(at) : &outside).get());
                break;
            }
            case 11: { // out and back, through a list that held an element, and onto itself
                ListaEnc moved(std::move(list)), other;
                other.inserir(k, t);
                other = std::move(moved);
                other = std::move(*&other);
                list = std::move(other);
                want << "11";
                std::cout << moved.isEmpty() << other.isEmpty();
                break;
            }
            case 12:
                want << (key_at() < model.size()) << (text_at() < model.size());
                std::cout << list.Busca(k) << list.BuscaInfo(t);
                break;
            case 13: // the spare list grows, or is emptied
                fwd ? spare.clear() : void(spare.inserir(k, t));
                fwd ? spare_model.clear() : spare_model.push_back({k, t, nullptr});
                spare_made = spare_made || !fwd;
                break;
            case 14:
                fwd ? list.swap(spare) : swap(list, spare);
                std::swap(model, spare_model), std::swap(made, spare_made);
                break;
            case 15:
            case 16: { // by key, or by text
                std::size_t const before = model.size();
                auto const gone = [&](const node& e) {
                    return op % 20 == 15 ? e.key == k : e.info == t;
                };
                model.erase(std::remove_if(model.begin(), model.end(), gone), model.end());
                want << before - model.size();
                std::cout << (op % 20 == 15 ? list.remove(k) : list.remove_if(gone));
                break;
            }
            case 17:
                list.reverse();
                std::reverse(model.begin(), model.end());
                break;
            case 18: { // by key, or by text from the last byte (stable either way)
                auto const by_text = [](const node& a, const node& b) {
                    return std::lexicographical_compare(a.info.rbegin(), a.info.rend(),
                                                        b.info.rbegin(), b.info.rend());
                };
                auto const by_key = [](const node& a, const node& b) { return a.key < b.key; };
                fwd ? list.sort(by_text) : list.sort();
                fwd ? std::stable_sort(model.begin(), model.end(), by_text)
                    : std::stable_sort(model.begin(), model.end(), by_key);
                break;
            }
            case 19: // all of the spare list, or an element of the list itself
                if (!model.empty() && fwd) {
                    model.insert(model.begin() + std::ptrdiff_t(at) + 1, spare_model.begin(),
                                 spare_model.end());
                    spare_model.clear();
                    list.splice_after(nth(at), spare);
                } else if (!model.empty()) {
                    std::size_t const it = t.size() % model.size();
                    std::size_t const moved = (it + 1) % model.size();
                    if (at != it && at != moved) {
                        node const e = model[moved];
                        model.erase(model.begin() + std::ptrdiff_t(moved));
                        model.insert(model.begin() + std::ptrdiff_t(at - (moved < at)) + 1, e);
                    }
                    list.splice_after(nth(at), list, nth(it));
                }
            }
        } catch (...) { // the message that the exception printed tells which one it is
            std::cout << "!";
        }
        auto const same = [](const node& a, const node& b) {
            return a.key == b.key && a.info == b.info;
        };
        const ListaEnc& seen = list; // walked by its const iterators
        std::cout << list.isEmpty() << list.empty() << list.tamanho() << list.size()
                  << std::equal(seen.begin(), seen.end(), model.begin(), model.end(), same) << '\n';
        want << !made << model.empty() << model.size() << model.size() << "1\n";
        if (all) {
            list.ExibirLista();
            list.ExibirInfo();
            std::ostringstream keys, texts;
            for (std::size_t i = 0; i < model.size(); ++i) {
                keys << model[i].key << ' ';
                (listaenc_demo_build ? texts : texts << ' ' << i + 1 << '.')
                    << model[i].info << ' ';
            }
            want << ' ' << keys.str() << "\n " << texts.str() << '\n';
        }
    }

    // Prints what a list handed out: the element, its successor, and whether
    // that is the element itself.
    static void handed(const node* got) {
        if (got) {
            std::cout << *got << *got->next << (got->next == got);
        }
        std::cout << '|';
    }

    // Takes the element at `at` (past the end: none) out of the model and
    // says what handed() must print of what the list handed back.
    void take(std::size_t at, bool handed_back) {
        if (at < model.size()) {
            node const e = model[at];
            model.erase(model.begin() + std::ptrdiff_t(at));
            if (handed_back) {
                want << e << (model.empty() ? e : model[at % model.size()]) << model.empty();
            }
        }
        want << '|';
    }
};

// What each operation of step() is, by its number.
constexpr const char* operation_names[20] = {
    "inserir", "inserir",      "remover",     "removerinfo", "pop",  "limpar",      "PrintFirst",
    "GetNth",  "insert_after", "erase_after", "removerno",   "move", "Busca",       "spare list",
    "swap",    "remove",       "remove_if",   "reverse",     "sort", "splice_after"};

} // namespace

std::optional<Disagreement> first_disagreement(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t* const end = data + size;
    auto byte = [&data, end]() -> unsigned { return data < end ? *data++ : 0; };
    static Printed printed;  // by the list, and
    static Printed expected; // by its model, each keeping its room
    std::streambuf* const saved = std::cout.rdbuf(&printed);
    struct Restored {
        std::streambuf* saved;
        ~Restored() { std::cout.rdbuf(saved); }
    } const restored{saved};
    Differential differential{{}, {}, false, {}, {}, false, std::ostream(&expected)};
    std::size_t steps = 0;
    while (data < end) {
        // Mostly small keys, so that they repeat, and sometimes a large one;
        // texts from a small alphabet, NUL included, mostly of up to three
        // bytes and sometimes of up to 40.
        unsigned const low = byte();
        int const key = low < 224 ? static_cast<int>(low % 8) - 2 : static_cast<int>(byte() << 24);
        unsigned const length = byte();
        std::string text(length < 192 ? length % 4 : length % 41, '\0');
        std::generate(text.begin(), text.end(), [&byte] { return "ab \0"[byte() % 4]; });
        printed.pubseekpos(0, std::ios::out);
        expected.pubseekpos(0, std::ios::out);
        unsigned const op = byte();
        differential.step(op, key, text, ++steps % 16 == 0 || data == end);
        if (printed.seen() != expected.seen()) {
            return Disagreement{steps - 1, operation_names[op % 20], std::string(printed.seen()),
                                std::string(expected.seen())};
        }
    }
    return std::nullopt;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (auto const found = first_disagreement(data, size)) {
        std::cerr << "operation " << found->operation << " (" << found->name
                  << "): the list printed\n"
                  << found->printed << "\nwhere its model says\n"
                  << found->expected << "\non the input";
        std::for_each(data, data + size, [](unsigned b) { std::cerr << ' ' << b; });
        std::cerr << '\n';
        std::abort();
    }
    return 0;
}

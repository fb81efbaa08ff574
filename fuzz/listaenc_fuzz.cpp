// Differential fuzzing of the list: the input is read as a sequence of list
// operations, applied both to a ListaEnc and to a plain vector that models
// it. After every operation the two must agree on size, order, contents,
// what was removed, what was printed and where an exception came.
#include "listaenccircular.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

void check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "list and model disagree: %s\n", what);
        std::abort();
    }
}

template <typename Exception, typename Action>
bool throws(Action action) {
    try {
        action();
    } catch (const Exception&) {
        return true;
    }
    return false;
}

struct Element {
    int key;
    std::string info;
    const node* address; // null until the list has shown where it lives
};

class Differential {
public:
    Differential() : saved_(std::cout.rdbuf(printed_.rdbuf())) {}
    ~Differential() { std::cout.rdbuf(saved_); }
    Differential(const Differential&) = delete;
    Differential& operator=(const Differential&) = delete;

    void run(FuzzedDataProvider& input) {
        for (int step = 0; step < 4000 && input.remaining_bytes() > 0; ++step) {
            apply(input);
            agree();
        }
    }

private:
    void apply(FuzzedDataProvider& input) {
        switch (input.ConsumeIntegralInRange(0, 12)) {
        case 0:
        case 1: {
            int const key = pick_key(input);
            std::string info = pick_text(input);
            if (model_.size() < 300) {
                check(list_.inserir(key, info) == 0, "inserir answers 0");
                model_.push_back({key, std::move(info), nullptr});
                has_header_ = true;
            }
            break;
        }
        case 2: {
            int const key = pick_key(input);
            auto const at = find([key](const Element& e) { return e.key == key; });
            bool const first_of_several = at == 0 && model_.size() > 1;
            std::unique_ptr<node> got = list_.remover(key);
            removed(std::move(got), at, !listaenc_demo_build || first_of_several);
            break;
        }
        case 3: {
            std::string const info = pick_text(input);
            auto const at = find([&info](const Element& e) { return e.info == info; });
            removed(list_.removerinfo(info), at, true);
            break;
        }
        case 4:
            removerno(input);
            break;
        case 5: {
            quiet();
            if (model_.empty()) {
                check(throws<ListUnderflowException>([this] { list_.pop(); }), "pop throws");
                check(printed_.str() == "A lista esta vazia\n", "pop's message");
            } else {
                removed(list_.pop(), 0, true);
            }
            break;
        }
        case 6:
            list_.limpar();
            model_.clear();
            break;
        case 7: {
            int const key = pick_key(input);
            check(list_.Busca(key) ==
                      (find([key](const Element& e) { return e.key == key; }) != npos),
                  "Busca");
            break;
        }
        case 8: {
            std::string const info = pick_text(input);
            bool const expected =
                find([&info](const Element& e) { return e.info == info; }) != npos;
            check(list_.BuscaInfo(info) == expected, "BuscaInfo");
            break;
        }
        case 9:
            print_first();
            break;
        case 10:
            get_nth(input.ConsumeIntegral<int>());
            break;
        case 11:
            get_nth(input.ConsumeIntegralInRange<int>(-1, static_cast<int>(model_.size())));
            break;
        default:
            // Forget an element that left the list; the rest are released
            // when the run ends.
            if (!graveyard_.empty()) {
                graveyard_.pop_front();
            }
            break;
        }
    }

    static int pick_key(FuzzedDataProvider& input) {
        return input.ConsumeBool() ? input.ConsumeIntegralInRange(-2, 5)
                                   : input.ConsumeIntegral<int>();
    }
    static std::string pick_text(FuzzedDataProvider& input) {
        return input.ConsumeRandomLengthString(12);
    }

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    template <typename Match>
    std::size_t find(Match match) const {
        auto const it = std::find_if(model_.begin(), model_.end(), match);
        return it == model_.end() ? npos : static_cast<std::size_t>(it - model_.begin());
    }

    void quiet() { printed_.str(""); }

    // Checks what a removal handed back against the model element at `at`
    // (npos: none matched), and takes that element out of the model.
    void removed(std::unique_ptr<node> got, std::size_t at, bool handed_back) {
        if (at == npos) {
            check(got == nullptr, "nothing to remove answers empty");
            return;
        }
        Element const gone = model_[at];
        model_.erase(model_.begin() + static_cast<std::ptrdiff_t>(at));
        if (!handed_back) {
            check(got == nullptr, "demo remover releases the element itself");
            return;
        }
        check(got != nullptr, "removal hands the element back");
        check(got->key == gone.key && got->info == gone.info, "the right element was removed");
        check(gone.address == nullptr || got.get() == gone.address, "the very element was removed");
        if (model_.empty()) {
            check(got->next == got.get(), "the only element keeps itself as next");
        } else {
            Element& successor = model_[at % model_.size()];
            check(got->next->key == successor.key && got->next->info == successor.info,
                  "an unlinked element keeps its successor");
            check(successor.address == nullptr || successor.address == got->next,
                  "the successor is the same element");
            successor.address = got->next;
        }
        graveyard_.push_back(std::move(got));
    }

    void removerno(FuzzedDataProvider& input) {
        std::vector<std::size_t> known;
        for (std::size_t i = 0; i < model_.size(); ++i) {
            if (model_[i].address != nullptr) {
                known.push_back(i);
            }
        }
        switch (input.ConsumeIntegralInRange(0, 2)) {
        case 0:
            if (!known.empty()) {
                std::size_t const at =
                    known[input.ConsumeIntegralInRange<std::size_t>(0, known.size() - 1)];
                removed(list_.removerno(model_[at].address), at, true);
                return;
            }
            break;
        case 1:
            if (!graveyard_.empty()) {
                check(list_.removerno(graveyard_.back().get()) == nullptr,
                      "an element out of the list is not removed");
                return;
            }
            break;
        default:
            break;
        }
        check(list_.removerno(nullptr) == nullptr, "removerno(nullptr) answers empty");
    }

    void print_first() {
        quiet();
        if (model_.empty()) {
            check(throws<ListUnderflowException>([this] { list_.PrintFirst(); }),
                  "PrintFirst throws");
            check(printed_.str() == "A lista esta vazia\n", "PrintFirst's message");
            return;
        }
        Element const& first = model_.front();
        check(list_.PrintFirst() == first.key, "PrintFirst answers the first key");
        std::string expected = std::to_string(first.key) + "\n";
        if (!listaenc_demo_build) {
            expected += " " + first.info + "\n";
        }
        check(printed_.str() == expected, "PrintFirst prints");
    }

    void get_nth([[maybe_unused]] int position) {
#ifndef LISTAENC_DEMO_BUILD
        quiet();
        if (position < 0 || static_cast<std::size_t>(position) >= model_.size()) {
            check(throws<OutOfBoundsException>([&] { list_.GetNth(position); }), "GetNth throws");
            check(printed_.str() == "indice maior do que o tamanho da lista\n", "GetNth's message");
            return;
        }
        Element& e = model_[static_cast<std::size_t>(position)];
        node* const got = list_.GetNth(position);
        check(got->key == e.key && got->info == e.info, "GetNth answers by position");
        check(e.address == nullptr || e.address == got, "GetNth answers the same element");
        e.address = got;
        check(printed_.str().empty(), "GetNth prints nothing");
#endif
    }

    // The list, printed and counted, against the model.
    void agree() {
        check(list_.isEmpty() == !has_header_, "isEmpty");
        check(list_.tamanho() == static_cast<int>(model_.size()), "tamanho");
        std::string keys = " ";
        std::string texts = " ";
        for (std::size_t i = 0; i < model_.size(); ++i) {
            keys += std::to_string(model_[i].key) + " ";
            if (!listaenc_demo_build) {
                texts += " " + std::to_string(i + 1) + ".";
            }
            texts += model_[i].info + " ";
        }
        quiet();
        list_.ExibirLista();
        check(printed_.str() == keys + "\n", "ExibirLista");
        quiet();
        list_.ExibirInfo();
        check(printed_.str() == texts + "\n", "ExibirInfo");
    }

    std::ostringstream printed_;
    std::streambuf* saved_;
    ListaEnc list_;
    bool has_header_ = false;
    std::vector<Element> model_;
    std::deque<std::unique_ptr<node>> graveyard_; // removed elements, kept alive for removerno
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    Differential differential;
    differential.run(input);
    return 0;
}

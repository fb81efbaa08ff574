// Differential fuzzing of the list: the input is read as a sequence of list
// operations, applied both to a ListaEnc and to a vector that models it.
// After every operation the two must agree on size, order, contents, what was
// removed (and its successor), what was printed and where an exception came.
#include "listaenccircular.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
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

struct Element {
    int key;
    std::string info;
};

class Differential {
public:
    Differential() : saved_(std::cout.rdbuf(printed_.rdbuf())) {}
    ~Differential() { std::cout.rdbuf(saved_); }
    Differential(const Differential&) = delete;
    Differential& operator=(const Differential&) = delete;

    void step(FuzzedDataProvider& in) {
        int const key =
            in.ConsumeBool() ? in.ConsumeIntegralInRange(-2, 5) : in.ConsumeIntegral<int>();
        std::string const text = in.ConsumeRandomLengthString(8);
        auto const with_key = find([key](const Element& e) { return e.key == key; });
        auto const with_text = find([&text](const Element& e) { return e.info == text; });
        printed_.str("");
        switch (in.ConsumeIntegralInRange(0, 9)) {
        case 0:
        case 1:
            check(list_.inserir(key, text) == 0, "inserir answers 0");
            model_.push_back({key, text});
            inserted_ = true;
            break;
        case 2: {
            bool const handed_back = !listaenc_demo_build || (with_key == 0 && model_.size() > 1);
            removed(list_.remover(key), with_key, handed_back);
            break;
        }
        case 3:
            removed(list_.removerinfo(text), with_text, true);
            break;
        case 4: // an element out of the list is left alone; one in it is taken
            if (!gone_.empty()) {
                check(list_.removerno(gone_.back().get()) == nullptr, "removerno of a stranger");
            }
#ifndef LISTAENC_DEMO_BUILD
            if (!model_.empty()) {
                std::size_t const at = in.ConsumeIntegralInRange<std::size_t>(0, model_.size() - 1);
                removed(list_.removerno(list_.GetNth(static_cast<int>(at))), at, true);
            }
#endif
            break;
        case 5:
            if (model_.empty()) {
                expect_throw<ListUnderflowException>([this] { list_.pop(); },
                                                     "A lista esta vazia\n");
            } else {
                removed(list_.pop(), 0, true);
            }
            break;
        case 6:
            list_.limpar();
            model_.clear();
            break;
        case 7:
            check(list_.Busca(key) == (with_key != npos), "Busca");
            check(list_.BuscaInfo(text) == (with_text != npos), "BuscaInfo");
            break;
        case 8:
            if (model_.empty()) {
                expect_throw<ListUnderflowException>([this] { list_.PrintFirst(); },
                                                     "A lista esta vazia\n");
            } else {
                check(list_.PrintFirst() == model_[0].key, "PrintFirst answers the first key");
                check(printed_.str() ==
                          std::to_string(model_[0].key) + "\n" +
                              (listaenc_demo_build ? "" : " " + model_[0].info + "\n"),
                      "PrintFirst prints");
            }
            break;
        default:
#ifndef LISTAENC_DEMO_BUILD
            if (key >= 0 && static_cast<std::size_t>(key) < model_.size()) {
                check(list_.GetNth(key)->info == model_[static_cast<std::size_t>(key)].info,
                      "GetNth");
            } else {
                expect_throw<OutOfBoundsException>([this, key] { list_.GetNth(key); },
                                                   "indice maior do que o tamanho da lista\n");
            }
#endif
            break;
        }
        agree();
    }

private:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    template <typename Match>
    std::size_t find(Match match) const {
        auto const it = std::find_if(model_.begin(), model_.end(), match);
        return it == model_.end() ? npos : static_cast<std::size_t>(it - model_.begin());
    }

    template <typename Exception, typename Action>
    void expect_throw(Action action, const std::string& message) {
        bool thrown = false;
        try {
            action();
        } catch (const Exception&) {
            thrown = true;
        }
        check(thrown && printed_.str() == message, "the exception and its message");
    }

    // Checks a removal against the model element at `at` (npos: no match)
    // and takes that element out of the model.
    void removed(std::unique_ptr<node> got, std::size_t at, bool handed_back) {
        if (at == npos) {
            check(got == nullptr, "nothing to remove answers empty");
            return;
        }
        Element const expected = model_[at];
        model_.erase(model_.begin() + static_cast<std::ptrdiff_t>(at));
        check((got != nullptr) == handed_back, "the element is handed back, or released");
        if (got == nullptr) {
            return;
        }
        check(got->key == expected.key && got->info == expected.info, "the removed element");
        if (model_.empty()) {
            check(got->next == got.get(), "the only element keeps itself as successor");
        } else {
            Element const& next = model_[at % model_.size()];
            check(got->next->key == next.key && got->next->info == next.info,
                  "an unlinked element keeps its successor");
        }
        gone_.push_back(std::move(got));
    }

    void agree() {
        std::string keys = " ";
        std::string texts = " ";
        for (std::size_t i = 0; i < model_.size(); ++i) {
            keys += std::to_string(model_[i].key) + " ";
            texts += (listaenc_demo_build ? "" : " " + std::to_string(i + 1) + ".") +
                     model_[i].info + " ";
        }
        check(list_.isEmpty() == !inserted_, "isEmpty");
        check(list_.tamanho() == static_cast<int>(model_.size()), "tamanho");
        printed_.str("");
        list_.ExibirLista();
        list_.ExibirInfo();
        check(printed_.str() == keys + "\n" + texts + "\n", "the printed circle");
    }

    std::ostringstream printed_;
    std::streambuf* saved_;
    ListaEnc list_;
    std::vector<Element> model_;
    bool inserted_ = false;
    std::vector<std::unique_ptr<node>> gone_; // removed elements, kept to ask removerno about
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    Differential differential;
    for (int steps = 0; steps < 2000 && in.remaining_bytes() > 0; ++steps) {
        differential.step(in);
    }
    return 0;
}

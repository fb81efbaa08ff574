// Compiled once against each build of the list; the expectations that differ
// between the builds are chosen with listaenc_demo_build. The differential
// fuzzer covers the operations at large; these are the cases to read.
#include "listaenccircular.h"

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <sstream>
#include <string>

namespace {

// Runs the action and answers what it printed on standard output.
std::string printed(const std::function<void()>& action) {
    std::ostringstream captured;
    std::streambuf* const saved = std::cout.rdbuf(captured.rdbuf());
    try {
        action();
    } catch (...) {
        std::cout.rdbuf(saved);
        throw;
    }
    std::cout.rdbuf(saved);
    return captured.str();
}

std::string keys(const ListaEnc& list) {
    return printed([&] { list.ExibirLista(); });
}

TEST(ListaEnc, OperationsWithoutElementsAnswerSoundly) {
    ListaEnc never_filled;
    ListaEnc emptied;
    emptied.inserir(1, "x");
    emptied.limpar();
    for (ListaEnc* list : {&never_filled, &emptied}) {
        EXPECT_EQ(list->tamanho(), 0);
        EXPECT_FALSE(list->Busca(1));
        EXPECT_FALSE(list->BuscaInfo("x"));
        EXPECT_EQ(keys(*list), " \n");
        EXPECT_EQ(printed([&] { list->ExibirInfo(); }), " \n");
        EXPECT_EQ(list->remover(1), nullptr);
        EXPECT_EQ(list->removerinfo("x"), nullptr);
        list->limpar();
        for (auto action : {std::function<void()>([&] { list->pop(); }),
                            std::function<void()>([&] { list->PrintFirst(); })}) {
            EXPECT_EQ(printed([&] { EXPECT_THROW(action(), ListUnderflowException); }),
                      "A lista esta vazia\n");
        }
    }
    EXPECT_TRUE(never_filled.isEmpty());
    EXPECT_FALSE(emptied.isEmpty()); // the header stays
}

TEST(ListaEnc, RemovalsKeepTheCircleAndHandBackTheElement) {
    ListaEnc list;
    for (int key : {10, 30, 20, 13, 53, 20}) {
        list.inserir(key, " ");
    }
    std::unique_ptr<node> const thirty = list.remover(30);
    EXPECT_EQ(thirty == nullptr, listaenc_demo_build);  // the demo build releases it
    std::unique_ptr<node> const ten = list.remover(10); // the first: both builds hand it back
    ASSERT_NE(ten, nullptr);
    EXPECT_EQ(ten->next->key, 20);
    EXPECT_EQ(keys(list), " 20 13 53 20 \n");
    EXPECT_EQ(list.removerinfo(" ")->key, 20);
    std::unique_ptr<node> const last = list.remover(20);
    ASSERT_EQ(last == nullptr, listaenc_demo_build);
    EXPECT_EQ(keys(list), " 13 53 \n");
    EXPECT_EQ(list.pop()->next->key, 53);
    std::unique_ptr<node> const only = list.pop();
    EXPECT_EQ(only->next, only.get());
    EXPECT_FALSE(list.isEmpty());
}

TEST(ListaEnc, RemovernoTakesTheGivenElementNotItsFirstNamesake) {
    ListaEnc list;
    for (const char* name : {"ana", "bia", "ana", "caio"}) {
        list.inserir(0, name);
    }
    node* const later_ana = list.removerinfo("bia")->next;
    std::unique_ptr<node> const taken = list.removerno(later_ana);
    ASSERT_EQ(taken.get(), later_ana);
    EXPECT_EQ(taken->next->info, "caio");
    EXPECT_EQ(list.removerno(taken.get()), nullptr);
    EXPECT_EQ(list.tamanho(), 2);
}

TEST(ListaEnc, PrintingDependsOnTheBuild) {
    ListaEnc list;
    list.inserir(7, "alfa");
    list.inserir(8, "beta");
    EXPECT_EQ(printed([&] { EXPECT_EQ(list.PrintFirst(), 7); }),
              listaenc_demo_build ? "7\n" : "7\n alfa\n");
    EXPECT_EQ(printed([&] { list.ExibirInfo(); }),
              listaenc_demo_build ? " alfa beta \n" : "  1.alfa  2.beta \n");
    std::unique_ptr<node> const first = list.pop();
    EXPECT_EQ(printed([&] {
                  first->display();
                  first->displayinfo();
              }),
              "7 alfa ");
}

#ifndef LISTAENC_DEMO_BUILD
TEST(ListaEnc, GetNthAnswersInsideTheCircleOnly) {
    ListaEnc list;
    EXPECT_THROW(printed([&] { list.GetNth(0); }), OutOfBoundsException);
    list.inserir(10, "a");
    list.inserir(20, "b");
    EXPECT_EQ(list.GetNth(1)->key, 20);
    for (int position : {2, -1, -2147483647 - 1}) {
        EXPECT_EQ(printed([&] { EXPECT_THROW(list.GetNth(position), OutOfBoundsException); }),
                  "indice maior do que o tamanho da lista\n");
    }
}
#endif

} // namespace

// Compiled once against each build of the list; the expectations that differ
// between the builds are chosen with listaenc_demo_build.
#include "listaenccircular.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
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

std::string keys_of(const ListaEnc& list) {
    return printed([&] { list.ExibirLista(); });
}

class ListaEncTest : public ::testing::Test {
protected:
    void insert_keys(std::initializer_list<int> keys) {
        for (int key : keys) {
            EXPECT_EQ(list.inserir(key, " "), 0);
        }
    }
    void insert_texts(std::initializer_list<const char*> texts) {
        for (const char* text : texts) {
            EXPECT_EQ(list.inserir(0, text), 0);
        }
    }
    ListaEnc list;
};

TEST_F(ListaEncTest, FirstInsertionMakesOneElementLinkedToItself) {
    EXPECT_TRUE(list.isEmpty());
    list.inserir(7, "alfa");
    EXPECT_FALSE(list.isEmpty());
    EXPECT_EQ(list.tamanho(), 1);
    EXPECT_EQ(keys_of(list), " 7 \n");
    std::unique_ptr<node> only = list.pop();
    EXPECT_EQ(only->next, only.get());
}

TEST_F(ListaEncTest, InsertionKeepsOrderAndDuplicates) {
    insert_keys({10, 30, 20, 13, 53, 20});
    EXPECT_EQ(list.tamanho(), 6);
    EXPECT_EQ(keys_of(list), " 10 30 20 13 53 20 \n");
}

TEST_F(ListaEncTest, SearchesCompareKeysAndTextsExactly) {
    list.inserir(10, "alfa");
    list.inserir(-3, "beta");
    list.inserir(10, "alfa");
    struct Case {
        int key;
        std::string text;
        bool found;
    };
    for (const Case& c : {Case{10, "alfa", true}, Case{-3, "beta", true}, Case{4, "Alfa", false},
                          Case{0, "alfa ", false}, Case{0, "", false}}) {
        EXPECT_EQ(list.Busca(c.key), c.found) << c.key;
        EXPECT_EQ(list.BuscaInfo(c.text), c.found) << c.text;
    }
}

TEST_F(ListaEncTest, NamesKeepEveryByte) {
    std::string const odd("a\0b\xff\r", 5);
    list.inserir(0, odd);
    EXPECT_TRUE(list.BuscaInfo(odd));
    EXPECT_FALSE(list.BuscaInfo("a"));
    EXPECT_EQ(list.pop()->info, odd);
}

TEST_F(ListaEncTest, LimparEmptiesTheListButKeepsItsHeader) {
    insert_texts({"alfa", "beta", "gama"});
    list.limpar();
    EXPECT_FALSE(list.isEmpty());
    EXPECT_EQ(list.tamanho(), 0);
    EXPECT_FALSE(list.Busca(0));
    EXPECT_FALSE(list.BuscaInfo("alfa"));
    list.inserir(5, "delta");
    EXPECT_EQ(list.tamanho(), 1);
    EXPECT_EQ(keys_of(list), " 5 \n");
}

// Every operation answers soundly outside its usual precondition, both on a
// list that never had an element and on one that was emptied.
TEST_F(ListaEncTest, OperationsWithoutElementsAreSafe) {
    ListaEnc emptied;
    emptied.inserir(1, "x");
    emptied.pop();
    for (ListaEnc* l : {&list, &emptied}) {
        EXPECT_EQ(l->tamanho(), 0);
        EXPECT_FALSE(l->Busca(0));
        EXPECT_FALSE(l->BuscaInfo(""));
        EXPECT_EQ(printed([&] { l->ExibirLista(); }), " \n");
        EXPECT_EQ(printed([&] { l->ExibirInfo(); }), " \n");
        EXPECT_EQ(l->remover(0), nullptr);
        EXPECT_EQ(l->removerinfo(""), nullptr);
        EXPECT_EQ(l->removerno(nullptr), nullptr);
        l->limpar();
        EXPECT_EQ(printed([&] { EXPECT_THROW(l->pop(), ListUnderflowException); }),
                  "A lista esta vazia\n");
        EXPECT_EQ(printed([&] { EXPECT_THROW(l->PrintFirst(), ListUnderflowException); }),
                  "A lista esta vazia\n");
    }
    EXPECT_TRUE(list.isEmpty());
    EXPECT_FALSE(emptied.isEmpty());
}

TEST_F(ListaEncTest, PrintFirstPrintsTheFirstElement) {
    list.inserir(10, "alfa");
    list.inserir(30, "beta");
    int key = -1;
    std::string const out = printed([&] { key = list.PrintFirst(); });
    EXPECT_EQ(key, 10);
    EXPECT_EQ(out, listaenc_demo_build ? "10\n" : "10\n alfa\n");
}

TEST_F(ListaEncTest, ExibirInfoPrintsTheTexts) {
    insert_texts({"alfa", "beta", "gama"});
    EXPECT_EQ(printed([&] { list.ExibirInfo(); }),
              listaenc_demo_build ? " alfa beta gama \n" : "  1.alfa  2.beta  3.gama \n");
}

TEST_F(ListaEncTest, NodePrintsItselfWithoutEndOfLine) {
    node n;
    n.key = -42;
    n.info = "alfa";
    EXPECT_EQ(printed([&] { n.display(); }), "-42 ");
    EXPECT_EQ(printed([&] { n.displayinfo(); }), "alfa ");
}

TEST_F(ListaEncTest, RemovalsKeepTheCircleClosed) {
    insert_keys({10, 30, 20, 13, 53, 20});
    std::unique_ptr<node> const middle = list.remover(30);
    EXPECT_EQ(keys_of(list), " 10 20 13 53 20 \n");
    EXPECT_EQ(list.tamanho(), 5);
    if (listaenc_demo_build) {
        EXPECT_EQ(middle, nullptr);
    } else {
        ASSERT_NE(middle, nullptr);
        EXPECT_EQ(middle->key, 30);
    }
    std::unique_ptr<node> const first = list.remover(10);
    ASSERT_NE(first, nullptr); // the first of several is handed back in both builds
    EXPECT_EQ(first->key, 10);
    EXPECT_EQ(keys_of(list), " 20 13 53 20 \n");
    std::unique_ptr<node> const popped = list.pop();
    EXPECT_EQ(popped->key, 20);
    EXPECT_EQ(popped->next->key, 13);
    EXPECT_EQ(keys_of(list), " 13 53 20 \n");
}

TEST_F(ListaEncTest, RemoverTakesOnlyTheFirstMatch) {
    insert_keys({10, 20, 13, 53, 20});
    list.remover(20);
    EXPECT_EQ(keys_of(list), " 10 13 53 20 \n");
    list.remover(20);
    EXPECT_EQ(keys_of(list), " 10 13 53 \n");
}

TEST_F(ListaEncTest, RemovalOfAnAbsentKeyOrTextChangesNothing) {
    list.inserir(10, "alfa");
    list.inserir(30, "beta");
    EXPECT_EQ(list.remover(99), nullptr);
    EXPECT_EQ(list.removerinfo("Alfa"), nullptr);
    EXPECT_EQ(keys_of(list), " 10 30 \n");
}

TEST_F(ListaEncTest, RemovingTheOnlyElementEmptiesTheList) {
    list.inserir(5, "alfa");
    std::unique_ptr<node> const removed = list.remover(5);
    if (listaenc_demo_build) {
        EXPECT_EQ(removed, nullptr);
    } else {
        ASSERT_NE(removed, nullptr);
        EXPECT_EQ(removed->next, removed.get());
    }
    EXPECT_FALSE(list.isEmpty());
    EXPECT_EQ(list.tamanho(), 0);
    list.inserir(6, "beta");
    EXPECT_EQ(keys_of(list), " 6 \n");
}

TEST_F(ListaEncTest, UnlinkedElementKeepsItsSuccessor) {
    insert_texts({"alfa", "beta", "gama"});
    std::unique_ptr<node> const beta = list.removerinfo("beta");
    ASSERT_NE(beta, nullptr);
    EXPECT_EQ(beta->next->info, "gama");
    std::unique_ptr<node> const gama = list.removerinfo("gama");
    ASSERT_NE(gama, nullptr);
    EXPECT_EQ(gama->next->info, "alfa");
    std::unique_ptr<node> const alfa = list.pop();
    EXPECT_EQ(alfa->next, alfa.get());
}

TEST_F(ListaEncTest, RemoverinfoReachesTheLastElement) {
    insert_texts({"alfa", "beta", "gama"});
    std::unique_ptr<node> const gama = list.removerinfo("gama");
    ASSERT_NE(gama, nullptr);
    list.inserir(0, "delta");
    EXPECT_EQ(printed([&] { list.ExibirInfo(); }),
              listaenc_demo_build ? " alfa beta delta \n" : "  1.alfa  2.beta  3.delta \n");
}

TEST_F(ListaEncTest, RemovernoTakesExactlyTheGivenElement) {
    insert_texts({"ana", "bia", "ana", "caio"});
    std::unique_ptr<node> const first_ana = list.pop();
    list.inserir(0, "ana");
    // The circle is bia, ana, caio, ana: reach the later ana through caio.
    std::unique_ptr<node> const later = list.removerinfo("caio");
    ASSERT_NE(later, nullptr);
    node* const last_ana = later->next;
    std::unique_ptr<node> const taken = list.removerno(last_ana);
    ASSERT_EQ(taken.get(), last_ana);
    EXPECT_EQ(taken->next->info, "bia");
    EXPECT_EQ(printed([&] { list.ExibirInfo(); }),
              listaenc_demo_build ? " bia ana \n" : "  1.bia  2.ana \n");
    EXPECT_EQ(list.removerno(first_ana.get()), nullptr);
    EXPECT_EQ(list.removerno(taken.get()), nullptr);
    EXPECT_EQ(list.tamanho(), 2);
}

TEST_F(ListaEncTest, RemovernoMovesTheFirstElementOn) {
    insert_texts({"alfa", "beta"});
    node* const next_first = list.pop()->next;
    list.inserir(0, "gama");
    std::unique_ptr<node> const beta = list.removerno(next_first);
    ASSERT_NE(beta, nullptr);
    EXPECT_EQ(beta->info, "beta");
    EXPECT_EQ(printed([&] { list.ExibirInfo(); }),
              listaenc_demo_build ? " gama \n" : "  1.gama \n");
}

#ifndef LISTAENC_DEMO_BUILD
TEST_F(ListaEncTest, GetNthAnswersByPositionAndRefusesTheRest) {
    insert_keys({10, 20, 30});
    for (auto [position, key] : {std::pair{0, 10}, {1, 20}, {2, 30}}) {
        EXPECT_EQ(list.GetNth(position)->key, key);
    }
    for (int position : {3, 4, -1, -2147483647 - 1, 2147483647}) {
        EXPECT_EQ(printed([&] { EXPECT_THROW(list.GetNth(position), OutOfBoundsException); }),
                  "indice maior do que o tamanho da lista\n")
            << position;
    }
    EXPECT_EQ(keys_of(list), " 10 20 30 \n");
}

TEST_F(ListaEncTest, GetNthWithoutElementsThrows) {
    EXPECT_THROW(printed([&] { list.GetNth(0); }), OutOfBoundsException);
    list.inserir(1, "x");
    EXPECT_EQ(list.GetNth(0)->key, 1);
    EXPECT_THROW(printed([&] { list.GetNth(1); }), OutOfBoundsException);
    list.limpar();
    EXPECT_THROW(printed([&] { list.GetNth(0); }), OutOfBoundsException);
}
#endif

} // namespace

// Running out of memory inside inserir, whichever of its allocations fails:
// the message on standard error, then an abort (this build may have NDEBUG).
#include "listaenccircular.h"

#include <gtest/gtest.h>

#include <csignal>

extern int allocations_left; // failing_new.cpp: below zero, no limit

namespace {

TEST(ListaEncDeathTest, AllocationFailureInInserirAborts) {
    // {elements already in the list, allocation of inserir that fails}:
    // the element, the header of a first insertion, the element of a later one.
    for (auto [before, failing] : {std::pair{0, 0}, {0, 1}, {2, 0}}) {
        auto insert = [before = before, failing = failing] {
            ListaEnc list;
            for (int i = 0; i < before; ++i) {
                list.inserir(i, "x");
            }
            allocations_left = failing;
            list.inserir(before, "x");
        };
        EXPECT_EXIT(insert(), testing::KilledBySignal(SIGABRT),
                    "Erro durante alocacao da area de armazenamento!");
    }
}

} // namespace

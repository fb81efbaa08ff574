// Running out of memory inside inserir: the message on standard error, then
// an abort, whatever allocation fails.
#include "listaenccircular.h"

#include <gtest/gtest.h>

#include <csignal>

// How many more allocations succeed; below zero, all of them (failing_new.cpp).
extern int allocations_left;

namespace {

constexpr const char* message =
    "\\[listaenc::inserir\\(int\\)\\]: Erro durante alocacao da area de "
    "armazenamento!";

// Inserts `before` elements, then fails the allocation numbered `failing`
// (from 0) of the next insertion.
void insert_failing(int before, int failing) {
    ListaEnc list;
    for (int i = 0; i < before; ++i) {
        list.inserir(i, "a text longer than any small-string buffer");
    }
    allocations_left = failing;
    list.inserir(before, "x");
    allocations_left = -1;
}

TEST(AllocationFailureDeathTest, ElementOfTheFirstInsertion) {
    EXPECT_EXIT(insert_failing(0, 0), testing::KilledBySignal(SIGABRT), message);
}

TEST(AllocationFailureDeathTest, HeaderOfTheFirstInsertion) {
    EXPECT_EXIT(insert_failing(0, 1), testing::KilledBySignal(SIGABRT), message);
}

TEST(AllocationFailureDeathTest, ElementOfALaterInsertion) {
    EXPECT_EXIT(insert_failing(3, 0), testing::KilledBySignal(SIGABRT), message);
}

TEST(AllocationFailureDeathTest, NothingFailsWhenMemoryIsThere) {
    insert_failing(2, 2);
    SUCCEED();
}

} // namespace

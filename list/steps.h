// SPDX-License-Identifier: MIT
// How the operations of listaenccircular.cpp read (for that file alone, not
// installed): each statement that moves a cursor, tests an element, changes a
// link, makes, hands over or releases a node is a step, written as what it
// does. In the traced build each step also tells the list's observer, in the
// code's own words; without it, each is the statement alone. And the checks
// of the checked mode, not even compiled without it.
#ifndef LISTAENC_STEPS_H
#define LISTAENC_STEPS_H

#include "listaenccircular.h"
#include "printing.h"

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <utility>

// Running out of memory for an element is reported through an assertion in
// every build, so these assertions stay where NDEBUG is defined.
#undef NDEBUG
#include <cassert>

// Checks a requirement of the operation in the checked mode, and keeps what
// it needs; without it, neither is even compiled.
#ifdef LISTAENC_ASSERTIONS
#define LISTAENC_REQUIRE(check) check
#define LISTAENC_CHECKED(statement) statement
#else
#define LISTAENC_REQUIRE(check) static_cast<void>(0)
#define LISTAENC_CHECKED(statement) static_cast<void>(0)
#endif

#ifdef LISTAENC_TRACE
// The operation that the caller called: the call step now, done at its end.
#define CALL(operation) Call const call(*this, operation, __func__)
// The same, for the other list that an operation changes.
#define CALL_ON(list, operation) Call const call_on(list, operation, __func__)
// A helper of the operation: its enter step now, its leave step at its end.
#define ENTER(helper) Frame const frame(*this, helper, __LINE__)
// A step is told only while an observed operation is under way, which one
// test of the list says: a list with no observer pays that test alone.
#define TELL(kind, name, code, ...)                                                                \
    (operation_ != nullptr ? tell(Step::Kind::kind, name, code, __LINE__, __VA_ARGS__) : void())
// Whether `test` holds of the element where `cursor` stands.
#define TEST(cursor, test) TEST_WORDS(cursor, test, #test)
#define TEST_WORDS(cursor, test, words)                                                            \
    (operation_ != nullptr ? tested(Step::Kind::compare, #cursor, words, __LINE__, cursor, test)   \
                           : (test))
// Whether `test`, which ends a walk or a loop or picks a branch, holds, with
// the cursor it is about; CHECK_IF when it is about none.
#define CHECK(cursor, condition)                                                                   \
    (operation_ != nullptr                                                                         \
         ? tested(Step::Kind::test, #cursor, #condition, __LINE__, cursor, condition)              \
         : (condition))
#define CHECK_IF(condition)                                                                        \
    (operation_ != nullptr                                                                         \
         ? tested(Step::Kind::test, "", #condition, __LINE__, nullptr, condition)                  \
         : (condition))
// The line just written, as the operation printed it.
#define PRINTED(line)                                                                              \
    (operation_ != nullptr ? told("", #line ".write()", __LINE__, line.text()) : void())
// Makes the exception, which prints its line, tells that line, and throws it.
#define RAISE(Exception)                                                                           \
    do {                                                                                           \
        Exception made;                                                                            \
        if (operation_ != nullptr) {                                                               \
            told("", "throw " #Exception "()", __LINE__, line_of<Exception>);                      \
        }                                                                                          \
        throw made;                                                                                \
    } while (false)
#else
#define CALL(operation) static_cast<void>(0)
#define CALL_ON(list, operation) static_cast<void>(0)
#define ENTER(helper) static_cast<void>(0)
#define TELL(kind, name, code, ...) static_cast<void>(0)
#define TEST(cursor, test) (test)
#define TEST_WORDS(cursor, test, words) (test)
#define CHECK(cursor, condition) (condition)
#define CHECK_IF(condition) (condition)
#define PRINTED(line) static_cast<void>(0)
#define RAISE(Exception) throw Exception()
#endif
// A query that the observer makes during a step walks only the elements
// reached from the first, each once, however the links stand then.
#ifdef LISTAENC_TRACE
#define FROM_OBSERVER(statement)                                                                   \
    if (telling_) {                                                                                \
        statement;                                                                                 \
    }
#define WALK_LIMIT int left_ = telling_ ? reach() : 0
#define WALKED() (telling_ && --left_ == 0)
#else
#define FROM_OBSERVER(statement) static_cast<void>(0)
#define WALK_LIMIT static_cast<void>(0)
#define WALKED() false
#endif
// A cursor moves onto an element: `cursor = to`.
#define STEP_ON(cursor, to) ((cursor) = (to), TELL(visit, #cursor, #cursor " = " #to, cursor))
// A local of the operation, declared on an element: `node* var = to`.
#define LET(var, to)                                                                               \
    node* const var = (to);                                                                        \
    TELL(declare, #var, "node* " #var " = " #to, var)
// `element->next = to`, or `head = to`: the one primitive changes the link.
#define LINK(element, to) link(element, to, #element "->next", #element "->next = " #to, __LINE__)
#define LINK_HEAD(to) link(nullptr, to, "head", "head = " #to, __LINE__)
// A new node, made with no memory but its own; the operation's assertion
// reports a failure.
#define MAKE(var, key, info)                                                                       \
    (keep_reserve(), var = make_node(key, std::move(info)), assert(allocated(var)),                \
     TELL(make, #var, #var " = new node{" #key ", " #info "}", var))
// An element out of the circle goes to the caller, or is released.
#define HAND_OVER(var) hand_over(var, #var, "return " #var, __LINE__)
#define RELEASE(var) (TELL(release, #var, "delete " #var, var), delete (var))
// A test of the element at the cursor `atual`, with its words.
#define MATCH(test) [&](const node* atual) { return test; }, #test

namespace {

// The line that making each exception prints.
template <typename Exception>
constexpr std::string_view line_of = "";
template <>
[[maybe_unused]] constexpr std::string_view line_of<ListUnderflowException> =
    "A lista esta vazia\n";
#ifndef LISTAENC_DEMO_BUILD
template <>
[[maybe_unused]] constexpr std::string_view line_of<OutOfBoundsException> =
    "indice maior do que o tamanho da lista\n";
#endif

// Memory kept for the C library to format its assertion report in, once an
// element could not be made: it is given back just before the assertion.
std::atomic<void*> reserve{nullptr};

// Keeps memory aside for the report of the assertion that a failed
// allocation of an element ends in. Every list's first element is made after
// this, so the header's insertions after an element find it kept.
void keep_reserve() noexcept {
    if (reserve.load(std::memory_order_relaxed) == nullptr) {
        void* const spare = std::malloc(4096);
        void* none = nullptr;
        if (!reserve.compare_exchange_strong(none, spare)) { // another thread kept one
            std::free(spare);
        }
    }
}

// Answers whether `element` was made. When it was not, writes the
// allocation-failure message first, for the report of the failed assertion
// in the operation that called for it.
bool allocated(const node* element) noexcept {
    if (element == nullptr) {
        std::free(reserve.exchange(nullptr));
        report(allocation_failure_message);
    }
    return element != nullptr;
}

} // namespace

#endif

// SPDX-License-Identifier: MIT
#include "listaenccircular.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <new>
#include <utility>

// Running out of memory for an element is reported through an assertion in
// every build, so this file keeps its assertions where NDEBUG is defined.
#undef NDEBUG
#include <cassert>

// Checks a requirement of the operation in the checked mode; without it, the
// check is not even compiled.
#ifdef LISTAENC_ASSERTIONS
#define LISTAENC_REQUIRE(check) check
#else
#define LISTAENC_REQUIRE(check) static_cast<void>(0)
#endif

// The steps of an operation, written as what they do. In the traced build
// each also tells the list's observer, in the code's own words; without it,
// each is the statement alone.
#ifdef LISTAENC_TRACE
// The operation that the caller called: the call step now, done at its end.
#define CALL(operation) Call const call(*this, operation)
#define TELL(kind, name, code, ...) tell(Step::Kind::kind, name, code, __VA_ARGS__)
// Whether `test` holds of the element where `cursor` stands.
#define TEST(cursor, test) tested(#cursor, #test, cursor, test)
#define TEST_WORDS(cursor, test, words) tested(#cursor, words, cursor, test)
#else
#define CALL(operation) static_cast<void>(0)
#define TELL(kind, name, code, ...) static_cast<void>(0)
#define TEST(cursor, test) (test)
#define TEST_WORDS(cursor, test, words) (test)
#endif
// A cursor moves onto an element: `cursor = to`.
#define STEP_ON(cursor, to) ((cursor) = (to), TELL(visit, #cursor, #cursor " = " #to, cursor))
// `element->next = to`, or `head = to`: the one primitive changes the link.
#define LINK(element, to) link(element, to, #element "->next", #element "->next = " #to)
#define LINK_HEAD(to) link(nullptr, to, "head", "head = " #to)
// A new node, made with no memory but its own; the operation's assertion
// reports a failure.
#define MAKE(var, key, info)                                                                       \
    (var = new_node(key, std::move(info)), assert(allocated(var)),                                 \
     TELL(make, #var, #var " = new node{" #key ", " #info "}", var))
// An element out of the circle goes to the caller, or is released.
#define HAND_OVER(var) hand_over(var, #var, "return " #var)
#define RELEASE(var) (TELL(release, #var, "delete " #var, var), delete (var))
// A test of the element at the cursor `atual`, with its words.
#define MATCH(test) [&](const node* atual) { return test; }, #test

namespace {

// The size of the last line of this thread that was too long for the buffer
// it holds in itself. The next such line allocates that much at once, so that
// a long circle printed again and again takes one allocation a line and no
// copy, while one huge line costs the lines after it only once. It is plain
// data: a line owns its buffer, and nothing is left to free when the thread
// ends.
thread_local std::size_t line_size = 0;

// Memory kept for the C library to format its assertion report in, once an
// element could not be made: it is given back just before the assertion.
std::atomic<void*> reserve{nullptr};

// Copies `text` to `at` and answers where the copy ends. A short text, the
// common case in a roster, goes in two copies of a fixed size, which overlap
// when the text is shorter than both together, rather than in a library call.
[[gnu::always_inline]] inline char* copy_text(char* at, std::string_view text) {
    std::size_t const size = text.size();
    const char* const from = text.data();
    if (size > 16) {
        return std::copy(text.begin(), text.end(), at);
    }
    if (size >= 8) {
        std::memcpy(at, from, 8);
        std::memcpy(at + size - 8, from + size - 8, 8);
    } else if (size >= 4) {
        std::memcpy(at, from, 4);
        std::memcpy(at + size - 4, from + size - 4, 4);
    } else if (size > 0) {
        at[0] = from[0];
        at[size / 2] = from[size / 2];
        at[size - 1] = from[size - 1];
    }
    return at + size;
}

// One line of output, formatted in place in a buffer of its own, then written
// to standard output with one call and flushed. A short line needs no memory
// but its own.
class Line {
public:
    Line() = default;
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;

    // Answers where the next `size` bytes go; advance() takes them.
    char* room(std::size_t size) {
        if (static_cast<std::size_t>(limit_ - end_) < size) {
            grow(size);
        }
        return end_;
    }
    void advance(char* end) { end_ = end; }

    Line& operator<<(std::string_view text) {
        advance(copy_text(room(text.size()), text));
        return *this;
    }
    Line& operator<<(int value) {
        constexpr std::size_t most = 11; // "-2147483648"
        char* const at = room(most);
        advance(std::to_chars(at, at + most, value).ptr);
        return *this;
    }

    // Ends the line: a newline, one write, then the flush.
    void write() {
        *this << "\n";
        put();
        std::cout.flush();
        if (allocated_) {
            line_size = static_cast<std::size_t>(end_ - begin_);
        }
    }
    // Writes what the line holds with one call, as it stands.
    void put() const { std::cout.write(begin_, end_ - begin_); }

private:
    void grow(std::size_t size) {
        auto const used = static_cast<std::size_t>(end_ - begin_);
        auto const held = static_cast<std::size_t>(limit_ - begin_);
        std::size_t const larger = std::max({line_size, 2 * held, used + size});
        std::unique_ptr<char[]> bigger(new char[larger]);
        std::copy(begin_, end_, bigger.get());
        allocated_ = std::move(bigger);
        begin_ = allocated_.get();
        end_ = begin_ + used;
        limit_ = begin_ + larger;
    }

    char short_line_[128];
    std::unique_ptr<char[]> allocated_;
    char* begin_ = short_line_;
    char* end_ = short_line_;                        // of what the line holds so far
    char* limit_ = short_line_ + sizeof short_line_; // of the room it has
};

// The positions " 1.", " 2.", " 3."... of a numbered line, counted as decimal
// text rather than converted from binary for each element of a long circle.
// The last digit is kept apart, so that the text before it changes only once
// in ten positions.
class Position {
public:
    // Bytes that next() may write; a position takes 12 at most (" 2147483647.").
    static constexpr std::size_t room = 16;

    // Writes the next position at `at` and answers where it ends.
    char* next(char* at) {
        if (++last_ > '9') {
            last_ = '0';
            raise_tens();
        }
        std::memcpy(at, tens_, room);
        at += tens_size_;
        *at++ = last_;
        *at++ = '.';
        return at;
    }

private:
    void raise_tens() {
        char* digit = tens_ + tens_size_ - 1;
        while (digit != tens_ && *digit == '9') {
            *digit-- = '0';
        }
        if (digit == tens_) { // past 9, 99, ...: one digit more
            tens_[tens_size_++] = '0';
            ++digit;
        }
        ++*digit;
    }

    char tens_[room] = " "; // a space, then the digits before the last one
    std::size_t tens_size_ = 1;
    char last_ = '0';
};

// Makes an element in memory of its own, with no new-handler, or answers
// null when there is none.
node* new_node(int key, std::string&& info) noexcept {
    if (reserve.load(std::memory_order_relaxed) == nullptr) {
        void* const spare = std::malloc(4096);
        void* none = nullptr;
        if (!reserve.compare_exchange_strong(none, spare)) { // another thread kept one
            std::free(spare);
        }
    }
    void* const memory = std::malloc(sizeof(node));
    if (memory == nullptr) {
        return nullptr;
    }
    return ::new (memory) node{key, std::move(info), nullptr};
}

// Writes `text` on standard error with one call, just before the process
// aborts.
void report(std::string_view text) noexcept {
    try {
        std::cerr.write(text.data(), static_cast<std::streamsize>(text.size()));
        std::cerr.flush();
    } catch (...) { // the abort follows all the same
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

void node::display() const { (Line() << key << " ").put(); }

void node::displayinfo() const { (Line() << info << " ").put(); }

void* node::operator new(std::size_t size) {
    if (void* const memory = std::malloc(size)) {
        return memory;
    }
    throw std::bad_alloc();
}

void* node::operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size);
}

void node::operator delete(void* memory) noexcept { std::free(memory); }

void node::operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }

ListUnderflowException::ListUnderflowException() { (Line() << "A lista esta vazia").write(); }

// ---- The one primitive through which every link changes --------------------

void ListaEnc::link(node* element, node* after, [[maybe_unused]] const char* name,
                    [[maybe_unused]] const char* code) noexcept(!traced) {
    node*& changed = element != nullptr ? element->next : head;
    [[maybe_unused]] node* const before = changed;
    changed = after;
    TELL(link, name, code, element, before, after);
}

std::unique_ptr<node> ListaEnc::hand_over(node* element, [[maybe_unused]] const char* name,
                                          [[maybe_unused]] const char* code) noexcept(!traced) {
    TELL(unlink, name, code, element);
    return std::unique_ptr<node>(element);
}

#ifdef LISTAENC_TRACE

// ---- What the traced build tells -------------------------------------------

// Tells the call of an operation when it is made, and its end when it
// returns or an exception leaves it; an operation called by another tells
// nothing of its own.
class ListaEnc::Call {
public:
    Call(const ListaEnc& list, const char* operation)
        : list_(list.observer_ != nullptr && list.operation_ == nullptr ? &list : nullptr) {
        if (list_ != nullptr) {
            list.operation_ = operation;
            try {
                list.tell(Step::Kind::call, "", "");
            } catch (...) {
                list.operation_ = nullptr;
                throw;
            }
        }
    }
    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;
    ~Call() noexcept(false) {
        if (list_ == nullptr) {
            return;
        }
        struct Ended {
            const ListaEnc* list;
            ~Ended() { list->operation_ = nullptr; }
        } const ended{list_};
        if (std::uncaught_exceptions() > unwinding_) {
            try {
                list_->tell(Step::Kind::done, "", "");
            } catch (...) { // the exception on its way goes on
            }
        } else {
            list_->tell(Step::Kind::done, "", "");
        }
    }

private:
    const ListaEnc* list_;
    int unwinding_ = std::uncaught_exceptions();
};

void ListaEnc::tell(Step::Kind kind, const char* name, const char* code, const node* element,
                    const node* before, const node* after, bool matched) const {
    if (operation_ != nullptr && observer_ != nullptr) {
        observer_->step(*this, Step{kind, operation_, code, name, element, before, after, matched});
    }
}

bool ListaEnc::tested(const char* cursor, const char* test, const node* element,
                      bool matched) const {
    tell(Step::Kind::compare, cursor, test, element, nullptr, nullptr, matched);
    return matched;
}

void ListaEnc::observe(Observer* observer) noexcept { observer_ = observer; }

Observer* ListaEnc::observer() const noexcept { return observer_; }

ListaEnc::iterator ListaEnc::begin() noexcept {
    CALL("begin");
    return {first(), head};
}

ListaEnc::const_iterator ListaEnc::begin() const noexcept {
    CALL("begin");
    return {first(), head};
}

ListaEnc::iterator ListaEnc::end() noexcept {
    CALL("end");
    return {};
}

ListaEnc::const_iterator ListaEnc::end() const noexcept {
    CALL("end");
    return {};
}

#endif

// ---- The walks that the operations share -----------------------------------

node* ListaEnc::last() const noexcept(!traced) {
    node* const primeiro = first();
    node* ultimo = nullptr;
    STEP_ON(ultimo, primeiro);
    while (!TEST(ultimo, ultimo->next == primeiro)) {
        STEP_ON(ultimo, ultimo->next);
    }
    return ultimo;
}

template <typename Match>
node* ListaEnc::find([[maybe_unused]] Match match, [[maybe_unused]] const char* test) const {
    node* const primeiro = first();
    if (primeiro == nullptr) {
        return nullptr;
    }
    node* atual = nullptr;
    STEP_ON(atual, primeiro);
    do {
        if (TEST_WORDS(atual, match(atual), test)) {
            return atual;
        }
        STEP_ON(atual, atual->next);
    } while (atual != primeiro);
    return nullptr;
}

template <typename Match>
node* ListaEnc::find_before(Match match, [[maybe_unused]] const char* test) const {
    node* const primeiro = first();
    if (primeiro == nullptr) {
        return nullptr;
    }
    node* atual = nullptr;
    STEP_ON(atual, primeiro);
    if (TEST_WORDS(atual, match(atual), test)) {
        return last();
    }
    node* anterior = nullptr;
    for (;;) {
        STEP_ON(anterior, atual);
        STEP_ON(atual, atual->next);
        if (atual == primeiro) {
            return nullptr;
        }
        if (TEST_WORDS(atual, match(atual), test)) {
            return anterior;
        }
    }
}

int ListaEnc::count() const noexcept(!traced) {
    node* const primeiro = first();
    if (primeiro == nullptr) {
        return 0;
    }
    int n = 0;
    node* atual = nullptr;
    STEP_ON(atual, primeiro);
    do {
        ++n;
        STEP_ON(atual, atual->next);
    } while (atual != primeiro);
    return n;
}

node* ListaEnc::link_after(node* anterior, node* novo) noexcept(!traced) {
    LINK(novo, anterior->next);
    LINK(anterior, novo);
    return novo;
}

node* ListaEnc::unlink_after(node* anterior) noexcept(!traced) {
    node* removido = nullptr;
    STEP_ON(removido, anterior->next);
    if (removido == anterior) { // it was alone
        LINK(head, nullptr);
    } else {
        if (removido == head->next) {
            LINK(head, removido->next);
        }
        LINK(anterior, removido->next);
    }
    return removido;
}

void ListaEnc::release_elements() noexcept {
    node* const primeiro = first();
    LINK(head, nullptr);
    node* atual = nullptr;
    STEP_ON(atual, primeiro->next);
    while (atual != primeiro) { // the first goes last: the walk ends at it
        node* const removido = atual;
        STEP_ON(atual, atual->next);
        RELEASE(removido);
    }
    RELEASE(primeiro);
}

void ListaEnc::release_all() noexcept {
    if (head != nullptr) {
        if (head->next != nullptr) {
            release_elements();
        }
        node* const cabeca = head;
        LINK_HEAD(nullptr);
        RELEASE(cabeca);
    }
}

#ifdef LISTAENC_ASSERTIONS

// ---- The checked mode's requirements --------------------------------------

void ListaEnc::require_element(const char* operation, const node* anterior) const noexcept {
    if (anterior == nullptr) {
        broken(operation, "anterior e nulo");
    }
    if (find_element(anterior) == nullptr) {
        broken(operation, "anterior nao e um elemento desta lista");
    }
}

void ListaEnc::require_element(const char* operation, const_iterator pos) const noexcept {
    if (pos == const_iterator{}) {
        broken(operation, "pos e end()");
    }
    if (find_element(pos.element) == nullptr) {
        broken(operation, "pos nao e um elemento desta lista");
    }
}

void ListaEnc::require_elements(const char* operation) const noexcept {
    if (first() == nullptr) {
        broken(operation, "a lista nao tem elementos");
    }
}

const node* ListaEnc::find_element(const node* element) const noexcept {
    node* const primeiro = first();
    if (primeiro != nullptr) {
        const node* e = primeiro;
        do {
            if (e == element) {
                return e;
            }
            e = e->next;
        } while (e != primeiro);
    }
    return nullptr;
}

// The line is formatted whole, then written with one call. Its parts are
// the list's own short texts, which the buffer holds.
void ListaEnc::broken(const char* operation, const char* what) noexcept {
    char line[128];
    char* end = line;
    for (std::string_view part : {"listaenc: ", operation, ": ", what, "\n"}) {
        end = std::copy(part.begin(), part.end(), end);
    }
    report({line, static_cast<std::size_t>(end - line)});
    std::abort();
}

#endif

// ---- Lifetime and insertion ------------------------------------------------

ListaEnc::~ListaEnc() { release_all(); }

ListaEnc& ListaEnc::operator=(ListaEnc&& other) noexcept {
    if (this != &other) {
        CALL("operator=");
        release_all();
        node* const cabeca = other.head;
        other.link(nullptr, nullptr, "head", "other.head = nullptr");
        LINK_HEAD(cabeca);
    }
    return *this;
}

int ListaEnc::inserir(int key, std::string info) noexcept {
    CALL("inserir");
    node* novo = nullptr;
    MAKE(novo, key, info);
    LINK(novo, novo);
    if (head == nullptr) {
        node* cabeca = nullptr;
        MAKE(cabeca, 0, "");
        LINK_HEAD(cabeca);
        LINK(head, novo);
    } else if (head->next == nullptr) {
        LINK(head, novo);
    } else {
        node* const primeiro = head->next;
        node* const ultimo = last();
        LINK(ultimo, novo);
        LINK(novo, primeiro);
    }
    return 0;
}

node* ListaEnc::inserirapos(node* anterior, int key, std::string info) noexcept {
    CALL("inserirapos");
    LISTAENC_REQUIRE(require_element("inserirapos", anterior));
    node* novo = nullptr;
    MAKE(novo, key, info);
    return link_after(anterior, novo);
}

ListaEnc::iterator ListaEnc::insert_after(const_iterator pos, int key, std::string info) noexcept {
    CALL("insert_after");
    LISTAENC_REQUIRE(require_element("insert_after", pos));
    node* novo = nullptr;
    MAKE(novo, key, info);
    return {link_after(const_cast<node*>(pos.element), novo), head}; // an element of this list
}

void ListaEnc::limpar() noexcept {
    CALL("limpar");
    if (first() != nullptr) {
        release_elements();
    }
}

// ---- Queries and printing --------------------------------------------------

bool ListaEnc::isEmpty() const noexcept {
    CALL("isEmpty");
    return head == nullptr;
}

bool ListaEnc::empty() const noexcept {
    CALL("empty");
    return first() == nullptr;
}

int ListaEnc::tamanho() const noexcept {
    CALL("tamanho");
    return count();
}

ListaEnc::size_type ListaEnc::size() const noexcept {
    CALL("size");
    return static_cast<size_type>(count());
}

node& ListaEnc::front() noexcept { return const_cast<node&>(std::as_const(*this).front()); }

const node& ListaEnc::front() const noexcept {
    CALL("front");
    LISTAENC_REQUIRE(require_elements("front"));
    return *first();
}

bool ListaEnc::Busca(int key) const noexcept {
    CALL("Busca");
    return find(MATCH(atual->key == key)) != nullptr;
}

bool ListaEnc::BuscaInfo(const std::string& info) const noexcept {
    CALL("BuscaInfo");
    return find(MATCH(atual->info == info)) != nullptr;
}

void ListaEnc::ExibirLista() const {
    CALL("ExibirLista");
    Line line;
    line << " ";
    if (node* const primeiro = first()) {
        node* atual = nullptr;
        STEP_ON(atual, primeiro);
        do {
            line << atual->key << " ";
            STEP_ON(atual, atual->next);
        } while (atual != primeiro);
    }
    line.write();
}

// ---- Removal ---------------------------------------------------------------

std::unique_ptr<node> ListaEnc::pop() {
    CALL("pop");
    if (first() == nullptr) {
        throw ListUnderflowException();
    }
    node* const removido = unlink_after(last());
    return HAND_OVER(removido);
}

std::unique_ptr<node> ListaEnc::removerinfo(const std::string& info) noexcept {
    CALL("removerinfo");
    node* const anterior = find_before(MATCH(atual->info == info));
    if (anterior == nullptr) {
        return nullptr;
    }
    node* const removido = unlink_after(anterior);
    return HAND_OVER(removido);
}

std::unique_ptr<node> ListaEnc::removerno(const node* element) noexcept {
    CALL("removerno");
    node* const anterior = find_before(MATCH(atual == element));
    if (anterior == nullptr) {
        return nullptr;
    }
    node* const removido = unlink_after(anterior);
    return HAND_OVER(removido);
}

std::unique_ptr<node> ListaEnc::removerapos(node* anterior) noexcept {
    CALL("removerapos");
    LISTAENC_REQUIRE(require_element("removerapos", anterior));
    node* const removido = unlink_after(anterior);
    return HAND_OVER(removido);
}

std::unique_ptr<node> ListaEnc::erase_after(const_iterator pos) noexcept {
    CALL("erase_after");
    LISTAENC_REQUIRE(require_element("erase_after", pos));
    node* const removido = unlink_after(const_cast<node*>(pos.element)); // of this list
    return HAND_OVER(removido);
}

// ---- What differs between the game build and the demo build ---------------

#ifdef LISTAENC_DEMO_BUILD

int ListaEnc::PrintFirst() const {
    CALL("PrintFirst");
    node* const primeiro = first();
    if (primeiro == nullptr) {
        throw ListUnderflowException();
    }
    (Line() << primeiro->key).write();
    return primeiro->key;
}

void ListaEnc::ExibirInfo() const {
    CALL("ExibirInfo");
    Line line;
    line << " ";
    if (node* const primeiro = first()) {
        node* atual = nullptr;
        STEP_ON(atual, primeiro);
        do {
            line << atual->info << " ";
            STEP_ON(atual, atual->next);
        } while (atual != primeiro);
    }
    line.write();
}

// Hands back only the first of several elements, as pop would; releases any
// other element it unlinks.
std::unique_ptr<node> ListaEnc::remover(int key) noexcept {
    CALL("remover");
    node* const anterior = find_before(MATCH(atual->key == key));
    if (anterior == nullptr) {
        return nullptr;
    }
    bool const first_of_several = anterior->next == head->next && anterior != anterior->next;
    node* const removido = unlink_after(anterior);
    if (first_of_several) {
        return HAND_OVER(removido);
    }
    RELEASE(removido);
    return nullptr;
}

#else

OutOfBoundsException::OutOfBoundsException() {
    (Line() << "indice maior do que o tamanho da lista").write();
}

int ListaEnc::PrintFirst() const {
    CALL("PrintFirst");
    node* const primeiro = first();
    if (primeiro == nullptr) {
        throw ListUnderflowException();
    }
    (Line() << primeiro->key).write();
    (Line() << " " << primeiro->info).write();
    return primeiro->key;
}

void ListaEnc::ExibirInfo() const {
    CALL("ExibirInfo");
    Line line;
    line << " ";
    Position position;
    if (node* const primeiro = first()) {
        node* atual = nullptr;
        STEP_ON(atual, primeiro);
        do {
            // The room of a position is more than it takes, the space included.
            char* at = position.next(line.room(Position::room + atual->info.size()));
            at = copy_text(at, atual->info);
            *at++ = ' ';
            line.advance(at);
            STEP_ON(atual, atual->next);
        } while (atual != primeiro);
    }
    line.write();
}

std::unique_ptr<node> ListaEnc::remover(int key) noexcept {
    CALL("remover");
    node* const anterior = find_before(MATCH(atual->key == key));
    if (anterior == nullptr) {
        return nullptr;
    }
    node* const removido = unlink_after(anterior);
    return HAND_OVER(removido);
}

node* ListaEnc::GetNth(int n) { return const_cast<node*>(std::as_const(*this).GetNth(n)); }

const node* ListaEnc::GetNth(int n) const {
    CALL("GetNth");
    node* const primeiro = first();
    if (n >= 0 && primeiro != nullptr) {
        int posicao = 0;
        node* atual = nullptr;
        STEP_ON(atual, primeiro);
        do {
            if (TEST(atual, posicao == n)) {
                return atual;
            }
            ++posicao;
            STEP_ON(atual, atual->next);
        } while (atual != primeiro);
    }
    throw OutOfBoundsException();
}

#endif

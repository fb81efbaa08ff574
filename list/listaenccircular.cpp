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
std::unique_ptr<node> make_node(int key, std::string&& info) noexcept {
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
    return std::unique_ptr<node>(::new (memory) node{key, std::move(info), nullptr});
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

// Links `element` right after `prev` and answers it.
node* link_after(node* prev, std::unique_ptr<node> element) noexcept {
    element->next = prev->next;
    prev->next = element.release();
    return prev->next;
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

// ---- The circle walk and the unlink that every operation goes through -----

node* ListaEnc::first() const noexcept { return head ? head->next : nullptr; }

node* ListaEnc::last() const noexcept {
    node* const start = first();
    return walk([start](const node* e) { return e->next == start; });
}

template <typename Visit>
node* ListaEnc::walk(Visit visit) const {
    node* const start = first();
    if (start == nullptr) {
        return nullptr;
    }
    node* element = start;
    do {
        node* const following = element->next;
        if (visit(element)) {
            return element;
        }
        element = following;
    } while (element != start);
    return nullptr;
}

template <typename Match>
node* ListaEnc::before_match(Match match) const {
    node* const start = first();
    if (start == nullptr) {
        return nullptr;
    }
    if (match(start)) {
        return last();
    }
    // The walk ends by testing the first element again, which did not match.
    return walk([&match](const node* e) { return match(e->next); });
}

std::unique_ptr<node> ListaEnc::removerapos(node* anterior) noexcept {
    LISTAENC_REQUIRE(require_element("removerapos", anterior));
    return unlink_after(anterior);
}

std::unique_ptr<node> ListaEnc::erase_after(const_iterator pos) noexcept {
    LISTAENC_REQUIRE(require_element("erase_after", pos));
    return unlink_after(const_cast<node*>(pos.element)); // an element of this list
}

std::unique_ptr<node> ListaEnc::unlink_after(node* prev) noexcept {
    node* const element = prev->next;
    if (element == prev) {
        head->next = nullptr;
    } else {
        if (element == head->next) {
            head->next = element->next;
        }
        prev->next = element->next;
    }
    return std::unique_ptr<node>(element);
}

#ifdef LISTAENC_ASSERTIONS

// ---- The checked mode's requirements --------------------------------------

void ListaEnc::require_element(const char* operation, const node* anterior) const noexcept {
    if (anterior == nullptr) {
        broken(operation, "anterior e nulo");
    }
    if (walk([anterior](const node* e) { return e == anterior; }) == nullptr) {
        broken(operation, "anterior nao e um elemento desta lista");
    }
}

void ListaEnc::require_element(const char* operation, const_iterator pos) const noexcept {
    if (pos == end()) {
        broken(operation, "pos e end()");
    }
    if (walk([&pos](const node* e) { return e == pos.element; }) == nullptr) {
        broken(operation, "pos nao e um elemento desta lista");
    }
}

void ListaEnc::require_elements(const char* operation) const noexcept {
    if (first() == nullptr) {
        broken(operation, "a lista nao tem elementos");
    }
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

ListaEnc::~ListaEnc() { limpar(); }

ListaEnc& ListaEnc::operator=(ListaEnc&& other) noexcept {
    if (this != &other) {
        limpar();
        head = std::move(other.head);
    }
    return *this;
}

int ListaEnc::inserir(int key, std::string info) noexcept {
    std::unique_ptr<node> element = make_node(key, std::move(info));
    assert(allocated(element.get()));
    if (!head) {
        head = make_node(0, {});
        assert(allocated(head.get()));
    }
    if (node* const end = last()) {
        link_after(end, std::move(element));
    } else { // alone in the circle, linked to itself
        element->next = element.get();
        head->next = element.release();
    }
    return 0;
}

node* ListaEnc::inserirapos(node* anterior, int key, std::string info) noexcept {
    LISTAENC_REQUIRE(require_element("inserirapos", anterior));
    std::unique_ptr<node> element = make_node(key, std::move(info));
    assert(allocated(element.get()));
    return link_after(anterior, std::move(element));
}

ListaEnc::iterator ListaEnc::insert_after(const_iterator pos, int key, std::string info) noexcept {
    LISTAENC_REQUIRE(require_element("insert_after", pos));
    std::unique_ptr<node> element = make_node(key, std::move(info));
    assert(allocated(element.get()));
    return {link_after(const_cast<node*>(pos.element), std::move(element)), head.get()};
}

void ListaEnc::limpar() noexcept {
    if (node* const start = first()) {
        // The first element goes last: the walk compares against it.
        walk([start](node* e) {
            if (e != start) {
                delete e;
            }
            return false;
        });
        delete start;
        head->next = nullptr;
    }
}

// ---- Queries and printing --------------------------------------------------

bool ListaEnc::isEmpty() const noexcept { return !head; }

bool ListaEnc::empty() const noexcept { return first() == nullptr; }

int ListaEnc::tamanho() const noexcept {
    int count = 0;
    walk([&count](const node*) {
        ++count;
        return false;
    });
    return count;
}

ListaEnc::size_type ListaEnc::size() const noexcept { return static_cast<size_type>(tamanho()); }

node& ListaEnc::front() noexcept { return const_cast<node&>(std::as_const(*this).front()); }

const node& ListaEnc::front() const noexcept {
    LISTAENC_REQUIRE(require_elements("front"));
    return *first();
}

bool ListaEnc::Busca(int key) const noexcept {
    return walk([key](const node* e) { return e->key == key; }) != nullptr;
}

bool ListaEnc::BuscaInfo(const std::string& info) const noexcept {
    return walk([&info](const node* e) { return e->info == info; }) != nullptr;
}

void ListaEnc::ExibirLista() const {
    Line line;
    line << " ";
    walk([&line](const node* e) {
        line << e->key << " ";
        return false;
    });
    line.write();
}

// ---- Removal ---------------------------------------------------------------

std::unique_ptr<node> ListaEnc::pop() {
    if (first() == nullptr) {
        throw ListUnderflowException();
    }
    return unlink_after(last());
}

std::unique_ptr<node> ListaEnc::removerinfo(const std::string& info) noexcept {
    node* const prev = before_match([&info](const node* e) { return e->info == info; });
    return prev ? unlink_after(prev) : nullptr;
}

std::unique_ptr<node> ListaEnc::removerno(const node* element) noexcept {
    node* const prev = before_match([element](const node* e) { return e == element; });
    return prev ? unlink_after(prev) : nullptr;
}

// ---- What differs between the game build and the demo build ---------------

#ifdef LISTAENC_DEMO_BUILD

int ListaEnc::PrintFirst() const {
    node* const start = first();
    if (start == nullptr) {
        throw ListUnderflowException();
    }
    (Line() << start->key).write();
    return start->key;
}

void ListaEnc::ExibirInfo() const {
    Line line;
    line << " ";
    walk([&line](const node* e) {
        line << e->info << " ";
        return false;
    });
    line.write();
}

// Hands back only the first of several elements, as pop would; releases any
// other element it unlinks.
std::unique_ptr<node> ListaEnc::remover(int key) noexcept {
    node* const prev = before_match([key](const node* e) { return e->key == key; });
    if (prev == nullptr) {
        return nullptr;
    }
    bool const took_first_of_several = prev->next == first() && prev != prev->next;
    auto element = unlink_after(prev);
    return took_first_of_several ? std::move(element) : nullptr;
}

#else

OutOfBoundsException::OutOfBoundsException() {
    (Line() << "indice maior do que o tamanho da lista").write();
}

int ListaEnc::PrintFirst() const {
    node* const start = first();
    if (start == nullptr) {
        throw ListUnderflowException();
    }
    (Line() << start->key).write();
    (Line() << " " << start->info).write();
    return start->key;
}

void ListaEnc::ExibirInfo() const {
    Line line;
    line << " ";
    Position position;
    walk([&line, &position](const node* e) {
        // The room of a position is more than it takes, the space included.
        char* at = position.next(line.room(Position::room + e->info.size()));
        at = copy_text(at, e->info);
        *at++ = ' ';
        line.advance(at);
        return false;
    });
    line.write();
}

std::unique_ptr<node> ListaEnc::remover(int key) noexcept {
    node* const prev = before_match([key](const node* e) { return e->key == key; });
    return prev ? unlink_after(prev) : nullptr;
}

node* ListaEnc::GetNth(int n) { return const_cast<node*>(std::as_const(*this).GetNth(n)); }

const node* ListaEnc::GetNth(int n) const {
    int passed = 0;
    node* const found = n < 0 ? nullptr : walk([&passed, n](const node*) { return passed++ == n; });
    if (found == nullptr) {
        throw OutOfBoundsException();
    }
    return found;
}

#endif

#include "listaenccircular.h"

#include <cassert>
#include <charconv>
#include <cstdlib>
#include <iostream>
#include <new>
#include <utility>

namespace {

// The line being formatted. It keeps its capacity from one line to the next,
// so that printing a long circle again and again does not allocate each time.
std::string& empty_line() {
    thread_local std::string line;
    line.clear();
    return line;
}

// Ends a line that was formatted whole: one write, then the flush.
void write_line(std::string& line) {
    line += '\n';
    std::cout.write(line.data(), static_cast<std::streamsize>(line.size()));
    std::cout.flush();
}

void print_line(std::string_view text) {
    std::string& line = empty_line();
    line += text;
    write_line(line);
}

void append_number(std::string& line, int value) {
    char digits[16];
    auto const end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    line.append(digits, end);
}

void print_number_line(int value) {
    std::string& line = empty_line();
    append_number(line, value);
    write_line(line);
}

} // namespace

void node::display() const { std::cout << key << ' '; }

void node::displayinfo() const { std::cout << info << ' '; }

ListUnderflowException::ListUnderflowException() { print_line("A lista esta vazia"); }

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

// ---- Lifetime and insertion ------------------------------------------------

ListaEnc::~ListaEnc() { limpar(); }

int ListaEnc::inserir(int key, std::string info) {
    try {
        auto element = std::make_unique<node>();
        element->key = key;
        element->info = std::move(info);
        element->next = element.get();
        if (!head) {
            head = std::make_unique<node>();
        }
        if (node* const start = first()) {
            node* const tail = last();
            element->next = start;
            tail->next = element.release();
        } else {
            head->next = element.release();
        }
    } catch (const std::bad_alloc&) {
        std::cerr << allocation_failure_message << std::flush;
        [[maybe_unused]] bool const allocated = false;
        assert(allocated);
        std::abort(); // also where NDEBUG leaves the assertion out
    }
    return 0;
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

int ListaEnc::tamanho() const noexcept {
    int count = 0;
    walk([&count](const node*) {
        ++count;
        return false;
    });
    return count;
}

bool ListaEnc::Busca(int key) const noexcept {
    return walk([key](const node* e) { return e->key == key; }) != nullptr;
}

bool ListaEnc::BuscaInfo(const std::string& info) const noexcept {
    return walk([&info](const node* e) { return e->info == info; }) != nullptr;
}

void ListaEnc::ExibirLista() const {
    std::string& line = empty_line();
    line += ' ';
    walk([&line](const node* e) {
        append_number(line, e->key);
        line += ' ';
        return false;
    });
    write_line(line);
}

// ---- Removal ---------------------------------------------------------------

std::unique_ptr<node> ListaEnc::pop() {
    if (first() == nullptr) {
        throw ListUnderflowException();
    }
    return unlink_after(last());
}

std::unique_ptr<node> ListaEnc::removerinfo(const std::string& info) {
    node* const prev = before_match([&info](const node* e) { return e->info == info; });
    return prev ? unlink_after(prev) : nullptr;
}

std::unique_ptr<node> ListaEnc::removerno(const node* element) {
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
    print_number_line(start->key);
    return start->key;
}

void ListaEnc::ExibirInfo() const {
    std::string& line = empty_line();
    line += ' ';
    walk([&line](const node* e) {
        line += e->info;
        line += ' ';
        return false;
    });
    write_line(line);
}

// Hands back only the first of several elements, as pop would; releases any
// other element it unlinks.
std::unique_ptr<node> ListaEnc::remover(int key) {
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
    print_line("indice maior do que o tamanho da lista");
}

int ListaEnc::PrintFirst() const {
    node* const start = first();
    if (start == nullptr) {
        throw ListUnderflowException();
    }
    print_number_line(start->key);
    std::string& line = empty_line();
    line += ' ';
    line += start->info;
    write_line(line);
    return start->key;
}

void ListaEnc::ExibirInfo() const {
    std::string& line = empty_line();
    line += ' ';
    int position = 0;
    walk([&line, &position](const node* e) {
        char prefix[16] = {' '};
        char* const dot = std::to_chars(prefix + 1, prefix + sizeof prefix - 1, ++position).ptr;
        *dot = '.';
        line.append(prefix, dot + 1);
        line += e->info;
        line += ' ';
        return false;
    });
    write_line(line);
}

std::unique_ptr<node> ListaEnc::remover(int key) {
    node* const prev = before_match([key](const node* e) { return e->key == key; });
    return prev ? unlink_after(prev) : nullptr;
}

node* ListaEnc::GetNth(int n) const {
    int passed = 0;
    node* const found = n < 0 ? nullptr : walk([&passed, n](const node*) { return passed++ == n; });
    if (found == nullptr) {
        throw OutOfBoundsException();
    }
    return found;
}

#endif

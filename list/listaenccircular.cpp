// SPDX-License-Identifier: MIT
// The circle's operations, each written as the steps it takes (steps.h).
#include "listaenccircular.h"

#include "printing.h"
#include "steps.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <utility>

// gdb loads the list's printers by itself for every program that links the
// list: an entry of the program's .debug_gdb_scripts section (1, a Python
// file, then its name) names the file where they are installed. The linker
// merges the entries of the list's several builds into one.
#if defined(LISTAENC_GDB_PRINTERS) && defined(__ELF__) && !defined(__EMSCRIPTEN__)
asm(".pushsection .debug_gdb_scripts, \"MS\", %progbits, 1\n"
    ".byte 1\n"
    ".asciz \"" LISTAENC_GDB_PRINTERS "\"\n"
    ".popsection\n");
#endif

#ifdef LISTAENC_TRACE

// ---- What the traced build tells -------------------------------------------

// Tells the call of an operation when it is made, and its end when it
// returns or an exception leaves it; an operation called by another tells
// nothing of its own.
class ListaEnc::Call {
public:
    Call(const ListaEnc& list, const char* operation, const char* function)
        : list_(list.observer_ != nullptr && list.operation_ == nullptr ? &list : nullptr) {
        if (list_ != nullptr) {
            list.operation_ = operation;
            list.function_ = function;
            list.depth_ = 0;
            try {
                list.tell(Step::Kind::call, "", "", 0);
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
                list_->tell(Step::Kind::done, "", "", 0);
            } catch (...) { // the exception on its way goes on
            }
        } else {
            list_->tell(Step::Kind::done, "", "", 0);
        }
    }

private:
    const ListaEnc* list_;
    int unwinding_ = std::uncaught_exceptions();
};

// A helper's enter step when it starts, and its leave step when it returns.
class ListaEnc::Frame {
public:
    Frame(const ListaEnc& list, const char* helper, int line)
        : list_(list.operation_ != nullptr ? &list : nullptr), caller_(list.function_) {
        if (list_ != nullptr) {
            ++list.depth_;
            list.function_ = helper;
            list.tell(Step::Kind::enter, helper, "", line);
        }
    }
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;
    ~Frame() noexcept(false) {
        if (list_ == nullptr || list_->operation_ == nullptr) {
            return;
        }
        struct Back {
            const Frame* frame;
            ~Back() {
                --frame->list_->depth_;
                frame->list_->function_ = frame->caller_;
            }
        } const back{this};
        if (std::uncaught_exceptions() == unwinding_) {
            list_->tell(Step::Kind::leave, list_->function_, "", 0);
        }
    }

private:
    const ListaEnc* list_;
    const char* caller_;
    int unwinding_ = std::uncaught_exceptions();
};

namespace {

constexpr const char* local_names[] = {"",         "primeiro", "ultimo", "atual",    "anterior",
                                       "proximo",  "removido", "movido", "novo",     "cabeca",
                                       "esquerda", "direita",  "cauda",  "escolhido"};

// The local that a step's name is about: "anterior" of "anterior->next".
Step::Local local_named(std::string_view name) noexcept {
    name = name.substr(0, name.find("->"));
    for (std::size_t i = 1; i < std::size(local_names); ++i) {
        if (name == local_names[i]) {
            return static_cast<Step::Local>(i);
        }
    }
    return Step::Local::none;
}

} // namespace

const char* Step::local_name(Local local) noexcept {
    auto const i = static_cast<std::size_t>(local);
    return i < std::size(local_names) ? local_names[i] : "";
}

void ListaEnc::tell(Step::Kind kind, const char* name, const char* code, int line,
                    const node* element, const node* before, const node* after,
                    bool matched) const {
    // What the observer asks of the list meanwhile is not told.
    if (operation_ != nullptr && observer_ != nullptr && !telling_) {
        telling_ = true;
        struct Telling {
            const ListaEnc* list;
            ~Telling() { list->telling_ = false; }
        } const telling{this};
        Step step{};
        step.kind = kind;
        step.operation = operation_;
        step.code = code;
        step.name = name;
        step.element = element;
        step.before = before;
        step.after = after;
        step.matched = matched;
        if (kind != Step::Kind::enter && kind != Step::Kind::leave) {
            step.local = local_named(name);
        }
        if (kind == Step::Kind::link || kind == Step::Kind::unchanged) {
            step.link = element == nullptr ? Step::Link::head
                        : element == head  ? Step::Link::header_next
                                           : Step::Link::next;
        }
        step.header = head;
        step.function = function_;
        step.depth = depth_;
        step.line = line;
        observer_->step(*this, step);
    }
}

void ListaEnc::told(const char* name, const char* code, int line, std::string_view text) const {
    if (operation_ != nullptr && observer_ != nullptr && !telling_) {
        telling_ = true;
        struct Telling {
            const ListaEnc* list;
            ~Telling() { list->telling_ = false; }
        } const telling{this};
        Step step{};
        step.kind = Step::Kind::output;
        step.operation = operation_;
        step.code = code;
        step.name = name;
        step.header = head;
        step.function = function_;
        step.depth = depth_;
        step.line = line;
        step.text = text;
        observer_->step(*this, step);
    }
}

bool ListaEnc::tested(Step::Kind kind, const char* cursor, const char* test, int line,
                      const node* element, bool matched) const {
    tell(kind, cursor, test, line, element, nullptr, nullptr, matched);
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

ListaEnc::const_iterator ListaEnc::cbegin() const noexcept {
    CALL("cbegin");
    return {first(), head};
}

ListaEnc::const_iterator ListaEnc::cend() const noexcept {
    CALL("cend");
    return {};
}

#endif

// ---- The walks that the operations share -----------------------------------

node* ListaEnc::last() const noexcept(!traced) {
    ENTER("last");
    LET(primeiro, first());
    node* ultimo = nullptr;
    STEP_ON(ultimo, primeiro);
    while (!TEST(ultimo, ultimo->next == primeiro)) {
        STEP_ON(ultimo, ultimo->next);
    }
    return ultimo;
}

template <typename Match>
node* ListaEnc::find(Match match, [[maybe_unused]] const char* test) const {
    ENTER("find");
    WALK_LIMIT;
    LET(primeiro, first());
    if (CHECK(primeiro, primeiro == nullptr)) {
        return nullptr;
    }
    node* atual = nullptr;
    STEP_ON(atual, primeiro);
    do {
        if (TEST_WORDS(atual, match(atual), test)) {
            return atual;
        }
        STEP_ON(atual, atual->next);
    } while (CHECK(atual, atual != primeiro) && !WALKED());
    return nullptr;
}

template <typename Match>
node* ListaEnc::find_before(Match match, [[maybe_unused]] const char* test) const {
    ENTER("find_before");
    LET(primeiro, first());
    if (CHECK(primeiro, primeiro == nullptr)) {
        return nullptr;
    }
    node* atual = nullptr;
    node* anterior = nullptr;
    STEP_ON(atual, primeiro);
    if (TEST_WORDS(atual, match(atual), test)) {
        STEP_ON(anterior, last());
        return anterior;
    }
    for (;;) {
        STEP_ON(anterior, atual);
        STEP_ON(atual, atual->next);
        if (CHECK(atual, atual == primeiro)) {
            return nullptr;
        }
        if (TEST_WORDS(atual, match(atual), test)) {
            return anterior;
        }
    }
}

int ListaEnc::count() const noexcept(!traced) {
    FROM_OBSERVER(return reach());
    ENTER("count");
    LET(primeiro, first());
    if (CHECK(primeiro, primeiro == nullptr)) {
        return 0;
    }
    int n = 0;
    node* atual = nullptr;
    STEP_ON(atual, primeiro);
    do {
        ++n;
        STEP_ON(atual, atual->next);
    } while (CHECK(atual, atual != primeiro));
    return n;
}

#ifdef LISTAENC_TRACE
// The number of nodes reached from the first element along `next`, each
// counted once: a walk that stops at null, or where it meets a node again
// (Brent's way of finding a cycle, in O(that number) and no memory).
int ListaEnc::reach() const noexcept {
    const node* const start = first();
    if (start == nullptr) {
        return 0;
    }
    int cycle = 1;
    int power = 1;
    const node* mark = start;
    const node* ahead = start->next;
    while (ahead != mark) {
        if (ahead == nullptr) { // a chain: every node is reached once
            int n = 0;
            for (const node* at = start; at != nullptr; at = at->next) {
                ++n;
            }
            return n;
        }
        if (power == cycle) {
            mark = ahead;
            power *= 2;
            cycle = 0;
        }
        ahead = ahead->next;
        ++cycle;
    }
    // A cycle of `cycle` nodes, reached after `before` nodes.
    const node* behind = start;
    ahead = start;
    for (int i = 0; i < cycle; ++i) {
        ahead = ahead->next;
    }
    int before = 0;
    while (behind != ahead) {
        behind = behind->next;
        ahead = ahead->next;
        ++before;
    }
    return before + cycle;
}
#endif

#ifdef LISTAENC_TRACE // the header has these inline otherwise
node* ListaEnc::link_after(node* anterior, node* novo) noexcept(!traced) {
    ENTER("link_after");
    LINK(novo, anterior->next);
    LINK(anterior, novo);
    return novo;
}

node* ListaEnc::unlink_after(node* anterior) noexcept(!traced) {
    ENTER("unlink_after");
    node* removido = nullptr;
    STEP_ON(removido, anterior->next);
    if (CHECK(removido, removido == anterior)) { // it was alone
        LINK(head, nullptr);
    } else {
        if (CHECK(removido, removido == head->next)) {
            LINK(head, removido->next);
        }
        LINK(anterior, removido->next);
    }
    return removido;
}
#endif

void ListaEnc::release_elements() noexcept {
    ENTER("release_elements");
    LET(primeiro, first());
    LINK(head, nullptr);
    node* atual = nullptr;
    STEP_ON(atual, primeiro->next);
    while (CHECK(atual, atual != primeiro)) { // the first goes last: the walk ends at it
        node* removido = nullptr;
        STEP_ON(removido, atual);
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
        LET(cabeca, head);
        LINK_HEAD(nullptr);
        RELEASE(cabeca);
    }
}

#ifdef LISTAENC_ASSERTIONS

// ---- The checked mode's requirements --------------------------------------

void ListaEnc::misplaced(const char* operation, const char* name, const char* why) noexcept {
    char what[64] = {};
    std::string_view(name).copy(what, 16);
    std::string_view(why).copy(what + std::strlen(what), 40);
    broken(operation, what);
}

void ListaEnc::require_elements(const char* operation) const noexcept {
    if (first() == nullptr) {
        broken(operation, "a lista nao tem elementos");
    }
}

void ListaEnc::require_other(const char* operation, const ListaEnc& other) const noexcept {
    if (&other == this) {
        broken(operation, "other e esta lista");
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

ListaEnc::~ListaEnc() { release_all(); }

ListaEnc& ListaEnc::operator=(ListaEnc&& other) noexcept {
    if (this != &other) {
        CALL("operator=");
        CALL_ON(other, "operator=");
        release_all();
        LET(cabeca, other.head);
        other.link(nullptr, nullptr, "head", "other.head = nullptr", __LINE__);
        LINK_HEAD(cabeca);
    }
    return *this;
}

int ListaEnc::inserir(int key, std::string info) noexcept {
    CALL("inserir");
    node* novo = nullptr;
    MAKE(novo, key, info);
    LINK(novo, novo);
    if (CHECK_IF(head == nullptr)) {
        node* cabeca = nullptr;
        MAKE(cabeca, 0, "");
        LINK_HEAD(cabeca);
        LINK(head, novo);
    } else if (CHECK_IF(head->next == nullptr)) {
        LINK(head, novo);
    } else {
        LET(primeiro, head->next);
        LET(ultimo, last());
        LINK(ultimo, novo);
        LINK(novo, primeiro);
    }
    return 0;
}

#ifdef LISTAENC_TRACE // the header has these inline otherwise
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
#else
void ListaEnc::inserirapos_unmade() noexcept {
    assert(allocated(nullptr));
    std::abort();
}

void ListaEnc::insert_after_unmade() noexcept {
    assert(allocated(nullptr));
    std::abort();
}
#endif

void ListaEnc::limpar() noexcept {
    CALL("limpar");
    if (CHECK_IF(head != nullptr && head->next != nullptr)) {
        release_elements();
    }
}

void ListaEnc::clear() noexcept {
    CALL("clear");
    if (CHECK_IF(head != nullptr && head->next != nullptr)) {
        release_elements();
    }
}

void ListaEnc::swap(ListaEnc& other) noexcept {
    CALL("swap");
    CALL_ON(other, "swap");
    LET(cabeca, head);
    LINK_HEAD(other.head);
    other.link(nullptr, cabeca, "head", "other.head = cabeca", __LINE__);
}

// ---- The classic algorithms, over the same links ---------------------------

template <typename Match>
ListaEnc::size_type ListaEnc::remove_where(Match match, [[maybe_unused]] const char* test) {
    ENTER("remove_where");
    if (CHECK_IF(head == nullptr || head->next == nullptr)) {
        return 0;
    }
    // Each element is tested once, from the first; the walk ends at the last
    // one, whatever has been unlinked before it.
    size_type removidos = 0;
    LET(ultimo, last());
    node* anterior = nullptr;
    STEP_ON(anterior, ultimo);
    for (bool fim = false; !fim;) {
        node* atual = nullptr;
        STEP_ON(atual, anterior->next);
        fim = CHECK(atual, atual == ultimo);
        if (TEST_WORDS(atual, match(atual), test)) {
            LET(removido, unlink_after(anterior));
            RELEASE(removido);
            ++removidos;
        } else {
            STEP_ON(anterior, atual);
        }
    }
    return removidos;
}

ListaEnc::size_type ListaEnc::remove(int key) noexcept {
    CALL("remove");
    return remove_where(MATCH(atual->key == key));
}

ListaEnc::size_type ListaEnc::remove_matching(bool (*test)(void* pred, const node& element),
                                              void* pred) {
    CALL("remove_if");
    return remove_where(MATCH(test(pred, *atual)));
}

void ListaEnc::reverse() noexcept {
    CALL("reverse");
    LET(primeiro, first());
    if (CHECK(primeiro, primeiro == nullptr || primeiro->next == primeiro)) {
        return;
    }
    node* anterior = nullptr;
    STEP_ON(anterior, last());
    node* atual = nullptr;
    STEP_ON(atual, primeiro);
    do {
        node* proximo = nullptr;
        STEP_ON(proximo, atual->next);
        LINK(atual, anterior);
        STEP_ON(anterior, atual);
        STEP_ON(atual, proximo);
    } while (CHECK(atual, atual != primeiro));
    LINK(head, anterior);
}

// A merge sort of the links: the circle is opened into a chain from
// head->next, then each pass merges runs of `passo` elements two by two,
// taking from the left run unless the right one's element goes before it
// (which keeps equal elements in order), until one pass merges once; its
// last element closes the circle again.
void ListaEnc::sort_by(bool (*less)(void* comp, const node& a, const node& b), void* comp,
                       [[maybe_unused]] const char* operation,
                       [[maybe_unused]] const char* test) noexcept {
    CALL(operation);
    LET(primeiro, first());
    if (CHECK(primeiro, primeiro == nullptr || primeiro->next == primeiro)) {
        return;
    }
    LET(ultimo, last());
    LINK(ultimo, nullptr);
    for (std::size_t passo = 1;; passo *= 2) {
        node* esquerda = nullptr;
        node* cauda = nullptr;
        STEP_ON(esquerda, head->next);
        STEP_ON(cauda, head);
        std::size_t fusoes = 0;
        while (CHECK(esquerda, esquerda != nullptr)) {
            ++fusoes;
            node* direita = nullptr;
            STEP_ON(direita, esquerda);
            std::size_t na_esquerda = 0;
            while (CHECK(direita, na_esquerda < passo && direita != nullptr)) {
                ++na_esquerda;
                STEP_ON(direita, direita->next);
            }
            std::size_t na_direita = direita != nullptr ? passo : 0;
            while (CHECK_IF(na_esquerda > 0 || na_direita > 0)) {
                node* escolhido = nullptr;
                if (CHECK_IF(na_esquerda > 0) &&
                    (CHECK_IF(na_direita == 0) ||
                     !TEST_WORDS(direita, less(comp, *direita, *esquerda), test))) {
                    STEP_ON(escolhido, esquerda);
                    STEP_ON(esquerda, esquerda->next);
                    --na_esquerda;
                } else {
                    STEP_ON(escolhido, direita);
                    STEP_ON(direita, direita->next);
                    na_direita = direita != nullptr ? na_direita - 1 : 0;
                }
                LINK(cauda, escolhido);
                STEP_ON(cauda, escolhido);
            }
            STEP_ON(esquerda, direita);
        }
        if (CHECK_IF(fusoes == 1)) {
            LINK(cauda, head->next);
            return;
        }
        LINK(cauda, nullptr);
    }
}

void ListaEnc::sort() noexcept {
    auto const by_key = [](void*, const node& a, const node& b) { return a.key < b.key; };
    sort_by(by_key, nullptr, "sort", "direita->key < esquerda->key");
}

void ListaEnc::splice_after(const_iterator pos, ListaEnc& other) noexcept {
    CALL("splice_after");
    LISTAENC_REQUIRE(require_element("splice_after", pos));
    LISTAENC_REQUIRE(require_other("splice_after", other));
    CALL_ON(other, "splice_after");
    LET(primeiro, other.first());
    if (CHECK(primeiro, primeiro == nullptr)) {
        return;
    }
    // The walk to the other list's last element makes each after the first
    // one of this list; the link to the first does that.
    node* ultimo = nullptr;
    STEP_ON(ultimo, primeiro);
    while (!TEST(ultimo, ultimo->next == primeiro)) {
        STEP_ON(ultimo, ultimo->next);
        LISTAENC_CHECKED(ultimo->owner = head);
    }
    node* const anterior = const_cast<node*>(pos.element); // of this list
    other.link(other.head, nullptr, "head->next", "other.head->next = nullptr", __LINE__);
    LINK(ultimo, anterior->next);
    LINK(anterior, primeiro);
}

void ListaEnc::splice_after(const_iterator pos, ListaEnc& other, const_iterator it) noexcept {
    CALL("splice_after");
    LISTAENC_REQUIRE(require_element("splice_after", pos));
    LISTAENC_REQUIRE(other.require_element("splice_after", it, "it"));
    CALL_ON(other, "splice_after");
    node* const anterior = const_cast<node*>(pos.element); // of this list
    node* const antes = const_cast<node*>(it.element);     // of the other
    if (CHECK(anterior, anterior == antes || anterior == antes->next)) {
        return;
    }
    LET(movido, other.unlink_after(antes));
    LINK(movido, anterior->next);
    LINK(anterior, movido);
}

// ---- Turning the circle, and the rest of std::forward_list -----------------

void ListaEnc::rotate() noexcept {
    CALL("rotate");
    LET(primeiro, first());
    if (CHECK(primeiro, primeiro == nullptr)) {
        return;
    }
    LINK(head, primeiro->next);
}

void ListaEnc::rotate(size_type k) noexcept {
    CALL("rotate");
    LET(primeiro, first());
    if (CHECK(primeiro, primeiro == nullptr || k == 0)) {
        return;
    }
    // k steps along the circle; back at the first, the rest is k mod N.
    node* atual = nullptr;
    STEP_ON(atual, primeiro);
    for (size_type passos = 0, voltas = 0; CHECK_IF(passos < k);) {
        STEP_ON(atual, atual->next);
        ++passos;
        if (voltas == 0 && CHECK(atual, atual == primeiro)) {
            voltas = 1;
            k = passos + k % passos;
        }
    }
    LINK(head, atual);
}

ListaEnc::iterator ListaEnc::erase_after(const_iterator pos, const_iterator last) noexcept {
    CALL("erase_after");
    LISTAENC_REQUIRE(require_element("erase_after", pos));
    LISTAENC_REQUIRE(last != end() ? require_element("erase_after", last, "last") : void());
    node* const anterior = const_cast<node*>(pos.element); // of this list
    // The end of the circle is its first element, read again at each turn.
    while (!CHECK(anterior, anterior->next == last.element ||
                                (last.element == nullptr && anterior->next == head->next) ||
                                anterior->next == anterior)) {
        LET(removido, unlink_after(anterior));
        RELEASE(removido);
    }
    return {const_cast<node*>(last.element), head};
}

ListaEnc::size_type ListaEnc::unique_by(bool (*same)(void* pred, const node& a, const node& b),
                                        void* pred, [[maybe_unused]] const char* operation,
                                        [[maybe_unused]] const char* test) {
    CALL(operation);
    LET(primeiro, first());
    if (CHECK(primeiro, primeiro == nullptr)) {
        return 0;
    }
    size_type removidos = 0;
    node* anterior = nullptr;
    STEP_ON(anterior, primeiro);
    while (CHECK(anterior, anterior->next != head->next)) {
        node* atual = nullptr;
        STEP_ON(atual, anterior->next);
        if (TEST_WORDS(atual, same(pred, *anterior, *atual), test)) {
            LET(removido, unlink_after(anterior));
            RELEASE(removido);
            ++removidos;
        } else {
            STEP_ON(anterior, atual);
        }
    }
    return removidos;
}

ListaEnc::size_type ListaEnc::unique() noexcept {
    auto const same = [](void*, const node& a, const node& b) { return a.key == b.key; };
    return unique_by(same, nullptr, "unique", "anterior->key == atual->key");
}

// Both circles are opened into chains at their last elements, merged link
// by link from this list's header, and closed again at the merged last.
void ListaEnc::merge_by(ListaEnc& other, bool (*less)(void* comp, const node& a, const node& b),
                        void* comp, [[maybe_unused]] const char* test) noexcept {
    CALL("merge");
    LISTAENC_REQUIRE(require_other("merge", other));
    CALL_ON(other, "merge");
    node* const deles = other.first();
    if (CHECK(deles, deles == nullptr)) {
        return;
    }
    LET(primeiro, first());
    if (CHECK(primeiro, primeiro == nullptr)) { // the other's elements, as they stand
        splice_after_empty(other);
        return;
    }
    node* const ultimo_deles = other.last();
    LINK(ultimo_deles, nullptr);
    other.link(other.head, nullptr, "head->next", "other.head->next = nullptr", __LINE__);
    LET(ultimo, last());
    LINK(ultimo, nullptr);
    node* esquerda = nullptr;
    node* direita = nullptr;
    node* cauda = nullptr;
    STEP_ON(esquerda, primeiro);
    STEP_ON(direita, deles);
    STEP_ON(cauda, head);
    while (CHECK_IF(esquerda != nullptr || direita != nullptr)) {
        node* escolhido = nullptr;
        if (CHECK(direita, direita == nullptr) ||
            (CHECK(esquerda, esquerda != nullptr) &&
             !TEST_WORDS(direita, less(comp, *direita, *esquerda), test))) {
            STEP_ON(escolhido, esquerda);
            STEP_ON(esquerda, esquerda->next);
        } else {
            STEP_ON(escolhido, direita);
            STEP_ON(direita, direita->next);
            LISTAENC_CHECKED(escolhido->owner = head);
        }
        LINK(cauda, escolhido);
        STEP_ON(cauda, escolhido);
    }
    LINK(cauda, head->next);
}

// Takes the other's elements into this list, which has a header or not and
// no element.
void ListaEnc::splice_after_empty(ListaEnc& other) noexcept {
    ENTER("splice_after_empty");
    node* const deles = other.first();
    if (CHECK_IF(head == nullptr)) {
        node* cabeca = nullptr;
        MAKE(cabeca, 0, "");
        LINK_HEAD(cabeca);
    }
    other.link(other.head, nullptr, "head->next", "other.head->next = nullptr", __LINE__);
    LINK(head, deles);
    for (node* atual = deles->next; atual != deles; atual = atual->next) {
        LISTAENC_CHECKED(atual->owner = head);
    }
}

void ListaEnc::merge(ListaEnc& other) noexcept {
    auto const by_key = [](void*, const node& a, const node& b) { return a.key < b.key; };
    merge_by(other, by_key, nullptr, "direita->key < esquerda->key");
}

// ---- Queries and printing --------------------------------------------------

#ifdef LISTAENC_TRACE // the header has these inline otherwise
bool ListaEnc::isEmpty() const noexcept {
    CALL("isEmpty");
    return head == nullptr;
}

bool ListaEnc::empty() const noexcept {
    CALL("empty");
    return first() == nullptr;
}
#endif

int ListaEnc::tamanho() const noexcept {
    CALL("tamanho");
    return count();
}

ListaEnc::size_type ListaEnc::size() const noexcept {
    CALL("size");
    return static_cast<size_type>(count());
}

#ifdef LISTAENC_TRACE
const node& ListaEnc::front() const noexcept {
    CALL("front");
    LISTAENC_REQUIRE(require_elements("front"));
    return *first();
}
#endif

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
    WALK_LIMIT;
    Line line;
    line << " ";
    LET(primeiro, first());
    if (primeiro != nullptr) {
        node* atual = nullptr;
        STEP_ON(atual, primeiro);
        do {
            line << atual->key << " ";
            STEP_ON(atual, atual->next);
        } while (CHECK(atual, atual != primeiro) && !WALKED());
    }
    line.write();
    PRINTED(line);
}

// ---- Removal ---------------------------------------------------------------

std::unique_ptr<node> ListaEnc::pop() {
    CALL("pop");
    if (CHECK_IF(head == nullptr || head->next == nullptr)) {
        RAISE(ListUnderflowException);
    }
    node* anterior = nullptr;
    STEP_ON(anterior, last());
    LET(removido, unlink_after(anterior));
    return HAND_OVER(removido);
}

std::unique_ptr<node> ListaEnc::removerinfo(const std::string& info) noexcept {
    CALL("removerinfo");
    LET(anterior, find_before(MATCH(atual->info == info)));
    if (CHECK(anterior, anterior == nullptr)) {
        return nullptr;
    }
    LET(removido, unlink_after(anterior));
    return HAND_OVER(removido);
}

std::unique_ptr<node> ListaEnc::removerno(const node* element) noexcept {
    CALL("removerno");
    LET(anterior, find_before(MATCH(atual == element)));
    if (CHECK(anterior, anterior == nullptr)) {
        return nullptr;
    }
    LET(removido, unlink_after(anterior));
    return HAND_OVER(removido);
}

#ifdef LISTAENC_TRACE // the header has these inline otherwise
std::unique_ptr<node> ListaEnc::removerapos(node* anterior) noexcept {
    CALL("removerapos");
    LISTAENC_REQUIRE(require_element("removerapos", anterior));
    LET(removido, unlink_after(anterior));
    return HAND_OVER(removido);
}

std::unique_ptr<node> ListaEnc::erase_after(const_iterator pos) noexcept {
    CALL("erase_after");
    LISTAENC_REQUIRE(require_element("erase_after", pos));
    node* const removido = unlink_after(const_cast<node*>(pos.element)); // of this list
    return HAND_OVER(removido);
}
#endif

// ---- What differs between the game build and the demo build ---------------

#ifdef LISTAENC_DEMO_BUILD

int ListaEnc::PrintFirst() const {
    CALL("PrintFirst");
    node* primeiro = nullptr;
    if (head != nullptr) {
        STEP_ON(primeiro, head->next);
    }
    if (CHECK(primeiro, primeiro == nullptr)) {
        RAISE(ListUnderflowException);
    }
    Line line;
    (line << primeiro->key).write();
    PRINTED(line);
    return primeiro->key;
}

void ListaEnc::ExibirInfo() const {
    CALL("ExibirInfo");
    WALK_LIMIT;
    Line line;
    line << " ";
    LET(primeiro, first());
    if (primeiro != nullptr) {
        node* atual = nullptr;
        STEP_ON(atual, primeiro);
        do {
            line << atual->info << " ";
            STEP_ON(atual, atual->next);
        } while (CHECK(atual, atual != primeiro) && !WALKED());
    }
    line.write();
    PRINTED(line);
}

// Hands back only the first of several elements, as pop would; releases any
// other element it unlinks.
std::unique_ptr<node> ListaEnc::remover(int key) noexcept {
    CALL("remover");
    LET(anterior, find_before(MATCH(atual->key == key)));
    if (CHECK(anterior, anterior == nullptr)) {
        return nullptr;
    }
    bool const first_of_several = anterior->next == head->next && anterior != anterior->next;
    LET(removido, unlink_after(anterior));
    if (CHECK_IF(first_of_several)) {
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
    node* primeiro = nullptr;
    if (head != nullptr) {
        STEP_ON(primeiro, head->next);
    }
    if (CHECK(primeiro, primeiro == nullptr)) {
        RAISE(ListUnderflowException);
    }
    Line line;
    (line << primeiro->key).write();
    PRINTED(line);
    Line info;
    (info << " " << primeiro->info).write();
    PRINTED(info);
    return primeiro->key;
}

void ListaEnc::ExibirInfo() const {
    CALL("ExibirInfo");
    WALK_LIMIT;
    Line line;
    line << " ";
    Position position;
    LET(primeiro, first());
    if (primeiro != nullptr) {
        node* atual = nullptr;
        STEP_ON(atual, primeiro);
        do {
            // The room of a position is more than it takes, the space included.
            char* at = position.next(line.room(Position::room + atual->info.size()));
            at = copy_text(at, atual->info);
            *at++ = ' ';
            line.advance(at);
            STEP_ON(atual, atual->next);
        } while (CHECK(atual, atual != primeiro) && !WALKED());
    }
    line.write();
    PRINTED(line);
}

std::unique_ptr<node> ListaEnc::remover(int key) noexcept {
    CALL("remover");
    LET(anterior, find_before(MATCH(atual->key == key)));
    if (CHECK(anterior, anterior == nullptr)) {
        return nullptr;
    }
    LET(removido, unlink_after(anterior));
    return HAND_OVER(removido);
}

node* ListaEnc::GetNth(int n) { return const_cast<node*>(std::as_const(*this).GetNth(n)); }

const node* ListaEnc::GetNth(int n) const {
    CALL("GetNth");
    WALK_LIMIT;
    LET(primeiro, first());
    if (CHECK(primeiro, n >= 0 && primeiro != nullptr)) {
        int posicao = 0;
        node* atual = nullptr;
        STEP_ON(atual, primeiro);
        do {
            if (TEST(atual, posicao == n)) {
                return atual;
            }
            ++posicao;
            STEP_ON(atual, atual->next);
        } while (CHECK(atual, atual != primeiro) && !WALKED());
    }
    RAISE(OutOfBoundsException);
}

#endif

// ---- The node and the exception of every build -----------------------------

void node::display() const { (Line() << key << " ").put(); }

void node::displayinfo() const { (Line() << info << " ").put(); }

ListUnderflowException::ListUnderflowException() { (Line() << "A lista esta vazia").write(); }

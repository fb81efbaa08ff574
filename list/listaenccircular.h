// SPDX-License-Identifier: MIT
// listaenccircular: a circular singly linked list behind a header node.
//
// The list makes its header node on its first insertion. The header's `next`
// is the first element, or null once the list has been emptied; the elements
// form a circle (the last element's `next` is the first) and none points back
// to the header. There is no stored size and no tail link.
//
// Ownership: the list owns its header and every element in the circle. A
// removal hands the unlinked element over as a std::unique_ptr; it keeps its
// key, info and `next` (the element that followed it then, or itself).
// Iteration walks the circle once from the first element; an iterator stays
// valid until its element is unlinked, moved to another list or released.
//
// Builds, each in an inline namespace of its own, so that files of one do not
// link with another: the game build (the default) or the demo build
// (LISTAENC_DEMO_BUILD), which differ in PrintFirst, ExibirInfo and remover;
// with LISTAENC_ASSERTIONS, the checked mode, which checks each "Requires:"
// below in O(1) and aborts with one line on standard error when one is
// broken; with LISTAENC_TRACE, the traced build, which tells an Observer each
// step of each operation. Without a macro nothing of its mode is compiled.
//
// Printing: each line is formatted whole, written to std::cout once and
// flushed; keys in decimal whatever the stream's format, and a width set
// before is consumed. "Throws: as printing": std::bad_alloc without memory
// for the line, and what std::cout throws; the list is then unchanged. With
// no memory for an element or the header, the list writes
// allocation_failure_message on file descriptor 2 and fails an assertion.
//
// Callers keep to at most INT_MAX elements, change no `next` in a circle, and
// change a list from one thread at a time. The whole story: docs/list.md.
#ifndef LISTAENCCIRCULAR_H
#define LISTAENCCIRCULAR_H

#if (defined(_MSVC_LANG) ? _MSVC_LANG : __cplusplus) < 201703L
#error "listaenccircular.h needs C++17 or later"
#elif !defined(__cpp_exceptions) && !defined(_CPPUNWIND)
#error "listaenccircular.h needs exceptions: pop, PrintFirst and GetNth throw them"
#else

#include <cstddef>
#include <cstdlib>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#if __cplusplus >= 202002L && __has_include(<ranges>)
#include <compare>
#include <ranges>
#endif

// The inline namespace of the build: listaenc_game or listaenc_demo, then
// _checked in the checked mode, then _traced in the traced build.
#if defined(LISTAENC_DEMO_BUILD) && defined(LISTAENC_ASSERTIONS) && defined(LISTAENC_TRACE)
inline namespace listaenc_demo_checked_traced {
#elif defined(LISTAENC_DEMO_BUILD) && defined(LISTAENC_ASSERTIONS)
inline namespace listaenc_demo_checked {
#elif defined(LISTAENC_DEMO_BUILD) && defined(LISTAENC_TRACE)
inline namespace listaenc_demo_traced {
#elif defined(LISTAENC_DEMO_BUILD)
inline namespace listaenc_demo {
#elif defined(LISTAENC_ASSERTIONS) && defined(LISTAENC_TRACE)
inline namespace listaenc_game_checked_traced {
#elif defined(LISTAENC_ASSERTIONS)
inline namespace listaenc_game_checked {
#elif defined(LISTAENC_TRACE)
inline namespace listaenc_game_traced {
#else
inline namespace listaenc_game {
#endif
#ifdef LISTAENC_DEMO_BUILD
inline constexpr bool listaenc_demo_build = true;
#else
inline constexpr bool listaenc_demo_build = false;
#endif

// Written on standard error when an element or the header cannot be
// allocated, just before the assertion that aborts the process.
inline constexpr std::string_view allocation_failure_message =
    "\n[listaenc::inserir(int)]: Erro durante alocacao da area de armazenamento!\n";

// One element of the circle (the header node is one too, its key and info
// unused). A node does not own what `next` points to.
//
// A node's value is its key and its info; its place is its `next` (and, in
// the checked mode, its owner). Copying or moving a node makes a node of no
// list, with the value and a null `next`; assigning one to another changes
// the value alone, never the place. So the standard algorithms that move
// values through iterators (std::swap, std::iter_swap, std::rotate,
// std::partition, std::remove_if, std::reverse, std::sort) move keys and
// infos between the elements, and leave the circle whole.
struct node {
    int key = 0;
    std::string info;
    node* next = nullptr;
#ifdef LISTAENC_ASSERTIONS
    // The checked mode's own: the header node of the list whose circle holds
    // this node, or null. Only the list writes it.
    const node* owner = nullptr;
#endif

    node() = default;
    // Effects: a node of no list with this key, info and next.
    // Throws: nothing.
    node(int key_, std::string info_, node* next_ = nullptr) noexcept
        : key(key_), info(std::move(info_)), next(next_) {}
    // Effects: a node of no list with the other's key and info; next null.
    // Throws: std::bad_alloc without memory for the info.
    node(const node& other) : key(other.key), info(other.info) {}
    // Effects: as copying, the other's info moved. Throws: nothing.
    node(node&& other) noexcept : key(other.key), info(std::move(other.info)) {}
    // Effects: takes the other's key and info; next (and owner) stay.
    // Throws: std::bad_alloc without memory for the info; then nothing changed.
    node& operator=(const node& other) {
        info = other.info;
        key = other.key;
        return *this;
    }
    // Effects: as assignment, the other's info moved. Throws: nothing.
    node& operator=(node&& other) noexcept {
        info = std::move(other.info);
        key = other.key;
        return *this;
    }
    ~node() = default;

    // Effects: prints the key in decimal and one space, without an end of
    //   line. Throws: as printing.
    void display() const;
    // Effects: prints the info and one space, without an end of line.
    // Throws: as printing.
    void displayinfo() const;

    // A node's memory comes from std::malloc and goes back to std::free,
    // so that the list can make its elements without a new-handler. `new`
    // on a node throws std::bad_alloc when there is no memory, without a
    // new-handler either (`new (std::nothrow)` answers null); `delete`, as
    // std::unique_ptr<node> uses it, frees the memory. Placement new is as
    // for any type.
    static void* operator new(std::size_t size) {
        if (void* const memory = std::malloc(size)) {
            return memory;
        }
        throw std::bad_alloc();
    }
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
        return std::malloc(size);
    }
    static void* operator new(std::size_t, void* place) noexcept { return place; }
    static void operator delete(void* memory) noexcept { std::free(memory); }
    static void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
    static void operator delete(void*, void*) noexcept {}
};

// Made when the list has no element to give; making one prints
// "A lista esta vazia" and an end of line on standard output. Throws: as
// printing.
class ListUnderflowException {
public:
    ListUnderflowException();
};

#ifndef LISTAENC_DEMO_BUILD
// Made when a position has no element; making one prints
// "indice maior do que o tamanho da lista" and an end of line. Throws: as
// printing.
class OutOfBoundsException {
public:
    OutOfBoundsException();
};
#endif

#ifdef LISTAENC_TRACE
class ListaEnc;

// One step of an operation, as the traced build tells it: typed facts (what
// kind of step, which local, which link, which nodes, the answer of a test,
// the line of the list's source), and the same step in the code's words.
struct Step {
    enum class Kind : unsigned char {
        call,      // an operation starts (operation set; nothing else)
        visit,     // the cursor `local` now stands on `element` (null: it has run off)
        compare,   // `element`, under the cursor `local`, was tested; `matched` is the answer
        make,      // `element` was made (an element or the header), not linked yet
        link,      // a link changed (`link` says which: the list's own head, the header's
                   //   next, or the next of `element`) from `before` to `after`
        unlink,    // `element` is out of the circle and handed over to the caller
        release,   // `element` is about to be released (still readable during the call)
        done,      // the operation returns
        test,      // a test that ends a walk or a loop, or picks a branch (`atual != primeiro`,
                   //   `removido == anterior`), at the cursor `local` if any; `matched` is
                   //   the answer
        unchanged, // a link was assigned the value it already held: as `link`, before == after
        output,    // the operation printed `text` (a whole line and its end), just now
        enter,     // a helper of the operation (`function`) starts: its locals come with it
        leave,     // that helper returns: its locals go
        declare    // as visit, where the local `local` is declared: it starts here, on `element`
    };
    // The operations' locals, the cursors of their walks.
    enum class Local : unsigned char {
        none,
        primeiro,
        ultimo,
        atual,
        anterior,
        proximo,
        removido,
        movido,
        novo,
        cabeca,
        esquerda,
        direita,
        cauda,
        escolhido
    };
    // Which link a link step changed.
    enum class Link : unsigned char {
        none,
        head,        // the list's own `head`, the pointer to its header node
        header_next, // the header node's `next`, the first element (head->next)
        next         // the `next` of the element `element`
    };

    Kind kind;
    // The operation the caller called: "inserir", "remover", "pop", "GetNth"...
    const char* operation;
    // The step in the words of the code: "atual = atual->next",
    //   "anterior->next = removido->next", "head->next = novo"; "" for call/done.
    const char* code;
    // visit/compare: the cursor's name ("atual", "anterior", "ultimo", "primeiro");
    //   link: the link's name ("head->next", "ultimo->next", "novo->next", "head");
    //   make/unlink/release: the variable's name ("novo", "removido", "cabeca");
    //   enter/leave: the helper's name ("last", "find_before"); else "".
    const char* name;
    const node* element = nullptr;
    const node* before = nullptr;
    const node* after = nullptr;
    bool matched = false;

    // The local that the step is about: the cursor moved or tested, the
    //   element whose `next` changed, the node made, handed over or released.
    Local local = Local::none;
    // link and unchanged: which link.
    Link link = Link::none;
    // The list's header node at this step (null when it has none).
    const node* header = nullptr;
    // The function that runs the step: the operation's own ("inserir",
    //   "sort_by" for sort) or a helper's ("last", "unlink_after").
    const char* function = "";
    // 0 for the operation's own steps, 1 inside a helper it calls, 2 inside
    //   a helper of that helper.
    int depth = 0;
    // The line of the list's source that made the step (the listing of
    //   each function: listaenc_listing.h); 0 for call and done.
    int line = 0;
    // output: the line printed, its end of line included.
    std::string_view text;

    // Returns: the name of a local, as the code writes it ("" for none).
    static const char* local_name(Local local) noexcept;
};

class Observer {
public:
    // Called at each step, after the step has happened (memory shows it), but for `release`,
    // which comes just before the element is freed. Must not change the list. May throw only
    // if the operation's contract allows (a noexcept operation: the observer must not throw).
    virtual void step(const ListaEnc& list, const Step& step) = 0;

protected:
    ~Observer() = default;
};
#endif

// The checked mode checks each "Requires:" below, and *, -> and ++ of an
// iterator, in O(1): each node knows the header of the list whose circle
// holds it. A broken one writes "listaenc: ", the operation, ": " and what was
// wrong, in one write on file descriptor 2, and aborts. It cannot see: a node
// already released, or of a list destroyed (its memory is read all the same;
// the sanitizers see that); a `next` or `owner` that the caller changed; a
// comparison that is not a strict weak order or that throws, or a predicate
// that changes the list; more than INT_MAX elements; two threads at once; an
// observer that changes the list or throws from a noexcept operation.
// In the contracts below, N is the number of elements in the circle, and an
// element of the list is one in its circle (not one unlinked from it).
class ListaEnc {
    template <typename Element>
    class Iterator;

public:
    // Forward iterators over the elements, in circle order.
    using iterator = Iterator<node>;
    using const_iterator = Iterator<const node>;
    // The names that the standard containers give these types.
    using value_type = node;
    using reference = node&;
    using const_reference = const node&;
    using size_type = std::size_t;
    using difference_type = std::ptrdiff_t;

    // Effects: makes a list without a header. Cost: O(1). Throws: nothing.
    ListaEnc() noexcept = default;
    // Effects: releases the header and every element in the circle, once each;
    //   elements unlinked earlier are not touched. Cost: O(N). Throws: nothing.
    ~ListaEnc();
    ListaEnc(const ListaEnc&) = delete;
    ListaEnc& operator=(const ListaEnc&) = delete;
    // Effects: takes the header and the elements of `other`, which is left a
    //   list without a header. Cost: O(1). Throws: nothing.
    ListaEnc(ListaEnc&& other) noexcept : head(std::exchange(other.head, nullptr)) {}
    // Effects: releases what this list held, as the destructor does, then
    //   takes the header and the elements of `other`, which is left a list
    //   without a header. Moving a list to itself changes nothing.
    // Cost: O(N) of this list. Throws: nothing.
    ListaEnc& operator=(ListaEnc&& other) noexcept;
    // Effects: a list of these elements ({key, info} each), in this order;
    //   without any, a list without a header. Cost: O(size of the list).
    // Throws: nothing (no memory for an element: as inserir).
    ListaEnc(std::initializer_list<node> elements) noexcept { assign(elements); }

    // Effects: releases every element, then appends a copy of the key and
    //   info of each element of [first, last) (a node, or a pair or tuple of
    //   a key and an info), in order. Cost: O(N + size of the range). Throws: what reading or
    //   converting an element of the range throws; the elements appended
    //   until then stay.
    template <typename InputIterator>
    void assign(InputIterator first, InputIterator last);
    void assign(std::initializer_list<node> elements) noexcept {
        assign(elements.begin(), elements.end());
    }

    // Returns: an iterator to the first element, or end() without elements.
    // Cost: O(1). Throws: nothing.
    iterator begin() noexcept;
    const_iterator begin() const noexcept;
    // Returns: the iterator past the last element. Cost: O(1). Throws: nothing.
    iterator end() noexcept;
    const_iterator end() const noexcept;
    // Returns: begin() and end() of the list seen as const. Cost: O(1).
    // Throws: nothing.
    const_iterator cbegin() const noexcept;
    const_iterator cend() const noexcept;

    // Effects: appends an element with this key and text after the last one,
    //   making the element, then the header when there is none. Returns: 0.
    // Cost: O(N). Throws: nothing. When there is no memory for the element
    //   or the header, the process aborts as the top of this file says;
    //   nothing half-made is linked.
    int inserir(int key, std::string info) noexcept;
    // Requires: `anterior` is an element of this list.
    // Effects: links an element with this key and text right after `anterior`;
    //   after the last element, the new one becomes the last. The first
    //   element does not change. Returns: the new element, owned by the list.
    // Cost: O(1). Throws: nothing. Running out of memory is as in inserir.
    node* inserirapos(node* anterior, int key, std::string info) noexcept;
    // Requires: `pos` is an element of this list (not end()).
    // Effects: as inserirapos after the element of `pos`. Returns: an iterator
    //   to the new element. Cost: O(1). Throws: nothing. Running out of memory
    //   is as in inserir.
    iterator insert_after(const_iterator pos, int key, std::string info) noexcept;

    // Returns: true exactly when the list has no header (it never received an
    //   element). An emptied list answers false. Cost: O(1). Throws: nothing.
    bool isEmpty() const noexcept;

    // Returns: true exactly when the list has no element, whether it has no
    //   header or was emptied. Cost: O(1). Throws: nothing.
    bool empty() const noexcept;

    // Returns: N (0 without elements). Cost: O(N). Throws: nothing.
    int tamanho() const noexcept;
    size_type size() const noexcept;

    // Requires: an element. Returns: the first element, owned by the list;
    //   writable only through a list that is. Cost: O(1). Throws: nothing.
    node& front() noexcept;
    const node& front() const noexcept;

    // Effects: releases every element and leaves the header with no element;
    //   without a header, does nothing. Cost: O(N). Throws: nothing.
    void limpar() noexcept;

    // Effects: as limpar. Cost: O(N). Throws: nothing.
    void clear() noexcept;

    // Effects: exchanges the header and the elements of the two lists; each
    //   keeps its observer. Iterators stay valid and go with their elements.
    // Cost: O(1). Throws: nothing.
    void swap(ListaEnc& other) noexcept;

    // Effects: unlinks and releases every element with this key.
    // Returns: how many. Cost: O(N). Throws: nothing.
    size_type remove(int key) noexcept;
    // Effects: unlinks and releases every element for which pred, called once
    //   on each element (a node&) in circle order from the first, answers
    //   true.
    // Returns: how many. Cost: O(N) and N calls of pred. Throws: what pred
    //   throws; the elements released until then stay released.
    template <typename Predicate>
    size_type remove_if(Predicate pred);

    // Effects: turns each `next` around, so the circle runs the other way
    //   from the old last element, now the first. Cost: O(N). Throws: nothing.
    void reverse() noexcept;

    // Effects: orders the elements by key, stable (elements with equal keys
    //   keep their order), by merging runs of links: no element moves in
    //   memory or is made, and iterators stay valid. Cost: O(N log N).
    // Throws: nothing.
    void sort() noexcept;
    // Requires: comp(a, b) answers whether a goes before b, a strict weak
    //   order, throws nothing, and does not use the list (while it sorts,
    //   the elements stand apart in runs, not in a circle).
    // Effects: as sort(), in the order of comp. Cost: O(N log N) calls of
    //   comp. Throws: nothing.
    template <typename Compare>
    void sort(Compare comp) noexcept;

    // Requires: `pos` is an element of this list (not end()), and `other` is
    //   another list.
    // Effects: moves every element of `other`, in its order, right after
    //   `pos` (after the last element: they become the last). `other` is left
    //   emptied (its header stays). Iterators to the moved elements are no
    //   longer valid. Cost: O(size of other). Throws: nothing.
    void splice_after(const_iterator pos, ListaEnc& other) noexcept;
    void splice_after(const_iterator pos, ListaEnc&& other) noexcept;
    // Requires: `pos` is an element of this list, and `it` an element of
    //   `other`, which may be this list.
    // Effects: moves the element after `it` (after the last element comes
    //   the first) right after `pos`, as erase_after and insert_after would;
    //   nothing when `pos` is `it` or that element. Iterators to it are no
    //   longer valid. Cost: O(1). Throws: nothing.
    void splice_after(const_iterator pos, ListaEnc& other, const_iterator it) noexcept;
    void splice_after(const_iterator pos, ListaEnc&& other, const_iterator it) noexcept;

    // Returns: whether some element has this key (false without elements).
    // Cost: O(N). Throws: nothing.
    bool Busca(int key) const noexcept;
    // Returns: whether some element's info equals this text, byte for byte
    //   (false without elements). Cost: O(N). Throws: nothing.
    bool BuscaInfo(const std::string& info) const noexcept;

    // Effects: prints the first element's key and an end of line; the game
    //   build then prints one space, the first element's info and an end of
    //   line. Returns: the first element's key.
    // Cost: O(1). Throws: ListUnderflowException without elements; as
    //   printing.
    int PrintFirst() const;

    // Effects: prints one space, then each key and one space, in circle order,
    //   then an end of line (one space alone without elements). Cost: O(N).
    // Throws: as printing.
    void ExibirLista() const;
    // Effects: prints one space, then each element in circle order, then an
    //   end of line (one space alone without elements). Each element is, in
    //   the game build, one space, its 1-based position, "." and its info and
    //   one space ("  1.alfa  2.beta "); in the demo build, its info and one
    //   space. Cost: O(N + length of the texts). Throws: as printing.
    void ExibirInfo() const;

    // Effects: unlinks the first element. Returns: that element; its `next`
    //   is the new first element (itself when it was the only one).
    // Cost: O(N). Throws: ListUnderflowException without elements, or what
    //   making it throws (as printing); the list is unchanged.
    std::unique_ptr<node> pop();

    // Effects: unlinks the first element in circle order with this key.
    // Returns: that element, or empty when no element has the key. The demo
    //   build releases the element itself and returns empty, unless the
    //   element was the first of several (then it returns it, as pop does).
    // Cost: O(N). Throws: nothing.
    std::unique_ptr<node> remover(int key) noexcept;
    // Effects: unlinks the first element in circle order whose info equals
    //   this text. Returns: that element, or empty when none matches (both
    //   builds). Cost: O(N). Throws: nothing.
    std::unique_ptr<node> removerinfo(const std::string& info) noexcept;
    // Effects: unlinks exactly this element, if it is in the circle.
    // Returns: that element, or empty when it is not in the circle (the list
    //   is then unchanged). Cost: O(N). Throws: nothing.
    std::unique_ptr<node> removerno(const node* element) noexcept;
    // Requires: `anterior` is an element of this list.
    // Effects: unlinks the element after `anterior`. When that was the first
    //   element, the first moves on to its successor; when `anterior` was the
    //   only element, the list is left emptied (the header stays).
    // Returns: the unlinked element, its `next` unchanged.
    // Cost: O(1). Throws: nothing.
    std::unique_ptr<node> removerapos(node* anterior) noexcept;
    // Requires: `pos` is an element of this list (not end()).
    // Effects: as removerapos at the element of `pos`: after the last element
    //   comes the first. Returns: the unlinked element, its `next` unchanged.
    // Cost: O(1). Throws: nothing.
    std::unique_ptr<node> erase_after(const_iterator pos) noexcept;
    // Requires: `pos` is an element of this list; `last` is end() or an
    //   element of this list after `pos` in circle order from `pos`.
    // Effects: releases the elements after `pos` up to `last`, not `last`
    //   (up to the last element when `last` is end()); when the first element
    //   goes, the element after the released ones becomes the first.
    // Returns: last. Cost: O(number released). Throws: nothing.
    iterator erase_after(const_iterator pos, const_iterator last) noexcept;
    // Requires: as insert_after. Effects: as insert_after of a node made of
    //   args (a key and an info). Returns: the new element. Cost: O(1).
    // Throws: nothing (no memory for the element: as inserir).
    template <typename... Args>
    iterator emplace_after(const_iterator pos, Args&&... args) noexcept;

    // Effects: the first element becomes the last, and the second the first:
    //   the header's `next` moves on, and no link of the circle changes.
    //   Without elements, nothing. Cost: O(1). Throws: nothing.
    void rotate() noexcept;
    // Effects: turns the circle k places, as k calls of rotate() (k mod N
    //   places). Cost: O(min(k, N) + k mod N). Throws: nothing.
    void rotate(size_type k) noexcept;

    // Effects: of each run of consecutive elements in circle order from the
    //   first (the last and the first are not consecutive) with equal keys,
    //   or for which pred(earlier, later) answers true, keeps the first and
    //   releases the rest. Returns: how many were released.
    // Cost: O(N), N - 1 calls of pred. Throws: what pred throws; the
    //   elements released until then stay released.
    size_type unique() noexcept;
    template <typename Predicate>
    size_type unique(Predicate pred);

    // Requires: `other` is another list; both are ordered by key (or by
    //   comp, a strict weak order that throws nothing and does not use the
    //   lists).
    // Effects: moves every element of `other` into this list, so that it is
    //   ordered; of equal elements, this list's come first, each list's in
    //   its order. `other` is left emptied (its header stays). Iterators to
    //   the moved elements are no longer valid. Cost: O(N + size of other).
    // Throws: nothing.
    void merge(ListaEnc& other) noexcept;
    void merge(ListaEnc&& other) noexcept { merge(other); }
    template <typename Compare>
    void merge(ListaEnc& other, Compare comp) noexcept;
    template <typename Compare>
    void merge(ListaEnc&& other, Compare comp) noexcept {
        merge(other, comp);
    }

#ifndef LISTAENC_DEMO_BUILD
    // Returns: the element at 0-based position n in circle order, still in the
    //   list and owned by it; writable only through a list that is.
    // Cost: O(min(n, N)). Throws: OutOfBoundsException when n < 0 or n >= N,
    //   or what making it throws (as printing); the list is unchanged.
    node* GetNth(int n);
    const node* GetNth(int n) const;
#endif

#ifdef LISTAENC_TRACE
    // Effects: from now on, observer is told each step of each operation
    //   (null: no one is). Cost: O(1). Throws: nothing.
    void observe(Observer* observer) noexcept;
    // Returns: the observer told of each step, or null. Cost: O(1).
    // Throws: nothing.
    Observer* observer() const noexcept;
#endif

private:
#ifdef LISTAENC_TRACE
    static constexpr bool traced = true;
#else
    static constexpr bool traced = false;
#endif

    node* first() const noexcept { return head != nullptr ? head->next : nullptr; }
    // The element whose `next` is the first; requires an element.
    node* last() const noexcept(!traced);
    int count() const noexcept(!traced);
    // The first element, in circle order, that match answers true of, or
    // null; test is the match in the code's words.
    template <typename Match>
    node* find(Match match, const char* test) const;
    // The element before that element (the last when it is the first).
    template <typename Match>
    node* find_before(Match match, const char* test) const;

    // The one primitive through which every link changes: the `next` of
    // element, or with element null the list's own head, becomes after. In
    // the checked mode it makes the node that a link of the circle reaches
    // this list's; in the traced build it tells the change, named as the
    // code at that line of the list's source writes it.
    void link(node* element, node* after, const char* name = "", const char* code = "",
              int line = 0) noexcept(!traced);
    // Links novo right after anterior and answers it.
    node* link_after(node* anterior, node* novo) noexcept(!traced);
    // Unlinks the element after anterior, which must be in the circle,
    // moving the first on when that was it, and answers it.
    node* unlink_after(node* anterior) noexcept(!traced);
    // The unlinked element, handed over to the caller.
    std::unique_ptr<node> hand_over(node* element, const char* name = "", const char* code = "",
                                    int line = 0) noexcept(!traced);
    // A node of no list with this key and info, in memory of its own (no
    // new-handler is called), or null when there is none.
    static node* make_node(int key, std::string&& info) noexcept;
#ifndef LISTAENC_TRACE
    // Where the header's inserirapos and insert_after go when their element
    // cannot be made: the message, then the assertion, whose report names
    // the function and so the operation.
    [[noreturn]] static void inserirapos_unmade() noexcept;
    [[noreturn]] static void insert_after_unmade() noexcept;
#endif
    // What remove, remove_if and the sorts share, with the operation's name
    // and its test in the code's words.
    template <typename Match>
    size_type remove_where(Match match, const char* test);
    size_type remove_matching(bool (*test)(void* pred, const node& element), void* pred);
    size_type unique_by(bool (*same)(void* pred, const node& a, const node& b), void* pred,
                        const char* operation, const char* test);
    void splice_after_empty(ListaEnc& other) noexcept;
    void merge_by(ListaEnc& other, bool (*less)(void* comp, const node& a, const node& b),
                  void* comp, const char* test) noexcept;
    void sort_by(bool (*less)(void* comp, const node& a, const node& b), void* comp,
                 const char* operation, const char* test) noexcept;
    // Releases every element (there is one), leaving the header alone.
    void release_elements() noexcept;
    // Releases the elements and the header, leaving the list without one.
    void release_all() noexcept;

#ifdef LISTAENC_ASSERTIONS
    // The checked mode's requirements: that `anterior` is an element of this
    // list, that `pos` is, and that the list has an element. Each reports a
    // broken one, naming the operation, and aborts.
    void require_element(const char* operation, const node* anterior) const noexcept;
    void require_element(const char* operation, const_iterator pos,
                         const char* name = "pos") const noexcept;
    void require_elements(const char* operation) const noexcept;
    void require_other(const char* operation, const ListaEnc& other) const noexcept;
    [[noreturn]] static void broken(const char* operation, const char* what) noexcept;
    // broken, with what is `name` followed by `why`.
    [[noreturn]] static void misplaced(const char* operation, const char* name,
                                       const char* why) noexcept;
#endif

#ifdef LISTAENC_TRACE
    class Call;
    class Frame;
    void tell(Step::Kind kind, const char* name, const char* code, int line,
              const node* element = nullptr, const node* before = nullptr,
              const node* after = nullptr, bool matched = false) const;
    bool tested(Step::Kind kind, const char* cursor, const char* test, int line,
                const node* element, bool matched) const;
    void told(const char* name, const char* code, int line, std::string_view text) const;

    int reach() const noexcept;

    Observer* observer_ = nullptr;
    mutable const char* operation_ = nullptr; // of the call under way
    mutable const char* function_ = "";       // the function running its steps
    mutable int depth_ = 0;                   // of the helpers running
    mutable bool telling_ = false;            // while the observer is called
#endif

    node* head = nullptr; // the header node, owned by the list
};

// An iterator holds its element and the list's header node, and steps along
// `next` until it is back at whatever element is first at that moment.
// Requires, of *, -> and ++: the iterator is not end(), and its element is
// still in the list.
template <typename Element>
class ListaEnc::Iterator {
public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = node;
    using difference_type = std::ptrdiff_t;
    using pointer = Element*;
    using reference = Element&;

    Iterator() noexcept = default;
    // An iterator converts to a const_iterator.
    operator Iterator<const node>() const noexcept { return {element, header}; }

    reference operator*() const noexcept { return *current("operator*"); }
    pointer operator->() const noexcept { return current("operator->"); }
    Iterator& operator++() noexcept {
        element = current("operator++")->next == header->next ? nullptr : element->next;
        return *this;
    }
    Iterator operator++(int) noexcept {
        Iterator const before = *this;
        ++*this;
        return before;
    }
    friend bool operator==(const Iterator& a, const Iterator& b) noexcept {
        return a.element == b.element;
    }
    friend bool operator!=(const Iterator& a, const Iterator& b) noexcept { return !(a == b); }

private:
    friend class ListaEnc;
    friend Iterator<const node>;
    Iterator(Element* at, const node* list_header) noexcept : element(at), header(list_header) {}

    // The element, which the checked mode requires there to be.
    Element* current([[maybe_unused]] const char* operation) const noexcept {
#ifdef LISTAENC_ASSERTIONS
        if (element == nullptr) {
            ListaEnc::broken(operation, "o iterador e end()");
        }
        if (element->owner != header) {
            ListaEnc::broken(operation, "o elemento do iterador nao esta na lista");
        }
#endif
        return element;
    }

    Element* element = nullptr; // null past the last element
    const node* header = nullptr;
};

// The one primitive, and what every build shares of handing an element over
// and of making one, stand here so that the hot paths below compile into the
// caller.
inline void ListaEnc::link(node* element, node* after, [[maybe_unused]] const char* name,
                           [[maybe_unused]] const char* code,
                           [[maybe_unused]] int line) noexcept(!traced) {
    node*& changed = element != nullptr ? element->next : head;
    [[maybe_unused]] node* const before = changed;
    changed = after;
#ifdef LISTAENC_ASSERTIONS
    // A node that a link of this list's circle reaches is in this list.
    if (after != nullptr && (element == head || (element != nullptr && element->owner == head))) {
        after->owner = head;
    }
#endif
#ifdef LISTAENC_TRACE
    if (operation_ != nullptr) {
        tell(before == after ? Step::Kind::unchanged : Step::Kind::link, name, code, line, element,
             before, after);
    }
#endif
}

inline std::unique_ptr<node> ListaEnc::hand_over(node* element, [[maybe_unused]] const char* name,
                                                 [[maybe_unused]] const char* code,
                                                 [[maybe_unused]] int line) noexcept(!traced) {
#ifdef LISTAENC_ASSERTIONS
    element->owner = nullptr;
#endif
#ifdef LISTAENC_TRACE
    if (operation_ != nullptr) {
        tell(Step::Kind::unlink, name, code, line, element);
    }
#endif
    return std::unique_ptr<node>(element);
}

inline node* ListaEnc::make_node(int key, std::string&& info) noexcept {
    void* const memory = std::malloc(sizeof(node));
    return memory != nullptr ? ::new (memory) node(key, std::move(info)) : nullptr;
}

#ifdef LISTAENC_ASSERTIONS
inline void ListaEnc::require_element(const char* operation, const node* anterior) const noexcept {
    if (anterior == nullptr) {
        misplaced(operation, "anterior", " e nulo");
    }
    if (head == nullptr || anterior->owner != head) {
        misplaced(operation, "anterior", " nao e um elemento desta lista");
    }
}

inline void ListaEnc::require_element(const char* operation, const_iterator pos,
                                      const char* name) const noexcept {
    if (pos.element == nullptr) {
        misplaced(operation, name, " e end()");
    }
    if (head == nullptr || pos.element->owner != head) {
        misplaced(operation, name, " nao e um elemento desta lista");
    }
}
#endif

#ifndef LISTAENC_TRACE // the traced build tells each step of these
inline node* ListaEnc::link_after(node* anterior, node* novo) noexcept(!traced) {
    link(novo, anterior->next);
    link(anterior, novo);
    return novo;
}

inline node* ListaEnc::unlink_after(node* anterior) noexcept(!traced) {
    node* const removido = anterior->next;
    if (removido == anterior) { // it was alone
        link(head, nullptr);
    } else {
        if (removido == head->next) {
            link(head, removido->next);
        }
        link(anterior, removido->next);
    }
    return removido;
}

inline node* ListaEnc::inserirapos(node* anterior, int key, std::string info) noexcept {
#ifdef LISTAENC_ASSERTIONS
    require_element("inserirapos", anterior);
#endif
    node* const novo = make_node(key, std::move(info));
    if (novo == nullptr) {
        inserirapos_unmade();
    }
    return link_after(anterior, novo);
}

inline ListaEnc::iterator ListaEnc::insert_after(const_iterator pos, int key,
                                                 std::string info) noexcept {
#ifdef LISTAENC_ASSERTIONS
    require_element("insert_after", pos);
#endif
    node* const novo = make_node(key, std::move(info));
    if (novo == nullptr) {
        insert_after_unmade();
    }
    return {link_after(const_cast<node*>(pos.element), novo), head}; // an element of this list
}

inline std::unique_ptr<node> ListaEnc::removerapos(node* anterior) noexcept {
#ifdef LISTAENC_ASSERTIONS
    require_element("removerapos", anterior);
#endif
    return hand_over(unlink_after(anterior));
}

inline std::unique_ptr<node> ListaEnc::erase_after(const_iterator pos) noexcept {
#ifdef LISTAENC_ASSERTIONS
    require_element("erase_after", pos);
#endif
    return hand_over(unlink_after(const_cast<node*>(pos.element))); // an element of this list
}
#endif

#ifndef LISTAENC_TRACE // the traced build tells these calls too
inline ListaEnc::iterator ListaEnc::begin() noexcept { return {first(), head}; }
inline ListaEnc::const_iterator ListaEnc::begin() const noexcept { return {first(), head}; }
inline ListaEnc::iterator ListaEnc::end() noexcept { return {}; }
inline ListaEnc::const_iterator ListaEnc::end() const noexcept { return {}; }
inline ListaEnc::const_iterator ListaEnc::cbegin() const noexcept { return begin(); }
inline ListaEnc::const_iterator ListaEnc::cend() const noexcept { return {}; }
inline bool ListaEnc::isEmpty() const noexcept { return head == nullptr; }
inline bool ListaEnc::empty() const noexcept { return first() == nullptr; }
inline const node& ListaEnc::front() const noexcept {
#ifdef LISTAENC_ASSERTIONS
    if (first() == nullptr) {
        broken("front", "a lista nao tem elementos");
    }
#endif
    return *first();
}
#endif
inline node& ListaEnc::front() noexcept { return const_cast<node&>(std::as_const(*this).front()); }

template <typename Predicate>
ListaEnc::size_type ListaEnc::remove_if(Predicate pred) {
    // pred is given each element as a node&: they are this list's, which is
    // not const.
    return remove_matching(
        [](void* p, const node& element) -> bool {
            return (*static_cast<Predicate*>(p))(const_cast<node&>(element));
        },
        &pred);
}

template <typename Compare>
void ListaEnc::sort(Compare comp) noexcept {
    sort_by([](void* c, const node& a,
               const node& b) -> bool { return (*static_cast<Compare*>(c))(a, b); },
            &comp, "sort", "comp(*direita, *esquerda)");
}

template <typename InputIterator>
void ListaEnc::assign(InputIterator first, InputIterator last) {
    clear();
    iterator tail;
    for (; first != last; ++first) {
        node made = [&] {
            if constexpr (std::is_constructible_v<node, decltype(*first)>) {
                return node(*first);
            } else { // a pair, or a tuple, of a key and an info
                return node(std::get<0>(*first), std::get<1>(*first));
            }
        }();
        if (tail == iterator()) {
            inserir(made.key, std::move(made.info));
            tail = begin();
        } else {
            tail = insert_after(tail, made.key, std::move(made.info));
        }
    }
}

template <typename... Args>
ListaEnc::iterator ListaEnc::emplace_after(const_iterator pos, Args&&... args) noexcept {
    node made(std::forward<Args>(args)...);
    return insert_after(pos, made.key, std::move(made.info));
}

template <typename Predicate>
ListaEnc::size_type ListaEnc::unique(Predicate pred) {
    return unique_by([](void* p, const node& a,
                        const node& b) -> bool { return (*static_cast<Predicate*>(p))(a, b); },
                     &pred, "unique", "pred(*anterior, *atual)");
}

template <typename Compare>
void ListaEnc::merge(ListaEnc& other, Compare comp) noexcept {
    merge_by(
        other,
        [](void* c, const node& a, const node& b) -> bool {
            return (*static_cast<Compare*>(c))(a, b);
        },
        &comp, "comp(*direita, *esquerda)");
}

// Returns: whether the two lists hold as many elements, equal one by one in
//   circle order from the first (key and info). Cost: O(N). Throws: nothing.
inline bool operator==(const ListaEnc& a, const ListaEnc& b) noexcept {
    auto x = a.begin();
    auto y = b.begin();
    for (; x != a.end() && y != b.end(); ++x, ++y) {
        if (x->key != y->key || x->info != y->info) {
            return false;
        }
    }
    return x == a.end() && y == b.end();
}
inline bool operator!=(const ListaEnc& a, const ListaEnc& b) noexcept { return !(a == b); }
// Returns: how the lists compare element by element in circle order from
//   the first, key then info, the shorter first where one is the start of
//   the other. Cost: O(N). Throws: nothing.
inline int compare(const ListaEnc& a, const ListaEnc& b) noexcept {
    auto x = a.begin();
    auto y = b.begin();
    for (; x != a.end() && y != b.end(); ++x, ++y) {
        if (x->key != y->key) {
            return x->key < y->key ? -1 : 1;
        }
        if (int const by_info = x->info.compare(y->info); by_info != 0) {
            return by_info < 0 ? -1 : 1;
        }
    }
    return x != a.end() ? 1 : y != b.end() ? -1 : 0;
}
#ifdef __cpp_impl_three_way_comparison
inline std::strong_ordering operator<=>(const ListaEnc& a, const ListaEnc& b) noexcept {
    return compare(a, b) <=> 0;
}
#else
inline bool operator<(const ListaEnc& a, const ListaEnc& b) noexcept { return compare(a, b) < 0; }
inline bool operator>(const ListaEnc& a, const ListaEnc& b) noexcept { return compare(a, b) > 0; }
inline bool operator<=(const ListaEnc& a, const ListaEnc& b) noexcept { return compare(a, b) <= 0; }
inline bool operator>=(const ListaEnc& a, const ListaEnc& b) noexcept { return compare(a, b) >= 0; }
#endif

inline void ListaEnc::splice_after(const_iterator pos, ListaEnc&& other) noexcept {
    splice_after(pos, other);
}

inline void ListaEnc::splice_after(const_iterator pos, ListaEnc&& other,
                                   const_iterator it) noexcept {
    splice_after(pos, other, it);
}

// Effects: a.swap(b). Cost: O(1). Throws: nothing.
inline void swap(ListaEnc& a, ListaEnc& b) noexcept { a.swap(b); }

} // inline namespace of the build

#if __cplusplus >= 202002L && __has_include(<ranges>)
// size() walks the circle: the list is not a std::ranges::sized_range, whose
// size is O(1).
template <>
inline constexpr bool std::ranges::disable_sized_range<ListaEnc> = true;
#endif

#endif // C++17 or later, with exceptions
#endif

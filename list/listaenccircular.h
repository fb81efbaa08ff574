// listaenccircular: a circular singly linked list behind a header node.
//
// The list makes its header node on the first insertion. The header's `next`
// is the first element, or null once the list has been emptied; the elements
// form a circle (the last element's `next` is the first, a single element's
// `next` is itself) and no element points back to the header. There is no
// stored size and no tail link: size and last element are found by walking
// the circle.
//
// Ownership: the list owns its header and every element in the circle. A
// removal hands the unlinked element to the caller as a std::unique_ptr. An
// unlinked element keeps its key, its info and its `next` link, which still
// points to the element that followed it at the moment of removal (to itself
// when it was the only one), so a caller can go on from its successor.
//
// The module comes in two builds from this one source. The game build is the
// default; defining LISTAENC_DEMO_BUILD selects the demo build, and
// listaenc_demo_build below tells which one a user was compiled against. They
// differ in PrintFirst, ExibirInfo and remover, whose definitions stand
// together at the end of listaenccircular.cpp, and only the game build
// declares GetNth and OutOfBoundsException.
//
// Printing goes to standard output. Every printed line ends with a newline
// and a flush, and each line is formatted whole before it is written once.
// The list does not look at the stream's state: a caller that wants to know
// of a failed write asks std::cout, or sets it to throw (the programs do), in
// which case the printing operation throws and leaves the list unchanged.
#ifndef LISTAENCCIRCULAR_H
#define LISTAENCCIRCULAR_H

#include <memory>
#include <string>
#include <string_view>

#ifdef LISTAENC_DEMO_BUILD
inline constexpr bool listaenc_demo_build = true;
#else
inline constexpr bool listaenc_demo_build = false;
#endif

// Written on standard error when an element cannot be allocated, just before
// the process aborts.
inline constexpr std::string_view allocation_failure_message =
    "\n[listaenc::inserir(int)]: Erro durante alocacao da area de armazenamento!\n";

// One element of the circle (the header node is one too, its key and info
// unused). A node does not own what `next` points to.
struct node {
    int key = 0;
    std::string info;
    node* next = nullptr;

    // Prints the key in decimal and one space, without an end of line.
    void display() const;
    // Prints the info and one space, without an end of line.
    void displayinfo() const;
};

// Made when the list has no element to give; making one prints
// "A lista esta vazia" and an end of line on standard output.
class ListUnderflowException {
public:
    ListUnderflowException();
};

#ifndef LISTAENC_DEMO_BUILD
// Made when a position has no element; making one prints
// "indice maior do que o tamanho da lista" and an end of line.
class OutOfBoundsException {
public:
    OutOfBoundsException();
};
#endif

// In the contracts below, N is the number of elements in the circle.
class ListaEnc {
public:
    // Effects: makes a list without a header. Cost: O(1). Throws: nothing.
    ListaEnc() noexcept = default;
    // Effects: releases the header and every element in the circle, once each;
    //   elements unlinked earlier are not touched. Cost: O(N). Throws: nothing.
    ~ListaEnc();
    ListaEnc(const ListaEnc&) = delete;
    ListaEnc& operator=(const ListaEnc&) = delete;

    // Effects: appends an element with this key and text after the last one,
    //   making the header first when there is none. Returns: 0.
    // Cost: O(N). Throws: nothing. When memory runs out it writes
    //   allocation_failure_message on standard error and aborts the process;
    //   nothing half-made is linked.
    int inserir(int key, std::string info);

    // Returns: true exactly when the list has no header (it never received an
    //   element). An emptied list answers false. Cost: O(1). Throws: nothing.
    bool isEmpty() const noexcept;

    // Returns: N (0 without elements). Cost: O(N). Throws: nothing.
    int tamanho() const noexcept;

    // Effects: releases every element and leaves the header with no element;
    //   without a header, does nothing. Cost: O(N). Throws: nothing.
    void limpar() noexcept;

    // Returns: whether some element has this key (false without elements).
    // Cost: O(N). Throws: nothing.
    bool Busca(int key) const noexcept;
    // Returns: whether some element's info equals this text, byte for byte
    //   (false without elements). Cost: O(N). Throws: nothing.
    bool BuscaInfo(const std::string& info) const noexcept;

    // Effects: prints the first element's key and an end of line; the game
    //   build then prints one space, the first element's info and an end of
    //   line. Returns: the first element's key.
    // Cost: O(1). Throws: ListUnderflowException without elements.
    int PrintFirst() const;

    // Effects: prints one space, then each key and one space, in circle order,
    //   then an end of line (one space alone without elements). Cost: O(N).
    void ExibirLista() const;
    // Effects: prints one space, then each element in circle order, then an
    //   end of line (one space alone without elements). Each element is, in
    //   the game build, one space, its 1-based position, "." and its info and
    //   one space ("  1.alfa  2.beta "); in the demo build, its info and one
    //   space. Cost: O(N + length of the texts).
    void ExibirInfo() const;

    // Effects: unlinks the first element. Returns: that element; its `next`
    //   is the new first element (itself when it was the only one).
    // Cost: O(N). Throws: ListUnderflowException without elements; the list
    //   is then unchanged.
    std::unique_ptr<node> pop();

    // Effects: unlinks the first element in circle order with this key.
    // Returns: that element, or empty when no element has the key. The demo
    //   build releases the element itself and returns empty, unless the
    //   element was the first of several (then it returns it, as pop does).
    // Cost: O(N). Throws: nothing.
    std::unique_ptr<node> remover(int key);
    // Effects: unlinks the first element in circle order whose info equals
    //   this text. Returns: that element, or empty when none matches (both
    //   builds). Cost: O(N). Throws: nothing.
    std::unique_ptr<node> removerinfo(const std::string& info);
    // Effects: unlinks exactly this element, if it is in the circle.
    // Returns: that element, or empty when it is not in the circle (the list
    //   is then unchanged). Cost: O(N). Throws: nothing.
    std::unique_ptr<node> removerno(const node* element);

#ifndef LISTAENC_DEMO_BUILD
    // Returns: the element at 0-based position n in circle order, still in the
    //   list and owned by it. Cost: O(min(n, N)).
    // Throws: OutOfBoundsException when n < 0 or n >= N; the list is unchanged.
    node* GetNth(int n) const;
#endif

private:
    node* first() const noexcept;
    node* last() const noexcept;
    // Visits the elements once in circle order from the first and answers the
    // first one for which visit answers true, or null. The successor is read
    // before each visit, so visit may release any element but the first.
    template <typename Visit>
    node* walk(Visit visit) const;
    // Answers the element before the first element, in circle order, that
    // satisfies match (the last element when the first matches), or null.
    template <typename Match>
    node* before_match(Match match) const;
    // Unlinks the element after `prev`, which must be in the circle, and
    // moves the first element on when that was it.
    std::unique_ptr<node> unlink_after(node* prev) noexcept;

    std::unique_ptr<node> head;
};

#endif

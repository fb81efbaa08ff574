// SPDX-License-Identifier: MIT
// Long output at a terminal goes through a pager, as git sends it: $PAGER,
// or else less -FRX (which quits at once when the output fits the screen,
// keeps colours and leaves the screen as it was), while a Pager lives. Not
// when standard output is a pipe or a file, nor when PAGER is empty or
// "cat"; the caller does not ask for it when its input is typed at the same
// terminal.
#ifndef LISTAENC_PAGER_H
#define LISTAENC_PAGER_H

class Pager {
public:
    // Effects: with `wanted` and standard output a terminal, starts the
    //   pager and sends standard output (descriptor 1) to it; otherwise
    //   nothing. A pager that cannot be started is no pager.
    explicit Pager(bool wanted);
    // Effects: finish(), without throwing.
    ~Pager();
    Pager(const Pager&) = delete;
    Pager& operator=(const Pager&) = delete;

    // Effects: flushes std::cout, gives standard output its terminal back,
    //   and waits for the reader to quit the pager.
    // Throws: what std::cout throws.
    void finish();

private:
    void close() noexcept;

    int terminal_ = -1; // standard output's own descriptor, while paged
    int child_ = -1;    // the pager's process
};

#endif

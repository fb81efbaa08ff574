// SPDX-License-Identifier: MIT
// Input: the programs' standard input as words or as lines, read from a
// stream buffer in blocks. A UTF-8 byte order mark at the very start is
// skipped.
//
// A word is what `std::cin >> word` reads in the C locale: a run of bytes
// that are not white space (' ', '\t', '\n', '\v', '\f', '\r'). A line ends
// at LF, at CRLF or at a lone CR; the last one may end at the end of input.
//
// Reading never asks the buffer for more than it has at hand, but to know
// whether there is more, so that at a terminal a word or a line is taken as
// soon as it is typed.
#ifndef LISTAENC_INPUT_H
#define LISTAENC_INPUT_H

#include "lines.h"

#include <cstddef>
#include <memory>
#include <streambuf>
#include <string>

class Input {
public:
    // Requires: `source` outlives the Input, and is read through it alone.
    explicit Input(std::streambuf& source);

    // Effects: reads the next word into `text`. Returns: false at the end of
    //   input, `text` then empty. Throws: what the buffer throws,
    //   std::bad_alloc.
    bool word(std::string& text);

    // Effects: reads the next line into `text`, without its end. Returns:
    //   false at the end of input, `text` then empty. Throws: as word().
    bool line(std::string& text);

    // Effects: appends to `text` all that is left of the input, a byte order
    //   mark at the start skipped. Throws: as word().
    void rest(std::string& text);

private:
    // Makes the buffer hold at least one byte, unless the input has ended.
    bool fill();

    static constexpr std::size_t capacity = 64 * 1024;
    std::streambuf& source_;
    std::unique_ptr<char[]> buffer_;
    const char* at_ = nullptr;
    const char* end_ = nullptr;
    bool started_ = false; // whether the start was looked at for the mark
    LineCutter lines_;
};

#endif

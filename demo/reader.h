// SPDX-License-Identifier: MIT
// The lines of a session: read from standard input, where LF, CRLF and a
// lone CR each end a line and a byte order mark at the start is skipped; at
// a terminal, where the build has libedit, through its line editor, with
// history (the up arrow recalls a line) and completion of the words given
// (tab completes the first word of a line).
#ifndef LISTAENC_READER_H
#define LISTAENC_READER_H

#include <memory>
#include <span>
#include <string>
#include <string_view>

class LineReader {
public:
    virtual ~LineReader() = default;
    // Effects: reads the next line, without its end, into `line`.
    // Returns: false at the end of input. Throws: what std::cin throws.
    virtual bool read(std::string& line) = 0;
};

// Returns: a reader of standard input. At a terminal (`terminal`), each line
//   is asked for with `prompt`, and with libedit the first word of a line
//   completes to one of `words`, which must outlive the reader.
std::unique_ptr<LineReader> line_reader(bool terminal, std::string_view prompt,
                                        std::span<const std::string_view> words);

#endif

// SPDX-License-Identifier: MIT
// The draw: from the bytes of a file of names to the table of the draw, with
// no input or output of its own. Bytes come in; the table's bytes, the order
// of the draw and messages for a person come out. countoff reads its input
// and writes what this makes; a page compiled to WebAssembly (sorteio.html)
// calls the same functions, so that its table is, byte for byte, countoff's
// for the same file and options.
//
// The road of a draw, each step a function below:
//   to_text        the bytes as UTF-8: a byte order mark skipped, UTF-16
//                  (with its mark, either order) made UTF-8, and refused: a
//                  NUL byte, or bytes that are not UTF-8
//   read_words, read_lines, read_csv
//                  the entrants, in the order of the file, each with its row
//   exclude        entrants left out by name or by id
//   sort           the circle in one order anyone can repeat: each name in
//                  Unicode NFC, then by bytes
//   removal_order  who leaves the circle when, the winner last
//   table          the table: a row per entrant, as spreadsheets open safely
//   minutes        the minutes of the draw, in Portuguese
// run() takes the whole road at once. Nothing here reads a file, the clock
// or the environment, or writes anything but its results.
//
// Dependencies: the C++ standard library alone. Unicode normalization is
// the caller's (a Nfc function, from utf8proc in countoff), and only a
// sorted draw asks for it: a page that has none passes nullptr and, for a
// sorted draw, hands in the file and the list of exclusions already in NFC,
// for example by decoding each with TextDecoder, normalizing the whole text
// with String.prototype.normalize("NFC") and encoding it again. (A CSV
// file's separators, quotes and line ends never combine with a neighbour,
// so that the whole text in NFC is each name in NFC; the SHA-256 is of the
// bytes as published, taken before.) Converting other encodings (cp1252,
// latin1) is the caller's too, before to_text.
//
// Messages: one line of Portuguese each, without the program's name (the
// caller puts "countoff: " before it), a word from the input quoted as
// quote() in common/text.h quotes it.
//
// Errors: a function that can refuse its input answers false and appends
// to `messages` why; every other result is then unspecified. Out of memory
// throws std::bad_alloc. Inputs of 4 GiB or more are refused.
#ifndef LISTAENC_DRAW_H
#define LISTAENC_DRAW_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorteio {

using Messages = std::vector<std::string>;

// Makes `bytes` UTF-8 text in place. A UTF-8 byte order mark at the start
// goes; a UTF-16 text with its byte order mark (FF FE, little-endian, or
// FE FF, big-endian) becomes UTF-8 without it. Answers false when the text
// holds a NUL, bytes that are not UTF-8 (or, in UTF-16, a lone surrogate
// or an odd byte at the end): the messages name the first such line and
// how many there are in all. Lines are counted from 1, each ended by LF,
// CRLF or a lone CR.
bool to_text(std::string& bytes, Messages& messages);

// One entrant: its name and id (empty without an id column) as offsets into
// Roster::text, and its row in the file: the line of a name read a line at
// a time (blank lines not counted), the word's number among the names read
// a word at a time, the row of a CSV file as a spreadsheet numbers it (the
// header is row 1).
struct Entrant {
    std::uint32_t name;
    std::uint32_t name_size;
    std::uint32_t id;
    std::uint32_t id_size;
    std::uint32_t row;
};

// The entrants in the order of the circle, and the text they point into.
struct Roster {
    std::string text;
    std::vector<Entrant> entrants;

    std::string_view name(std::size_t i) const {
        return std::string_view(text).substr(entrants[i].name, entrants[i].name_size);
    }
    std::string_view id(std::size_t i) const {
        return std::string_view(text).substr(entrants[i].id, entrants[i].id_size);
    }
    std::size_t size() const noexcept { return entrants.size(); }
};

// What countoff takes a count from: an optional sign and decimal digits,
// the whole word, within 0 to 2^31 - 1. The result's `message` says what is
// wrong otherwise ("n inválido: '2.7'"), and `negative` whether the word is
// a sound count below 0 (which countoff refuses with a status of its own).
struct Count {
    std::optional<std::uint32_t> n;
    bool negative = false;
    std::string message;
};
Count parse_count(std::string_view word);

// The count that a public text gives (a lottery's numbers as published):
// the first 8 hex digits of SHA-256(text), as a number, less its top bit,
// so 0 to 2^31 - 1. Anyone checks it with `printf %s TEXT | sha256sum`.
std::uint32_t seed_count(std::string_view text);

// SHA-256 of `bytes`, in 64 lower-case hex digits, as sha256sum writes it.
std::string sha256_hex(std::string_view bytes);

// Reads names as words: runs of bytes without white space (' ', '\t',
// '\n', '\v', '\f', '\r'). With `count`, the first word is the count, put
// there (empty when there is none) and not an entrant. Never refuses.
void read_words(std::string_view text, Roster& roster, std::string* count = nullptr);

// Reads one name a line: each line without the white space at its ends,
// blank lines skipped. With `count`, the first line that is not blank is
// the count, as read_words.
void read_lines(std::string_view text, Roster& roster, std::string* count = nullptr);

// A CSV file as spreadsheets write it (RFC 4180): a header row, then a row
// per entrant; cells separated by `separator`, or, when it is 0, by the one
// of ',', ';' and TAB that the header holds most often outside quotes (','
// when it holds none); a cell in double quotes keeps separators, line ends
// and doubled quotes. The names come from the column `name_column`: the
// header's text (exactly, or else the one cell equal to it in ASCII letters
// of either case), or its number from 1. The ids come from `id_column`, in
// the same way, when it is not empty. A name or an id is the cell's text
// without the white space at its ends; rows with no text at all are
// skipped. Refuses: a column that is not there, a header whose separator
// is not clear, a row whose name is empty, a quote that is not closed.
struct Columns {
    std::string name = {};
    std::string id = {};
    char separator = 0;
};
bool read_csv(std::string_view text, const Columns& columns, Roster& roster, Messages& messages);

// The header row of a CSV file, each cell without the white space at its
// ends, and the separator found (or given), for a page to offer the columns.
struct Header {
    std::vector<std::string> cells;
    char separator = ',';
};
bool read_header(std::string_view text, char separator, Header& header, Messages& messages);

// The format of a file of names.
enum class Format { words, lines, csv };

// As read_words, read_lines or read_csv, with the text moved in: the roster
// keeps it and writes the names over it, so that it takes no more memory
// than the text.
bool read_over(std::string text, Format format, const Columns& columns, Roster& roster,
               std::string* count, Messages& messages);

// Normalizes UTF-8 text to Unicode NFC. Throws: std::bad_alloc.
using Nfc = std::string (*)(std::string_view text);

// Leaves out the entrants whose id (`by_id`) or name is a line of `list`
// (UTF-8 text; each line without the white space at its ends, blank lines
// skipped; with `nfc`, lines and names compared in NFC). Every entrant that
// matches a line goes. Refuses a line that matches no entrant (each named,
// as to_text names them). `left_out` is how many entrants went.
bool exclude(Roster& roster, std::string_view list, bool by_id, Nfc nfc, std::size_t& left_out,
             Messages& messages);

// Puts each name in NFC (with `nfc`; nullptr when they are already), then
// the entrants in the order of the names' bytes, entrants of the same name
// in the order of the file.
void sort(Roster& roster, Nfc nfc);

// The draw of a circle of `size` entrants with the count `n`: starting at
// the first, the count passes n entrants and removes the one it reaches,
// then starts again at the one after it. Returns: the entrants' indices in
// the order they leave, the winner last. Cost: O(size log size).
std::vector<std::uint32_t> removal_order(std::size_t size, std::uint32_t n);

// The same draw, one removal at a time, for who shows it as it goes. Who
// still stands is a bit each, in words of 64, with a Fenwick tree over the
// number standing in each word: small enough to stay in the cache, so that
// finding the entrant of a rank costs one word from memory.
// Memory: about 1/6 of a byte an entrant.
class Circle {
public:
    Circle(std::size_t size, std::uint32_t n);
    // Returns: how many still stand.
    std::size_t standing() const noexcept { return standing_; }
    // Requires: standing() > 0. Effects: removes the entrant that the count
    //   reaches. Returns: its index. Cost: O(log size).
    std::uint32_t remove() noexcept;
    // Requires: standing() > 0. Returns: the entrant at which the next
    //   count starts (after a removal, the one after the entrant removed).
    std::uint32_t start() const noexcept;

private:
    std::uint32_t at(std::size_t rank) const noexcept;
    std::uint32_t n_;
    std::size_t standing_;
    std::size_t span_ = 1;            // words, a power of two, those past the circle empty
    std::size_t rank_ = 0;            // where the count starts, among those standing
    std::size_t removed_ = SIZE_MAX;  // the entrant removed last, while the next stands after it
    std::vector<std::uint64_t> bits_; // bit i % 64 of word i / 64: whether entrant i stands
    std::vector<std::uint32_t> tree_; // 1-based: tree_[w] counts the words (w - lowbit(w), w]
};

// The table: UTF-8 with a byte order mark, rows ended by CRLF; the header
// "ordem,posicao,nome", or "ordem,posicao,id,nome" with ids, then
// ",premio" with prizes; then a row per entrant in the order of the draw,
// the winner last: the order from 1, the entrant's row in the file, its id,
// its name, and its prize: 1 for the winner, 2 for the last one removed
// before, up to `prizes`, the others empty. A cell is quoted when it holds
// a comma, a double quote, CR or LF (its quotes doubled); a cell that a
// spreadsheet would run as a formula (it begins with '=', '+', '-', '@',
// TAB or CR) gets a "'" before it.
struct Layout {
    bool ids = false;
    std::size_t prizes = 0;
};
void append_header(std::string& out, Layout layout);
// Appends the row of the `k`th to leave (from 0, the winner last).
void append_row(std::string& out, const Roster& roster, const std::vector<std::uint32_t>& order,
                std::size_t k, Layout layout);
std::string table(const Roster& roster, const std::vector<std::uint32_t>& order, Layout layout);

// What the minutes of a draw tell, besides the roster and its order.
struct Record {
    std::string program;      // "countoff (listaenc) 1.2.0"
    std::string date;         // "2026-12-09 14:03:00 UTC", as the caller reads its clock
    std::string command;      // the command line, as typed
    std::string sha256;       // of the input, as read
    std::string input_name;   // "-" for standard input, as sha256sum names it
    std::size_t excluded = 0; // entrants left out
    std::uint32_t n = 0;
    std::optional<std::string> seed; // the public text that n came from
    bool sorted = false;
    std::size_t prizes = 0;
};
// The minutes, in Portuguese, lines ended by LF: the program, the date, the
// command, the input's SHA-256 as sha256sum writes it, the entrants and
// those left out, n (and the text it came from, and how to check it), the
// order, and the winners of each prize (the winner alone without prizes).
std::string minutes(const Record& record, const Roster& roster,
                    const std::vector<std::uint32_t>& order);

// The whole road for one file, as sorteio.html takes it.
struct Request {
    using Format = sorteio::Format;
    Format format = Format::csv;
    Columns columns;     // for csv
    std::string exclude; // the list's bytes, or empty for none
    bool sorted = false; // sort()
    Nfc nfc = nullptr;
    std::size_t prizes = 0;
    std::string count;               // the count as typed, or empty with a seed
    std::optional<std::string> seed; // the public text
    bool hash = true;                // whether to take the SHA-256 of the bytes
};
struct Result {
    int status = 0; // 0: drawn; 1: the input or the count refused; 2: the request refused
    Messages messages;
    std::string sha256; // of the bytes as given, when asked for
    Roster roster;      // the circle
    std::size_t excluded = 0;
    std::uint32_t n = 0;
    std::vector<std::uint32_t> order;
    Layout layout;
};
// Takes `bytes` through to_text, the reader of its format, exclude, sort
// and removal_order. The table is then table(result.roster, result.order,
// result.layout). Refuses a file with no entrant ("A lista esta vazia").
Result run(std::string bytes, const Request& request);

} // namespace sorteio

#endif

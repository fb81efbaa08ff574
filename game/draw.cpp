// SPDX-License-Identifier: MIT
#include "draw.h"

#include "bits.h"
#include "format.h"
#include "lines.h"
#include "text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstring>
#include <limits>
#include <numeric>
#include <system_error>
#include <utility>

namespace sorteio {

namespace {

constexpr std::string_view white = " \t\n\v\f\r";

// Whether a byte is white space, or one of a set, by table.
constexpr auto bytes_of = [](std::string_view set) {
    std::array<bool, 256> in{};
    for (unsigned char const c : set) {
        in[c] = true;
    }
    return in;
};
constexpr auto white_bytes = bytes_of(white);
constexpr auto quoted_bytes = bytes_of(",\"\r\n");

// Where in `text`, from `at` on, the first byte of (or not of) `set` is,
// or its size.
std::size_t first(std::string_view text, std::size_t at, const std::array<bool, 256>& set,
                  bool in = true) {
    while (at < text.size() && set[static_cast<unsigned char>(text[at])] != in) {
        ++at;
    }
    return at;
}
// A line quoted in a message is cut to this many bytes.
constexpr std::size_t quoted_at_most = 60;

std::string_view trim(std::string_view text) noexcept {
    std::size_t const first = text.find_first_not_of(white);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(white) - first + 1);
}

// Writes a number in decimal at `at`, which moves past it.
void put_decimal(char*& at, std::size_t value) { at = std::to_chars(at, at + 20, value).ptr; }

// Appends a number in decimal.
void append_decimal(std::string& out, std::size_t value) {
    char digits[24];
    char* end = digits;
    put_decimal(end, value);
    out.append(digits, end);
}

// A line of the input as a message shows it, cut when it is long.
std::string shown(std::string_view line) {
    if (line.size() <= quoted_at_most) {
        return quote(line);
    }
    return quote(line.substr(0, quoted_at_most)) + "...";
}

// The lines that share a fault: the first named, then how many in all.
class Faults {
public:
    // `one` and `more` say what the lines are, after "e mais 1" and after
    // "e mais 2" and up.
    Faults(Messages& messages, std::string_view one, std::string_view more)
        : messages_(messages), one_(one), more_(more) {}
    void add(std::string message) {
        if (count_++ == 0) {
            messages_.push_back(std::move(message));
        }
    }
    // Effects: says how many more there were. Returns: whether there was none.
    bool none() {
        if (count_ > 1) {
            messages_.push_back("e mais " + decimal(count_ - 1) +
                                std::string(count_ == 2 ? one_ : more_));
        }
        return count_ == 0;
    }

private:
    Messages& messages_;
    std::string_view one_;
    std::string_view more_;
    std::size_t count_ = 0;
};

// UTF-16 (`big` endian or not) to UTF-8, after its mark. Answers false at
// a lone surrogate or an odd byte at the end, with the line it is on.
bool from_utf16(std::string_view bytes, bool big, std::string& text, Messages& messages) {
    text.clear();
    text.reserve(bytes.size() / 2 * 3 / 2);
    std::size_t line = 1;
    auto unit = [&](std::size_t at) {
        auto const a = static_cast<unsigned char>(bytes[at]);
        auto const b = static_cast<unsigned char>(bytes[at + 1]);
        return static_cast<char32_t>(big ? a << 8 | b : b << 8 | a);
    };
    Faults faults(messages, " linha que não é UTF-16", " linhas que não são UTF-16");
    std::size_t faulty_line = 0;
    char32_t previous = 0;
    for (std::size_t at = 0; at < bytes.size();) {
        char32_t point = 0;
        bool sound = true;
        if (at + 1 >= bytes.size()) {
            sound = false;
            at = bytes.size();
        } else {
            point = unit(at);
            at += 2;
            if (point >= 0xd800 && point < 0xdc00 && at + 1 < bytes.size() && unit(at) >= 0xdc00 &&
                unit(at) < 0xe000) {
                point = 0x10000 + ((point - 0xd800) << 10) + (unit(at) - 0xdc00);
                at += 2;
            } else if (point >= 0xd800 && point < 0xe000) {
                sound = false;
            }
        }
        if (point == '\n' && previous != '\r') {
            ++line;
        } else if (point == '\r') {
            ++line;
        }
        previous = point;
        if (!sound) {
            if (faulty_line != line) {
                faults.add("linha " + decimal(line) +
                           ": UTF-16 inválido (um substituto sozinho, "
                           "ou um byte a mais no fim)");
                faulty_line = line;
            }
            continue;
        }
        if (point < 0x80) {
            text += static_cast<char>(point);
        } else if (point < 0x800) {
            text += static_cast<char>(0xc0 | point >> 6);
            text += static_cast<char>(0x80 | (point & 0x3f));
        } else if (point < 0x10000) {
            text += static_cast<char>(0xe0 | point >> 12);
            text += static_cast<char>(0x80 | (point >> 6 & 0x3f));
            text += static_cast<char>(0x80 | (point & 0x3f));
        } else {
            text += static_cast<char>(0xf0 | point >> 18);
            text += static_cast<char>(0x80 | (point >> 12 & 0x3f));
            text += static_cast<char>(0x80 | (point >> 6 & 0x3f));
            text += static_cast<char>(0x80 | (point & 0x3f));
        }
    }
    return faults.none();
}

// A cell's text as the table writes it: "'" before what a spreadsheet
// would run as a formula, quoted where RFC 4180 asks for it.
void append_cell(std::string& out, std::string_view cell) {
    bool const formula =
        !cell.empty() && std::string_view("=+-@\t\r").find(cell[0]) != std::string_view::npos;
    bool const quoted = first(cell, 0, quoted_bytes) < cell.size();
    if (quoted) {
        out += '"';
    }
    if (formula) {
        out += '\'';
    }
    if (!quoted) {
        out += cell;
        return;
    }
    for (char const c : cell) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    out += '"';
}

// Adds an entrant whose id and name are written into the roster's text at
// `at`, which moves past them: each at or before where it was read, when
// it was read from the text itself.
void put(Roster& roster, std::size_t& at, std::string_view name, std::string_view id,
         std::size_t row) {
    Entrant entrant{};
    entrant.id = static_cast<std::uint32_t>(at);
    entrant.id_size = static_cast<std::uint32_t>(id.size());
    if (!id.empty()) { // an empty view may point nowhere
        std::memmove(roster.text.data() + at, id.data(), id.size());
    }
    at += id.size();
    entrant.name = static_cast<std::uint32_t>(at);
    entrant.name_size = static_cast<std::uint32_t>(name.size());
    if (!name.empty()) {
        std::memmove(roster.text.data() + at, name.data(), name.size());
    }
    at += name.size();
    entrant.row = static_cast<std::uint32_t>(row);
    roster.entrants.push_back(entrant);
}

// How many lines a text has, at most: room for its entrants.
std::size_t line_ends(std::string_view text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
}

// Adds an entrant whose name (and id) are copied to the roster's text.
void add(Roster& roster, std::string_view name, std::string_view id, std::size_t row) {
    Entrant entrant{};
    entrant.id = static_cast<std::uint32_t>(roster.text.size());
    entrant.id_size = static_cast<std::uint32_t>(id.size());
    roster.text += id;
    entrant.name = static_cast<std::uint32_t>(roster.text.size());
    entrant.name_size = static_cast<std::uint32_t>(name.size());
    roster.text += name;
    entrant.row = static_cast<std::uint32_t>(row);
    roster.entrants.push_back(entrant);
}

// A CSV text's records, one at a time: the cells of each, unquoted, and the
// line on which it begins.
class Records {
public:
    Records(std::string_view text, char separator) : text_(text), separator_(separator) {}

    // Effects: takes the next record's cells. Returns: false at the end of
    //   the text, or at a quote that is not closed (then `open()` is true).
    bool next(std::vector<std::string>& cells) {
        cells.clear();
        if (at_ >= text_.size()) {
            return false;
        }
        first_line_ = line_;
        std::string* cell = &cells.emplace_back();
        while (at_ < text_.size()) {
            char const c = text_[at_];
            if (c == '"' && cell->empty() && !quoted_cell_) {
                quoted_cell_ = true;
                std::size_t const opened = line_;
                ++at_;
                if (!quoted(*cell)) {
                    open_ = true;
                    first_line_ = opened;
                    return false;
                }
                continue;
            }
            if (c == separator_) {
                cell = &cells.emplace_back();
                quoted_cell_ = false;
                ++at_;
                continue;
            }
            if (c == '\r' || c == '\n') {
                ++at_;
                if (c == '\r' && at_ < text_.size() && text_[at_] == '\n') {
                    ++at_;
                }
                ++line_;
                break;
            }
            std::size_t const stop = first(text_, at_, stops_);
            // A quote inside a cell that did not begin with one is a letter.
            std::size_t const quote = text_.substr(at_, stop - at_).find('"');
            std::size_t const upto = quote == std::string_view::npos ? stop : at_ + quote + 1;
            cell->append(text_.substr(at_, upto - at_));
            at_ = upto;
        }
        quoted_cell_ = false;
        return true;
    }
    std::size_t line() const noexcept { return first_line_; }
    bool open() const noexcept { return open_; }

private:
    // Reads a quoted cell's text up to its closing quote; what follows the
    // quote up to the separator stays in the cell, as spreadsheets keep it.
    bool quoted(std::string& cell) {
        while (at_ < text_.size()) {
            std::size_t const quote = text_.find('"', at_);
            if (quote == std::string_view::npos) {
                return false;
            }
            std::string_view const part = text_.substr(at_, quote - at_);
            for (std::size_t i = 0; i < part.size(); ++i) {
                if (part[i] == '\n' ||
                    (part[i] == '\r' && (i + 1 == part.size() || part[i + 1] != '\n'))) {
                    ++line_;
                }
            }
            cell.append(part);
            at_ = quote + 1;
            if (at_ < text_.size() && text_[at_] == '"') {
                cell += '"';
                ++at_;
                continue;
            }
            return true;
        }
        return false;
    }

    std::string_view text_;
    char separator_;
    std::array<bool, 256> stops_ = bytes_of(std::string{separator_, '\r', '\n'});
    std::size_t at_ = 0;
    std::size_t line_ = 1;
    std::size_t first_line_ = 1;
    bool quoted_cell_ = false;
    bool open_ = false;
};

// The separator that a header line holds most outside quotes: ',', ';' or
// TAB; ',' when it holds none; 0 when two are tied.
char find_separator(std::string_view text) {
    std::array<std::size_t, 3> counts{};
    constexpr std::string_view candidates = ",;\t";
    bool quoted = false;
    for (char const c : text) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == '\r' || c == '\n')) {
            break;
        } else if (std::size_t const i = candidates.find(c);
                   !quoted && i != std::string_view::npos) {
            ++counts[i];
        }
    }
    auto const most = std::max_element(counts.begin(), counts.end());
    if (*most == 0) {
        return ',';
    }
    if (std::count(counts.begin(), counts.end(), *most) > 1) {
        return 0;
    }
    return candidates[static_cast<std::size_t>(most - counts.begin())];
}

std::string separator_name(char separator) {
    return separator == '\t' ? "TAB" : quote(std::string_view(&separator, 1));
}

bool ascii_equal(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        };
        return lower(x) == lower(y);
    });
}

// The index of `column` in the header: by its text, exactly or else in
// ASCII letters of either case when one cell alone is so, or by its number.
std::optional<std::size_t> find_column(const std::vector<std::string>& header,
                                       std::string_view column) {
    std::string_view const wanted = trim(column);
    if (auto const exact = std::find(header.begin(), header.end(), wanted); exact != header.end()) {
        return static_cast<std::size_t>(exact - header.begin());
    }
    auto const like = [wanted](const std::string& cell) { return ascii_equal(cell, wanted); };
    if (std::count_if(header.begin(), header.end(), like) == 1) {
        return static_cast<std::size_t>(std::find_if(header.begin(), header.end(), like) -
                                        header.begin());
    }
    std::size_t number = 0;
    auto const [end, error] = std::from_chars(wanted.data(), wanted.data() + wanted.size(), number);
    if (error == std::errc{} && end == wanted.data() + wanted.size() && number >= 1 &&
        number <= header.size()) {
        return number - 1;
    }
    return std::nullopt;
}

std::string listed(const std::vector<std::string>& cells) {
    std::string list;
    for (const std::string& cell : cells) {
        list += list.empty() ? "" : ", ";
        list += quote(cell);
    }
    return list;
}

// Answers false, with the message, when the text is too large to index.
bool fits(std::string_view text, Messages& messages) {
    if (text.size() < std::numeric_limits<std::uint32_t>::max()) {
        return true;
    }
    messages.emplace_back("a entrada tem 4 GiB ou mais: grande demais para um sorteio");
    return false;
}

// SHA-256, as FIPS 180-4 gives it.
class Sha256 {
public:
    void add(std::string_view bytes) {
        length_ += bytes.size();
        while (!bytes.empty()) {
            std::size_t const part = std::min(bytes.size(), 64 - filled_);
            std::memcpy(block_.data() + filled_, bytes.data(), part);
            filled_ += part;
            bytes.remove_prefix(part);
            if (filled_ == 64) {
                compress();
                filled_ = 0;
            }
        }
    }
    std::array<unsigned char, 32> finish() {
        std::uint64_t const bits = length_ * 8;
        block_[filled_++] = 0x80;
        if (filled_ > 56) {
            std::fill(block_.begin() + static_cast<std::ptrdiff_t>(filled_), block_.end(), 0);
            compress();
            filled_ = 0;
        }
        std::fill(block_.begin() + static_cast<std::ptrdiff_t>(filled_), block_.begin() + 56, 0);
        for (int i = 0; i < 8; ++i) {
            block_[56 + static_cast<std::size_t>(i)] =
                static_cast<unsigned char>(bits >> (56 - 8 * i));
        }
        compress();
        std::array<unsigned char, 32> digest{};
        for (std::size_t i = 0; i < 32; ++i) {
            digest[i] = static_cast<unsigned char>(state_[i / 4] >> (24 - 8 * (i % 4)));
        }
        return digest;
    }

private:
    static std::uint32_t rotate(std::uint32_t x, int by) { return x >> by | x << (32 - by); }

    void compress() {
        static constexpr std::uint32_t k[64] = {
            0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4,
            0xab1c5ed5, 0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe,
            0x9bdc06a7, 0xc19bf174, 0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f,
            0x4a7484aa, 0x5cb0a9dc, 0x76f988da, 0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7,
            0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967, 0x27b70a85, 0x2e1b2138, 0x4d2c6dfc,
            0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85, 0xa2bfe8a1, 0xa81a664b,
            0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070, 0x19a4c116,
            0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
            0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7,
            0xc67178f2};
        std::array<std::uint32_t, 64> w{};
        for (std::size_t i = 0; i < 16; ++i) {
            w[i] = static_cast<std::uint32_t>(block_[4 * i]) << 24 |
                   static_cast<std::uint32_t>(block_[4 * i + 1]) << 16 |
                   static_cast<std::uint32_t>(block_[4 * i + 2]) << 8 | block_[4 * i + 3];
        }
        for (std::size_t i = 16; i < 64; ++i) {
            std::uint32_t const s0 = rotate(w[i - 15], 7) ^ rotate(w[i - 15], 18) ^ w[i - 15] >> 3;
            std::uint32_t const s1 = rotate(w[i - 2], 17) ^ rotate(w[i - 2], 19) ^ w[i - 2] >> 10;
            w[i] = w[i - 16] + s0 + w[i - 7] + s1;
        }
        std::array<std::uint32_t, 8> v = state_;
        for (std::size_t i = 0; i < 64; ++i) {
            std::uint32_t const s1 = rotate(v[4], 6) ^ rotate(v[4], 11) ^ rotate(v[4], 25);
            std::uint32_t const choice = (v[4] & v[5]) ^ (~v[4] & v[6]);
            std::uint32_t const t1 = v[7] + s1 + choice + k[i] + w[i];
            std::uint32_t const s0 = rotate(v[0], 2) ^ rotate(v[0], 13) ^ rotate(v[0], 22);
            std::uint32_t const majority = (v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]);
            std::uint32_t const t2 = s0 + majority;
            std::copy_backward(v.begin(), v.end() - 1, v.end());
            v[4] += t1;
            v[0] = t1 + t2;
        }
        for (std::size_t i = 0; i < 8; ++i) {
            state_[i] += v[i];
        }
    }

    std::array<std::uint32_t, 8> state_ = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                           0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    std::array<unsigned char, 64> block_{};
    std::size_t filled_ = 0;
    std::uint64_t length_ = 0;
};

} // namespace

bool to_text(std::string& bytes, Messages& messages) {
    std::string_view const start(bytes.data(), std::min<std::size_t>(bytes.size(), 3));
    if (start.starts_with(byte_order_mark)) {
        bytes.erase(0, byte_order_mark.size());
    } else if (start.starts_with("\xff\xfe") || start.starts_with("\xfe\xff")) {
        std::string text;
        if (!from_utf16(std::string_view(bytes).substr(2), bytes[0] == '\xfe', text, messages)) {
            return false;
        }
        bytes = std::move(text);
    }
    if (bytes.find('\0') == std::string::npos && valid_utf8(bytes)) {
        return true; // the common case, at once; the lines only to say where
    }
    Faults faults(messages, " linha com um byte NUL ou que não é UTF-8",
                  " linhas com um byte NUL ou que não são UTF-8");
    TextLines lines(bytes);
    for (std::string_view line; lines.next(line);) {
        if (line.find('\0') != std::string_view::npos) {
            faults.add("linha " + decimal(lines.number()) +
                       ": um byte NUL, que não há num texto: " + shown(line));
        } else if (!valid_utf8(line)) {
            faults.add("linha " + decimal(lines.number()) +
                       ": texto que não é UTF-8: " + shown(line));
        }
    }
    return faults.none();
}

Count parse_count(std::string_view word) {
    Count count;
    std::string_view digits = word;
    if (digits.starts_with('+') && !digits.starts_with("+-")) {
        digits.remove_prefix(1); // from_chars takes a minus sign only
    }
    std::int32_t n = 0;
    auto const [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (end != digits.data() + digits.size() || error == std::errc::invalid_argument) {
        count.message = "n inválido: " + quote(word);
    } else if (error == std::errc::result_out_of_range) {
        count.message = "n fora do intervalo: " + quote(word);
    } else if (n < 0) {
        count.negative = true;
        count.message = "n deve ser maior ou igual a zero";
    } else {
        count.n = static_cast<std::uint32_t>(n);
    }
    return count;
}

std::string sha256_hex(std::string_view bytes) {
    Sha256 hash;
    hash.add(bytes);
    std::string hex;
    for (unsigned char const byte : hash.finish()) {
        hex += "0123456789abcdef"[byte >> 4];
        hex += "0123456789abcdef"[byte & 15];
    }
    return hex;
}

std::uint32_t seed_count(std::string_view text) {
    Sha256 hash;
    hash.add(text);
    auto const digest = hash.finish();
    std::uint32_t const first = static_cast<std::uint32_t>(digest[0]) << 24 |
                                static_cast<std::uint32_t>(digest[1]) << 16 |
                                static_cast<std::uint32_t>(digest[2]) << 8 | digest[3];
    return first & 0x7fffffffU;
}

namespace {

// The readers, on the roster's own text from `from` on: each name is
// written back over it, and the text is then cut after the last.
void words_over(Roster& roster, std::size_t from, std::string* count) {
    bool counted = count == nullptr;
    if (count != nullptr) {
        count->clear();
    }
    std::string_view const text = std::string_view(roster.text).substr(from);
    std::size_t words = 0;
    bool after_white = true;
    for (char const c : text) {
        bool const is_white = white_bytes[static_cast<unsigned char>(c)];
        words += after_white && !is_white ? 1 : 0;
        after_white = is_white;
    }
    roster.entrants.reserve(roster.entrants.size() + words);
    std::size_t written = from;
    std::size_t row = 0;
    for (std::size_t at = first(text, 0, white_bytes, false); at < text.size();) {
        std::size_t const end = first(text, at, white_bytes);
        std::string_view const word = text.substr(at, end - at);
        if (!counted) {
            *count = word;
            counted = true;
        } else {
            put(roster, written, word, {}, ++row);
        }
        at = first(text, end, white_bytes, false);
    }
    roster.text.resize(written);
}

void lines_over(Roster& roster, std::size_t from, std::string* count) {
    bool counted = count == nullptr;
    if (count != nullptr) {
        count->clear();
    }
    std::string_view const text = std::string_view(roster.text).substr(from);
    roster.entrants.reserve(roster.entrants.size() + line_ends(text));
    std::size_t written = from;
    std::size_t row = 0;
    TextLines lines(text);
    for (std::string_view line; lines.next(line);) {
        line = trim(line);
        if (line.empty()) {
            continue;
        }
        if (!counted) {
            *count = line;
            counted = true;
        } else {
            put(roster, written, line, {}, ++row);
        }
    }
    roster.text.resize(written);
}

bool csv_over(Roster& roster, std::size_t from, const Columns& columns, Messages& messages);

} // namespace

void read_words(std::string_view text, Roster& roster, std::string* count) {
    std::size_t const from = roster.text.size();
    roster.text += text;
    words_over(roster, from, count);
}

void read_lines(std::string_view text, Roster& roster, std::string* count) {
    std::size_t const from = roster.text.size();
    roster.text += text;
    lines_over(roster, from, count);
}

bool read_over(std::string text, Format format, const Columns& columns, Roster& roster,
               std::string* count, Messages& messages) {
    std::size_t const from = roster.text.size();
    if (from == 0) {
        roster.text = std::move(text);
    } else {
        roster.text += text;
    }
    switch (format) {
    case Request::Format::words:
        words_over(roster, from, count);
        return true;
    case Request::Format::lines:
        lines_over(roster, from, count);
        return true;
    case Request::Format::csv:
        break;
    }
    return csv_over(roster, from, columns, messages);
}

bool read_header(std::string_view text, char separator, Header& header, Messages& messages) {
    header.separator = separator != 0 ? separator : find_separator(text);
    if (header.separator == 0) {
        messages.emplace_back(
            "não se sabe o separador das colunas: o cabeçalho tem tantas vírgulas "
            "quanto pontos e vírgulas (ou tabulações)");
        return false;
    }
    Records records(text, header.separator);
    header.cells.clear();
    if (!records.next(header.cells)) {
        messages.emplace_back(records.open() ? "linha 1: aspas abertas no cabeçalho não se fecham"
                                             : "o arquivo não tem cabeçalho");
        return false;
    }
    for (std::string& cell : header.cells) {
        cell = std::string(trim(cell));
    }
    return true;
}

bool read_csv(std::string_view text, const Columns& columns, Roster& roster, Messages& messages) {
    if (!fits(text, messages)) {
        return false;
    }
    std::size_t const from = roster.text.size();
    roster.text += text;
    return csv_over(roster, from, columns, messages);
}

namespace {

bool csv_over(Roster& roster, std::size_t from, const Columns& columns, Messages& messages) {
    std::string_view const text = std::string_view(roster.text).substr(from);
    Header header;
    if (!fits(text, messages) || !read_header(text, columns.separator, header, messages)) {
        roster.text.resize(from);
        return false;
    }
    auto const name = find_column(header.cells, columns.name);
    std::optional<std::size_t> id;
    if (!columns.id.empty()) {
        id = find_column(header.cells, columns.id);
    }
    for (auto const& [wanted, found] : {std::pair{&columns.name, name.has_value()},
                                        std::pair{&columns.id, columns.id.empty() || id}}) {
        if (!found) {
            messages.push_back("não há coluna " + quote(*wanted) + " no cabeçalho, que tem " +
                               listed(header.cells) + " (separadas por " +
                               separator_name(header.separator) + ")");
            roster.text.resize(from);
            return false;
        }
    }
    roster.entrants.reserve(roster.entrants.size() + line_ends(text));
    std::size_t written = from;
    Records records(text, header.separator);
    std::vector<std::string> cells;
    records.next(cells); // the header
    Faults faults(messages, " linha sem nome", " linhas sem nome");
    std::size_t row = 1;
    while (records.next(cells)) {
        ++row;
        if (std::all_of(cells.begin(), cells.end(),
                        [](const std::string& cell) { return trim(cell).empty(); })) {
            continue;
        }
        std::string_view const entrant = *name < cells.size() ? trim(cells[*name]) : "";
        if (entrant.empty()) {
            faults.add("linha " + decimal(records.line()) + ": sem nome na coluna " +
                       quote(header.cells[*name]));
            continue;
        }
        put(roster, written, entrant, id && *id < cells.size() ? trim(cells[*id]) : "", row);
    }
    roster.text.resize(written);
    if (records.open()) {
        messages.push_back("linha " + decimal(records.line()) +
                           ": aspas abertas que não se fecham até o fim do arquivo");
        return false;
    }
    return faults.none();
}

} // namespace

bool exclude(Roster& roster, std::string_view list, bool by_id, Nfc nfc, std::size_t& left_out,
             Messages& messages) {
    // Each line of the list, and whether it matched.
    std::vector<std::pair<std::string, std::size_t>> wanted;
    TextLines lines(list);
    for (std::string_view line; lines.next(line);) {
        line = trim(line);
        if (!line.empty()) {
            wanted.emplace_back(nfc != nullptr ? nfc(line) : std::string(line), lines.number());
        }
    }
    std::vector<std::size_t> order(wanted.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return wanted[a].first < wanted[b].first; });
    std::vector<bool> matched(wanted.size());
    auto const before = roster.entrants.size();
    std::string key;
    std::erase_if(roster.entrants, [&](const Entrant& entrant) {
        std::string_view const text = std::string_view(roster.text)
                                          .substr(by_id ? entrant.id : entrant.name,
                                                  by_id ? entrant.id_size : entrant.name_size);
        key = nfc != nullptr ? nfc(text) : std::string(text);
        auto const at = std::lower_bound(
            order.begin(), order.end(), key,
            [&](std::size_t i, const std::string& k) { return wanted[i].first < k; });
        bool found = false;
        for (auto i = at; i != order.end() && wanted[*i].first == key; ++i) {
            matched[*i] = true;
            found = true;
        }
        return found;
    });
    left_out = before - roster.entrants.size();
    Faults faults(messages, " linha da lista de exclusão que não está entre os inscritos",
                  " linhas da lista de exclusão que não estão entre os inscritos");
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        if (!matched[i]) {
            faults.add("lista de exclusão, linha " + decimal(wanted[i].second) + ": " +
                       shown(wanted[i].first) + " não está entre os inscritos" +
                       (by_id ? " (pelo id)" : ""));
        }
    }
    return faults.none();
}

void sort(Roster& roster, Nfc nfc) {
    if (nfc != nullptr) {
        Roster normal;
        normal.text.reserve(roster.text.size());
        for (std::size_t i = 0; i < roster.size(); ++i) {
            add(normal, nfc(roster.name(i)), roster.id(i), roster.entrants[i].row);
        }
        roster = std::move(normal);
    }
    std::stable_sort(roster.entrants.begin(), roster.entrants.end(),
                     [&](const Entrant& a, const Entrant& b) {
                         std::string_view const text = roster.text;
                         return text.substr(a.name, a.name_size) < text.substr(b.name, b.name_size);
                     });
}

Circle::Circle(std::size_t size, std::uint32_t n) : n_(n), standing_(size) {
    std::size_t const words = (size + 63) / 64;
    while (span_ < words) {
        span_ *= 2;
    }
    bits_.assign(span_, 0);
    std::fill_n(bits_.begin(), size / 64, ~std::uint64_t{0});
    if (size % 64 != 0) {
        bits_[words - 1] = (std::uint64_t{1} << size % 64) - 1;
    }
    tree_.assign(span_ + 1, 0);
    for (std::size_t i = 1; i <= span_; ++i) {
        tree_[i] += static_cast<std::uint32_t>(std::popcount(bits_[i - 1]));
        if (std::size_t const above = i + (i & -i); above <= span_) {
            tree_[above] += tree_[i];
        }
    }
}

// Descends the tree from its widest range to its narrowest: a range whose
// entrants all come before the one sought is stepped over, and the rank
// counts down by them; then the bit in its word.
std::uint32_t Circle::at(std::size_t rank) const noexcept {
    std::size_t passed = 0;
    for (std::size_t step = span_ / 2; step > 0; step /= 2) {
        if (std::uint32_t const below = tree_[passed + step]; below <= rank) {
            passed += step;
            rank -= below;
        }
    }
    return static_cast<std::uint32_t>(passed * 64 + select_bit(bits_[passed], rank));
}

std::uint32_t Circle::start() const noexcept {
    // Most often the one after the entrant removed is in the same word.
    if (removed_ != SIZE_MAX) {
        std::uint64_t const after =
            bits_[removed_ / 64] & (~std::uint64_t{0} << removed_ % 64 << 1);
        if (after != 0) {
            return static_cast<std::uint32_t>(removed_ / 64 * 64 +
                                              static_cast<std::size_t>(std::countr_zero(after)));
        }
    }
    return at(rank_);
}

std::uint32_t Circle::remove() noexcept {
    rank_ = (rank_ + n_ % standing_) % standing_;
    std::uint32_t const reached = at(rank_);
    bits_[reached / 64] &= ~(std::uint64_t{1} << reached % 64);
    for (std::size_t i = reached / 64 + 1; i <= span_; i += i & -i) {
        --tree_[i];
    }
    // The one after it has its rank now; past the last, the first.
    removed_ = --standing_ > 0 && rank_ < standing_ ? reached : SIZE_MAX;
    if (standing_ > 0) {
        rank_ %= standing_;
    }
    return reached;
}

std::vector<std::uint32_t> removal_order(std::size_t size, std::uint32_t n) {
    std::vector<std::uint32_t> order;
    order.reserve(size);
    for (Circle circle(size, n); circle.standing() > 0;) {
        order.push_back(circle.remove());
    }
    return order;
}

void append_header(std::string& out, Layout layout) {
    out += byte_order_mark;
    out += layout.ids ? "ordem,posicao,id,nome" : "ordem,posicao,nome";
    out += layout.prizes > 0 ? ",premio\r\n" : "\r\n";
}

void append_row(std::string& out, const Roster& roster, const std::vector<std::uint32_t>& order,
                std::size_t k, Layout layout) {
    std::uint32_t const entrant = order[k];
    char numbers[48];
    char* end = numbers;
    put_decimal(end, k + 1);
    *end++ = ',';
    put_decimal(end, roster.entrants[entrant].row);
    *end++ = ',';
    out.append(numbers, end);
    if (layout.ids) {
        append_cell(out, roster.id(entrant));
        out += ',';
    }
    append_cell(out, roster.name(entrant));
    if (layout.prizes > 0) {
        out += ',';
        std::size_t const prize = order.size() - k;
        if (prize <= layout.prizes) {
            append_decimal(out, prize);
        }
    }
    out += "\r\n";
}

std::string table(const Roster& roster, const std::vector<std::uint32_t>& order, Layout layout) {
    std::string out;
    append_header(out, layout);
    for (std::size_t k = 0; k < order.size(); ++k) {
        append_row(out, roster, order, k, layout);
    }
    return out;
}

std::string minutes(const Record& record, const Roster& roster,
                    const std::vector<std::uint32_t>& order) {
    std::string out = "ATA DO SORTEIO\n\n";
    out += "Programa: " + record.program + "\n";
    out += "Data: " + record.date + "\n";
    out += "Comando: " + record.command + "\n";
    out += "SHA-256 da lista de inscritos (como o sha256sum o escreve):\n";
    out += "  " + record.sha256 + "  " + record.input_name + "\n";
    out += "Inscritos no sorteio: " + decimal(roster.size()) + "\n";
    if (record.excluded > 0) {
        out += "Deixados de fora pela lista de exclusão: " + decimal(record.excluded) + "\n";
    }
    out += std::string("Ordem da roda: ") +
           (record.sorted ? "a dos nomes em NFC, byte a byte\n" : "a do arquivo\n");
    out += "n: " + decimal(record.n) + "\n";
    if (record.seed) {
        out += "n veio do texto público " + quote(*record.seed) + ":\n";
        out += "  os 8 primeiros algarismos hexadecimais do seu SHA-256, sem o bit mais alto;\n";
        std::string quoted = "'";
        for (char const c : *record.seed) {
            quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        }
        out += "  confira com: printf %s " + quoted + "' | sha256sum\n";
    }
    out += "\n";
    auto const entrant = [&](std::size_t k) {
        std::uint32_t const i = order[order.size() - 1 - k];
        std::string line = quote(roster.name(i));
        if (roster.entrants[i].id_size > 0) {
            line += ", id " + quote(roster.id(i));
        }
        return line + ", posição " + decimal(roster.entrants[i].row);
    };
    if (order.empty()) {
        return out;
    }
    out += "Vencedor: " + entrant(0) + "\n";
    for (std::size_t k = 1; k < std::min(record.prizes, order.size()); ++k) {
        out += "Prêmio " + decimal(k + 1) + ": " + entrant(k) + "\n";
    }
    return out;
}

Result run(std::string bytes, const Request& request) {
    Result result;
    if (request.hash) {
        result.sha256 = sha256_hex(bytes);
    }
    result.layout = {!request.columns.id.empty() && request.format == Request::Format::csv,
                     request.prizes};
    auto refuse = [&result](int status) {
        result.status = status;
        return std::move(result);
    };
    if (request.seed && !request.count.empty()) {
        result.messages.emplace_back("n vem de --contagem ou de --semente, não das duas");
        return refuse(2);
    }
    if (!fits(bytes, result.messages) || !to_text(bytes, result.messages)) {
        return refuse(1);
    }
    std::string count = request.count;
    bool const count_in_input = count.empty() && !request.seed;
    if (request.format == Request::Format::csv && count_in_input) {
        result.messages.emplace_back("falta n: numa tabela, n não vem na entrada");
        return refuse(2);
    }
    if (!read_over(std::move(bytes), request.format, request.columns, result.roster,
                   count_in_input ? &count : nullptr, result.messages)) {
        return refuse(1);
    }
    if (request.seed) {
        result.n = seed_count(*request.seed);
    } else {
        Count const parsed = parse_count(count);
        if (!parsed.n) {
            result.messages.push_back(count.empty() && count_in_input ? "n ausente"
                                                                      : parsed.message);
            return refuse(parsed.negative ? 2 : 1);
        }
        result.n = *parsed.n;
    }
    if (!request.exclude.empty()) {
        std::string list = request.exclude;
        Messages said;
        if (!to_text(list, said)) {
            for (std::string& message : said) {
                result.messages.push_back("lista de exclusão, " + message);
            }
            return refuse(1);
        }
        if (!exclude(result.roster, list, result.layout.ids, request.nfc, result.excluded,
                     result.messages)) {
            return refuse(1);
        }
    }
    if (request.sorted) {
        sort(result.roster, request.nfc);
    }
    if (result.roster.size() == 0) {
        result.messages.emplace_back("A lista esta vazia");
        return refuse(1);
    }
    result.order = removal_order(result.roster.size(), result.n);
    return result;
}

} // namespace sorteio

// SPDX-License-Identifier: MIT
// The floor countoff is measured against: the same game and the same bytes,
// under the same contract (every line formatted whole, then written with one
// call and so flushed before the next one), with nothing that contract does
// not ask for:
// - standard input is read whole with read(2) into one buffer, and the names
//   stay where they were read, as (pointer, length) in a flat array;
// - a removal closes the gap with memmove, with no walk to find a soldier;
// - every line is formatted with raw copies into one buffer sized once for
//   the longest line, and each roster position comes from a table made once;
// - a position, and a name shorter than 17 bytes, is copied with one copy of
//   a fixed size (8 or 16 bytes, from a table and an input buffer padded for
//   it), and the line then moves on by its real length, so that no copy in
//   the roster is a library call of a variable size;
// - each line goes out with one write(2): no iostreams, no stdio, no
//   allocation after the start; the program links only the C library, as
//   a shared library like every program of a distribution.
// A faster program would have to write fewer, larger blocks than one a line,
// or skip formatting part of a line, which the contract rules out. It checks
// nothing beyond what the benchmark's rosters need: a count in decimal that
// is not negative, names without NUL bytes.
//
// With --csv it is the floor of countoff --csv: the table's header, then a
// row for each soldier in the order read, numbered twice.
//
// With --resumo it is the floor of countoff --resumo, and plays no game at
// all: it prints the same lines as the summed-up game, every removal and
// every next counter, but names in them the soldiers in the order read, so
// that its lines are as many, and of about the same size, as countoff's, and
// no order is computed.
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

struct Name {
    const char* text;
    std::size_t size;
};

char* line;     // the line being formatted
char* line_end; // where the next byte of it goes

void put(const char* text, std::size_t size) {
    std::memcpy(line_end, text, size);
    line_end += size;
}

template <std::size_t N>
void put(const char (&text)[N]) {
    put(text, N - 1);
}

// Bytes that may be copied past the end of a short name or a position, into
// the line's slack; the input and the position table are padded for them.
constexpr std::size_t pad = 16;

// Copies `size` bytes with one copy of `Fixed` bytes, and moves on by `size`.
template <std::size_t Fixed>
void put_fixed(const char* text, std::size_t size) {
    std::memcpy(line_end, text, Fixed);
    line_end += size;
}

void put(const Name& name) {
    if (name.size <= 8) {
        put_fixed<8>(name.text, name.size);
    } else if (name.size <= pad) {
        put_fixed<pad>(name.text, name.size);
    } else {
        put(name.text, name.size);
    }
}

void write_line() {
    *line_end++ = '\n';
    for (const char* from = line; from < line_end;) {
        ssize_t const wrote = write(1, from, static_cast<std::size_t>(line_end - from));
        if (wrote <= 0) {
            std::exit(3);
        }
        from += wrote;
    }
    line_end = line;
}

bool blank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// " 12." for every position: four bytes for positions below 100, and so on,
// each in a slot of 8 or 16 bytes.
struct Positions {
    char* text;       // one fixed-size slot per position
    std::size_t slot; // bytes per slot
    unsigned char* size;
};

Positions make_positions(std::size_t count) {
    std::size_t digits = 1;
    for (std::size_t p = count; p >= 10; p /= 10) {
        ++digits;
    }
    std::size_t const slot = digits + 2 <= 8 ? 8 : pad;
    Positions positions{static_cast<char*>(std::malloc((count + 1) * slot)), slot,
                        static_cast<unsigned char*>(std::malloc(count + 1))};
    for (std::size_t p = 1; p <= count; ++p) {
        char reversed[24];
        std::size_t n = 0;
        for (std::size_t v = p; v > 0; v /= 10) {
            reversed[n++] = static_cast<char>('0' + v % 10);
        }
        char* slot = positions.text + p * positions.slot;
        *slot++ = ' ';
        for (std::size_t i = n; i > 0; --i) {
            *slot++ = reversed[i - 1];
        }
        *slot = '.';
        positions.size[p] = static_cast<unsigned char>(n + 2);
    }
    return positions;
}

void put_roster(const Name* names, std::size_t count, const Positions& positions) {
    *line_end++ = ' ';
    for (std::size_t i = 0; i < count; ++i) {
        const char* const position = positions.text + (i + 1) * positions.slot;
        if (positions.slot == 8) {
            put_fixed<8>(position, positions.size[i + 1]);
        } else {
            put_fixed<pad>(position, positions.size[i + 1]);
        }
        put(names[i]);
        *line_end++ = ' ';
    }
    write_line();
}

} // namespace

int main(int argc, char** argv) {
    bool const summary = argc > 1 && std::strcmp(argv[1], "--resumo") == 0;
    bool const table = argc > 1 && std::strcmp(argv[1], "--csv") == 0;
    static char prompt[] = "\n\t Entre com n ( > 0): \n";
    if (!table && write(1, prompt, sizeof prompt - 1) != sizeof prompt - 1) {
        return 3;
    }

    std::size_t capacity = 1 << 16;
    std::size_t size = 0;
    char* input = static_cast<char*>(std::malloc(capacity));
    for (ssize_t got; (got = read(0, input + size, capacity - size - pad)) != 0; size += got) {
        if (got < 0) {
            return 3;
        }
        if (size + static_cast<std::size_t>(got) + pad == capacity) {
            capacity *= 2;
            input = static_cast<char*>(std::realloc(input, capacity));
        }
    }
    const char* at = input;
    const char* const end = input + size;
    while (at < end && blank(*at)) {
        ++at;
    }
    unsigned long n = 0;
    for (; at < end && *at >= '0' && *at <= '9'; ++at) {
        n = n * 10 + static_cast<unsigned long>(*at - '0');
    }

    Name* names = static_cast<Name*>(std::malloc((size / 2 + 1) * sizeof(Name)));
    std::size_t count = 0;
    std::size_t longest = 0;
    std::size_t roster_bytes = 0;
    while (true) {
        while (at < end && blank(*at)) {
            ++at;
        }
        if (at == end) {
            break;
        }
        const char* const start = at;
        while (at < end && !blank(*at)) {
            ++at;
        }
        Name const name{start, static_cast<std::size_t>(at - start)};
        names[count++] = name;
        longest = name.size > longest ? name.size : longest;
        roster_bytes += name.size;
    }
    Positions const positions = make_positions(count);
    roster_bytes += 2 + count * (positions.slot + 1) + pad;
    line = static_cast<char*>(
        std::malloc(roster_bytes > longest + 128 ? roster_bytes : longest + 128));
    line_end = line;

    if (table) {
        put("ordem,posicao,nome\r");
        write_line();
        for (std::size_t i = 0; i < count; ++i) {
            std::size_t const number = i + 1;
            const char* const digits = positions.text + number * positions.slot + 1;
            std::size_t const size = positions.size[number] - 2u;
            put(digits, size);
            *line_end++ = ',';
            put(digits, size);
            *line_end++ = ',';
            put(names[i]);
            put("\r");
            write_line();
        }
        return 0;
    }
    static const char dash[] = "------------------------------------------------------------------";
    static const char stars[] = "****************************************************";
    put("\t Nome dos soldados(ctrl+d para encerrar):");
    write_line();
    if (count == 0) {
        put("A lista esta vazia");
        write_line();
        return 1;
    }
    put(dash);
    write_line();
    put("Os soldados sao:");
    write_line();
    put_roster(names, count, positions);
    put(" O soldado que iniciara a contagem sera: ");
    put(names[0]);
    write_line();
    put(dash);
    write_line();
    std::size_t counting = 0;
    if (summary) {
        // The soldiers leave in the order read, and the last one read wins.
        for (std::size_t i = 0; i + 1 < count; ++i) {
            put("\tO Soldado removido foi: ");
            put(names[i]);
            write_line();
            if (i + 2 < count) {
                put("\tO soldado ");
                put(names[i + 1]);
                put(" iniciara a contagem");
                write_line();
            }
        }
        names[0] = names[count - 1];
        count = 1;
    }
    while (count > 1) {
        std::size_t const reached = (counting + n % count) % count;
        put("\tO Soldado removido foi: ");
        put(names[reached]);
        write_line();
        std::memmove(names + reached, names + reached + 1, (count - reached - 1) * sizeof(Name));
        if (--count == 1) {
            break;
        }
        put("Os soldados restantes sao:");
        write_line();
        put(dash);
        write_line();
        put_roster(names, count, positions);
        put(dash);
        write_line();
        counting = reached % count;
        put("\tO soldado ");
        put(names[counting]);
        put(" iniciara a contagem");
        write_line();
    }
    put(stars);
    write_line();
    put("\tO vencedor e o Soldado ");
    put(names[0]);
    write_line();
    put(stars);
    write_line();
    put("\nJogo terminado...");
    write_line();
    return 0;
}

// SPDX-License-Identifier: MIT
#include "drawing.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <iostream>
#include <string>
#include <utility>

namespace {

// Columns are counted after the gutter that begins every line.
constexpr std::string_view gutter = ": ";
constexpr std::size_t width = 80 - gutter.size();
constexpr std::size_t first_box = 4;       // where each row's first box begins
constexpr std::size_t header_arrow = 5;    // the header's `next`, down to that box
constexpr std::size_t text_room = 16;      // for a text in its box, quotes included
constexpr std::size_t least_text_room = 5; // "''..."
constexpr std::size_t label_room = 12;

constexpr std::string_view header = "    [no cabeca] <-- head";
constexpr std::string_view no_header = "    nulo <-- head  (lista sem no cabeca)";
constexpr std::string_view emptied = "    nulo  (lista esvaziada)";
constexpr std::string_view null_next = "nulo";
constexpr std::string_view elsewhere = "fora da lista";

// The pieces one after the other. (Appended rather than added up: GCC 12
// warns, wrongly, of overlapping copies in some sums of strings.)
template <typename... Pieces>
std::string joined(const Pieces&... pieces) {
    std::string out;
    (out.append(pieces), ...);
    return out;
}

// Puts `piece` on `line` from `column` on, over what was there, with spaces
// up to it.
void put(std::string& line, std::size_t column, std::string_view piece) {
    if (line.size() < column + piece.size()) {
        line.resize(column + piece.size(), ' ');
    }
    std::copy(piece.begin(), piece.end(), line.begin() + static_cast<std::ptrdiff_t>(column));
}

// A text as its box shows it, in at most `room` characters (at least
// least_text_room): between single quotes and escaped, or, when that is
// longer, as much of it as fits whole, the quote, and "...".
std::string shown(std::string_view text, std::size_t room) {
    constexpr std::string_view controls = "\a\b\t\n\v\f\r";
    constexpr std::string_view letters = "abtnvfr";
    std::string out = "'";
    std::size_t cut = out.size(); // the longest beginning that leaves room for "'..."
    for (char const c : text) {
        auto const byte = static_cast<unsigned char>(c);
        if (std::size_t const at = controls.find(c); at != std::string_view::npos) {
            out += {'\\', letters[at]};
        } else if (c == '\\' || c == '\'') {
            out += {'\\', c};
        } else if (byte >= ' ' && byte < 0x7f) {
            out += c;
        } else {
            out += {'\\', char('0' + (byte >> 6)), char('0' + ((byte >> 3) & 7)),
                    char('0' + (byte & 7))};
        }
        if (out.size() + 4 <= room) {
            cut = out.size();
        } else if (out.size() + 1 > room) {
            out.resize(cut);
            return out.append("'...");
        }
    }
    return out.append("'");
}

std::string decimal(int value) {
    char digits[16];
    return {digits, std::to_chars(digits, digits + sizeof digits, value).ptr};
}

// An element's box: "[key|'text']", its text in at most `room` characters.
std::string box(const node& element, std::size_t room = text_room) {
    return joined("[", decimal(element.key), "|", shown(element.info, room), "]");
}

// An arrow from above down into a box of the circle: from the header, from
// a mark's word, or from an element that was unlinked.
struct Arrow {
    std::size_t target; // the element it points to, by its place in the circle
    Mark from;
    bool unlinked;
    std::size_t column = 0;
};

// The arrow's label to the right of its column ("+--" first) or to its left
// ("--+" last), in at most `room` characters; empty when none fits.
std::string label(const Arrow& arrow, bool left, std::size_t room) {
    std::string_view word = arrow.from.label.substr(0, label_room);
    if (!arrow.unlinked) {
        std::size_t const arrow_size = 4; // "+-- " or " --+"
        if (room <= arrow_size) {
            return {};
        }
        word = word.substr(0, room - arrow_size);
        return left ? joined(word, " --+") : joined("+-- ", word);
    }
    std::string const key = decimal(arrow.from.element->key);
    std::size_t const fixed = 3 + key.size() + 3 + (word.empty() ? 0 : word.size() + 1);
    if (room < fixed + least_text_room) {
        return {};
    }
    std::string const drawn = box(*arrow.from.element, std::min(text_room, room - fixed));
    std::string_view const apart = word.empty() ? "" : " ";
    return left ? joined(word, apart, drawn, "--+") : joined("+--", drawn, apart, word);
}

// Draws the arrows into one row, each label on a line of its own and the
// arrow heads on the last line, over the row. An arrow's line goes down
// through the lines below it, so a label must cross no line of an arrow above
// it: the labels that fit to the right of their arrows come first, from left
// to right, then those that go to the left, from right to left. A label that
// finds no room whole between the lines that pass by is shortened on the side
// with more room. `margins` are the lines that pass by on the left, `header`
// the header's arrow into the first row.
void draw_arrows(std::vector<std::string>& lines, std::vector<Arrow>& arrows,
                 std::vector<std::size_t> const& margins, bool header) {
    auto const to_the_right = [](const Arrow& a) {
        return label(a, false, width).size() <= width - a.column;
    };
    std::stable_sort(arrows.begin(), arrows.end(), [&](const Arrow& a, const Arrow& b) {
        bool const right = to_the_right(a);
        return right != to_the_right(b) ? right : right == (a.column < b.column);
    });
    std::vector<std::size_t> down = margins; // the lines that pass by
    if (header) {
        down.push_back(header_arrow);
    }
    auto const passing = [&down](std::string& line) {
        for (std::size_t const column : down) {
            put(line, column, "|");
        }
    };
    for (const Arrow& arrow : arrows) {
        std::string& line = lines.emplace_back();
        passing(line);
        std::size_t const c = arrow.column;
        std::size_t leftmost = 0;
        std::size_t rightmost = width; // of the room, a blank beside each line
        for (std::size_t const column : down) {
            if (column < c) {
                leftmost = std::max(leftmost, column + 2);
            } else if (column > c) {
                rightmost = std::min(rightmost, column - 1);
            }
        }
        std::size_t const right_room = rightmost > c ? rightmost - c : 0;
        std::size_t const left_room = c + 1 >= leftmost ? c + 1 - leftmost : 0;
        // To the right where the whole label fits, else to the left, else
        // shortened on the side with more room.
        std::string text = label(arrow, false, width);
        bool left = false;
        if (text.size() > right_room) {
            text = label(arrow, true, width);
            left = text.size() <= left_room || left_room > right_room;
            if (text.size() > (left ? left_room : right_room)) {
                text = label(arrow, left, left ? left_room : right_room);
            }
        }
        if (text.empty()) { // no room for a label: the arrow alone
            put(line, c, "|");
        } else {
            put(line, left ? c + 1 - text.size() : c, text);
        }
        down.push_back(c);
    }
    if (header && arrows.empty()) {
        passing(lines.emplace_back());
    }
    std::string& heads = lines.emplace_back();
    passing(heads);
    for (auto column = down.begin() + static_cast<std::ptrdiff_t>(margins.size());
         column != down.end(); ++column) {
        put(heads, *column, "v");
    }
}

// The circle, in rows, with the arrows into it.
void draw_circle(std::vector<std::string>& lines, std::vector<const node*> const& elements,
                 std::vector<Arrow>& arrows) {
    struct Place {
        std::size_t row;
        std::size_t column;
    };
    std::vector<std::string> boxes;
    std::vector<Place> places;
    std::vector<std::size_t> ends; // of each row, where its line turns down
    std::size_t column = first_box;
    for (const node* element : elements) {
        std::string& drawn = boxes.emplace_back(box(*element));
        if (column > first_box && column + drawn.size() + 2 >= width) {
            ends.push_back(column - 1);
            column = first_box;
        }
        places.push_back({ends.size(), column});
        column += drawn.size() + 3;
    }
    ends.push_back(column - 1);

    // Each arrow ends on its box's key, or further right when another one
    // does, and never on the closing bracket.
    for (std::size_t i = 0; i < arrows.size(); ++i) {
        Place const place = places[arrows[i].target];
        std::size_t shift = place.row == 0 && place.column == first_box ? 1 : 0;
        for (std::size_t j = 0; j < i; ++j) {
            shift += arrows[j].target == arrows[i].target ? 1 : 0;
        }
        arrows[i].column =
            place.column + std::min(1 + 2 * shift, boxes[arrows[i].target].size() - 2);
    }

    std::size_t next = 0;
    for (std::size_t row = 0; row < ends.size(); ++row) {
        std::vector<Arrow> into;
        for (const Arrow& arrow : arrows) {
            if (places[arrow.target].row == row) {
                into.push_back(arrow);
            }
        }
        if (row == 0) {
            draw_arrows(lines, into, {}, true);
        } else if (!into.empty()) {
            draw_arrows(lines, into, {0, 1}, false);
        }
        std::string& line = lines.emplace_back(row == 0 ? "+-->" : "|+->");
        for (; next < elements.size() && places[next].row == row; ++next) {
            line += boxes[next];
            line += next + 1 < elements.size() && places[next + 1].row == row ? "-->" : "--+";
        }
        bool const last = row + 1 == ends.size();
        std::string& turn = lines.emplace_back(last ? "+" : "|+");
        turn.resize(ends[row], '-');
        turn += '+';
    }
}

// An unlinked element whose `next` does not point into the circle, below the
// rest: a loop back to itself, or where it points, in words.
void draw_apart(std::vector<std::string>& lines, const Mark& unlinked) {
    std::string const drawn = box(*unlinked.element);
    std::string const word(unlinked.label.substr(0, label_room));
    lines.emplace_back();
    std::string& line = lines.emplace_back(std::string(first_box, ' ') + drawn);
    std::size_t const end = line.size() + 2;
    if (unlinked.element->next == unlinked.element) {
        line.append("--+ ").append(word);
        put(lines.emplace_back(), header_arrow, "^");
        put(lines.back(), end, "|");
        std::string& back = lines.emplace_back(header_arrow, ' ');
        back += '+';
        back.resize(end, '-');
        back += '+';
    } else {
        line += "--> ";
        line += unlinked.element->next == nullptr ? null_next : elsewhere;
        line.append("  ").append(word);
    }
}

} // namespace

std::vector<std::string> draw(const ListaEnc& list, std::initializer_list<Mark> marks,
                              std::optional<Mark> unlinked) {
    std::vector<const node*> elements;
    for (const node& element : list) {
        elements.push_back(&element);
    }
    auto const place = [&elements](const node* element) {
        return static_cast<std::size_t>(std::find(elements.begin(), elements.end(), element) -
                                        elements.begin());
    };
    std::vector<Arrow> arrows;
    if (unlinked) {
        if (std::size_t const at = place(unlinked->element->next); at < elements.size()) {
            arrows.push_back({at, *unlinked, true});
            unlinked.reset();
        }
    }
    for (const Mark& mark : marks) {
        if (std::size_t const at = place(mark.element); at < elements.size()) {
            arrows.push_back({at, mark, false});
        }
    }

    std::vector<std::string> lines;
    if (list.isEmpty()) {
        lines.emplace_back(no_header);
    } else {
        lines.emplace_back(header);
        if (elements.empty()) {
            put(lines.emplace_back(), header_arrow, "|");
            put(lines.emplace_back(), header_arrow, "v");
            lines.emplace_back(emptied);
        } else {
            draw_circle(lines, elements, arrows);
        }
    }
    if (unlinked) {
        draw_apart(lines, *unlinked);
    }
    for (std::string& line : lines) {
        line.erase(line.find_last_not_of(' ') + 1);
        line.insert(0, line.empty() ? gutter.substr(0, 1) : gutter);
    }
    return lines;
}

void show(const ListaEnc& list, std::initializer_list<Mark> marks, std::optional<Mark> unlinked) {
    for (std::string& line : draw(list, marks, unlinked)) {
        line += '\n';
        std::cout.write(line.data(), static_cast<std::streamsize>(line.size()));
        std::cout.flush();
    }
}

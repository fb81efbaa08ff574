// SPDX-License-Identifier: MIT
#include "drawing.h"

#include "columns.h"
#include "format.h"
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <iostream>
#include <string>
#include <system_error>
#include <utility>

namespace {

// Columns are counted after the gutter that begins every line.
constexpr std::string_view gutter = ": ";
constexpr std::size_t first_box = 4;       // where each row's first box begins
constexpr std::size_t header_arrow = 5;    // the header's `next`, down to that box
constexpr std::size_t text_room = 16;      // for a text in its box, quotes included
constexpr std::size_t least_text_room = 5; // "''..."

constexpr std::string_view header = "    [nó cabeça] <-- head";
constexpr std::string_view header_changed = "    [nó cabeça] <== head";
constexpr std::string_view no_header = "    nulo <-- head  (lista sem nó cabeça)";
constexpr std::string_view no_header_changed = "    nulo <== head  (lista sem nó cabeça)";
constexpr std::string_view emptied = "    nulo  (lista esvaziada)";
constexpr std::string_view first_elsewhere = "    fora da lista";
constexpr std::string_view null_next = "nulo";
constexpr std::string_view elsewhere = "fora da lista";
constexpr std::string_view above = "acima";
// After a cursor into memory already released, marked, and what that is.
constexpr std::string_view dangles = " --> !! liberado";
constexpr std::string_view dangling = "  (ponteiro pendente)";

using Element = Scene::Element;

void add(Cells& out, std::string_view text) {
    if (std::any_of(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; })) {
        Cells const more = cells(text); // a word of ours with an accent
        out.insert(out.end(), more.begin(), more.end());
        return;
    }
    for (char const c : text) {
        out.emplace_back(1, c);
    }
}
void add(Cells& out, const Cells& more) { out.insert(out.end(), more.begin(), more.end()); }

// The columns of the pieces, one after the other.
template <typename... Pieces>
Cells cells_of(const Pieces&... pieces) {
    Cells out;
    (add(out, pieces), ...);
    return out;
}

// Puts `piece` on `line` from `column` on, over what was there, with spaces
// up to it.
void put(Cells& line, std::size_t column, const Cells& piece) {
    if (line.size() < column + piece.size()) {
        line.resize(column + piece.size(), " ");
    }
    std::copy(piece.begin(), piece.end(), line.begin() + static_cast<std::ptrdiff_t>(column));
}
void put(Cells& line, std::size_t column, std::string_view ascii) {
    put(line, column, cells_of(ascii));
}

// An element's box: "[key|'text']", its text in at most `room` columns.
Cells box(const Element& element, std::size_t room = text_room) {
    return cells_of("[", decimal(element.key), "|", quoted_cells(element.info, room, element.cut),
                    "]");
}

// The same box as one piece of text, and its columns.
Drawn box_text(const Element& element, std::size_t room = text_room) {
    std::string const key = decimal(element.key);
    Drawn const text = quoted(element.info, room, element.cut);
    Drawn out;
    out.text.reserve(key.size() + text.text.size() + 3);
    out.text.append("[").append(key).append("|").append(text.text).append("]");
    out.columns = key.size() + text.columns + 3;
    return out;
}

// The words that point at one place in lines of at most `room` columns (at
// least 2): one after the other with ", " between them (a state after a
// space) where they fit, else
// a word begins the next line, and one wider than a line goes on over as
// many as it takes. None is cut.
std::vector<Cells> stacked(const std::vector<std::string_view>& words, std::size_t room) {
    std::vector<Cells> lines;
    room = std::max<std::size_t>(room, 2);
    for (std::string_view const text : words) {
        Cells const word = cells(text);
        if (word.empty()) {
            continue;
        }
        // A state follows what points at its element after a space.
        std::string_view const between = text.starts_with('(') ? " " : ", ";
        if (!lines.empty() && lines.back().size() + between.size() + word.size() <= room) {
            add(lines.back(), between);
            add(lines.back(), word);
            continue;
        }
        lines.emplace_back();
        for (std::size_t at = 0; at < word.size(); ++at) {
            // A wide character's second column stays with its first.
            std::size_t const size = at + 1 < word.size() && word[at + 1].empty() ? 2 : 1;
            if (!lines.back().empty() && lines.back().size() + size > room && !word[at].empty()) {
                lines.emplace_back();
            }
            lines.back().push_back(word[at]);
        }
    }
    return lines;
}

// The widest of some lines, in columns.
std::size_t widest(const std::vector<Cells>& lines) {
    std::size_t most = 0;
    for (const Cells& line : lines) {
        most = std::max(most, line.size());
    }
    return most;
}

// A label's words as a drawing shows them: a state between parentheses, a
// helper's local with the helper it lives in ("ultimo em last()").
std::string shown(const Scene::Label& label) {
    if (label.state) {
        return "(" + label.word + ")";
    }
    if (!label.frame.empty()) {
        return label.word + " em " + label.frame + "()";
    }
    return label.word;
}

// An arrow from above down into a row: from words, or from an element out
// of the circle (its box and its words), whose `next` it is.
struct Arrow {
    std::size_t row;
    std::size_t column;
    std::vector<std::string_view> words;
    const Element* from = nullptr; // the element out of the circle, if any
    bool changed = false;          // whether the step changed that `next`
    bool bare = false;             // its label is drawn elsewhere
};

// The arrow's label to the right of its column ("+--" first) or to its left
// ("--+" last), in lines of at most `room` columns, the first of which holds
// the arrow's corner and the others its line down ("|"), at the label's first
// column on the right or its last on the left; the words stack on as many
// lines as they take. Empty when not even the corner and a box fit.
std::vector<Cells> label(const Arrow& arrow, bool left, std::size_t room) {
    if (arrow.bare) {
        return {};
    }
    std::size_t const arrow_size = 4; // "+-- " or " --+"
    std::vector<Cells> lines;
    std::vector<Cells> words;
    Cells first;
    if (arrow.from == nullptr) {
        if (room <= arrow_size) {
            return {};
        }
        words = stacked(arrow.words, room - arrow_size);
        if (words.empty()) {
            words.emplace_back();
        }
        first = left ? cells_of(words[0], " --+") : cells_of("+-- ", words[0]);
        words.erase(words.begin());
    } else {
        std::string const key = decimal(arrow.from->key);
        std::size_t const fixed = 3 + key.size() + 3;
        if (room < fixed + least_text_room) {
            return {};
        }
        std::string_view const link = arrow.changed ? "==" : "--";
        // The words beside the box, as many lines as they take, where the
        // widest of them fits, the box's text shortened for it down to the
        // least; else on lines of their own under it.
        std::size_t longest = 0;
        for (std::string_view const word : arrow.words) {
            longest = std::max(longest, cells(word).size() + 1);
        }
        bool const beside = room >= fixed + least_text_room + longest;
        Cells const drawn =
            box(*arrow.from, std::min(text_room, room - fixed - (beside ? longest : 0)));
        std::size_t const rest = room - std::min(room, drawn.size() + 3 + 1);
        if (beside) {
            words = stacked(arrow.words, rest);
            std::string_view const apart = words.empty() ? "" : " ";
            Cells const word = words.empty() ? Cells{} : words[0];
            lines.push_back(left ? cells_of(word, apart, drawn, link, "+")
                                 : cells_of("+", link, drawn, apart, word));
            // The other lines of words under the first.
            std::size_t const under = drawn.size() + 3;
            for (std::size_t i = 1; i < words.size(); ++i) {
                lines.push_back(left ? cells_of(words[i], Cells(under, " "), "|")
                                     : cells_of("|", Cells(under, " "), words[i]));
            }
            return lines;
        }
        first = left ? cells_of(box(*arrow.from, std::min(text_room, room - fixed)), link, "+")
                     : cells_of("+", link, box(*arrow.from, std::min(text_room, room - fixed)));
        if (room > arrow_size) {
            words = stacked(arrow.words, room - arrow_size);
        }
    }
    lines.push_back(std::move(first));
    for (Cells& more : words) {
        lines.push_back(left ? cells_of(more, "   |") : cells_of("|   ", more));
    }
    return lines;
}

struct Layout {
    std::size_t width; // after the gutter
    bool header_changed = false;
    std::size_t header_lines = 1; // the header's line and those of its words
};

// Draws the arrows into one row, each label on lines of its own and the
// arrow heads on the last line, over the row. An arrow's line goes down
// through the lines below it, so a label must cross no line of an arrow above
// it: the labels that fit to the right of their arrows come first, from left
// to right, then those that go to the left, from right to left. A label that
// finds no room on one line between the lines that pass by stacks on more
// lines on the side with more room. `margins` are the lines that pass by on
// the left, `header` whether the header's arrow goes into this row.
void draw_arrows(std::vector<Cells>& lines, std::vector<Arrow>& arrows,
                 std::vector<std::size_t> const& margins, bool header, const Layout& layout) {
    std::size_t const width = layout.width;
    auto const to_the_right = [width](const Arrow& a) {
        std::size_t const room = width - std::min(width, a.column);
        std::vector<Cells> const text = label(a, false, room);
        return widest(text) <= room && text.size() == label(a, false, width).size();
    };
    std::stable_sort(arrows.begin(), arrows.end(), [&](const Arrow& a, const Arrow& b) {
        bool const right = to_the_right(a);
        return right != to_the_right(b) ? right : right == (a.column < b.column);
    });
    std::vector<std::size_t> down = margins; // the lines that pass by
    if (header) {
        down.push_back(header_arrow);
    }
    auto const passing = [&](Cells& line) {
        for (std::size_t const column : down) {
            put(line, column,
                header && column == header_arrow && layout.header_changed ? "#" : "|");
        }
    };
    for (const Arrow& arrow : arrows) {
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
        // To the right where the whole label fits on as few lines as it
        // takes at the full width, else to the left, else stacked on the side
        // with more room.
        std::size_t const fewest = label(arrow, false, width).size();
        std::vector<Cells> text = label(arrow, false, right_room);
        bool left = false;
        if (text.empty() || widest(text) > right_room || text.size() > fewest) {
            std::vector<Cells> on_the_left = label(arrow, true, left_room);
            bool const fits = !on_the_left.empty() && widest(on_the_left) <= left_room &&
                              on_the_left.size() <= label(arrow, true, width).size();
            left = fits || left_room > right_room;
            if (left) {
                text = std::move(on_the_left);
            }
        }
        if (text.empty()) { // no room for a label: the arrow alone
            put(lines.emplace_back(), c, "|");
            passing(lines.back());
        }
        for (std::size_t i = 0; i < text.size(); ++i) {
            Cells& line = lines.emplace_back();
            passing(line);
            if (i > 0) {
                put(line, c, "|");
            }
            put(line, left ? c + 1 - text[i].size() : c, text[i]);
        }
        down.push_back(c);
    }
    if (header && arrows.empty()) {
        passing(lines.emplace_back());
    }
    Cells& heads = lines.emplace_back();
    passing(heads);
    for (auto column = down.begin() + static_cast<std::ptrdiff_t>(margins.size());
         column != down.end(); ++column) {
        put(heads, *column, "v");
    }
}

// Where the last element's `next` goes when not back to the first element,
// written after its box, the box of the element it names in `room` (0: its
// key alone); empty when it goes back, or up into the last row.
Cells tail(const Scene& scene, int target, bool changed, std::size_t room = least_text_room + 3) {
    std::string_view const link = changed ? "==> " : "--> ";
    if (target == Scene::null) {
        return cells_of(link, null_next);
    }
    if (target == Scene::elsewhere) {
        return cells_of(link, elsewhere);
    }
    const Element& element = scene.elements[static_cast<std::size_t>(target)];
    Cells out = room == 0 ? cells_of(link, "[", decimal(element.key), "]")
                          : cells_of(link, box(element, room));
    if (static_cast<std::size_t>(target) < scene.walked) {
        add(out, " ");
        add(out, above);
    }
    return out;
}

// The elements of the walk, in rows, with the arrows into them.
void draw_walk(std::vector<Cells>& lines, const Scene& scene, std::vector<Arrow>& arrows,
               std::vector<std::size_t> const& stood, const Layout& layout) {
    std::size_t const width = layout.width;
    std::size_t const count = scene.walked;
    int const target = scene.elements[count - 1].next;
    auto const changed = [&scene](std::size_t element) {
        return scene.changed.which == Scene::Link::element_next &&
               scene.changed.element == static_cast<int>(element);
    };
    struct Place {
        std::size_t row;
        std::size_t column;
    };
    std::vector<Drawn> boxes;
    std::vector<Place> places;
    std::vector<std::size_t> ends; // of each row, where its line turns down
    // What follows the last box takes less room where the two would not fit
    // a row together, and at the least only the key of the element it names.
    std::size_t const last_box =
        first_box + box_text(scene.elements[count - 1], least_text_room).columns;
    std::size_t tail_room = least_text_room + 3;
    if (last_box + tail(scene, target, false, tail_room).size() >= width) {
        tail_room = least_text_room;
    }
    if (last_box + tail(scene, target, false, tail_room).size() >= width) {
        tail_room = 0;
    }
    std::size_t column = first_box;
    for (std::size_t i = 0; i < count; ++i) {
        Drawn& drawn = boxes.emplace_back(box_text(scene.elements[i]));
        std::size_t const after =
            i + 1 < count || target == 0 ? 2 : tail(scene, target, false, tail_room).size();
        if (column > first_box && column + drawn.columns + after >= width) {
            ends.push_back(column - 1);
            column = first_box;
        }
        // A box alone in its row, with what follows it, still too wide:
        // its text gets less room, down to the least.
        if (column == first_box && column + drawn.columns + after >= width) {
            std::size_t const over = column + drawn.columns + after + 1 - width;
            std::size_t const text =
                std::min(text_room, drawn.columns - 3 - decimal(scene.elements[i].key).size());
            drawn =
                box_text(scene.elements[i], std::max(least_text_room, text - std::min(text, over)));
        }
        places.push_back({ends.size(), column});
        column += drawn.columns + 3;
    }
    ends.push_back(column - 1);
    std::size_t const last_row = ends.size() - 1;
    // Back up into an element of the last row from below, when not the first.
    bool const returns = target == 0;
    bool const up = target > 0 && static_cast<std::size_t>(target) < count &&
                    places[static_cast<std::size_t>(target)].row == last_row;
    Cells const words =
        returns || up ? Cells{} : tail(scene, target, changed(count - 1), tail_room);

    // An arrow from a word ends on its box's key, or further right when
    // another one does, and never on the closing bracket; one from an
    // element that stood in a gap ends on the gap's arrow head.
    std::vector<std::size_t> targets;
    for (std::size_t i = 0; i < arrows.size(); ++i) {
        std::size_t const at = targets.emplace_back(arrows[i].row);
        if (stood[i] == count) { // after the last element
            arrows[i].row = last_row;
            arrows[i].column = ends[last_row];
            continue;
        }
        Place const place = places[at];
        arrows[i].row = place.row;
        if (stood[i] != SIZE_MAX) {
            arrows[i].column = place.column - 1;
            continue;
        }
        std::size_t shift = place.row == 0 && place.column == first_box ? 1 : 0;
        for (std::size_t j = 0; j < i; ++j) {
            shift += stood[j] == SIZE_MAX && targets[j] == at ? 1 : 0;
        }
        arrows[i].column = place.column + std::min(1 + 2 * shift, boxes[at].columns - 2);
    }

    std::size_t next = 0;
    for (std::size_t row = 0; row < ends.size(); ++row) {
        std::vector<Arrow> into;
        for (const Arrow& arrow : arrows) {
            if (arrow.row == row) {
                into.push_back(arrow);
            }
        }
        std::vector<std::size_t> margins;
        if (row > 0) {
            margins = returns ? std::vector<std::size_t>{0, 1} : std::vector<std::size_t>{1};
        }
        if (row == 0) {
            // An arrow left of the header's has its label above the header,
            // its line down beside the header's lines and the labels after.
            std::vector<std::size_t> beside;
            for (Arrow& arrow : into) {
                if (arrow.column < header_arrow) {
                    auto const header_lines = static_cast<std::ptrdiff_t>(layout.header_lines);
                    for (const Cells& said : label(arrow, false, width - arrow.column)) {
                        Cells& line = *lines.insert(lines.end() - header_lines, Cells{});
                        for (std::size_t const column : beside) {
                            put(line, column, "|");
                        }
                        put(line, arrow.column, said);
                    }
                    for (auto at = lines.end() - header_lines; at != lines.end(); ++at) {
                        put(*at, arrow.column, "|");
                    }
                    beside.push_back(arrow.column);
                    arrow.bare = true;
                }
            }
        }
        if (row == 0 || !into.empty()) {
            draw_arrows(lines, into, margins, row == 0, layout);
        }
        // A row, and the line under it, are drawn whole, as one cell each.
        std::string line(row == 0 ? (returns ? "+-->" : "    ") : (returns ? "|+->" : " +->"));
        std::size_t end = 0;
        for (; next < count && places[next].row == row; ++next) {
            line += boxes[next].text;
            std::string_view const link = changed(next) ? "==" : "--";
            bool const last = next + 1 == count;
            if (!last && places[next + 1].row == row) {
                line.append(link).append(">");
            } else if (last && !words.empty()) {
                line += text_of(words);
            } else {
                line.append(link).append("+");
            }
            end = next;
        }
        lines.push_back(Cells{std::move(line)});
        bool const wrapped = row != last_row;
        char const fill = changed(end) ? '=' : '-';
        if (wrapped || returns) {
            std::string turn(wrapped ? (returns ? "|+" : " +") : "+");
            turn.resize(ends[row], fill);
            turn += '+';
            lines.push_back(Cells{std::move(turn)});
        } else if (up) {
            std::size_t const into_column = places[static_cast<std::size_t>(target)].column + 1;
            Cells& rise = lines.emplace_back();
            put(rise, into_column, "^");
            put(rise, ends[row], "|");
            Cells& turn = lines.emplace_back();
            put(turn, into_column, "+");
            turn.resize(ends[row], std::string(1, fill));
            add(turn, "+");
        }
    }
}

// An element out of the circle whose `next` does not point into it, below
// the rest: a loop back to itself, or where it points, in words.
void draw_apart(std::vector<Cells>& lines, const Scene& scene, std::size_t index,
                const std::vector<std::string_view>& labels, const Layout& layout) {
    const Element& element = scene.elements[index];
    bool const changed = scene.changed.which == Scene::Link::element_next &&
                         scene.changed.element == static_cast<int>(index);
    std::string_view const link = changed ? "==" : "--";
    bool const loop = element.next == static_cast<int>(index);
    std::string_view const space = loop ? " " : "  ";
    Cells words;
    if (!loop) {
        words = cells_of(link, "> ");
        if (element.next == Scene::null) {
            add(words, null_next);
        } else if (element.next == Scene::elsewhere) {
            add(words, elsewhere);
        } else {
            // The box it points to, shorter where the two would not fit a
            // line, and at the least its key alone.
            const Element& next = scene.elements[static_cast<std::size_t>(element.next)];
            std::size_t const own = first_box + 3 + decimal(element.key).size() + least_text_room;
            std::size_t room = least_text_room + 3;
            room = own + words.size() + box_text(next, room).columns > layout.width
                       ? least_text_room
                       : room;
            if (own + words.size() + box_text(next, room).columns > layout.width) {
                add(words, cells_of("[", decimal(next.key), "]"));
            } else {
                add(words, box(next, room));
            }
        }
    } else {
        words = cells_of(link, "+");
    }
    // The words on the same line where they fit, else on lines of their
    // own above it.
    std::size_t const fixed = first_box + 3 + decimal(element.key).size() + words.size();
    std::size_t const spare = layout.width - std::min(layout.width, fixed + least_text_room);
    std::vector<Cells> said = stacked(labels, spare - std::min(spare, space.size()));
    bool const beside =
        said.size() == 1 && fixed + least_text_room + space.size() + said[0].size() <= layout.width;
    if (!beside) {
        said = stacked(labels, layout.width - first_box);
    }
    std::size_t const room = std::min(text_room, layout.width - std::min(layout.width, fixed) -
                                                     (beside ? space.size() + said[0].size() : 0));
    lines.emplace_back();
    if (!beside) {
        for (const Cells& words_line : said) {
            put(lines.emplace_back(), first_box, words_line);
        }
    }
    Cells& line =
        lines.emplace_back(cells_of("    ", box(element, std::max(room, least_text_room)), words));
    if (beside) {
        add(line, space);
        add(line, said[0]);
    }
    if (loop) {
        std::size_t const end = line.size() - 1 - (beside ? 1 + said[0].size() : 0);
        Cells& rise = lines.emplace_back();
        put(rise, header_arrow, "^");
        put(rise, end, "|");
        Cells& back = lines.emplace_back();
        put(back, header_arrow, "+");
        back.resize(end, std::string(1, changed ? '=' : '-'));
        add(back, "+");
    }
}

} // namespace

std::vector<std::string> draw(const Scene& scene, std::size_t width) {
    Layout layout{std::max(width, least_width) - gutter.size(),
                  scene.changed.which == Scene::Link::header_next};
    // Each label's words as they show.
    std::vector<std::string> words_of;
    words_of.reserve(scene.labels.size());
    for (const Scene::Label& label : scene.labels) {
        words_of.push_back(shown(label));
    }
    // The words of each element out of the walk, for its one arrow: its
    // cursors first, then its states.
    std::vector<std::vector<std::string_view>> labels(scene.elements.size());
    for (bool const states : {false, true}) {
        for (std::size_t i = 0; i < scene.labels.size(); ++i) {
            const Scene::Label& label = scene.labels[i];
            if (label.state == states && label.element >= 0 &&
                static_cast<std::size_t>(label.element) >= scene.walked) {
                labels[static_cast<std::size_t>(label.element)].push_back(words_of[i]);
            }
        }
    }
    // Arrows into the walk: from each element out of it that points into
    // it, then from each word on an element of it. Their `row` holds their
    // element's place in the walk until the rows are laid out; `stood`, the
    // gap they stood in, or SIZE_MAX.
    std::vector<Arrow> arrows;
    std::vector<std::size_t> stood;
    std::vector<std::size_t> below;
    for (std::size_t i = scene.walked; i < scene.elements.size(); ++i) {
        const Element& element = scene.elements[i];
        if (element.next < 0 || static_cast<std::size_t>(element.next) >= scene.walked) {
            below.push_back(i);
            continue;
        }
        bool const changed = scene.changed.which == Scene::Link::element_next &&
                             scene.changed.element == static_cast<int>(i);
        std::size_t gap = SIZE_MAX;
        std::size_t at = static_cast<std::size_t>(element.next);
        if (element.stood >= 0 && static_cast<std::size_t>(element.stood) < scene.walked) {
            gap = static_cast<std::size_t>(element.stood);
            at = gap;
            if (gap == 0 && !element.was_first) {
                gap = scene.walked; // after the last
            }
        }
        arrows.push_back({at, 0, labels[i], &element, changed});
        stood.push_back(gap);
    }
    // The words on one element of the walk stack on one arrow, in the order
    // given.
    std::vector<std::size_t> arrow_of(scene.walked, SIZE_MAX);
    for (std::size_t i = 0; i < scene.labels.size(); ++i) {
        const Scene::Label& label = scene.labels[i];
        if (label.element >= 0 && static_cast<std::size_t>(label.element) < scene.walked) {
            auto const element = static_cast<std::size_t>(label.element);
            if (arrow_of[element] == SIZE_MAX) {
                arrow_of[element] = arrows.size();
                arrows.push_back({element, 0, {}});
                stood.push_back(SIZE_MAX);
            }
            arrows[arrow_of[element]].words.push_back(words_of[i]);
        }
    }

    std::vector<Cells> lines;
    bool const head_changed = scene.changed.which == Scene::Link::head;
    if (!scene.header) {
        lines.push_back(cells_of(head_changed ? no_header_changed : no_header));
    } else {
        lines.push_back(cells_of(head_changed ? header_changed : header));
        // The words on the header node, each with its arrow where they all
        // fit; else, after one arrow, stacked on as many lines as they take.
        std::vector<std::string_view> words;
        std::size_t beside = lines.back().size();
        for (std::size_t i = 0; i < scene.labels.size(); ++i) {
            if (scene.labels[i].element == Scene::header_node) {
                words.push_back(words_of[i]);
                beside += 6 + cells(words_of[i]).size();
            }
        }
        if (beside <= layout.width) {
            for (std::string_view const said : words) {
                add(lines.back(), "  <-- ");
                add(lines.back(), said);
            }
        } else {
            std::size_t const at = lines.back().size() + 6;
            std::vector<Cells> said = stacked(words, layout.width - at);
            for (std::size_t i = 0; i < said.size(); ++i) {
                if (i == 0) {
                    add(lines.back(), "  <-- ");
                } else {
                    put(lines.emplace_back(), header_arrow, layout.header_changed ? "#" : "|");
                }
                put(lines.back(), at, said[i]);
            }
            layout.header_lines = said.size();
        }
        if (scene.walked == 0) {
            std::string_view const line = layout.header_changed ? "#" : "|";
            put(lines.emplace_back(), header_arrow, line);
            put(lines.emplace_back(), header_arrow, "v");
            lines.push_back(cells_of(scene.first == Scene::null ? emptied : first_elsewhere));
        } else {
            draw_walk(lines, scene, arrows, stood, layout);
        }
    }
    for (std::size_t const i : below) {
        draw_apart(lines, scene, i, labels[i], layout);
    }
    // The cursors into memory already released, each on a line of its own.
    bool first_dangling = true;
    for (std::size_t i = 0; i < scene.labels.size(); ++i) {
        if (scene.labels[i].element != Scene::freed) {
            continue;
        }
        if (std::exchange(first_dangling, false)) {
            lines.emplace_back();
        }
        std::size_t const indent = 4;
        std::vector<Cells> const said =
            stacked({words_of[i]}, layout.width - indent - cells(dangles).size());
        for (const Cells& words : said) {
            put(lines.emplace_back(), indent, words);
        }
        add(lines.back(), dangles);
        if (lines.back().size() + cells(dangling).size() <= layout.width) {
            add(lines.back(), dangling);
        }
    }
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (Cells& line : lines) {
        while (!line.empty() && line.back() == " ") {
            line.pop_back();
        }
        out.push_back(line.empty() ? std::string(gutter.substr(0, 1))
                                   : std::string(gutter).append(text_of(line)));
    }
    return out;
}

std::vector<std::string> draw(const ListaEnc& list, std::initializer_list<Mark> marks,
                              std::optional<Mark> unlinked, std::size_t width) {
    Apart apart{nullptr, {}};
    if (unlinked) {
        apart = {unlinked->element, unlinked->label};
    }
    return draw(capture(list, {{marks.begin(), marks.size()},
                               {&apart, unlinked ? std::size_t{1} : std::size_t{0}}}),
                width);
}

void print_lines(const std::vector<std::string>& lines) {
    std::string line;
    for (const std::string& drawn : lines) {
        line.assign(drawn).push_back('\n');
        std::cout.write(line.data(), static_cast<std::streamsize>(line.size()));
        std::cout.flush();
    }
}

std::size_t drawing_width(const std::string_view* given) {
    if (given != nullptr) {
        std::size_t width = 0;
        auto const [end, error] =
            std::from_chars(given->data(), given->data() + given->size(), width);
        bool const whole = end == given->data() + given->size() && error == std::errc();
        return whole && width >= least_width && width <= most_width ? width : 0;
    }
    winsize size{};
    if (::isatty(1) == 1 && ::ioctl(1, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
        return std::clamp<std::size_t>(size.ws_col, least_width, most_width);
    }
    return default_width;
}

namespace {

volatile std::sig_atomic_t resized = 0;
int watched = -1; // the terminal whose width the drawings follow

extern "C" void note_resize(int /*signal*/) { resized = 1; }

} // namespace

void watch_width() {
    if (watched >= 0 || ::isatty(1) != 1) {
        return;
    }
    watched = ::fcntl(1, F_DUPFD_CLOEXEC, 3);
    if (watched < 0) {
        return;
    }
    struct sigaction action {};
    action.sa_handler = note_resize;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGWINCH, &action, nullptr);
}

std::size_t resized_width(std::size_t width) {
    if (resized == 0 || watched < 0) {
        return width;
    }
    resized = 0;
    winsize size{};
    if (::ioctl(watched, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
        return std::clamp<std::size_t>(size.ws_col, least_width, most_width);
    }
    return width;
}

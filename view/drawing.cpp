// SPDX-License-Identifier: MIT
#include "drawing.h"

#include "columns.h"
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
constexpr std::size_t label_room = 12;

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

template <typename... Pieces>
Cells joined(const Pieces&... pieces) {
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
    put(line, column, joined(ascii));
}

std::string decimal(int value) {
    char digits[16];
    return {digits, std::to_chars(digits, digits + sizeof digits, value).ptr};
}

// An element's box: "[key|'text']", its text in at most `room` columns.
Cells box(const Element& element, std::size_t room = text_room) {
    return joined("[", decimal(element.key), "|", quoted_cells(element.info, room, element.cut),
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

// A word cut to `room` columns, ending in "..." when it was cut.
Cells cut(Cells word, std::size_t room) {
    if (word.size() <= room) {
        return word;
    }
    std::size_t const mark = room > 3 ? 3 : 0;
    word.resize(room - mark);
    while (!word.empty() && word.back().empty()) { // half a wide character
        word.pop_back();
    }
    word.insert(word.end(), mark, ".");
    return word;
}

// A word that points, as long as it may show.
Cells word(std::string_view label, std::size_t room = label_room) {
    return cut(cells(prefix(label, room + 1)), room);
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
// The room of a label's words: more for a helper's local, which says where.
std::size_t room_of(const Scene::Label& label) {
    return label.frame.empty() ? label_room : 3 * label_room;
}

// An arrow from above down into a row: from a word, or from an element out
// of the circle (its box and its word), whose `next` it is.
struct Arrow {
    std::size_t row;
    std::size_t column;
    Cells word;
    const Element* from = nullptr; // the element out of the circle, if any
    bool changed = false;          // whether the step changed that `next`
    bool bare = false;             // its label is drawn elsewhere
};

// The arrow's label to the right of its column ("+--" first) or to its left
// ("--+" last), in at most `room` columns; empty when none fits.
Cells label(const Arrow& arrow, bool left, std::size_t room) {
    if (arrow.bare) {
        return {};
    }
    Cells word = arrow.word;
    if (arrow.from == nullptr) {
        std::size_t const arrow_size = 4; // "+-- " or " --+"
        if (room <= arrow_size) {
            return {};
        }
        word = cut(std::move(word), room - arrow_size);
        return left ? joined(word, " --+") : joined("+-- ", word);
    }
    std::string const key = decimal(arrow.from->key);
    std::size_t const fixed = 3 + key.size() + 3 + (word.empty() ? 0 : word.size() + 1);
    if (room < fixed + least_text_room) {
        return {};
    }
    Cells const drawn = box(*arrow.from, std::min(text_room, room - fixed));
    std::string_view const apart = word.empty() ? "" : " ";
    std::string_view const link = arrow.changed ? "==" : "--";
    return left ? joined(word, apart, drawn, link, "+") : joined("+", link, drawn, apart, word);
}

struct Layout {
    std::size_t width; // after the gutter
    bool header_changed = false;
};

// Draws the arrows into one row, each label on a line of its own and the
// arrow heads on the last line, over the row. An arrow's line goes down
// through the lines below it, so a label must cross no line of an arrow above
// it: the labels that fit to the right of their arrows come first, from left
// to right, then those that go to the left, from right to left. A label that
// finds no room whole between the lines that pass by is shortened on the side
// with more room. `margins` are the lines that pass by on the left, `header`
// whether the header's arrow goes into this row.
void draw_arrows(std::vector<Cells>& lines, std::vector<Arrow>& arrows,
                 std::vector<std::size_t> const& margins, bool header, const Layout& layout) {
    std::size_t const width = layout.width;
    auto const to_the_right = [width](const Arrow& a) {
        return label(a, false, width).size() <= width - std::min(width, a.column);
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
        Cells& line = lines.emplace_back();
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
        Cells text = label(arrow, false, width);
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
    Cells& heads = lines.emplace_back();
    passing(heads);
    for (auto column = down.begin() + static_cast<std::ptrdiff_t>(margins.size());
         column != down.end(); ++column) {
        put(heads, *column, "v");
    }
}

// Where the last element's `next` goes when not back to the first element,
// written after its box; empty when it goes back, or up into the last row.
Cells tail(const Scene& scene, int target, bool changed, std::size_t room = least_text_room + 3) {
    std::string_view const link = changed ? "==> " : "--> ";
    if (target == Scene::null) {
        return joined(link, null_next);
    }
    if (target == Scene::elsewhere) {
        return joined(link, elsewhere);
    }
    Cells out = joined(link, box(scene.elements[static_cast<std::size_t>(target)], room));
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
    // a row together.
    std::size_t const tail_room =
        first_box + box_text(scene.elements[count - 1], least_text_room).columns +
                    tail(scene, target, false).size() >=
                width
            ? least_text_room
            : least_text_room + 3;
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
            // An arrow left of the header's has its label above the header.
            for (Arrow& arrow : into) {
                if (arrow.column < header_arrow) {
                    Cells const text = label(arrow, false, width - arrow.column);
                    Cells& header_line = lines.back();
                    put(header_line, arrow.column, "|");
                    put(*lines.insert(lines.end() - 1, Cells{}), arrow.column, text);
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
                std::string_view label, const Layout& layout) {
    const Element& element = scene.elements[index];
    bool const changed = scene.changed.which == Scene::Link::element_next &&
                         scene.changed.element == static_cast<int>(index);
    std::string_view const link = changed ? "==" : "--";
    Cells const said = word(label, 4 * label_room);
    bool const loop = element.next == static_cast<int>(index);
    std::string_view const space = loop ? " " : "  ";
    Cells words;
    if (!loop) {
        words = joined(link, "> ");
        if (element.next == Scene::null) {
            add(words, null_next);
        } else if (element.next == Scene::elsewhere) {
            add(words, elsewhere);
        } else {
            add(words,
                box(scene.elements[static_cast<std::size_t>(element.next)], least_text_room + 3));
        }
    } else {
        words = joined(link, "+");
    }
    // The word on the same line where it fits, else on a line of its own.
    std::size_t const fixed = first_box + 3 + decimal(element.key).size() + words.size();
    bool const beside = fixed + least_text_room + space.size() + said.size() <= layout.width;
    std::size_t const room =
        std::min(text_room, layout.width - fixed - (beside ? space.size() + said.size() : 0));
    lines.emplace_back();
    if (!beside && !said.empty()) {
        put(lines.emplace_back(), first_box, said);
    }
    Cells& line = lines.emplace_back(joined("    ", box(element, room), words));
    if (beside && !said.empty()) {
        add(line, space);
        add(line, said);
    }
    if (loop) {
        std::size_t const end = line.size() - 1 - (beside && !said.empty() ? 1 + said.size() : 0);
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
    Layout const layout{std::max(width, least_width) - gutter.size(),
                        scene.changed.which == Scene::Link::header_next};
    // The label of each element, the first one given.
    // The words of each element out of the walk, one after the other, for
    // its one arrow; an element of the walk has an arrow for each.
    // Its cursors first, then its states.
    std::vector<std::string> labels(scene.elements.size());
    for (bool const states : {false, true}) {
        for (const Scene::Label& label : scene.labels) {
            if (label.state == states && label.element >= 0 &&
                static_cast<std::size_t>(label.element) >= scene.walked) {
                std::string& words = labels[static_cast<std::size_t>(label.element)];
                words.append(words.empty() ? "" : states ? " " : ",").append(shown(label));
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
        arrows.push_back({at, 0, word(labels[i], 4 * label_room), &element, changed});
        stood.push_back(gap);
    }
    for (const Scene::Label& label : scene.labels) {
        if (label.element >= 0 && static_cast<std::size_t>(label.element) < scene.walked) {
            arrows.push_back(
                {static_cast<std::size_t>(label.element), 0, word(shown(label), room_of(label))});
            stood.push_back(SIZE_MAX);
        }
    }

    std::vector<Cells> lines;
    bool const head_changed = scene.changed.which == Scene::Link::head;
    if (!scene.header) {
        lines.push_back(joined(head_changed ? no_header_changed : no_header));
    } else {
        lines.push_back(joined(head_changed ? header_changed : header));
        for (const Scene::Label& label : scene.labels) { // words on the header node, as fit
            if (label.element != Scene::header_node) {
                continue;
            }
            Cells const said = word(shown(label), room_of(label));
            if (lines.back().size() + 6 + said.size() > layout.width) {
                break;
            }
            add(lines.back(), "  <-- ");
            add(lines.back(), said);
        }
        if (scene.walked == 0) {
            std::string_view const line = layout.header_changed ? "#" : "|";
            put(lines.emplace_back(), header_arrow, line);
            put(lines.emplace_back(), header_arrow, "v");
            lines.push_back(joined(scene.first == Scene::null ? emptied : first_elsewhere));
        } else {
            draw_walk(lines, scene, arrows, stood, layout);
        }
    }
    for (std::size_t const i : below) {
        draw_apart(lines, scene, i, labels[i], layout);
    }
    // The cursors into memory already released, each on a line of its own.
    bool first_dangling = true;
    for (const Scene::Label& label : scene.labels) {
        if (label.element != Scene::freed) {
            continue;
        }
        if (std::exchange(first_dangling, false)) {
            lines.emplace_back();
        }
        Cells& line =
            lines.emplace_back(joined("    ", word(shown(label), room_of(label)), dangles));
        if (line.size() + cells(dangling).size() <= layout.width) {
            add(line, dangling);
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

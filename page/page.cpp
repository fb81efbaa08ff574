// SPDX-License-Identifier: MIT
#include "page.h"

#include "text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <numbers>
#include <ostream>
#include <utility>

// The page's style and script, taken in from page.css and page.js.
extern const std::string_view page_style;
extern const std::string_view page_script;

namespace {

// The pieces one after the other.
template <typename... Pieces>
void append(std::string& out, const Pieces&... pieces) {
    (out.append(pieces), ...);
}

std::string decimal(long long value) {
    char digits[24];
    return {digits, std::to_chars(digits, digits + sizeof digits, value).ptr};
}

// How a text is marked where the page shows a character that a reader could
// not see for what it is: as plain text (a title), in HTML, or in SVG.
enum class Markup { plain, html, svg };

// The code point as the page names it: "U+" and at least four hex digits.
std::string code_point(char32_t point) {
    char digits[16];
    auto const end = std::to_chars(digits, digits + sizeof digits, std::uint32_t{point}, 16).ptr;
    std::string out = "U+";
    out.append(std::size_t(std::max<std::ptrdiff_t>(0, 4 - (end - digits))), '0');
    for (char const* d = digits; d != end; ++d) {
        out += char(*d >= 'a' ? *d - 'a' + 'A' : *d);
    }
    return out;
}

// Calls `put(piece, shown)` with each character of `text` as the page shows
// it, and the characters that a reader sees for it: a UTF-8 character as it
// is, markup as a character reference, a control byte as its picture, a
// byte that begins no UTF-8 character as U+FFFD, and what the terminal
// escapes (text.h's hidden(): the direction marks and overrides, the other
// format characters, every space but the ASCII one) named by its code point
// ("‹U+202E›"), marked apart from the text around it. With `lines`, a
// newline and a tab stay what they are.
template <typename Put>
void for_each_character(std::string_view text, Markup markup, bool lines, Put put) {
    std::size_t at = 0;
    while (at < text.size()) {
        auto const byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80) {
            ++at;
            switch (byte) {
            case '<':
                put("&lt;", 1);
                continue;
            case '>':
                put("&gt;", 1);
                continue;
            case '&':
                put("&amp;", 1);
                continue;
            case '"':
                put("&quot;", 1);
                continue;
            case '\'':
                put("&#39;", 1);
                continue;
            default:
                break;
            }
            if ((byte == '\n' || byte == '\t') && lines) {
                put(std::string_view(&text[at - 1], 1), 1);
            } else if (byte < 0x20 || byte == 0x7f) { // U+2400 + byte, U+2421
                char const picture[] = {'\xe2', '\x90', char(byte == 0x7f ? 0xa1 : 0x80 + byte)};
                put(std::string_view(picture, 3), 1);
            } else {
                put(std::string_view(&text[at - 1], 1), 1);
            }
            continue;
        }
        Decoded const character = decode(text.substr(at));
        if (character.length == 0) {
            put("\xef\xbf\xbd", 1);
            ++at;
            continue;
        }
        if (hidden(character.point)) {
            std::string const name = "\u2039" + code_point(character.point) + "\u203a";
            std::size_t const shown = 2 + code_point(character.point).size();
            switch (markup) {
            case Markup::plain:
                put(name, shown);
                break;
            case Markup::html:
                put("<span class=\"escape\">" + name + "</span>", shown);
                break;
            case Markup::svg:
                put("<tspan class=\"escape\">" + name + "</tspan>", shown);
                break;
            }
        } else {
            put(text.substr(at, character.length), 1);
        }
        at += character.length;
    }
}

// At most `room` characters of `text` as SVG text, the last of them "…"
// where the text goes on: past `room`, or where `cut` says so. A character
// named by its code point counts as the characters that name it, and stays
// whole.
std::string svg_text(std::string_view text, std::size_t room, bool cut = false) {
    // room + 1 characters take at most this many bytes: enough to tell
    // whether there are more than `room`.
    std::string_view const head = text.substr(0, 4 * (room + 1));
    std::string out, last;
    std::size_t count = 0;
    bool more = false;
    for_each_character(head, Markup::svg, false, [&](std::string_view piece, std::size_t shown) {
        if (more) {
            return;
        }
        if (count + shown < room) {
            out += piece;
            count += shown;
        } else if (count + shown == room && last.empty()) {
            last = piece;
            count += shown;
        } else {
            more = true;
        }
    });
    if (more || (cut && count == room)) {
        return out += "\xe2\x80\xa6";
    }
    return out += last + (cut ? "\xe2\x80\xa6" : "");
}

// How many characters a text of the page shows (a character reference is
// one, markup none).
std::size_t characters(std::string_view text) {
    std::size_t count = 0;
    bool reference = false, tag = false;
    for (char const c : text) {
        if (reference) {
            reference = c != ';';
            continue;
        }
        if (tag) {
            tag = c != '>';
            continue;
        }
        reference = c == '&';
        tag = c == '<';
        count += !tag && (static_cast<unsigned char>(c) & 0xc0) != 0x80;
    }
    return count;
}

// How many columns a text of the page takes, about: a wide character (the
// East Asian scripts, most emoji) two, any other one.
int width_of(std::string_view text) {
    constexpr std::pair<char32_t, char32_t> wide[] = {
        {0x1100, 0x115f},   {0x2e80, 0xa4cf},  {0xac00, 0xd7a3}, {0xf900, 0xfaff},
        {0xfe30, 0xfe4f},   {0xff00, 0xff60},  {0xffe0, 0xffe6}, {0x1f300, 0x1f64f},
        {0x1f900, 0x1f9ff}, {0x20000, 0x3fffd}};
    int count = 0;
    bool reference = false, tag = false;
    while (!text.empty()) {
        char const c = text.front();
        if (reference || tag) {
            reference = reference && c != ';';
            tag = tag && c != '>';
            text.remove_prefix(1);
            continue;
        }
        if (c == '&' || c == '<') { // a character reference is one, markup none
            count += c == '&';
            reference = c == '&';
            tag = c == '<';
            text.remove_prefix(1);
            continue;
        }
        Decoded const d = decode(text);
        std::size_t const length = d.length == 0 ? 1 : d.length;
        bool const two = std::any_of(std::begin(wide), std::end(wide), [&](const auto& r) {
            return d.point >= r.first && d.point <= r.second;
        });
        count += two ? 2 : 1;
        text.remove_prefix(length);
    }
    return count;
}

// An SVG element: a tag, attributes and their values, written as it goes.
class Svg {
public:
    std::string out;

    Svg& open(std::string_view tag, std::string_view cls = {}) {
        append(out, "<", tag);
        if (!cls.empty()) {
            append(out, " class=\"", cls, "\"");
        }
        return *this;
    }
    Svg& at(std::string_view name, long long value) {
        append(out, " ", name, "=\"", decimal(value), "\"");
        return *this;
    }
    Svg& at(std::string_view name, std::string_view value) {
        append(out, " ", name, "=\"", value, "\"");
        return *this;
    }
    void close() { out += "/>\n"; }
    void text(std::string_view content) { append(out, ">", content, "</text>\n"); }

    void line(std::string_view cls, int x1, int y1, int x2, int y2) {
        open("line", cls).at("x1", x1).at("y1", y1).at("x2", x2).at("y2", y2).close();
    }
    void rect(std::string_view cls, int x, int y, int width, int height) {
        open("rect", cls).at("x", x).at("y", y).at("width", width).at("height", height).close();
    }
    void label(std::string_view cls, int x, int y, std::string_view content) {
        open("text", cls).at("x", x).at("y", y).text(content);
    }
};

struct Point {
    int x, y;
};

// A path through `points` with rounded corners.
std::string rounded(std::initializer_list<Point> points) {
    constexpr int radius = 12;
    std::string d;
    Point const* p = points.begin();
    append(d, "M", decimal(p->x), " ", decimal(p->y));
    for (++p; p != points.end(); ++p) {
        if (p + 1 == points.end()) {
            append(d, " L", decimal(p->x), " ", decimal(p->y));
            break;
        }
        // Stops short of the corner, then turns through it: by no more than
        // half of either leg, so that a short leg keeps its direction.
        auto toward = [](Point from, Point to, int by) {
            int const dx = to.x > from.x ? by : to.x < from.x ? -by : 0;
            int const dy = to.y > from.y ? by : to.y < from.y ? -by : 0;
            return Point{from.x + dx, from.y + dy};
        };
        auto const leg = [](Point a, Point b) { return std::abs(a.x - b.x) + std::abs(a.y - b.y); };
        int const by = std::min({radius, leg(p[-1], *p) / 2, leg(*p, p[1]) / 2});
        Point const before = toward(*p, p[-1], by);
        Point const after = toward(*p, p[1], by);
        append(d, " L", decimal(before.x), " ", decimal(before.y), " Q", decimal(p->x), " ",
               decimal(p->y), " ", decimal(after.x), " ", decimal(after.y));
    }
    return d;
}

// The picture of a list. Elements stand in rows of `per_row`, each at its
// place: in walk order, or where the step before put it. Below each, the
// words that point at it, stacked. A `next` runs straight to the box beside
// it, or along the gaps between boxes: right of its own column, down to the
// gap under its row, along it, and up or down the gap left of the box that
// it names, never through a box.
namespace list {
constexpr int per_row = 4;
constexpr int key_width = 56, info_width = 116, next_width = 24;
constexpr int box_width = key_width + info_width + next_width, box_height = 44;
constexpr int pitch = box_width + 48;
constexpr int left = 84;     // where the first column begins
constexpr int header_y = 20; // the header node
constexpr int header_width = 124;
constexpr int rows_y = 118;    // the first row
constexpr int label_step = 20; // between two lines of labels
constexpr int label_lines = 3; // the lines of labels that a row has room for, at least
constexpr int gap = 34;        // under the labels, where links run along a row
constexpr std::size_t info_room = 12, label_room = 18;
// About how wide a character of a label is, in the picture's units.
constexpr int label_char = 11;

struct Layout {
    const Scene& scene;
    std::vector<int> place;
    // The labels of each element, as lines: a word each, or several to a
    // line when an element has more words than a row has lines for.
    std::vector<std::vector<std::string>> labels;
    int lines = label_lines;
    int row_pitch = 0;
    int walked = 0;
    int rows = 1;

    Layout(const Scene& s, std::span<const int> places) : scene(s) {
        int const count = int(s.elements.size());
        walked = int(std::min(s.walked, s.elements.size()));
        if (places.size() == s.elements.size()) {
            place.assign(places.begin(), places.end());
        } else {
            place.resize(s.elements.size());
            for (int i = 0; i < count; ++i) {
                place[std::size_t(i)] = i;
            }
        }
        int most = 0;
        for (int const p : place) {
            most = std::max(most, p);
        }
        rows = count == 0 ? 1 : most / per_row + 1;
        std::vector<std::vector<std::string>> words(s.elements.size());
        for (const Scene::Label& label : s.labels) {
            if (valid(label.element)) {
                words[std::size_t(label.element)].push_back(svg_text(label.word, label_room));
            }
        }
        labels.resize(s.elements.size());
        for (std::size_t i = 0; i < words.size(); ++i) {
            std::vector<std::string>& out = labels[i];
            if (words[i].size() <= std::size_t(label_lines)) {
                out = std::move(words[i]);
            } else {
                // As many to a line as the box is wide.
                std::size_t width = 0;
                for (std::string& word : words[i]) {
                    std::size_t const w = characters(word);
                    if (out.empty() || (width + 2 + w) * label_char > std::size_t(box_width)) {
                        out.push_back(std::move(word));
                        width = w;
                    } else {
                        out.back().append(", ").append(word);
                        width += 2 + w;
                    }
                }
            }
            lines = std::max(lines, int(out.size()));
        }
        row_pitch = box_height + 12 + lines * label_step + gap;
    }
    bool in_walk(int i) const { return i >= 0 && i < walked; }
    bool valid(int i) const { return i >= 0 && i < int(scene.elements.size()); }
    Point box(int i) const {
        int const p = place[std::size_t(i)];
        return {left + (p % per_row) * pitch, rows_y + (p / per_row) * row_pitch};
    }
    Point next_cell(int i) const {
        Point const b = box(i);
        return {b.x + box_width - next_width / 2, b.y + box_height / 2};
    }
    // Where links run under the row of a box at `y`.
    int gap_y(int y) const { return y + row_pitch - gap + 6; }
    int columns() const {
        int most = 0;
        for (int const p : place) {
            most = std::max(most, p);
        }
        return std::min(most + 1, per_row);
    }
    int height() const {
        return scene.elements.empty() ? rows_y - 20 : rows_y + rows * row_pitch + 4;
    }
};

const char* changed_class(bool changed, const char* plain, const char* marked) {
    return changed ? marked : plain;
}

// The arrow of element i's `next`.
void draw_next(Svg& svg, const Layout& layout, int i) {
    const Scene& scene = layout.scene;
    int const to = scene.elements[std::size_t(i)].next;
    bool const changed =
        scene.changed.which == Scene::Link::element_next && scene.changed.element == i;
    std::string cls = changed_class(changed, "next", "next changed");
    Point const from = layout.next_cell(i);
    Point const b = layout.box(i);
    if (to == Scene::null || !layout.valid(to)) {
        // A slash across the cell, and what it holds.
        svg.line(cls + " null", b.x + box_width - next_width + 3, b.y + box_height - 3,
                 b.x + box_width - 3, b.y + 3);
        // Over the box, ending at its right edge: inside the picture.
        svg.open("text", "note").at("x", b.x + box_width).at("y", b.y - 6).at("text-anchor", "end");
        svg.text(to == Scene::null ? "nulo" : "fora da lista");
        return;
    }
    Point const t = layout.box(to);
    int const lane = i % 3 * 7;
    std::string d;
    if (to == i) { // linked to itself: a loop over its box
        d = rounded({from,
                     {b.x + box_width + 14, from.y},
                     {b.x + box_width + 14, b.y - 14},
                     {b.x + box_width - next_width - 20, b.y - 14},
                     {b.x + box_width - next_width - 20, b.y - 2}});
    } else if (t.y == b.y && t.x == b.x + pitch) { // the box beside it
        d = rounded({from, {t.x - 2, t.y + box_height / 2}});
    } else {
        int const right = b.x + box_width + 10 + lane;
        int const under = layout.gap_y(b.y) + lane;
        int const into = t.x - 12 - lane;
        cls += t.y > b.y || (t.y == b.y && t.x > b.x) ? " along" : " back";
        d = rounded({from,
                     {right, from.y},
                     {right, under},
                     {into, under},
                     {into, t.y + box_height / 2},
                     {t.x - 2, t.y + box_height / 2}});
    }
    svg.open("path", cls).at("d", d).at("data-from", i).at("data-to", to).close();
}

void draw_box(Svg& svg, const Layout& layout, int i) {
    const Scene::Element& e = layout.scene.elements[std::size_t(i)];
    Point const b = layout.box(i);
    svg.open("g", layout.in_walk(i) ? "node" : "node outside").at("data-i", i);
    svg.out += ">";
    svg.rect("box", b.x, b.y, box_width, box_height);
    svg.line("cell", b.x + key_width, b.y, b.x + key_width, b.y + box_height);
    svg.line("cell", b.x + key_width + info_width, b.y, b.x + key_width + info_width,
             b.y + box_height);
    svg.open("circle", "dot")
        .at("cx", layout.next_cell(i).x)
        .at("cy", layout.next_cell(i).y)
        .at("r", 4)
        .close();
    // A long key or text is pressed into its cell.
    std::string const key = decimal(e.key);
    svg.open("text", key.size() > 4 ? "key long" : "key")
        .at("x", b.x + key_width / 2)
        .at("y", b.y + 28);
    if (key.size() > 5) {
        svg.at("textLength", key_width - 6).at("lengthAdjust", "spacingAndGlyphs");
    }
    svg.text(key);
    std::string const info = svg_text(e.info, info_room, e.cut);
    svg.open("text", "info").at("x", b.x + key_width + info_width / 2).at("y", b.y + 28);
    if (characters(info) > 10) {
        svg.at("textLength", info_width - 8).at("lengthAdjust", "spacingAndGlyphs");
    }
    svg.text(info);
    svg.out += "</g>\n";
}

// The words that point at no element of the scene, on one line at the top.
// Returns: where they end.
int draw_loose_labels(Svg& svg, const Layout& layout, int x) {
    std::string loose;
    for (const Scene::Label& label : layout.scene.labels) {
        if (!layout.valid(label.element)) {
            append(loose, loose.empty() ? "" : "   ", svg_text(label.word, label_room),
                   label.element == Scene::null ? " = nulo" : " = fora da lista");
        }
    }
    if (loose.empty()) {
        return x;
    }
    svg.open("text", "label loose").at("x", x).at("y", header_y + 28);
    svg.text(loose);
    return x + int(characters(loose)) * label_char;
}

void draw_labels(Svg& svg, const Layout& layout) {
    for (int i = 0; i < int(layout.labels.size()); ++i) {
        const std::vector<std::string>& lines = layout.labels[std::size_t(i)];
        if (lines.empty()) {
            continue;
        }
        Point const b = layout.box(i);
        int const top = b.y + box_height + 12 + label_step - 4;
        svg.open("path", "pointer")
            .at("d", rounded({{b.x + 40, top - 15}, {b.x + 40, b.y + box_height + 3}}))
            .close();
        for (std::size_t n = 0; n < lines.size(); ++n) {
            svg.open("text", "label")
                .at("x", b.x + 28)
                .at("y", top + int(n) * label_step)
                .at("data-on", i);
            svg.text(lines[n]);
        }
    }
}
} // namespace list

// The picture of the ring: the soldiers on a circle in roster order from the
// top, clockwise, each with its number in the first roster; the removed ones
// taken a step out of it, their names followed by the order in which they
// left ("Carla (2º)"); an arrow from the middle to the soldier at which the
// count stands.
namespace ring {
constexpr std::size_t most_named = 64; // past that, soldiers are dots
constexpr std::size_t most_level = 12; // past that, names go along the radius
constexpr std::size_t name_room = 16;  // characters of a name along the radius
constexpr std::size_t level_room = 20; // and of a level one
constexpr int name_char = 25;          // twice the width of a character of a name
} // namespace ring

std::string svg_open(int x, int y, int width, int height, std::string_view cls,
                     std::string_view what) {
    std::string out;
    append(out, "<svg class=\"", cls, "\" viewBox=\"", decimal(x), " ", decimal(y), " ",
           decimal(width), " ", decimal(height), "\" width=\"", decimal(width), "\" height=\"",
           decimal(height), "\" style=\"--width: ", decimal(width), "; --height: ", decimal(height),
           "\" role=\"img\" aria-label=\"", what, "\">\n");
    return out;
}

} // namespace

std::string html_text(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for_each_character(text, Markup::html, true,
                       [&out](std::string_view piece, std::size_t) { out += piece; });
    return out;
}

static std::string title_text(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for_each_character(text, Markup::plain, false,
                       [&out](std::string_view piece, std::size_t) { out += piece; });
    return out;
}

std::string picture(const Scene& scene, std::span<const int> places) {
    using namespace list;
    Layout const layout(scene, places);
    int const count = int(scene.elements.size());
    int width = left + std::max(layout.columns(), 1) * pitch;
    Svg svg;

    // head, and the header node with its `next`.
    bool const head_changed = scene.changed.which == Scene::Link::head;
    svg.label("name", 8, header_y + 28, "head");
    int words_end = left + header_width + 14; // where the words right of the header end
    if (!scene.header) {
        svg.open("path", changed_class(head_changed, "next", "next changed"))
            .at("d", rounded({{60, header_y + 22}, {left - 2, header_y + 22}}))
            .at("data-from", "head")
            .close();
        std::string_view const state = "nulo (lista sem nó cabeça)";
        svg.label("state", left + 4, header_y + 28, state);
        words_end = left + 4 + int(characters(state)) * 10;
    } else {
        bool const first_changed = scene.changed.which == Scene::Link::header_next;
        svg.open("path", changed_class(head_changed, "next", "next changed"))
            .at("d", rounded({{60, header_y + 22}, {left - 2, header_y + 22}}))
            .at("data-from", "head")
            .at("data-to", "header")
            .close();
        svg.out += "<g class=\"header\">";
        svg.rect("box", left, header_y, header_width, box_height);
        svg.line("cell", left + header_width - next_width, header_y,
                 left + header_width - next_width, header_y + box_height);
        svg.label("title", left + (header_width - next_width) / 2, header_y + 28, "nó cabeça");
        Point const cell{left + header_width - next_width / 2, header_y + box_height / 2};
        svg.open("circle", "dot").at("cx", cell.x).at("cy", cell.y).at("r", 4).close();
        svg.out += "</g>\n";
        std::string cls = changed_class(first_changed, "next", "next changed");
        if (layout.valid(scene.first)) {
            Point const t = layout.box(scene.first);
            int const down = rows_y - 14;
            std::string const d = t.x == left && t.y == rows_y
                                      ? rounded({cell, {cell.x, t.y - 2}})
                                      : rounded({cell,
                                                 {cell.x, down},
                                                 {t.x - 12, down},
                                                 {t.x - 12, t.y + box_height / 2},
                                                 {t.x - 2, t.y + box_height / 2}});
            svg.open("path", cls)
                .at("d", d)
                .at("data-from", "header")
                .at("data-to", scene.first)
                .close();
        } else {
            svg.line(cls + " null", cell.x - 9, header_y + box_height - 3, cell.x + 9,
                     header_y + 3);
            std::string_view const state =
                scene.first == Scene::null ? "nulo (lista esvaziada)" : "fora da lista";
            svg.label("state", words_end, header_y + 28, state);
            words_end += int(characters(state)) * 10 + 24;
        }
    }
    words_end = draw_loose_labels(svg, layout, words_end);
    width = std::max(width, words_end + 8);
    for (int i = 0; i < count; ++i) {
        draw_box(svg, layout, i);
    }
    for (int i = 0; i < count; ++i) {
        draw_next(svg, layout, i);
    }
    draw_labels(svg, layout);
    svg.out += "</svg>";
    return svg_open(0, 0, width, layout.height(), "list", "desenho da lista") + svg.out;
}

std::string picture(const Ring& r) {
    using namespace ring;
    int const m = int(r.names.size());
    bool const named = r.names.size() <= most_named;
    double const spacing = named ? 46 : 12;
    int const radius = std::max(150, int(std::lround(m * spacing / (2 * std::numbers::pi))));
    int const dot = named ? 16 : 4;
    int const out = named ? 40 : 14; // how far a removed soldier is taken out
    std::size_t const room = r.names.size() <= most_level ? level_room : name_room;
    // Room around the ring for the longest name shown, with the order in
    // which it may leave (" (12º)"): across from the ring at its sides and,
    // for names along the radius, above and below it too.
    int longest = 0;
    if (named) {
        int const suffix = int(decimal(m).size()) + 4;
        for (const std::string& name : r.names) {
            longest = std::max(longest, (width_of(svg_text(name, room)) + suffix) * name_char / 2);
        }
    }
    int const around = radius + out + dot + 8;
    int const half_width = around + longest + 8;
    int const half_height =
        r.names.size() <= most_level ? around + 46 : std::max(around + 46, half_width);

    std::vector<int> order(r.names.size()); // 1 + the order of each removal, or 0
    for (std::size_t k = 0; k < r.removed.size(); ++k) {
        if (r.removed[k] >= 0 && r.removed[k] < m) {
            order[std::size_t(r.removed[k])] = int(k) + 1;
        }
    }
    int const just = r.removing && !r.removed.empty() ? r.removed.back() : Ring::none;
    auto where = [&](int i, int at) {
        double const angle = 2 * std::numbers::pi * i / std::max(m, 1) - std::numbers::pi / 2;
        return Point{int(std::lround(at * std::cos(angle))),
                     int(std::lround(at * std::sin(angle)))};
    };

    Svg svg;
    svg.open("circle", "track").at("cx", 0).at("cy", 0).at("r", radius).close();
    for (int i = 0; i < m; ++i) {
        int const k = order[std::size_t(i)];
        std::string cls = k != 0 ? "soldier removed" : "soldier";
        if (i == just) {
            cls += " removing";
        }
        if (i == r.winner) {
            cls += " winner";
        }
        if (i == r.count) {
            cls += " counting";
        }
        Point const p = where(i, k != 0 ? radius + out : radius);
        if (!named) { // a dot, and nothing else
            svg.open("circle", cls).at("cx", p.x).at("cy", p.y).at("r", dot).close();
            continue;
        }
        svg.open("g", cls).at("data-place", i + 1);
        svg.out += ">";
        if (k != 0) {
            Point const spot = where(i, radius);
            svg.line("gap", spot.x, spot.y, p.x, p.y);
        }
        svg.open("circle").at("cx", p.x).at("cy", p.y).at("r", dot).close();
        svg.label("number", p.x, p.y + 5, decimal(i + 1));
        Point const n = where(i, (k != 0 ? radius + out : radius) + dot + 8);
        svg.open("text", "name");
        if (r.names.size() <= most_level) { // level, beside the soldier
            bool const middle = std::abs(n.x) < 12;
            svg.at("x", n.x)
                .at("y", middle ? (n.y < 0 ? -around - 8 : around + 30) : n.y + 7)
                .at("text-anchor", middle    ? "middle"
                                   : n.x > 0 ? "start"
                                             : "end");
        } else { // along the radius, away from the middle
            double const degrees = 360.0 * i / m - 90;
            bool const right = degrees < 90;
            svg.at("x", n.x)
                .at("y", n.y + 6)
                .at("text-anchor", right ? "start" : "end")
                .at("transform", "rotate(" + decimal(std::lround(right ? degrees : degrees - 180)) +
                                     " " + decimal(n.x) + " " + decimal(n.y) + ")");
        }
        // A removed soldier keeps its number, and says when it left.
        svg.text(svg_text(r.names[std::size_t(i)], room) +
                 (k != 0 ? " (" + decimal(k) + "\u00ba)" : std::string()));
        svg.out += "</g>\n";
    }
    if (r.count >= 0 && r.count < m && r.winner == Ring::none) {
        Point const p = where(r.count, radius - dot - 8);
        svg.open("path", "count").at("d", rounded({{0, 0}, p})).close();
    }
    // The words in the middle, as large for a large ring as for a small one.
    int const scale = std::max(100, radius * 100 / 300);
    svg.open("g").at("transform", "scale(" + decimal(scale / 100) + "." +
                                      (scale % 100 < 10 ? "0" : "") + decimal(scale % 100) + ")");
    svg.out += ">\n";
    if (r.count >= 0 && r.count < m && r.winner == Ring::none) {
        svg.label("count-label", 0, 28, "contagem");
    }
    int const left_standing = m - int(r.removed.size());
    svg.label("state", 0, -10, "restam " + decimal(left_standing) + " de " + decimal(m));
    // Who left, or who won, the word over the name: both fit inside the ring.
    constexpr std::size_t middle_room = 14;
    if (just >= 0 && just < m && r.winner == Ring::none) {
        svg.label("state removing-name", 0, 58, "removido:");
        svg.label("state removing-name", 0, 84, svg_text(r.names[std::size_t(just)], middle_room));
    }
    if (r.winner >= 0 && r.winner < m) {
        svg.label("state winner-name", 0, 58, "vencedor:");
        svg.label("state winner-name", 0, 84,
                  svg_text(r.names[std::size_t(r.winner)], middle_room));
    }
    svg.out += "</g>\n</svg>";
    return svg_open(-half_width, -half_height, 2 * half_width, 2 * half_height, "ring",
                    "desenho dos soldados") +
           svg.out;
}

Page::Page(std::ostream& out, std::string_view title) : out_(out) {
    std::string const t = html_text(title);
    append(buffer_, "<!DOCTYPE html>\n<html lang=\"pt-BR\">\n<head>\n<meta charset=\"utf-8\">\n",
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n", "<title>",
           title_text(title), "</title>\n<style>\n", page_style, "</style>\n</head>\n<body>\n",
           "<header class=\"bar\">\n<h1>", t, "</h1>\n", R"html(<nav aria-label="passos">
<button type="button" id="first" title="primeiro passo (Home)">&#x2190;&#x2190; início</button>
<button type="button" id="back" title="passo anterior (&#x2190;); PageUp: operação anterior">&#x2190; anterior</button>
<span id="counter" aria-live="polite"></span>
<button type="button" id="forward" title="próximo passo (&#x2192;); PageDown: próxima operação">próximo &#x2192;</button>
<button type="button" id="last" title="último passo (End)">fim &#x2192;&#x2192;</button>
<button type="button" id="predict" aria-pressed="false" title="esconde o desenho seguinte até ser revelado (P)">prever</button>
<button type="button" id="reveal" title="mostra o desenho escondido (R)">revelar</button>
</nav>
</header>
<svg class="defs" aria-hidden="true" width="0" height="0"><defs>
<marker id="arrow" viewBox="0 0 10 10" refX="9" refY="5" markerWidth="7" markerHeight="7" orient="auto-start-reverse"><path d="M0 0 L10 5 L0 10 z"/></marker>
<marker id="arrow-changed" viewBox="0 0 10 10" refX="9" refY="5" markerWidth="5" markerHeight="5" orient="auto-start-reverse"><path d="M0 0 L10 5 L0 10 z"/></marker>
<marker id="arrow-count" viewBox="0 0 10 10" refX="9" refY="5" markerWidth="5" markerHeight="5" orient="auto-start-reverse"><path d="M0 0 L10 5 L0 10 z"/></marker>
</defs></svg>
<main>
<p id="hidden-note" hidden>O que vai acontecer neste passo? Revele com R ou com o botão revelar.</p>
)html");
    write_buffer();
}

std::vector<int> Page::places(const Scene& scene, bool begins) {
    std::size_t const count = scene.elements.size();
    std::vector<int> place(count, -1);
    // Past a few rows, the elements stand in walk order: a long list is not
    // followed element by element.
    constexpr std::size_t most_followed = 64;
    if (begins || count > most_followed) {
        placed_.clear();
    }
    std::vector<bool> taken(placed_.size());
    auto const same = [&](std::size_t i, const Placed& p) {
        const Scene::Element& e = scene.elements[i];
        return e.key == p.key && e.cut == p.cut && e.info == p.info;
    };
    for (std::size_t i = 0; i < count && !placed_.empty(); ++i) {
        // The element of the step before with its key and text, the one
        // whose `next` names the same key and text where there are several.
        int const next = scene.elements[i].next;
        int best = -1, best_score = -1;
        for (std::size_t j = 0; j < placed_.size(); ++j) {
            if (taken[j] || !same(i, placed_[j])) {
                continue;
            }
            int score = 0;
            if (next >= 0 && std::size_t(next) < count && placed_[j].next >= 0 &&
                same(std::size_t(next), placed_[std::size_t(placed_[j].next)])) {
                score = 1;
            }
            if (score > best_score) {
                best = int(j);
                best_score = score;
            }
        }
        if (best >= 0) {
            taken[std::size_t(best)] = true;
            place[i] = placed_[std::size_t(best)].place;
        }
    }
    // The others at the first places free, in walk order.
    std::vector<bool> used;
    for (int const p : place) {
        if (p >= 0) {
            used.resize(std::max(used.size(), std::size_t(p) + 1));
            used[std::size_t(p)] = true;
        }
    }
    std::size_t free = 0;
    for (int& p : place) {
        if (p < 0) {
            while (free < used.size() && used[free]) {
                ++free;
            }
            p = int(free++);
        }
    }
    placed_.clear();
    if (count <= most_followed) {
        for (std::size_t i = 0; i < count; ++i) {
            const Scene::Element& e = scene.elements[i];
            int const next = e.next >= 0 && std::size_t(e.next) < count ? e.next : -1;
            placed_.push_back({e.key, e.info, e.cut, next, place[i]});
        }
    }
    return place;
}

void Page::step(const PageStep& step, const Scene& scene) {
    if (finished_) {
        return;
    }
    std::size_t const count = scene.elements.size();
    if (count > most_drawn || picture_bytes_ > picture_budget) {
        placed_.clear();
        write_step(step, {}, count, "elementos");
        return;
    }
    std::vector<int> const place = places(scene, step.begins);
    write_step(step, picture(scene, place), count, {});
}

void Page::step(const PageStep& step, const Ring& ring) {
    if (finished_) {
        return;
    }
    std::size_t const count = ring.names.size();
    if (count > most_drawn || picture_bytes_ > picture_budget) {
        write_step(step, {}, count, "soldados");
        return;
    }
    write_step(step, picture(ring), count, {});
}

// What a page keeps of its bound for its last step and its end.
constexpr std::size_t kept_for_the_end = std::size_t{64} << 10;

void Page::write_step(const PageStep& step, std::string_view picture, std::size_t drawn,
                      std::string_view what, bool whatever_its_size) {
    if (full_ && !whatever_its_size) {
        return;
    }
    std::string const n = decimal(static_cast<long long>(steps_ + 1));
    std::size_t const operation = operations_ + (step.begins || operations_ == 0 ? 1 : 0);
    buffer_.clear();
    append(buffer_, "<section class=\"step\" id=\"passo=", n, "\" data-op=\"",
           decimal(static_cast<long long>(operation)), "\">\n<h2><span class=\"number\">", n,
           "</span> ", html_text(step.heading));
    if (!step.progress.empty()) {
        append(buffer_, "<span class=\"progress\">", html_text(step.progress), "</span>");
    }
    append(buffer_, html_text(step.rest), "</h2>\n<div class=\"body\">\n<figure>");
    if (!picture.empty()) {
        buffer_ += picture;
    } else if (drawn == 0) {
        // No picture: a step that says where the page ends.
    } else if (drawn > most_drawn) {
        append(buffer_, "<p class=\"cut\">Sem desenho: ", decimal(static_cast<long long>(drawn)),
               " ", what, " passam do limite de ", decimal(most_drawn),
               " que a página desenha.</p>");
    } else {
        append(buffer_,
               "<p class=\"cut\">Sem desenho: os desenhos desta página chegaram ao limite ", "de ",
               decimal(picture_budget >> 20), " MiB.</p>");
    }
    buffer_ += "</figure>\n<div class=\"side\">\n";
    if (!step.code.empty()) {
        buffer_ += "<ol class=\"code\" aria-label=\"código da operação\">\n";
        for (std::size_t i = 0; i < step.code.size(); ++i) {
            append(buffer_, i + 1 == step.line ? "<li aria-current=\"step\">" : "<li>",
                   html_text(step.code[i]), "</li>\n");
        }
        buffer_ += "</ol>\n";
    }
    // A newline right after <pre> is not part of its text: an empty first
    // line needs it.
    buffer_ += "<pre class=\"lines\">\n";
    for (std::size_t i = 0; i < step.lines.size(); ++i) {
        append(buffer_, i == 0 ? "" : "\n", html_text(step.lines[i]));
    }
    buffer_ += "</pre>\n</div>\n</div>\n</section>\n";
    if (!whatever_its_size && written_ + buffer_.size() + kept_for_the_end > most_bytes) {
        full_ = true;
        return;
    }
    ++steps_;
    operations_ = operation;
    if (!picture.empty()) {
        picture_bytes_ += picture.size();
    }
    write_buffer();
}

void Page::write_buffer() {
    written_ += buffer_.size();
    out_.write(buffer_.data(), std::streamsize(buffer_.size()));
    out_.flush();
}

void Page::cut(std::string_view heading, std::string_view line) {
    if (finished_) {
        return;
    }
    constexpr std::size_t most = 4096;
    std::string const said(line.substr(0, most));
    write_step(PageStep{heading.substr(0, most), {}, {}, std::span(&said, 1)}, {}, 0, {}, true);
}

void Page::finish() {
    if (finished_) {
        return;
    }
    finished_ = true;
    buffer_.clear();
    append(buffer_, steps_ == 0 ? "<p class=\"empty\">Nenhum passo.</p>\n" : "",
           "</main>\n<script>\n", page_script, "</script>\n</body>\n</html>\n");
    write_buffer();
}

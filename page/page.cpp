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
        // Stops short of the corner, then turns through it.
        auto toward = [](Point from, Point to, int by) {
            int const dx = to.x > from.x ? by : to.x < from.x ? -by : 0;
            int const dy = to.y > from.y ? by : to.y < from.y ? -by : 0;
            return Point{from.x + dx, from.y + dy};
        };
        Point const before = toward(*p, p[-1], radius);
        Point const after = toward(*p, p[1], radius);
        append(d, " L", decimal(before.x), " ", decimal(before.y), " Q", decimal(p->x), " ",
               decimal(p->y), " ", decimal(after.x), " ", decimal(after.y));
    }
    return d;
}

// The picture of a list. Elements stand in rows of `per_row` in walk order;
// below each, the labels that point at it; below the rows, the elements
// outside the walk, one to a row.
namespace list {
constexpr int per_row = 4;
constexpr int key_width = 64, info_width = 112, next_width = 28;
constexpr int box_width = key_width + info_width + next_width, box_height = 44;
constexpr int pitch = box_width + 56;
constexpr int left = 84;       // where the first column begins
constexpr int wrap_x = 56;     // where a row's last `next` goes down to the next row
constexpr int back_x = 26;     // where the link back goes up to the first element
constexpr int header_y = 20;   // the header node
constexpr int rows_y = 118;    // the first row
constexpr int label_step = 20; // between two labels of one element
constexpr std::size_t info_room = 12, label_room = 14;

struct Layout {
    const Scene& scene;
    int labels = 1; // the most labels that one element has
    int row_pitch = 0;
    int walked = 0;
    int below = 0; // where the rows end, and the link back runs

    explicit Layout(const Scene& s) : scene(s) {
        std::vector<int> per(s.elements.size());
        for (const Scene::Label& label : s.labels) {
            if (label.element >= 0 && label.element < int(per.size())) {
                labels = std::max(labels, ++per[std::size_t(label.element)]);
            }
        }
        row_pitch = box_height + 18 + labels * label_step + 36;
        walked = int(std::min(s.walked, s.elements.size()));
        int const rows = (walked + per_row - 1) / per_row;
        below = rows_y + std::max(rows, 1) * row_pitch - 26;
    }
    bool in_walk(int i) const { return i >= 0 && i < walked; }
    bool valid(int i) const { return i >= 0 && i < int(scene.elements.size()); }
    Point box(int i) const {
        if (in_walk(i)) {
            return {left + (i % per_row) * pitch, rows_y + (i / per_row) * row_pitch};
        }
        // Below the rows, under the gap that it left, or at the left.
        int const stood = scene.elements[std::size_t(i)].stood;
        int const x = in_walk(stood) ? left + (stood % per_row) * pitch - pitch / 2 : left;
        return {std::max(x, left), below + 46 + (i - walked) * row_pitch};
    }
    Point next_cell(int i) const {
        Point const b = box(i);
        return {b.x + box_width - next_width / 2, b.y + box_height / 2};
    }
    int height() const {
        int const outside = int(scene.elements.size()) - walked;
        if (scene.elements.empty()) {
            return rows_y - 20; // the header alone
        }
        return outside == 0 ? below + 24 : below + 46 + outside * row_pitch - 36 + 10;
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
    std::string d;
    if (to == Scene::null || !layout.valid(to)) {
        // A slash across the cell, and what it holds.
        svg.line(cls + " null", b.x + box_width - next_width + 3, b.y + box_height - 3,
                 b.x + box_width - 3, b.y + 3);
        svg.label("note", b.x + box_width + 4, b.y - 4,
                  to == Scene::null ? "nulo" : "fora da lista");
        return;
    }
    Point const t = layout.box(to);
    bool const walk = layout.in_walk(i);
    if (to == i) { // linked to itself
        d = rounded({from,
                     {b.x + box_width + 16, from.y},
                     {b.x + box_width + 16, b.y - 16},
                     {b.x + box_width - next_width - 16, b.y - 16},
                     {b.x + box_width - next_width - 16, b.y - 2}});
    } else if (walk && to == i + 1 && t.y == b.y) {
        d = rounded({from, {t.x - 2, t.y + box_height / 2}});
    } else if (walk && to == i + 1) { // to the start of the next row
        cls += " wrap";
        int const gap = b.y + layout.row_pitch - 18;
        d = rounded({from,
                     {b.x + box_width + 16, from.y},
                     {b.x + box_width + 16, gap},
                     {wrap_x, gap},
                     {wrap_x, t.y + box_height / 2},
                     {t.x - 2, t.y + box_height / 2}});
    } else if (walk && to == 0 && i + 1 == layout.walked) { // back to the first
        cls += " back";
        d = rounded({from,
                     {b.x + box_width + 16, from.y},
                     {b.x + box_width + 16, layout.below},
                     {back_x, layout.below},
                     {back_x, t.y + box_height / 2},
                     {t.x - 2, t.y + box_height / 2}});
    } else if (!walk && t.y < b.y) { // from below the rows up to the bottom of its box
        int const tx = t.x + box_width - 40, ty = t.y + box_height + 2;
        append(d, "M", decimal(from.x), " ", decimal(from.y), " C", decimal(from.x + 70), " ",
               decimal(from.y), " ", decimal(tx), " ", decimal(ty + 60), " ", decimal(tx), " ",
               decimal(ty));
    } else { // anywhere else: a curve over the rows down to the top of its box
        int const tx = t.x + 30, ty = t.y - 2;
        int const bend = std::min(b.y, t.y) - 54;
        append(d, "M", decimal(from.x), " ", decimal(from.y), " C", decimal(from.x + 60), " ",
               decimal(bend), " ", decimal(tx), " ", decimal(bend), " ", decimal(tx), " ",
               decimal(ty));
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
        .at("y", b.y + (key.size() > 4 ? 27 : 28));
    if (key.size() > 6) {
        svg.at("textLength", key_width - 8).at("lengthAdjust", "spacingAndGlyphs");
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
void draw_loose_labels(Svg& svg, const Layout& layout) {
    std::string loose;
    for (const Scene::Label& label : layout.scene.labels) {
        if (!layout.valid(label.element)) {
            append(loose, loose.empty() ? "" : "   ", svg_text(label.word, label_room),
                   label.element == Scene::null ? " = nulo" : " = fora da lista");
        }
    }
    if (!loose.empty()) {
        svg.open("text", "label loose").at("x", left + 124 + 14).at("y", rows_y - 24);
        svg.text(loose);
    }
}

void draw_labels(Svg& svg, const Layout& layout) {
    std::vector<int> stacked(layout.scene.elements.size());
    for (const Scene::Label& label : layout.scene.labels) {
        if (!layout.valid(label.element)) {
            continue;
        }
        Point const b = layout.box(label.element);
        int const n = stacked[std::size_t(label.element)]++;
        int const y = b.y + box_height + 28 + n * label_step;
        if (n == 0) {
            svg.open("path", "pointer")
                .at("d", rounded({{b.x + 40, y - 14}, {b.x + 40, b.y + box_height + 3}}))
                .close();
        }
        svg.open("text", "label").at("x", b.x + 30).at("y", y).at("data-on", label.element);
        svg.text(svg_text(label.word, label_room));
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
constexpr std::size_t name_room = 16;
} // namespace ring

std::string svg_open(int x, int y, int width, int height, std::string_view cls,
                     std::string_view what) {
    std::string out;
    append(out, "<svg class=\"", cls, "\" viewBox=\"", decimal(x), " ", decimal(y), " ",
           decimal(width), " ", decimal(height), "\" width=\"", decimal(width), "\" height=\"",
           decimal(height), "\" style=\"--width: ", decimal(width), "\" role=\"img\" aria-label=\"",
           what, "\">\n");
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

std::string picture(const Scene& scene) {
    using namespace list;
    Layout const layout(scene);
    int const count = int(scene.elements.size());
    // As wide as the columns in use, and the words of the empty states.
    int const columns = std::clamp(count, 1, per_row);
    int const width = std::max(left + columns * pitch + 8, 520);
    Svg svg;

    // head, and the header node with its `next`.
    bool const head_changed = scene.changed.which == Scene::Link::head;
    svg.label("name", 8, header_y + 28, "head");
    if (!scene.header) {
        svg.open("path", changed_class(head_changed, "next", "next changed"))
            .at("d", rounded({{60, header_y + 22}, {left - 2, header_y + 22}}))
            .at("data-from", "head")
            .close();
        svg.label("state", left + 4, header_y + 28, "nulo (lista sem no cabeca)");
    } else {
        bool const first_changed = scene.changed.which == Scene::Link::header_next;
        svg.open("path", changed_class(head_changed, "next", "next changed"))
            .at("d", rounded({{60, header_y + 22}, {left - 2, header_y + 22}}))
            .at("data-from", "head")
            .at("data-to", "header")
            .close();
        int const width_of_header = 124;
        svg.out += "<g class=\"header\">";
        svg.rect("box", left, header_y, width_of_header, box_height);
        svg.line("cell", left + width_of_header - next_width, header_y,
                 left + width_of_header - next_width, header_y + box_height);
        svg.label("title", left + (width_of_header - next_width) / 2, header_y + 27, "no cabeca");
        Point const cell{left + width_of_header - next_width / 2, header_y + box_height / 2};
        svg.open("circle", "dot").at("cx", cell.x).at("cy", cell.y).at("r", 4).close();
        svg.out += "</g>\n";
        std::string cls = changed_class(first_changed, "next", "next changed");
        if (layout.valid(scene.first)) {
            Point const t = layout.box(scene.first);
            std::string const d = t.x == left && t.y == rows_y ? rounded({cell, {cell.x, t.y - 2}})
                                                               : rounded({cell,
                                                                          {cell.x + 30, cell.y},
                                                                          {cell.x + 30, t.y - 14},
                                                                          {t.x + 60, t.y - 14},
                                                                          {t.x + 60, t.y - 2}});
            svg.open("path", cls)
                .at("d", d)
                .at("data-from", "header")
                .at("data-to", scene.first)
                .close();
        } else {
            svg.line(cls + " null", cell.x - 11, header_y + box_height - 3, cell.x + 11,
                     header_y + 3);
            svg.label("state", left + width_of_header + 14, header_y + 28,
                      scene.first == Scene::null ? "nulo (lista esvaziada)" : "fora da lista");
        }
    }
    draw_loose_labels(svg, layout);
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
    // Room around the ring for the longest name shown.
    std::size_t longest = 0;
    if (named) {
        for (const std::string& name : r.names) {
            longest = std::max(longest, characters(svg_text(name, name_room)));
        }
    }
    int const half = radius + out + dot + 16 + int(longest) * 12;

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
                .at("y", middle ? (n.y < 0 ? n.y - 4 : n.y + 18) : n.y + 7)
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
        svg.text(svg_text(r.names[std::size_t(i)], name_room) +
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
    if (just >= 0 && just < m && r.winner == Ring::none) {
        svg.label("state removing-name", 0, 64,
                  "removido: " + svg_text(r.names[std::size_t(just)], name_room));
    }
    if (r.winner >= 0 && r.winner < m) {
        svg.label("state winner-name", 0, 64,
                  "vencedor: " + svg_text(r.names[std::size_t(r.winner)], name_room));
    }
    svg.out += "</g>\n</svg>";
    return svg_open(-half, -half, 2 * half, 2 * half, "ring", "desenho dos soldados") + svg.out;
}

Page::Page(std::ostream& out, std::string_view title) : out_(out) {
    std::string const t = html_text(title);
    append(buffer_, "<!DOCTYPE html>\n<html lang=\"pt-BR\">\n<head>\n<meta charset=\"utf-8\">\n",
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n", "<title>",
           title_text(title), "</title>\n<style>\n", page_style, "</style>\n</head>\n<body>\n",
           "<header class=\"bar\">\n<h1>", t, "</h1>\n", R"html(<nav aria-label="passos">
<button type="button" id="first" title="primeiro passo (Home)">&#x2190;&#x2190; inicio</button>
<button type="button" id="back" title="passo anterior (&#x2190;)">&#x2190; anterior</button>
<span id="counter" aria-live="polite"></span>
<button type="button" id="forward" title="proximo passo (&#x2192;)">proximo &#x2192;</button>
<button type="button" id="last" title="ultimo passo (End)">fim &#x2192;&#x2192;</button>
<button type="button" id="predict" aria-pressed="false" title="esconde o desenho seguinte ate ser revelado (P)">prever</button>
<button type="button" id="reveal" title="mostra o desenho escondido (R)">revelar</button>
</nav>
<p id="hidden-note" hidden>O que vai acontecer neste passo? Revele com R ou com o botao revelar.</p>
</header>
<svg class="defs" aria-hidden="true" width="0" height="0"><defs>
<marker id="arrow" viewBox="0 0 10 10" refX="9" refY="5" markerWidth="7" markerHeight="7" orient="auto-start-reverse"><path d="M0 0 L10 5 L0 10 z"/></marker>
<marker id="arrow-changed" viewBox="0 0 10 10" refX="9" refY="5" markerWidth="5" markerHeight="5" orient="auto-start-reverse"><path d="M0 0 L10 5 L0 10 z"/></marker>
<marker id="arrow-count" viewBox="0 0 10 10" refX="9" refY="5" markerWidth="5" markerHeight="5" orient="auto-start-reverse"><path d="M0 0 L10 5 L0 10 z"/></marker>
</defs></svg>
<main>
)html");
    out_.write(buffer_.data(), std::streamsize(buffer_.size()));
    out_.flush();
}

void Page::step(std::string_view heading, std::span<const std::string> lines, const Scene& scene) {
    if (finished_) {
        return;
    }
    std::size_t const count = scene.elements.size();
    if (count > most_drawn || picture_bytes_ > picture_budget) {
        write_step(heading, lines, {}, count, "elementos");
        return;
    }
    write_step(heading, lines, picture(scene), count, {});
}

void Page::step(std::string_view heading, std::span<const std::string> lines, const Ring& ring) {
    if (finished_) {
        return;
    }
    std::size_t const count = ring.names.size();
    if (count > most_drawn || picture_bytes_ > picture_budget) {
        write_step(heading, lines, {}, count, "soldados");
        return;
    }
    write_step(heading, lines, picture(ring), count, {});
}

void Page::write_step(std::string_view heading, std::span<const std::string> lines,
                      std::string_view picture, std::size_t drawn, std::string_view what) {
    std::string const n = decimal(static_cast<long long>(++steps_));
    buffer_.clear();
    append(buffer_, "<section class=\"step\" id=\"passo=", n, "\">\n<h2><span class=\"number\">", n,
           "</span> ", html_text(heading), "</h2>\n<div class=\"body\">\n<figure>");
    if (!picture.empty()) {
        picture_bytes_ += picture.size();
        buffer_ += picture;
    } else if (drawn > most_drawn) {
        append(buffer_, "<p class=\"cut\">Sem desenho: ", decimal(static_cast<long long>(drawn)),
               " ", what, " passam do limite de ", decimal(most_drawn),
               " que a pagina desenha.</p>");
    } else {
        append(buffer_,
               "<p class=\"cut\">Sem desenho: os desenhos desta pagina chegaram ao limite ", "de ",
               decimal(picture_budget >> 20), " MiB.</p>");
    }
    // A newline right after <pre> is not part of its text: an empty first
    // line needs it.
    buffer_ += "</figure>\n<pre class=\"lines\">\n";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        append(buffer_, i == 0 ? "" : "\n", html_text(lines[i]));
    }
    buffer_ += "</pre>\n</div>\n</section>\n";
    out_.write(buffer_.data(), std::streamsize(buffer_.size()));
    out_.flush();
}

void Page::finish() {
    if (finished_) {
        return;
    }
    finished_ = true;
    buffer_.clear();
    append(buffer_, steps_ == 0 ? "<p class=\"empty\">Nenhum passo.</p>\n" : "",
           "</main>\n<script>\n", page_script, "</script>\n</body>\n</html>\n");
    out_.write(buffer_.data(), std::streamsize(buffer_.size()));
    out_.flush();
}

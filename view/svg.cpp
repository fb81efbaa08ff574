// SPDX-License-Identifier: MIT
#include "svg.h"

#include "markup.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace {

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

// A label's words as the picture shows them: a state between parentheses, a
// helper's local with the helper it lives in ("ultimo em last()").
std::string shown(const Scene::Label& label) {
    if (label.state) {
        return "(" + svg_text(label.word, label_room) + ")";
    }
    if (!label.frame.empty()) {
        return svg_text(label.word, label_room) + " em " + svg_text(label.frame, label_room) + "()";
    }
    return svg_text(label.word, label_room);
}

constexpr const char* cursor_class = "label";
constexpr const char* frame_class = "label frame";
constexpr const char* state_class = "label state";

struct Layout {
    const Scene& scene;
    std::vector<int> place;
    // The labels of each element, as lines: a word each, or several to a
    // line when an element has more words than a row has lines for.
    std::vector<std::vector<std::string>> labels;
    // The class of each line of `labels`: cursors, a helper's name, a state.
    std::vector<std::vector<const char*>> classes;
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
        // Each element's own cursors; then, for each helper whose locals
        // point at it, the helper's name and those locals; then its states.
        std::vector<std::vector<std::pair<std::string, const char*>>> words(s.elements.size());
        std::vector<std::string_view> frames;
        for (const Scene::Label& label : s.labels) {
            if (!label.frame.empty() &&
                std::find(frames.begin(), frames.end(), label.frame) == frames.end()) {
                frames.push_back(label.frame);
            }
        }
        auto const add = [&](std::string_view frame, bool state, const char* cls) {
            std::vector<bool> titled(s.elements.size());
            for (const Scene::Label& label : s.labels) {
                if (!valid(label.element) || label.state != state || label.frame != frame) {
                    continue;
                }
                auto& out = words[std::size_t(label.element)];
                if (!frame.empty() && !titled[std::size_t(label.element)]) {
                    titled[std::size_t(label.element)] = true;
                    out.emplace_back(svg_text(frame, label_room) + "()", frame_class);
                }
                out.emplace_back(state ? shown(label) : svg_text(label.word, label_room), cls);
            }
        };
        add({}, false, cursor_class);
        for (std::string_view const frame : frames) {
            add(frame, false, cursor_class);
        }
        add({}, true, state_class);
        labels.resize(s.elements.size());
        classes.resize(s.elements.size());
        for (std::size_t i = 0; i < words.size(); ++i) {
            std::vector<std::string>& out = labels[i];
            std::vector<const char*>& cls = classes[i];
            // As many cursors to a line as the box is wide, where there are
            // more than the lines of a row; the rest on lines of their own.
            bool const packed = words[i].size() > std::size_t(label_lines);
            std::size_t width = 0;
            for (auto& [word, kind] : words[i]) {
                std::size_t const w = characters(word);
                if (!packed || out.empty() || kind != cursor_class || cls.back() != cursor_class ||
                    (width + 2 + w) * label_char > std::size_t(box_width)) {
                    out.push_back(std::move(word));
                    cls.push_back(kind);
                    width = w;
                } else {
                    out.back().append(", ").append(word);
                    width += 2 + w;
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

// The words that point at no element of the scene, on one line at the top,
// and under them, marked, those that point into memory already released.
// Returns: where they end.
int draw_loose_labels(Svg& svg, const Layout& layout, int x) {
    std::string loose;
    std::string dangling;
    for (const Scene::Label& label : layout.scene.labels) {
        if (label.element == Scene::freed) {
            append(dangling, dangling.empty() ? "" : "   ", shown(label), " → ✗ liberado");
        } else if (!layout.valid(label.element)) {
            append(loose, loose.empty() ? "" : "   ", shown(label),
                   label.element == Scene::null          ? " = nulo"
                   : label.element == Scene::header_node ? " = nó cabeça"
                                                         : " = fora da lista");
        }
    }
    int end = x;
    if (!loose.empty()) {
        svg.open("text", "label loose").at("x", x).at("y", header_y + 28);
        svg.text(loose);
        end = x + int(characters(loose)) * label_char;
    }
    if (!dangling.empty()) {
        append(dangling, " (ponteiro pendente)");
        svg.open("text", "label dangling").at("x", x).at("y", header_y + 56);
        svg.text(dangling);
        end = std::max(end, x + int(characters(dangling)) * label_char);
    }
    return end;
}

void draw_labels(Svg& svg, const Layout& layout) {
    for (int i = 0; i < int(layout.labels.size()); ++i) {
        const std::vector<std::string>& lines = layout.labels[std::size_t(i)];
        if (lines.empty()) {
            continue;
        }
        Point const b = layout.box(i);
        int const top = b.y + box_height + 12 + label_step - 4;
        // An arrow up to the box where a cursor points at it; a state alone
        // says what the element is, and points nowhere.
        const std::vector<const char*>& classes = layout.classes[std::size_t(i)];
        if (std::find(classes.begin(), classes.end(), state_class) - classes.begin() > 0) {
            svg.open("path", "pointer")
                .at("d", rounded({{b.x + 40, top - 15}, {b.x + 40, b.y + box_height + 3}}))
                .close();
        }
        for (std::size_t n = 0; n < lines.size(); ++n) {
            svg.open("text", layout.classes[std::size_t(i)][n])
                .at("x", b.x + 28)
                .at("y", top + int(n) * label_step)
                .at("data-on", i);
            svg.text(lines[n]);
        }
    }
}
} // namespace list

} // namespace

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

std::vector<int> ScenePictures::places(const Scene& scene, bool begins) {
    std::size_t const count = scene.elements.size();
    std::vector<int> place(count, -1);
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

std::string ScenePictures::draw(const Scene& scene, bool begins) {
    std::vector<int> const place = places(scene, begins);
    return picture(scene, place);
}

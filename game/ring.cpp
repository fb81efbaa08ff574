// SPDX-License-Identifier: MIT
#include "ring.h"

#include "markup.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

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

} // namespace

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

// SPDX-License-Identifier: MIT
#include "markup.h"

#include "text.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iterator>
#include <utility>

namespace {

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

} // namespace

std::string html_text(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for_each_character(text, Markup::html, true,
                       [&out](std::string_view piece, std::size_t) { out += piece; });
    return out;
}

std::string title_text(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for_each_character(text, Markup::plain, false,
                       [&out](std::string_view piece, std::size_t) { out += piece; });
    return out;
}

// At most `room` characters of `text` as SVG text, the last of them "…"
// where the text goes on: past `room`, or where `cut` says so. A character
// named by its code point counts as the characters that name it, and stays
// whole.
std::string svg_text(std::string_view text, std::size_t room, bool cut) {
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

std::string svg_open(int x, int y, int width, int height, std::string_view cls,
                     std::string_view what) {
    std::string out;
    append(out, "<svg class=\"", cls, "\" viewBox=\"", decimal(x), " ", decimal(y), " ",
           decimal(width), " ", decimal(height), "\" width=\"", decimal(width), "\" height=\"",
           decimal(height), "\" style=\"--width: ", decimal(width), "; --height: ", decimal(height),
           "\" role=\"img\" aria-label=\"", what, "\">\n");
    return out;
}

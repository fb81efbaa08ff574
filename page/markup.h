// SPDX-License-Identifier: MIT
// What the pictures and the page write their markup with: text as HTML or
// SVG shows it (UTF-8, markup and control bytes as text, what a reader could
// not see named by its code point), an SVG element written as it goes, and a
// path with rounded corners. A pure function of its arguments, each.
#ifndef LISTAENC_MARKUP_H
#define LISTAENC_MARKUP_H

#include "format.h"

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

// The pieces one after the other.
template <typename... Pieces>
void append(std::string& out, const Pieces&... pieces) {
    (out.append(pieces), ...);
}

// Returns: `text` as HTML text: a UTF-8 character as it is, markup as a
//   character reference, a control byte as its picture (U+2400...), a byte
//   that begins no UTF-8 character as U+FFFD, and what the terminal escapes
//   (hidden() in text.h: the bidirectional marks, overrides and isolates,
//   the other format characters, the spaces but the ASCII one) as its code
//   point set apart ("‹U+202E›" in a span of class "escape"); a newline and
//   a tab kept.
std::string html_text(std::string_view text);
// Returns: the same as plain text, for a title: the code point not in a span.
std::string title_text(std::string_view text);
// Returns: at most `room` characters of `text` as SVG text (a character
//   named by its code point in a tspan of class "escape", and counted as
//   the characters that name it), the last of them "…" where the text goes
//   on: past `room`, or where `cut` says so.
std::string svg_text(std::string_view text, std::size_t room, bool cut = false);
// Returns: how many characters a text of the page shows (a character
//   reference is one, markup none).
std::size_t characters(std::string_view text);
// Returns: how many columns a text of the page takes, about: a wide
//   character (the East Asian scripts, most emoji) two, any other one.
int width_of(std::string_view text);

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

// Returns: a path through `points` with rounded corners.
std::string rounded(std::initializer_list<Point> points);

// Returns: the opening tag of a picture, `width` by `height` from (x, y),
//   of class `cls`, with `what` as its name for a screen reader; its size
//   also as the properties --width and --height, which the page scales.
std::string svg_open(int x, int y, int width, int height, std::string_view cls,
                     std::string_view what);

#endif

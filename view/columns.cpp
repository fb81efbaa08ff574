// SPDX-License-Identifier: MIT
#include "columns.h"

#include "text.h"

#include <algorithm>
#include <iterator>

namespace {

struct Range {
    char32_t first;
    char32_t last;
};

// Characters of no width: the combining marks of the common scripts and the
// variation selectors.
constexpr Range combining[] = {
    {0x0300, 0x036F},   {0x0483, 0x0489}, {0x0591, 0x05BD}, {0x05BF, 0x05BF}, {0x05C1, 0x05C2},
    {0x05C4, 0x05C5},   {0x05C7, 0x05C7}, {0x0610, 0x061A}, {0x064B, 0x065F}, {0x0670, 0x0670},
    {0x06D6, 0x06DC},   {0x06DF, 0x06E4}, {0x06E7, 0x06E8}, {0x06EA, 0x06ED}, {0x0711, 0x0711},
    {0x0730, 0x074A},   {0x0900, 0x0902}, {0x093A, 0x093A}, {0x093C, 0x093C}, {0x0941, 0x0948},
    {0x094D, 0x094D},   {0x0951, 0x0957}, {0x0E31, 0x0E31}, {0x0E34, 0x0E3A}, {0x0E47, 0x0E4E},
    {0x1AB0, 0x1AFF},   {0x1DC0, 0x1DFF}, {0x20D0, 0x20FF}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F},
    {0xE0100, 0xE01EF},
};

// Characters of two columns: East Asian wide and full-width ones, and the
// emoji shown as pictures.
constexpr Range wide[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},
    {0x23F0, 0x23F0},   {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},
    {0x2648, 0x2653},   {0x267F, 0x267F},   {0x2693, 0x2693},   {0x26A1, 0x26A1},
    {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},   {0x26CE, 0x26CE},
    {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
    {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},
    {0x2728, 0x2728},   {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},
    {0x2757, 0x2757},   {0x2795, 0x2797},   {0x27B0, 0x27B0},   {0x27BF, 0x27BF},
    {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},   {0x2E80, 0x303E},
    {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},
    {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE10, 0xFE19},
    {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x16FE0, 0x16FE4},
    {0x17000, 0x18AFF}, {0x1B000, 0x1B2FF}, {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF},
    {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A}, {0x1F200, 0x1F251}, {0x1F300, 0x1F64F},
    {0x1F680, 0x1F6FF}, {0x1F7E0, 0x1F7EB}, {0x1F90C, 0x1F9FF}, {0x1FA70, 0x1FAFF},
    {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

template <std::size_t Size>
bool in(const Range (&ranges)[Size], char32_t point) {
    auto const after = std::upper_bound(std::begin(ranges), std::end(ranges), point,
                                        [](char32_t p, const Range& r) { return p < r.first; });
    return after != std::begin(ranges) && point <= std::prev(after)->last;
}

// What a terminal acts on or shows as nothing, and what a reader would take
// for another character, is escaped as messages escape it.
bool escaped(char32_t point) { return hidden(point); }

// Appends one character as cells.
void append(Cells& out, std::string_view character, int width) {
    if (width == 0 && !out.empty()) {
        out.back().append(character);
        return;
    }
    out.emplace_back(character);
    if (width == 2) {
        out.emplace_back();
    }
}

} // namespace

int columns(char32_t point) noexcept {
    if (point < combining[0].first) {
        return 1;
    }
    if (in(combining, point)) {
        return 0;
    }
    return in(wide, point) ? 2 : 1;
}

Cells cells(std::string_view text) {
    Cells out;
    out.reserve(text.size());
    while (!text.empty()) {
        Decoded const d = decode(text);
        std::size_t const size = d.length == 0 ? 1 : d.length;
        append(out, text.substr(0, size), d.length == 0 ? 1 : columns(d.point));
        text.remove_prefix(size);
    }
    return out;
}

std::string text_of(const Cells& cells) {
    std::string out;
    for (const std::string& cell : cells) {
        out += cell;
    }
    return out;
}

Drawn quoted(std::string_view text, std::size_t room, bool cut) {
    constexpr std::string_view controls = "\a\b\t\n\v\f\r";
    constexpr std::string_view letters = "abtnvfr";
    room = std::max<std::size_t>(room, 5);
    Drawn out{"'", 1};
    Drawn fits{{}, out.columns}; // the longest beginning that leaves room for "'..."
    std::size_t fits_bytes = out.text.size();
    auto const back_to_fits = [&] {
        out.text.resize(fits_bytes);
        out.columns = fits.columns;
    };
    bool base = false; // whether a character stands before, to combine with
    auto const escape = [&out](unsigned char byte) {
        out.text +=
            {'\\', char('0' + (byte >> 6)), char('0' + ((byte >> 3) & 7)), char('0' + (byte & 7))};
        out.columns += 4;
    };
    while (!text.empty()) {
        if (char const c = text[0]; c >= ' ' && c < 0x7f && c != '\'' && c != '\\') {
            out.text += c; // the most common, the quickest
            ++out.columns;
            base = true;
            text.remove_prefix(1);
        } else {
            Decoded const d = decode(text);
            std::size_t const size = d.length == 0 ? 1 : d.length;
            std::string_view const character = text.substr(0, size);
            text.remove_prefix(size);
            int const width = d.length == 0 ? -1 : columns(d.point);
            if (d.length == 0 || escaped(d.point) || (width == 0 && !base)) {
                if (std::size_t const at = controls.find(character[0]);
                    size == 1 && at != std::string_view::npos) {
                    out.text += {'\\', letters[at]};
                    out.columns += 2;
                } else {
                    for (char const c : character) {
                        escape(static_cast<unsigned char>(c));
                    }
                }
                base = false;
            } else if (character == "'" || character == "\\") {
                out.text += {'\\', character[0]};
                out.columns += 2;
                base = false;
            } else {
                out.text += character;
                out.columns += static_cast<std::size_t>(width);
                base = true;
            }
        }
        if (out.columns + 4 <= room) {
            fits_bytes = out.text.size();
            fits.columns = out.columns;
        } else if (out.columns + 1 > room) {
            back_to_fits();
            cut = true;
            break;
        }
    }
    if (cut) {
        if (out.columns + 4 > room) {
            back_to_fits();
        }
        out.text += "'...";
        out.columns += 4;
    } else {
        out.text += '\'';
        out.columns += 1;
    }
    return out;
}

Cells quoted_cells(std::string_view text, std::size_t room, bool cut) {
    return cells(quoted(text, room, cut).text);
}

std::string_view prefix(std::string_view text, std::size_t bytes) noexcept {
    if (text.size() <= bytes) {
        return text;
    }
    std::size_t end = bytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    return text.substr(0, end);
}

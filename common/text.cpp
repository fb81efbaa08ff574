// SPDX-License-Identifier: MIT
#include "text.h"

#include <algorithm>
#include <iterator>

namespace {

struct Range {
    char32_t first;
    char32_t last;
};

// The characters that hidden() answers true for, in order, as of Unicode 15:
// Cc, Cf, Zl, Zp, Zs (but U+0020), and the blank fillers U+115F, U+1160,
// U+2800, U+3164 and U+FFA0.
constexpr Range hidden_ranges[] = {
    {0x0, 0x1f},        {0x7f, 0xa0},       {0xad, 0xad},       {0x600, 0x605},
    {0x61c, 0x61c},     {0x6dd, 0x6dd},     {0x70f, 0x70f},     {0x890, 0x891},
    {0x8e2, 0x8e2},     {0x115f, 0x1160},   {0x1680, 0x1680},   {0x180e, 0x180e},
    {0x2000, 0x200f},   {0x2028, 0x202f},   {0x205f, 0x2064},   {0x2066, 0x206f},
    {0x2800, 0x2800},   {0x3000, 0x3000},   {0x3164, 0x3164},   {0xfeff, 0xfeff},
    {0xffa0, 0xffa0},   {0xfff9, 0xfffb},   {0x110bd, 0x110bd}, {0x110cd, 0x110cd},
    {0x13430, 0x1343f}, {0x1bca0, 0x1bca3}, {0x1d173, 0x1d17a}, {0xe0001, 0xe0001},
    {0xe0020, 0xe007f},
};

void octal(std::string& out, unsigned char byte) {
    out += '\\';
    out += static_cast<char>('0' + (byte >> 6));
    out += static_cast<char>('0' + ((byte >> 3) & 7));
    out += static_cast<char>('0' + (byte & 7));
}

} // namespace

Decoded decode(std::string_view text) noexcept {
    if (text.empty()) {
        return {0, 0};
    }
    auto const lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80) {
        return {lead, 1};
    }
    std::size_t const size = lead < 0xc2   ? 0
                             : lead < 0xe0 ? 2
                             : lead < 0xf0 ? 3
                             : lead < 0xf5 ? 4
                                           : 0;
    if (size == 0 || text.size() < size) {
        return {0, 0};
    }
    char32_t point = lead & (0x7fU >> size);
    for (std::size_t i = 1; i < size; ++i) {
        auto const byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xc0) != 0x80) {
            return {0, 0};
        }
        point = point << 6 | (byte & 0x3fU);
    }
    constexpr char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    bool const valid =
        point >= least[size] && point <= 0x10ffff && (point < 0xd800 || point > 0xdfff);
    return {point, valid ? size : 0};
}

bool valid_utf8(std::string_view text) noexcept {
    while (!text.empty()) {
        // ASCII eight bytes at a time, the common case.
        while (text.size() >= 8) {
            unsigned char high = 0;
            for (std::size_t i = 0; i < 8; ++i) {
                high |= static_cast<unsigned char>(text[i]);
            }
            if ((high & 0x80) != 0) {
                break;
            }
            text.remove_prefix(8);
        }
        if (text.empty()) {
            break;
        }
        std::size_t const length = decode(text).length;
        if (length == 0) {
            return false;
        }
        text.remove_prefix(length);
    }
    return true;
}

bool hidden(char32_t point) noexcept {
    auto const after = std::upper_bound(std::begin(hidden_ranges), std::end(hidden_ranges), point,
                                        [](char32_t p, const Range& r) { return p < r.first; });
    return after != std::begin(hidden_ranges) && point <= std::prev(after)->last;
}

std::string quote(std::string_view word) {
    constexpr std::string_view controls = "\a\b\t\n\v\f\r";
    constexpr std::string_view letters = "abtnvfr";
    std::string out(1, '\'');
    for (std::string_view rest = word; !rest.empty();) {
        auto const byte = static_cast<unsigned char>(rest[0]);
        std::size_t size = 1;
        if (byte == '\\' || byte == '\'') {
            out += '\\';
            out += static_cast<char>(byte);
        } else if (std::size_t const at = controls.find(static_cast<char>(byte));
                   at != std::string_view::npos) {
            out += '\\';
            out += letters[at];
        } else if (byte < ' ' || byte == 0x7f) {
            octal(out, byte);
        } else if (byte < 0x80) {
            out += static_cast<char>(byte);
        } else if (auto const [point, length] = decode(rest); length == 0) {
            octal(out, byte);
        } else {
            size = length;
            for (char const part : rest.substr(0, size)) {
                hidden(point) ? octal(out, static_cast<unsigned char>(part)) : void(out += part);
            }
        }
        rest.remove_prefix(size);
    }
    out += '\'';
    return out;
}

// SPDX-License-Identifier: MIT
// The small pieces of text that the programs put their lines together with.
#ifndef LISTAENC_FORMAT_H
#define LISTAENC_FORMAT_H

#include <charconv>
#include <string>
#include <string_view>

// Returns: the pieces, strings all, one after the other.
template <typename... Pieces>
std::string joined(const Pieces&... pieces) {
    std::string out;
    (out.append(pieces), ...);
    return out;
}

// Returns: `value` in decimal.
template <typename Number>
std::string decimal(Number value) {
    char digits[24];
    return {digits, std::to_chars(digits, digits + sizeof digits, value).ptr};
}

// Returns: `text` with its first "{}" replaced by `value` (as it is, where
//   it has none).
inline std::string filled(std::string_view text, std::string_view value) {
    std::size_t const at = text.find("{}");
    if (at == std::string_view::npos) {
        return std::string(text);
    }
    std::string out(text.substr(0, at));
    return out.append(value).append(text.substr(at + 2));
}

#endif

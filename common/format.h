// SPDX-License-Identifier: MIT
// The small pieces of text that the programs put their lines together with.
#ifndef LISTAENC_FORMAT_H
#define LISTAENC_FORMAT_H

#include <charconv>
#include <string>
#include <string_view>
#include <type_traits>

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

// Returns: `text` with each "{}" replaced by the next of `values`, numbers
//   in decimal, in turn: a "{}" within a value is not replaced, a "{}" with
//   no value left stays, a value with no "{}" left is not written.
template <typename... Values>
std::string filled(std::string_view text, const Values&... values) {
    std::string out;
    auto const put = [&](std::string_view value) {
        std::size_t const at = text.find("{}");
        if (at != std::string_view::npos) {
            out.append(text.substr(0, at)).append(value);
            text.remove_prefix(at + 2);
        }
    };
    auto const as_text = [](const auto& value) {
        if constexpr (std::is_convertible_v<decltype(value), std::string_view>) {
            return std::string(value);
        } else {
            return decimal(value);
        }
    };
    (put(as_text(values)), ...);
    return out.append(text);
}

#endif

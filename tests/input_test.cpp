// SPDX-License-Identifier: MIT
// countoff's input as words and as lines, whole and as a terminal gives it,
// a byte at a time: the byte order mark, line ends, and line numbers.
#include "input.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

// A stream buffer that gives its text `piece` bytes at a time.
class Trickle final : public std::streambuf {
public:
    Trickle(std::string text, std::size_t piece) : text_(std::move(text)), piece_(piece) {}

protected:
    int_type underflow() override {
        if (given_ == text_.size()) {
            return traits_type::eof();
        }
        char* const at = text_.data() + given_;
        std::size_t const size = std::min(piece_, text_.size() - given_);
        setg(at, at, at + size);
        given_ += size;
        return traits_type::to_int_type(*at);
    }

private:
    std::string text_;
    std::size_t piece_;
    std::size_t given_ = 0;
};

using Read = std::vector<std::pair<std::string, std::size_t>>; // a piece and its line

struct Case {
    const char* name;
    bool lines;
    std::string input;
    Read read;
};

const Case cases[] = {
    {"empty", false, "", {}},
    {"mark_alone", false, "\xef\xbb\xbf", {}},
    {"mark_then_words",
     false,
     "\xef\xbb\xbf"
     "7 alfa",
     {{"7", 0}, {"alfa", 0}}},
    {"mark_twice",
     false,
     "\xef\xbb\xbf\xef\xbb\xbf"
     "a",
     {{"\xef\xbb\xbf"
       "a",
       0}}},
    {"mark_cut_short",
     false,
     "\xef\xbb"
     "a b",
     {{"\xef\xbb"
       "a",
       0},
      {"b", 0}}},
    {"mark_within", false, "a\xef\xbb\xbf", {{"a\xef\xbb\xbf", 0}}},
    {"white_space",
     false,
     " \ta\n\vb\f\rc \xa0 d",
     {{"a", 0}, {"b", 0}, {"c", 0}, {"\xa0", 0}, {"d", 0}}},
    {"line_ends", true, "a\nb\r\nc\rd", {{"a", 1}, {"b", 2}, {"c", 3}, {"d", 4}}},
    {"blank_lines_counted", true, "\n\r\n\r \t\rx\r\r\ny", {{"x", 5}, {"y", 7}}},
    {"cr_then_blank_cr", true, "a\r\rb", {{"a", 1}, {"b", 3}}},
    {"mark_then_crlf",
     true,
     "\xef\xbb\xbf"
     "1\r\nMaria Silva \r\n",
     {{"1", 1}, {"Maria Silva", 2}}},
    {"ends_at_cr", true, "a\r", {{"a", 1}}},
    {"trimmed_inside_kept", true, "  Ana  Lima\t\v\f\n", {{"Ana  Lima", 1}}},
    {"last_line_without_end", true, "a\nb", {{"a", 1}, {"b", 2}}},
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class InputCase : public testing::TestWithParam<std::tuple<Case, std::size_t>> {};

TEST_P(InputCase, ReadsItsPieces) {
    auto const& [c, piece] = GetParam();
    Trickle source(c.input, piece);
    Input input(source);
    Read read;
    std::string text;
    while (c.lines ? input.line(text) : input.word(text)) {
        read.emplace_back(text, c.lines ? input.line_number() : 0);
    }
    EXPECT_EQ(read, c.read);
    EXPECT_TRUE(text.empty());
    EXPECT_FALSE(c.lines ? input.line(text) : input.word(text)) << "again after the end";
}

INSTANTIATE_TEST_SUITE_P(Input, InputCase,
                         testing::Combine(testing::ValuesIn(cases), testing::Values(1, 2, 4096)),
                         [](const testing::TestParamInfo<InputCase::ParamType>& info) {
                             return std::string(std::get<0>(info.param).name) + "_by_" +
                                    std::to_string(std::get<1>(info.param));
                         });

} // namespace

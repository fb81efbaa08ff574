// SPDX-License-Identifier: MIT
// The programs' input as words and as lines, whole and as a terminal gives
// it, a byte at a time: the byte order mark and line ends. The lines of a
// text in memory are the same lines.
#include "input.h"
#include "lines.h"

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

using Read = std::vector<std::string>;

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
     {"7", "alfa"}},
    {"mark_twice",
     false,
     "\xef\xbb\xbf\xef\xbb\xbf"
     "a",
     {"\xef\xbb\xbf"
      "a"}},
    {"mark_cut_short",
     false,
     "\xef\xbb"
     "a b",
     {"\xef\xbb"
      "a",
      "b"}},
    {"mark_within", false, "a\xef\xbb\xbf", {"a\xef\xbb\xbf"}},
    {"white_space", false, " \ta\n\vb\f\rc \xa0 d", {"a", "b", "c", "\xa0", "d"}},
    {"line_ends", true, "a\nb\r\nc\rd", {"a", "b", "c", "d"}},
    {"blank_lines_kept", true, "\n\r\n\r \t\rx\r\r\ny", {"", "", "", " \t", "x", "", "y"}},
    {"cr_then_blank_cr", true, "a\r\rb", {"a", "", "b"}},
    {"mark_then_crlf",
     true,
     "\xef\xbb\xbf"
     "1\r\nMaria Silva \r\n",
     {"1", "Maria Silva "}},
    {"mark_only_at_the_start", true, "a\n\xef\xbb\xbf", {"a", "\xef\xbb\xbf"}},
    {"ends_at_cr", true, "a\r", {"a"}},
    {"white_space_kept", true, "  Ana  Lima\t\v\f\n", {"  Ana  Lima\t\v\f"}},
    {"last_line_without_end", true, "a\nb", {"a", "b"}},
    {"empty_lines", true, "", {}},
    {"mark_alone_lines", true, "\xef\xbb\xbf", {}},
    {"lone_lf", true, "\n", {""}},
    {"lone_cr", true, "\r", {""}},
    {"lone_crlf", true, "\r\n", {""}},
    {"lf_cr", true, "\n\r", {"", ""}},
    {"nul_kept",
     true,
     std::string("a\0b\r\n\0", 6),
     {std::string("a\0b", 3), std::string(1, '\0')}},
    {"mark_then_cr", true, "\xef\xbb\xbf\rx", {"", "x"}},
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
        read.push_back(text);
    }
    EXPECT_EQ(read, c.read);
    EXPECT_TRUE(text.empty());
    EXPECT_FALSE(c.lines ? input.line(text) : input.word(text)) << "again after the end";
}

// The same lines from the text in memory, numbered.
TEST(TextLines, AreTheLinesThatInputReads) {
    for (const Case& c : cases) {
        if (!c.lines) {
            continue;
        }
        TextLines lines(without_mark(c.input));
        Read read;
        for (std::string_view line; lines.next(line);) {
            read.emplace_back(line);
            EXPECT_EQ(lines.number(), read.size()) << c.name;
        }
        EXPECT_EQ(read, c.read) << c.name;
        std::string_view line = "x";
        EXPECT_FALSE(lines.next(line)) << c.name << ": again after the end";
    }
}

INSTANTIATE_TEST_SUITE_P(Input, InputCase,
                         testing::Combine(testing::ValuesIn(cases), testing::Values(1, 2, 4096)),
                         [](const testing::TestParamInfo<InputCase::ParamType>& info) {
                             return std::string(std::get<0>(info.param).name) + "_by_" +
                                    std::to_string(std::get<1>(info.param));
                         });

TEST(InputRest, IsWhatIsLeftAfterTheWordsRead) {
    for (std::size_t piece : {1, 3, 70000}) {
        std::string const tail(100000, 'x');
        Trickle source("\xef\xbb\xbf"
                       " 7\r\nalfa beta\n" +
                           tail,
                       piece);
        Input input(source);
        std::string word;
        ASSERT_TRUE(input.word(word));
        EXPECT_EQ(word, "7");
        std::string rest = "before:";
        input.rest(rest);
        EXPECT_EQ(rest, "before:\r\nalfa beta\n" + tail) << "by " << piece;
        input.rest(rest);
        EXPECT_EQ(rest.size(), 7 + 12 + tail.size()) << "nothing more";
    }
    Trickle marked("\xef\xbb\xbf"
                   "a b",
                   2);
    Input all(marked);
    std::string text;
    all.rest(text);
    EXPECT_EQ(text, "a b");
}

} // namespace

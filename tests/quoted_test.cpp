// SPDX-License-Identifier: MIT
// How a message quotes a word: each kind of character that cannot be seen
// for what it is comes out as the octal of its bytes, and what can be seen
// comes out as it is.
#include "program.h"
#include "text.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

std::string utf8(char32_t point) {
    std::string bytes;
    if (point < 0x80) {
        bytes += static_cast<char>(point);
    } else if (point < 0x800) {
        bytes += static_cast<char>(0xc0 | point >> 6);
        bytes += static_cast<char>(0x80 | (point & 0x3f));
    } else if (point < 0x10000) {
        bytes += static_cast<char>(0xe0 | point >> 12);
        bytes += static_cast<char>(0x80 | (point >> 6 & 0x3f));
        bytes += static_cast<char>(0x80 | (point & 0x3f));
    } else {
        bytes += static_cast<char>(0xf0 | point >> 18);
        bytes += static_cast<char>(0x80 | (point >> 12 & 0x3f));
        bytes += static_cast<char>(0x80 | (point >> 6 & 0x3f));
        bytes += static_cast<char>(0x80 | (point & 0x3f));
    }
    return bytes;
}

std::string octal(const std::string& bytes) {
    std::string escaped;
    for (unsigned char const byte : bytes) {
        escaped += '\\';
        escaped += static_cast<char>('0' + (byte >> 6));
        escaped += static_cast<char>('0' + (byte >> 3 & 7));
        escaped += static_cast<char>('0' + (byte & 7));
    }
    return escaped;
}

std::string quoted(const std::string& word) {
    std::ostringstream out;
    out << Quoted{word};
    return out.str();
}

struct Kind {
    const char* name;
    std::vector<char32_t> points;
};

// Each kind, with its edges where it has a range.
const Kind hidden_kinds[] = {
    {"c1_controls", {0x80, 0x85, 0x9b, 0x9f}},
    {"soft_hyphen", {0xad}},
    {"zero_width", {0x200b, 0x200c, 0x200d, 0x2060, 0xfeff}},
    {"bidirectional", {0x61c, 0x200e, 0x200f, 0x202a, 0x202e, 0x2066, 0x2069}},
    {"invisible_operators", {0x2061, 0x2064}},
    {"deprecated_format", {0x206a, 0x206f}},
    {"other_format",
     {0x600, 0x605, 0x6dd, 0x70f, 0x890, 0x891, 0x8e2, 0x180e, 0xfff9, 0xfffb, 0x110bd, 0x110cd,
      0x13430, 0x1343f, 0x1bca0, 0x1bca3, 0x1d173, 0x1d17a}},
    {"tags", {0xe0001, 0xe0020, 0xe0041, 0xe007f}},
    {"separators", {0x2028, 0x2029}},
    {"spaces", {0xa0, 0x1680, 0x2000, 0x2007, 0x200a, 0x202f, 0x205f, 0x3000}},
    {"blank_fillers", {0x115f, 0x1160, 0x2800, 0x3164, 0xffa0}},
};

class HiddenKind : public testing::TestWithParam<Kind> {};

TEST_P(HiddenKind, ShowsEachByteInOctal) {
    for (char32_t const point : GetParam().points) {
        std::string const word = "a" + utf8(point) + "b";
        EXPECT_EQ(quoted(word), "'a" + octal(utf8(point)) + "b'")
            << std::hex << static_cast<unsigned long>(point);
        EXPECT_TRUE(hidden(point)) << std::hex << static_cast<unsigned long>(point);
    }
}

INSTANTIATE_TEST_SUITE_P(Quoted, HiddenKind, testing::ValuesIn(hidden_kinds),
                         [](const testing::TestParamInfo<Kind>& info) { return info.param.name; });

TEST(Quoted, ShowsWhatCanBeSeenAsItIs) {
    // Letters, symbols, an emoji, an unassigned point, and the neighbours of
    // the ranges that are escaped.
    for (char32_t const point :
         {0x20,   0x7e,   0xa1,   0xac,   0xae,   0xe9,    0x5ff,   0x606,   0x61b,
          0x61d,  0x115e, 0x1161, 0x167f, 0x1681, 0x1fff,  0x2010,  0x2027,  0x2030,
          0x205e, 0x2065, 0x2070, 0x27ff, 0x2801, 0x2fff,  0x3001,  0x3163,  0x3165,
          0x674e, 0xfefe, 0xff9f, 0xffa1, 0xfffc, 0x1f600, 0xe0000, 0xe0080, 0x10ffff}) {
        EXPECT_EQ(quoted(utf8(point)), "'" + utf8(point) + "'")
            << std::hex << static_cast<unsigned long>(point);
        EXPECT_FALSE(hidden(point)) << std::hex << static_cast<unsigned long>(point);
    }
}

struct Case {
    const char* name;
    const char* word;
    const char* shown;
};

const Case bytes[] = {
    {"quote_and_backslash", "a'b\\c", R"('a\'b\\c')"},
    {"controls_with_a_letter", "\a\b\t\n\v\f\r", R"('\a\b\t\n\v\f\r')"},
    {"other_controls", "\x01\x1b[2J\x7f", R"('\001\033[2J\177')"},
    {"continuation_alone", "\x80x", R"('\200x')"},
    {"sequence_cut_short", "\xc3", R"('\303')"},
    {"overlong", "\xc0\xaf", R"('\300\257')"},
    {"surrogate", "\xed\xa0\x80", R"('\355\240\200')"},
    {"past_the_last_point", "\xf4\x90\x80\x80", R"('\364\220\200\200')"},
    {"lead_byte_never_used", "\xf5\x80", R"('\365\200')"},
    {"valid_after_invalid", "\xff\xc3\xa3", "'\\377\xc3\xa3'"},
    {"empty", "", "''"},
};

class QuotedBytes : public testing::TestWithParam<Case> {};

TEST_P(QuotedBytes, EscapesAsCWrites) { EXPECT_EQ(quoted(GetParam().word), GetParam().shown); }

INSTANTIATE_TEST_SUITE_P(Quoted, QuotedBytes, testing::ValuesIn(bytes),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

TEST(ValidUtf8, TellsTextFromBytes) {
    EXPECT_TRUE(valid_utf8(""));
    EXPECT_TRUE(valid_utf8("Conceicao e Joao, 12345678 bytes of ASCII"));
    EXPECT_TRUE(valid_utf8("Concei\xc3\xa7\xc3\xa3o \xe6\x9d\x8e \xf0\x9f\x98\x80"));
    EXPECT_FALSE(valid_utf8("Jos\xe9"));
    EXPECT_FALSE(valid_utf8("12345678Jos\xe9")); // after a run of ASCII
    EXPECT_FALSE(valid_utf8("Ana\xed\xa0\x80")); // a surrogate
    EXPECT_FALSE(valid_utf8("\xe6\x9d"));        // cut short at the end
    EXPECT_FALSE(valid_utf8("abcdefg\xc3"));     // cut short after ASCII
    // Cut short by the end of the view, where the bytes go on beyond it.
    EXPECT_FALSE(valid_utf8(std::string_view("Jos\xc3\xa9", 4)));
    EXPECT_FALSE(valid_utf8(std::string_view("\xe6\x9d\x8e", 2)));
    EXPECT_EQ(decode(std::string_view("\xf0\x9f\x98\x80", 3)).length, 0U);
}

} // namespace

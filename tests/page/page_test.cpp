// SPDX-License-Identifier: MIT
// The pages against their golden files, by structure: the style, the script
// and every coordinate left out, the steps, their texts and the shapes of
// each picture kept. With LISTAENC_PAGES set to a folder, the structures are
// written there too, to take as the new golden files after a look.
#include "markup.h"
#include "page.h"
#include "samples.h"
#include "text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <regex>
#include <sstream>
#include <string>

namespace {

std::string structure(std::string page) {
    for (std::string_view const tag : {"style", "script"}) {
        std::string const open = "<" + std::string(tag) + ">";
        std::string const close = "</" + std::string(tag) + ">";
        std::size_t const from = page.find(open);
        if (from != std::string::npos) {
            std::size_t const to = page.find(close, from);
            page.replace(from + open.size(), to - from - open.size(), "...");
        }
    }
    static const std::regex geometry(
        R"#(\b(x|y|x1|y1|x2|y2|cx|cy|r|width|height|d|viewBox|transform|style)="[^"]*")#");
    return std::regex_replace(page, geometry, "$1=\"#\"");
}

std::string written(void (*write)(std::ostream&)) {
    std::ostringstream out;
    write(out);
    return std::move(out).str();
}

class Golden : public testing::TestWithParam<Sample> {};

TEST_P(Golden, PageHasTheStructureOfItsGoldenFile) {
    std::string const got = structure(written(GetParam().write));
    std::string const name = std::string(GetParam().name) + ".html";
    if (const char* folder = std::getenv("LISTAENC_PAGES")) {
        std::ofstream(std::string(folder) + "/" + name, std::ios::binary) << got;
    }
    std::ifstream golden(std::string(LISTAENC_PAGES_DIR) + "/" + name, std::ios::binary);
    ASSERT_TRUE(golden) << name;
    EXPECT_EQ(got, std::string(std::istreambuf_iterator<char>(golden), {}));
}

// The page loads nothing: its markup and its code name no address but the
// markers of its own pictures. (A text may say anything: it is text.)
TEST_P(Golden, PageNamesNothingOutsideItself) {
    std::string const page = written(GetParam().write);
    std::size_t at = 0;
    while ((at = page.find('<', at)) != std::string::npos) {
        bool const code =
            page.compare(at, 7, "<style>") == 0 || page.compare(at, 8, "<script>") == 0;
        std::size_t const end = code ? page.find("</", at) : page.find('>', at);
        ASSERT_NE(end, std::string::npos);
        std::string markup = page.substr(at, end - at);
        for (std::size_t own; (own = markup.find("url(#")) != std::string::npos;) {
            markup.erase(own, 4);
        }
        for (const char* outside : {"http:", "https:", "src=", "href=", "@import", "url(", "fetch(",
                                    "XMLHttpRequest", "import(", "<link", "<img", "<iframe"}) {
            EXPECT_EQ(markup.find(outside), std::string::npos)
                << GetParam().name << ": " << outside << " in " << markup.substr(0, 60);
        }
        at = end;
    }
}

INSTANTIATE_TEST_SUITE_P(Page, Golden, testing::ValuesIn(samples),
                         [](const auto& info) { return std::string(info.param.name); });

struct Text {
    std::string_view in, shown;
};

class HtmlText : public testing::TestWithParam<Text> {};

TEST_P(HtmlText, ShowsTextAsText) { EXPECT_EQ(html_text(GetParam().in), GetParam().shown); }

using namespace std::string_view_literals;
const Text texts[] = {
    {"<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;"},
    {"a & b \"c\" 'd'", "a &amp; b &quot;c&quot; &#39;d&#39;"},
    {"Concei\xc3\xa7\xc3\xa3o \xe6\x9d\x8e \xf0\x9f\x98\x80", // 2, 3 and 4 bytes
     "Concei\xc3\xa7\xc3\xa3o \xe6\x9d\x8e \xf0\x9f\x98\x80"},
    {"\ta\nb", "\ta\nb"},
    {"\0\x1b[2J\r\x7f"sv, "\xe2\x90\x80\xe2\x90\x9b[2J\xe2\x90\x8d\xe2\x90\xa1"},
    {"\xff|\x80|\xc3|\xc3(", "\xef\xbf\xbd|\xef\xbf\xbd|\xef\xbf\xbd|\xef\xbf\xbd("},
    // Each byte that is not part of a character is one U+FFFD.
    {"\xc0\xaf|\xe0\x80\xaf|\xf0\x80\x80\xaf", // longer than needed
     "\xef\xbf\xbd\xef\xbf\xbd|\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd|"
     "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"},
    {"\xed\xa0\x80|\xf4\x90\x80\x80|\xf4\x8f\xbf\xbf", // a surrogate, past U+10FFFF, the last
     "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd|\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd|"
     "\xf4\x8f\xbf\xbf"},
    {"\xe2\x82", "\xef\xbf\xbd\xef\xbf\xbd"},
    {"\xf8\x90\x80\x80", // no character begins so
     "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"},
    // What would turn the text around, or hide in it, named apart.
    {"1\xe2\x80\xae"
     "avliS airaM",
     "1<span class=\"escape\">\u2039U+202E\u203a</span>avliS airaM"},
    {"a\xe2\x81\xa6"
     "b\xe2\x81\xa9"
     "c",
     "a<span class=\"escape\">\u2039U+2066\u203a</span>b"
     "<span class=\"escape\">\u2039U+2069\u203a</span>c"},
    {"\xe2\x80\x8e\xe2\x80\x8f\xd8\x9c", "<span class=\"escape\">\u2039U+200E\u203a</span><span "
                                         "class=\"escape\">\u2039U+200F\u203a</span>"
                                         "<span class=\"escape\">\u2039U+061C\u203a</span>"},
    {"Maria\xc2\xa0Silva\xc2\x85", // a no-break space, a C1 control
     "Maria<span class=\"escape\">\u2039U+00A0\u203a</span>Silva"
     "<span class=\"escape\">\u2039U+0085\u203a</span>"},
    {"\xef\xbb\xbf\xf3\xa0\x81\x81", // a byte order mark, a tag
     "<span class=\"escape\">\u2039U+FEFF\u203a</span><span "
     "class=\"escape\">\u2039U+E0041\u203a</span>"},
    {"\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d \xe2\x80\x94", // letters of any script stay
     "\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d \xe2\x80\x94"},
};
INSTANTIATE_TEST_SUITE_P(Page, HtmlText, testing::ValuesIn(texts));

std::string utf8(char32_t point) {
    std::string out;
    if (point < 0x80) {
        out += char(point);
    } else if (point < 0x800) {
        out += char(0xc0 | point >> 6);
        out += char(0x80 | (point & 0x3f));
    } else if (point < 0x10000) {
        out += char(0xe0 | point >> 12);
        out += char(0x80 | (point >> 6 & 0x3f));
        out += char(0x80 | (point & 0x3f));
    } else {
        out += char(0xf0 | point >> 18);
        out += char(0x80 | (point >> 12 & 0x3f));
        out += char(0x80 | (point >> 6 & 0x3f));
        out += char(0x80 | (point & 0x3f));
    }
    return out;
}

// Every character past ASCII against what the terminal escapes: the page
// shows it as it is exactly when the terminal would, and names it otherwise,
// in the page's text and in its pictures alike.
TEST(Page, EscapesWhatTheTerminalEscapes) {
    std::size_t named = 0;
    for (char32_t point = 0x80; point <= 0x10ffff; ++point) {
        if (point >= 0xd800 && point <= 0xdfff) {
            continue;
        }
        std::string const character = utf8(point);
        std::string const shown = html_text(character);
        if (hidden(point)) {
            ++named;
            ASSERT_EQ(shown.find(character), std::string::npos) << std::hex << unsigned(point);
            ASSERT_TRUE(shown.starts_with("<span class=\"escape\">\u2039U+"))
                << std::hex << unsigned(point);
        } else {
            ASSERT_EQ(shown, character) << std::hex << unsigned(point);
        }
    }
    EXPECT_GT(named, 100U);
    Ring ring;
    ring.names = {"\xe2\x80\xae"
                  "avliS airaM",
                  "Ana"};
    ring.winner = 0;
    std::string const svg = picture(ring);
    EXPECT_EQ(svg.find("\xe2\x80\xae"), std::string::npos);
    EXPECT_NE(svg.find("<tspan class=\"escape\">\u2039U+202E\u203a</tspan>avliS"),
              std::string::npos);
}

// A stream that counts what it is given and keeps the end of it.
class Tail : public std::streambuf {
public:
    std::size_t size = 0;
    std::string end;
    int writes = 0, flushes = 0;

protected:
    int sync() override { return ++flushes, 0; }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        ++writes;
        size += std::size_t(n);
        end.append(s, std::size_t(n));
        if (end.size() > 8192) {
            end.erase(0, end.size() - 4096);
        }
        return n;
    }
    int overflow(int c) override {
        char const one = char(c);
        return xsputn(&one, 1) == 1 ? c : traits_type::eof();
    }
};

Scene circle(std::size_t size) {
    Scene scene;
    scene.header = true;
    scene.first = 0;
    scene.elements.resize(size);
    for (std::size_t i = 0; i < size; ++i) {
        scene.elements[i].next = int((i + 1) % size);
    }
    scene.walked = size;
    return scene;
}

TEST(Page, DrawsUpToTheMostElementsAndSaysWhyNotPast) {
    for (std::size_t const size : {Page::most_drawn, Page::most_drawn + 1}) {
        std::ostringstream out;
        Page page(out, "t");
        Pictured pictured(page);
        pictured.step("h", {}, circle(size));
        bool const drawn = size <= Page::most_drawn;
        EXPECT_EQ(out.str().find("<svg class=\"list\"") != std::string::npos, drawn) << size;
        EXPECT_EQ(out.str().find("Sem desenho: 1001 elementos") != std::string::npos, !drawn);
    }
}

// A game of the most soldiers, every step drawn, and then some: the page
// stops drawing at its budget and says so, and its size stays bounded.
TEST(Page, PicturesStopAtTheBudget) {
    Tail tail;
    std::ostream out(&tail);
    Page page(out, "t");
    Pictured pictured(page);
    Ring ring;
    ring.count = 0;
    for (std::size_t i = 0; i < Page::most_drawn; ++i) {
        ring.names.push_back("soldado" + std::to_string(i));
    }
    std::size_t steps = 0;
    for (; tail.end.find("chegaram ao limite") == std::string::npos; ++steps) {
        ring.removed.push_back(int(steps % Page::most_drawn));
        pictured.step("h", {}, ring);
        ASSERT_LT(tail.size, Page::picture_budget + (std::size_t{1} << 20)) << steps;
    }
    EXPECT_GT(steps, Page::most_drawn); // a whole game fits
    pictured.step("h", {}, ring);
    EXPECT_EQ(tail.end.find("<svg"), std::string::npos);
    EXPECT_EQ(page.steps(), steps + 1);
    ring.names.emplace_back("um a mais");
    pictured.step("h", {}, ring);
    EXPECT_NE(tail.end.find("Sem desenho: 1001 soldados passam do limite"), std::string::npos);
}

// Any scene and any ring, their links and places anywhere, in range or
// not: a picture whose elements are whole and balanced.
TEST(Page, DrawsWhateverItIsGiven) {
    std::mt19937 random(31);
    auto any = [&random](int size) { return int(random() % unsigned(size + 3)) - 2; };
    auto balanced = [](const std::string& svg) {
        for (std::string_view const tag : {"g", "text", "svg"}) {
            std::string const open = "<" + std::string(tag) + " ";
            std::string const close = "</" + std::string(tag) + ">";
            std::size_t opened = 0, closed = 0;
            for (std::size_t at = 0; (at = svg.find(open, at)) != std::string::npos; ++at) {
                ++opened;
            }
            for (std::size_t at = 0; (at = svg.find(close, at)) != std::string::npos; ++at) {
                ++closed;
            }
            if (opened != closed || (tag == "svg" && opened != 1)) {
                return false;
            }
        }
        return true;
    };
    for (int round = 0; round < 300; ++round) {
        int const size = int(random() % 9);
        Scene scene;
        scene.header = random() % 4 != 0;
        scene.first = any(size);
        scene.walked = random() % unsigned(size + 2);
        for (int i = 0; i < size; ++i) {
            scene.elements.push_back({any(100), "t", false, any(size), any(size)});
        }
        for (int k = int(random() % 4); k > 0; --k) {
            scene.labels.push_back({"atual", any(size)});
        }
        scene.changed = {Scene::Link::Which(random() % 4), any(size)};
        std::string const list = picture(scene);
        EXPECT_TRUE(balanced(list)) << round << list;

        Ring ring;
        ring.names.assign(std::size_t(size), "s");
        for (int k = int(random() % unsigned(size + 3)); k > 0; --k) {
            ring.removed.push_back(any(size));
        }
        ring.count = any(size);
        ring.removing = random() % 2 != 0;
        ring.winner = any(size);
        std::string const soldiers = picture(ring);
        EXPECT_TRUE(balanced(soldiers)) << round << soldiers;
    }
}

// Steps of large lines fill a page up to its bound of bytes and no
// further; the step that says where it was cut, and the end, still come.
TEST(Page, StopsAtItsBoundOfBytes) {
    Tail tail;
    std::ostream out(&tail);
    PageBounds const bounds{.bytes = std::size_t{24} << 20};
    Page page(out, "t", bounds);
    Pictured pictured(page);
    std::vector<std::string> const lines(1, std::string(std::size_t{1} << 20, 'x'));
    std::size_t steps = 0;
    for (; !page.full(); ++steps) {
        ASSERT_LT(steps, 1000U);
        pictured.step(PageStep{"h", {}, {}, lines}, circle(3));
    }
    EXPECT_EQ(page.steps(), steps - 1);
    std::size_t const size = tail.size;
    EXPECT_LE(size, bounds.bytes);
    EXPECT_GT(size, bounds.bytes - (std::size_t{2} << 20));
    pictured.step(PageStep{"h", {}, {}, lines}, circle(3)); // full: not written
    EXPECT_EQ(tail.size, size);
    page.cut("corte", std::string(10000, 'y')); // held to 4 KiB
    EXPECT_NE(tail.end.find("yyyy</pre>"), std::string::npos);
    EXPECT_LT(tail.size - size, std::size_t{8} << 10);
    page.finish();
    EXPECT_LE(tail.size, bounds.bytes);
    EXPECT_EQ(page.steps(), steps);
    EXPECT_TRUE(tail.end.ends_with("</html>\n"));
}

// Scenes of one operation: the elements as the steps' walk meets them,
// from the first; the places that the pictures give them.
struct Placing {
    const char* name;
    std::vector<std::vector<int>> walks;   // the keys, in walk order, step by step
    std::vector<std::vector<int>> outside; // the keys of the elements outside the walk
    std::vector<std::vector<int>> places;  // by element: the walk's, then those outside
};

Scene walked(const std::vector<int>& walk, const std::vector<int>& outside) {
    Scene scene;
    scene.header = true;
    scene.first = walk.empty() ? Scene::null : 0;
    for (std::size_t i = 0; i < walk.size(); ++i) {
        scene.elements.push_back({walk[i], "t", false, int((i + 1) % walk.size())});
    }
    scene.walked = walk.size();
    for (int const key : outside) {
        scene.elements.push_back({key, "t", false, Scene::elsewhere});
    }
    return scene;
}

class Places : public testing::TestWithParam<Placing> {};

TEST_P(Places, ElementsKeepTheirPlacesThroughAnOperation) {
    ScenePictures pictures;
    const Placing& p = GetParam();
    for (std::size_t k = 0; k < p.walks.size(); ++k) {
        EXPECT_EQ(pictures.places(walked(p.walks[k], p.outside[k]), k == 0), p.places[k])
            << p.name << ", step " << k + 1;
    }
}

const Placing placings[] = {
    // The walk goes another way round; each element stays where it was.
    {"turned", {{1, 2, 3, 4, 5}, {1, 5, 4, 3, 2}}, {{}, {}}, {{0, 1, 2, 3, 4}, {0, 4, 3, 2, 1}}},
    // Out of the walk and back in: its place kept, the others' too.
    {"unlinked",
     {{1, 2, 3, 4}, {1, 2, 4}, {1, 2, 3, 4}},
     {{}, {3}, {}},
     {{0, 1, 2, 3}, {0, 1, 3, 2}, {0, 1, 2, 3}}},
    // A new element takes the first place free.
    {"made", {{1, 2}, {1, 2}, {1, 2, 3}}, {{}, {3}, {}}, {{0, 1}, {0, 1, 2}, {0, 1, 2}}},
    // Twins: each keeps its place, told apart by what their `next` names.
    {"twins", {{7, 8, 7, 9}, {7, 9, 7, 8}}, {{}, {}}, {{0, 1, 2, 3}, {2, 3, 0, 1}}},
};
INSTANTIATE_TEST_SUITE_P(Page, Places, testing::ValuesIn(placings),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Page, AnOperationBeginsInWalkOrder) {
    ScenePictures pictures;
    pictures.places(walked({1, 2, 3}, {}), true);
    EXPECT_EQ(pictures.places(walked({3, 2, 1}, {}), true), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(pictures.places(walked({2, 1, 3}, {}), false), (std::vector<int>{1, 2, 0}));
    // A long list is not followed element by element.
    std::vector<int> keys(ScenePictures::most_followed + 1);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        keys[i] = int(i);
    }
    pictures.places(walked(keys, {}), true);
    std::reverse(keys.begin(), keys.end());
    std::vector<int> const got = pictures.places(walked(keys, {}), false);
    EXPECT_EQ(got.front(), 0);
    EXPECT_EQ(got.back(), int(keys.size()) - 1);
}

// Its beginning, each step and its end each leave in one write, then the
// flush, as the program's lines do.
TEST(Page, WritesEachPartInOneWriteAndFlushes) {
    Tail tail;
    std::ostream out(&tail);
    Page page(out, "t");
    Pictured pictured(page);
    EXPECT_EQ(tail.writes, 1);
    EXPECT_EQ(tail.flushes, 1);
    pictured.step("h", std::vector<std::string>{"a", "b"}, circle(3));
    pictured.step("h", {}, Ring());
    EXPECT_EQ(tail.writes, 3);
    EXPECT_EQ(tail.flushes, 3);
    page.finish();
    EXPECT_EQ(tail.writes, 4);
    EXPECT_EQ(tail.flushes, 4);
}

TEST(Page, WritesNothingAfterItsEnd) {
    std::ostringstream out;
    Page page(out, "t");
    Pictured pictured(page);
    page.finish();
    std::string const whole = out.str();
    pictured.step("h", {}, Scene{});
    page.finish();
    EXPECT_EQ(out.str(), whole);
    EXPECT_TRUE(whole.ends_with("</html>\n"));
    EXPECT_NE(whole.find("Nenhum passo."), std::string::npos);
}

} // namespace

// SPDX-License-Identifier: MIT
// The drawing of each shape of list is its golden file in tests/drawing,
// line by line, and every line is valid UTF-8 within its width in columns.
// With LISTAENC_DRAWINGS set to a folder, the drawings are written there too.
#include "columns.h"
#include "drawing.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

using Lines = std::vector<std::string>;

ListaEnc circle(int size, const std::string& text = "s") {
    ListaEnc list;
    for (int key = 1; key <= size; ++key) {
        list.inserir(key, text + std::to_string(key));
    }
    return list;
}

struct Shape {
    const char* name;
    Lines (*drawing)();
    std::size_t width = 80;
};

// A scene of elements keyed 1, 2, ... in the order given, each text "sK",
// each `next` as given; the first `walked` are the walk.
Scene scene(std::initializer_list<int> nexts, std::size_t walked) {
    Scene out;
    out.header = true;
    out.first = walked > 0 ? 0 : Scene::null;
    for (int const next : nexts) {
        int const key = static_cast<int>(out.elements.size()) + 1;
        out.elements.push_back({key, "s" + std::to_string(key), false, next});
    }
    out.walked = walked;
    return out;
}

const Shape shapes[] = {
    {"no_header", [] { return draw(ListaEnc()); }},
    {"emptied",
     [] {
         ListaEnc list = circle(2);
         list.limpar();
         return draw(list);
     }},
    {"one_element", [] { return draw(circle(1)); }},
    {"three_elements",
     [] {
         ListaEnc list = circle(3);
         return draw(list, {{&*++list.begin(), "contagem"}});
     }},
    {"wrapping_circle",
     [] {
         ListaEnc list = circle(25, "soldado");
         auto const gone = list.removerinfo("soldado20");
         return draw(list, {{gone->next, "contagem"}, {&*list.begin(), "primeiro"}},
                     Mark{gone.get(), "removido"});
     }},
    {"long_texts",
     [] {
         ListaEnc list;
         list.inserir(-2147483648, "a text much longer than its box");
         list.inserir(2147483647, std::string("\0\t'\\", 4));
         list.inserir(3, "\x7f\xc3\xa9");
         list.inserir(0, "");
         list.inserir(1, "exactly 14 byt");
         list.inserir(2, "now 15 bytes ..");
         return draw(list);
     }},
    {"unlinked_first",
     [] {
         ListaEnc list = circle(3);
         auto const popped = list.pop();
         return draw(list, {{popped->next, "contagem"}}, Mark{popped.get(), "removido"});
     }},
    {"unlinked_at_the_right",
     [] {
         ListaEnc list = circle(12);
         auto const gone = list.removerinfo("s6");
         return draw(list, {{gone->next, "doze letras e mais"}}, Mark{gone.get(), "removido"});
     }},
    {"both_labels_to_the_left",
     [] {
         ListaEnc list;
         for (const char* text : {"aaa", "bbb", "ccc", "ddd", "eee", "fff", "ggg", "hhh"}) {
             list.inserir(0, text);
         }
         auto const gone = list.removerinfo("fff");
         return draw(list, {{gone->next, "contagem"}}, Mark{gone.get(), "removido"});
     }},
    {"label_at_the_edge",
     [] {
         ListaEnc list;
         for (int key : {1, 2, 3, 4, 10, 6}) {
             list.inserir(key, "s" + std::to_string(key));
         }
         return draw(list, {{&*std::next(list.begin(), 5), "fim da linha"}});
     }},
    {"unlinked_shortened",
     [] {
         ListaEnc list = circle(16);
         list.inserirapos(&*std::next(list.begin(), 8), -2147483648, "a text longer than its box");
         auto const gone = list.removerinfo("a text longer than its box");
         return draw(list, {}, Mark{gone.get(), "removido"});
     }},
    {"unlinked_alone",
     [] {
         ListaEnc list = circle(1);
         auto const popped = list.pop();
         return draw(list, {}, Mark{popped.get(), "removido"});
     }},
    {"unlinked_elsewhere",
     [] {
         ListaEnc list = circle(2);
         node const loose{9, "solto", nullptr};
         return draw(list, {{&loose, "fora"}}, Mark{&loose, "solto"});
     }},
    // Texts as text, their width in columns, and what a terminal would act
    // on or shows as nothing escaped.
    {"utf8_texts",
     [] {
         ListaEnc list;
         for (const char* text :
              {"Concei\u00e7\u00e3o", "Jo\u00e3o", "\u674e\u5c0f\u9f8d", "Jose\u0301", "\u0301lone",
               "a\u200bb\u202ec", "\xc3(\xff", "\u4e00\u4e01\u4e02\u4e03\u4e04\u4e05\u4e06\u4e07",
               "\x1b[2J", "\U0001f7f0\U00018b00\u0995\u0981"}) {
             list.inserir(static_cast<int>(list.size()), text);
         }
         auto const gone = list.removerinfo("Jo\u00e3o");
         return draw(list, {{gone->next, "\u00e1gua"}}, Mark{gone.get(), "removido"}, 60);
     },
     60},
    {"wrapping_circle_60",
     [] {
         ListaEnc list = circle(12, "soldado");
         return draw(list, {{&*std::next(list.begin(), 11), "contagem"}}, std::nullopt, 60);
     },
     60},
    {"narrowest",
     [] {
         ListaEnc list;
         list.inserir(-2147483648, "a text much longer than its box");
         list.inserir(2147483647, "\u674e\u674e\u674e\u674e\u674e\u674e\u674e\u674e");
         node const loose{-2147483647, "a loose text of some length", nullptr};
         return draw(list, {{&*list.begin(), "a long label"}}, Mark{&loose, "doze letras e mais"},
                     least_width);
     },
     least_width},
    // What memory holds between two steps of an operation.
    {"made_not_linked",
     [] {
         Scene s = scene({1, 0, 2}, 2);
         s.labels = {{"novo", 2}, {"ultimo", 1}};
         return draw(s);
     }},
    {"first_moved_old_first_still_in_the_ring",
     [] {
         // head->next is 2 now; the last element still points to 1.
         Scene s = scene({1, 2, 0}, 3);
         s.elements = {{2, "s2", false, 1}, {3, "s3", false, 2}, {1, "s1", false, 0}};
         s.labels = {{"removido", 2}};
         s.changed = {Scene::Link::header_next, Scene::null};
         return draw(s);
     }},
    {"cycle_avoiding_the_first",
     [] {
         // ultimo->next = novo, novo still linked to itself.
         Scene s = scene({1, 2, 2}, 3);
         s.labels = {{"ultimo", 1}, {"novo", 2}};
         s.changed = {Scene::Link::element_next, 1};
         return draw(s);
     }},
    {"cycle_into_an_earlier_row",
     [] {
         Scene s = scene({1, 2, 3, 4, 5, 6, 7, 8, 2}, 9);
         s.changed = {Scene::Link::element_next, 8};
         return draw(s, 60);
     },
     60},
    {"last_next_null_and_released",
     [] {
         Scene s = scene({1, Scene::null, Scene::elsewhere}, 2);
         s.labels = {{"liberado", 2}};
         return draw(s);
     }},
    {"unlinked_where_it_stood",
     [] {
         // 4 stood before 2, 5 at the start, 6 after the last: each drawn
         // above its gap.
         Scene s = scene({1, 2, 0, 1, 0, 0}, 3);
         s.elements[3].stood = 1;
         s.elements[4].stood = 0;
         s.elements[4].was_first = true;
         s.elements[5].stood = 0;
         s.labels = {{"meio", 3}, {"primeiro", 4}, {"ultimo", 5}};
         s.changed = {Scene::Link::element_next, 0};
         return draw(s);
     }},
    {"loop_without_a_word",
     [] {
         Scene s = scene({1, 0, 2}, 2);
         return draw(s);
     }},
    {"words_on_the_header",
     [] {
         Scene s = scene({1, Scene::null}, 2);
         s.labels = {{"cauda", Scene::header_node},
                     {"anterior", Scene::header_node},
                     {"mais um", Scene::header_node},
                     {"escolhido", 1}};
         s.changed = {Scene::Link::header_next, Scene::null};
         return draw(s, least_width);
     },
     least_width},
    // A state is not a cursor; a helper's local says whose it is; a cursor
    // into memory released dangles, marked, on a line of its own.
    {"states_frames_and_dangling",
     [] {
         Scene s = scene({1, 0, 1}, 2);
         s.elements[2].stood = 1;
         s.labels = {{"removido", 2},
                     {"removido", 2, true},
                     {"atual", 1, false, "find_before"},
                     {"anterior", 0},
                     {"ultimo", Scene::freed, false, "last"},
                     {"proximo", Scene::freed}};
         return draw(s);
     }},
    // Many words at one place stack, whole.
    {"words_stacked_on_the_last",
     [] {
         Scene s = scene({1, 2, 0}, 3);
         s.elements[1].key = 2147483647;
         for (const char* word : {"primeiro", "ultimo", "atual", "anterior", "escolhido"}) {
             s.labels.push_back({word, 2});
         }
         s.labels.push_back({"doze letras e mais", 1});
         return draw(s, least_width);
     },
     least_width},
    {"words_stacked_apart",
     [] {
         Scene s = scene({1, 2, 0, 2, Scene::null}, 3);
         s.elements[3].stood = 2;
         s.elements[4].key = -2147483648;
         for (const char* word : {"removido", "primeiro", "ultimo", "esquerda", "escolhido"}) {
             s.labels.push_back({word, 3});
             s.labels.push_back({word, 4});
         }
         return draw(s, least_width);
     },
     least_width},
    {"head_made",
     [] {
         Scene s = scene({0}, 0);
         s.header = true;
         s.first = Scene::null;
         s.labels = {{"novo", 0}};
         s.changed = {Scene::Link::head, Scene::null};
         return draw(s);
     }},
};

TEST(Drawing, EachShapeDrawsItsGoldenLines) {
    const char* const written = std::getenv("LISTAENC_DRAWINGS");
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.name);
        Lines const lines = shape.drawing();
        std::ostringstream drawn;
        for (const std::string& line : lines) {
            drawn << line << '\n';
            EXPECT_LE(cells(line).size(), shape.width) << line;
            EXPECT_TRUE(line.starts_with(':')) << line;
            EXPECT_EQ(text_of(cells(line)), line);
            for (unsigned char const c : line) {
                EXPECT_TRUE(c >= ' ' && c != 0x7f) << line;
            }
        }
        std::string const file = std::string(LISTAENC_DRAWINGS_DIR "/") + shape.name + ".txt";
        std::ifstream golden(file);
        std::string const expected((std::istreambuf_iterator<char>(golden)), {});
        EXPECT_EQ(expected, drawn.str());
        EXPECT_EQ(shape.drawing(), lines) << "the same shape drew other lines";
        if (written != nullptr) {
            std::ofstream(std::string(written) + "/" + shape.name + ".txt") << drawn.str();
        }
    }
}

// The words that point at one place stack: at each width, for long keys
// and texts and many words on one element, on the header and on elements out
// of the circle, no line is wider than the drawing, and each word shows
// whole, as often as it points.
TEST(Drawing, WordsStackWithinTheWidthAndNoneIsCut) {
    std::vector<std::string> const cursors = {"primeiro", "ultimo",    "atual",
                                              "anterior", "proximo",   "esquerda",
                                              "direita",  "escolhido", "doze letras e mais"};
    // A walk of three with long keys and texts, `at` taking every cursor.
    auto const three = [&](int at) {
        Scene s = scene({1, 2, 0}, 3);
        s.elements[0].key = -2147483648;
        s.elements[1].key = 2147483647;
        s.elements[1].info = "nomenomenome";
        s.elements[2].key = 400000001;
        s.elements[2].info = "Concei\u00e7\u00e3o";
        for (const std::string& word : cursors) {
            s.labels.push_back({word, at});
        }
        return s;
    };
    struct Case {
        const char* name;
        Scene scene;
    };
    std::vector<Case> cases = {{"all on the first", three(0)},
                               {"all on the middle", three(1)},
                               {"all on the last", three(2)}};
    {
        Scene s = three(2);
        s.labels.clear();
        for (const std::string& word : cursors) {
            s.labels.push_back({word, Scene::header_node});
        }
        cases.push_back({"all on the header", s});
    }
    {
        // Out of the circle: one that stood in the middle, one below the rest.
        Scene s = scene({1, 2, 0, 2, Scene::null}, 3);
        s.elements[3].key = -2147483647;
        s.elements[3].info = "a text much longer than its box";
        s.elements[3].stood = 2;
        s.elements[4].key = 2147483646;
        for (const std::string& word : cursors) {
            s.labels.push_back({word, 3});
            s.labels.push_back({word, 4});
        }
        s.labels.push_back({"removido", 3});
        s.labels.push_back({"liberado", 4});
        cases.push_back({"all apart", s});
    }
    {
        // Twelve in rows, each with two words, and two gaps taken.
        Scene s = scene({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 5, 0}, 12);
        for (int i = 0; i < 12; ++i) {
            s.elements[static_cast<std::size_t>(i)].key = 1000000000 + i;
            s.labels.push_back({cursors[static_cast<std::size_t>(i) % 8], i});
            s.labels.push_back({cursors[static_cast<std::size_t>(i + 3) % 8], i});
        }
        s.elements[12].stood = 5;
        s.elements[13].stood = 0;
        s.labels.push_back({"removido", 12});
        s.labels.push_back({"escolhido", 12});
        s.labels.push_back({"liberado", 13});
        cases.push_back({"twelve in rows", s});
    }
    {
        // Long keys each alone in a row; the last's `next` up into the second.
        Scene s = scene({1, 2, 1}, 3);
        for (Scene::Element& e : s.elements) {
            e.key = -2147483648;
            e.info = "Concei\u00e7\u00e3o";
        }
        s.labels.push_back({"ultimo", 2});
        cases.push_back({"the last up into an earlier row", s});
    }
    {
        // Out of the circle, one pointing to another, both with long keys.
        Scene s = scene({1, 0, 3, Scene::null}, 2);
        for (Scene::Element& e : s.elements) {
            e.key = -2147483648;
            e.info = "nomenomenome";
        }
        s.labels.push_back({"removido", 2});
        s.labels.push_back({"liberado", 3});
        cases.push_back({"apart into apart", s});
    }
    for (const Case& c : cases) {
        for (std::size_t const width :
             {std::size_t{40}, least_width, std::size_t{80}, std::size_t{200}}) {
            SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(width));
            Lines const lines = draw(c.scene, width);
            std::string all;
            for (const std::string& line : lines) {
                EXPECT_LE(cells(line).size(), std::max(width, least_width)) << line;
                // Outside the texts in quotes (and the "..." of a text cut
                // for its box), there is no "...".
                std::string bare = line;
                for (std::size_t open = bare.find('\''); open != std::string::npos;
                     open = bare.find('\'', open)) {
                    std::size_t const close = std::min(bare.find('\'', open + 1), bare.size() - 1);
                    std::size_t end = close + 1;
                    end += bare.compare(end, 3, "...") == 0 ? 3 : 0;
                    bare.replace(open, end - open, end - open, ' ');
                }
                EXPECT_EQ(bare.find("..."), std::string::npos) << line;
                all += line + "\n";
            }
            for (const Scene::Label& label : c.scene.labels) {
                std::size_t pointing = 0;
                for (const Scene::Label& other : c.scene.labels) {
                    pointing += other.word == label.word ? 1 : 0;
                }
                std::size_t shown = 0;
                for (std::size_t at = all.find(label.word); at != std::string::npos;
                     at = all.find(label.word, at + 1)) {
                    ++shown;
                }
                EXPECT_GE(shown, pointing) << label.word << " in\n" << all;
            }
        }
    }
}

} // namespace

// SPDX-License-Identifier: MIT
// The drawing of each shape of list is its golden file in tests/drawing,
// line by line, and every line is ASCII within 80 columns. With
// LISTAENC_DRAWINGS set to a folder, the drawings are written there too.
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
};

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
};

TEST(Drawing, EachShapeDrawsItsGoldenLines) {
    const char* const written = std::getenv("LISTAENC_DRAWINGS");
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.name);
        Lines const lines = shape.drawing();
        std::ostringstream drawn;
        for (const std::string& line : lines) {
            drawn << line << '\n';
            EXPECT_LE(line.size(), 80u) << line;
            EXPECT_TRUE(line.starts_with(':')) << line;
            for (unsigned char const c : line) {
                EXPECT_TRUE(c >= ' ' && c < 0x7f) << line;
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

} // namespace

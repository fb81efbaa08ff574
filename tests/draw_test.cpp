// SPDX-License-Identifier: MIT
// The draw's core on its own: text and its encodings, the readers of words,
// lines and CSV, exclusions, the order of names, the order of the draw
// against the game on the list and a plain model, the table's cells, the
// count, the seed and SHA-256, and the whole road as a page takes it.
#include "counting.h"
#include "draw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

namespace {

using sorteio::Messages;
using sorteio::Roster;

// The names of a roster, in its order, each "id:name" where it has an id.
std::vector<std::string> names(const Roster& roster) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < roster.size(); ++i) {
        std::string const id(roster.id(i));
        out.push_back((id.empty() ? "" : id + ":") + std::string(roster.name(i)) + "@" +
                      std::to_string(roster.entrants[i].row));
    }
    return out;
}

// A stand-in for NFC that knows one decomposed letter: "e" and U+0301.
std::string composed(std::string_view text) {
    std::string out(text);
    for (std::size_t at; (at = out.find("e\xcc\x81")) != std::string::npos;) {
        out.replace(at, 3, "\xc3\xa9");
    }
    return out;
}

struct TextCase {
    const char* name;
    std::string bytes;
    bool ok;
    std::string text;       // when ok
    Messages messages = {}; // when not
};

const TextCase text_cases[] = {
    {"plain", "Ana\nBia", true, "Ana\nBia"},
    {"utf8_mark",
     "\xef\xbb\xbf"
     "Ana",
     true, "Ana"},
    {"utf8_mark_only_at_start", "A\xef\xbb\xbf", true, "A\xef\xbb\xbf"},
    {"utf16le",
     std::string("\xff\xfe"
                 "A\0\r\0\n\0\xe9\0",
                 10),
     true, "A\r\n\xc3\xa9"},
    {"utf16be", std::string("\xfe\xff\0A\0\n\xd8\x3d\xde\x00", 10), true, "A\n\xf0\x9f\x98\x80"},
    {"utf16_lone_surrogate",
     std::string("\xff\xfe"
                 "A\0\n\0\x00\xd8"
                 "B\0",
                 10),
     false,
     "",
     {"linha 2: UTF-16 inválido (um substituto sozinho, ou um byte a mais no fim)"}},
    {"utf16_lines_ended_by_cr_alone",
     std::string("\xfe\xff\0A\0\r\0B\0\r\0\n\xdc\x00", 14),
     false,
     "",
     {"linha 3: UTF-16 inválido (um substituto sozinho, ou um byte a mais no fim)"}},
    {"utf16_odd_byte",
     std::string("\xff\xfe"
                 "A\0B",
                 5),
     false,
     "",
     {"linha 1: UTF-16 inválido (um substituto sozinho, ou um byte a mais no fim)"}},
    {"utf16_nul",
     std::string("\xff\xfe"
                 "A\0\0\0",
                 6),
     false,
     "",
     {"linha 1: um byte NUL, que não há num texto: 'A\\000'"}},
    {"nul",
     std::string("Ana\nB\0a\r\nCaio", 13),
     false,
     "",
     {"linha 2: um byte NUL, que não há num texto: 'B\\000a'"}},
    {"latin1_lines_counted_by_any_end",
     "Ana\r\nJos\xe9\rIn\xeas\n\nOk\nZ\xe9",
     false,
     "",
     {"linha 2: texto que não é UTF-8: 'Jos\\351'",
      "e mais 2 linhas com um byte NUL ou que não são UTF-8"}},
    {"long_line_cut",
     std::string(70, 'a') + "\xff",
     false,
     "",
     {"linha 1: texto que não é UTF-8: '" + std::string(60, 'a') + "'..."}},
    {"overlong_and_surrogate",
     "\xc0\xaf\n\xed\xa0\x80",
     false,
     "",
     {"linha 1: texto que não é UTF-8: '\\300\\257'",
      "e mais 1 linha com um byte NUL ou que não é UTF-8"}},
};

void PrintTo(const TextCase& c, std::ostream* out) { *out << c.name; }

class Text : public testing::TestWithParam<TextCase> {};

TEST_P(Text, IsUtf8OrSaysWhichLineIsNot) {
    const TextCase& c = GetParam();
    std::string bytes = c.bytes;
    Messages messages;
    ASSERT_EQ(sorteio::to_text(bytes, messages), c.ok);
    if (c.ok) {
        EXPECT_EQ(bytes, c.text);
        EXPECT_TRUE(messages.empty());
    } else {
        EXPECT_EQ(messages, c.messages);
    }
}

INSTANTIATE_TEST_SUITE_P(Draw, Text, testing::ValuesIn(text_cases),
                         [](const auto& info) { return std::string(info.param.name); });

struct CsvCase {
    const char* name;
    std::string text;
    sorteio::Columns columns;
    bool ok;
    std::vector<std::string> read; // "id:name@row", or the messages
};

const CsvCase csv_cases[] = {
    {"comma", "nome,email\nAna,a@x\nBia,b@x\n", {"nome"}, true, {"Ana@2", "Bia@3"}},
    {"semicolon_found", "email;nome\r\na@x;Ana\r\n", {"nome"}, true, {"Ana@2"}},
    {"tab_found", "nome\temail\nAna\ta\n", {"nome"}, true, {"Ana@2"}},
    {"one_column", "Nome\nAna Lima\n", {"Nome"}, true, {"Ana Lima@2"}},
    {"separator_in_quoted_header", "\"a,b\";nome\nx;Ana\n", {"nome"}, true, {"Ana@2"}},
    {"separator_given", "nome,x;y\nAna,1;2\n", {"x;y", "", ','}, true, {"1;2@2"}},
    {"tied_separators",
     "a,b;c\n",
     {"a"},
     false,
     {"não se sabe o separador das colunas: o cabeçalho tem tantas vírgulas quanto pontos e "
      "vírgulas (ou tabulações)"}},
    {"quoted_cells",
     "nome\n\"Silva, Ana\"\n\"Ana \"\"Aninha\"\"\"\n",
     {"nome"},
     true,
     {"Silva, Ana@2", "Ana \"Aninha\"@3"}},
    {"multiline_cell_is_one_row",
     "nome,n\n\"Ana\r\nLima\",1\nBia,2\n",
     {"nome"},
     true,
     {"Ana\r\nLima@2", "Bia@3"}},
    {"quote_inside_is_a_letter", "nome\nAna \"A\" Lima\n", {"nome"}, true, {"Ana \"A\" Lima@2"}},
    {"text_after_closing_quote", "nome\n\"Ana\" Lima\n", {"nome"}, true, {"Ana Lima@2"}},
    {"trimmed", "nome\n  Ana  Lima \t\n", {"nome"}, true, {"Ana  Lima@2"}},
    {"by_number", "a,b\n1,Ana\n", {"2"}, true, {"Ana@2"}},
    {"by_header_before_number", "2,1\nAna,Bia\n", {"1"}, true, {"Bia@2"}},
    {"case_of_letters", "Nome,E-mail\nAna,a\n", {"nome", "e-MAIL"}, true, {"a:Ana@2"}},
    {"case_ambiguous",
     "nome,NOME\nAna,Bia\n",
     {"Nome"},
     false,
     {"não há coluna 'Nome' no cabeçalho, que tem 'nome', 'NOME' (separadas por ',')"}},
    {"missing_column",
     "nome;email\n",
     {"cpf"},
     false,
     {"não há coluna 'cpf' no cabeçalho, que tem 'nome', 'email' (separadas por ';')"}},
    {"missing_id_column",
     "nome\nAna\n",
     {"nome", "id"},
     false,
     {"não há coluna 'id' no cabeçalho, que tem 'nome' (separadas por ',')"}},
    {"number_past_the_last",
     "a,b\n",
     {"3"},
     false,
     {"não há coluna '3' no cabeçalho, que tem 'a', 'b' (separadas por ',')"}},
    {"ids", "id;nome\n007;Ana\n;Bia\n", {"nome", "id"}, true, {"007:Ana@2", "Bia@3"}},
    {"empty_rows_skipped_but_counted", "nome,x\n,\n\nAna,1\n , \n", {"nome"}, true, {"Ana@4"}},
    {"short_row", "x,nome\n1\n2,Bia\n", {"nome"}, false, {"linha 2: sem nome na coluna 'nome'"}},
    {"rows_without_names_counted",
     "nome,x\n,1\nAna,2\n\"\",3\n",
     {"nome"},
     false,
     {"linha 2: sem nome na coluna 'nome'", "e mais 1 linha sem nome"}},
    {"lines_of_a_multiline_row",
     "nome,x\n\"a\nb\",1\n,2\n",
     {"nome"},
     false,
     {"linha 4: sem nome na coluna 'nome'"}},
    {"open_quote",
     "nome\nAna\n\"Bia\nCaio\n",
     {"nome"},
     false,
     {"linha 3: aspas abertas que não se fecham até o fim do arquivo"}},
    {"no_last_line_end", "nome\nAna", {"nome"}, true, {"Ana@2"}},
    {"empty_file", "", {"nome"}, false, {"o arquivo não tem cabeçalho"}},
};

void PrintTo(const CsvCase& c, std::ostream* out) { *out << c.name; }

class Csv : public testing::TestWithParam<CsvCase> {};

TEST_P(Csv, ReadsTheColumnOrSaysWhy) {
    const CsvCase& c = GetParam();
    Roster roster;
    Messages messages;
    ASSERT_EQ(sorteio::read_csv(c.text, c.columns, roster, messages), c.ok)
        << testing::PrintToString(messages);
    EXPECT_EQ(c.ok ? names(roster) : messages, c.read);
}

INSTANTIATE_TEST_SUITE_P(Draw, Csv, testing::ValuesIn(csv_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DrawHeader, GivesTheCellsAndTheSeparator) {
    sorteio::Header header;
    Messages messages;
    ASSERT_TRUE(sorteio::read_header("\"Nome, completo\" ; CPF;E-mail\r\nx", 0, header, messages));
    EXPECT_EQ(header.cells, (std::vector<std::string>{"Nome, completo", "CPF", "E-mail"}));
    EXPECT_EQ(header.separator, ';');
}

TEST(DrawWordsAndLines, TakeTheCountFirstWhenAsked) {
    Roster words;
    std::string count;
    sorteio::read_words(" 7\talfa\n\vbeta\r\n", words, &count);
    EXPECT_EQ(count, "7");
    EXPECT_EQ(names(words), (std::vector<std::string>{"alfa@1", "beta@2"}));
    Roster lines;
    sorteio::read_lines("\n 3 \r\n Maria da Silva \r\r\n\tJoão\r", lines, &count);
    EXPECT_EQ(count, "3");
    EXPECT_EQ(names(lines), (std::vector<std::string>{"Maria da Silva@1", "João@2"}));
    Roster all;
    sorteio::read_lines("a\nb", all);
    EXPECT_EQ(names(all), (std::vector<std::string>{"a@1", "b@2"}));
}

TEST(DrawExclude, LeavesOutEveryMatchAndNamesWhatMatchesNothing) {
    Roster roster;
    Messages messages;
    ASSERT_TRUE(sorteio::read_csv("id,nome\n1,Ana\n2,Bia\n3,Ana\n4,Jose\xcc\x81\n", {"nome", "id"},
                                  roster, messages));
    Roster by_name = roster;
    std::size_t left = 0;
    EXPECT_TRUE(
        sorteio::exclude(by_name, "\n Ana \r\n\nJos\xc3\xa9\n", false, composed, left, messages));
    EXPECT_EQ(left, 3U);
    EXPECT_EQ(names(by_name), (std::vector<std::string>{"2:Bia@3"}));

    Roster by_id = roster;
    EXPECT_TRUE(sorteio::exclude(by_id, "3\n1", true, nullptr, left, messages));
    EXPECT_EQ(left, 2U);
    EXPECT_EQ(names(by_id), (std::vector<std::string>{"2:Bia@3", "4:Jose\xcc\x81@5"}));

    Roster wrong = roster;
    EXPECT_FALSE(
        sorteio::exclude(wrong, "Bia\nana\n\nCaio\nJos\xc3\xa9", false, nullptr, left, messages));
    EXPECT_EQ(messages,
              (Messages{"lista de exclusão, linha 2: 'ana' não está entre os inscritos",
                        "e mais 2 linhas da lista de exclusão que não estão entre os inscritos"}));
}

TEST(DrawSort, OrdersByTheBytesOfTheNamesInNfcKeepingTheFileOrderOfEqualNames) {
    Roster roster;
    for (const char* name : {"b", "Zé", "ze\xcc\x81", "Ana", "a", "Zé", "\xc3\x81gata", "Z"}) {
        roster.entrants.push_back({0, 0, 0, 0, static_cast<std::uint32_t>(roster.size() + 1)});
        roster.entrants.back().name = static_cast<std::uint32_t>(roster.text.size());
        roster.entrants.back().name_size =
            static_cast<std::uint32_t>(std::string_view(name).size());
        roster.text += name;
    }
    Roster plain = roster;
    sorteio::sort(plain, nullptr);
    EXPECT_EQ(names(plain), (std::vector<std::string>{"Ana@4", "Z@8", "Zé@2", "Zé@6", "a@5", "b@1",
                                                      "ze\xcc\x81@3", "\xc3\x81gata@7"}));
    sorteio::sort(roster, composed);
    EXPECT_EQ(names(roster), (std::vector<std::string>{"Ana@4", "Z@8", "Zé@2", "Zé@6", "a@5", "b@1",
                                                       "zé@3", "\xc3\x81gata@7"}));
}

// The order that a plain circle gives: the count starts at the first,
// passes n and removes the one it reaches, and starts again after it.
std::vector<std::uint32_t> plain_order(std::size_t size, std::uint64_t n) {
    std::vector<std::uint32_t> standing(size);
    for (std::size_t i = 0; i < size; ++i) {
        standing[i] = static_cast<std::uint32_t>(i);
    }
    std::vector<std::uint32_t> order;
    std::size_t at = 0;
    while (!standing.empty()) {
        at = (at + n) % standing.size();
        order.push_back(standing[at]);
        standing.erase(standing.begin() + static_cast<std::ptrdiff_t>(at));
        if (!standing.empty()) {
            at %= standing.size();
        }
    }
    return order;
}

// The order that the game on the list gives, by the soldiers' places.
std::vector<std::uint32_t> list_order(std::size_t size, std::size_t n) {
    ListaEnc roster;
    for (std::size_t i = 0; i < size; ++i) {
        roster.inserir(0, std::to_string(i));
    }
    std::vector<std::uint32_t> order;
    Counting counting(roster, n);
    while (counting.standing() > 0) {
        order.push_back(static_cast<std::uint32_t>(counting.reached_place()));
        if (counting.standing() == 1) {
            break;
        }
        counting.remove_reached();
    }
    return order;
}

TEST(DrawCircle, StartsEachCountAfterTheEntrantRemoved) {
    for (std::size_t size : {1, 2, 5, 64, 65, 200, 1000}) {
        for (std::uint32_t n : {0U, 1U, 3U, 2147483647U}) {
            std::vector<std::uint32_t> standing(size);
            std::iota(standing.begin(), standing.end(), 0U);
            sorteio::Circle circle(size, n);
            EXPECT_EQ(circle.start(), 0U);
            std::size_t at = 0;
            while (!standing.empty()) {
                at = (at + n) % standing.size();
                EXPECT_EQ(circle.remove(), standing[at]) << size << ", n = " << n;
                standing.erase(standing.begin() + static_cast<std::ptrdiff_t>(at));
                ASSERT_EQ(circle.standing(), standing.size());
                if (!standing.empty()) {
                    at %= standing.size();
                    EXPECT_EQ(circle.start(), standing[at]) << size << ", n = " << n;
                }
            }
        }
    }
}

TEST(DrawOrder, IsThePlainCircleAndTheGameOnTheList) {
    for (std::size_t size : {1, 2, 3, 5, 8, 63, 64, 65, 100, 129, 300, 4100}) {
        for (std::uint32_t n : {0U, 1U, 2U, 3U, 7U, 64U, 1000U, 2147483647U}) {
            auto const order = sorteio::removal_order(size, n);
            EXPECT_EQ(order, plain_order(size, n)) << size << " entrants, n = " << n;
            EXPECT_EQ(order, list_order(size, n)) << size << " entrants, n = " << n;
        }
    }
    EXPECT_TRUE(sorteio::removal_order(0, 5).empty());
}

// A roster of these names in this order, each with an id when given.
Roster roster_of(const std::vector<std::pair<std::string, std::string>>& entrants) {
    Roster roster;
    std::uint32_t row = 10;
    for (const auto& [id, name] : entrants) {
        roster.entrants.push_back({static_cast<std::uint32_t>(roster.text.size()),
                                   static_cast<std::uint32_t>(name.size()), 0, 0, row++});
        roster.text += name;
        roster.entrants.back().id = static_cast<std::uint32_t>(roster.text.size());
        roster.entrants.back().id_size = static_cast<std::uint32_t>(id.size());
        roster.text += id;
    }
    return roster;
}

struct Cell {
    const char* name;
    const char* shown;
};

// Quoted exactly when RFC 4180 asks for it; a "'" before what a
// spreadsheet would run as a formula.
const Cell cells[] = {
    {"Ana", "Ana"},
    {"", ""},
    {" Ana Lima ", " Ana Lima "},
    {"Silva, Maria", "\"Silva, Maria\""},
    {"\"", "\"\"\"\""},
    {"Jo \"Jo\" Souza", "\"Jo \"\"Jo\"\" Souza\""},
    {"a\rb", "\"a\rb\""},
    {"a\nb", "\"a\nb\""},
    {"a;b c'd", "a;b c'd"},
    {"Concei\xc3\xa7\xc3\xa3o", "Concei\xc3\xa7\xc3\xa3o"},
    {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
    {"=1+1", "'=1+1"},
    {"+55 11", "'+55 11"},
    {"-1", "'-1"},
    {"@SUM(A1)", "'@SUM(A1)"},
    {"\tx", "'\tx"},
    {"\rx", "\"'\rx\""},
    {"007", "007"},
    {"a=b", "a=b"},
    {"'", "'"},
};

TEST(DrawTable, WritesEachCellSafely) {
    for (const Cell& cell : cells) {
        Roster const roster = roster_of({{cell.name, cell.name}, {"1", "alfa"}});
        std::string const expected = std::string("\xef\xbb\xbf") + "ordem,posicao,id,nome\r\n" +
                                     "1,10," + cell.shown + "," + cell.shown + "\r\n" +
                                     "2,11,1,alfa\r\n";
        EXPECT_EQ(sorteio::table(roster, {0, 1}, {true, 0}), expected) << cell.name;
    }
}

TEST(DrawTable, MarksThePrizesFromTheWinnerUp) {
    Roster const roster = roster_of({{"", "a"}, {"", "b"}, {"", "c"}, {"", "d"}});
    std::vector<std::uint32_t> const order = {2, 0, 3, 1};
    EXPECT_EQ(sorteio::table(roster, order, {false, 2}),
              "\xef\xbb\xbf"
              "ordem,posicao,nome,premio\r\n1,12,c,\r\n2,10,a,\r\n3,13,d,2\r\n4,11,b,1\r\n");
    EXPECT_EQ(sorteio::table(roster, order, {false, 9}),
              "\xef\xbb\xbf"
              "ordem,posicao,nome,premio\r\n1,12,c,4\r\n2,10,a,3\r\n3,13,d,2\r\n4,11,b,1\r\n");
    EXPECT_EQ(sorteio::table(roster, order, {false, 0}),
              "\xef\xbb\xbf"
              "ordem,posicao,nome\r\n1,12,c\r\n2,10,a\r\n3,13,d\r\n4,11,b\r\n");
}

struct CountCase {
    const char* word;
    std::int64_t n; // -1: refused
    bool negative;
    const char* message;
};

const CountCase counts[] = {
    {"7", 7, false, ""},
    {"+7", 7, false, ""},
    {"007", 7, false, ""},
    {"0", 0, false, ""},
    {"-0", 0, false, ""},
    {"2147483647", 2147483647, false, ""},
    {"2147483648", -1, false, "n fora do intervalo: '2147483648'"},
    {"-2147483649", -1, false, "n fora do intervalo: '-2147483649'"},
    {"-1", -1, true, "n deve ser maior ou igual a zero"},
    {"47.813", -1, false, "n inválido: '47.813'"},
    {"+-1", -1, false, "n inválido: '+-1'"},
    {"", -1, false, "n inválido: ''"},
    {" 7", -1, false, "n inválido: ' 7'"},
    {"0x10", -1, false, "n inválido: '0x10'"},
};

TEST(DrawCount, TakesASignAndDigitsWithinRange) {
    for (const CountCase& c : counts) {
        sorteio::Count const count = sorteio::parse_count(c.word);
        EXPECT_EQ(count.n ? static_cast<std::int64_t>(*count.n) : -1, c.n) << c.word;
        EXPECT_EQ(count.negative, c.negative) << c.word;
        EXPECT_EQ(count.message, c.message) << c.word;
    }
}

TEST(DrawSha256, IsWhatSha256sumWrites) {
    const std::pair<std::string, const char*> vectors[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
        {std::string(56, 'a'), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
        {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
    };
    for (const auto& [bytes, hex] : vectors) {
        EXPECT_EQ(sorteio::sha256_hex(bytes), hex) << bytes.size() << " bytes";
    }
}

TEST(DrawSeed, IsTheFirstEightHexDigitsLessTheTopBit) {
    EXPECT_EQ(sorteio::seed_count(""), 0x63b0c442U);    // e3b0c442
    EXPECT_EQ(sorteio::seed_count("abc"), 0x3a7816bfU); // ba7816bf
    EXPECT_EQ(sorteio::seed_count("Loteria Federal 5821: 12345 67890"), 0x3d205e57U);
}

sorteio::Request csv_request(std::string count) {
    sorteio::Request request;
    request.columns.name = "nome";
    request.count = std::move(count);
    return request;
}

TEST(DrawRun, TakesTheWholeRoad) {
    std::string const file = "\xef\xbb\xbfid;nome\r\n1;Bia\r\n2;Ana\r\n3;Caio\r\n4;Ana\r\n";
    sorteio::Request request = csv_request("1");
    request.columns.id = "id";
    request.sorted = true;
    request.exclude = "3\n";
    request.prizes = 2;
    sorteio::Result const result = sorteio::run(file, request);
    ASSERT_EQ(result.status, 0) << testing::PrintToString(result.messages);
    EXPECT_EQ(result.sha256, sorteio::sha256_hex(file));
    EXPECT_EQ(result.excluded, 1U);
    EXPECT_EQ(names(result.roster), (std::vector<std::string>{"2:Ana@3", "4:Ana@5", "1:Bia@2"}));
    EXPECT_EQ(sorteio::table(result.roster, result.order, result.layout),
              "\xef\xbb\xbf"
              "ordem,posicao,id,nome,premio\r\n1,5,4,Ana,\r\n2,3,2,Ana,2\r\n3,2,1,Bia,1\r\n");
}

TEST(DrawRun, TakesTheCountFromTheSeedOrTheFirstLine) {
    sorteio::Request request = csv_request("");
    request.seed = "abc";
    EXPECT_EQ(sorteio::run("nome\na\n", request).n, 0x3a7816bfU);
    request.count = "1";
    EXPECT_EQ(sorteio::run("nome\na\n", request).status, 2);
    sorteio::Request lines;
    lines.format = sorteio::Request::Format::lines;
    sorteio::Result const result = sorteio::run("\n 5 \nAna\n", lines);
    EXPECT_EQ(result.n, 5U);
    EXPECT_EQ(names(result.roster), std::vector<std::string>{"Ana@1"});
}

struct Refusal {
    const char* name;
    std::string file;
    sorteio::Request request;
    int status;
    Messages messages;
};

TEST(DrawRun, RefusesWithAStatusAndItsReasons) {
    sorteio::Request excluding = csv_request("1");
    excluding.exclude = "Caio";
    sorteio::Request bad_list = csv_request("1");
    bad_list.exclude = "Bia\n\xff";
    sorteio::Request no_count;
    no_count.columns.name = "nome";
    sorteio::Request lines;
    lines.format = sorteio::Request::Format::lines;
    const Refusal refusals[] = {
        {"not_text",
         "nome\n\xff",
         csv_request("1"),
         1,
         {"linha 2: texto que não é UTF-8: '\\377'"}},
        {"bad_count", "nome\nAna\n", csv_request("47.813"), 1, {"n inválido: '47.813'"}},
        {"negative_count",
         "nome\nAna\n",
         csv_request("-3"),
         2,
         {"n deve ser maior ou igual a zero"}},
        {"no_count", "nome\nAna\n", no_count, 2, {"falta n: numa tabela, n não vem na entrada"}},
        {"no_count_in_lines", "\n\n", lines, 1, {"n ausente"}},
        {"nobody", "nome\n\n", csv_request("1"), 1, {"A lista esta vazia"}},
        {"exclusion_of_nobody",
         "nome\nAna\n",
         excluding,
         1,
         {"lista de exclusão, linha 1: 'Caio' não está entre os inscritos"}},
        {"exclusion_not_text",
         "nome\nBia\n",
         bad_list,
         1,
         {"lista de exclusão, linha 2: texto que não é UTF-8: '\\377'"}},
        {"everyone_excluded", "nome\nCaio\n", excluding, 1, {"A lista esta vazia"}},
    };
    for (const Refusal& refusal : refusals) {
        sorteio::Result const result = sorteio::run(refusal.file, refusal.request);
        EXPECT_EQ(result.status, refusal.status) << refusal.name;
        EXPECT_EQ(result.messages, refusal.messages) << refusal.name;
    }
}

TEST(DrawMinutes, TellWhatWasDrawnAndHowToCheckIt) {
    Roster const roster = roster_of({{"", "Ana"}, {"7", "Bia 'B'"}, {"", "Caio"}});
    sorteio::Record record;
    record.program = "countoff (listaenc) 9.9";
    record.date = "2026-12-09 10:00:00 UTC";
    record.command = "countoff --coluna nome --semente 'a b'";
    record.sha256 = std::string(64, 'f');
    record.input_name = "-";
    record.excluded = 2;
    record.n = 5;
    record.seed = "a b";
    record.sorted = true;
    record.prizes = 2;
    EXPECT_EQ(sorteio::minutes(record, roster, {0, 2, 1}),
              "ATA DO SORTEIO\n\n"
              "Programa: countoff (listaenc) 9.9\n"
              "Data: 2026-12-09 10:00:00 UTC\n"
              "Comando: countoff --coluna nome --semente 'a b'\n"
              "SHA-256 da lista de inscritos (como o sha256sum o escreve):\n"
              "  " +
                  std::string(64, 'f') +
                  "  -\n"
                  "Inscritos no sorteio: 3\n"
                  "Deixados de fora pela lista de exclusão: 2\n"
                  "Ordem da roda: a dos nomes em NFC, byte a byte\n"
                  "n: 5\n"
                  "n veio do texto público 'a b':\n"
                  "  os 8 primeiros algarismos hexadecimais do seu SHA-256, sem o bit mais alto;\n"
                  "  confira com: printf %s 'a b' | sha256sum\n"
                  "\n"
                  "Vencedor: 'Bia \\'B\\'', id '7', posição 11\n"
                  "Prêmio 2: 'Caio', posição 12\n");
}

} // namespace

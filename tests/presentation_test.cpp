// SPDX-License-Identifier: MIT
// What the presentations say, caught by a Lines of the test's own: the roster
// line as the list prints it, and the table's quoting of every kind of name.
#include "presentation.h"

#include "counting.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Caught final : Lines {
    std::vector<std::string> lines;
    void line(std::initializer_list<std::string_view> pieces) override {
        std::string& text = lines.emplace_back();
        for (std::string_view const piece : pieces) {
            text += piece;
        }
    }
    void roster(const ListaEnc& roster) override { append_roster(lines.emplace_back(), roster); }
};

ListaEnc roster_of(const std::vector<std::string>& names) {
    ListaEnc roster;
    for (const std::string& name : names) {
        roster.inserir(0, name);
    }
    return roster;
}

TEST(AppendRoster, MakesTheLineThatTheListPrints) {
    for (std::size_t size : {1, 9, 10, 11, 100, 1001}) {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < size; ++i) {
            names.push_back(i % 3 == 0 ? "Maria da Silva" : std::string(i % 17, 'x'));
        }
        ListaEnc const roster = roster_of(names);
        std::ostringstream printed;
        std::streambuf* const out = std::cout.rdbuf(printed.rdbuf());
        roster.ExibirInfo();
        std::cout.rdbuf(out);
        std::string made;
        append_roster(made, roster);
        EXPECT_EQ(made + '\n', printed.str()) << size << " soldiers";
    }
}

TEST(Transcript, SaysTheGameInItsOrder) {
    ListaEnc roster = roster_of({"alfa", "beta", "gama"});
    Caught caught;
    Transcript transcript(caught, {});
    transcript.asking_count();
    transcript.asking_names();
    transcript.first_roster(roster);
    auto gama = roster.erase_after(std::next(roster.begin()));
    transcript.removed(roster, {*gama, 3}, 1, true);
    auto alfa = roster.erase_after(std::next(roster.begin()));
    transcript.removed(roster, {*alfa, 1}, 2, false);
    transcript.won({roster.front(), 2});
    std::vector<std::string> const expected = {
        "\n\t Entre com n ( > 0): ",
        "\t Nome dos soldados(ctrl+d para encerrar):",
        std::string(66, '-'),
        "Os soldados sao:",
        "  1.alfa  2.beta  3.gama ",
        " O soldado que iniciara a contagem sera: alfa",
        std::string(66, '-'),
        "\tO Soldado removido foi: gama",
        "Os soldados restantes sao:",
        std::string(66, '-'),
        "  1.alfa  2.beta ",
        std::string(66, '-'),
        "\tO soldado alfa iniciara a contagem",
        "\tO Soldado removido foi: alfa",
        std::string(52, '*'),
        "\tO vencedor e o Soldado beta",
        std::string(52, '*'),
        "\nJogo terminado...",
    };
    EXPECT_EQ(caught.lines, expected);
}

// The summed-up game of the draw's roster says, line for line, what the
// Transcript says of the game played on the list, duplicate names and long
// rosters included.
TEST(Summarize, SaysWhatTheTranscriptSaysOfTheGameOnTheList) {
    for (std::size_t size : {1, 2, 3, 7, 64, 65, 300}) {
        for (std::uint32_t n : {0U, 1U, 2U, 5U, 1000U, 2147483647U}) {
            std::vector<std::string> names;
            sorteio::Roster compact;
            std::string words;
            for (std::size_t i = 0; i < size; ++i) {
                names.push_back(i % 4 == 1 ? "ana" : "s" + std::to_string(i * 7919 % 1000));
                words += names.back() + " ";
            }
            sorteio::read_words(words, compact);

            ListaEnc roster = roster_of(names);
            Caught caught;
            Transcript transcript(caught, {true, false, false, default_width});
            transcript.first_roster(roster);
            Counting counting(roster, n);
            for (std::size_t order = 1; counting.standing() > 1; ++order) {
                std::size_t const place = counting.reached_place();
                const node& removed = counting.remove_reached();
                transcript.removed(roster, {removed, place + 1}, order, counting.standing() > 1);
            }
            transcript.won({roster.front(), 1});
            std::string expected;
            for (const std::string& line : caught.lines) {
                expected += line + '\n';
            }

            std::stringbuf said;
            summarize(said, compact, n);
            EXPECT_EQ(said.str(), expected) << size << " names, n = " << n;
        }
    }
}

} // namespace

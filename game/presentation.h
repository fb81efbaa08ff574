// SPDX-License-Identifier: MIT
// The seam between the game and what shows it. The game (countoff.cpp) plays
// and reports each event to one Presentation, chosen by the options; the
// Presentation says it, line by line, to Lines.
//
// The events, in the order of a game:
//   asking_count, asking_names      before the count and the names are read
//   counted                         the count, when it is sound
//   nobody                          there were no names: the game ends
//   first_roster                    the circle as read; the count starts at
//                                   its first soldier
//   then, for each removal:
//     passing                       each soldier that the count passes,
//                                   when follows_count() answers true: n
//                                   steps, or with many laps, the first, one
//                                   step for the whole laps, then the rest
//     removed                       the soldier that the count reached
//   won                             the soldier left
// A removal's soldier is unlinked from the roster already, and its `next` is
// the soldier at which the next count starts; it stays valid until the game
// ends. The roster that an event is given is the circle at that moment. An
// element keeps its address for the whole game, so that a presentation may
// know a soldier by it (to find its number in the first roster, say).
//
// A presentation that shows each step apart (a page, say) can keep a
// Transcript of its own over a Lines that catches what it says, and take
// after each event the lines of that step, exactly as the text prints them.
#ifndef LISTAENC_GAME_PRESENTATION_H
#define LISTAENC_GAME_PRESENTATION_H

#include "draw.h"
#include "drawing.h"
#include "listaenccircular.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <streambuf>
#include <string>
#include <string_view>

// A soldier as the game reports it: the element, and its number in the first
// roster, from 1 (what "Os soldados sao:" prints before its name), which
// tells apart two soldiers of the same name.
struct Soldier {
    const node& element;
    std::size_t number;
};

// A step of a count, as passing() is told it: step k of the count's n
// steps, and when the step passes whole laps at once, how many.
struct Passed {
    std::size_t step;
    std::size_t steps;
    std::size_t laps = 0;
};

class Presentation {
public:
    virtual ~Presentation() = default;

    virtual void asking_count() = 0;
    virtual void asking_names() = 0;
    // The count n, once read and found sound, before the names are read.
    virtual void counted(std::size_t /*n*/) {}
    // Throws: what the presentation throws to end the game (the transcript
    //   makes and throws ListUnderflowException, which says so).
    virtual void nobody() = 0;
    // How many soldiers the presentation shows: the game reads one more at
    // most, and first_roster() refuses a roster of more.
    virtual std::size_t most_soldiers() const noexcept { return SIZE_MAX - 1; }
    virtual void first_roster(const ListaEnc& roster) = 0;
    // Whether the presentation is told each step of each count.
    virtual bool follows_count() const noexcept { return false; }
    // The count stands on `soldier` after this step of it (shown_step() in
    // counting.h says which steps are told).
    virtual void passing(const ListaEnc& /*roster*/, const node& /*soldier*/, Passed /*step*/) {}
    // The `order`th removal (from 1); `more` is whether more than one
    // soldier still stands, so that the count goes on.
    virtual void removed(const ListaEnc& roster, Soldier soldier, std::size_t order, bool more) = 0;
    virtual void won(Soldier winner) = 0;
};

// Where a presentation's lines go.
class Lines {
public:
    virtual ~Lines() = default;
    // One line made of these pieces, without its end of line.
    virtual void line(std::initializer_list<std::string_view> pieces) = 0;
    // The numbered roster line that ListaEnc::ExibirInfo prints
    //   ("  1.alfa  2.beta "); append_roster() makes it as text.
    virtual void roster(const ListaEnc& roster) = 0;
};

// Appends to `text` the numbered roster line that ListaEnc::ExibirInfo
// prints, without its end of line.
void append_roster(std::string& text, const ListaEnc& roster);

// Standard output: each line formatted whole, then written with one call,
// which is the flush. The roster line is the list's own ExibirInfo.
class StandardOutput final : public Lines {
public:
    void line(std::initializer_list<std::string_view> pieces) override;
    void roster(const ListaEnc& roster) override;

private:
    void send();
    std::string text_;
};

// The game as text: the whole game, or summed up (no circle after a
// removal), with the drawings of the circle after the first roster and each
// removal, and of each step of each count.
class Transcript final : public Presentation {
public:
    struct Options {
        bool summary = false;              // --resumo
        bool drawings = false;             // --desenho
        bool steps = false;                // --passo, with the drawings
        std::size_t width = default_width; // of the drawings (--largura)
        bool follows_terminal = false;     // the width, after a resize (watch_width())
    };
    Transcript(Lines& out, Options options) : out_(out), options_(options) {}

    void asking_count() override;
    void asking_names() override;
    void nobody() override;
    void first_roster(const ListaEnc& roster) override;
    bool follows_count() const noexcept override { return options_.steps; }
    void passing(const ListaEnc& roster, const node& soldier, Passed step) override;
    void removed(const ListaEnc& roster, Soldier soldier, std::size_t order, bool more) override;
    void won(Soldier winner) override;

private:
    // The width of the drawings, read again after the terminal was resized.
    std::size_t width() {
        if (options_.follows_terminal) {
            options_.width = resized_width(options_.width);
        }
        return options_.width;
    }

    Lines& out_;
    Options options_;
};

// The summed-up game (--resumo, without drawings) of a roster that the
// draw's core holds, with the count n, from the first roster to its last
// line: the lines that a Transcript says of the same game on the list, each
// written to `out` with one call and flushed, from far less memory (the
// names once, and a few bytes each). Requires: the roster has an entrant.
void summarize(std::streambuf& out, const sorteio::Roster& roster, std::uint32_t n);

#endif

// SPDX-License-Identifier: MIT
// The game as a page (--html): the first roster, then each removal (and,
// following the count, each soldier that it passes), then the winner, each a
// step with the soldiers on their ring and the lines that the transcript
// prints for it, the drawings' lines aside. The page is written as the game
// goes; it begins with the first roster, so that a game that is not played
// writes none.
#ifndef LISTAENC_GAME_ON_PAGE_H
#define LISTAENC_GAME_ON_PAGE_H

#include "page.h"
#include "presentation.h"
#include "ring.h"

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// Thrown when the game is too large for a page, once standard error says
// so: by first_roster() when it has too many soldiers or steps, and by any
// step that would take the page past its bound of bytes, once the page has
// ended with a step that says so. The run ends there.
struct TooLargeForAPage {};

class PageGame final : public Presentation {
public:
    // A page draws the ring of up to this many soldiers, and has up to this
    // many steps when it follows the count.
    static constexpr std::size_t most_soldiers_on_a_page = Page::most_drawn;
    static constexpr std::size_t most_steps = 20'000;

    // Effects: the page goes to `out` when the first roster comes;
    //   `summary` leaves out the circle after each removal, as --resumo.
    PageGame(std::ostream& out, bool summary, bool follow_count)
        : out_(out), transcript_(caught_, {summary, false, false}), follow_(follow_count) {}

    void asking_count() override { transcript_.asking_count(); }
    void asking_names() override { transcript_.asking_names(); }
    void counted(std::size_t n) override { n_ = n; }
    // Effects: says on standard error that there were no names.
    void nobody() override;
    std::size_t most_soldiers() const noexcept override { return most_soldiers_on_a_page; }
    // Throws (each step): TooLargeForAPage.
    void first_roster(const ListaEnc& roster) override;
    bool follows_count() const noexcept override { return follow_; }
    void passing(const ListaEnc& roster, const node& soldier, Passed step) override;
    void removed(const ListaEnc& roster, Soldier soldier, std::size_t order, bool more) override;
    void won(Soldier winner) override;

private:
    // The lines that the transcript says, kept as the text prints them.
    class Caught final : public Lines {
    public:
        void line(std::initializer_list<std::string_view> pieces) override;
        void roster(const ListaEnc& roster) override;
        std::vector<std::string> lines;
    };

    void step(PageStep step);

    std::ostream& out_;
    Caught caught_;
    Transcript transcript_;
    bool follow_;
    std::size_t n_ = 0;
    std::optional<Page> page_;
    Ring ring_;
    std::unordered_map<const node*, int> places_; // each soldier's place in the ring
    std::size_t removals_ = 0;
    bool counting_ = false; // whether the count has passed a soldier since the last removal
};

#endif

// SPDX-License-Identifier: MIT
#include "on_page.h"

#include "counting.h"

#include "format.h"
#include "program.h"

namespace {

constexpr std::string_view nobody_here = "countoff: A lista esta vazia";
constexpr std::string_view too_many =
    "countoff: --html desenha até {} soldados; a entrada tem mais";
constexpr std::string_view too_long =
    "countoff: --html --passo mostra até {} passos; este jogo teria {}";
constexpr std::string_view too_large =
    "countoff: a página chegou ao limite de 256 MiB; o resto do jogo não está nela";
constexpr std::string_view too_large_line =
    "A página chegou ao limite de 256 MiB; o resto do jogo não está nela.";
constexpr std::string_view first_heading = "primeira lista";
constexpr std::string_view removal_heading = "remoção ";
constexpr std::string_view count_step = ": passo {}";
constexpr std::string_view count_steps = " de {}";
constexpr std::string_view count_rest = " da contagem";
constexpr std::string_view count_laps = " (mais {} voltas inteiras)";
constexpr std::string_view winner_heading = "vencedor";

// The steps of a page that follows the count: the first roster, each
// soldier that each count passes, each removal and the winner.
std::size_t page_steps(std::size_t soldiers, std::size_t n) {
    std::size_t steps = soldiers + 1;
    for (std::size_t standing = soldiers; standing > 1; --standing) {
        steps += shown_steps(n, standing);
    }
    return steps;
}

} // namespace

void PageGame::Caught::line(std::initializer_list<std::string_view> pieces) {
    std::string text;
    for (std::string_view const piece : pieces) {
        text += piece;
    }
    // A text with a newline in it prints as two lines.
    for (std::size_t end; (end = text.find('\n')) != std::string::npos;) {
        lines.push_back(text.substr(0, end));
        text.erase(0, end + 1);
    }
    lines.push_back(std::move(text));
}

void PageGame::Caught::roster(const ListaEnc& roster) {
    append_roster(lines.emplace_back(), roster);
}

void PageGame::nobody() { complain(nobody_here); }

void PageGame::first_roster(const ListaEnc& roster) {
    std::size_t const soldiers = roster.size();
    if (soldiers > most_soldiers_on_a_page) {
        complain(filled(too_many, most_soldiers_on_a_page));
        throw TooLargeForAPage{};
    }
    if (follow_) {
        if (std::size_t const steps = page_steps(soldiers, n_); steps > most_steps) {
            complain(filled(too_long, most_steps, steps));
            throw TooLargeForAPage{};
        }
    }
    transcript_.first_roster(roster);
    for (const node& soldier : roster) {
        places_.emplace(&soldier, static_cast<int>(ring_.names.size()));
        ring_.names.push_back(soldier.info);
    }
    ring_.count = 0;
    page_.emplace(out_, filled("countoff: {} soldados, n = {}", soldiers, n_));
    step({first_heading});
}

void PageGame::passing(const ListaEnc& /*roster*/, const node& soldier, Passed step) {
    ring_.count = places_.at(&soldier);
    ring_.removing = false;
    // The count and the removal that it reaches are one operation.
    std::string const heading =
        std::string(removal_heading) + decimal(removals_ + 1) + filled(count_step, step.step);
    std::string const progress = filled(count_steps, step.steps);
    std::string rest(count_rest);
    if (step.laps != 0) {
        rest += filled(count_laps, step.laps);
    }
    this->step({heading, progress, rest, {}, {}, 0, !counting_});
    counting_ = true;
}

void PageGame::removed(const ListaEnc& roster, Soldier soldier, std::size_t order, bool more) {
    transcript_.removed(roster, soldier, order, more);
    removals_ = order;
    ring_.removed.push_back(static_cast<int>(soldier.number - 1));
    ring_.removing = true;
    ring_.count = more ? places_.at(soldier.element.next) : Ring::none;
    std::string const heading = std::string(removal_heading) + decimal(order);
    step({heading, {}, {}, {}, {}, 0, !counting_});
    counting_ = false;
}

void PageGame::won(Soldier winner) {
    transcript_.won(winner);
    ring_.winner = static_cast<int>(winner.number - 1);
    ring_.count = Ring::none;
    ring_.removing = false;
    step({winner_heading});
    page_->finish();
}

void PageGame::step(PageStep step) {
    step.lines = caught_.lines;
    std::size_t const count = ring_.names.size();
    page_->step(step, page_->draws(count) ? picture(ring_) : std::string(), count, "soldados");
    if (page_->full()) {
        // The page ends where it was cut, and so does the run.
        complain(too_large);
        page_->cut("corte", too_large_line);
        page_->finish();
        throw TooLargeForAPage{};
    }
    caught_.lines.clear();
}

// SPDX-License-Identifier: MIT
#include "presentation.h"

#include "drawing.h"
#include "program.h"

#include <algorithm>
#include <array>
#include <iostream>
#include <optional>
#include <vector>

namespace {

// The game's texts.
constexpr std::string_view prompt_for_n = "\n\t Entre com n ( > 0): ";
constexpr std::string_view prompt_for_names = "\t Nome dos soldados(ctrl+d para encerrar):";
constexpr std::string_view dash_line =
    "------------------------------------------------------------------";
constexpr std::string_view roster_title = "Os soldados sao:";
constexpr std::string_view first_counter = " O soldado que iniciara a contagem sera: ";
constexpr std::string_view removal = "\tO Soldado removido foi: ";
constexpr std::string_view remaining_title = "Os soldados restantes sao:";
constexpr std::string_view next_counter = "\tO soldado ";
constexpr std::string_view next_counter_end = " iniciara a contagem";
constexpr std::string_view star_line = "****************************************************";
constexpr std::string_view winner_title = "\tO vencedor e o Soldado ";
constexpr std::string_view game_over = "\nJogo terminado...";
// The drawings' texts.
constexpr std::string_view counting_mark = "contagem";
constexpr std::string_view removed_mark = "removido";
constexpr std::string_view step_of = ": passo ";
constexpr std::string_view step_between = " de ";
constexpr std::string_view step_of_end = " da contagem";
constexpr std::string_view laps_before = ":   mais ";
constexpr std::string_view laps = " voltas inteiras";

// A number in decimal, in a buffer of its own, written from its last digit
// two at a time.
class Decimal {
public:
    explicit Decimal(std::size_t value) noexcept {
        constexpr std::string_view pairs = "00010203040506070809101112131415161718192021222324"
                                           "25262728293031323334353637383940414243444546474849"
                                           "50515253545556575859606162636465666768697071727374"
                                           "75767778798081828384858687888990919293949596979899";
        while (value >= 10) {
            first_ -= 2;
            std::copy_n(pairs.data() + 2 * (value % 100), 2, digits_.data() + first_);
            value /= 100;
        }
        if (value > 0 || first_ == digits_.size()) {
            digits_[--first_] = static_cast<char>('0' + value);
        }
    }
    operator std::string_view() const noexcept {
        return {digits_.data() + first_, digits_.size() - first_};
    }

private:
    std::array<char, 20> digits_; // the most digits of a std::size_t
    std::size_t first_ = digits_.size();
};

void say_drawing(Lines& out, std::size_t width, const ListaEnc& roster,
                 std::initializer_list<Mark> marks, std::optional<Mark> unlinked = std::nullopt) {
    for (const std::string& line : draw(roster, marks, unlinked, width)) {
        out.line({line});
    }
}

} // namespace

void append_roster(std::string& text, const ListaEnc& roster) {
    text += ' ';
    std::size_t number = 0;
    for (const node& soldier : roster) {
        text += ' ';
        text += Decimal(++number);
        text += '.';
        text += soldier.info;
        text += ' ';
    }
}

void StandardOutput::send() {
    text_ += '\n';
    std::streambuf& out = *std::cout.rdbuf();
    out.sputn(text_.data(), static_cast<std::streamsize>(text_.size()));
    out.pubsync();
}

void StandardOutput::line(std::initializer_list<std::string_view> pieces) {
    text_.clear();
    for (std::string_view const piece : pieces) {
        text_ += piece;
    }
    send();
}

void StandardOutput::roster(const ListaEnc& roster) { roster.ExibirInfo(); }

void Transcript::asking_count() { out_.line({prompt_for_n}); }

void Transcript::asking_names() { out_.line({prompt_for_names}); }

void Transcript::nobody() { throw ListUnderflowException(); }

void Transcript::first_roster(const ListaEnc& roster) {
    out_.line({dash_line});
    out_.line({roster_title});
    out_.roster(roster);
    out_.line({first_counter, roster.front().info});
    if (options_.drawings) {
        say_drawing(out_, width(), roster, {{&roster.front(), counting_mark}});
    }
    out_.line({dash_line});
}

void Transcript::passing(const ListaEnc& roster, const node& soldier, Passed passed) {
    out_.line({step_of, Decimal(passed.step), step_between, Decimal(passed.steps), step_of_end});
    if (passed.laps != 0) {
        out_.line({laps_before, Decimal(passed.laps), laps});
    }
    say_drawing(out_, width(), roster, {{&soldier, counting_mark}});
}

void Transcript::removed(const ListaEnc& roster, Soldier soldier, std::size_t /*order*/,
                         bool more) {
    const node& removed = soldier.element;
    out_.line({removal, removed.info});
    if (options_.drawings) {
        say_drawing(out_, width(), roster, {{removed.next, counting_mark}},
                    Mark{&removed, removed_mark});
    }
    if (!more) {
        return;
    }
    if (!options_.summary) {
        out_.line({remaining_title});
        out_.line({dash_line});
        out_.roster(roster);
        out_.line({dash_line});
    }
    out_.line({next_counter, removed.next->info, next_counter_end});
}

void Transcript::won(Soldier winner) {
    out_.line({star_line});
    out_.line({winner_title, winner.element.info});
    out_.line({star_line});
    out_.line({game_over});
}

void summarize(std::streambuf& out, const sorteio::Roster& roster, std::uint32_t n) {
    std::string line;
    auto const send = [&out, &line] {
        line += '\n';
        out.sputn(line.data(), static_cast<std::streamsize>(line.size()));
        out.pubsync();
        line.clear();
    };
    auto const say = [&](std::initializer_list<std::string_view> pieces) {
        for (std::string_view const piece : pieces) {
            line += piece;
        }
        send();
    };
    say({dash_line});
    say({roster_title});
    {
        std::size_t size = 2;
        for (const sorteio::Entrant& entrant : roster.entrants) {
            size += entrant.name_size + 23;
        }
        std::string whole;
        whole.reserve(size);
        whole += ' ';
        for (std::size_t i = 0; i < roster.size(); ++i) {
            whole += ' ';
            whole += Decimal(i + 1);
            whole += '.';
            whole += roster.name(i);
            whole += ' ';
        }
        line.swap(whole);
        send(); // the longest line, let go of before the count starts
    }
    line.shrink_to_fit();
    say({first_counter, roster.name(0)});
    say({dash_line});
    // The removals are found two ahead of the lines that name them: the
    // entrants of the one after next, and the names of the next, are on
    // their way to the cache while a removal is written.
    struct Removal {
        std::uint32_t removed;
        std::uint32_t next; // where the count starts again, when one stands
        bool more;
    };
    sorteio::Circle circle(roster.size(), n);
    auto const ahead = [&circle, &roster] {
        Removal removal{circle.remove(), 0, circle.standing() > 1};
        removal.next = removal.more ? circle.start() : removal.removed;
        __builtin_prefetch(&roster.entrants[removal.removed]);
        __builtin_prefetch(&roster.entrants[removal.next]);
        return removal;
    };
    auto const names_of = [&roster](const Removal& removal) {
        __builtin_prefetch(roster.text.data() + roster.entrants[removal.removed].name);
        __builtin_prefetch(roster.text.data() + roster.entrants[removal.next].name);
    };
    std::array<Removal, 2> coming{};
    std::size_t found = 0;
    for (; found < 2 && circle.standing() > 1; ++found) {
        coming[found] = ahead();
    }
    for (std::size_t said = 0; said < found; ++said) {
        const Removal now = coming[said % 2];
        if (said + 1 < found) {
            names_of(coming[(said + 1) % 2]);
        }
        if (circle.standing() > 1) {
            coming[said % 2] = ahead();
            ++found;
        }
        say({removal, roster.name(now.removed)});
        if (now.more) {
            say({next_counter, roster.name(now.next), next_counter_end});
        }
    }
    std::uint32_t const winner = circle.remove();
    say({star_line});
    say({winner_title, roster.name(winner)});
    say({star_line});
    say({game_over});
}

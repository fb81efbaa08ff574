// SPDX-License-Identifier: MIT
// The stepper: an Observer of the traced list that turns the typed steps of
// each operation into scenes, one a step, with the code that the step runs.
// The cursors of the operation are its labels: a helper's locals only while
// the helper runs, named with it, after a step that calls it; a cursor into
// memory released dangles. The elements made, unlinked or being released
// stand apart, above the gap they left, with their state ("novo", "removido",
// "liberado"); the link that the step changed is marked. What the list prints
// during a step is said after it. The program that called the operation may
// add steps of its own after it, such as the `delete` of what it was handed.
//
//     struct Shown final : Stepper::Sink { ... };
//     Shown shown;
//     Stepper stepper(shown);
//     list.observe(&stepper);
//     stepper.command();          // before each operation that is shown
//     list.remover(30);
//     std::size_t const last = stepper.finish(); // shown() for each step kept
//
// Built with the traced demo build of the list only.
#ifndef LISTAENC_STEPPER_H
#define LISTAENC_STEPPER_H

#include "drawing.h"
#include "listaenccircular.h"
#include "scene.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

class Stepper final : public Observer {
public:
    // What an element out of the circle is, once an operation let it go:
    // handed over to the caller, or released by the list.
    static constexpr std::string_view made = "novo";
    static constexpr std::string_view removed = "removido";
    static constexpr std::string_view released = "liberado";

    // One step: what memory holds after it, and the code that made it.
    struct Shot {
        Scene scene;
        std::string code;
        // For a test, its answer ("  (sim)", "  (não)"); for a link given the
        // value it had, "  (sem mudança)"; else empty.
        std::string_view outcome;
        // The function's code and the line that the step runs (0: none).
        std::span<const std::string> listing;
        std::size_t line = 0;
        // Whose code that is, and for a helper, the function that called it.
        std::string_view function;
        std::string_view caller;
        // What was printed or said right after the step; notes marked.
        std::vector<std::pair<std::string, bool>> printed;
    };

    // Where the shots go.
    class Sink {
    public:
        // The list has just printed `text` (whole lines, each with its end)
        // during a step. Returns: whether the sink gave it back, to be said
        // after the step instead.
        virtual bool printed(std::string_view text) = 0;
        // Shows `shot`, the step `number` (from 1) of `count` (0: not known
        // yet), and then what it printed.
        virtual void shown(const Shot& shot, std::size_t number, std::size_t count) = 0;

    protected:
        ~Sink() = default;
    };

    // `sink` must outlive the stepper.
    explicit Stepper(Sink& sink) : sink_(sink) {}

    void step(const ListaEnc& list, const Step& step) override;
    // Effects: a step of the program that called the operation, after it
    //   returned, as the list would tell it (declare, release), shown with
    //   the program's code `listing` and its line `line` there (from 1).
    void program_step(const ListaEnc& list, const Step& step, std::span<const std::string> listing,
                      std::size_t line);

    // Effects: the next operation's steps start anew.
    void command();
    // Effects: keeps `line` (a note, with `note`) to be said after the last
    //   step kept, which produced it. Returns: false, and keeps nothing,
    //   when no step is kept.
    bool after_last(std::string_view line, bool note);
    // Effects: shows the steps kept, numbered. Returns: the number of the
    //   step after them, the drawing after the operation, which is the last.
    std::size_t finish();

private:
    // A cursor of the operation: a local, and the element it points to.
    struct Cursor {
        std::string_view name;
        const node* element;
        int depth = 0;               // of the function whose local it is
        std::string_view frame = {}; // that function, when it is a helper
    };
    // A step that calls a helper, whose line is known only at the caller's
    // next step, which takes the helper's answer on that line.
    struct Pending {
        std::size_t shot;  // its index in shots_
        std::size_t flush; // flushes_ when it was kept
        int depth;         // of the caller
        std::string_view helper;
    };

    void learn_header(const Step& step);
    void step_shot(const ListaEnc& list, const Step& step);
    void start(const ListaEnc& list);
    Apart stood(const node* element, std::string_view label) const;
    void point(const Step& step);
    void called(const Step& step);
    std::string_view caller_at(int depth) const;
    void forget(const node* element);
    void flush_over(std::size_t count);

    Sink& sink_;
    std::vector<Cursor> cursors_;
    std::vector<Apart> apart_;
    std::vector<const node*> released_;
    std::unordered_set<const node*> firsts_; // the elements that were first
    std::vector<const node*> let_go_;        // what links pointed to before they changed
    const node* header_ = nullptr;
    std::vector<Shot> shots_;
    static constexpr std::size_t most_held = 100'000; // elements in the scenes kept
    std::size_t held_ = 0;
    std::size_t shown_ = 0; // steps shown before the operation ended
    std::vector<Pending> pending_;
    std::vector<std::string_view> calls_; // the function at each depth of the calls
    std::size_t flushes_ = 0;             // of shots kept, each showing them all
    bool busy_ = false;                   // within step()
};

#endif

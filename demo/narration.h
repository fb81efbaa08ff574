// SPDX-License-Identifier: MIT
// How listdemo shows what it does: the interpreter tells one Presentation
// each line it says and each drawing of the list, in the order they come,
// and the presentation shows them: as text on standard output here, or as
// a page. The list's own lines (ExibirLista, PrintFirst, the exceptions'
// messages) come as lines said, where they were printed; each command's
// between its begin() and its end().
#ifndef LISTAENC_NARRATION_H
#define LISTAENC_NARRATION_H

#include "scene.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// A drawing of the list: after a command, or after one step of an operation.
struct Frame {
    const Scene& scene;
    // For a step: the command as it was given ("inserir 20"), the step's
    // number from 1 and the steps of the operation (0 when not known yet: an
    // operation on a long list shows its steps as they come), and the step
    // in the code's words ("atual = atual->next"); for the drawing after a
    // command, step is 0.
    std::string_view operation = {};
    std::size_t step = 0;
    std::size_t steps = 0;
    std::string_view code = {};
    // For a step that compares, its answer as the text shows it after the
    // code ("  (sim)"); empty otherwise.
    std::string_view outcome = {};
    // For a step that runs a line of the list's code: the function that
    // runs it (the operation or a helper of it), every line as the code
    // reads, and which of them the step runs, from 1; empty and 0 for the
    // drawing after a command and for a step without a line.
    std::span<const std::string> listing = {};
    std::size_t line = 0;
    // Whose code `listing` is ("inserir", "unlink_after"), and, when that is
    // a helper, the function that called it ("remover"); else empty.
    std::string_view function = {};
    std::string_view caller = {};
};

// Returns: whose code a frame shows, as its listing is titled: "código de
//   inserir", or, for a helper, "código de unlink_after, chamada por
//   remover"; empty when it shows none.
inline std::string code_title(const Frame& frame) {
    if (frame.listing.empty() || frame.function.empty()) {
        return {};
    }
    std::string title = "código de ";
    title.append(frame.function);
    if (!frame.caller.empty()) {
        title.append(", chamada por ").append(frame.caller);
    }
    return title;
}

class Presentation {
public:
    // A line of the transcript: a narration, an answer ("sim").
    virtual void say(std::string_view line) = 0;
    // A line that sessions and drawings show and the script's transcript
    // does not: that a command found nothing.
    virtual void note(std::string_view line) = 0;
    virtual void draw(const Frame& frame) = 0;
    // A command, as the steps of its operation name it ("inserir 20"),
    // starts and ends; what is said and drawn between belongs to it.
    virtual void begin(std::string_view /*command*/) {}
    virtual void end() {}
    // Whether it shows no more: a session then reads no further line.
    virtual bool full() const { return false; }

protected:
    ~Presentation() = default;
};

#endif

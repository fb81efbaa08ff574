// SPDX-License-Identifier: MIT
// A page of steps: one HTML file, whole in itself, that a browser opens from
// a file and a class follows step by step. Each step has its number, its
// heading, the lines that the program prints for it and a picture: a list as
// memory holds it (a Scene) or the soldiers of a game on their ring (a Ring).
// The page loads nothing: its style and its script are in it, its fonts are
// the system's. Its script shows one step at a time, steps with the arrow
// keys, Home, End and buttons, keeps the step in the address (#passo=N), and
// hides a picture until it is revealed, for a class to predict it; printed,
// it is every step, several to an A4 sheet, legible in black and white.
//
// The page is written as the steps come, each step in one write, and holds
// nothing of them: what it keeps between steps is a few counters.
#ifndef LISTAENC_PAGE_H
#define LISTAENC_PAGE_H

#include "scene.h"

#include <cstddef>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The soldiers of a game at one moment, drawn on a ring in roster order:
// each with its name (up to 64 soldiers; past that, as dots) and its place,
// the removed ones taken out of the ring with the order of their removal.
struct Ring {
    static constexpr int none = -1;

    // Each soldier's name, by place in the first roster: names[0] is the
    // soldier that the roster numbers 1.
    std::vector<std::string> names;
    // The places (indices into `names`) of the soldiers removed so far, in
    // the order of their removal. The others still stand.
    std::vector<int> removed;
    int count = none;      // the soldier at which the count stands
    bool removing = false; // whether the last of `removed` left at this step
    int winner = none;     // the soldier who won, at the end
};

// What a step of a page says beside its picture.
struct PageStep {
    // The heading: what the step does, never what comes of it. `progress`
    // ("de 64", after "passo 16"), between `heading` and `rest`, tells how
    // many steps the operation takes: a class that predicts does not see it.
    std::string_view heading;
    std::string_view progress = {};
    std::string_view rest = {};
    // The lines that the text prints for the step, one a line (a newline or
    // a tab in one is kept).
    std::span<const std::string> lines = {};
    // The operation's code, every line, and the line that the step runs,
    // from 1 (0 for none): shown beside the picture, that line marked.
    std::span<const std::string> code = {};
    std::size_t line = 0;
    // Whether the step begins an operation (the steps of one operation keep
    // the places of their elements; PageDown goes to the next that begins).
    bool begins = true;
};

class Page {
public:
    // A picture draws up to this many elements or soldiers; one of more is
    // not drawn, and its step says so.
    static constexpr std::size_t most_drawn = 1000;
    // The pictures of a page take up to this many bytes together; the
    // pictures of the steps after that are not drawn, and each says so.
    static constexpr std::size_t picture_budget = std::size_t{64} << 20;
    // A page takes up to this many bytes, its beginning and end included: a
    // step that would take it past them is not written, and the page is
    // full from then on.
    static constexpr std::size_t most_bytes = std::size_t{256} << 20;

    // Effects: writes the beginning of the page, with `title` as its
    //   title, in one write, then the flush; so too finish() the end.
    // Throws: std::bad_alloc, and what `out` throws.
    Page(std::ostream& out, std::string_view title);
    Page(const Page&) = delete;
    Page& operator=(const Page&) = delete;

    // Effects: writes the next step of the page: its number (1 for the
    //   first), `heading`, `lines` as the text prints them, one a line (a
    //   newline or a tab in one is kept), and the picture of `scene` or of
    //   `ring`. Texts are taken as UTF-8 bytes: a byte that is not UTF-8
    //   shows as U+FFFD, any other control byte as its picture (U+2400...),
    //   what a terminal escapes (hidden() in text.h: the bidirectional
    //   marks, overrides and isolates, the other format characters, the
    //   spaces but the ASCII one) as its code point set apart
    //   ("‹U+202E›" in an element of class "escape"), and markup as
    //   text. While a class predicts, the heading alone is in
    //   view: it says what the step does, never what comes of it.
    //   The step leaves in one write to `out`, then the flush.
    // Throws: std::bad_alloc, and what `out` throws.
    void step(const PageStep& step, const Scene& scene);
    void step(const PageStep& step, const Ring& ring);
    // The same, for a step that is an operation of its own.
    void step(std::string_view heading, std::span<const std::string> lines, const Scene& scene) {
        step(PageStep{heading, {}, {}, lines}, scene);
    }
    void step(std::string_view heading, std::span<const std::string> lines, const Ring& ring) {
        step(PageStep{heading, {}, {}, lines}, ring);
    }

    // Effects: writes the end of the page, with its script; the page is
    //   whole from then on. Steps after it are not written.
    // Throws: std::bad_alloc, and what `out` throws.
    void finish();

    // Effects: writes a last step without a picture that says, in `line`,
    //   why the page ends there, full or not (the page keeps room for it
    //   and for its end: up to 4 KiB of `heading` and `line` each).
    // Throws: std::bad_alloc, and what `out` throws.
    void cut(std::string_view heading, std::string_view line);

    // The number of steps written so far.
    std::size_t steps() const { return steps_; }
    // Whether a step was not written for the bound of bytes.
    bool full() const { return full_; }

private:
    void write_step(const PageStep& step, std::string_view picture, std::size_t drawn,
                    std::string_view what, bool whatever_its_size = false);
    void write_buffer();
    // Where each element of `scene` stands: the place that it had in the
    // operation's step before, found by its key, text and link.
    std::vector<int> places(const Scene& scene, bool begins);

    struct Placed {
        int key;
        std::string info;
        bool cut;
        int next; // the index in `placed_` of the element that its `next` names, or -1
        int place;
    };

    std::ostream& out_;
    std::size_t steps_ = 0;
    std::size_t picture_bytes_ = 0;
    bool finished_ = false;
    bool full_ = false;
    std::size_t written_ = 0; // bytes
    std::string buffer_;      // one step, formatted whole
    std::size_t operations_ = 0;
    std::vector<Placed> placed_; // the elements of the step before, in this operation
};

// The pictures, as SVG elements, a pure function of the state.
// Returns: the SVG of `scene` or `ring` (an <svg> element), without any
//   budget: callers check Page::most_drawn. The elements of a list stand
//   in rows of four, in walk order, or each at its place in `places` (from
//   0, as many as the elements), where a picture of the step before put it.
std::string picture(const Scene& scene, std::span<const int> places = {});
std::string picture(const Ring& ring);

// Returns: `text` as HTML text: UTF-8, markup and control bytes shown as
//   Page::step says, a newline kept.
std::string html_text(std::string_view text);

#endif

// SPDX-License-Identifier: MIT
// A page of steps: one HTML file, whole in itself, that a browser opens from
// a file and a class follows step by step. Each step has its number, its
// heading, the code that it runs with the line marked, the lines that the
// program prints for it and a picture, an SVG element: a list as memory holds
// it (view/svg.h) or the soldiers of a game on their ring (game/ring.h).
// The page loads nothing: its style and its script are in it, its fonts are
// the system's. Its script shows one step at a time, steps with the arrow
// keys, Home, End and buttons, goes from operation to operation with PageDown
// and PageUp, keeps the step in the address (#passo=N), draws every picture
// at one scale, its texts 12 pixels at least, and hides a picture until it
// is revealed, for a class to predict it; printed, it is every step, several
// to an A4 sheet, legible in black and white.
//
// The page is written as the steps come, each step in one write, and holds
// nothing of them: what it keeps between steps is a few counters.
#ifndef LISTAENC_PAGE_H
#define LISTAENC_PAGE_H

#include <cstddef>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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
    // Whose code `code` is, as its title says ("código de inserir", "código
    // de unlink_after, chamada por remover"); "código" when empty.
    std::string_view code_title = {};
};

// What a page takes at most: its bytes, its beginning and end included, and
// the bytes of its pictures together.
struct PageBounds {
    std::size_t bytes = std::size_t{256} << 20;
    std::size_t pictures = std::size_t{64} << 20;
};

class Page {
public:
    // A picture draws up to this many elements or soldiers; one of more is
    // not drawn, and its step says so.
    static constexpr std::size_t most_drawn = 1000;
    // The pictures of a page take up to this many bytes together; the
    // pictures of the steps after that are not drawn, and each says so.
    static constexpr std::size_t picture_budget = PageBounds{}.pictures;
    // A page takes up to this many bytes, its beginning and end included: a
    // step that would take it past them is not written, and the page is
    // full from then on.
    static constexpr std::size_t most_bytes = PageBounds{}.bytes;

    // Effects: writes the beginning of the page, with `title` as its
    //   title, in one write, then the flush; so too finish() the end. The
    //   page keeps to `bounds` (less than the bounds above only in tests).
    // Throws: std::bad_alloc, and what `out` throws.
    Page(std::ostream& out, std::string_view title, PageBounds bounds = {});
    Page(const Page&) = delete;
    Page& operator=(const Page&) = delete;

    // Effects: writes the next step of the page: its number (1 for the
    //   first), its heading, its lines as the text prints them, one a line (a
    //   newline or a tab in one is kept), its code with its line marked, and
    //   `picture`, an <svg> element; where that is empty, a sentence that
    //   says why `count` `what` ("elementos", "soldados") are not drawn. Texts are taken as UTF-8
    //   bytes: a byte that is not UTF-8 shows as U+FFFD, any other control byte as its picture
    //   (U+2400...), what a terminal escapes (hidden() in text.h: the bidirectional marks,
    //   overrides and isolates, the other format characters, the spaces but the ASCII one) as its
    //   code point set apart
    //   ("‹U+202E›" in an element of class "escape"), and markup as
    //   text. While a class predicts, the heading alone is in
    //   view: it says what the step does, never what comes of it.
    //   The step leaves in one write to `out`, then the flush.
    // Throws: std::bad_alloc, and what `out` throws.
    void step(const PageStep& step, std::string_view picture, std::size_t count,
              std::string_view what);
    // The same, for a step that is an operation of its own.
    void step(std::string_view heading, std::span<const std::string> lines,
              std::string_view picture, std::size_t count, std::string_view what) {
        step(PageStep{heading, {}, {}, lines}, picture, count, what);
    }
    // Whether a step's picture of `count` elements or soldiers is drawn:
    // up to most_drawn of them, and while the pictures are within their
    // budget. A step whose picture is not drawn says why.
    bool draws(std::size_t count) const {
        return count <= most_drawn && picture_bytes_ <= bounds_.pictures;
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
    std::ostream& out_;
    PageBounds bounds_;
    std::size_t steps_ = 0;
    std::size_t picture_bytes_ = 0;
    bool finished_ = false;
    bool full_ = false;
    std::size_t written_ = 0; // bytes
    std::string buffer_;      // one step, formatted whole
    std::size_t operations_ = 0;
};

#endif

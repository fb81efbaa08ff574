// SPDX-License-Identifier: MIT
// listdemo as a page (--html): each command a step of the page or, with the
// steps of the operations, each of them; beside each picture, the lines that
// the text prints for that step, the drawings' lines aside. The list's own
// lines are caught from standard output while a command runs.
#ifndef LISTAENC_ON_PAGE_H
#define LISTAENC_ON_PAGE_H

#include "narration.h"
#include "page.h"
#include "svg.h"

#include <iosfwd>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

class PagePresentation final : public Presentation {
public:
    // A page has up to this many steps; the steps that would follow are
    // not written, and its last step says so.
    static constexpr std::size_t most_steps = 20'000;

    // Effects: writes the beginning of the page to `out` (the page's own
    //   stream: standard output is caught while a command runs). With
    //   `session`, the notes of the commands are lines of their steps, as a
    //   session prints them; the script's transcript has none.
    PagePresentation(std::ostream& out, std::string_view title, bool session);
    PagePresentation(const PagePresentation&) = delete;
    PagePresentation& operator=(const PagePresentation&) = delete;
    // Effects: gives standard output back if a command left it caught.
    ~PagePresentation();

    void say(std::string_view line) override;
    void note(std::string_view line) override;
    void draw(const Frame& frame) override;
    void begin(std::string_view command) override;
    void end() override;
    // Whether the page has all the steps it takes, or all the bytes.
    bool full() const override { return full_ || page_.full(); }
    // Whether it was the bytes.
    bool past_the_bytes() const { return page_.full(); }
    // Why the page was cut, for standard error: that it reached its bound
    //   of bytes, and the rest of a session was not read.
    static std::string_view bytes_reason();

    // Effects: writes the end of the page, after a step that says where
    //   it was cut, if it was.
    void finish();

private:
    void release();
    void collect();
    void write_pending();
    void write(const PageStep& step);

    Page page_;
    bool session_;
    std::stringbuf caught_;
    std::streambuf* output_ = nullptr; // standard output's buffer, while caught
    std::string command_;
    std::vector<std::string> lines_; // said since the last picture
    // The step whose picture came last; written when the next picture comes
    // or its command ends, with the lines said until then.
    bool pending_ = false;
    std::string heading_, progress_, rest_;
    bool begins_ = true;
    std::vector<std::string> pending_lines_;
    std::span<const std::string> listing_; // its code, which lives as long as the program
    std::size_t line_ = 0;
    std::string code_title_; // whose code that is
    Scene scene_;            // its picture, and the list's for a command that draws none
    ScenePictures pictures_;
    bool full_ = false;
};

#endif

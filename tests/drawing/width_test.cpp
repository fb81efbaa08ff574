// SPDX-License-Identifier: MIT
// The drawings follow the terminal's width: read again after each resize
// (SIGWINCH), only then, within the bounds, and from the terminal even when
// standard output has gone elsewhere since (to a pager).
#include "drawing.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

namespace {

void set_columns(int terminal, unsigned short columns) {
    winsize size{};
    size.ws_row = 24;
    size.ws_col = columns;
    ASSERT_EQ(::ioctl(terminal, TIOCSWINSZ, &size), 0);
}

TEST(TerminalWidth, IsReadAgainAfterEachResize) {
    int const master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        GTEST_SKIP() << "no pseudo-terminal here";
    }
    int const terminal = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    set_columns(terminal, 70);
    int const output = ::dup(1);
    ::dup2(terminal, 1);
    watch_width();
    ::dup2(output, 1); // standard output goes elsewhere, as to a pager
    ::close(output);

    struct Case {
        unsigned short columns; // the terminal's, now
        bool resized;           // whether SIGWINCH came
        std::size_t then;       // the width the drawings had
        std::size_t now;        // the width they have
    };
    Case const cases[] = {
        {70, false, 70, 70},   // nothing happened
        {120, true, 70, 120},  // wider
        {90, false, 120, 120}, // no signal: not read
        {90, true, 120, 90},   // the signal comes late: read then
        {30, true, 90, 50},    // narrower than drawings go
        {2000, true, 50, 1000} // wider than they go
    };
    for (const Case& c : cases) {
        set_columns(terminal, c.columns);
        if (c.resized) {
            std::raise(SIGWINCH);
        }
        EXPECT_EQ(resized_width(c.then), c.now) << c.columns << (c.resized ? " resized" : "");
    }
    ::close(terminal);
    ::close(master);
}

} // namespace

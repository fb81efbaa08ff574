// SPDX-License-Identifier: MIT
#include "pager.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

namespace {

// Whether `program` is an executable file in one of the folders of PATH.
bool on_path(std::string_view program) {
    const char* const path = std::getenv("PATH");
    std::string_view folders = path != nullptr ? path : "/usr/bin:/bin";
    while (true) {
        std::size_t const end = folders.find(':');
        std::string file(folders.substr(0, end));
        file.append(file.empty() ? "." : "").append("/").append(program);
        if (::access(file.c_str(), X_OK) == 0) {
            return true;
        }
        if (end == std::string_view::npos) {
            return false;
        }
        folders.remove_prefix(end + 1);
    }
}

} // namespace

Pager::Pager(bool wanted) {
    if (!wanted || ::isatty(1) != 1) {
        return;
    }
    const char* const given = std::getenv("PAGER");
    std::string_view const command = given != nullptr ? given : "less -FRX";
    if (command.find_first_not_of(" \t") == std::string_view::npos || command == "cat" ||
        (given == nullptr && !on_path("less"))) {
        return;
    }
    std::string const line(command);
    int ends[2];
    if (::pipe(ends) != 0) {
        return;
    }
    std::cout.flush();
    int const terminal = ::dup(1);
    pid_t const child = terminal < 0 ? -1 : ::fork();
    if (child < 0) {
        ::close(ends[0]);
        ::close(ends[1]);
        if (terminal >= 0) {
            ::close(terminal);
        }
        return;
    }
    if (child == 0) {
        ::close(terminal);
        ::dup2(ends[0], 0);
        ::close(ends[0]);
        ::close(ends[1]);
        ::execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(ends[0]);
    terminal_ = terminal;
    ::dup2(ends[1], 1);
    ::close(ends[1]);
    child_ = child;
}

Pager::~Pager() { close(); }

void Pager::finish() {
    if (child_ >= 0) {
        std::cout.flush();
    }
    close();
}

void Pager::close() noexcept {
    if (child_ < 0) {
        return;
    }
    ::dup2(terminal_, 1); // the pager's pipe closes: it reads to its end
    ::close(terminal_);
    int status = 0;
    while (::waitpid(child_, &status, 0) < 0 && errno == EINTR) {
    }
    child_ = -1;
    terminal_ = -1;
}

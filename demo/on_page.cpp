// SPDX-License-Identifier: MIT
#include "on_page.h"

#include "format.h"

#include <iostream>
#include <utility>

namespace {

constexpr std::string_view cut_heading = "corte";
constexpr std::string_view cut_line = "A página mostra até {} passos; os seguintes não estão nela.";
constexpr std::string_view bytes_line =
    "A página chegou ao limite de 256 MiB; os passos seguintes não estão nela.";
constexpr std::string_view bytes_message =
    "a página chegou ao limite de 256 MiB; o resto da sessão não foi lido";
static_assert(Page::most_bytes == std::size_t{256} << 20);

} // namespace

PagePresentation::PagePresentation(std::ostream& out, std::string_view title, bool session)
    : page_(out, title), session_(session) {}

PagePresentation::~PagePresentation() { release(); }

void PagePresentation::release() {
    if (output_ != nullptr) {
        std::cout.rdbuf(output_);
        output_ = nullptr;
    }
}

void PagePresentation::say(std::string_view line) {
    caught_.sputn(line.data(), static_cast<std::streamsize>(line.size()));
    caught_.sputc('\n');
}

void PagePresentation::note(std::string_view line) {
    if (session_) {
        say(line);
    }
}

// The lines said and printed since the last look, in order, a text with a
// newline in it as the lines that it prints.
void PagePresentation::collect() {
    std::string const text = std::move(caught_).str();
    caught_.str({});
    std::string_view rest = text;
    while (!rest.empty()) {
        std::size_t const end = rest.find('\n');
        lines_.emplace_back(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
}

void PagePresentation::write(const PageStep& step) {
    if (page_.steps() < most_steps && !page_.full()) {
        std::size_t const count = scene_.elements.size();
        if (page_.draws(count)) {
            page_.step(step, pictures_.draw(scene_, step.begins), count, "elementos");
        } else {
            pictures_.forget();
            page_.step(step, {}, count, "elementos");
        }
    } else {
        full_ = true;
    }
}

void PagePresentation::write_pending() {
    if (pending_) {
        write({heading_, progress_, rest_, pending_lines_, listing_, line_, begins_, code_title_});
        pending_ = false;
    }
}

void PagePresentation::draw(const Frame& frame) {
    collect();
    write_pending();
    heading_ = frame.step == 0 ? command_ : std::string(frame.operation);
    progress_.clear();
    rest_.clear();
    // A command's drawing is an operation of its own; so is each run of
    // steps from the first.
    begins_ = frame.step <= 1;
    if (frame.step != 0) {
        heading_.append(": passo ").append(decimal(frame.step));
        // How long the operation is, which a class that predicts does not see.
        if (frame.steps != 0) {
            progress_.append(" de ").append(decimal(frame.steps));
        }
        // What the step does, not what comes of it: a comparison's answer
        // is among its lines.
        rest_.append(": ").append(frame.code);
        if (!frame.outcome.empty()) {
            lines_.push_back(std::string(frame.code).append(frame.outcome));
        }
    }
    listing_ = frame.listing;
    line_ = frame.line;
    code_title_ = code_title(frame);
    pending_lines_ = std::move(lines_);
    lines_.clear();
    scene_ = frame.scene;
    pending_ = true;
}

void PagePresentation::begin(std::string_view command) {
    command_ = command;
    if (output_ == nullptr) {
        std::cout.flush();
        output_ = std::cout.rdbuf(&caught_);
    }
}

void PagePresentation::end() {
    release();
    collect();
    if (pending_) {
        for (std::string& line : lines_) {
            pending_lines_.push_back(std::move(line));
        }
        write_pending();
    } else if (!lines_.empty()) {
        write({command_, {}, {}, lines_});
    }
    lines_.clear();
}

void PagePresentation::finish() {
    if (page_.full()) {
        page_.cut(cut_heading, bytes_line);
    } else if (full_) {
        page_.cut(cut_heading, filled(cut_line, most_steps));
    }
    page_.finish();
}

std::string_view PagePresentation::bytes_reason() { return bytes_message; }

// SPDX-License-Identifier: MIT
#include "page.h"

#include "markup.h"

#include <ostream>

// The page's style and script, taken in from page.css and page.js.
extern const std::string_view page_style;
extern const std::string_view page_script;

Page::Page(std::ostream& out, std::string_view title, PageBounds bounds)
    : out_(out), bounds_(bounds) {
    std::string const t = html_text(title);
    append(buffer_, "<!DOCTYPE html>\n<html lang=\"pt-BR\">\n<head>\n<meta charset=\"utf-8\">\n",
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n", "<title>",
           title_text(title), "</title>\n<style>\n", page_style, "</style>\n</head>\n<body>\n",
           "<header class=\"bar\">\n<h1>", t, "</h1>\n", R"html(<nav aria-label="passos">
<button type="button" id="first" title="primeiro passo (Home)">&#x2190;&#x2190; início</button>
<button type="button" id="back" title="passo anterior (&#x2190;); PageUp: operação anterior">&#x2190; anterior</button>
<span id="counter" aria-live="polite"></span>
<button type="button" id="forward" title="próximo passo (&#x2192;); PageDown: próxima operação">próximo &#x2192;</button>
<button type="button" id="last" title="último passo (End)">fim &#x2192;&#x2192;</button>
<button type="button" id="predict" aria-pressed="false" title="esconde o desenho seguinte até ser revelado (P)">prever</button>
<button type="button" id="reveal" title="mostra o desenho escondido (R)">revelar</button>
</nav>
</header>
<svg class="defs" aria-hidden="true" width="0" height="0"><defs>
<marker id="arrow" viewBox="0 0 10 10" refX="9" refY="5" markerWidth="7" markerHeight="7" orient="auto-start-reverse"><path d="M0 0 L10 5 L0 10 z"/></marker>
<marker id="arrow-changed" viewBox="0 0 10 10" refX="9" refY="5" markerWidth="5" markerHeight="5" orient="auto-start-reverse"><path d="M0 0 L10 5 L0 10 z"/></marker>
<marker id="arrow-count" viewBox="0 0 10 10" refX="9" refY="5" markerWidth="5" markerHeight="5" orient="auto-start-reverse"><path d="M0 0 L10 5 L0 10 z"/></marker>
</defs></svg>
<main>
<p id="hidden-note" hidden>O que vai acontecer neste passo? Revele com R ou com o botão revelar.</p>
)html");
    write_buffer();
}

void Page::step(const PageStep& step, std::string_view picture, std::size_t count,
                std::string_view what) {
    if (finished_) {
        return;
    }
    write_step(step, picture, picture.empty() ? count : 0, what);
}

// What a page keeps of its bound for its last step and its end.
constexpr std::size_t kept_for_the_end = std::size_t{64} << 10;

void Page::write_step(const PageStep& step, std::string_view picture, std::size_t drawn,
                      std::string_view what, bool whatever_its_size) {
    if (full_ && !whatever_its_size) {
        return;
    }
    std::string const n = decimal(static_cast<long long>(steps_ + 1));
    std::size_t const operation = operations_ + (step.begins || operations_ == 0 ? 1 : 0);
    buffer_.clear();
    append(buffer_, "<section class=\"step\" id=\"passo=", n, "\" data-op=\"",
           decimal(static_cast<long long>(operation)), "\">\n<h2><span class=\"number\">", n,
           "</span> ", html_text(step.heading));
    if (!step.progress.empty()) {
        append(buffer_, "<span class=\"progress\">", html_text(step.progress), "</span>");
    }
    append(buffer_, html_text(step.rest), "</h2>\n<div class=\"body\">\n<figure>");
    if (!picture.empty()) {
        buffer_ += picture;
    } else if (drawn == 0) {
        // No picture: a step that says where the page ends.
    } else if (drawn > most_drawn) {
        append(buffer_, "<p class=\"cut\">Sem desenho: ", decimal(static_cast<long long>(drawn)),
               " ", what, " passam do limite de ", decimal(most_drawn),
               " que a página desenha.</p>");
    } else {
        append(buffer_,
               "<p class=\"cut\">Sem desenho: os desenhos desta página chegaram ao limite ", "de ",
               decimal(bounds_.pictures >> 20), " MiB.</p>");
    }
    buffer_ += "</figure>\n<div class=\"side\">\n";
    if (!step.code.empty()) {
        std::string const title = html_text(step.code_title.empty() ? "código" : step.code_title);
        append(buffer_, "<p class=\"code-title\">", title, "</p>\n<ol class=\"code\" aria-label=\"",
               title, "\">\n");
        for (std::size_t i = 0; i < step.code.size(); ++i) {
            append(buffer_, i + 1 == step.line ? "<li aria-current=\"step\">" : "<li>",
                   html_text(step.code[i]), "</li>\n");
        }
        buffer_ += "</ol>\n";
    }
    // A newline right after <pre> is not part of its text: an empty first
    // line needs it.
    buffer_ += "<pre class=\"lines\">\n";
    for (std::size_t i = 0; i < step.lines.size(); ++i) {
        append(buffer_, i == 0 ? "" : "\n", html_text(step.lines[i]));
    }
    buffer_ += "</pre>\n</div>\n</div>\n</section>\n";
    if (!whatever_its_size && written_ + buffer_.size() + kept_for_the_end > bounds_.bytes) {
        full_ = true;
        return;
    }
    ++steps_;
    operations_ = operation;
    if (!picture.empty()) {
        picture_bytes_ += picture.size();
    }
    write_buffer();
}

void Page::write_buffer() {
    written_ += buffer_.size();
    out_.write(buffer_.data(), std::streamsize(buffer_.size()));
    out_.flush();
}

void Page::cut(std::string_view heading, std::string_view line) {
    if (finished_) {
        return;
    }
    constexpr std::size_t most = 4096;
    std::string const said(line.substr(0, most));
    write_step(PageStep{heading.substr(0, most), {}, {}, std::span(&said, 1)}, {}, 0, {}, true);
}

void Page::finish() {
    if (finished_) {
        return;
    }
    finished_ = true;
    buffer_.clear();
    append(buffer_, steps_ == 0 ? "<p class=\"empty\">Nenhum passo.</p>\n" : "",
           "</main>\n<script>\n", page_script, "</script>\n</body>\n</html>\n");
    write_buffer();
}

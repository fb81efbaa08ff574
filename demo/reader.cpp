// SPDX-License-Identifier: MIT
#include "reader.h"

#include "input.h"

#include <cstdlib>
#include <iostream>

#ifdef LISTAENC_LIBEDIT
#include <clocale>
#include <cstdio>
#include <cstring>
#include <editline/readline.h>
#include <langinfo.h>
#endif

namespace {

// Standard input through the programs' own reader of lines.
class PlainReader final : public LineReader {
public:
    PlainReader(bool terminal, std::string_view prompt)
        : prompt_(terminal ? prompt : ""), input_(*std::cin.rdbuf()) {}

    bool read(std::string& line) override {
        if (!prompt_.empty()) {
            std::cout.write(prompt_.data(), static_cast<std::streamsize>(prompt_.size())).flush();
        }
        return input_.line(line);
    }

private:
    std::string_view prompt_;
    Input input_;
};

#ifdef LISTAENC_LIBEDIT
std::span<const std::string_view> completions;

// The words that begin with `text`, one a call, as libedit asks for them.
char* complete(const char* text, int state) {
    static std::size_t next = 0;
    if (state == 0) {
        next = 0;
    }
    std::string_view const start = text;
    while (next < completions.size()) {
        std::string_view const word = completions[next++];
        if (word.starts_with(start)) {
            auto* copy = static_cast<char*>(std::malloc(word.size() + 1));
            if (copy != nullptr) {
                std::memcpy(copy, word.data(), word.size());
                copy[word.size()] = '\0';
            }
            return copy;
        }
    }
    return nullptr;
}

char* nothing(const char*, int) { return nullptr; }

char** complete_first_word(const char* text, int start, int) {
    return start == 0 ? rl_completion_matches(text, complete) : nullptr;
}

class EditReader final : public LineReader {
public:
    EditReader(std::string_view prompt, std::span<const std::string_view> words) : prompt_(prompt) {
        // The line editor reads characters as the locale's encoding says, and
        // drops what it cannot read: a learner types UTF-8 (João, 李) even
        // where the environment names no locale, or one that is not UTF-8.
        // Only the reading of characters changes; numbers and messages are
        // the program's own.
        if (std::setlocale(LC_CTYPE, "") == nullptr ||
            std::string_view(nl_langinfo(CODESET)) != "UTF-8") {
            std::setlocale(LC_CTYPE, "C.UTF-8");
        }
        completions = words;
        rl_readline_name = "listdemo";
        rl_attempted_completion_function = complete_first_word;
        rl_completion_entry_function = nothing; // never the names of files
    }

    bool read(std::string& line) override {
        std::unique_ptr<char, decltype(&std::free)> const read(readline(prompt_.c_str()),
                                                               std::free);
        if (read == nullptr) {
            return false;
        }
        line.assign(read.get());
        if (line.find_first_not_of(" \t") != std::string::npos) {
            add_history(read.get());
        }
        return true;
    }

private:
    std::string prompt_;
};
#endif

} // namespace

std::unique_ptr<LineReader> line_reader(bool terminal, std::string_view prompt,
                                        std::span<const std::string_view> words) {
#ifdef LISTAENC_LIBEDIT
    if (terminal) {
        return std::make_unique<EditReader>(prompt, words);
    }
#else
    static_cast<void>(words);
#endif
    return std::make_unique<PlainReader>(terminal, prompt);
}

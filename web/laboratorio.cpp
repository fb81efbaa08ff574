// SPDX-License-Identifier: MIT
// laboratorio.html's WebAssembly: listdemo's interpreter behind a small
// object that the page drives, a line at a time. For each line the page gets
// what a terminal gets (the transcript's lines on standard output, the
// error on standard error) and the steps of its operation: each with its
// heading and lines as the static pages show them, its picture (drawn on
// demand, by the same code as theirs) and, for a step that changes a link,
// the question a learner answers before seeing it.
#include "drawing.h"
#include "format.h"
#include "interpreter.h"
#include "narration.h"
#include "page.h"
#include "scene.h"
#include "svg.h"
#include "text.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdlib>
#include <deque>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using emscripten::val;

// A text as a message shows it: itself, or, when it holds a character that
// a reader cannot see for what it is, quoted and escaped.
std::string shown(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        Decoded const d = decode(text.substr(at));
        if (d.length == 0 || hidden(d.point)) {
            return quote(text);
        }
        at += d.length;
    }
    return std::string(text);
}

// An element as a learner names it: its key and, when it has one, its text.
std::string element_name(const Scene& scene, int i) {
    const Scene::Element& e = scene.elements[static_cast<std::size_t>(i)];
    std::string name = std::to_string(e.key);
    if (e.info.find_first_not_of(' ') != std::string::npos) {
        name.append(" ").append(shown(e.info)).append(e.cut ? "..." : "");
    }
    return name;
}

// Where a link points, as an answer: an element's index, "cabeca" or "nulo";
// empty for a node that the scene does not hold.
std::string answer_of(int target) {
    if (target >= 0) {
        return decimal(static_cast<std::size_t>(target));
    }
    if (target == Scene::null) {
        return "nulo";
    }
    if (target == Scene::header_node) {
        return "cabeca";
    }
    return {};
}

// The question of a step that changes a link: which link, and where it
// points after the step (an answer as choices() has them). Undefined for a
// step that changes none.
val question(const Scene& scene) {
    const Scene::Link& changed = scene.changed;
    std::string link;
    int target = Scene::elsewhere;
    switch (changed.which) {
    case Scene::Link::none:
        return val::undefined();
    case Scene::Link::head:
        link = "head";
        target = scene.header ? Scene::header_node : Scene::null;
        break;
    case Scene::Link::header_next:
        link = "o next da cabeça";
        target = scene.first;
        break;
    case Scene::Link::element_next:
        if (changed.element < 0 ||
            static_cast<std::size_t>(changed.element) >= scene.elements.size()) {
            return val::undefined();
        }
        link = "o next do nó " + element_name(scene, changed.element);
        target = scene.elements[static_cast<std::size_t>(changed.element)].next;
        break;
    }
    std::string const right = answer_of(target);
    if (right.empty()) {
        return val::undefined();
    }
    val asked = val::object();
    asked.set("elo", link);
    asked.set("certa", right);
    return asked;
}

// The choices of a question on `scene`: each element, the header and nulo.
val choices(const Scene& scene) {
    val list = val::array();
    auto add = [&list](std::string value, std::string label) {
        val choice = val::object();
        choice.set("valor", std::move(value));
        choice.set("rotulo", std::move(label));
        list.call<void>("push", choice);
    };
    for (std::size_t i = 0; i < scene.elements.size(); ++i) {
        add(decimal(i), "nó " + element_name(scene, static_cast<int>(i)));
    }
    add("cabeca", "a cabeça");
    add("nulo", "nulo");
    return list;
}

// The transcript, as a terminal shows it: the lines said, and a drawing
// (the desenhar command's) as text in 80 columns, as outside a terminal.
class Transcript final : public Presentation {
public:
    void say(std::string_view line) override { output_.append(line).push_back('\n'); }
    void note(std::string_view line) override { say(line); }
    void draw(const Frame& frame) override {
        for (const std::string& line : ::draw(frame.scene)) {
            say(line);
        }
    }
    std::string take() { return std::exchange(output_, {}); }

private:
    std::string output_;
};

// The steps of the commands, as a page shows them: a step is written when
// the next picture comes or its command ends, with the lines said until
// then. Keeps the scenes of the latest steps, up to a bound, to draw them
// when the page asks.
class Steps final : public Presentation {
public:
    static constexpr std::size_t most_kept = 20'000;

    void say(std::string_view line) override { lines_.emplace_back(line); }
    void note(std::string_view line) override { say(line); }
    void draw(const Frame& frame) override {
        write_pending();
        heading_ = frame.step == 0 ? command_ : std::string(frame.operation);
        // A command's drawing is an operation of its own; so is each run of
        // steps from the first: its elements keep their places through it.
        begins_ = frame.step <= 1;
        if (frame.step != 0) {
            heading_.append(": passo ").append(decimal(frame.step));
            if (frame.steps != 0) {
                heading_.append(" de ").append(decimal(frame.steps));
            }
            // What the step does, not what comes of it: a comparison's
            // answer is among its lines.
            heading_.append(": ").append(frame.code);
            if (!frame.outcome.empty()) {
                lines_.push_back(std::string(frame.code).append(frame.outcome));
            }
            question_ = question(frame.scene);
        } else {
            question_ = val::undefined();
        }
        pending_lines_ = std::move(lines_);
        lines_.clear();
        scene_ = frame.scene;
        listing_ = frame.listing;
        line_ = frame.line;
        pending_ = true;
    }
    void begin(std::string_view command) override { command_ = command; }
    void end() override {
        if (pending_) {
            for (std::string& line : lines_) {
                pending_lines_.push_back(std::move(line));
            }
            write_pending();
        } else if (!lines_.empty()) {
            heading_ = command_;
            pending_lines_ = std::move(lines_);
            question_ = val::undefined();
            listing_ = {};
            line_ = 0;
            pending_ = true;
            write_pending();
        }
        lines_.clear();
    }

    // The steps that the last line gave.
    val take_steps() { return std::exchange(steps_, val::array()); }

    // The picture of step `id`, or an empty text when it is no longer kept.
    std::string picture_of(std::size_t id) const {
        const Scene* scene = kept(id);
        return scene == nullptr ? std::string() : picture(*scene, places_[id - first_kept_]);
    }
    // The choices of the question of step `id` (empty when it is no longer
    // kept).
    val choices_of(std::size_t id) const {
        const Scene* scene = kept(id);
        return scene == nullptr ? val::array() : choices(*scene);
    }

private:
    const Scene* kept(std::size_t id) const {
        if (id < first_kept_ || id >= first_kept_ + kept_.size()) {
            return nullptr;
        }
        return &kept_[id - first_kept_];
    }

    void write_pending() {
        if (!pending_) {
            return;
        }
        pending_ = false;
        val step = val::object();
        step.set("id", first_kept_ + kept_.size());
        step.set("titulo", heading_);
        val lines = val::array();
        for (const std::string& line : pending_lines_) {
            lines.call<void>("push", line);
        }
        step.set("linhas", lines);
        // The code of the function that runs the step, and the line it runs
        // (from 1; 0 for none).
        val code = val::array();
        for (const std::string& line : listing_) {
            code.call<void>("push", line);
        }
        step.set("codigo", code);
        step.set("linha", line_);
        step.set("elementos", scene_.elements.size());
        step.set("pergunta", question_);
        steps_.call<void>("push", step);
        kept_.push_back(scene_);
        places_.push_back(pictures_.places(scene_, begins_));
        if (kept_.size() > most_kept) {
            kept_.pop_front();
            places_.pop_front();
            ++first_kept_;
        }
        pending_lines_.clear();
    }

    val steps_ = val::array();
    std::string command_;
    std::vector<std::string> lines_;
    bool pending_ = false;
    std::string heading_;
    std::vector<std::string> pending_lines_;
    val question_ = val::undefined();
    Scene scene_;                          // the last picture's, also for a command that draws none
    std::span<const std::string> listing_; // its code, which lives as long as the module
    std::size_t line_ = 0;
    std::deque<Scene> kept_;
    std::deque<std::vector<int>> places_; // where each kept scene's elements stand
    ScenePictures pictures_;
    bool begins_ = true;
    std::size_t first_kept_ = 0;
};

// Two interpreters take the same lines: one as listdemo --interativo, for
// the transcript and the errors, the other with the steps of each
// operation, for the pictures.
class Lab {
public:
    Lab()
        : said_(std::make_unique<Interpreter>(transcript_, Interpreter::Options{})),
          stepped_(std::make_unique<Interpreter>(steps_, Interpreter::Options{.steps = true})) {}

    // Runs one line of the session. Answers {saida, erro, passos, fim}:
    // what standard output gets, what standard error gets (a line, or
    // empty), the steps, and whether the session is over (sair).
    val line(const std::string& line) {
        std::string const error(said_->line(line));
        stepped_->line(line);
        val answer = val::object();
        answer.set("saida", transcript_.take());
        answer.set("erro", error);
        answer.set("passos", steps_.take_steps());
        answer.set("fim", said_->over());
        return answer;
    }

    std::string picture_of(std::size_t id) const { return steps_.picture_of(id); }
    val choices_of(std::size_t id) const { return steps_.choices_of(id); }

    // A line as a message shows it (the echo of a command typed).
    static std::string shown_line(const std::string& line) { return shown(line); }

    static val commands() {
        val names = val::array();
        for (std::string_view name : Interpreter::command_names()) {
            names.call<void>("push", std::string(name));
        }
        return names;
    }

    // What the page does when the WebAssembly fails, tried on purpose:
    // "excecao" throws out of the module, "aborto" ends it.
    static void fail(const std::string& how) {
        if (how == "aborto") {
            std::abort();
        }
        throw std::runtime_error("falha de teste");
    }

private:
    Transcript transcript_;
    Steps steps_;
    std::unique_ptr<Interpreter> said_;
    std::unique_ptr<Interpreter> stepped_;
};

} // namespace

EMSCRIPTEN_BINDINGS(laboratorio) {
    emscripten::class_<Lab>("Laboratorio")
        .constructor<>()
        .function("linha", &Lab::line)
        .function("desenho", &Lab::picture_of)
        .function("opcoes", &Lab::choices_of)
        .class_function("comandos", &Lab::commands)
        .class_function("mostrado", &Lab::shown_line)
        .class_function("falhar", &Lab::fail);
}

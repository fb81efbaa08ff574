// SPDX-License-Identifier: MIT
#include "stepper.h"

#include "listaenc_listing.h"

#include <algorithm>
#include <tuple>

namespace {

// What a step of a test, or a link given its own value, says after its code.
constexpr std::string_view matched = "  (sim)";
constexpr std::string_view not_matched = "  (não)";
constexpr std::string_view unchanged = "  (sem mudança)";
// What the step that calls a helper says after the call.
constexpr std::string_view calls = "  (chamada: um quadro novo)";

// The listing of the function of the list whose code holds `line` (a line
// of the list's source, as a step gives it), each line a string, and where
// that line is in it, from 1; empty and 0 when no function holds it.
std::pair<std::span<const std::string>, std::size_t> code_at(int line) {
    static std::vector<std::vector<std::string>> const listings = [] {
        std::vector<std::vector<std::string>> all;
        for (const SourceListing& listing : source_listings) {
            auto& lines = all.emplace_back();
            for (std::size_t i = 0; i < listing.size; ++i) {
                lines.emplace_back(listing.lines[i].text);
            }
        }
        return all;
    }();
    const SourceListing* const listing = line > 0 ? listing_at(line) : nullptr;
    if (listing == nullptr) {
        return {};
    }
    std::size_t at = 0;
    while (at < listing->size && listing->lines[at].number != line) {
        ++at;
    }
    if (at == listing->size) {
        return {};
    }
    return {listings[static_cast<std::size_t>(listing - source_listings)], at + 1};
}

// The listing of the list's function `function`, its head marked (after
// the template line of a template); empty and 0 when there is none.
std::pair<std::span<const std::string>, std::size_t> code_of(std::string_view function) {
    for (const SourceListing& listing : source_listings) {
        if (function == listing.function && listing.size > 0) {
            std::span<const std::string> const lines = code_at(listing.lines[0].number).first;
            bool const templated = lines.size() > 1 && lines[0].starts_with("template");
            return {lines, templated ? 2 : 1};
        }
    }
    return {};
}

} // namespace

void Stepper::step(const ListaEnc& list, const Step& step) {
    // What the stepper asks of the list between operations (a program's step)
    // is none of theirs.
    if (busy_) {
        return;
    }
    busy_ = true;
    struct Done {
        bool& busy;
        ~Done() { busy = false; }
    } const done{busy_};
    learn_header(step);
    if (step.kind == Step::Kind::call || step.kind == Step::Kind::enter) {
        calls_.resize(static_cast<std::size_t>(step.depth));
        calls_.emplace_back(step.function);
    }
    called(step);
    switch (step.kind) {
    case Step::Kind::call:
        start(list);
        return;
    case Step::Kind::output:
        if (!shots_.empty() && sink_.printed(step.text)) {
            std::string_view text = step.text;
            for (std::size_t end; !text.empty(); text.remove_prefix(end + 1)) {
                end = std::min(text.find('\n'), text.size() - 1);
                std::size_t const size = text[end] == '\n' ? end : end + 1;
                shots_.back().printed.emplace_back(text.substr(0, size), false);
            }
        }
        return;
    case Step::Kind::test:      // a walk's end, a loop's or a branch's test
    case Step::Kind::unchanged: // a link given the value it had
        break;
    case Step::Kind::done: // the operation's locals are gone
        cursors_.clear();
        pending_.clear();
        return;
    case Step::Kind::enter: // the call, shown before the helper runs
        pending_.push_back({shots_.size(), flushes_, step.depth - 1, step.name});
        break;
    case Step::Kind::leave: // the helper's locals are gone
        std::erase_if(cursors_, [&step](const Cursor& c) { return c.depth >= step.depth; });
        return;
    case Step::Kind::visit:
    case Step::Kind::declare:
    case Step::Kind::compare:
        point(step);
        break;
    case Step::Kind::make:
        point(step);
        apart_.push_back({step.element, made, nullptr, false, true});
        break;
    case Step::Kind::link:
        // The header node made is apart until head points to it.
        if (step.link == Step::Link::head) {
            std::erase_if(apart_, [&step](const Apart& a) { return a.element == step.after; });
        }
        if (step.before != nullptr && step.before != header_) {
            let_go_.push_back(step.before);
        }
        break;
    case Step::Kind::unlink:
    case Step::Kind::release:
        forget(step.element);
        apart_.push_back(stood(step.element, step.kind == Step::Kind::unlink ? removed : released));
        apart_.back().state = true;
        break;
    }
    step_shot(list, step);
}

void Stepper::program_step(const ListaEnc& list, const Step& step,
                           std::span<const std::string> listing, std::size_t line) {
    std::size_t const kept = shots_.size();
    this->step(list, step);
    if (shots_.size() > kept) {
        shots_.back().listing = listing;
        shots_.back().line = line;
    }
}

// The calls that wait for their line get it from the caller's first step
// after the helper returned, when that step's line calls the helper (it
// takes the helper's answer there); else they keep the helper's head.
void Stepper::called(const Step& step) {
    if (step.line <= 0) {
        return;
    }
    while (!pending_.empty() && pending_.back().depth >= step.depth) {
        Pending const call = pending_.back();
        pending_.pop_back();
        if (call.depth != step.depth || call.flush != flushes_ || call.shot >= shots_.size()) {
            continue;
        }
        auto const [listing, line] = code_at(step.line);
        std::string const called = std::string(call.helper) + "(";
        if (line > 0 && listing[line - 1].find(called) != std::string::npos) {
            shots_[call.shot].listing = listing;
            shots_[call.shot].line = line;
            shots_[call.shot].function = step.function;
            shots_[call.shot].caller = caller_at(step.depth);
        }
    }
}

// The function that called the one running at `depth`; none at the top.
std::string_view Stepper::caller_at(int depth) const {
    auto const at = static_cast<std::size_t>(depth);
    return depth > 0 && at <= calls_.size() ? calls_[at - 1] : std::string_view();
}

bool Stepper::after_last(std::string_view line, bool note) {
    if (shots_.empty()) {
        return false;
    }
    shots_.back().printed.emplace_back(line, note);
    return true;
}

void Stepper::command() {
    shots_.clear();
    held_ = 0;
    shown_ = 0;
}

std::size_t Stepper::finish() {
    std::size_t const count = shown_ + shots_.size() + 1;
    flush_over(count);
    shown_ = 0;
    return count;
}

void Stepper::flush_over(std::size_t count) {
    for (const Shot& shot : shots_) {
        sink_.shown(shot, ++shown_, count);
    }
    shots_.clear();
    held_ = 0;
    ++flushes_;
}

// The header node: the list's at the step, or the one just made for it,
// before a link takes it in.
void Stepper::learn_header(const Step& step) {
    if (step.kind == Step::Kind::make && step.local == Step::Local::cabeca) {
        header_ = step.element;
    } else if (step.header != nullptr) {
        header_ = step.header;
    }
}

void Stepper::step_shot(const ListaEnc& list, const Step& step) {
    Changed changed;
    if (step.kind == Step::Kind::link) {
        changed.which = step.link == Step::Link::head          ? Scene::Link::head
                        : step.link == Step::Link::header_next ? Scene::Link::header_next
                                                               : Scene::Link::element_next;
        changed.element = step.element;
    }
    // What the walk from the first element meets; the elements that it does
    // not meet but a link let go of are still in memory, as are the ones they
    // lead to, until released: each is drawn apart, with its cursors, above
    // the gap it left.
    // An element being released is as good as gone: its cursors dangle.
    std::vector<const node*> gone = released_;
    if (step.kind == Step::Kind::release) {
        gone.push_back(step.element);
    }
    auto const is_gone = [&gone](const node* at) {
        return std::find(gone.begin(), gone.end(), at) != gone.end();
    };
    std::unordered_set<const node*> walked;
    const node* const first = list.begin() == list.end() ? nullptr : &*list.begin();
    for (const node* at = first; at != nullptr && !is_gone(at) && walked.insert(at).second;
         at = at->next) {
    }
    std::vector<const node*> off;
    std::unordered_set<const node*> met;
    auto const follow = [&](const node* at) {
        for (; at != nullptr && at != header_ && !walked.contains(at) && !is_gone(at) &&
               met.insert(at).second;
             at = at->next) {
            off.push_back(at);
        }
    };
    for (const node* root : let_go_) {
        follow(root);
    }
    for (const Cursor& cursor : cursors_) {
        follow(cursor.element);
    }
    std::vector<Mark> marks;
    std::vector<Apart> apart;
    for (const node* element : off) {
        apart.push_back(stood(element, ""));
        for (const Cursor& cursor : cursors_) {
            if (cursor.element == element) {
                apart.push_back(stood(element, cursor.name));
                apart.back().frame = cursor.frame;
            }
        }
    }
    // A new element is no longer new once the walk meets it.
    for (const Apart& a : apart_) {
        if (a.label != made || !walked.contains(a.element)) {
            apart.push_back(a);
        }
    }
    for (const Cursor& cursor : cursors_) {
        if (!met.contains(cursor.element)) {
            marks.push_back({cursor.element, cursor.name, cursor.frame});
        }
    }
    Shot& shot = shots_.emplace_back();
    shot.scene = capture(list, {marks, apart, gone, changed, header_});
    if (first != nullptr) {
        firsts_.insert(first);
    }
    shot.code = step.code;
    std::tie(shot.listing, shot.line) = code_at(step.line);
    shot.function = step.function;
    shot.caller = caller_at(step.depth);
    if (step.kind == Step::Kind::enter) {
        shot.code = std::string(step.name) + "()";
        shot.outcome = calls;
        std::tie(shot.listing, shot.line) = code_of(step.name);
        shot.function = step.name;
    } else if (step.kind == Step::Kind::compare || step.kind == Step::Kind::test) {
        shot.outcome = step.matched ? matched : not_matched;
    } else if (step.kind == Step::Kind::unchanged) {
        shot.outcome = unchanged;
    }
    // The steps are kept until the operation ends, so that each can say how
    // many there are; an operation on a long list, whose scenes would fill
    // memory, shows them as they come, without the count.
    held_ += shot.scene.elements.size() + 1;
    if (held_ > most_held) {
        flush_over(0);
    }
    if (step.kind == Step::Kind::release) {
        // What the released element led to is reached through its next.
        std::replace(let_go_.begin(), let_go_.end(), step.element,
                     static_cast<const node*>(step.element->next));
        apart_.pop_back();
        released_.push_back(step.element);
    }
}

void Stepper::start(const ListaEnc& list) {
    cursors_.clear();
    pending_.clear();
    apart_.clear();
    released_.clear();
    firsts_.clear();
    let_go_.clear();
    if (list.begin() != list.end()) {
        firsts_.insert(&*list.begin());
    }
}

// An element out of the circle, drawn above the gap it left: before the
// element its `next` points to, at the start of the circle if it was ever the
// first element during the operation.
Apart Stepper::stood(const node* element, std::string_view label) const {
    bool const alone = element->next == element;
    return {element, label, alone ? nullptr : element->next, firsts_.contains(element)};
}

// A local of the function that runs the step now points at its element.
void Stepper::point(const Step& step) {
    std::string_view const name = step.name;
    auto const same = std::find_if(cursors_.begin(), cursors_.end(), [&](const Cursor& c) {
        return c.name == name && c.depth == step.depth;
    });
    if (step.element == nullptr) {
        if (same != cursors_.end()) {
            cursors_.erase(same);
        }
    } else if (same != cursors_.end()) {
        same->element = step.element;
    } else {
        cursors_.push_back({name, step.element, step.depth,
                            step.depth > 0 ? std::string_view(step.function) : std::string_view()});
    }
}

// The element is out of the circle: what it was apart (made) it is no more.
void Stepper::forget(const node* element) {
    std::erase_if(apart_, [element](const Apart& a) { return a.element == element; });
}

// SPDX-License-Identifier: MIT
#include "columns.h"
#include "drawing.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace {

// Where each element of a scene stands in it: a table of open addressing,
// which grows as elements come.
class Places {
public:
    void add(const node* element, int place) {
        if (2 * (count_ + 1) > slots_.size()) {
            std::vector<Slot> const old = std::exchange(
                slots_, std::vector<Slot>(std::max<std::size_t>(64, 2 * slots_.size())));
            for (const Slot& slot : old) {
                if (slot.element != nullptr) {
                    *find(slot.element) = slot;
                }
            }
        }
        *find(element) = {element, place};
        ++count_;
    }
    // The element's place, or -1.
    int operator[](const node* element) const {
        if (slots_.empty()) {
            return -1;
        }
        const Slot* const slot = find(element);
        return slot->element == nullptr ? -1 : slot->place;
    }
    bool contains(const node* element) const { return (*this)[element] >= 0; }

private:
    struct Slot {
        const node* element = nullptr;
        int place = -1;
    };
    Slot* find(const node* element) {
        return const_cast<Slot*>(std::as_const(*this).find(element));
    }
    const Slot* find(const node* element) const {
        std::size_t const mask = slots_.size() - 1;
        std::size_t at =
            (reinterpret_cast<std::uintptr_t>(element) >> 4) * 0x9E3779B97F4A7C15u >> 20 & mask;
        while (slots_[at].element != nullptr && slots_[at].element != element) {
            at = (at + 1) & mask;
        }
        return &slots_[at];
    }
    std::vector<Slot> slots_;
    std::size_t count_ = 0;
};

// As much of a text as a drawing can show: 16 columns of at least one byte
// each, every byte escaped as four at worst, and combining marks.
constexpr std::size_t text_bytes = 256;

} // namespace

Scene capture(const ListaEnc& list, const Moment& moment) {
    Scene scene;
    scene.header = !list.isEmpty();
    Places index;
    std::vector<const node*> held;
    auto const released = [&moment](const node* element) {
        return std::find(moment.released.begin(), moment.released.end(), element) !=
               moment.released.end();
    };
    auto const hold = [&](const node* element) {
        index.add(element, static_cast<int>(held.size()));
        held.push_back(element);
    };
    const node* first = list.begin() == list.end() ? nullptr : &*list.begin();
    for (const node* at = first; at != nullptr && !released(at) && !index.contains(at);
         at = at->next) {
        hold(at);
    }
    scene.walked = held.size();
    for (const Apart& apart : moment.apart) {
        if (!index.contains(apart.element)) {
            hold(apart.element);
        }
    }
    for (const Mark& mark : moment.marks) {
        if (mark.element != moment.header && !index.contains(mark.element) &&
            !released(mark.element)) {
            hold(mark.element);
        }
    }
    auto const where = [&index](const node* element) {
        if (element == nullptr) {
            return Scene::null;
        }
        int const found = index[element];
        return found < 0 ? Scene::elsewhere : found;
    };
    scene.first = where(first);
    for (const node* element : held) {
        std::string_view const text = prefix(element->info, text_bytes);
        scene.elements.push_back({element->key, std::string(text),
                                  text.size() < element->info.size(), where(element->next)});
    }
    for (const Apart& apart : moment.apart) {
        Scene::Element& element = scene.elements[static_cast<std::size_t>(where(apart.element))];
        if (apart.before != nullptr &&
            static_cast<std::size_t>(where(apart.element)) >= scene.walked) {
            element.stood = where(apart.before);
            element.was_first = apart.was_first;
        }
        if (!apart.label.empty()) {
            scene.labels.push_back({std::string(apart.label), where(apart.element), apart.state,
                                    std::string(apart.frame)});
        }
    }
    for (const Mark& mark : moment.marks) {
        int const at = mark.element == moment.header && mark.element != nullptr ? Scene::header_node
                       : released(mark.element)                                 ? Scene::freed
                                                : where(mark.element);
        scene.labels.push_back({std::string(mark.label), at, false, std::string(mark.frame)});
    }
    scene.changed.which = moment.changed.which;
    if (moment.changed.which == Scene::Link::element_next) {
        scene.changed.element = where(moment.changed.element);
    }
    return scene;
}

// SPDX-License-Identifier: MIT
#include "drawing.h"
#include "text.h"

#include <algorithm>
#include <unordered_map>

namespace {

// As much of a text as a drawing can show: 16 columns of at least one byte
// each, every byte escaped as four at worst, and combining marks.
constexpr std::size_t text_bytes = 256;

} // namespace

Scene capture(const ListaEnc& list, const Moment& moment) {
    Scene scene;
    scene.header = !list.isEmpty();
    std::unordered_map<const node*, int> index;
    std::vector<const node*> held;
    auto const released = [&moment](const node* element) {
        return std::find(moment.released.begin(), moment.released.end(), element) !=
               moment.released.end();
    };
    auto const hold = [&](const node* element) {
        index.emplace(element, static_cast<int>(held.size()));
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
        if (!index.contains(mark.element) && !released(mark.element)) {
            hold(mark.element);
        }
    }
    auto const where = [&index](const node* element) {
        if (element == nullptr) {
            return Scene::null;
        }
        auto const found = index.find(element);
        return found == index.end() ? Scene::elsewhere : found->second;
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
        scene.labels.push_back({std::string(apart.label), where(apart.element)});
    }
    for (const Mark& mark : moment.marks) {
        if (!released(mark.element)) {
            scene.labels.push_back({std::string(mark.label), where(mark.element)});
        }
    }
    scene.changed.which = moment.changed.which;
    if (moment.changed.which == Scene::Link::element_next) {
        scene.changed.element = where(moment.changed.element);
    }
    return scene;
}

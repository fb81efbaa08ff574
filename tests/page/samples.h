// SPDX-License-Identifier: MIT
// Pages made by hand from scenes and rings: a short script of list
// operations with the steps inside them, a short game, and names and texts
// that a page must show as text.
#ifndef LISTAENC_PAGE_SAMPLES_H
#define LISTAENC_PAGE_SAMPLES_H

#include "page.h"
#include "ring.h"
#include "svg.h"

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

// A page whose steps are drawn as the programs draw them: a list's
// elements keep their places through an operation, a picture past the
// page's bounds is not drawn.
class Pictured {
public:
    explicit Pictured(Page& page) : page_(page) {}
    void step(const PageStep& step, const Scene& scene) {
        std::size_t const count = scene.elements.size();
        if (!page_.draws(count)) {
            pictures_.forget();
        }
        page_.step(step, page_.draws(count) ? pictures_.draw(scene, step.begins) : std::string(),
                   count, "elementos");
    }
    void step(const PageStep& step, const Ring& ring) {
        std::size_t const count = ring.names.size();
        page_.step(step, page_.draws(count) ? picture(ring) : std::string(), count, "soldados");
    }
    template <typename Picture>
    void step(std::string_view heading, std::span<const std::string> lines, const Picture& p) {
        step(PageStep{heading, {}, {}, lines}, p);
    }

private:
    Page& page_;
    ScenePictures pictures_;
};

void script_page(std::ostream& out);
void game_page(std::ostream& out);
void hostile_page(std::ostream& out);

struct Sample {
    const char* name;
    void (*write)(std::ostream&);
};
inline constexpr Sample samples[] = {
    {"script", script_page}, {"game", game_page}, {"hostile", hostile_page}};

#endif

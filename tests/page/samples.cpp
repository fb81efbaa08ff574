// SPDX-License-Identifier: MIT
#include "samples.h"

#include "page.h"

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;
using E = Scene::Element;
using L = Scene::Label;
using Link = Scene::Link;

const std::string dashes(66, '-');
const std::string stars(52, '*');

E element(int key, std::string info, int next, int stood = Scene::null, bool cut = false) {
    E e;
    e.key = key;
    e.info = std::move(info);
    e.cut = cut;
    e.next = next;
    e.stood = stood;
    return e;
}

Scene emptied() {
    Scene scene;
    scene.header = true;
    return scene;
}

// A sound circle of these keys, each text " ".
Scene circle(std::vector<int> keys) {
    Scene scene = emptied();
    scene.first = 0;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        scene.elements.push_back(element(keys[i], " ", int((i + 1) % keys.size())));
    }
    scene.walked = keys.size();
    return scene;
}

} // namespace

void script_page(std::ostream& out) {
    Page page(out, "listdemo: roteiro");
    Pictured pictured(page);
    pictured.step("lista sem nó cabeça", Lines{}, Scene{});

    Scene s = circle({10});
    s.changed = {Link::header_next};
    pictured.step("inserir 10", Lines{">>inserindo 10..."}, s);

    // inserir 30, step by step: made, linked to the first, then the last to
    // it; the code beside each step, its line marked.
    const Lines code = {"node* novo = new node(key, info);", "node* ultimo = head->next;",
                        "novo->next = head->next;", "ultimo->next = novo;"};
    std::vector<Lines> said = {{">>inserindo 30...", "novo = new node(30, ' ')"},
                               {"ultimo = head->next"},
                               {"novo->next = head->next"},
                               {"ultimo->next = novo"}};
    std::vector<std::string> headings;
    for (int k = 1; k <= 4; ++k) {
        headings.push_back("inserir 30: passo " + std::to_string(k));
    }
    auto const at = [&](std::size_t k) {
        return PageStep{headings[k - 1],    " de 4", "", said[k - 1], code, k, k == 1,
                        "código de inserir"};
    };
    s.elements.push_back(element(30, " ", 1));
    s.labels = {{"novo", 1}};
    s.changed = {};
    pictured.step(at(1), s);
    s.labels = {{"ultimo", 0}, {"novo", 1}};
    pictured.step(at(2), s);
    s.elements[1].next = 0;
    s.changed = {Link::element_next, 1};
    pictured.step(at(3), s);
    s = circle({10, 30});
    s.labels = {{"ultimo", 0}, {"novo", 1}};
    s.changed = {Link::element_next, 0};
    pictured.step(at(4), s);

    s = circle({10, 30, 20, 13, 53, 20, 7});
    pictured.step("inserir 20, 13, 53, 20, 7", Lines{">>inserindo 20...", ">>inserindo 7..."}, s);
    pictured.step("exibir", Lines{">>Exibicao da lista", " 10 30 20 13 53 20 7 "}, s);

    // remover 30: the walk's cursors, then the link around it.
    s.labels = {{"anterior", 0}, {"atual", 1}};
    pictured.step("remover 30: passo 2 de 3", Lines{">>removendo 30...", "atual = atual->next"}, s);
    s = circle({10, 20, 13, 53, 20, 7});
    s.elements.push_back(element(30, " ", 1, 1));
    s.labels = {{"anterior", 0}, {"removido", 6}};
    s.changed = {Link::element_next, 0};
    Lines const around = {"anterior->next = atual->next"};
    pictured.step(PageStep{"remover 30: passo 3", " de 3", "", around, {}, 0, false}, s);

    // pop, halfway: the first has moved, the last still points at the old first.
    s = circle({20, 13, 53, 20, 7, 10});
    s.labels = {{"primeiro", 5}};
    s.changed = {Link::header_next};
    pictured.step("pop: passo 1 de 2",
                  Lines{">>Remove o primeiro elemento da lista", "head->next = primeiro->next"}, s);
    s = circle({20, 13, 53, 20, 7});
    s.elements.push_back(element(10, " ", 0, 0));
    s.labels = {{"ultimo", 4}, {"removido", 5}};
    s.changed = {Link::element_next, 4};
    Lines const popped = {"ultimo->next = head->next", ">>a chave removida foi: 10"};
    pictured.step(PageStep{"pop: passo 2", " de 2", "", popped, {}, 0, false}, s);

    // An element released, which the scene no longer follows: its state, a
    // helper's cursor, and a cursor that dangles.
    s = circle({20});
    s.elements.push_back(element(13, " ", Scene::elsewhere, 0));
    s.labels = {{"liberado", 1, true},
                {"atual", Scene::null},
                {"anterior", 0, false, "find_before"},
                {"removido", Scene::freed}};
    pictured.step("remover 13", Lines{">>removendo 13..."}, s);

    s = emptied();
    s.changed = {Link::header_next};
    pictured.step("limpar", Lines{">>limpando a lista..."}, s);
    pictured.step("tamanho", Lines{"", ">>Tamanho da lista e' :0"}, s);
    page.finish();
}

void game_page(std::ostream& out) {
    Page page(out, "countoff: 4 soldados, n = 2");
    Pictured pictured(page);
    Ring ring;
    ring.names = {"alfa", "beta", "gama", "delta"};
    ring.count = 0;
    pictured.step("primeira lista",
                  Lines{dashes, "Os soldados sao:", "  1.alfa  2.beta  3.gama  4.delta ",
                        " O soldado que iniciara a contagem sera: alfa", dashes},
                  ring);
    ring.removed = {2};
    ring.removing = true;
    ring.count = 3;
    pictured.step("remocao 1",
                  Lines{"\tO Soldado removido foi: gama", "Os soldados restantes sao:", dashes,
                        "  1.alfa  2.beta  3.delta ", dashes,
                        "\tO soldado delta iniciara a contagem"},
                  ring);
    ring.removed = {2, 1};
    pictured.step("remocao 2",
                  Lines{"\tO Soldado removido foi: beta", "Os soldados restantes sao:", dashes,
                        "  1.alfa  2.delta ", dashes, "\tO soldado delta iniciara a contagem"},
                  ring);
    ring.removed = {2, 1, 3};
    ring.count = Ring::none;
    ring.winner = 0;
    pictured.step("remocao 3",
                  Lines{"\tO Soldado removido foi: delta", stars, "\tO vencedor e o Soldado alfa",
                        stars, "", "Jogo terminado..."},
                  ring);
    page.finish();
}

void hostile_page(std::ostream& out) {
    Page page(out, "<script>alert(0)</script> & \"aspas\"");
    Pictured pictured(page);
    Ring ring;
    ring.names = {"<script>alert(1)</script>", "Concei\xc3\xa7\xc3\xa3o", "\xe6\x9d\x8e",
                  "\x1b[31mvermelho",
                  "\xff\x01"
                  "controle"};
    ring.count = 0;
    pictured.step("<script>alert(1)</script>",
                  Lines{"  1.<script>alert(1)</script>  2.Concei\xc3\xa7\xc3\xa3o  3.\xe6\x9d\x8e  "
                        "4.\x1b[31mvermelho  5.\xff\x01"
                        "controle "},
                  ring);
    Scene s = emptied();
    s.first = 0;
    // Texts of 12 characters (what a box shows whole), 13, and one cut short.
    s.elements = {element(1, "<img src=x onerror=alert(2)>", 1, Scene::null, true),
                  element(2, "Jo\xc3\xa3o e Concei\xc3\xa7\xc3\xa3o", 2),
                  element(-2147483647 - 1, "Concei\xc3\xa7\xc3\xa3o123", 3),
                  element(2147483647, "Concei\xc3\xa7\xc3\xa3o1234", 4),
                  element(5, "corte", 0, Scene::null, true)};
    s.walked = 5;
    s.labels = {{"</text><script>alert(3)</script>", 0}};
    pictured.step("inserir 1 <img src=x onerror=alert(2)>",
                  Lines{">>O texto '<img src=x onerror=alert(2)>' esta na lista?", "sim"}, s);
    page.finish();
}

// SPDX-License-Identifier: MIT
// A program that uses the list, in C++17, with std::forward_list's names: a
// circle of texts grown after its last element, shown with ExibirInfo,
// walked with a range-for and the standard algorithms, shrunk after a known
// element, kept with another list in a std::vector, and sorted, reversed and
// thinned by key. Built against listaenc::game, its first line is
// "  1.alfa  2.beta  3.gama "; against listaenc::demo, " alfa beta gama ".
#include "listaenccircular.h"

#include <algorithm>
#include <iostream>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

int main() {
    ListaEnc circle;
    circle.inserir(1, "alfa");
    ListaEnc::iterator last = circle.begin();
    for (const char* text : {"beta", "gama"}) {
        last = circle.insert_after(last, last->key + 1, text); // no walk to the end
    }
    circle.ExibirInfo();

    for (const node& element : circle) {
        std::cout << element.key << '.' << element.info << ' ';
    }
    auto const beta =
        std::find_if(circle.begin(), circle.end(), [](const node& e) { return e.info == "beta"; });
    std::cout << "| " << beta->info << " is number " << beta->key << " of "
              << std::distance(circle.begin(), circle.end()) << '\n';

    // After the last element comes the first: unlinking it moves the first on.
    std::unique_ptr<node> const alfa = circle.erase_after(last);
    std::cout << alfa->info << " left; " << circle.front().info << " is first\n";

    // Unlinking after the only element empties the list.
    ListaEnc single;
    single.inserir(4, "delta");
    std::unique_ptr<node> const delta = single.erase_after(single.begin());
    std::cout << delta->info << " left; empty: " << single.empty() << '\n';

    std::vector<ListaEnc> lists;
    lists.push_back(std::move(circle));
    lists.push_back(std::move(single));
    for (const ListaEnc& list : lists) {
        std::cout << list.size() << " elements:";
        for (const node& element : list) {
            std::cout << ' ' << element.info;
        }
        std::cout << std::endl;
    }

    // The classic algorithms move links only: nothing is copied or made.
    ListaEnc numbers;
    for (int key : {3, 1, 2, 1}) {
        numbers.inserir(key, "");
    }
    auto const show = [&numbers](const char* what) {
        std::cout << what << ':';
        for (auto at = numbers.cbegin(); at != numbers.cend(); ++at) {
            std::cout << ' ' << at->key;
        }
    };
    numbers.sort();
    show("sorted");
    numbers.reverse();
    show(" | reversed");
    std::cout << " | " << numbers.remove(1) << ' ';
    show("removed");
    std::cout << std::endl;
}

// SPDX-License-Identifier: MIT
// listdemo: runs a fixed script of list operations and narrates each step.
#include "listaenccircular.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>

namespace {

// The narrations that come back in the script.
constexpr std::string_view ask_first = ">>Qual o primeiro no da lista?";
constexpr std::string_view tell_size = ">>Tamanho da lista e' :";
constexpr std::string_view show_again = ">>Nova exibicao da lista";
constexpr std::string_view write_error = "listdemo: erro de escrita: ";

void narrate() {
    ListaEnc lista;
    std::string const blank = " ";

    for (int key : {10, 30, 20, 13, 53, 20}) {
        std::cout << ">>inserindo " << key << "..." << std::endl;
        lista.inserir(key, blank);
    }

    std::cout << ">>Exibicao da lista" << std::endl;
    lista.ExibirLista();

    std::cout << ask_first << std::endl;
    lista.PrintFirst();

    std::cout << tell_size << lista.tamanho() << std::endl;

    std::cout << ">>removendo 30..." << std::endl;
    lista.remover(30);

    std::cout << tell_size << lista.tamanho() << std::endl;

    std::cout << ask_first << std::endl;
    lista.PrintFirst();

    std::cout << show_again << std::endl;
    lista.ExibirLista();

    std::cout << ">>removendo 10..." << std::endl;
    std::unique_ptr<node> const first_removed = lista.remover(10);

    std::cout << show_again << std::endl;
    lista.ExibirLista();

    std::cout << ask_first << std::endl;
    lista.PrintFirst();

    std::cout << ">>Remove o primeiro elemento da lista" << std::endl;
    std::unique_ptr<node> const popped = lista.pop();

    std::cout << ">>a chave removida foi: " << popped->key << std::endl;

    std::cout << '\n' << show_again << std::endl;
    lista.ExibirLista();
}

} // namespace

int main() {
    // A line that cannot be written ends the script: the stream throws.
    std::cerr.tie(nullptr); // standard output is flushed line by line already
    std::cout.exceptions(std::ios::badbit);
    try {
        narrate();
        return 0;
    } catch (const std::exception&) {
        // Which kind of ios_base::failure the library throws varies with its
        // ABI, so the stream tells whether it failed.
        int const reason = errno; // of the write that failed
        if (!std::cout.bad()) {
            throw;
        }
        std::cerr << std::string(write_error) + std::strerror(reason) + '\n'; // one write
        return 3;
    }
}

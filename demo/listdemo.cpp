// SPDX-License-Identifier: MIT
// listdemo: runs a fixed script of list operations and narrates each step.
#include "listaenccircular.h"
#include "program.h"

#include <iostream>
#include <memory>
#include <string>
#include <string_view>

namespace {

// The narrations that come back in the script.
constexpr std::string_view ask_first = ">>Qual o primeiro no da lista?";
constexpr std::string_view tell_size = ">>Tamanho da lista e' :";
constexpr std::string_view show_again = ">>Nova exibicao da lista";

constexpr Program listdemo{"listdemo", R"(Uso: listdemo [OPCAO]
Executa um roteiro fixo de insercoes, remocoes, contagens e exibicoes numa
lista circular simplesmente encadeada e narra cada passo na saida padrao.
Nao le nada.

      --help     mostra esta ajuda e sai
      --version  mostra a versao e sai

Estado de saida:
  0  o roteiro chegou ao fim
  2  um argumento desconhecido
  3  erro de escrita da saida
)"};

int narrate(unsigned /*modes*/) {
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
    return 0;
}

} // namespace

int main(int argc, char** argv) { return run(listdemo, argc, argv, narrate); }

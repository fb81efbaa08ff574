// listdemo: runs a fixed script of list operations and narrates each step.
#include "listaenccircular.h"

#include <iostream>
#include <memory>
#include <string>

int main() {
    ListaEnc lista;
    std::string const blank = " ";

    for (int key : {10, 30, 20, 13, 53, 20}) {
        std::cout << ">>inserindo " << key << "..." << std::endl;
        lista.inserir(key, blank);
    }

    std::cout << ">>Exibicao da lista" << std::endl;
    lista.ExibirLista();

    std::cout << ">>Qual o primeiro no da lista?" << std::endl;
    lista.PrintFirst();

    std::cout << ">>Tamanho da lista e' :" << lista.tamanho() << std::endl;

    std::cout << ">>removendo 30..." << std::endl;
    lista.remover(30);

    std::cout << ">>Tamanho da lista e' :" << lista.tamanho() << std::endl;

    std::cout << ">>Qual o primeiro no da lista?" << std::endl;
    lista.PrintFirst();

    std::cout << ">>Nova exibicao da lista" << std::endl;
    lista.ExibirLista();

    std::cout << ">>removendo 10..." << std::endl;
    std::unique_ptr<node> const first_removed = lista.remover(10);

    std::cout << ">>Nova exibicao da lista" << std::endl;
    lista.ExibirLista();

    std::cout << ">>Qual o primeiro no da lista?" << std::endl;
    lista.PrintFirst();

    std::cout << ">>Remove o primeiro elemento da lista" << std::endl;
    std::unique_ptr<node> const popped = lista.pop();

    std::cout << ">>a chave removida foi: " << popped->key << std::endl;

    std::cout << "\n>>Nova exibicao da lista" << std::endl;
    lista.ExibirLista();
    return 0;
}

// A program that uses the list: a circle of three texts, shown with
// ExibirInfo. Built against listaenc::game it prints "  1.alfa  2.beta
// 3.gama "; against listaenc::demo, " alfa beta gama ".
#include "listaenccircular.h"

int main() {
    ListaEnc list;
    for (const char* text : {"alfa", "beta", "gama"}) {
        list.inserir(0, text);
    }
    list.ExibirInfo();
}

// Prints a circle of three texts: numbered in the game build, plain in the
// demo build, so the output tells which declarations the program was given.
#include "listaenccircular.h"

int main() {
    ListaEnc list;
    for (const char* text : {"alfa", "beta", "gama"}) {
        list.inserir(0, text);
    }
    list.ExibirInfo();
}

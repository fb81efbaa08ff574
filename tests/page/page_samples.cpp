// SPDX-License-Identifier: MIT
// Writes the sample pages into the folder given, NAME.html each, for the
// browser test and for a look at them.
#include "samples.h"

#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "uso: page_samples PASTA\n";
        return 2;
    }
    for (const Sample& sample : samples) {
        std::string const path = std::string(argv[1]) + "/" + sample.name + ".html";
        std::ofstream out(path, std::ios::binary);
        sample.write(out);
        if (!out.flush()) {
            std::cerr << "page_samples: " << path << ": nao se pode escrever\n";
            return 1;
        }
    }
    return 0;
}

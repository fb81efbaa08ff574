// The floor countoff is measured against: the same game and the same bytes,
// with each line formatted into one buffer and written with one call, as a
// flush after every line asks. Nothing else: a vector for the circle, no
// checks beyond what the benchmark's rosters need.
#include <charconv>
#include <cstddef>
#include <iostream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

std::string line;

void write_line() {
    line += '\n';
    for (std::size_t done = 0; done < line.size();) {
        ssize_t const wrote = write(1, line.data() + done, line.size() - done);
        if (wrote <= 0) {
            return;
        }
        done += static_cast<std::size_t>(wrote);
    }
}

template <typename... Pieces>
void say(const Pieces&... pieces) {
    line.clear();
    (line.append(pieces), ...);
    write_line();
}

void roster(const std::vector<std::string>& names) {
    line.clear();
    line += ' ';
    char digits[16];
    for (std::size_t i = 0; i < names.size(); ++i) {
        line += ' ';
        line.append(digits, std::to_chars(digits, digits + sizeof digits, i + 1).ptr);
        line += '.';
        line += names[i];
        line += ' ';
    }
    write_line();
}

} // namespace

int main() {
    std::ios::sync_with_stdio(false);
    std::string_view const dash =
        "------------------------------------------------------------------";
    std::string_view const stars = "****************************************************";
    say("\n\t Entre com n ( > 0): ");
    int n = 0;
    std::cin >> n;
    say("\t Nome dos soldados(ctrl+d para encerrar):");
    std::vector<std::string> names;
    for (std::string word; std::cin >> word;) {
        names.push_back(word);
    }
    say(dash);
    say("Os soldados sao:");
    roster(names);
    say(" O soldado que iniciara a contagem sera: ", names[0]);
    say(dash);
    std::size_t counting = 0;
    while (names.size() > 1) {
        std::size_t const reached = (counting + static_cast<std::size_t>(n)) % names.size();
        say("\tO Soldado removido foi: ", names[reached]);
        names.erase(names.begin() + static_cast<std::ptrdiff_t>(reached));
        if (names.size() == 1) {
            break;
        }
        say("Os soldados restantes sao:");
        say(dash);
        roster(names);
        say(dash);
        counting = reached % names.size();
        say("\tO soldado ", names[counting], " iniciara a contagem");
    }
    say(stars);
    say("\tO vencedor e o Soldado ", names[0]);
    say(stars);
    say("\nJogo terminado...");
}

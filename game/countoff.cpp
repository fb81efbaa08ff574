// SPDX-License-Identifier: MIT
// countoff: the counting-out game. Reads a count n and the soldiers' names
// from standard input and stands the soldiers in a circle in that order.
// Starting from the first soldier, the count passes n soldiers and removes the
// one it reaches, then starts again from the soldier after it, until one
// soldier is left: the winner. What the game does is said to one
// presentation (presentation.h), which the options choose.
//
// A draw (--linhas, --coluna and the options of a draw) reads the whole
// input first, and the draw's core (draw.h) makes it a roster: the table
// then comes from the core, as a page that calls it makes it, and the other
// presentations are told the game played on the list.
#include "counting.h"
#include "draw.h"
#include "drawing.h"
#include "extras.h"
#include "input.h"
#include "listaenccircular.h"
#include "on_page.h"
#include "pager.h"
#include "presentation.h"
#include "program.h"
#include "text.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstddef>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace {

constexpr std::string_view bad_width = "countoff: largura inválida: ";
constexpr std::string_view width_bounds = " (de 50 a 1000 colunas)";
constexpr std::string_view csv_alone = "countoff: --csv não se combina com --desenho nem --passo";
constexpr std::string_view page_and_table = "countoff: --html não se combina com --csv";
constexpr std::string_view width_on_page = "countoff: --largura não se combina com --html";
constexpr std::string_view count_twice =
    "countoff: n vem de --contagem ou de --semente, não das duas";
constexpr std::string_view column_or_lines = "countoff: --coluna não se combina com --linhas";
constexpr std::string_view column_needs_count =
    "countoff: com --coluna, n vem de --contagem ou de --semente";
constexpr std::string_view column_options = "countoff: --separador e --id valem só com --coluna";
constexpr std::string_view bad_separator = "countoff: separador inválido: ";
constexpr std::string_view separator_kinds = " (um caractere, como , ou ;, ou tab)";
constexpr std::string_view bad_prizes = "countoff: número de prêmios inválido: ";
constexpr std::string_view prizes_shown =
    "countoff: --premios vale com --csv, --xlsx ou --ata, que mostram os prêmios";
constexpr std::string_view not_in_this_build = ": esta compilação do countoff não tem ";
constexpr std::string_view left_out = " inscritos deixados de fora pela lista de exclusão";
constexpr std::string_view left_out_one = " inscrito deixado de fora pela lista de exclusão";
constexpr std::string_view convert_hint =
    "countoff: se o arquivo não está em UTF-8, diga a sua codificação com --codificacao "
    "(cp1252, latin1...)";

// The modes that the options set.
enum : unsigned {
    summary = 1U << 0,         // the circle that is left after a removal is not shown
    one_name_a_line = 1U << 1, // the count and each name on a line of its own
    drawings = 1U << 2,        // the circle drawn after the first roster and each removal
    table = 1U << 3,           // the draw as a table
    count_given = 1U << 4,     // the count on the command line
    steps = 1U << 5,           // each step of each count drawn, and the drawings
    width_given = 1U << 6,     // the drawings' width on the command line
    html = 1U << 7,            // a page of the game's steps instead of the text
    column = 1U << 8,          // the names from a column of a CSV file
    separator = 1U << 9,       // its separator
    id = 1U << 10,             // and an id from another column
    encoding = 1U << 11,       // the input in another encoding than UTF-8
    sorted = 1U << 12,         // the circle in the order of the names
    prizes = 1U << 13,         // the table marks the prizes
    excluded = 1U << 14,       // a list of names or ids left out
    workbook = 1U << 15,       // the table as a workbook too
    minutes = 1U << 16,        // the minutes of the draw
    seed = 1U << 17,           // the count from a public text
};
// The options that make a run a draw: the whole input read, then the core's.
constexpr unsigned draw_modes = one_name_a_line | table | column | encoding | sorted | prizes |
                                excluded | workbook | minutes | seed;
std::string_view count_argument;
std::string_view width_argument;
std::string_view column_argument;
std::string_view separator_argument;
std::string_view id_argument;
std::string_view encoding_argument;
std::string_view prizes_argument;
std::string_view excluded_argument;
std::string_view workbook_argument;
std::string_view minutes_argument;
std::string_view seed_argument;
constexpr Option options[] = {{"--resumo", summary},
                              {"--linhas", one_name_a_line},
                              {"--desenho", drawings},
                              {"--passo", steps},
                              {"--csv", table},
                              {"--contagem", count_given, &count_argument},
                              {"--largura", width_given, &width_argument},
                              {"--html", html},
                              {"--coluna", column, &column_argument},
                              {"--separador", separator, &separator_argument},
                              {"--id", id, &id_argument},
                              {"--codificacao", encoding, &encoding_argument},
                              {"--ordenar", sorted},
                              {"--premios", prizes, &prizes_argument},
                              {"--excluir", excluded, &excluded_argument},
                              {"--xlsx", workbook, &workbook_argument},
                              {"--ata", minutes, &minutes_argument},
                              {"--semente", seed, &seed_argument}};

// Whether the game is shown summed up and nothing else, which a roster held
// by the draw's core tells as well as the list.
bool summed_up(unsigned modes) {
    return (modes & summary) != 0 && (modes & (drawings | steps | html | table)) == 0;
}

// The size of standard input, where it is a file, or 0.
std::size_t input_size() {
    struct stat file {};
    return ::fstat(0, &file) == 0 && S_ISREG(file.st_mode) && file.st_size > 0
               ? static_cast<std::size_t>(file.st_size)
               : 0;
}

// The command line, for the minutes.
std::span<char*> command_line;

constexpr Program countoff{"countoff", R"(Uso: countoff [OPÇÃO]...
Joga a contagem de eliminação. Lê da entrada padrão um número n e os nomes
dos soldados, que ficam em roda na ordem dada; a partir do primeiro, a
contagem passa n soldados e remove o que alcançar, e recomeça no seguinte,
até restar um soldado: o vencedor.

Os nomes são palavras separadas por espaços ou quebras de linha, até o fim
da entrada (ctrl+d no terminal). Para ler n e os nomes de um arquivo:
  countoff < arquivo
Para sortear um nome de um arquivo com n na primeira linha e um nome em cada
linha seguinte, mostrando só as remoções:
  countoff --linhas --resumo < nomes.txt
Para sortear com n = 7 a coluna "nome" de uma planilha salva como CSV, em
ordem alfabética, e ter o resultado como tabela e a ata do sorteio:
  countoff --coluna nome --ordenar --contagem 7 --csv --ata ata.txt \
    < inscritos.csv > resultado.csv

      --contagem N  usa N como n; a entrada tem então só os nomes
      --semente TEXTO
                    tira n de um texto público (os números de uma loteria):
                    os 8 primeiros algarismos hexadecimais do SHA-256 do
                    texto, sem o bit mais alto; confira com
                    printf %s TEXTO | sha256sum
      --linhas      lê n sozinho na primeira linha que não está em branco, e
                    depois um nome por linha, sem os espaços do começo e do
                    fim (os de dentro ficam); pula as linhas em branco; LF,
                    CRLF e CR terminam uma linha
      --coluna C    lê a entrada como CSV de planilha (RFC 4180: cabeçalho,
                    células entre aspas com vírgulas e quebras de linha) e
                    tira os nomes da coluna C: o texto do cabeçalho ou o
                    número da coluna, a partir de 1
      --separador S separa as colunas com S (, ou ; ou tab); sem ela, o que
                    o cabeçalho usa
      --id C        leva a coluna C para a tabela, como id de cada nome
      --codificacao NOME
                    converte a entrada de NOME (cp1252, latin1...) para
                    UTF-8; sem ela, com --linhas ou --coluna, a entrada é
                    UTF-8 (ou UTF-16 com BOM), e outros bytes terminam o
                    sorteio com o estado 1 e a linha em que estão
      --ordenar     põe a roda em ordem: cada nome em Unicode NFC, e então
                    byte a byte; posicao continua a linha do arquivo
      --excluir ARQUIVO
                    deixa de fora os nomes (ou, com --id, os ids) de ARQUIVO,
                    um por linha; um que não está entre os inscritos termina
                    com o estado 1
      --premios K   a tabela ganha a coluna premio: 1 para o vencedor, 2 para
                    o último removido, até K
      --csv         mostra o sorteio como tabela CSV (RFC 4180, UTF-8 com
                    BOM) e nada mais: o cabeçalho ordem,posicao,nome e uma
                    linha por soldado, na ordem em que sai, o vencedor por
                    último; posicao é a linha do soldado no arquivo; uma
                    célula que começa com = + - @ TAB ou CR ganha um ' na
                    frente, para que a planilha não a tome por fórmula
      --xlsx ARQUIVO
                    escreve também a tabela numa planilha .xlsx, cada nome
                    uma célula de texto, sem fórmula
      --ata ARQUIVO escreve a ata do sorteio: o programa, a data, o comando,
                    o SHA-256 da entrada, os inscritos, n e os vencedores
      --desenho     desenha a roda depois da primeira lista e de cada
                    remoção: o soldado da contagem e o removido, com seu next
      --html        escreve, em vez do texto, uma página HTML com os passos do
                    jogo: a roda de soldados e as linhas do texto de cada um;
                    até 1000 soldados e, com --passo, até 20000 passos
      --largura N   desenha em N colunas (de 50 a 1000); sem ela, na largura
                    do terminal, ou em 80 fora de um terminal
      --passo       desenha também cada passo da contagem: cada soldado por
                    que ela passa, voltas incluídas, até o que será removido;
                    uma contagem de mais de três voltas mostra a primeira,
                    um passo para as voltas inteiras seguintes e o resto
      --resumo      mostra cada remoção, mas não a roda que resta depois
                    dela
      --help        mostra esta ajuda e sai
      --version     mostra a versão e sai

Uma marca de ordem de bytes (BOM) UTF-8 no começo da entrada é ignorada.

Estado de saída:
  0  o jogo chegou ao vencedor
  1  nenhum nome, um n que não se pode ler, ou uma entrada recusada (bytes
     que não são texto, uma coluna que falta, um nome a excluir que não está
     na lista)
  2  n negativo, um argumento desconhecido, uma largura inválida, opções
     que não se combinam, uma opção que esta compilação não tem, ou um jogo
     grande demais para --html
  3  erro de leitura ou de escrita da entrada, da saída ou de um arquivo
)",
                           options};

// Reads n from `word`, whole; when it is not a count, standard error says
// why. Answers whether it is one.
bool read_count(std::string_view word, int& n) {
    sorteio::Count const count = sorteio::parse_count(word);
    if (count.n) {
        n = static_cast<int>(*count.n);
    } else if (count.negative) {
        n = -1;
    } else {
        complain("countoff: ", count.message);
    }
    return count.n || count.negative;
}

// Reads the next piece of the input into `text`: a word.
using Reader = bool (Input::*)(std::string& text);

// Stands every name up to the end of input in the circle, in order. It
// stops at `most` names.
void read_roster(Input& input, ListaEnc& roster, std::size_t most) {
    node* last = nullptr;
    std::string name;
    for (std::size_t names = 0; names < most && input.word(name); ++names) {
        if (last == nullptr) {
            roster.inserir(0, std::move(name));
            last = &*roster.begin();
        } else {
            last = roster.inserirapos(last, 0, std::move(name));
        }
    }
}

// Plays the game on the roster with the count n, and tells the presentation
// what happens.
void play(Presentation& presentation, ListaEnc& roster, std::size_t n) {
    presentation.first_roster(roster);
    Counting counting(roster, n);
    const node* start = &roster.front(); // where the count starts
    for (std::size_t order = 1; counting.standing() > 1; ++order) {
        if (presentation.follows_count()) {
            std::size_t const standing = counting.standing();
            const node* at = start;
            for (std::size_t i = 0, steps = shown_steps(n, standing); i < steps; ++i) {
                CountStep const step = shown_step(n, standing, i);
                if (step.laps == 0) {
                    at = at->next;
                }
                presentation.passing(roster, *at, {step.number, n, step.laps});
            }
        }
        std::size_t const place = counting.reached_place();
        const node& removed = counting.remove_reached();
        presentation.removed(roster, {removed, place + 1}, order, counting.standing() > 1);
        start = removed.next;
    }
    std::size_t const place = counting.reached_place();
    std::unique_ptr<node> const survivor = roster.pop();
    presentation.won({*survivor, place + 1});
}

// The game as it is played with the names as words: the count, then the
// names as words, read as they come. Answers the exit status.
int play_words(Presentation& presentation, Input& input, unsigned modes) {
    ListaEnc roster;
    int n = 0;
    bool counted = false;
    if ((modes & count_given) != 0) {
        if (!read_count(count_argument, n)) {
            return 1; // the count's reason alone: there is no list to speak of
        }
        counted = true;
    } else {
        presentation.asking_count();
        std::string word;
        if (input.word(word)) {
            counted = read_count(word, n);
        } else {
            complain("countoff: n ausente");
        }
    }
    if (counted && n < 0) {
        complain("countoff: n deve ser maior ou igual a zero");
        return 2;
    }
    if (counted) {
        presentation.counted(static_cast<std::size_t>(n));
    }
    presentation.asking_names();
    if (counted && summed_up(modes)) {
        // The summed-up game needs no list: the names stay where they are read.
        std::string text;
        text.reserve(input_size() + 1);
        input.rest(text);
        sorteio::Roster compact;
        sorteio::Messages none;
        sorteio::read_over(std::move(text), sorteio::Format::words, {}, compact, nullptr, none);
        if (compact.size() == 0) {
            presentation.nobody();
            return 1;
        }
        presentation.counted(static_cast<std::size_t>(n));
        summarize(*std::cout.rdbuf(), compact, static_cast<std::uint32_t>(n));
        return 0;
    }
    if (counted) {
        read_roster(input, roster, presentation.most_soldiers() + 1);
    }
    if (roster.empty()) {
        presentation.nobody();
        return 1;
    }
    play(presentation, roster, static_cast<std::size_t>(n));
    return 0;
}

// The whole of standard input, read in one piece where it is a file.
// Throws: StreamFailure.
std::string read_all() {
    std::streambuf& in = *std::cin.rdbuf();
    std::string bytes;
    std::size_t size = 0;
    for (std::size_t block = std::max<std::size_t>(input_size() + 1, 64 * 1024);;
         block = std::min<std::size_t>(2 * block, 16 << 20)) {
        bytes.resize(size + block);
        auto const got = static_cast<std::size_t>(
            in.sgetn(bytes.data() + size, static_cast<std::streamsize>(block)));
        size += got;
        if (got < block) {
            break;
        }
    }
    bytes.resize(size);
    return bytes;
}

// A command-line word as a shell takes it back.
std::string shell_word(std::string_view word) {
    if (!word.empty() &&
        word.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                               "0123456789-_./=+:,@%") == std::string_view::npos) {
        return std::string(word);
    }
    std::string quoted = "'";
    for (char const c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string now() {
    std::time_t const seconds = std::time(nullptr);
    std::tm moment{};
    gmtime_r(&seconds, &moment);
    char text[32];
    return {text, std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &moment)};
}

// Writes one row, or the header, with one write.
void send(const std::string& row) {
    std::streambuf& out = *std::cout.rdbuf();
    out.sputn(row.data(), static_cast<std::streamsize>(row.size()));
    out.pubsync();
}

// Refuses what a draw's options cannot do together, or what this build
// cannot do. Answers 2, or 0 when all is well.
int check_draw_options(unsigned modes, sorteio::Request& request) {
    auto const refuse = [](auto... parts) {
        complain(parts...);
        return 2;
    };
    if ((modes & count_given) != 0 && (modes & seed) != 0) {
        return refuse(count_twice);
    }
    if ((modes & column) != 0 && (modes & one_name_a_line) != 0) {
        return refuse(column_or_lines);
    }
    if ((modes & (separator | id)) != 0 && (modes & column) == 0) {
        return refuse(column_options);
    }
    if ((modes & column) != 0 && (modes & (count_given | seed)) == 0) {
        return refuse(column_needs_count);
    }
    if ((modes & prizes) != 0) {
        std::size_t k = 0;
        auto const [end, error] = std::from_chars(
            prizes_argument.data(), prizes_argument.data() + prizes_argument.size(), k);
        if (error != std::errc{} || end != prizes_argument.data() + prizes_argument.size() ||
            k == 0) {
            return refuse(bad_prizes, Quoted{prizes_argument}, " (de 1 em diante)");
        }
        if ((modes & (table | workbook | minutes)) == 0) {
            return refuse(prizes_shown);
        }
        request.prizes = k;
    }
    if ((modes & separator) != 0) {
        std::string_view const s = separator_argument;
        if (s == "tab" || s == "\\t") {
            request.columns.separator = '\t';
        } else if (s.size() == 1 && s != "\"" && s != "\r" && s != "\n") {
            request.columns.separator = s[0];
        } else {
            return refuse(bad_separator, Quoted{s}, separator_kinds);
        }
    }
    for (auto const& [mode, name, library, has] :
         {std::tuple{sorted, "--ordenar", "utf8proc", extras::has_nfc()},
          std::tuple{encoding, "--codificacao", "iconv", extras::has_iconv()},
          std::tuple{workbook, "--xlsx", "libxlsxwriter", extras::has_xlsx()}}) {
        if ((modes & mode) != 0 && !has) {
            return refuse("countoff: ", name, not_in_this_build, library);
        }
    }
    return 0;
}

// The bytes of a file; `read` is false, with errno set, when they cannot
// be read (a directory cannot).
std::string read_file(std::string_view path, bool& read) {
    std::string bytes;
    int const descriptor = ::open(std::string(path).c_str(), O_RDONLY | O_CLOEXEC);
    read = descriptor >= 0;
    for (char block[64 * 1024]; read;) {
        ssize_t const got = ::read(descriptor, block, sizeof block);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        read = got >= 0;
        if (got <= 0) {
            break;
        }
        bytes.append(block, static_cast<std::size_t>(got));
    }
    if (descriptor >= 0) {
        int const error = errno;
        ::close(descriptor);
        errno = error;
    }
    return bytes;
}

// A draw: the whole input read, made a roster by the core, then drawn.
// Answers the exit status.
int play_draw(Presentation* presentation, unsigned modes) {
    sorteio::Request request;
    if (int const status = check_draw_options(modes, request); status != 0) {
        return status;
    }
    request.format = (modes & column) != 0            ? sorteio::Request::Format::csv
                     : (modes & one_name_a_line) != 0 ? sorteio::Request::Format::lines
                                                      : sorteio::Request::Format::words;
    request.columns.name = column_argument;
    request.columns.id = (modes & id) != 0 ? id_argument : "";
    request.sorted = (modes & sorted) != 0;
    request.nfc = request.sorted ? &extras::nfc : nullptr;
    if ((modes & count_given) != 0) {
        request.count = count_argument;
        if (request.count.empty()) {
            complain("countoff: n inválido: ''");
            return 1;
        }
    }
    if ((modes & seed) != 0) {
        request.seed = seed_argument;
    }
    if ((modes & excluded) != 0) {
        bool read = false;
        request.exclude = read_file(excluded_argument, read);
        if (!read) {
            complain("countoff: --excluir: não se pode ler ", Quoted{excluded_argument}, ": ",
                     std::strerror(errno));
            return 3;
        }
        if (request.exclude.empty()) {
            request.exclude = "\n"; // a list of no one: nothing left out, and said so
        }
    }
    bool const count_in_input = (modes & (count_given | seed)) == 0;
    if (presentation != nullptr && count_in_input) {
        presentation->asking_count();
    }
    std::string bytes;
    bool names_asked = false;
    if (presentation != nullptr && count_in_input && request.format == sorteio::Format::lines &&
        (modes & encoding) == 0 && input_is_terminal()) {
        // At a terminal, the count is taken as soon as it is typed, and the
        // names asked for then.
        Input input(*std::cin.rdbuf());
        std::string line;
        while (input.line(line) && line.find_first_not_of(" \t\v\f") == std::string::npos) {
        }
        std::size_t const first = line.find_first_not_of(" \t\v\f");
        request.count = first == std::string::npos
                            ? ""
                            : line.substr(first, line.find_last_not_of(" \t\v\f") + 1 - first);
        sorteio::Count const count = sorteio::parse_count(request.count);
        if (!count.n) {
            complain("countoff: ", request.count.empty() ? "n ausente" : count.message);
            return count.negative ? 2 : 1;
        }
        presentation->asking_names();
        names_asked = true;
        input.rest(bytes);
    } else {
        bytes = read_all();
    }
    request.hash = false;
    std::string const sha256 = (modes & minutes) != 0 ? sorteio::sha256_hex(bytes) : "";
    if ((modes & encoding) != 0) {
        std::string error;
        if (int const status = extras::convert(bytes, std::string(encoding_argument), error);
            status != 0) {
            status == 2 ? complain("countoff: ", error, Quoted{encoding_argument})
                        : complain("countoff: ", error);
            return status;
        }
    }
    sorteio::Result result = sorteio::run(std::move(bytes), request);
    result.sha256 = sha256;
    bool const nobody = result.status == 1 && !result.messages.empty() &&
                        result.messages.back() == "A lista esta vazia";
    if (!nobody) {
        for (const std::string& message : result.messages) {
            complain("countoff: ", message);
        }
    }
    if (result.status == 1 && !nobody && (modes & encoding) == 0 &&
        std::any_of(result.messages.begin(), result.messages.end(), [](const std::string& m) {
            return m.find("UTF-8") != std::string::npos || m.find("NUL") != std::string::npos;
        })) {
        complain(convert_hint);
    }
    if ((modes & excluded) != 0 && (result.status == 0 || nobody)) {
        complain("countoff: ", result.excluded, result.excluded == 1 ? left_out_one : left_out);
    }
    if (presentation != nullptr && !names_asked && (result.status == 0 || nobody)) {
        presentation->asking_names();
    }
    if (nobody) {
        if (presentation == nullptr) {
            complain("countoff: A lista esta vazia");
            return 1;
        }
        presentation->nobody();
        return 1;
    }
    if (result.status != 0) {
        return result.status;
    }

    if (presentation == nullptr) {
        std::string row;
        sorteio::append_header(row, result.layout);
        send(row);
        for (std::size_t k = 0; k < result.order.size(); ++k) {
            row.clear();
            sorteio::append_row(row, result.roster, result.order, k, result.layout);
            send(row);
        }
    } else if (summed_up(modes)) {
        presentation->counted(result.n);
        summarize(*std::cout.rdbuf(), result.roster, result.n);
    } else {
        presentation->counted(result.n);
        ListaEnc roster;
        node* last = nullptr;
        std::size_t const most = presentation->most_soldiers() + 1;
        for (std::size_t i = 0; i < result.roster.size() && i < most; ++i) {
            std::string name(result.roster.name(i));
            last = last == nullptr ? (roster.inserir(0, std::move(name)), &*roster.begin())
                                   : roster.inserirapos(last, 0, std::move(name));
        }
        play(*presentation, roster, result.n);
    }

    if ((modes & workbook) != 0) {
        std::string error;
        if (!extras::write_workbook(std::string(workbook_argument), result.roster, result.order,
                                    result.layout, error)) {
            complain("countoff: --xlsx: não se pode escrever ", Quoted{workbook_argument}, ": ",
                     error);
            return 3;
        }
    }
    if ((modes & minutes) != 0) {
        sorteio::Record record;
        record.program = "countoff (listaenc) " LISTAENC_VERSION;
        record.date = now();
        for (char* const argument : command_line) {
            record.command += record.command.empty() ? "" : " ";
            record.command += shell_word(argument);
        }
        record.sha256 = result.sha256;
        record.input_name = "-";
        record.excluded = result.excluded;
        record.n = result.n;
        if ((modes & seed) != 0) {
            record.seed = std::string(seed_argument);
        }
        record.sorted = request.sorted;
        record.prizes = request.prizes;
        std::string const text = sorteio::minutes(record, result.roster, result.order);
        std::ofstream file{std::string(minutes_argument), std::ios::binary};
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
        file.close();
        if (!file) {
            complain("countoff: --ata: não se pode escrever ", Quoted{minutes_argument}, ": ",
                     std::strerror(errno));
            return 3;
        }
    }
    return 0;
}

int play(unsigned modes) {
    if ((modes & table) != 0 && (modes & html) != 0) {
        complain(page_and_table);
        return 2;
    }
    if ((modes & table) != 0 && (modes & (drawings | steps)) != 0) {
        complain(csv_alone);
        return 2;
    }
    if ((modes & html) != 0 && (modes & width_given) != 0) {
        complain(width_on_page);
        return 2;
    }
    std::size_t const width = drawing_width((modes & width_given) != 0 ? &width_argument : nullptr);
    if (width == 0) {
        complain(bad_width, Quoted{width_argument}, width_bounds);
        return 2;
    }
    StandardOutput out;
    std::ostream page(std::cout.rdbuf());
    page.exceptions(std::ios::badbit);
    std::optional<Transcript> transcript;
    std::optional<PageGame> page_game;
    Presentation* presentation = nullptr;
    if ((modes & html) != 0) {
        presentation = &page_game.emplace(page, (modes & summary) != 0, (modes & steps) != 0);
    } else if ((modes & table) == 0) {
        presentation = &transcript.emplace(
            out, Transcript::Options{(modes & summary) != 0, (modes & (drawings | steps)) != 0,
                                     (modes & steps) != 0, width, (modes & width_given) == 0});
        if ((modes & width_given) == 0) {
            watch_width();
        }
    }
    // Steps are long: at a terminal they are paged, unless the names are
    // typed there.
    Pager pager((modes & steps) != 0 && (modes & html) == 0 && !input_is_terminal());
    int status = 0;
    try {
        if ((modes & draw_modes) != 0) {
            status = play_draw(presentation, modes);
        } else {
            Input input(*std::cin.rdbuf());
            status = play_words(*presentation, input, modes);
        }
    } catch (const TooLargeForAPage&) {
        status = 2; // standard error said why
    }
    pager.finish();
    return status;
}

} // namespace

int main(int argc, char** argv) {
    command_line = std::span(argv, static_cast<std::size_t>(argc));
    try {
        return run(countoff, argc, argv, play);
    } catch (const ListUnderflowException&) {
        return 1; // no soldiers; the exception printed why
    }
}

// SPDX-License-Identifier: MIT
// Times countoff against the baseline on fixed workloads: standard output to
// /dev/null, the fastest of several runs (noise on a shared machine only adds
// time), the two taking turns. Both must first print the same bytes. Prints
// the times, their ratio, countoff's speed per output byte and its peak
// resident memory.
//
// Then countoff --resumo and countoff --csv on a million names against their
// floors, the baseline with the same option, for counts from 0 to two
// billion, on names of 15 bytes and of 30 bytes. Each pair prints the
// same number of lines, of about the same size, and countoff's winner must
// be the one that the recurrence J(1) = 0, J(i) = (J(i - 1) + n + 1) mod i
// names (0-based in the roster). Each must be within 1.5 times its floor,
// with a peak resident memory under 100 MiB, or the benchmark fails. Then
// countoff --coluna against countoff --linhas on the same names, a column
// of a CSV file against a line each, within 1.2 times. Before them, a
// listdemo session of 10,000 insertions.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int runs = 15;
constexpr int million_runs = 3; // each run of a million names takes a second or more
constexpr double summary_ratio_limit = 1.5;
constexpr double column_ratio_limit = 1.2;
constexpr double peak_limit_mib = 100;

struct Run {
    double seconds;
    long peak_kib;
};

// The arguments of a run: at most four, the first null ending them.
using Arguments = std::array<const char*, 4>;

Run run(const char* program, Arguments options, const std::string& input, const char* output) {
    // posix_spawn does not copy this process's memory into the child, so the
    // child's peak resident memory is its own.
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, input.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, output, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::array<char*, 6> argv{const_cast<char*>(program)};
    for (std::size_t i = 0; i < options.size() && options[i] != nullptr; ++i) {
        argv[i + 1] = const_cast<char*>(options[i]);
    }
    auto const start = std::chrono::steady_clock::now();
    pid_t child = 0;
    int const spawned = posix_spawn(&child, program, &files, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    int status = 0;
    rusage usage{};
    if (spawned == 0) {
        wait4(child, &status, 0, &usage);
    }
    auto const end = std::chrono::steady_clock::now();
    if (spawned != 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed on %s\n", program, input.c_str());
        std::exit(1);
    }
    return {std::chrono::duration<double>(end - start).count(), usage.ru_maxrss};
}

// Answers the size of the first file when the two hold the same bytes, or -1.
long long same_bytes(const std::string& a, const std::string& b) {
    std::ifstream first(a, std::ios::binary);
    std::ifstream second(b, std::ios::binary);
    std::vector<char> x(1 << 16);
    std::vector<char> y(1 << 16);
    long long size = 0;
    while (first && second) {
        first.read(x.data(), static_cast<std::streamsize>(x.size()));
        second.read(y.data(), static_cast<std::streamsize>(y.size()));
        if (first.gcount() != second.gcount() ||
            !std::equal(x.begin(), x.begin() + first.gcount(), y.begin())) {
            return -1;
        }
        size += first.gcount();
    }
    return size;
}

struct Result {
    double countoff;
    double baseline;
    double bytes;
    long peak_kib;
};

// The soldiers' names: "soldado1", "soldado2", ... by default.
enum class Names { numbered, long_200_bytes, one_or_two_letters, bytes_15, about_30_bytes };

std::string soldier(Names names, int i) {
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    constexpr int count = sizeof letters - 1;
    switch (names) {
    case Names::long_200_bytes: {
        std::string const number = std::to_string(i);
        return std::string(200 - number.size(), 'x') + number;
    }
    case Names::about_30_bytes: { // "soldado-0000001-", and letters up to 30 bytes
        std::string name = "soldado-" + std::to_string(i) + "-";
        return name + std::string(30 - name.size(), letters[i % count]);
    }
    case Names::bytes_15: { // "soldado-0000001"
        std::string const number = std::to_string(i);
        return "soldado-" + std::string(7 - number.size(), '0') + number;
    }
    case Names::one_or_two_letters:
        return i % 3 == 0 ? std::string{letters[i % count]}
                          : std::string{letters[i % count], letters[i / count % count]};
    default:
        return "soldado" + std::to_string(i);
    }
}

// A workload: a roster, a count, and the option that countoff and the
// baseline are given, if any. A column workload gives countoff the names
// as a column of a CSV file (--coluna) and, as its floor, countoff itself
// with a name a line (--linhas), both with --csv and the count as an option.
struct Workload {
    const char* name;
    int soldiers;
    long n;
    Names names = Names::numbered;
    const char* option = nullptr;
    bool column = false;
};

// What an output holds: its lines, its bytes and the name in its winner line.
struct Output {
    long long lines = 0;
    long long bytes = 0;
    std::string winner;
};

// The winner is named in the game's winner line, or in a table's last row,
// after its second comma (the benchmark's names need no quotes). The file is
// read in blocks and a long line is only counted: this process must stay
// small, since the peak of a program that it spawns counts its size.
Output read_output(const std::string& path, bool table) {
    constexpr std::string_view winner_line = "\tO vencedor e o Soldado ";
    constexpr std::size_t longest_kept = 4096;
    std::ifstream file(path, std::ios::binary);
    std::vector<char> block(1 << 16);
    Output output;
    std::string line;
    bool kept = true; // whether `line` holds the whole line so far
    while (file.read(block.data(), static_cast<std::streamsize>(block.size())) ||
           file.gcount() > 0) {
        for (char const c :
             std::string_view(block.data(), static_cast<std::size_t>(file.gcount()))) {
            ++output.bytes;
            if (c != '\n') {
                kept = kept && line.size() < longest_kept;
                if (kept) {
                    line += c;
                }
                continue;
            }
            ++output.lines;
            if (kept && table) {
                std::size_t const name = line.find(',', line.find(',') + 1) + 1;
                output.winner = line.substr(name, line.size() - name - 1); // less its CR
            } else if (kept && line.starts_with(winner_line)) {
                output.winner = line.substr(winner_line.size());
            }
            line.clear();
            kept = true;
        }
    }
    return output;
}

// Answers what is wrong with countoff's output against the floor's, or null.
// A whole game prints the floor's bytes; a summed-up one prints as many lines
// as its floor, of about the same size, and the recurrence's winner.
const char* fault(const Workload& w, const std::string& mine, const std::string& floor) {
    if (w.option == nullptr && !w.column) {
        return same_bytes(mine, floor) < 0 ? "countoff and the baseline print different bytes"
                                           : nullptr;
    }
    bool const table = w.column || std::string_view(w.option) == "--csv";
    Output const c = read_output(mine, table);
    Output const b = read_output(floor, table);
    long long j = 0;
    for (long long i = 2; i <= w.soldiers; ++i) {
        j = (j + w.n + 1) % i;
    }
    if (c.lines != b.lines) {
        return "countoff and its floor print different numbers of lines";
    }
    if (std::llabs(c.bytes - b.bytes) * 100 > b.bytes) {
        return "the sizes of countoff's output and its floor's differ by more than 1%";
    }
    if (c.winner != soldier(w.names, static_cast<int>(j) + 1)) {
        return "countoff's winner is not the one that the recurrence names";
    }
    return nullptr;
}

struct Programs {
    const char* countoff;
    const char* baseline;
    std::string dir; // for the inputs and outputs
};

Result measure(const Programs& p, const Workload& w) {
    std::string const input = p.dir + "/" + w.name + ".in";
    std::string const lines = p.dir + "/" + w.name + ".lines";
    std::string const count = std::to_string(w.n);
    {
        std::ofstream roster(input);
        if (w.column) {
            roster << "nome\r\n";
        } else {
            roster << w.n << '\n';
        }
        std::ofstream one_a_line(w.column ? lines : "/dev/null");
        for (int i = 1; i <= w.soldiers; ++i) {
            std::string const name = soldier(w.names, i);
            roster << name << (w.column ? "\r\n" : i % 10 == 0 ? "\n" : " ");
            one_a_line << name << '\n';
        }
    }
    Arguments const mine_options =
        w.column ? Arguments{"--coluna", "nome", "--csv", nullptr} : Arguments{w.option, nullptr};
    Arguments const floor_options =
        w.column ? Arguments{"--linhas", "--csv", nullptr} : Arguments{w.option, nullptr};
    // The count as an option: a fifth argument, where the runs have room.
    std::string const count_option = "--contagem=" + count;
    Arguments const mine_full =
        w.column ? Arguments{"--coluna", "nome", "--csv", count_option.c_str()} : mine_options;
    Arguments const floor_full =
        w.column ? Arguments{"--linhas", "--csv", count_option.c_str()} : floor_options;
    const char* const floor_program = w.column ? p.countoff : p.baseline;
    std::string const& floor_input = w.column ? lines : input;
    std::string const mine = p.dir + "/countoff.out";
    std::string const floor = p.dir + "/baseline.out";
    run(p.countoff, mine_full, input, mine.c_str());
    run(floor_program, floor_full, floor_input, floor.c_str());
    if (const char* const wrong = fault(w, mine, floor)) {
        std::fprintf(stderr, "%s: %s\n", w.name, wrong);
        std::exit(1);
    }
    auto const printed = std::ifstream(mine, std::ios::binary | std::ios::ate).tellg();
    Result r{1e9, 1e9, static_cast<double>(printed), 0};
    for (int i = 0; i < (w.soldiers >= 1000000 ? million_runs : runs); ++i) {
        Run const c = run(p.countoff, mine_full, input, "/dev/null");
        r.countoff = std::min(r.countoff, c.seconds);
        r.peak_kib = std::max(r.peak_kib, c.peak_kib);
        r.baseline =
            std::min(r.baseline, run(floor_program, floor_full, floor_input, "/dev/null").seconds);
    }
    std::printf("%-5s %8d %11ld %9.1f %12.1f %12.1f %6.2f %9.2f %9.1f\n", w.name, w.soldiers, w.n,
                r.bytes / 1e6, r.baseline * 1e3, r.countoff * 1e3, r.countoff / r.baseline,
                r.countoff * 1e9 / r.bytes, static_cast<double>(r.peak_kib) / 1024);
    std::fflush(stdout);
    return r;
}

// A session of `lines` insertions, each of which walks the whole circle.
void time_session(const char* listdemo, const std::string& dir, int lines) {
    std::string const input = dir + "/session.in";
    {
        std::ofstream session(input);
        for (int i = 1; i <= lines; ++i) {
            session << "inserir " << i << " soldado" << i << '\n';
        }
    }
    Run best{1e9, 0};
    for (int i = 0; i < runs; ++i) {
        Run const r = run(listdemo, {"--interativo", nullptr}, input, "/dev/null");
        best = {std::min(best.seconds, r.seconds), std::max(best.peak_kib, r.peak_kib)};
    }
    std::printf("listdemo --interativo, %d inserir lines: %.1f ms, peak %.1f MiB\n", lines,
                best.seconds * 1e3, static_cast<double>(best.peak_kib) / 1024);
}

void print_header(const char* title) {
    std::printf("%s\n%-5s %8s %11s %9s %12s %12s %6s %9s %9s\n", title, "", "soldiers", "n",
                "out MB", "floor ms", "countoff ms", "ratio", "ns/byte", "peak MiB");
}

} // namespace

int main(int argc, char** argv) {
    char dir_template[] = "/tmp/countoff-bench.XXXXXX";
    if (mkdtemp(dir_template) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    Programs const p{argc > 1 ? argv[1] : COUNTOFF_PATH, argc > 2 ? argv[2] : BASELINE_PATH,
                     dir_template};
    std::printf("fastest of %d runs each, the two taking turns, standard output to /dev/null\n",
                runs);
    print_header("the whole game against the baseline, which prints the same bytes");
    Result const w1 = measure(p, {"W1", 3000, 2});
    Result const w2 = measure(p, {"W2", 2000, 2000000000});
    measure(p, {"W3", 6000, 7});
    measure(p, {"W4", 1500, 5, Names::long_200_bytes});
    measure(p, {"W5", 10000, 1, Names::one_or_two_letters});
    Result const s1 = measure(p, {"S1", 1000, 3});
    Result const s2 = measure(p, {"S2", 2000, 3});
    Result const s4 = measure(p, {"S4", 4000, 3});
    std::printf("scaling per doubling of the roster: %.2fx, %.2fx (output grows %.2fx, %.2fx)\n",
                s2.countoff / s1.countoff, s4.countoff / s2.countoff, s2.bytes / s1.bytes,
                s4.bytes / s2.bytes);
    std::printf("W2 against W1, time per output byte: countoff %.2f, baseline %.2f\n",
                (w2.countoff / w2.bytes) / (w1.countoff / w1.bytes),
                (w2.baseline / w2.bytes) / (w1.baseline / w1.bytes));
    // Before the summed-up games: a child's peak counts this process's size
    // when it was spawned (Linux keeps the peak across exec), and reading
    // their outputs, whose roster lines are 15 MB, makes this process large.
    time_session(argc > 3 ? argv[3] : LISTDEMO_PATH, dir_template, 10000);

    print_header("\ncountoff --resumo (R) and --csv (C) against their floors, which compute no "
                 "order; the winner is the recurrence's; names of 15 bytes (R1-R5, C1-C5) and of "
                 "30 bytes (R6-R10, C6-C10)");
    bool missed = false;
    // The names stay where they are read, each with a few bytes beside it,
    // and the first roster's line is let go of before the count starts.
    std::vector<Workload> summaries;
    static const char* const labels[] = {"R1", "R2", "R3",  "R4", "R5", "R6", "R7",
                                         "R8", "R9", "R10", "C1", "C2", "C3", "C4",
                                         "C5", "C6", "C7",  "C8", "C9", "C10"};
    std::size_t label = 0;
    for (const char* option : {"--resumo", "--csv"}) {
        for (Names names : {Names::bytes_15, Names::about_30_bytes}) {
            for (long n : {0L, 1L, 2L, 1000L, 2000000000L}) {
                summaries.push_back({labels[label++], 1000000, n, names, option});
            }
        }
    }
    auto const check = [&missed](const Workload& w, const Result& r, double limit) {
        bool const slow = r.countoff > limit * r.baseline;
        bool const large = static_cast<double>(r.peak_kib) >= peak_limit_mib * 1024;
        if (slow || large) {
            std::printf("%s MISSED:%s%s\n", w.name, slow ? " slower than its bound" : "",
                        large ? " a peak past its bound" : "");
        }
        missed = missed || slow || large;
    };
    for (const Workload& w : summaries) {
        check(w, measure(p, w), summary_ratio_limit);
    }
    print_header("\ncountoff --coluna nome --csv (K) against countoff --linhas --csv, the floor "
                 "here, on the same names: K1 of 15 bytes, K2 of 30");
    for (const Workload& w : {Workload{"K1", 1000000, 7, Names::bytes_15, nullptr, true},
                              Workload{"K2", 1000000, 7, Names::about_30_bytes, nullptr, true}}) {
        check(w, measure(p, w), column_ratio_limit);
    }
    std::printf("--resumo and --csv within %.1fx of their floors, --coluna within %.1fx of "
                "--linhas, peaks under %.0f MiB: %s\n",
                summary_ratio_limit, column_ratio_limit, peak_limit_mib, missed ? "MISSED" : "met");
    std::string const cleanup = std::string("rm -rf ") + dir_template;
    return std::system(cleanup.c_str()) == 0 && !missed ? 0 : 1;
}

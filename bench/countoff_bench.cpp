// SPDX-License-Identifier: MIT
// Times countoff against the baseline on fixed workloads: standard output to
// /dev/null, the fastest of several runs (noise on a shared machine only adds
// time), the two taking turns. Both must first print the same bytes. Prints
// the times, their ratio, countoff's speed per output byte and its peak
// resident memory. Then times a listdemo session of 10,000 insertions.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int runs = 15;

struct Run {
    double seconds;
    long peak_kib;
};

Run run(const char* program, const std::string& input, const char* output,
        const char* option = nullptr) {
    // posix_spawn does not copy this process's memory into the child, so the
    // child's peak resident memory is its own.
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, input.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, output, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    char* const argv[] = {const_cast<char*>(program), const_cast<char*>(option), nullptr};
    auto const start = std::chrono::steady_clock::now();
    pid_t child = 0;
    int const spawned = posix_spawn(&child, program, &files, nullptr, argv, environ);
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
enum class Names { numbered, long_200_bytes, one_or_two_letters };

std::string soldier(Names names, int i) {
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    constexpr int count = sizeof letters - 1;
    switch (names) {
    case Names::long_200_bytes: {
        std::string const number = std::to_string(i);
        return std::string(200 - number.size(), 'x') + number;
    }
    case Names::one_or_two_letters:
        return i % 3 == 0 ? std::string{letters[i % count]}
                          : std::string{letters[i % count], letters[i / count % count]};
    default:
        return "soldado" + std::to_string(i);
    }
}

Result measure(const char* name, int soldiers, long n, const char* countoff, const char* baseline,
               const std::string& dir, Names names = Names::numbered) {
    std::string const input = dir + "/" + name + ".in";
    {
        std::ofstream roster(input);
        roster << n << '\n';
        for (int i = 1; i <= soldiers; ++i) {
            roster << soldier(names, i) << (i % 10 == 0 ? '\n' : ' ');
        }
    }
    std::string const mine = dir + "/countoff.out";
    std::string const floor = dir + "/baseline.out";
    run(countoff, input, mine.c_str());
    run(baseline, input, floor.c_str());
    long long const printed = same_bytes(mine, floor);
    if (printed < 0) {
        std::fprintf(stderr, "%s: countoff and the baseline print different bytes\n", name);
        std::exit(1);
    }
    Result r{1e9, 1e9, static_cast<double>(printed), 0};
    for (int i = 0; i < runs; ++i) {
        Run const c = run(countoff, input, "/dev/null");
        r.countoff = std::min(r.countoff, c.seconds);
        r.peak_kib = std::max(r.peak_kib, c.peak_kib);
        r.baseline = std::min(r.baseline, run(baseline, input, "/dev/null").seconds);
    }
    std::printf("%-4s %8d %11ld %9.1f %12.1f %12.1f %6.2f %9.2f %9.1f\n", name, soldiers, n,
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
        Run const r = run(listdemo, input, "/dev/null", "--interativo");
        best = {std::min(best.seconds, r.seconds), std::max(best.peak_kib, r.peak_kib)};
    }
    std::printf("listdemo --interativo, %d inserir lines: %.1f ms, peak %.1f MiB\n", lines,
                best.seconds * 1e3, static_cast<double>(best.peak_kib) / 1024);
}

} // namespace

int main(int argc, char** argv) {
    const char* const countoff = argc > 1 ? argv[1] : COUNTOFF_PATH;
    const char* const baseline = argc > 2 ? argv[2] : BASELINE_PATH;
    char dir_template[] = "/tmp/countoff-bench.XXXXXX";
    const char* const dir = mkdtemp(dir_template);
    if (dir == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    std::printf(
        "fastest of %d runs each, standard output to /dev/null; both print the same bytes\n", runs);
    std::printf("%-4s %8s %11s %9s %12s %12s %6s %9s %9s\n", "", "soldiers", "n", "out MB",
                "baseline ms", "countoff ms", "ratio", "ns/byte", "peak MiB");
    Result const w1 = measure("W1", 3000, 2, countoff, baseline, dir);
    Result const w2 = measure("W2", 2000, 2000000000, countoff, baseline, dir);
    measure("W3", 6000, 7, countoff, baseline, dir);
    measure("W4", 1500, 5, countoff, baseline, dir, Names::long_200_bytes);
    measure("W5", 10000, 1, countoff, baseline, dir, Names::one_or_two_letters);
    Result const s1 = measure("S1", 1000, 3, countoff, baseline, dir);
    Result const s2 = measure("S2", 2000, 3, countoff, baseline, dir);
    Result const s4 = measure("S4", 4000, 3, countoff, baseline, dir);
    std::printf("scaling per doubling of the roster: %.2fx, %.2fx (output grows %.2fx, %.2fx)\n",
                s2.countoff / s1.countoff, s4.countoff / s2.countoff, s2.bytes / s1.bytes,
                s4.bytes / s2.bytes);
    std::printf("W2 against W1, time per output byte: countoff %.2f, baseline %.2f\n",
                (w2.countoff / w2.bytes) / (w1.countoff / w1.bytes),
                (w2.baseline / w2.bytes) / (w1.baseline / w1.bytes));
    time_session(argc > 3 ? argv[3] : LISTDEMO_PATH, dir, 10000);
    std::string const cleanup = std::string("rm -rf ") + dir;
    return std::system(cleanup.c_str()) == 0 ? 0 : 1;
}

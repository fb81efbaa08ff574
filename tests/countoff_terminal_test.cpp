// countoff at a real terminal: a pseudo-terminal types n, names over two
// lines and ctrl+d, and watches the game through to its end.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class Terminal {
public:
    Terminal() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
            return;
        }
        std::string const slave_name = ptsname(master_);
        child_ = fork();
        if (child_ == 0) {
            setsid();
            int const slave = open(slave_name.c_str(), O_RDWR); // the controlling terminal
            dup2(slave, 0);
            dup2(slave, 1);
            dup2(slave, 2);
            close(master_);
            execl(COUNTOFF_PATH, "countoff", static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~Terminal() {
        if (child_ > 0 && !reaped_) {
            kill(child_, SIGKILL);
            waitpid(child_, nullptr, 0);
        }
        if (master_ >= 0) {
            close(master_);
        }
    }
    bool started() const { return child_ > 0; }

    void type(std::string_view keys) const {
        ASSERT_EQ(write(master_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    }

    // Reads the screen until it shows `text` (or the program closes it);
    // answers whether it did, within ten seconds.
    bool wait_for(std::string_view text) {
        auto const deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (screen_.find(text) == std::string::npos) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            pollfd ready{master_, POLLIN, 0};
            if (poll(&ready, 1, 100) <= 0) {
                continue;
            }
            char chunk[4096];
            ssize_t const got = read(master_, chunk, sizeof chunk);
            if (got <= 0) {
                return screen_.find(text) != std::string::npos; // the program ended
            }
            screen_.append(chunk, static_cast<std::size_t>(got));
        }
        return true;
    }

    int exit_status() {
        int status = 0;
        waitpid(child_, &status, 0);
        reaped_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    const std::string& screen() const { return screen_; }

private:
    int master_ = -1;
    pid_t child_ = -1;
    bool reaped_ = false;
    std::string screen_;
};

TEST(CountoffAtATerminal, PlaysTheGameUntilCtrlD) {
    Terminal terminal;
    ASSERT_TRUE(terminal.started());
    ASSERT_TRUE(terminal.wait_for("Entre com n ( > 0): ")) << terminal.screen();
    terminal.type("3\n");
    ASSERT_TRUE(terminal.wait_for("Nome dos soldados(ctrl+d para encerrar):")) << terminal.screen();
    terminal.type("alfa beta\n");
    terminal.type("gama delta\n");
    terminal.type("\x04");
    ASSERT_TRUE(terminal.wait_for("Jogo terminado...")) << terminal.screen();
    EXPECT_NE(terminal.screen().find("  1.alfa  2.beta  3.gama  4.delta "), std::string::npos);
    EXPECT_NE(terminal.screen().find("\tO vencedor e o Soldado beta"), std::string::npos)
        << terminal.screen();
    EXPECT_EQ(terminal.exit_status(), 0);
}

} // namespace

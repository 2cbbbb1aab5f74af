// An app folder of the test's own for Orvex (Orvex copied in, include/ and lib/ pointing at the
// built library), a folder for C files elsewhere, and Orvex's temporary folder, which must be
// empty again after every run.
#pragma once

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace orvex_test {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

struct Outcome {
    int Status;
    std::string Output;
};

class OrvexTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char folder[] = "/tmp/orvex-test-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        RootFolder = folder;
        const fs::path app = RootFolder / "app";
        fs::create_directories(app / "include");
        fs::create_directories(app / "lib");
        fs::create_directories(RootFolder / "src");
        fs::create_directories(Scratch());
        fs::copy_file(ORVEX_EXECUTABLE, app / "Orvex");
        fs::create_symlink(GRAPHICS_HEADER, app / "include" / "Graphics.h");
        fs::create_symlink(GRAPHICS_LIBRARY, app / "lib" / "libGraphics.so");
        fs::create_symlink(TACTIL_LIBRARY, app / "lib" / "libTactil.so");
    }

    void TearDown() override { fs::remove_all(RootFolder); }

    void WriteSource(const std::string &name, const std::string &text) {
        std::ofstream(RootFolder / "src" / name) << text;
    }
    std::string Source(const std::string &name) const {
        return (RootFolder / "src" / name).string();
    }
    const fs::path &Root() const { return RootFolder; }
    std::string Orvex() const { return (RootFolder / "app" / "Orvex").string(); }
    // Orvex's temporary folder (TMPDIR).
    fs::path Scratch() const { return RootFolder / "tmp"; }
    bool ScratchIsEmpty() const { return fs::is_empty(Scratch()); }

    // What every run of Orvex gets. A sanitizer runtime in the library comes after the program's
    // own libraries when the program is built plainly; that is fine.
    std::vector<std::string> Environment() const {
        const char *inherited = std::getenv("ASAN_OPTIONS");
        return {"TMPDIR=" + Scratch().string(), "XDG_CACHE_HOME=" + (RootFolder / "cache").string(),
                "ASAN_OPTIONS=" + std::string(inherited ? inherited : "") +
                    ":verify_asan_link_order=0"};
    }

    // Runs Orvex on `argument` and `more` in `folder` with no terminal on any stream, output and
    // errors together; `environment` ("NAME=value ...") comes after the usual settings and wins.
    Outcome RunOrvex(const std::string &argument, const std::string &environment = "",
                     const std::string &folder = "/", const std::vector<std::string> &more = {}) {
        std::string command = "cd '" + folder + "' && ORVEX_TERMINAL=none";
        for (const std::string &setting : Environment()) {
            const std::size_t equals = setting.find('=');
            command += ' ' + setting.substr(0, equals + 1) + "'" + setting.substr(equals + 1) + "'";
        }
        command += " " + environment + " '" + Orvex() + "' '" + argument + "'";
        for (const std::string &word : more) {
            command += " '" + word + "'";
        }
        command += " 2>&1 </dev/null";
        FILE *pipe = popen(command.c_str(), "r");
        Outcome outcome{-1, {}};
        if (pipe == nullptr) {
            return outcome;
        }
        char buffer[4096];
        std::size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            outcome.Output.append(buffer, got);
        }
        const int status = pclose(pipe);
        outcome.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        EXPECT_TRUE(ScratchIsEmpty()) << "Orvex left its temporary folder behind";
        EXPECT_EQ(outcome.Output.find('\x1b'), std::string::npos)
            << "raw escape: " << outcome.Output;
        return outcome;
    }

  private:
    fs::path RootFolder;
};

// Orvex on a pseudo-terminal of its own, as in a terminal window: its session leader, with the
// terminal as standard input, output and error unless output goes to a file.
class TerminalRun {
  public:
    TerminalRun(const std::string &orvex, const std::string &argument,
                const std::vector<std::string> &environment, const fs::path &outputFile = {}) {
        ChildPid = forkpty(&Terminal, nullptr, nullptr, nullptr);
        if (ChildPid == 0) {
            for (const std::string &setting : environment) {
                putenv(const_cast<char *>(setting.c_str()));
            }
            if (!outputFile.empty()) {
                std::freopen(outputFile.c_str(), "w", stdout);
            }
            execl(orvex.c_str(), orvex.c_str(), argument.c_str(), nullptr);
            _exit(127);
        }
    }
    ~TerminalRun() {
        if (ChildPid > 0 && !Ended) {
            kill(ChildPid, SIGKILL);
            waitpid(ChildPid, nullptr, 0);
        }
        if (Terminal >= 0) {
            close(Terminal);
        }
    }
    TerminalRun(const TerminalRun &) = delete;
    TerminalRun &operator=(const TerminalRun &) = delete;

    pid_t Pid() const { return ChildPid; }
    const std::string &Output() const { return Received; }

    // Reads the terminal until `text` has appeared; false when it has not within `limit`.
    bool WaitFor(const std::string &text, Seconds limit = Seconds(60)) {
        const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(limit);
        while (Received.find(text) == std::string::npos) {
            if (Clock::now() >= end || !ReadFor(end)) {
                return false;
            }
        }
        return true;
    }

    void Type(const std::string &keys) {
        ASSERT_EQ(write(Terminal, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    }

    // Closes the terminal, as closing its window does.
    void Hangup() {
        close(Terminal);
        Terminal = -1;
    }

    // Orvex's wait status once it has ended within `limit`, reading the terminal meanwhile.
    std::optional<int> WaitForEnd(Seconds limit) {
        const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(limit);
        do {
            int status = 0;
            if (waitpid(ChildPid, &status, WNOHANG) == ChildPid) {
                Ended = true;
                return status;
            }
            if (Terminal < 0 ||
                !ReadFor(std::min(end, Clock::now() + std::chrono::milliseconds(50)))) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        } while (Clock::now() < end);
        return std::nullopt;
    }

  private:
    // Adds what the terminal shows until `end`; false once it has nothing more to give.
    bool ReadFor(Clock::time_point end) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        pollfd watch{Terminal, POLLIN, 0};
        if (poll(&watch, 1, static_cast<int>(std::max<long>(left.count(), 0))) <= 0) {
            return true;
        }
        char buffer[4096];
        const ssize_t got = read(Terminal, buffer, sizeof buffer);
        if (got <= 0) {
            return false;
        }
        Received.append(buffer, static_cast<std::size_t>(got));
        return true;
    }

    int Terminal = -1;
    pid_t ChildPid = -1;
    bool Ended = false;
    std::string Received;
};

}  // namespace orvex_test

// Every installed example started as F5 starts it: the installed Orvex, in the app folder, on the
// example's full path, with no terminal. Its window must show more than a background within a
// few seconds, and nothing may report a file that could not be loaded. Orvex builds it with its
// own flags (orvex/BuildFlags.h), and the compiler may not warn about it either.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "XScreen.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Pixels that must differ from the window's most common colour: a few letters of text.
constexpr std::size_t kDrawnPixels = 200;

class InstalledExamplesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char folder[] = "/tmp/orvex-examples-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        Root = folder;
        fs::create_directories(Scratch());
        for (const char *component : {"graphics", "orvex"}) {
            const std::string install = std::string("'") + CMAKE_COMMAND + "' --install '" +
                                        BUILD_FOLDER + "' --prefix '" + App().string() +
                                        "' --component " + component + " > /dev/null";
            ASSERT_EQ(std::system(install.c_str()), 0) << install;
        }
        ASSERT_TRUE(Screen.Connected()) << "these tests need an X server (DISPLAY)";
    }

    void TearDown() override { fs::remove_all(Root); }

    fs::path App() const { return Root / "app"; }
    fs::path Scratch() const { return Root / "tmp"; }

    // Starts the installed Orvex in the app folder on `example`, without a terminal, its output
    // and errors to `log`.
    pid_t StartOrvex(const fs::path &example, const fs::path &log) const {
        const pid_t orvex = fork();
        if (orvex == 0) {
            const int output = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(open("/dev/null", O_RDONLY), STDIN_FILENO);
            dup2(output, STDOUT_FILENO);
            dup2(output, STDERR_FILENO);
            setenv("ORVEX_TERMINAL", "none", 1);
            setenv("TMPDIR", Scratch().c_str(), 1);
            setenv("XDG_CACHE_HOME", (Root / "cache").c_str(), 1);
            if (chdir(App().c_str()) == 0) {
                execl("./Orvex", "./Orvex", example.c_str(), nullptr);
            }
            _exit(127);
        }
        return orvex;
    }

    orvex_test::XScreen Screen;

  private:
    fs::path Root;
};

TEST_F(InstalledExamplesTest, EachShowsItsDrawingAndLoadsItsFiles) {
    std::vector<fs::path> examples;
    for (const fs::directory_entry &entry : fs::directory_iterator(App() / "Examples")) {
        if (entry.path().extension() == ".c") {
            examples.push_back(entry.path());
        }
    }
    ASSERT_FALSE(examples.empty());
    std::sort(examples.begin(), examples.end());

    for (const fs::path &example : examples) {
        SCOPED_TRACE(example.filename().string());
        const fs::path log = Scratch().parent_path() / (example.stem().string() + ".log");
        const pid_t orvex = StartOrvex(example, log);
        ASSERT_GT(orvex, 0);

        // Compiling comes first; on a busy machine it can take a while.
        std::optional<unsigned long> window;
        bool orvexEnded = false;
        for (const auto end = Clock::now() + std::chrono::seconds(60);
             !window && !orvexEnded && Clock::now() < end;
             std::this_thread::sleep_for(std::chrono::milliseconds(100))) {
            window = Screen.WindowOfChildOf(orvex);
            orvexEnded = waitpid(orvex, nullptr, WNOHANG) == orvex;
        }
        std::size_t drawn = 0;
        for (const auto end = Clock::now() + std::chrono::seconds(5);
             window && drawn < kDrawnPixels && Clock::now() < end;
             std::this_thread::sleep_for(std::chrono::milliseconds(100))) {
            drawn = Screen.DrawnPixels(*window);
        }
        if (!orvexEnded) {
            kill(orvex, SIGTERM);
            waitpid(orvex, nullptr, 0);
        }

        std::ostringstream output;
        output << std::ifstream(log).rdbuf();
        std::string lowered = output.str();
        std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        EXPECT_TRUE(window.has_value()) << "no window appeared; Orvex said:\n" << output.str();
        EXPECT_GE(drawn, kDrawnPixels) << "the window shows only its background";
        for (const char *failure :
             {"warning", "fail", "error", "cannot", "no such file", "out of memory"}) {
            EXPECT_EQ(lowered.find(failure), std::string::npos)
                << "Orvex's output says \"" << failure << "\":\n"
                << output.str();
        }
        EXPECT_TRUE(fs::is_empty(Scratch())) << "Orvex left its temporary folder behind";
    }
}

}  // namespace

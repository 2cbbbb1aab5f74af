// Orvex from an app folder of its own: Orvex copied in, include/ and lib/ pointing at the built
// library, and the C file in a folder elsewhere.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Outcome {
    int status;
    std::string output;
};

class OrvexTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char folder[] = "/tmp/orvex-test-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        root_ = folder;
        const fs::path app = root_ / "app";
        fs::create_directories(app / "include");
        fs::create_directories(app / "lib");
        fs::create_directories(root_ / "src");
        fs::copy_file(ORVEX_EXECUTABLE, app / "Orvex");
        fs::create_symlink(GRAPHICS_HEADER, app / "include" / "Graphics.h");
        fs::create_symlink(GRAPHICS_LIBRARY, app / "lib" / "libGraphics.so");
        fs::create_symlink(TACTIL_LIBRARY, app / "lib" / "libTactil.so");
    }

    void TearDown() override { fs::remove_all(root_); }

    void WriteSource(const std::string &name, const std::string &text) {
        std::ofstream(root_ / "src" / name) << text;
    }

    // Runs the app folder's Orvex on `argument` without a terminal window, output and errors
    // together. `environment` goes before the command ("CC=... ").
    Outcome RunOrvex(const std::string &argument, const std::string &environment = "") {
        // A sanitizer runtime in the library comes after the program's own libraries; that is fine.
        const std::string command = "cd / && ORVEX_TERMINAL=none ASAN_OPTIONS=" + AsanOptions() +
                                    " " + environment + " '" + (root_ / "app" / "Orvex").string() +
                                    "' '" + argument + "' 2>&1";
        FILE *pipe = popen(command.c_str(), "r");
        Outcome outcome{-1, {}};
        if (pipe == nullptr) {
            return outcome;
        }
        char buffer[4096];
        std::size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            outcome.output.append(buffer, got);
        }
        const int status = pclose(pipe);
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return outcome;
    }

    std::string Source(const std::string &name) const { return (root_ / "src" / name).string(); }

  private:
    static std::string AsanOptions() {
        const char *inherited = std::getenv("ASAN_OPTIONS");
        return std::string(inherited ? inherited : "") + ":verify_asan_link_order=0";
    }

    fs::path root_;
};

TEST_F(OrvexTest, RunsTheProgramInItsFolderAndPassesItsStatusOn) {
    std::ofstream(fs::path(Source("data.txt"))) << "read relative to the source";
    WriteSource("hello.c",
                "#include <stdio.h>\n"
                "#include <Graphics.h>\n"
                "int main(void) {\n"
                "    char line[64] = \"\";\n"
                "    FILE *data = fopen(\"data.txt\", \"r\");\n"
                "    if (data) { fgets(line, sizeof line, data); fclose(data); }\n"
                "    printf(\"hello from C: %s\\n\", line);\n"
                "    return 7;\n"
                "}\n");
    const Outcome outcome = RunOrvex(Source("hello.c"));
    EXPECT_EQ(outcome.status, 7) << outcome.output;
    EXPECT_NE(outcome.output.find("hello from C: read relative to the source"), std::string::npos)
        << outcome.output;
}

TEST_F(OrvexTest, CompileErrorIsReportedWithTheCompilersMessages) {
    WriteSource("broken.c", "int main(void) { return undeclared_name; }\n");
    const Outcome outcome = RunOrvex(Source("broken.c"));
    EXPECT_NE(outcome.status, 0);
    EXPECT_NE(outcome.output.find("undeclared_name"), std::string::npos) << outcome.output;
    EXPECT_NE(outcome.output.find("broken.c did not compile"), std::string::npos) << outcome.output;
}

TEST_F(OrvexTest, UnusableInputGivesAClearMessageAndAFailure) {
    WriteSource("fine.c", "int main(void) { return 0; }\n");
    const struct {
        const char *what;
        std::string argument;
        std::string environment;
        const char *message;
    } cases[] = {
        {"untitled text", "", "", "no C file to run"},
        {"missing file", Source("missing.c"), "", "No such file or directory"},
        {"missing compiler", Source("fine.c"), "CC=no-such-compiler", "no C compiler was found"},
    };
    for (const auto &c : cases) {
        const Outcome outcome = RunOrvex(c.argument, c.environment);
        EXPECT_NE(outcome.status, 0) << c.what;
        EXPECT_NE(outcome.output.find(c.message), std::string::npos)
            << c.what << ": " << outcome.output;
    }
}

}  // namespace

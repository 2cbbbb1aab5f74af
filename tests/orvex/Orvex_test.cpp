// Orvex run without a terminal: compiling, running in the file's folder with the arguments, the
// messages and statuses a learner gets when something fails, runtime faults named by file and
// line, and the defaults a sanitized program runs with.
#include <sys/stat.h>

#include "OrvexTestSupport.h"

namespace orvex_test {
namespace {

TEST_F(OrvexTest, RunsTheProgramInItsFolderWithItsArgumentsAndPassesItsStatusOn) {
    std::ofstream(fs::path(Source("data.txt"))) << "read relative to the source";
    WriteSource("hello.c",
                "#include <stdio.h>\n"
                "#include <Graphics.h>\n"
                "int main(int argc, char **argv) {\n"
                "    char line[64] = \"\";\n"
                "    FILE *data = fopen(\"data.txt\", \"r\");\n"
                "    if (data) { fgets(line, sizeof line, data); fclose(data); }\n"
                "    printf(\"hello from C: %s\\n\", line);\n"
                "    for (int i = 0; i < argc; i++) printf(\"[%s]\", argv[i]);\n"
                "    return argc == 1 ? 7 : 2;\n"
                "}\n");
    const struct {
        std::vector<std::string> Arguments;
        const char *Seen;
        int Status;  // a small one of the program's own, not to be taken for Orvex's
    } cases[] = {
        {{}, "[hello]", 7},
        {{"5", "two words", "-x"}, "[hello][5][two words][-x]", 2},
    };
    for (const auto &c : cases) {
        // A path relative to the folder Orvex starts in, as in `./Orvex Examples/NAME.c`.
        const Outcome outcome = RunOrvex("src/hello.c", "", Root().string(), c.Arguments);
        EXPECT_EQ(outcome.Status, c.Status) << outcome.Output;
        const std::size_t compiling = outcome.Output.find("Compiling hello.c ...\n");
        const std::size_t running = outcome.Output.find("Running hello ...\n");
        const std::size_t greeting =
            outcome.Output.find("hello from C: read relative to the source");
        ASSERT_NE(greeting, std::string::npos) << outcome.Output;
        EXPECT_LT(compiling, running) << outcome.Output;
        EXPECT_LT(running, greeting) << outcome.Output;
        EXPECT_NE(outcome.Output.find(c.Seen, greeting), std::string::npos) << outcome.Output;
    }
}

TEST_F(OrvexTest, FailuresBeforeTheProgramRunsSayWhyWithOrvexsOwnStatuses) {
    WriteSource("fine.c", "int main(void) { return 0; }\n");
    WriteSource("broken.c", "int main(void) {\n    return undeclared_name;\n}\n");
    WriteSource("misspelt.c",
                "#include <stdio.h>\n"
                "int prinft(const char *, ...);\n"
                "int main(void) { prinft(\"hi\"); prinft(\"again\"); return 0; }\n");
    ASSERT_EQ(mkfifo(Source("pipe.c").c_str(), 0600), 0);
    const struct {
        const char *What;
        std::string Argument;
        std::string Environment;
        std::vector<std::string> Messages;
        int Status;
    } cases[] = {
        {"untitled text", "", "", {"no C file to run"}, 125},
        {"missing file", Source("missing.c"), "", {"No such file or directory"}, 125},
        {"named pipe", Source("pipe.c"), "", {"is not a C file"}, 125},
        {"missing compiler", Source("fine.c"), "CC=no-such-compiler", {"no C compiler"}, 127},
        // The compiler names the file as the learner knows it.
        {"compile error",
         Source("broken.c"),
         "",
         {"broken.c:2:12: error", "undeclared_name", "broken.c did not compile"},
         125},
        {"link error",
         Source("misspelt.c"),
         "",
         {"misspelt.c compiled, but could not be linked into a program: nothing defines the "
          "function prinft."},
         125},
    };
    for (const auto &c : cases) {
        const Outcome outcome = RunOrvex(c.Argument, c.Environment);
        EXPECT_EQ(outcome.Status, c.Status) << c.What << ": " << outcome.Output;
        for (const std::string &message : c.Messages) {
            EXPECT_NE(outcome.Output.find(message), std::string::npos)
                << c.What << ": " << outcome.Output;
        }
        EXPECT_EQ(outcome.Output.find(Source("broken.c") + ":"), std::string::npos)
            << outcome.Output;
    }
}

TEST_F(OrvexTest, RuntimeFaultsStopTheProgramAtTheirLineWithACrashsStatus) {
    WriteSource("ball.c",
                "#include <stdio.h>\n"
                "int main(void) {\n"
                "    int speeds[4] = {1, 2, 3, 4};\n"
                "    for (int i = 0; i <= 4; i++)\n"
                "        speeds[i] = 0;\n"
                "    printf(\"%d\\n\", speeds[0]);\n"
                "    return 0;\n"
                "}\n");
    WriteSource("paddle.c",
                "#include <stddef.h>\n"
                "int main(void) {\n"
                "    int *score = NULL;\n"
                "    *score = 1;\n"
                "    return 0;\n"
                "}\n");
    WriteSource("share.c",
                "#include <stdio.h>\n"
                "int main(int argc, char **argv) {\n"
                "    (void)argv;\n"
                "    int players = argc - 1;\n"
                "    printf(\"%d\\n\", 100 / players);\n"
                "    return 0;\n"
                "}\n");
    const struct {
        const char *File;
        const char *Environment;
        std::string Location;  // from the sanitizer's report
        const char *Sentence;  // Orvex's own
        int Status;
    } cases[] = {
        {"ball.c", "", Source("ball.c") + ":5",
         "Orvex: the program wrote outside an array at ball.c line 5.", 128 + SIGSEGV},
        {"paddle.c", "", Source("paddle.c") + ":4",
         "Orvex: the program wrote through a NULL pointer at paddle.c line 4.", 128 + SIGSEGV},
        {"share.c", "", "share.c:5:24: runtime error: division by zero",
         "Orvex: the program divided an integer by zero (or the smallest int by -1) at share.c "
         "line 5.",
         128 + SIGFPE},
        {"paddle.c", "ORVEX_SANITIZE=0", "",
         "Orvex: the program was stopped by signal 11 (Segmentation fault).", 128 + SIGSEGV},
    };
    for (const auto &c : cases) {
        const Outcome outcome = RunOrvex(Source(c.File), c.Environment);
        EXPECT_EQ(outcome.Status, c.Status) << c.File << " " << c.Environment;
        EXPECT_NE(outcome.Output.find(c.Location), std::string::npos) << outcome.Output;
        EXPECT_NE(outcome.Output.find(c.Sentence), std::string::npos) << outcome.Output;
        EXPECT_EQ(outcome.Output.find("memory that is not its own"), std::string::npos)
            << outcome.Output;
        EXPECT_EQ(outcome.Output.find("Shadow bytes"), std::string::npos)
            << "the shadow memory map tells a learner nothing";
    }
}

TEST_F(OrvexTest, SanitizedProgramsBehaveAsPlainC) {
    // Each allocation is far larger than the system gives; the recursion runs in 8 MB of stack
    // when built plainly.
    WriteSource("plain.c",
                "#include <stdint.h>\n"
                "#include <stdio.h>\n"
                "#include <stdlib.h>\n"
                "int depth(int n) {\n"
                "    volatile char room[64];\n"
                "    room[0] = (char)n;\n"
                "    return n == 0 ? 0 : depth(n - 1) + room[0] - (char)n + 1;\n"
                "}\n"
                "int main(void) {\n"
                "    if (malloc((size_t)1 << 45) == NULL) puts(\"malloc gave NULL\");\n"
                "    if (calloc(SIZE_MAX / 2, 4) == NULL) puts(\"calloc gave NULL\");\n"
                "    printf(\"depth %d\\n\", depth(60000));\n"
                "    return 0;\n"
                "}\n");
    for (const char *environment : {"ORVEX_SANITIZE=0", ""}) {
        const Outcome outcome = RunOrvex(Source("plain.c"), environment);
        EXPECT_EQ(outcome.Status, 0) << environment << ": " << outcome.Output;
        EXPECT_NE(outcome.Output.find("malloc gave NULL\ncalloc gave NULL\ndepth 60000\n"),
                  std::string::npos)
            << environment << ": " << outcome.Output;
    }
}

TEST_F(OrvexTest, RemembersTheSanitizerAnswerUntilTheCompilerChanges) {
    WriteSource("fine.c", "int main(void) { return 0; }\n");
    const fs::path log = Root() / "compiler.log";
    const fs::path compiler = Root() / "cc";
    const auto writeCompiler = [&](const char *comment) {
        std::ofstream(compiler) << "#!/bin/sh\n# " << comment << "\necho \"$@\" >> '"
                                << log.string() << "'\nexec gcc \"$@\"\n";
        fs::permissions(compiler, fs::perms::owner_all);
    };
    const auto probes = [&] {
        std::ifstream lines(log);
        int count = 0;
        for (std::string line; std::getline(lines, line);) {
            // Each asking starts with the compiler's own linker.
            count += line.find("sanitizer-probe") != std::string::npos &&
                     line.find("-fuse-ld=") == std::string::npos;
        }
        fs::remove(log);
        return count;
    };
    const std::string cc = "CC='" + compiler.string() + "'";
    writeCompiler("first");
    const struct {
        const char *What;
        std::function<void()> Before;
        std::string Environment;
        int Probes;
    } cases[] = {
        {"first run", [] {}, cc, 1},
        {"same compiler", [] {}, cc, 0},
        {"compiler changed", [&] { writeCompiler("second, longer"); }, cc, 1},
        {"cache not writable", [] {}, cc + " XDG_CACHE_HOME=/proc/version", 1},
        {"and again", [] {}, cc + " XDG_CACHE_HOME=/proc/version", 1},
    };
    for (const auto &c : cases) {
        c.Before();
        const Outcome outcome = RunOrvex(Source("fine.c"), c.Environment);
        EXPECT_EQ(outcome.Status, 0) << c.What << ": " << outcome.Output;
        EXPECT_EQ(probes(), c.Probes) << c.What;
    }
}

TEST_F(OrvexTest, HostileNamesAndFoldersNeitherReachTheTerminalNorStopTheProgram) {
    const std::string ran = "#include <stdio.h>\nint main(void) { puts(\"it ran\"); return 0; }\n";
    const std::string escapes = "\x1b]0;title\a\x1b[2J\x1b[31mred.c";
    WriteSource(escapes, ran);
    WriteSource("..c", ran);
    WriteSource("faults.c",
                "#include <stdlib.h>\n"
                "int main(void) {\n"
                "    int *a = malloc(4 * sizeof *a);\n"
                "    a[4] = 1;\n"
                "    return 0;\n"
                "}\n");
    const fs::path quoted = Root() / "tmp \"quoted\"";
    fs::create_directories(quoted);
    const struct {
        const char *What;
        std::string File;
        std::string Environment;
        const char *Seen;
        int Status;
    } cases[] = {
        {"escape sequences", escapes, "", "Compiling \\x1B]0;title\\x07\\x1B[2J\\x1B[31mred.c", 0},
        {"dots only", "..c", "", "Running ..c ...\nit ran", 0},
        {"named like the report folder", "faults.c", "",
         "Orvex: the program wrote outside an array at faults.c line 4.", 128 + SIGSEGV},
        {"quote in TMPDIR", Source("..c"), "TMPDIR='" + quoted.string() + "'", "it ran", 0},
    };
    for (const auto &c : cases) {
        const Outcome outcome = RunOrvex(Source(c.File), c.Environment);
        EXPECT_EQ(outcome.Status, c.Status) << c.What << ": " << outcome.Output;
        EXPECT_NE(outcome.Output.find(c.Seen), std::string::npos)
            << c.What << ": " << outcome.Output;
    }
    EXPECT_TRUE(fs::is_empty(quoted));
}

TEST_F(OrvexTest, ReadsNoMoreOfTheReportFolderThanABound) {
    // The program finds the folder where the sanitizers report and fills it.
    WriteSource("flood.c",
                "#include <stdio.h>\n"
                "#include <stdlib.h>\n"
                "#include <string.h>\n"
                "int main(void) {\n"
                "    const char *p = strstr(getenv(\"ASAN_OPTIONS\"), \"log_path=\\\"\") + 10;\n"
                "    char path[4096];\n"
                "    snprintf(path, sizeof path, \"%.*s.flood\", (int)strcspn(p, \"\\\"\"), p);\n"
                "    FILE *f = fopen(path, \"w\");\n"
                "    static char block[1 << 20];\n"
                "    memset(block, 'x', sizeof block);\n"
                "    for (int i = 0; i < 20; i++) fwrite(block, 1, sizeof block, f);\n"
                "    fclose(f);\n"
                "    return 0;\n"
                "}\n");
    const Outcome outcome = RunOrvex(Source("flood.c"));
    EXPECT_EQ(outcome.Status, 0) << outcome.Output.substr(0, 2000);
    EXPECT_LT(outcome.Output.size(), 300'000u);
    EXPECT_NE(outcome.Output.find("[Orvex left out the rest of the sanitizers' reports: "),
              std::string::npos);
}

}  // namespace
}  // namespace orvex_test

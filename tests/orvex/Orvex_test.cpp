// Orvex run without a terminal: compiling, running in the file's folder, the messages a learner
// gets when something fails, and runtime faults named by file and line.
#include <sys/stat.h>

#include "OrvexTestSupport.h"

namespace orvex_test {
namespace {

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
    // A path relative to the folder Orvex starts in, as in `./Orvex Examples/NAME.c`.
    const Outcome outcome = RunOrvex("src/hello.c", "", Root().string());
    EXPECT_EQ(outcome.status, 7) << outcome.output;
    const std::size_t compiling = outcome.output.find("Compiling hello.c ...\n");
    const std::size_t running = outcome.output.find("Running hello ...\n");
    const std::size_t greeting = outcome.output.find("hello from C: read relative to the source");
    ASSERT_NE(greeting, std::string::npos) << outcome.output;
    EXPECT_LT(compiling, running) << outcome.output;
    EXPECT_LT(running, greeting) << outcome.output;
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
    ASSERT_EQ(mkfifo(Source("pipe.c").c_str(), 0600), 0);
    const struct {
        const char *what;
        std::string argument;
        std::string environment;
        const char *message;
    } cases[] = {
        {"untitled text", "", "", "no C file to run"},
        {"missing file", Source("missing.c"), "", "No such file or directory"},
        {"named pipe", Source("pipe.c"), "", "is not a C file"},
        {"missing compiler", Source("fine.c"), "CC=no-such-compiler", "no C compiler was found"},
    };
    for (const auto &c : cases) {
        const Outcome outcome = RunOrvex(c.argument, c.environment);
        EXPECT_NE(outcome.status, 0) << c.what;
        EXPECT_NE(outcome.output.find(c.message), std::string::npos)
            << c.what << ": " << outcome.output;
    }
}

TEST_F(OrvexTest, RuntimeFaultsStopTheProgramAtTheirLine) {
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
    const struct {
        const char *file;
        const char *environment;
        std::string location;  // from the sanitizer's report
        const char *sentence;  // Orvex's own
    } cases[] = {
        {"ball.c", "", Source("ball.c") + ":5",
         "Orvex: the program wrote outside an array at ball.c line 5."},
        {"paddle.c", "", Source("paddle.c") + ":4",
         "Orvex: the program wrote through a NULL pointer at paddle.c line 4."},
        {"paddle.c", "ORVEX_SANITIZE=0", "",
         "Orvex: the program was stopped by signal 11 (Segmentation fault)."},
    };
    for (const auto &c : cases) {
        const Outcome outcome = RunOrvex(Source(c.file), c.environment);
        EXPECT_NE(outcome.status, 0) << c.file << " " << c.environment;
        EXPECT_NE(outcome.output.find(c.location), std::string::npos) << outcome.output;
        EXPECT_NE(outcome.output.find(c.sentence), std::string::npos) << outcome.output;
        EXPECT_EQ(outcome.output.find("Shadow bytes"), std::string::npos)
            << "the shadow memory map tells a learner nothing";
    }
}

}  // namespace
}  // namespace orvex_test

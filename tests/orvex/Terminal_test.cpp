// Orvex in a terminal: what stays readable after Ctrl+C and typed-ahead keys, how the program and
// the compiler end when the terminal goes or Orvex is told to end, and when Orvex opens a terminal
// window of its own.
#include <algorithm>

#include "OrvexTestSupport.h"

namespace orvex_test {
namespace {

using std::chrono::milliseconds;

TEST_F(OrvexTest, KeepsTheOutputUntilAnEnterTypedAfterTheRun) {
    WriteSource("endless.c",
                "#include <stdio.h>\n"
                "#include <unistd.h>\n"
                "int main(void) { puts(\"ready\"); fflush(stdout); for (;;) sleep(1); }\n");
    WriteSource("brief.c",
                "#include <stdio.h>\n"
                "#include <unistd.h>\n"
                "int main(void) { puts(\"ready\"); fflush(stdout); sleep(1); return 3; }\n");
    const struct {
        const char *What;
        const char *File;
        const char *Keys;  // typed while the program runs
        const char *End;   // what Orvex says of the run
        int Status;
    } cases[] = {
        {"Ctrl+C", "endless.c", "\x03", "stopped by signal 2 (Interrupt)", 128 + SIGINT},
        {"typed ahead", "brief.c", "abc\n", "finished with status 3", 3},
    };
    std::vector<std::string> environment = Environment();
    environment.push_back("ORVEX_INSIDE_TERMINAL=1");
    for (const auto &c : cases) {
        TerminalRun run(Orvex(), Source(c.File), environment);
        ASSERT_TRUE(run.WaitFor("ready")) << c.What << ": " << run.Output();
        run.Type(c.Keys);
        ASSERT_TRUE(run.WaitFor("Press Enter")) << c.What << ": " << run.Output();
        EXPECT_NE(run.Output().find(c.End), std::string::npos) << c.What << ": " << run.Output();
        EXPECT_FALSE(run.WaitForEnd(milliseconds(300))) << c.What << ": closed without Enter";
        run.Type("\n");
        const std::optional<int> status = run.WaitForEnd(Seconds(10));
        ASSERT_TRUE(status) << c.What;
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == c.Status) << c.What;
        EXPECT_TRUE(ScratchIsEmpty()) << c.What;
    }
}

TEST_F(OrvexTest, EndsTheProgramAndCleansUpWhenTheTerminalGoesOrOnSigterm) {
    WriteSource("stays.c",
                "#include <stdio.h>\n"
                "#include <unistd.h>\n"
                "int main(void) {\n"
                "    FILE *note = fopen(\"pid.txt\", \"w\");\n"
                "    fprintf(note, \"%d\", (int)getpid());\n"
                "    fclose(note);\n"
                "    puts(\"ready\"); fflush(stdout);\n"
                "    for (;;) sleep(1);\n"
                "}\n");
    const struct {
        const char *What;
        int Signal;
    } cases[] = {{"terminal closed", SIGHUP}, {"SIGTERM", SIGTERM}};
    for (const auto &c : cases) {
        TerminalRun run(Orvex(), Source("stays.c"), Environment());
        ASSERT_TRUE(run.WaitFor("ready")) << c.What << ": " << run.Output();
        if (c.Signal == SIGHUP) {
            run.Hangup();
        } else {
            kill(run.Pid(), c.Signal);
        }
        const std::optional<int> status = run.WaitForEnd(Seconds(10));
        ASSERT_TRUE(status) << c.What;
        EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == c.Signal) << c.What;
        int program = 0;
        std::ifstream(fs::path(Source("pid.txt"))) >> program;
        ASSERT_GT(program, 0) << c.What;
        EXPECT_NE(kill(program, 0), 0) << c.What << ": the program outlived Orvex";
        EXPECT_TRUE(ScratchIsEmpty()) << c.What;
    }
}

// The processes working in `folder`: the compiler and whatever it started there.
std::vector<pid_t> ProcessesIn(const fs::path &folder) {
    std::vector<pid_t> found;
    std::error_code error;
    for (const fs::directory_entry &entry : fs::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") == std::string::npos &&
            fs::read_symlink(entry.path() / "cwd", error) == folder && !error) {
            found.push_back(std::stoi(name));
        }
    }
    return found;
}

TEST_F(OrvexTest, TheCompilerIsBoundedAndEndsWithOrvex) {
    WriteSource("zero.c", "#include \"/dev/zero\"\nint main(void) { return 0; }\n");
    const fs::path folder = fs::path(Source("zero.c")).parent_path();
    {
        TerminalRun run(Orvex(), Source("zero.c"), Environment());
        const auto end = Clock::now() + Seconds(30);
        while (ProcessesIn(folder).size() < 2 && Clock::now() < end) {
            std::this_thread::sleep_for(milliseconds(50));
        }
        ASSERT_GE(ProcessesIn(folder).size(), 2u) << "the compiler did not start";
        kill(run.Pid(), SIGTERM);
        const std::optional<int> status = run.WaitForEnd(Seconds(10));
        ASSERT_TRUE(status);
        EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGTERM);
        // Its processes were told to end with Orvex; they need a moment to be gone.
        const auto gone = Clock::now() + Seconds(5);
        while (!ProcessesIn(folder).empty() && Clock::now() < gone) {
            std::this_thread::sleep_for(milliseconds(50));
        }
        EXPECT_TRUE(ProcessesIn(folder).empty()) << "the compiler outlived Orvex";
    }
    const Outcome outcome = RunOrvex(Source("zero.c"));
    EXPECT_EQ(outcome.Status, 125);
    EXPECT_NE(outcome.Output.find("Orvex: compiling zero.c needed more than the 2 GiB of memory"),
              std::string::npos)
        << outcome.Output.substr(0, 2000);
}

TEST_F(OrvexTest, OpensATerminalWindowOnlyWhenNoStreamIsATerminal) {
    WriteSource("hello.c", "#include <stdio.h>\nint main(void) { puts(\"hello\"); return 0; }\n");
    const fs::path terminal = Root() / "terminal";
    const fs::path opened = Root() / "terminal-opened";
    std::ofstream(terminal) << "#!/bin/sh\ntouch '" << opened.string() << "'\n";
    fs::permissions(terminal, fs::perms::owner_all);
    const std::string choice = "ORVEX_TERMINAL=" + terminal.string();
    std::vector<std::string> environment = Environment();
    environment.insert(environment.end(), {choice, "DISPLAY=:0"});

    {
        TerminalRun run(Orvex(), Source("hello.c"), environment);
        ASSERT_TRUE(run.WaitForEnd(Seconds(60)));
        EXPECT_NE(run.Output().find("hello"), std::string::npos) << run.Output();
    }
    {
        const fs::path log = Root() / "log.txt";
        TerminalRun run(Orvex(), Source("hello.c"), environment, log);
        ASSERT_TRUE(run.WaitForEnd(Seconds(60)));
        std::ostringstream written;
        written << std::ifstream(log).rdbuf();
        EXPECT_EQ(written.str(), "hello\n");
        EXPECT_NE(run.Output().find("Running hello ..."), std::string::npos) << run.Output();
    }
    EXPECT_FALSE(fs::exists(opened)) << "a terminal was opened beside the one at hand";
}

// Which terminal program Orvex starts, and that it asks for a window titled after the file; xterm,
// also when it is Debian's choice through one of its scripts, in a font that is installed.
TEST_F(OrvexTest, OpensAWindowTitledAfterTheFileAndXtermReadable) {
    WriteSource("hello.c", "int main(void) { return 0; }\n");
    const fs::path opened = Root() / "terminal-opened";
    // Stands in for a terminal program: writes down its name and its arguments, one a line.
    const auto fakeTerminal = [&opened](const fs::path &file) {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << "#!/bin/sh\n{ basename \"$0\"; printf '%s\\n' \"$@\"; } > '"
                            << opened.string() << "'\n";
        fs::permissions(file, fs::perms::owner_all);
    };
    const fs::path chosenXterm = Root() / "chosen" / "xterm";
    const fs::path other = Root() / "chosen" / "terminal";
    fakeTerminal(chosenXterm);
    fakeTerminal(other);
    // Debian's alternatives: x-terminal-emulator a link to xterm's script lxterm, or to another.
    const fs::path debianXterm = Root() / "xterm-chosen";
    fakeTerminal(debianXterm / "lxterm");
    fakeTerminal(debianXterm / "xterm");
    fs::create_symlink(debianXterm / "lxterm", debianXterm / "x-terminal-emulator");
    const fs::path debianOther = Root() / "other-chosen";
    fakeTerminal(debianOther / "terminal");
    fs::create_symlink(debianOther / "terminal", debianOther / "x-terminal-emulator");
    const char *inheritedPath = std::getenv("PATH");
    const std::string path = inheritedPath != nullptr ? inheritedPath : "/usr/bin:/bin";

    const struct {
        const char *What;
        std::string Environment;
        const char *Program;
        bool Readable;  // xterm's own options
    } cases[] = {
        {"xterm named", "ORVEX_TERMINAL=" + chosenXterm.string(), "xterm", true},
        {"another named", "ORVEX_TERMINAL=" + other.string(), "terminal", false},
        {"xterm chosen by Debian", "ORVEX_TERMINAL= PATH=" + debianXterm.string() + ":" + path,
         "xterm", true},
        {"another chosen by Debian", "ORVEX_TERMINAL= PATH=" + debianOther.string() + ":" + path,
         "x-terminal-emulator", false},
    };
    for (const auto &c : cases) {
        fs::remove(opened);
        RunOrvex(Source("hello.c"), c.Environment + " DISPLAY=:0", "/", {"5", "10"});
        std::ifstream record(opened);
        std::vector<std::string> arguments;
        for (std::string line; std::getline(record, line);) {
            arguments.push_back(line);
        }
        ASSERT_GE(arguments.size(), 6u) << c.What << ": no terminal was started";
        EXPECT_EQ(arguments.front(), c.Program) << c.What;
        const std::vector<std::string> command(arguments.end() - 5, arguments.end());
        EXPECT_EQ(command, (std::vector<std::string>{"-e", Orvex(), Source("hello.c"), "5", "10"}))
            << c.What;
        const auto option = [&arguments](const std::string &name) {
            const auto found = std::find(arguments.begin(), arguments.end(), name);
            return found + 1 < arguments.end() ? found[1] : std::string();
        };
        const bool titled = c.Program != std::string("terminal");
        EXPECT_EQ(option("-T"), titled ? "hello.c - Orvex" : "") << c.What;
        if (c.Readable) {
            EXPECT_EQ(option("-geometry").rfind("100x32", 0), 0u) << c.What;
            FILE *match =
                popen(("fc-match -f '%{family[0]}' '" + option("-fa") + "'").c_str(), "r");
            char family[256] = "";
            ASSERT_NE(match, nullptr);
            EXPECT_NE(std::fgets(family, sizeof family, match), nullptr);
            pclose(match);
            EXPECT_EQ(family, option("-fa")) << c.What << ": the font is not installed";
        }
    }
}

}  // namespace
}  // namespace orvex_test

// Orvex: runs the C file named by its one argument the way a learner expects. It compiles the file
// with the system's C compiler, warnings on, against the Graphics library of the app folder it sits
// in (DIR/include and DIR/lib beside DIR/Orvex), runs the program in the source file's folder so
// that relative image and font paths work, and ends with the program's exit status.
//
// The program is built with AddressSanitizer and UndefinedBehaviorSanitizer when the compiler
// offers them, so that a memory fault stops it with the file and line, which Orvex then repeats in
// one plain sentence. ORVEX_SANITIZE=0 builds it plainly.
//
// The editor starts it without a terminal. When none of standard input, output and error is a
// terminal, Orvex starts itself again inside a terminal window, when one is available, and waits
// for Enter at the end so that the output can be read. ORVEX_TERMINAL names the terminal program
// ("none": never open one); CC names the compiler.
#include <fcntl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "ChildProcess.h"
#include "FaultReport.h"

namespace fs = std::filesystem;

namespace orvex {
namespace {

constexpr int kUsageError = 2;
constexpr int kNoCompiler = 3;
constexpr int kCompileError = 4;
constexpr int kCannotRun = 5;
constexpr const char *kInsideTerminal = "ORVEX_INSIDE_TERMINAL";
// The sanitizers write their reports into this folder of the scratch folder, one file per
// process, from which Orvex reads them back to name the fault.
constexpr const char *kFaultFolder = "faults";

// How Orvex tells a terminal program what to show.
enum class TerminalStyle {
    // Its defaults are hard to read (80x24 characters in a small bitmap font without "€", no
    // scroll bar, a short scroll-back), so Orvex asks for a readable window.
    Xterm,
    // Debian's chosen terminal, which takes -T for the title by Debian's policy.
    Alternative,
    // Its settings are the learner's.
    Plain,
};

struct Terminal {
    const char *Program;
    const char *RunOption;  // what precedes the command to run
    TerminalStyle Style;
};

// Debian's chosen terminal first, then the common ones.
constexpr Terminal kTerminals[] = {
    {"x-terminal-emulator", "-e", TerminalStyle::Alternative},
    {"xterm", "-e", TerminalStyle::Xterm},
    {"konsole", "-e", TerminalStyle::Plain},
    {"gnome-terminal", "--", TerminalStyle::Plain},
    {"xfce4-terminal", "-x", TerminalStyle::Plain},
};
constexpr Terminal kOtherTerminal = {"", "-e", TerminalStyle::Plain};

// xterm's own scripts, each of which starts it in an encoding of its choice; Orvex starts xterm
// itself, in UTF-8.
constexpr std::string_view kXtermScripts[] = {"uxterm", "lxterm", "koi8rxterm"};

const std::vector<std::string> kSanitizerFlags = {"-fsanitize=address,undefined",
                                                  "-fno-omit-frame-pointer"};

std::optional<std::string> FindInPath(const std::string &name) {
    if (name.find('/') != std::string::npos) {
        return access(name.c_str(), X_OK) == 0 ? std::optional(name) : std::nullopt;
    }
    const char *path = std::getenv("PATH");
    std::string_view rest = path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::string folder(rest.substr(0, colon));
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return std::nullopt;
}

// The known terminal that `program` is, by its file name; any of xterm's scripts is xterm.
const Terminal &TerminalNamed(const fs::path &program) {
    std::string name = program.filename().string();
    if (std::find(std::begin(kXtermScripts), std::end(kXtermScripts), name) !=
        std::end(kXtermScripts)) {
        name = "xterm";
    }
    const auto known =
        std::find_if(std::begin(kTerminals), std::end(kTerminals),
                     [&name](const Terminal &terminal) { return name == terminal.Program; });
    return known == std::end(kTerminals) ? kOtherTerminal : *known;
}

// What comes before the option that precedes the command.
std::vector<std::string> TerminalOptions(TerminalStyle style, const std::string &title) {
    switch (style) {
        case TerminalStyle::Xterm:
            return {"-T", title, "-n", title,
                    // About 100x32 characters, in the corner away from the editor's menus.
                    "-geometry", "100x32-0-0",
                    // A TrueType font that comes with the package, at a size a beginner reads.
                    "-fa", "Liberation Mono", "-fs", "12", "-u8",
                    // Enough to scroll back to the first compiler message of a long run.
                    "-sb", "-rightbar", "-sl", "10000"};
        case TerminalStyle::Alternative:
            return {"-T", title};
        case TerminalStyle::Plain:
            break;
    }
    return {};
}

// Replaces this process with the terminal program `name` (found in PATH, or a path) running this
// program on `source`; returns when it could not be started.
void ExecInTerminal(const std::string &name, const std::string &self, const std::string &source) {
    std::optional<std::string> program = FindInPath(name);
    if (!program) {
        return;
    }
    const Terminal *terminal = &TerminalNamed(*program);
    if (terminal->Style == TerminalStyle::Alternative) {
        // When the learner's system chose xterm, Orvex opens it readable as well.
        std::error_code error;
        const Terminal &chosen = TerminalNamed(fs::canonical(*program, error));
        if (chosen.Style == TerminalStyle::Xterm) {
            program = FindInPath(chosen.Program);
            terminal = &chosen;
            if (!program) {
                return;
            }
        }
    }
    const std::string title =
        (source.empty() ? "" : fs::path(source).filename().string() + " - ") + "Orvex";
    std::vector<std::string> arguments = {*program};
    const std::vector<std::string> options = TerminalOptions(terminal->Style, title);
    arguments.insert(arguments.end(), options.begin(), options.end());
    arguments.insert(arguments.end(), {terminal->RunOption, self, source});
    std::vector<char *> argv;
    for (std::string &argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    setenv(kInsideTerminal, "1", 1);
    execv(program->c_str(), argv.data());
    unsetenv(kInsideTerminal);
}

// Starts this program again inside a terminal window when it has no terminal at all; returns only
// when it does not (a terminal at hand, none wanted, none found, or it could not be started). A
// terminal on any standard stream means the learner is at one already, with the rest redirected.
void ReopenInTerminal(const std::string &self, const std::string &source) {
    if (isatty(STDIN_FILENO) || isatty(STDOUT_FILENO) || isatty(STDERR_FILENO) ||
        (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr)) {
        return;
    }
    const char *chosen = std::getenv("ORVEX_TERMINAL");
    if (chosen != nullptr && *chosen != '\0') {
        if (std::strcmp(chosen, "none") != 0) {
            ExecInTerminal(chosen, self, source);
        }
        return;
    }
    for (const Terminal &terminal : kTerminals) {
        ExecInTerminal(terminal.Program, self, source);
    }
}

std::optional<std::string> FindCompiler() {
    const char *chosen = std::getenv("CC");
    if (chosen != nullptr && *chosen != '\0') {
        return FindInPath(chosen);
    }
    for (const char *name : {"cc", "gcc", "clang"}) {
        if (std::optional<std::string> compiler = FindInPath(name)) {
            return compiler;
        }
    }
    return std::nullopt;
}

bool SanitizersWanted() {
    const char *choice = std::getenv("ORVEX_SANITIZE");
    return choice == nullptr || std::strcmp(choice, "0") != 0;
}

// The signal that asked Orvex to stop while no program ran yet, or 0.
int StopSignal(SignalWatch &signals) {
    signals.TakePending();
    return signals.Ending() != 0 ? signals.Ending() : signals.Interruption();
}

// Whether the compiler builds and links a program with the sanitizers: their runtime libraries
// come in packages of their own that may be missing.
bool CompilerOffersSanitizers(const std::string &compiler, const fs::path &scratch,
                              SignalWatch &signals) {
    const fs::path probe = scratch / "sanitizer-probe.c";
    std::ofstream(probe) << "int main(void) { return 0; }\n";
    std::vector<std::string> command = {compiler};
    command.insert(command.end(), kSanitizerFlags.begin(), kSanitizerFlags.end());
    command.insert(command.end(), {"-o", (scratch / "sanitizer-probe").string(), probe.string()});
    const int status = RunAndWait(command, signals, nullptr, ChildOutput::Discarded);
    return status >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Adds Orvex's settings after any the learner has made; the later setting wins.
void AddSanitizerOptions(const char *variable, const std::string &options) {
    const char *inherited = std::getenv(variable);
    const std::string joined = inherited != nullptr && *inherited != '\0'
                                   ? std::string(inherited) + ":" + options
                                   : options;
    setenv(variable, joined.c_str(), 1);
}

// Leaks are not reported: the display drivers leak by design. Both runtimes get the report path:
// GCC's separate UndefinedBehaviorSanitizer runtime sets the shared path again when it starts.
void SetSanitizerOptions(const fs::path &scratch) {
    std::error_code error;
    fs::create_directory(scratch / kFaultFolder, error);
    const std::string logPath = "log_path=\"" + (scratch / kFaultFolder / "report").string() + "\"";
    AddSanitizerOptions("ASAN_OPTIONS", "detect_leaks=0:" + logPath);
    AddSanitizerOptions("UBSAN_OPTIONS", logPath);
}

std::string ReadFaultReports(const fs::path &scratch) {
    std::vector<fs::path> reports;
    std::error_code error;
    for (const fs::directory_entry &entry : fs::directory_iterator(scratch / kFaultFolder, error)) {
        reports.push_back(entry.path());
    }
    std::sort(reports.begin(), reports.end());
    std::string text;
    for (const fs::path &report : reports) {
        std::ostringstream contents;
        contents << std::ifstream(report).rdbuf();
        text += contents.str();
    }
    return text;
}

// Tells the learner how the program ended and turns its wait status into this program's status.
int ReportEnd(int status, const std::string &faultReport, const std::string &source) {
    if (!faultReport.empty()) {
        std::cerr << TrimFaultReport(faultReport);
        const std::string sentence = DescribeFault(faultReport, source);
        if (!sentence.empty()) {
            std::cerr << "\nOrvex: " << sentence << ".\n";
        }
    }
    if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        std::cerr << "\nOrvex: the program was stopped by signal " << signal << " ("
                  << strsignal(signal) << ").\n";
        return 128 + signal;
    }
    return WEXITSTATUS(status);
}

// A folder of Orvex's own for the program and the fault reports, gone on every way out.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::error_code error;
        std::string pattern = (fs::temp_directory_path(error) / "orvex-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            Folder = pattern;
        }
    }
    ~ScratchFolder() {
        std::error_code error;
        if (!Folder.empty()) {
            fs::remove_all(Folder, error);
        }
    }
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    const fs::path &Path() const { return Folder; }

  private:
    fs::path Folder;
};

// Whether to build with the sanitizers: wanted and offered by the compiler. Says so when the
// compiler does not offer them.
bool UseSanitizers(const std::string &compiler, const fs::path &scratch, SignalWatch &signals) {
    if (!SanitizersWanted()) {
        return false;
    }
    const bool offered = CompilerOffersSanitizers(compiler, scratch, signals);
    if (!offered && StopSignal(signals) == 0) {
        std::cerr << "Orvex: the compiler offers no AddressSanitizer here, so a memory fault will "
                     "not name its line.\n";
    }
    return offered;
}

// Compiles `source` into `program`; 0 when it did, else Orvex's status for the failure, which it
// has told the learner.
int Compile(const std::string &compiler, const fs::path &source, const fs::path &program,
            const fs::path &appFolder, bool sanitized, SignalWatch &signals) {
    std::vector<std::string> command = {compiler, "-Wall", "-Wextra", "-g"};
    if (sanitized) {
        command.insert(command.end(), kSanitizerFlags.begin(), kSanitizerFlags.end());
    }
    const std::string include = (appFolder / "include").string();
    const std::string lib = (appFolder / "lib").string();
    command.insert(command.end(),
                   {"-o", program.string(), source.string(), "-I" + include, "-L" + lib,
                    "-Wl,-rpath," + lib, "-lGraphics", "-lTactil", "-lm"});
    const int compiled = RunAndWait(command, signals);
    if (compiled < 0) {
        std::cerr << "Orvex: cannot start the C compiler " << compiler << ": "
                  << std::strerror(errno) << ".\n";
        return kNoCompiler;
    }
    if (WIFSIGNALED(compiled)) {
        std::cerr << "Orvex: compiling was stopped by signal " << WTERMSIG(compiled) << " ("
                  << strsignal(WTERMSIG(compiled)) << ").\n";
        return kCompileError;
    }
    if (WEXITSTATUS(compiled) != 0) {
        std::cerr << "Orvex: " << source.filename().string()
                  << " did not compile; the compiler's messages above say why.\n";
        return kCompileError;
    }
    return 0;
}

int CompileAndRun(const fs::path &appFolder, const std::string &sourceArgument,
                  SignalWatch &signals) {
    if (sourceArgument.empty()) {
        std::cerr << "Orvex: no C file to run. Save the program first, then start it again.\n";
        return kUsageError;
    }
    std::error_code error;
    // The compiler puts this path into the debugging information, where the fault reports take
    // the file and line from.
    const fs::path source = fs::absolute(sourceArgument, error).lexically_normal();
    // Not blocking: opening a named pipe would wait for a writer that never comes.
    const int file = open(source.c_str(), O_RDONLY | O_NONBLOCK);
    if (file < 0) {
        std::cerr << "Orvex: cannot read the C file \"" << sourceArgument
                  << "\": " << std::strerror(errno) << ".\n";
        return kUsageError;
    }
    close(file);
    if (!fs::is_regular_file(source, error)) {
        std::cerr << "Orvex: \"" << sourceArgument << "\" is not a C file.\n";
        return kUsageError;
    }
    const std::optional<std::string> compiler = FindCompiler();
    if (!compiler) {
        std::cerr << "Orvex: no C compiler was found. Install one (the gcc package) or name it in "
                     "the CC variable.\n";
        return kNoCompiler;
    }
    const ScratchFolder scratch;
    if (scratch.Path().empty()) {
        std::cerr << "Orvex: cannot make a folder for the program: " << std::strerror(errno)
                  << ".\n";
        return kCannotRun;
    }

    std::cerr << "Compiling " << source.filename().string() << " ...\n";
    const std::string name = source.stem().string();
    const fs::path program = scratch.Path() / name;
    const bool sanitized = UseSanitizers(*compiler, scratch.Path(), signals);
    if (const int failure = Compile(*compiler, source, program, appFolder, sanitized, signals)) {
        return failure;
    }
    if (const int stop = StopSignal(signals)) {
        std::cerr << "Orvex: stopped before the program ran.\n";
        return 128 + stop;
    }
    if (sanitized) {
        SetSanitizerOptions(scratch.Path());
    }
    std::cerr << "Running " << name << " ...\n";
    const int ran = RunAndWait({program.string()}, signals, source.parent_path().c_str());
    if (ran < 0) {
        std::cerr << "Orvex: cannot run the program: " << std::strerror(errno) << ".\n";
        return kCannotRun;
    }
    return ReportEnd(ran, ReadFaultReports(scratch.Path()), source.string());
}

// Keys typed while the program ran were meant for it, not as the answer to this question.
void WaitForEnter(int result) {
    tcflush(STDIN_FILENO, TCIFLUSH);
    std::cout << "\nOrvex: finished with status " << result << ". Press Enter to close this window."
              << std::flush;
    char key = 0;
    while (read(STDIN_FILENO, &key, 1) == 1 && key != '\n') {
    }
}

}  // namespace
}  // namespace orvex

using orvex::CompileAndRun;
using orvex::kInsideTerminal;
using orvex::kUsageError;
using orvex::ReopenInTerminal;
using orvex::SignalWatch;
using orvex::WaitForEnter;

int main(int argc, char **argv) {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    const std::string source = argc == 2 ? argv[1] : "";
    const bool insideTerminal = std::getenv(kInsideTerminal) != nullptr;
    // The learner's program, and any Orvex it starts, are not in Orvex's own terminal.
    unsetenv(kInsideTerminal);
    if (!insideTerminal) {
        ReopenInTerminal(error ? std::string(argv[0]) : self.string(), source);
    }

    SignalWatch signals;
    int result;
    if (argc != 2) {
        std::cerr << "Usage: Orvex FILE.c\nCompiles the C file and runs it in its own folder.\n";
        result = kUsageError;
    } else {
        result = CompileAndRun(error ? fs::current_path() : self.parent_path(), source, signals);
    }
    signals.TakePending();
    if (signals.Ending() != 0) {
        signals.EndByEndingSignal();
    }
    if (insideTerminal) {
        signals.Release();
        WaitForEnter(result);
    }
    return result;
}

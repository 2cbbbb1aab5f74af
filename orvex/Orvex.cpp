// Orvex: runs the C file named by its first argument the way a learner expects. It compiles the
// file with the system's C compiler, warnings on, against the Graphics library of the app folder it
// sits in (DIR/include and DIR/lib beside DIR/Orvex), runs the program in the source file's folder
// so that relative image and font paths work, with the rest of Orvex's arguments, and ends with the
// program's exit status. Its own failures end with 125 to 127, as env's and timeout's do.
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
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
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

#include "Build.h"
#include "ChildProcess.h"
#include "CompileHints.h"
#include "FaultReport.h"
#include "SanitizerProbe.h"
#include "ShownText.h"

namespace fs = std::filesystem;

namespace orvex {
namespace {

// Orvex's own failures, in the manner of env and timeout, so that a program's own small statuses
// keep their meaning: the C file could not be built (or none was given), the program it built
// could not be run, no compiler could be started.
constexpr int kNotBuilt = 125;
constexpr int kCannotRun = 126;
constexpr int kNoCompiler = 127;
constexpr const char *kInsideTerminal = "ORVEX_INSIDE_TERMINAL";
// The sanitizers write their reports into this folder of the scratch folder, one file per
// process, from which Orvex reads them back to name the fault.
constexpr const char *kFaultFolder = "faults";
// More than any report of a real fault; a program could write gigabytes there.
constexpr std::size_t kFaultReportLimit = 256 * 1024;
// The sanitizers' bookkeeping makes each stack frame several times larger.
constexpr rlim_t kSanitizedStackFactor = 4;
// A learner's file is far smaller, and checking a larger one again could take as long as
// compiling it did: no sentence then, rather than a long wait for one.
constexpr std::uintmax_t kExplainedSourceLimit = 1 << 20;
constexpr std::chrono::seconds kExplainTimeLimit{10};

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
// program with `arguments`, the C file first; returns when it could not be started.
void ExecInTerminal(const std::string &name, const std::string &self,
                    const std::vector<std::string> &arguments) {
    std::optional<std::string> program = FindInPath(name);
    if (!program) {
        return;
    }
    const Terminal *terminal = &TerminalNamed(*program);
    if (terminal->Style == TerminalStyle::Alternative) {
        // When the learner's system chose xterm, Orvex opens it readable as well.
        std::error_code error;
        const fs::path resolved = fs::canonical(*program, error);
        const Terminal &chosen = TerminalNamed(resolved);
        if (chosen.Style == TerminalStyle::Xterm) {
            program = FindInPath(chosen.Program);
            terminal = &chosen;
            if (!program) {
                return;
            }
        }
    }
    const std::string title = (arguments.empty() || arguments.front().empty()
                                   ? ""
                                   : fs::path(arguments.front()).filename().string() + " - ") +
                              "Orvex";
    std::vector<std::string> command = {*program};
    const std::vector<std::string> options = TerminalOptions(terminal->Style, title);
    command.insert(command.end(), options.begin(), options.end());
    command.insert(command.end(), {terminal->RunOption, self});
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    for (std::string &argument : command) {
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
void ReopenInTerminal(const std::string &self, const std::vector<std::string> &arguments) {
    if (isatty(STDIN_FILENO) || isatty(STDOUT_FILENO) || isatty(STDERR_FILENO) ||
        (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr)) {
        return;
    }
    const char *chosen = std::getenv("ORVEX_TERMINAL");
    if (chosen != nullptr && *chosen != '\0') {
        if (std::strcmp(chosen, "none") != 0) {
            ExecInTerminal(chosen, self, arguments);
        }
        return;
    }
    for (const Terminal &terminal : kTerminals) {
        ExecInTerminal(terminal.Program, self, arguments);
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

// Adds Orvex's settings after any the learner has made; the later setting wins.
void AddSanitizerOptions(const char *variable, const std::string &options) {
    const char *inherited = std::getenv(variable);
    const std::string joined = inherited != nullptr && *inherited != '\0'
                                   ? std::string(inherited) + ":" + options
                                   : options;
    setenv(variable, joined.c_str(), 1);
}

// Leaks are not reported: the display drivers leak by design. An allocation the system refuses
// gives NULL, as in plain C, instead of stopping the program. Both runtimes get the report path:
// GCC's separate UndefinedBehaviorSanitizer runtime sets the shared path again when it starts.
// The path goes in quotes the runtimes' option parser knows; one with both kinds of quote cannot
// be written, and the reports then go to the terminal, without Orvex's sentence.
void SetSanitizerOptions(const fs::path &scratch) {
    std::error_code error;
    fs::create_directory(scratch / kFaultFolder, error);
    const std::string path = (scratch / kFaultFolder / "report").string();
    const char quote = path.find('"') == std::string::npos ? '"' : '\'';
    const std::string logPath =
        path.find(quote) == std::string::npos ? ":log_path=" + (quote + path + quote) : "";
    AddSanitizerOptions("ASAN_OPTIONS", "detect_leaks=0:allocator_may_return_null=1" + logPath);
    if (!logPath.empty()) {
        AddSanitizerOptions("UBSAN_OPTIONS", logPath.substr(1));
    }
}

// Tells the learner how the program ended and turns its wait status into this program's status.
// A program the sanitizer stopped ends with the status the fault would have given without it, as
// a crash.
int ReportEnd(int status, const FaultReports &reports, const std::string &source) {
    const std::string report = reports.Program + reports.Others;
    if (!report.empty()) {
        // A runtime's warning may lack its line break.
        const std::string shown = Printable(TrimFaultReport(report));
        std::cerr << shown << (shown.empty() || shown.back() == '\n' ? "" : "\n");
    }
    const FaultDescription fault = DescribeFault(reports.Program, source);
    if (!fault.Sentence.empty()) {
        std::cerr << "\nOrvex: " << Printable(fault.Sentence) << ".\n";
    }
    if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        std::cerr << "\nOrvex: the program was stopped by signal " << signal << " ("
                  << strsignal(signal) << ").\n";
        return 128 + signal;
    }
    return fault.Signal != 0 ? 128 + fault.Signal : WEXITSTATUS(status);
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
SanitizerAnswer UseSanitizers(const std::string &compiler, const fs::path &scratch,
                              SignalWatch &signals, bool askAgain = false) {
    if (!SanitizersWanted()) {
        return {};
    }
    const SanitizerAnswer answer = CompilerOffersSanitizers(compiler, scratch, signals, askAgain);
    if (!answer.Offered && StopSignal(signals) == 0) {
        std::cerr << "Orvex: the compiler offers no AddressSanitizer here, so a memory fault will "
                     "not name its line. Installing the compiler's sanitizer libraries (for gcc, "
                     "the libasan and libubsan packages) brings it.\n";
    }
    return answer;
}

// Builds the program, asking about the sanitizers again when the remembered yes no longer holds:
// their libraries can go without the compiler changing.
CompileResult Build(BuildRequest &request, SignalWatch &signals) {
    SanitizerAnswer sanitizers = UseSanitizers(request.Compiler, request.Scratch, signals);
    request.Sanitized = sanitizers.Offered;
    request.Linker = sanitizers.Linker;
    CompileResult result = BuildProgram(request, signals);
    // The sanitizers' libraries, or the linker chosen for them, can go without the compiler
    // changing; a learner's misspelt function is no reason to ask.
    if (result.Outcome == BuildOutcome::LinkFailed && sanitizers.Remembered &&
        (MissingFunctions(result.LinkerOutput).empty() ||
         result.LinkerOutput.find("asan") != std::string::npos ||
         result.LinkerOutput.find("ubsan") != std::string::npos)) {
        sanitizers = UseSanitizers(request.Compiler, request.Scratch, signals, true);
        if (sanitizers.Offered != request.Sanitized || sanitizers.Linker != request.Linker) {
            request.Sanitized = sanitizers.Offered;
            request.Linker = sanitizers.Linker;
            result = BuildProgram(request, signals);
        }
    }
    return result;
}

std::string Joined(const std::vector<std::string> &names) {
    std::string joined;
    for (std::size_t i = 0; i < names.size(); ++i) {
        joined += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    }
    return joined;
}

// Tells the learner why the program was not built; Orvex's status for it, or 0 when it was.
int ReportBuildFailure(const CompileResult &result, const std::string &compiler,
                       const std::string &name) {
    switch (result.Outcome) {
        case BuildOutcome::Built:
            return 0;
        case BuildOutcome::CannotStart:
            std::cerr << "Orvex: cannot start the C compiler " << Printable(compiler) << ": "
                      << std::strerror(result.Error)
                      << ". Install one (the gcc package) or name another in the CC variable.\n";
            return kNoCompiler;
        case BuildOutcome::CompileFailed:
            std::cerr << "Orvex: " << name
                      << " did not compile; the compiler's messages above say why.\n";
            return kNotBuilt;
        case BuildOutcome::LinkFailed: {
            const std::vector<std::string> missing = MissingFunctions(result.LinkerOutput);
            std::cerr << "Orvex: " << name << " compiled, but could not be linked into a program";
            if (missing.empty()) {
                std::cerr << "; the linker's messages above say why.\n";
            } else {
                std::cerr << ": nothing defines " << (missing.size() == 1 ? "the function " : "")
                          << Printable(Joined(missing))
                          << ". Check the spelling against the function's declaration.\n";
            }
            return kNotBuilt;
        }
        case BuildOutcome::OutOfMemory:
            std::cerr << "Orvex: compiling " << name << " needed more than the "
                      << (kCompilerMemoryLimit >> 30)
                      << " GiB of memory Orvex allows the compiler. Does the file include "
                         "something that is not C source, such as a device or a huge file?\n";
            return kNotBuilt;
        case BuildOutcome::TimedOut:
            std::cerr << "Orvex: compiling " << name << " took longer than the "
                      << kCompilerTimeLimit.count()
                      << " seconds Orvex allows the compiler. Does the file include something "
                         "that never ends, such as a device or a named pipe?\n";
            return kNotBuilt;
        case BuildOutcome::Stopped:
            std::cerr << "Orvex: compiling was stopped by signal " << result.Signal << " ("
                      << strsignal(result.Signal) << ").\n";
            return kNotBuilt;
    }
    return kNotBuilt;
}

// Adds a sentence below the compiler's messages for a mistake that beginners make most. GCC 12
// writes its diagnostics either as the text the learner has seen or as JSON, so it is asked again
// for JSON, only checking the file, which is quick, and only when it had something to say. In
// the C locale its messages read the same in every language.
void ExplainBuild(const BuildRequest &request, const CompileResult &result, SignalWatch &signals) {
    const bool failed =
        result.Outcome == BuildOutcome::CompileFailed || result.Outcome == BuildOutcome::LinkFailed;
    std::error_code error;
    if ((!failed && (result.Outcome != BuildOutcome::Built || result.CompilerOutput.empty())) ||
        fs::file_size(request.Source, error) > kExplainedSourceLimit || error) {
        return;
    }
    std::string diagnostics;
    if (!result.CompilerOutput.empty()) {
        const char *locale = std::getenv("LC_ALL");
        const std::optional<std::string> learnersLocale =
            locale != nullptr ? std::optional<std::string>(locale) : std::nullopt;
        setenv("LC_ALL", "C", 1);
        ChildOptions options;
        options.Output = ChildOutput::Captured;
        options.OwnGroup = true;
        options.AddressSpaceLimit = kCompilerMemoryLimit;
        options.TimeLimit = kExplainTimeLimit;
        diagnostics =
            RunAndWait({request.Compiler, "-fsyntax-only", "-fdiagnostics-format=json",
                        "-I" + (request.AppFolder / "include").string(), request.Source.string()},
                       signals, options)
                .Output;
        if (learnersLocale) {
            setenv("LC_ALL", learnersLocale->c_str(), 1);
        } else {
            unsetenv("LC_ALL");
        }
    }
    std::ostringstream text;
    text << std::ifstream(request.Source).rdbuf();
    const std::string sentence =
        ExplainMistake({request.Source.string(), text.str(), diagnostics, result.LinkerOutput});
    if (!sentence.empty()) {
        std::cerr << "Orvex: " << Printable(sentence) << ".\n";
    }
}

// The name the program goes by: its file's name without ".c", unless that leaves only dots.
std::string ProgramName(const fs::path &source) {
    const std::string stem = source.stem().string();
    return stem.find_first_not_of('.') == std::string::npos ? source.filename().string() : stem;
}

// The stack a program gets: a sanitized one as many frames deep as a plain one would.
rlim_t StackLimit(bool sanitized) {
    rlimit limit;
    if (!sanitized || getrlimit(RLIMIT_STACK, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return RLIM_INFINITY;
    }
    return limit.rlim_cur * kSanitizedStackFactor;
}

// Builds the C file (arguments[0]) and runs it with the rest of `arguments`.
int CompileAndRun(const fs::path &appFolder, const std::vector<std::string> &arguments,
                  SignalWatch &signals) {
    const std::string &sourceArgument = arguments.front();
    if (sourceArgument.empty()) {
        std::cerr << "Orvex: no C file to run. Save the program first, then start it again.\n";
        return kNotBuilt;
    }
    std::error_code error;
    // The compiler puts this path into the debugging information, where the fault reports take
    // the file and line from.
    const fs::path source = fs::absolute(sourceArgument, error).lexically_normal();
    // Not blocking: opening a named pipe would wait for a writer that never comes.
    const int file = open(source.c_str(), O_RDONLY | O_NONBLOCK);
    if (file < 0) {
        std::cerr << "Orvex: cannot read the C file \"" << Printable(sourceArgument)
                  << "\": " << std::strerror(errno) << ".\n";
        return kNotBuilt;
    }
    close(file);
    if (!fs::is_regular_file(source, error)) {
        std::cerr << "Orvex: \"" << Printable(sourceArgument) << "\" is not a C file.\n";
        return kNotBuilt;
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
                  << ". Make room in the temporary folder (TMPDIR or /tmp).\n";
        return kNotBuilt;
    }

    const std::string fileName = Printable(source.filename().string());
    std::cerr << "Compiling " << fileName << " ...\n";
    // The compiler names the folder by PWD when that is the folder it runs in, so the paths in
    // the fault reports stay the ones the learner gave; the program finds it right as well.
    const fs::path folder = source.parent_path();
    setenv("PWD", folder.c_str(), 1);
    BuildRequest request{*compiler, source, appFolder, scratch.Path(), false, {}};
    const CompileResult built = Build(request, signals);
    const int failure = ReportBuildFailure(built, *compiler, fileName);
    ExplainBuild(request, built, signals);
    if (failure != 0) {
        return failure;
    }
    if (const int stop = StopSignal(signals)) {
        std::cerr << "Orvex: stopped before the program ran.\n";
        return 128 + stop;
    }
    if (request.Sanitized) {
        SetSanitizerOptions(scratch.Path());
    }
    std::vector<std::string> command = {ProgramName(source)};
    command.insert(command.end(), arguments.begin() + 1, arguments.end());
    std::cerr << "Running " << Printable(command.front()) << " ...\n";
    ChildOptions options;
    options.Folder = folder.c_str();
    options.Path = ProgramPath(scratch.Path()).string();
    options.StackLimit = StackLimit(request.Sanitized);
    const ChildEnd ran = RunAndWait(command, signals, options);
    if (ran.Status < 0) {
        std::cerr << "Orvex: cannot run the program: " << std::strerror(ran.Error) << ".\n";
        return kCannotRun;
    }
    return ReportEnd(ran.Status,
                     ReadFaultReports(scratch.Path() / kFaultFolder, ran.Pid, kFaultReportLimit),
                     source.string());
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
using orvex::kNotBuilt;
using orvex::ReopenInTerminal;
using orvex::SignalWatch;
using orvex::WaitForEnter;

int main(int argc, char **argv) {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    // The C file, then the program's own arguments.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const bool insideTerminal = std::getenv(kInsideTerminal) != nullptr;
    // The learner's program, and any Orvex it starts, are not in Orvex's own terminal.
    unsetenv(kInsideTerminal);
    if (!insideTerminal) {
        ReopenInTerminal(error ? std::string(argv[0]) : self.string(), arguments);
    }

    SignalWatch signals;
    int result;
    if (arguments.empty()) {
        std::cerr << "Usage: Orvex FILE.c [ARGUMENT...]\nCompiles the C file and runs it in its "
                     "own folder with the arguments.\n";
        result = kNotBuilt;
    } else {
        result = CompileAndRun(error ? fs::current_path() : self.parent_path(), arguments, signals);
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

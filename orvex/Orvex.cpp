// Orvex: runs the C file named by its one argument the way a learner expects. It compiles the file
// with the system's C compiler, warnings on, against the Graphics library of the app folder it sits
// in (DIR/include and DIR/lib beside DIR/Orvex), runs the program in the source file's folder so
// that relative image and font paths work, and ends with the program's exit status.
//
// The editor starts it without a terminal. Then, when a terminal emulator is available, Orvex
// starts itself again inside one and waits for Enter at the end, so that the output can be read.
// ORVEX_TERMINAL names the terminal to use ("none": never open one); CC names the compiler.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kUsageError = 2;
constexpr int kNoCompiler = 3;
constexpr int kCompileError = 4;
constexpr int kCannotRun = 5;
constexpr const char *kInsideTerminal = "ORVEX_INSIDE_TERMINAL";

struct Terminal {
    const char *program;
    const char *runOption;  // what precedes the command to run
};

// Debian's chosen terminal first, then the common ones.
constexpr Terminal kTerminals[] = {
    {"x-terminal-emulator", "-e"}, {"xterm", "-e"},          {"konsole", "-e"},
    {"gnome-terminal", "--"},      {"xfce4-terminal", "-x"},
};

std::optional<std::string> findInPath(const std::string &name) {
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

// Runs a program to its end with this process's output; its wait status, or -1 with errno set
// when it could not be started.
int runAndWait(const std::vector<std::string> &command, const char *folder = nullptr) {
    std::vector<char *> argv;
    for (const std::string &word : command) {
        argv.push_back(const_cast<char *>(word.c_str()));
    }
    argv.push_back(nullptr);
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        return -1;
    }
    const pid_t child = fork();
    if (child < 0) {
        const int error = errno;
        close(report[0]);
        close(report[1]);
        errno = error;
        return -1;
    }
    if (child == 0) {
        if (folder == nullptr || chdir(folder) == 0) {
            execv(argv[0], argv.data());
        }
        const int error = errno;
        [[maybe_unused]] const ssize_t written = write(report[1], &error, sizeof error);
        _exit(127);
    }
    close(report[1]);
    int error = 0;
    const bool failed = read(report[0], &error, sizeof error) == sizeof error;
    close(report[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (failed) {
        errno = error;
        return -1;
    }
    return status;
}

// Starts this program again inside a terminal window when it has none; returns only when it does
// not (no terminal wanted, none found, or it could not be started).
void reopenInTerminal(const std::string &self, const std::string &source) {
    if (isatty(STDOUT_FILENO) || std::getenv(kInsideTerminal) != nullptr ||
        (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr)) {
        return;
    }
    const char *chosen = std::getenv("ORVEX_TERMINAL");
    if (chosen != nullptr && std::strcmp(chosen, "none") == 0) {
        return;
    }
    for (const Terminal &terminal : kTerminals) {
        if (chosen != nullptr && *chosen != '\0' && std::strcmp(chosen, terminal.program) != 0) {
            continue;
        }
        if (const std::optional<std::string> program = findInPath(terminal.program)) {
            setenv(kInsideTerminal, "1", 1);
            const char *argv[] = {program->c_str(), terminal.runOption, self.c_str(),
                                  source.c_str(), nullptr};
            execv(program->c_str(), const_cast<char *const *>(argv));
            unsetenv(kInsideTerminal);
        }
    }
}

std::optional<std::string> findCompiler() {
    const char *chosen = std::getenv("CC");
    if (chosen != nullptr && *chosen != '\0') {
        return findInPath(chosen);
    }
    for (const char *name : {"cc", "gcc", "clang"}) {
        if (std::optional<std::string> compiler = findInPath(name)) {
            return compiler;
        }
    }
    return std::nullopt;
}

// Describes a wait status for the learner and turns it into this program's exit status.
int reportEnd(int status) {
    if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        std::cerr << "\nOrvex: the program was stopped by signal " << signal << " ("
                  << strsignal(signal) << ").\n";
        return 128 + signal;
    }
    return WEXITSTATUS(status);
}

int compileAndRun(const fs::path &appFolder, const std::string &sourceArgument) {
    if (sourceArgument.empty()) {
        std::cerr << "Orvex: no C file to run. Save the program first, then start it again.\n";
        return kUsageError;
    }
    std::error_code error;
    const fs::path source = fs::absolute(sourceArgument, error);
    const int file = open(source.c_str(), O_RDONLY);
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
    const std::optional<std::string> compiler = findCompiler();
    if (!compiler) {
        std::cerr << "Orvex: no C compiler was found. Install one (the gcc package) or name it in "
                     "the CC variable.\n";
        return kNoCompiler;
    }

    std::string scratchTemplate = (fs::temp_directory_path(error) / "orvex-XXXXXX").string();
    if (mkdtemp(scratchTemplate.data()) == nullptr) {
        std::cerr << "Orvex: cannot make a folder for the program: " << std::strerror(errno)
                  << ".\n";
        return kCannotRun;
    }
    const fs::path scratch = scratchTemplate;
    const fs::path program = scratch / source.stem();
    const std::string include = (appFolder / "include").string();
    const std::string lib = (appFolder / "lib").string();
    const int compiled = runAndWait({*compiler, "-Wall", "-Wextra", "-g", "-o", program.string(),
                                     source.string(), "-I" + include, "-L" + lib,
                                     "-Wl,-rpath," + lib, "-lGraphics", "-lTactil", "-lm"});
    int result;
    if (compiled < 0) {
        std::cerr << "Orvex: cannot start the C compiler " << *compiler << ": "
                  << std::strerror(errno) << ".\n";
        result = kNoCompiler;
    } else if (!WIFEXITED(compiled) || WEXITSTATUS(compiled) != 0) {
        std::cerr << "Orvex: " << source.filename().string()
                  << " did not compile; the compiler's messages above say why.\n";
        result = kCompileError;
    } else {
        const int ran = runAndWait({program.string()}, source.parent_path().c_str());
        if (ran < 0) {
            std::cerr << "Orvex: cannot run the program: " << std::strerror(errno) << ".\n";
            result = kCannotRun;
        } else {
            result = reportEnd(ran);
        }
    }
    fs::remove_all(scratch, error);
    return result;
}

}  // namespace

int main(int argc, char **argv) {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    const std::string source = argc == 2 ? argv[1] : "";
    reopenInTerminal(error ? std::string(argv[0]) : self.string(), source);

    int result;
    if (argc != 2) {
        std::cerr << "Usage: Orvex FILE.c\nCompiles the C file and runs it in its own folder.\n";
        result = kUsageError;
    } else {
        result = compileAndRun(error ? fs::current_path() : self.parent_path(), source);
    }
    if (std::getenv(kInsideTerminal) != nullptr) {
        std::cout << "\nOrvex: finished with status " << result
                  << ". Press Enter to close this window." << std::flush;
        std::cin.get();
    }
    return result;
}

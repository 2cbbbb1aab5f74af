#include "Build.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <iostream>
#include <iterator>

#include "BuildFlags.h"
#include "ShownText.h"

namespace orvex {

namespace fs = std::filesystem;

namespace {

bool SaysMemoryRanOut(std::string_view output) {
    std::string lower(output);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char *phrase : {"out of memory", "memory exhausted", "cannot allocate memory"}) {
        if (lower.find(phrase) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// Shows what a step said, with its colours when it was asked for them, but nothing else a
// terminal would act on: not even colours in the file's name.
void Echo(std::string_view output, const std::string &name, bool colours) {
    std::string shown(output);
    const std::string printable = Printable(name);
    for (std::size_t at = 0; printable != name && (at = shown.find(name, at)) != std::string::npos;
         at += printable.size()) {
        shown.replace(at, name.size(), printable);
    }
    std::cerr << Printable(shown, colours) << std::flush;
}

// Runs one step; Built when it succeeded, else how it failed, `failed` being the outcome of a
// plain failure.
BuildOutcome RunStep(const std::vector<std::string> &command, const char *folder,
                     BuildOutcome failed, const std::string &name, SignalWatch &signals,
                     std::string &output, CompileResult &result) {
    ChildOptions options;
    options.Folder = folder;
    options.Output = ChildOutput::Captured;
    options.OwnGroup = true;
    options.AddressSpaceLimit = kCompilerMemoryLimit;
    options.TimeLimit = kCompilerTimeLimit;
    const ChildEnd end = RunAndWait(command, signals, options);
    Echo(end.Output, name, isatty(STDERR_FILENO));
    output = WithoutColours(end.Output);
    if (end.Status < 0) {
        result.Error = end.Error;
        return BuildOutcome::CannotStart;
    }
    if (end.TimedOut) {
        return BuildOutcome::TimedOut;
    }
    if (WIFEXITED(end.Status) && WEXITSTATUS(end.Status) == 0) {
        return BuildOutcome::Built;
    }
    if (SaysMemoryRanOut(output)) {
        return BuildOutcome::OutOfMemory;
    }
    if (WIFSIGNALED(end.Status)) {
        result.Signal = WTERMSIG(end.Status);
        return BuildOutcome::Stopped;
    }
    return failed;
}

}  // namespace

fs::path ProgramPath(const fs::path &scratch) {
    return scratch / "program";
}

CompileResult BuildProgram(const BuildRequest &request, SignalWatch &signals) {
    CompileResult result;
    const std::string name = request.Source.filename().string();
    const fs::path object = request.Scratch / "program.o";
    std::vector<std::string> compile = {request.Compiler};
    compile.insert(compile.end(), std::begin(kCompileFlags), std::end(kCompileFlags));
    std::vector<std::string> link = {request.Compiler};
    if (request.Sanitized) {
        compile.insert(compile.end(), std::begin(kSanitizerFlags), std::end(kSanitizerFlags));
        link.insert(link.end(), std::begin(kSanitizerFlags), std::end(kSanitizerFlags));
        if (!request.Linker.empty()) {
            link.push_back(request.Linker);
        }
    }
    // Captured, the messages would lose the colours they have in a terminal.
    if (isatty(STDERR_FILENO)) {
        compile.emplace_back("-fdiagnostics-color=always");
    }
    // In the file's own folder under its plain name, so that the messages name it as the learner
    // knows it ("ball.c:12:5:"); a leading dash would make it an option.
    compile.insert(compile.end(),
                   {"-I" + (request.AppFolder / "include").string(), "-c",
                    name.front() == '-' ? "./" + name : name, "-o", object.string()});
    result.Outcome =
        RunStep(compile, request.Source.parent_path().c_str(), BuildOutcome::CompileFailed, name,
                signals, result.CompilerOutput, result);
    if (result.Outcome != BuildOutcome::Built) {
        return result;
    }
    const std::string lib = (request.AppFolder / "lib").string();
    link.insert(link.end(), {"-o", ProgramPath(request.Scratch).string(), object.string(),
                             "-L" + lib, "-Wl,-rpath," + lib});
    link.insert(link.end(), std::begin(kLinkFlags), std::end(kLinkFlags));
    result.Outcome = RunStep(link, nullptr, BuildOutcome::LinkFailed, name, signals,
                             result.LinkerOutput, result);
    return result;
}

std::vector<std::string> MissingFunctions(std::string_view linkerOutput) {
    std::vector<std::string> names;
    // GNU ld and gold quote the name (`name', 'name' or in typographic quotes); lld does not.
    for (const std::string_view phrase : {"undefined reference to ", "undefined symbol: "}) {
        for (std::size_t at = linkerOutput.find(phrase); at != std::string_view::npos;
             at = linkerOutput.find(phrase, at + 1)) {
            std::size_t start = at + phrase.size();
            const auto isNamePart = [](char c) {
                return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' ||
                       c == '.';
            };
            for (int quote = 0;
                 quote < 3 && start < linkerOutput.size() && !isNamePart(linkerOutput[start]);
                 ++quote) {
                ++start;
            }
            std::size_t end = start;
            while (end < linkerOutput.size() && isNamePart(linkerOutput[end])) {
                ++end;
            }
            const std::string name(linkerOutput.substr(start, end - start));
            if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) {
                names.push_back(name);
            }
        }
    }
    return names;
}

}  // namespace orvex

// Building a learner's C file into a program in two steps, compiling and linking, each bounded in
// memory and time and run in a process group of its own, so that nothing the compiler started
// outlives it. Each step's messages reach the learner as the compiler wrote them and are kept for
// explaining them.
#pragma once

#include <sys/resource.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "ChildProcess.h"

namespace orvex {

// Far above what any single C file of a learner needs; a file that includes /dev/zero reaches it
// in seconds.
constexpr rlim_t kCompilerMemoryLimit = rlim_t{2} << 30;
constexpr std::chrono::seconds kCompilerTimeLimit{120};

struct BuildRequest {
    std::string Compiler;
    std::filesystem::path Source;  // absolute
    std::filesystem::path AppFolder;
    std::filesystem::path Scratch;  // where the object file and the program go
    bool Sanitized = false;
    std::string Linker;  // an option choosing the linker for a sanitized program, or empty
};

enum class BuildOutcome {
    Built,
    CannotStart,    // the compiler could not be started (Error)
    CompileFailed,  // the compiler's messages say why
    LinkFailed,     // compiled, but the linker's messages say why
    OutOfMemory,    // a step needed more than kCompilerMemoryLimit
    TimedOut,       // a step took longer than kCompilerTimeLimit
    Stopped,        // a signal ended a step (Signal)
};

struct CompileResult {
    BuildOutcome Outcome = BuildOutcome::Built;
    int Error = 0;
    int Signal = 0;
    std::string CompilerOutput;  // what compiling said, without colours
    std::string LinkerOutput;    // what linking said, without colours; empty when it did not run
};

// The program `BuildProgram` makes.
std::filesystem::path ProgramPath(const std::filesystem::path &scratch);

CompileResult BuildProgram(const BuildRequest &request, SignalWatch &signals);

// The functions the linker found no definition of, in the order it named them, each once.
std::vector<std::string> MissingFunctions(std::string_view linkerOutput);

}  // namespace orvex

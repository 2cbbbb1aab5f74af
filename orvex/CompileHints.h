// Reads what the compiler and the linker said about a learner's C file, and says again in one plain
// sentence what beginners get wrong most (a missing ';' or '}', a name never declared, a misspelt
// function, a header left out), with the line where the fix goes.
#pragma once

#include <string>
#include <string_view>

namespace orvex {

struct BuildMessages {
    std::string_view SourcePath;  // the C file as the compiler was given it
    std::string_view SourceText;
    // GCC's diagnostics of the file as JSON (-fdiagnostics-format=json) in the C locale, whose
    // messages are the same everywhere; anything else, such as another compiler's complaint about
    // the option, is passed over.
    std::string_view Diagnostics;
    std::string_view LinkerOutput;  // what the linker wrote when linking failed
};

// One plain sentence without a full stop ("probably a ';' is missing at the end of line 4; add it
// there") for the first error in `messages`; else for the first unknown function the linker
// names; else for a library function called without its header, which GCC before 14 only warns
// of. Empty when it is none that this knows; it never guesses at a line it cannot find.
std::string ExplainMistake(const BuildMessages &messages);

}  // namespace orvex

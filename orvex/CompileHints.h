// Reads what the compiler and the linker said about a learner's C file that did not build, and
// says again in one plain sentence what beginners get wrong most (a missing ';' or '}', a name
// never declared, a misspelt function, a header left out), with the line where the fix goes.
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
    std::string_view LinkerOutput;  // what the compiler and linker wrote when linking failed
};

// One plain sentence without a full stop ("probably a ';' is missing at the end of line 4; add it
// there") for the first error in `messages`, or for the first unknown function the linker names;
// empty when it is none that this knows. It never guesses at a line it cannot find.
std::string ExplainBuildFailure(const BuildMessages &messages);

}  // namespace orvex

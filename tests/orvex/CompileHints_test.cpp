// The sentence Orvex adds when a learner's file does not build, over what GCC 12 and clang 14
// really said of the programs in compile-hints/: the JSON diagnostics of
// `LC_ALL=C gcc -Wall -Wextra -fsyntax-only -fdiagnostics-format=json NAME.c`, and what
// `gcc` (with GNU ld, gold and lld) or `clang -Wall -g -o prog NAME.c` wrote when linking failed.
// The ".as-error" diagnostics add -Werror=implicit-function-declaration, which is what GCC 14 does
// by default.
#include "CompileHints.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string Read(const std::string &name) {
    if (name.empty()) {
        return {};
    }
    std::ifstream file(std::filesystem::path(COMPILE_HINTS_DATA) / name);
    EXPECT_TRUE(file) << "no test file " << name;
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

TEST(CompileHintsTest, ExplainsTheMistakesBeginnersMakeMostWithTheLineToFix) {
    const struct {
        const char *Program;
        const char *Diagnostics;
        const char *Linker;
        const char *Sentence;
    } cases[] = {
        // GCC names the next token, past a comment and a blank line.
        {"semicolon.c", "semicolon.json", "",
         "probably a ';' is missing at the end of line 4; add it there"},
        // Its own fix-it, of the first of two errors.
        {"semicolon-before-brace.c", "semicolon-before-brace.json", "",
         "probably a ';' is missing at the end of line 6; add it there"},
        {"semicolon-in-line.c", "semicolon-in-line.json", "",
         "probably a ';' is missing on line 4, just before return; add it there"},
        // The inner block of three is open; a '}' in a comment does not count.
        {"brace-inner.c", "brace-inner.json", "",
         "a '}' is missing: the '{' on line 6 is probably never closed; add a '}' where its block "
         "ends"},
        {"brace-last.c", "brace-last.json", "",
         "a '}' is missing: the '{' on line 3 is probably never closed; add a '}' where its block "
         "ends"},
        {"undeclared.c", "undeclared.json", "",
         "cuont on line 5 has not been declared; if you meant count, correct the name there"},
        {"undeclared-unlike.c", "undeclared-unlike.json", "",
         "speed on line 4 has not been declared; declare it before that line, or correct the "
         "name"},
        {"misspelt-function.c", "misspelt-function.json", "misspelt-function.gcc.txt",
         "prinft, called on line 4, is an unknown function; if you meant printf, correct the name "
         "there"},
        {"misspelt-function.c", "", "misspelt-function.clang.txt",
         "prinft, called on line 4, is an unknown function; correct its name, or write the "
         "function"},
        {"misspelt-function.c", "misspelt-function.json", "misspelt-function.gold.txt",
         "prinft, called on line 4, is an unknown function; if you meant printf, correct the name "
         "there"},
        // lld has a suggestion of its own.
        {"misspelt-function.c", "", "misspelt-function.lld.txt",
         "prinft, called on line 4, is an unknown function; if you meant printf, correct the name "
         "there"},
        {"undefined-function.c", "", "undefined-function.lld.txt",
         "Draw, called on line 5, is an unknown function; correct its name, or write the "
         "function"},
        {"misspelt-function.c", "misspelt-function.as-error.json", "",
         "prinft, called on line 4, is an unknown function; if you meant printf, correct the name "
         "there"},
        {"undefined-function.c", "undefined-function.json", "undefined-function.gcc.txt",
         "Draw, called on line 5, is an unknown function; correct its name, or write the "
         "function"},
        // GCC 12 builds it with a warning; GCC 14 stops.
        {"maths.c", "maths.json", "",
         "sqrt is declared in <math.h>: add the line #include <math.h> above line 2"},
        {"maths.c", "maths.as-error.json", "",
         "sqrt is declared in <math.h>: add the line #include <math.h> above line 2"},
        // The first error is one this does not know: no guess about the others.
        {"other-error.c", "other-error.json", "", ""},
        // The file changed since it was compiled: no line to point at.
        {"", "semicolon.json", "", ""},
    };
    for (const auto &c : cases) {
        const std::string text = Read(c.Program);
        // The editor saves with CR LF; the compiler's columns are the same either way.
        std::string savedByTheEditor;
        for (const char character : text) {
            savedByTheEditor += character == '\n' ? "\r\n" : std::string(1, character);
        }
        const std::string diagnostics = Read(c.Diagnostics);
        const std::string linker = Read(c.Linker);
        for (const std::string &source : {text, savedByTheEditor}) {
            EXPECT_EQ(orvex::ExplainMistake({c.Program[0] != '\0' ? c.Program : "semicolon.c",
                                             source, diagnostics, linker}),
                      c.Sentence)
                << c.Program << " with " << c.Diagnostics << " " << c.Linker
                << (&source == &text ? "" : ", CR LF");
        }
    }
}

// Whatever comes where the JSON should be: another compiler's complaint, or diagnostics of a
// shape this does not expect.
TEST(CompileHintsTest, PassesOverDiagnosticsItCannotRead) {
    const std::string source = Read("semicolon.c");
    for (const char *diagnostics : {
             "error: invalid value 'json' in '-fdiagnostics-format json'",
             "[{\"kind\": \"error\", \"locations\": 5}]",
             "[{\"kind\": \"error\", \"message\": \"expected ';' before 'x'\", \"locations\": "
             "[{\"caret\": {\"line\": \"7\", \"file\": \"semicolon.c\", \"byte-column\": -3}}]}]",
             "[{\"kind\": \"error\", \"message\": \"'x' undeclared\", \"locations\": "
             "[{\"caret\": {\"line\": 99, \"file\": \"semicolon.c\", \"byte-column\": 400}}]}]",
             "{\"kind\": \"error\"}",
         }) {
        EXPECT_EQ(orvex::ExplainMistake({"semicolon.c", source, diagnostics, ""}), "")
            << diagnostics;
    }
}

}  // namespace

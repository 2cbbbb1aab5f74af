// The sentence a learner reads below the compiler's messages, from the system's compiler through
// Orvex: asked for its diagnostics once more when compiling failed or warned.
#include <algorithm>

#include "OrvexTestSupport.h"

namespace orvex_test {
namespace {

TEST_F(OrvexTest, ExplainsACommonMistakeBelowTheCompilersMessages) {
    const struct {
        const char *File;
        const char *Text;
        const char *Sentence;
    } cases[] = {
        {"semicolon.c",
         "#include <stdio.h>\n"
         "int main(void)\n"
         "{\n"
         "    int x = 3\n"
         "    printf(\"%d\\n\", x);\n"
         "    return 0;\n"
         "}\n",
         "Orvex: probably a ';' is missing at the end of line 4; add it there.\n"},
        // Before GCC 14 this compiles and fails to link; from 14 on it does not compile.
        {"misspelt.c",
         "#include <stdio.h>\n"
         "int main(void)\n"
         "{\n"
         "    prinft(\"hello\\n\");\n"
         "    return 0;\n"
         "}\n",
         "Orvex: prinft, called on line 4, is an unknown function; if you meant printf, correct "
         "the name there.\n"},
        // Before GCC 14 only a warning, and the program runs in the learner's locale, not in the
        // one the compiler was asked in.
        {"maths.c",
         "#include <stdio.h>\n"
         "#include <stdlib.h>\n"
         "int main(void)\n"
         "{\n"
         "    printf(\"ran in %s\\n\", getenv(\"LC_ALL\"));\n"
         "    return (int)sqrt(4.0);\n"
         "}\n",
         "Orvex: sqrt is declared in <math.h>: add the line #include <math.h> above line 3.\n"},
    };
    for (const auto &c : cases) {
        WriteSource(c.File, c.Text);
        const Outcome outcome = RunOrvex(Source(c.File), "LC_ALL=C.UTF-8");
        if (outcome.Output.find("Running ") != std::string::npos) {
            EXPECT_NE(outcome.Output.find("ran in C.UTF-8\n"), std::string::npos) << outcome.Output;
        }
        const std::size_t sentence = outcome.Output.find(c.Sentence);
        ASSERT_NE(sentence, std::string::npos) << c.File << ":\n" << outcome.Output;
        std::size_t lastMessage = 0;
        for (const char *kind : {": error:", ": warning:"}) {
            const std::size_t at = outcome.Output.rfind(kind);
            lastMessage = at == std::string::npos ? lastMessage : std::max(lastMessage, at);
        }
        EXPECT_GT(lastMessage, 0u) << c.File << ":\n" << outcome.Output;
        EXPECT_LT(lastMessage, sentence) << c.File << ":\n" << outcome.Output;
    }
}

}  // namespace
}  // namespace orvex_test

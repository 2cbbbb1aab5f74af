// What Orvex shows of text from outside: names made printable, colours taken off the compiler's
// messages for explaining them, and the missing functions read from the linker's messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Build.h"
#include "ShownText.h"

namespace {

TEST(MessagesTest, PrintableEscapesWhatATerminalWouldActOn) {
    const struct {
        std::string Text;
        std::string Shown;
    } cases[] = {
        {"ball.c", "ball.c"},
        {"line\nand\ttab", "line\nand\ttab"},
        {"\x1b]0;title\a\x1b[2J\x1b[31mred.c", "\\x1B]0;title\\x07\\x1B[2J\\x1B[31mred.c"},
        {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8e\xae.c",
         "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8e\xae.c"},
        // C1 controls in UTF-8, a lone 8-bit CSI, an overlong slash, a cut character, DEL.
        {"\xc2\x9b"
         "2J",
         "\\xC2\\x9B2J"},
        {"\x9b"
         "2J",
         "\\x9B2J"},
        {"\xc0\xaf", "\\xC0\\xAF"},
        {"end\xe2\x82", "end\\xE2\\x82"},
        {"\x7f", "\\x7F"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(orvex::Printable(c.Text), c.Shown) << c.Shown;
    }
    EXPECT_EQ(orvex::Printable("\x1b[01;31m\x1b[Kerror:\x1b[m\x1b[K \x1b[2J", true),
              "\x1b[01;31m\x1b[Kerror:\x1b[m\x1b[K \\x1B[2J");
}

TEST(MessagesTest, ColoursComeOffTheCompilersMessages) {
    EXPECT_EQ(orvex::WithoutColours("\x1b[01m\x1b[Kball.c:3:5:\x1b[m\x1b[K \x1b[01;31m\x1b[Kerror: "
                                    "\x1b[m\x1b[Kx [\x1b"),
              "ball.c:3:5: error: x [\x1b");
}

TEST(MessagesTest, MissingFunctionsAreNamedOnceInTheLinkersOrder) {
    const struct {
        const char *Linker;
        std::string Output;
        std::vector<std::string> Names;
    } cases[] = {
        {"GNU ld",
         "/usr/bin/ld: /tmp/orvex-x/program.o: in function `main':\n"
         "/src/ball.c:4: undefined reference to `prinft'\n"
         "/usr/bin/ld: /src/ball.c:5: undefined reference to `DrawLin'\n"
         "/usr/bin/ld: /src/ball.c:9: undefined reference to `prinft'\n"
         "collect2: error: ld returned 1 exit status\n",
         {"prinft", "DrawLin"}},
        {"GNU ld, typographic quotes",
         "ball.c:4: undefined reference to \xe2\x80\x98prinft\xe2\x80\x99\n",
         {"prinft"}},
        {"gold", "ball.c:4: error: undefined reference to 'sqrt'\n", {"sqrt"}},
        {"lld",
         "ld.lld: error: undefined symbol: prinft\n>>> referenced by ball.c:4\n"
         "ld.lld: error: undefined symbol: _private.2\n",
         {"prinft", "_private.2"}},
        {"another failure", "/usr/bin/ld: cannot find -lGraphics\n", {}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(orvex::MissingFunctions(c.Output), c.Names) << c.Linker;
    }
}

}  // namespace

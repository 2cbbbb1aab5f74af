// The pages that tell a learner how Orvex builds a program name the warnings and the libraries it
// really uses: the manual page lists the warnings, the help and the README show the command that
// builds a program by hand as Orvex does.
#include "BuildFlags.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace {

std::string Contents(const char *file) {
    std::ostringstream text;
    text << std::ifstream(std::string(SOURCE_FOLDER) + "/" + file).rdbuf();
    return text.str();
}

// The line of `text` that holds `marker`, or nothing.
std::string LineWith(const std::string &text, std::string_view marker) {
    const std::size_t at = text.find(marker);
    if (at == std::string::npos) {
        return {};
    }
    const std::size_t start = text.rfind('\n', at) + 1;
    return text.substr(start, text.find('\n', at) - start);
}

TEST(BuildFlagsTest, TheManualAndTheHandBuildsNameWhatOrvexUses) {
    const std::string manual = Contents("packaging/man/orvex.1.in");
    for (const std::string_view flag : orvex::kCompileFlags) {
        if (flag.starts_with("-W")) {
            // roff writes a dash that must not turn into a hyphen as \-.
            EXPECT_NE(manual.find('\\' + std::string(flag)), std::string::npos)
                << "packaging/man/orvex.1.in does not name the warning " << flag;
        }
    }
    for (const char *page : {"Help/Scrivo_Help.html", "README.md"}) {
        const std::string handBuild = LineWith(Contents(page), "-Wl,-rpath,DIR/lib");
        ASSERT_FALSE(handBuild.empty()) << page << " shows no command that builds by hand";
        for (const std::string_view flag : orvex::kLinkFlags) {
            if (flag.starts_with("-l")) {
                EXPECT_NE(handBuild.find(' ' + std::string(flag)), std::string::npos)
                    << page << " builds by hand without " << flag << ": " << handBuild;
            }
        }
    }
}

}  // namespace

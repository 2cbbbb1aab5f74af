#include "TextFileFormat.h"

#include <gtest/gtest.h>

#include <string>

namespace scrivo {
namespace {

using namespace std::string_literals;

// The file's bytes, the control's text they read as, and the bytes that text is written as.
TEST(TextFileFormatTest, LineEndsBecomeOneBreakAndAreWrittenAsCrLf) {
    const struct {
        const char *what;
        std::string file;
        std::string text;
        std::string written;
    } cases[] = {
        {"LF CR is two breaks", "a\n\rb", "a\n\nb", "a\r\n\r\nb"},
        {"CR CR LF is two breaks", "a\r\r\nb", "a\n\nb", "a\r\n\r\nb"},
        {"break at the end kept, none added", "x\r", "x\n", "x\r\n"},
        {"empty", "", "", ""},
        // NUL, bytes above 127 and a byte order mark are no line ends and pass unchanged.
        {"other bytes", "\xEF\xBB\xBFz\0\t\xE9\xFF"s, "\xEF\xBB\xBFz\0\t\xE9\xFF"s,
         "\xEF\xBB\xBFz\0\t\xE9\xFF"s},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(fileBytesToText(c.file), c.text) << c.what;
        EXPECT_EQ(textToFileBytes(c.text), c.written) << c.what;
    }
}

}  // namespace
}  // namespace scrivo

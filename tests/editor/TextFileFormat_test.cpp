#include "TextFileFormat.h"

#include <gtest/gtest.h>

#include <string>

namespace scrivo {
namespace {

using namespace std::string_literals;

struct Conversion {
    const char *what;
    std::string file;
    std::string text;
};

TEST(TextFileFormatTest, EveryLineEndReadsAsOneBreak) {
    const Conversion cases[] = {
        {"CR LF", "a\r\nb\r\n", "a\nb\n"},
        {"lone LF", "a\nb", "a\nb"},
        {"lone CR", "a\rb\r", "a\nb\n"},
        {"mixed, LF CR is two breaks", "a\n\rb\r\r\nc", "a\n\nb\n\nc"},
        {"CR at the very end", "x\r", "x\n"},
        {"nothing but breaks", "\r\n\r\n", "\n\n"},
        {"empty", "", ""},
    };
    for (const Conversion &c : cases) {
        EXPECT_EQ(fileBytesToText(c.file), c.text) << c.what;
    }
}

TEST(TextFileFormatTest, EveryBreakIsWrittenAsCrLfAndNothingIsAdded) {
    const Conversion cases[] = {
        {"LF", "a\r\nb\r\n", "a\nb\n"},
        {"no break after the last line", "int x;\r\nint y;", "int x;\nint y;"},
        {"CR and CR LF in the text", "a\r\nb\r\nc", "a\rb\r\nc"},
        {"empty", "", ""},
    };
    for (const Conversion &c : cases) {
        EXPECT_EQ(textToFileBytes(c.text), c.file) << c.what;
    }
}

TEST(TextFileFormatTest, OtherBytesAreKeptExactly) {
    // NUL, bytes above 127 (not valid UTF-8), a byte order mark and a tab pass both ways unchanged.
    const std::string bytes =
        "\xEF\xBB\xBF"
        "a\0b\t\xE9\xFF\x80"s;
    EXPECT_EQ(fileBytesToText(bytes), bytes);
    EXPECT_EQ(textToFileBytes(bytes), bytes);
    const std::string file = "x\0\r\n\xE9"s;
    EXPECT_EQ(textToFileBytes(fileBytesToText(file)), file);
}

}  // namespace
}  // namespace scrivo

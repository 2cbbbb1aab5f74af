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
        {"CRs only", "\r\r\n\r", "\n\n\n", "\r\n\r\n\r\n"},
        {"empty", "", "", ""},
        // NUL, bytes above 127 and a byte order mark are no line ends and pass unchanged.
        {"other bytes", "\xEF\xBB\xBFz\0\t\xE9\xFF"s, "\xEF\xBB\xBFz\0\t\xE9\xFF"s,
         "\xEF\xBB\xBFz\0\t\xE9\xFF"s},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(FileBytesToText(c.file), c.text) << c.what;
        EXPECT_EQ(TextToFileBytes(c.text), c.written) << c.what;
        EXPECT_TRUE(ReadsAs(c.file, c.text)) << c.what;
        EXPECT_TRUE(ReadsAs(c.written, c.text)) << c.what;
        EXPECT_FALSE(ReadsAs(c.file + "y", c.text)) << c.what;
        EXPECT_FALSE(ReadsAs(c.file, c.text + "y")) << c.what;
    }
    // A CR in the text is no line break read from a file; a lone CR is not CR LF's one break.
    EXPECT_FALSE(ReadsAs("a\r", "a\r"));
    EXPECT_FALSE(ReadsAs("a\r\n", "a\n\n"));
    EXPECT_FALSE(ReadsAs("ab", "ac"));
}

TEST(TextFileFormatTest, ByteOrderMarksOfWideTextAndNulBytesAreForeign) {
    const struct {
        std::string text;
        ForeignText expected;
    } cases[] = {
        {"\xFF\xFEi\0n\0t\0"s, ForeignText::Utf16},
        {"\xFE\xFF\x4E\x2D"s, ForeignText::Utf16},
        {"\xFF\xFE\0\0i\0\0\0"s, ForeignText::Utf32},
        {"\0\0\xFE\xFF\0\0\0i"s, ForeignText::Utf32},
        {"\x7F"
         "ELF\x02\x01\x01\0"s,
         ForeignText::Binary},
        {"\xEF\xBB\xBFint caf\xC3\xA9;\xFF\xFE"s, ForeignText::None},
        {"", ForeignText::None},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ForeignTextIn(c.text), c.expected) << testing::PrintToString(c.text);
    }
}

}  // namespace
}  // namespace scrivo

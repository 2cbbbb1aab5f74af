#include "Scanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace scrivo {
namespace {

// A run as the reader sees it: its text and slot, e.g. "int:K".
std::vector<std::string> Describe(std::string_view text, const std::vector<Run> &runs) {
    static constexpr char kSlotLetters[] = "TKODSC";
    std::vector<std::string> out;
    for (const Run &run : runs) {
        EXPECT_LT(run.start, run.end);
        EXPECT_LE(run.end, text.size());
        out.push_back(std::string(text.substr(run.start, run.end - run.start)) + ":" +
                      kSlotLetters[static_cast<int>(run.slot)]);
    }
    return out;
}

std::vector<std::string> ScanStandard(std::string_view text) {
    static const Scanner scanner(WordTables::Standard());
    return Describe(text, scanner.Scan(text));
}

using Expected = std::vector<std::string>;

struct ScanCase {
    const char *name;
    std::string text;
    Expected runs;
};

void PrintTo(const ScanCase &scanCase, std::ostream *out) {
    *out << scanCase.name;
}

class ScanStandardTables : public testing::TestWithParam<ScanCase> {};

TEST_P(ScanStandardTables, YieldsTheExpectedRuns) {
    EXPECT_EQ(ScanStandard(GetParam().text), GetParam().runs) << "text: " << GetParam().text;
}

// The slot bytes painted piece by piece must be the runs laid over the text slot, whatever the
// piece size, with pieces that follow each other without gap or overlap.
TEST_P(ScanStandardTables, PaintsTheRunsInConsecutivePieces) {
    static const Scanner scanner(WordTables::Standard());
    const std::string &text = GetParam().text;
    std::string expected(text.size(), static_cast<char>(ColorSlot::Text));
    for (const scrivo::Run &run : scanner.Scan(text)) {
        expected.replace(run.start, run.end - run.start, run.end - run.start,
                         static_cast<char>(run.slot));
    }
    for (const std::size_t pieceBytes : {0, 1, 2, 5, 1 << 16}) {
        std::string painted;
        scanner.PaintSlots(text, pieceBytes, [&](std::size_t offset, std::string_view slotBytes) {
            EXPECT_EQ(offset, painted.size()) << "piece size " << pieceBytes;
            EXPECT_FALSE(slotBytes.empty());
            EXPECT_LE(slotBytes.size(), std::max<std::size_t>(pieceBytes, 1));
            painted += slotBytes;
        });
        EXPECT_EQ(painted, expected) << "piece size " << pieceBytes << ", text: " << text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Scanner, ScanStandardTables,
    testing::Values(
        ScanCase{"Empty", "", {}}, ScanCase{"Declaration", "int x = 10;", {"int:K", "=:O", ";:O"}},
        ScanCase{"LongerOperatorWins", "a<=b", {"<=:O"}},
        // No "<<=" entry: "<<" is longest at the start, then "=" alone.
        ScanCase{"ShiftAssignSplits", "a<<=b", {"<<:O", "=:O"}},
        ScanCase{"NoArrowEntry", "x->y", {"-:O", ">:O"}},
        ScanCase{"IncrementAndScope", "i++ + a::b", {"++:O", "+:O", ":::O"}},
        ScanCase{"DotIsText", "s.x", {}},
        ScanCase{"Include", "#include <stdio.h>", {"#include:D", "<:O", ">:O"}},
        ScanCase{"UnknownDirectives", "#ifndef X\r#elif\r# define Y", {}},
        ScanCase{"DirectiveNeedsWholeWord", "#defined #if1 #if(", {"#if:D", "(:O"}},
        ScanCase{"KeywordsAreCaseSensitiveWholeWords", "Int INT integer int_x _int int", {"int:K"}},
        ScanCase{"DigitsThenLetters", "2int 3x", {"int:K"}},
        ScanCase{"EscapedQuoteStaysInside", R"(s = "a\"b"; c)", {"=:O", R"("a\"b":S)", ";:O"}},
        ScanCase{"EscapedBackslashEndsBeforeQuote", R"("a\\" int)", {R"("a\\":S)", "int:K"}},
        ScanCase{"UnclosedStringRunsToEnd", "\"abc\rint", {"\"abc\rint:S"}},
        ScanCase{"BackslashAtEndOfUnclosedString", "\"ab\\", {"\"ab\\:S"}},
        ScanCase{"CharLiteralIsText", "'a' '\"' x", {"\"' x:S"}},
        ScanCase{"LineCommentStopsAtLineEnd",
                 "// int\rint\n// x\nfor",
                 {"// int:C", "int:K", "// x:C", "for:K"}},
        ScanCase{"EmptyBlockComment", "/**/int", {"/**/:C", "int:K"}},
        ScanCase{"SlashStarSlashDoesNotClose", "/*/ int */ x", {"/*/ int */:C"}},
        ScanCase{"UnclosedBlockCommentRunsToEnd", "/* int\r\nx", {"/* int\r\nx:C"}},
        ScanCase{"BlockCommentStopsAtFirstClose", "/* a **/ */", {"/* a **/:C", "*:O", "/:O"}},
        ScanCase{"LoneSlashAtEndIsOperator", "a /", {"/:O"}},
        ScanCase{"DivideAssign", "a/=b", {"/=:O"}},
        ScanCase{
            "HighBytesAreNeitherLettersNorSpace", "\xE9int \xA0if\xFF(", {"int:K", "if:K", "(:O"}},
        ScanCase{"VerticalTabAndFormFeedAreSpace", "\vint\fvoid", {"int:K", "void:K"}}),
    [](const testing::TestParamInfo<ScanCase> &info) { return info.param.name; });

TEST(Scanner, RangeEndingInsideATokenStopsAtTheRangeEnd) {
    const std::string text = "while (x) { /* comment */ \"str\" }";
    const Scanner scanner(WordTables::Standard());
    struct Cut {
        std::size_t length;
        Expected runs;
    };
    for (const Cut &cut :
         {Cut{3, {}},  // "whi": no keyword
          Cut{5, {"while:K"}}, Cut{14, {"while:K", "(:O", "):O", "{:O", "/*:C"}},
          Cut{29, {"while:K", "(:O", "):O", "{:O", "/* comment */:C", "\"st:S"}}}) {
        // A copy of exactly the range, so the sanitizer catches any read past its end.
        const std::string range = text.substr(0, cut.length);
        EXPECT_EQ(Describe(range, scanner.Scan(range)), cut.runs) << "range: " << range;
    }
}

TEST(Scanner, AppendsToTheGivenRunsWithoutClearing) {
    const Scanner scanner(WordTables::Standard());
    // Inside a test body the bare name Run means the fixture's method.
    using Runs = std::vector<scrivo::Run>;
    Runs runs{{0, 1, ColorSlot::Text}};
    scanner.Scan("int", runs);
    EXPECT_EQ(runs, (Runs{{0, 1, ColorSlot::Text}, {0, 3, ColorSlot::Keyword}}));
}

TEST(Scanner, HonoursTheTablesItIsGiven) {
    WordTables tables;
    tables.keywords = {"foo", ""};
    // Equal lengths: the first in table order decides where the operator ends, and a digit or a
    // high byte may start one.
    tables.operators = {"", "ab", "=", "==", "=>", "=>>", "->", "1+", "\xC3\xA9"};
    tables.directives = {"#", "#foo"};
    const Scanner scanner(tables);
    const std::string text = "foo ab int ==> => ->1+ # #foo #bar \xC3\xA9";
    EXPECT_EQ(Describe(text, scanner.Scan(text)),
              (Expected{"foo:K", "==:O", "=>:O", "->:O", "1+:O", "#:D", "#foo:D", "\xC3\xA9:O"}));
}

}  // namespace
}  // namespace scrivo

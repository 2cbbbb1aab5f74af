#include "ColorSchemes.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace scrivo {
namespace {

// The scheme table as it is published for users, one row per menu item in menu order:
// caption | id | background | text | keyword | operator | directive | string | comment.
constexpr const char *kPublishedTable = R"(
"Amstrad" | 32817 | 0, 0, 98 | 254, 253, 13 | 254, 253, 13 | 254, 253, 13 | 254, 253, 13 | 254, 253, 13 | 128, 128, 0
"Black" | 32796 | 0, 0, 0 | 255, 255, 255 | 46, 148, 209 | 218, 47, 120 | 0, 167, 126 | 235, 149, 6 | 128, 128, 128
"Borland" | 32797 | 0, 0, 170 | 255, 240, 25 | 255, 255, 255 | 255, 255, 255 | 85, 255, 85 | 0, 255, 255 | 192, 192, 192
"BW" | 32814 | 255, 255, 255 | 0, 0, 0 | 0, 0, 0 | 0, 0, 0 | 0, 0, 0 | 0, 0, 0 | 128, 128, 128
"C64" | 32816 | 64, 64, 224 | 160, 159, 252 | 160, 159, 252 | 160, 159, 252 | 160, 159, 252 | 160, 159, 252 | 128, 128, 128
"Classic" | 32798 | 255, 255, 255 | 0, 0, 128 | 52, 0, 255 | 0, 0, 0 | 128, 128, 128 | 183, 76, 79 | 41, 145, 39
"Commander" | 32799 | 0, 0, 128 | 255, 255, 255 | 0, 255, 255 | 0, 255, 0 | 0, 128, 128 | 255, 255, 0 | 128, 128, 0
"Console" | 32800 | 0, 0, 128 | 255, 255, 0 | 255, 255, 0 | 255, 255, 0 | 255, 255, 0 | 255, 255, 0 | 128, 128, 128
"Contrast" | 32801 | 20, 16, 27 | 244, 244, 244 | 238, 24, 112 | 230, 169, 11 | 45, 242, 185 | 76, 161, 234 | 119, 115, 125
"Dark" | 32802 | 30, 30, 30 | 205, 209, 157 | 82, 144, 194 | 149, 149, 149 | 230, 142, 182 | 191, 141, 115 | 79, 151, 68
"Gray" | 32803 | 46, 51, 65 | 215, 187, 42 | 252, 164, 99 | 191, 182, 183 | 169, 102, 224 | 177, 225, 109 | 85, 107, 131
"Monitor" | 32804 | 0, 54, 0 | 0, 255, 0 | 0, 255, 0 | 0, 255, 0 | 0, 255, 0 | 0, 255, 0 | 0, 128, 0
"Purple" | 32805 | 46, 43, 85 | 230, 203, 16 | 127, 203, 214 | 203, 206, 227 | 247, 103, 136 | 177, 225, 109 | 170, 96, 232
"QB" | 32795 | 0, 0, 170 | 167, 168, 189 | 167, 168, 189 | 167, 168, 189 | 167, 168, 189 | 167, 168, 189 | 100, 100, 100
"Terminal Cyan" | 32810 | 0, 0, 0 | 0, 255, 255 | 0, 255, 255 | 0, 255, 255 | 0, 255, 255 | 0, 255, 255 | 0, 128, 128
"Terminal Green" | 32811 | 0, 0, 0 | 0, 255, 0 | 0, 255, 0 | 0, 255, 0 | 0, 255, 0 | 0, 255, 0 | 0, 128, 0
"Terminal White" | 32807 | 0, 0, 0 | 255, 255, 255 | 255, 255, 255 | 255, 255, 255 | 255, 255, 255 | 255, 255, 255 | 128, 128, 128
"Terminal Yellow" | 32809 | 0, 0, 0 | 255, 255, 0 | 255, 255, 0 | 255, 255, 0 | 255, 255, 0 | 255, 255, 0 | 128, 128, 0
"Vic20" | 32815 | 255, 255, 255 | 0, 0, 255 | 0, 0, 255 | 0, 0, 255 | 0, 0, 255 | 0, 0, 255 | 128, 128, 255
"Watcom" | 32818 | 0, 0, 0 | 165, 165, 165 | 122, 238, 237 | 24, 114, 114 | 122, 238, 237 | 246, 245, 136 | 123, 225, 123
"ZX" | 32806 | 200, 196, 200 | 0, 0, 0 | 0, 0, 0 | 0, 0, 0 | 0, 0, 0 | 0, 0, 0 | 128, 128, 128
)";

struct PublishedRow {
    std::string caption;
    int id = 0;
    std::vector<Rgb> colors;
};

std::vector<PublishedRow> publishedRows() {
    std::vector<PublishedRow> rows;
    std::istringstream lines(kPublishedTable);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty()) continue;
        PublishedRow row;
        const auto closingQuote = line.find('"', 1);
        row.caption = line.substr(1, closingQuote - 1);
        std::istringstream cells(line.substr(closingQuote + 1));
        char separator;
        cells >> separator >> row.id;
        Rgb color;
        while (cells >> separator >> color.red >> separator >> color.green >> separator >>
               color.blue) {
            row.colors.push_back(color);
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(ColorSchemes, MatchThePublishedTableInMenuOrder) {
    const auto rows = publishedRows();
    const auto schemes = colorSchemes();
    ASSERT_EQ(rows.size(), 21u);
    ASSERT_EQ(schemes.size(), rows.size());
    for (std::size_t k = 0; k < rows.size(); ++k) {
        SCOPED_TRACE(rows[k].caption);
        ASSERT_EQ(rows[k].colors.size(), 7u);
        const SchemeColors &c = schemes[k].colors;
        EXPECT_EQ(schemes[k].caption, rows[k].caption);
        EXPECT_EQ(schemes[k].id, rows[k].id);
        EXPECT_EQ((std::vector<Rgb>{c.background, c.text, c.keyword, c.op, c.directive, c.string,
                                    c.comment}),
                  rows[k].colors);
        EXPECT_EQ(findColorScheme(rows[k].id), &schemes[k]);
    }
}

TEST(ColorSchemes, IdentifiersThatNameNoSchemeFindNothing) {
    for (int id : {0, -1, 32794, 32808, 32812, 32813, 32819}) {
        EXPECT_EQ(findColorScheme(id), nullptr) << id;
    }
}

TEST(ColorSchemes, FallbackIsClassic) {
    const ColorScheme *fallback = findColorScheme(kFallbackSchemeId);
    ASSERT_NE(fallback, nullptr);
    EXPECT_STREQ(fallback->caption, "Classic");
}

TEST(ColorSchemes, SlotsPickTheirColours) {
    const SchemeColors &dark = findColorScheme(32802)->colors;
    EXPECT_EQ(dark.forSlot(ColorSlot::Text), (Rgb{205, 209, 157}));
    EXPECT_EQ(dark.forSlot(ColorSlot::Keyword), (Rgb{82, 144, 194}));
    EXPECT_EQ(dark.forSlot(ColorSlot::Operator), (Rgb{149, 149, 149}));
    EXPECT_EQ(dark.forSlot(ColorSlot::Directive), (Rgb{230, 142, 182}));
    EXPECT_EQ(dark.forSlot(ColorSlot::String), (Rgb{191, 141, 115}));
    EXPECT_EQ(dark.forSlot(ColorSlot::Comment), (Rgb{79, 151, 68}));
}

TEST(ColorSchemes, ColorRefPacksRedLowBlueHigh) {
    EXPECT_EQ(toColorRef({0, 0, 170}), 0xAA0000u);
    EXPECT_EQ(toColorRef({255, 240, 25}), 0x19F0FFu);
}

}  // namespace
}  // namespace scrivo

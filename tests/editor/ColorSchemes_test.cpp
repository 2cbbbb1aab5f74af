#include "ColorSchemes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "CommandTable.h"
#include "SchemeIdentifiers.h"

namespace scrivo {
namespace {

// The rules a new row must keep: the menu lists the schemes alphabetically whatever the case of
// their captions, captions and identifiers are unique, and every identifier lies in the scheme
// commands' range, so the settings file can name each of them.
TEST(ColorSchemes, RowsAreInAlphabeticalOrderWithUniqueCaptionsAndIdentifiersInRange) {
    const auto schemes = ColorSchemes();
    ASSERT_FALSE(schemes.empty());
    const auto lowered = [](std::string text) {
        std::ranges::transform(text, text.begin(), [](unsigned char c) { return std::tolower(c); });
        return text;
    };
    for (std::size_t k = 0; k < schemes.size(); ++k) {
        SCOPED_TRACE(schemes[k].caption);
        EXPECT_GE(schemes[k].id, command::kFirstScheme);
        EXPECT_LE(schemes[k].id, command::kLastScheme);
        EXPECT_EQ(FindColorScheme(schemes[k].id), &schemes[k]) << "identifiers are unique";
        if (k > 0) {
            EXPECT_LT(lowered(schemes[k - 1].caption), lowered(schemes[k].caption))
                << "in order, and no caption twice";
        }
    }
}

TEST(ColorSchemes, IdentifiersThatNameNoSchemeFindNothing) {
    std::vector<int> unknown = testing::FreeSchemeIdentifiers();
    unknown.insert(unknown.end(), {0, -1, command::kFirstScheme - 1, command::kLastScheme + 1});
    for (int id : unknown) {
        EXPECT_EQ(FindColorScheme(id), nullptr) << id;
    }
}

TEST(ColorSchemes, FallbackIsClassic) {
    const ColorScheme *fallback = FindColorScheme(kFallbackSchemeId);
    ASSERT_NE(fallback, nullptr);
    EXPECT_STREQ(fallback->caption, "Classic");
}

TEST(ColorSchemes, SlotsPickTheirColours) {
    const SchemeColors &dark = FindColorScheme(testing::kDarkScheme)->colors;
    EXPECT_EQ(dark.ForSlot(ColorSlot::Text), (Rgb{205, 209, 157}));
    EXPECT_EQ(dark.ForSlot(ColorSlot::Keyword), (Rgb{82, 144, 194}));
    EXPECT_EQ(dark.ForSlot(ColorSlot::Operator), (Rgb{149, 149, 149}));
    EXPECT_EQ(dark.ForSlot(ColorSlot::Directive), (Rgb{230, 142, 182}));
    EXPECT_EQ(dark.ForSlot(ColorSlot::String), (Rgb{191, 141, 115}));
    EXPECT_EQ(dark.ForSlot(ColorSlot::Comment), (Rgb{79, 151, 68}));
}

TEST(ColorSchemes, ColorRefPacksRedLowBlueHigh) {
    EXPECT_EQ(ToColorRef({0, 0, 170}), 0xAA0000u);
    EXPECT_EQ(ToColorRef({255, 240, 25}), 0x19F0FFu);
}

}  // namespace
}  // namespace scrivo

// The 8 x 13 bitmap font: its published rows as data, and one glyph as it lands on screen.
#include "BitmapText.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Graphics.h"
#include "GraphicsTestSupport.h"

namespace {

using graphics::BitmapGlyph;
using graphics::BitmapGlyphRows;

TEST(BitmapFont, PublishedRowsAndEveryPrintableCharacterHasInk) {
    struct Published {
        char character;
        BitmapGlyphRows rows;  // bottom row first
    };
    const Published table[] = {
        {' ', {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {'!', {0x00, 0x00, 0x18, 0x18, 0x00, 0x00, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18}},
        {'0', {0x00, 0x00, 0x3C, 0x66, 0xC3, 0xE3, 0xF3, 0xDB, 0xCF, 0xC7, 0xC3, 0x66, 0x3C}},
        {'A', {0x00, 0x00, 0xC3, 0xC3, 0xC3, 0xC3, 0xFF, 0xC3, 0xC3, 0xC3, 0x66, 0x3C, 0x18}},
        {'g', {0x7E, 0xC3, 0x03, 0x03, 0x7F, 0xC3, 0xC3, 0xC3, 0x7E, 0x00, 0x00, 0x00, 0x00}},
    };
    for (const Published &glyph : table) {
        EXPECT_EQ(BitmapGlyph(glyph.character), glyph.rows) << "'" << glyph.character << "'";
    }
    for (char character = '!'; character <= '~'; ++character) {
        const BitmapGlyphRows &rows = BitmapGlyph(character);
        EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [](unsigned char row) { return row; }))
            << "'" << character << "' draws nothing";
    }
}

// With identity matrices the point (0, 0) is the window centre.
constexpr int originX = 160;
constexpr int originY = 120;

// Reads the 8 x 13 cell whose left edge is at x and whose baseline is originY, as glyph rows.
BitmapGlyphRows ReadCell(int x) {
    const std::vector<Rgb> pixels = ReadRegion(x, originY - 2, 8, 13);
    BitmapGlyphRows rows{};
    for (int row = 0; row < 13; ++row) {
        for (int column = 0; column < 8; ++column) {
            if (pixels[row * 8 + column] != Rgb{0, 0, 0}) rows[row] |= 0x80 >> column;
        }
    }
    return rows;
}

int LitPixels(int x, int y, int width, int height) {
    int lit = 0;
    for (const Rgb &pixel : ReadRegion(x, y, width, height)) lit += pixel != Rgb{0, 0, 0};
    return lit;
}

class BitmapTextTest : public GraphicsWindowTest {
  protected:
    void SetUp() override {
        GraphicsWindowTest::SetUp();
        SetColor(0);
        Clear();
        SetColor(7);
    }

    const BitmapGlyphRows &letterA = BitmapGlyph('A');
};

TEST_F(BitmapTextTest, LetterAIsDrawnAtTheBaselineWithItsDescentRows) {
    PrintAt(0.0f, 0.0f, "A");
    EXPECT_EQ(ReadCell(originX), letterA);
    EXPECT_EQ(LitPixels(0, 0, windowWidth, windowHeight), LitPixels(originX, originY - 2, 8, 13))
        << "nothing outside the glyph's cell";
}

TEST_F(BitmapTextTest, EachGlyphAdvancesTenPixelsAndLineFeedDrawsNothing) {
    PrintAt(0.0f, 0.0f, "A\nA");
    EXPECT_EQ(ReadCell(originX), letterA);
    EXPECT_EQ(ReadCell(originX + 10), letterA) << "the line feed neither draws nor moves";
    EXPECT_EQ(LitPixels(originX + 20, 0, windowWidth - originX - 20, windowHeight), 0);
    EXPECT_EQ(LitPixels(0, 0, windowWidth, originY - 2), 0) << "no new line below";
}

TEST_F(BitmapTextTest, BytesWithoutAGlyphAreSkipped) {
    const std::string text = std::string("\x01\x1f\x7f\x80\xff", 5) + "A";
    PrintAt(0.0f, 0.0f, text.c_str());
    EXPECT_EQ(ReadCell(originX), letterA);
    EXPECT_EQ(LitPixels(originX + 8, 0, windowWidth - originX - 8, windowHeight), 0);
    PrintAt(0.0f, 0.0f, nullptr);
}

TEST_F(BitmapTextTest, TextTakesTheColourInEffectAtTheCall) {
    SetColor(4);
    PrintAt(0.0f, 0.0f, "A");
    SetColor(7);
    EXPECT_EQ(ReadPixel(originX, originY), ToBytes(0.01176f, 0.49411f, 0.00392f));
}

}  // namespace

// The 8 x 13 bitmap font: its published rows as data, and one glyph as it lands on screen.
#include "BitmapText.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Graphics.h"
#include "GraphicsState.h"
#include "GraphicsTestSupport.h"

namespace {

using graphics::BitmapGlyph;
using graphics::BitmapGlyphRows;

TEST(BitmapFont, PublishedRowsAndEveryPrintableCharacterHasInk) {
    struct Published {
        char Character;
        BitmapGlyphRows Rows;  // bottom row first
    };
    const Published table[] = {
        {' ', {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {'!', {0x00, 0x00, 0x18, 0x18, 0x00, 0x00, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18}},
        {'0', {0x00, 0x00, 0x3C, 0x66, 0xC3, 0xE3, 0xF3, 0xDB, 0xCF, 0xC7, 0xC3, 0x66, 0x3C}},
        {'A', {0x00, 0x00, 0xC3, 0xC3, 0xC3, 0xC3, 0xFF, 0xC3, 0xC3, 0xC3, 0x66, 0x3C, 0x18}},
        {'g', {0x7E, 0xC3, 0x03, 0x03, 0x7F, 0xC3, 0xC3, 0xC3, 0x7E, 0x00, 0x00, 0x00, 0x00}},
    };
    for (const Published &glyph : table) {
        EXPECT_EQ(BitmapGlyph(glyph.Character), glyph.Rows) << "'" << glyph.Character << "'";
    }
    for (char character = '!'; character <= '~'; ++character) {
        const BitmapGlyphRows &rows = BitmapGlyph(character);
        EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [](unsigned char row) { return row; }))
            << "'" << character << "' draws nothing";
    }
}

// With identity matrices the point (0, 0) is the window centre.
constexpr int kOriginX = 160;
constexpr int kOriginY = 120;

// Reads the 8 x 13 cell whose left edge is at x and whose baseline is kOriginY, as glyph rows.
BitmapGlyphRows ReadCell(int x) {
    const std::vector<Rgb> pixels = ReadRegion(x, kOriginY - 2, 8, 13);
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

    const BitmapGlyphRows &LetterA = BitmapGlyph('A');
};

TEST_F(BitmapTextTest, LetterAIsDrawnAtTheBaselineWithItsDescentRows) {
    PrintAt(0.0f, 0.0f, "A");
    EXPECT_EQ(ReadCell(kOriginX), LetterA);
    EXPECT_EQ(LitPixels(0, 0, kWindowWidth, kWindowHeight),
              LitPixels(kOriginX, kOriginY - 2, 8, 13))
        << "nothing outside the glyph's cell";
}

TEST_F(BitmapTextTest, EachGlyphAdvancesTenPixelsAndLineFeedDrawsNothing) {
    PrintAt(0.0f, 0.0f, "A\nA");
    EXPECT_EQ(ReadCell(kOriginX), LetterA);
    EXPECT_EQ(ReadCell(kOriginX + 10), LetterA) << "the line feed neither draws nor moves";
    EXPECT_EQ(LitPixels(kOriginX + 20, 0, kWindowWidth - kOriginX - 20, kWindowHeight), 0);
    EXPECT_EQ(LitPixels(0, 0, kWindowWidth, kOriginY - 2), 0) << "no new line below";
}

TEST_F(BitmapTextTest, BytesWithoutAGlyphAreSkipped) {
    const std::string text = std::string("\x01\x1f\x7f\x80\xff", 5) + "A";
    PrintAt(0.0f, 0.0f, text.c_str());
    EXPECT_EQ(ReadCell(kOriginX), LetterA);
    EXPECT_EQ(LitPixels(kOriginX + 8, 0, kWindowWidth - kOriginX - 8, kWindowHeight), 0);
    PrintAt(0.0f, 0.0f, nullptr);
}

TEST_F(BitmapTextTest, TextTakesTheColourInEffectAtTheCall) {
    SetColor(4);
    PrintAt(0.0f, 0.0f, "A");
    SetColor(7);
    EXPECT_EQ(ReadPixel(kOriginX, kOriginY), ToBytes(0.01176f, 0.49411f, 0.00392f));
}

// Every glyph of a long string through its display list, one call per byte: what PrintAt must
// look like however it spares the glyphs that cannot reach the window.
void PrintEveryGlyph(float x, float y, const std::string &text) {
    glRasterPos2f(x, y);
    glPushAttrib(GL_LIST_BIT);
    glListBase(graphics::graphicsState.BitmapFontBase);
    glCallLists(static_cast<GLsizei>(text.size()), GL_UNSIGNED_BYTE, text.data());
    glPopAttrib();
}

struct Drawn {
    std::vector<Rgb> Pixels;
    std::vector<float> RasterPosition;  // x, y and validity afterwards
};

Drawn Draw(void (*print)(float, float, const std::string &), float x, float y,
           const std::string &text) {
    SetColor(0);
    Clear();
    SetColor(7);
    print(x, y, text);
    GLfloat position[4] = {};
    GLboolean valid = GL_FALSE;
    glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
    glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    return {ReadRegion(0, 0, 320, 240), {position[0], position[1], static_cast<float>(valid)}};
}

// Strings far longer than the window is wide, placed so that different parts of them reach it,
// with a glyph cut by each edge in one of the ten placements: the picture and where the raster
// position ends are those of drawing every glyph. The glyphs used have ink in both outer
// columns, so a cut glyph that went missing would show. A raster position outside the view
// volume draws nothing, so a string that starts left of the window needs a wider view, and one
// whose row passes above it a taller one.
TEST_F(BitmapTextTest, LongStringsLookAndEndAsIfEveryGlyphWereDrawn) {
    std::string pattern = "\n\x01\xff";
    for (char c = '!'; c <= '~'; ++c) {
        const BitmapGlyphRows &rows = BitmapGlyph(c);
        if (std::any_of(rows.begin(), rows.end(), [](unsigned char r) { return r & 0x80; }) &&
            std::any_of(rows.begin(), rows.end(), [](unsigned char r) { return r & 0x01; }))
            pattern += c;
    }
    std::string text;
    while (text.size() < 3000) text += pattern;
    struct Case {
        const char *Name;
        float X, Y;
        int ViewLeft, ViewWidth, ViewHeight;
        void (*State)();
    };
    const Case cases[] = {
        {"tail beyond the right edge", 250, 120, 0, 320, 240, [] {}},
        {"head left of the window", -15000, 5, -16000, 16320, 240, [] {}},
        {"start left of the window at a fraction", -12345.3f, 238, -16000, 16320, 240, [] {}},
        {"row above the window", 10, 500, 0, 320, 1000, [] {}},
        {"row below the scissor box", 10, 20, 0, 320, 240, [] { glScissor(0, 50, 320, 190); }},
        {"inside a scissor box", 5, 60, 0, 320, 240, [] { glScissor(100, 50, 60, 40); }},
        {"scissor test off", -15000, 230, -16000, 16320, 240, [] { DisableScissorTest(); }},
        {"start outside the view volume", 330, 120, 0, 320, 240, [] {}},
    };
    for (const Case &c : cases) {
        for (int shift = 0; shift < 10; ++shift) {
            glViewport(c.ViewLeft, 0, c.ViewWidth, c.ViewHeight);
            glMatrixMode(GL_PROJECTION);
            glLoadIdentity();
            glOrtho(c.ViewLeft, c.ViewLeft + c.ViewWidth, 0, c.ViewHeight, -1, 1);
            EnableScissorTest();
            glScissor(0, 0, 320, 240);
            c.State();
            const float x = c.X + static_cast<float>(shift) * 1.1f;
            const Drawn expected = Draw(PrintEveryGlyph, x, c.Y, text);
            const Drawn drawn =
                Draw([](float atX, float atY,
                        const std::string &string) { PrintAt(atX, atY, string.c_str()); },
                     x, c.Y, text);
            EXPECT_TRUE(drawn.Pixels == expected.Pixels) << c.Name << ", shifted " << shift;
            EXPECT_EQ(drawn.RasterPosition, expected.RasterPosition)
                << c.Name << ", shifted " << shift;
        }
    }
}

// Compiled into a display list, PrintAt keeps the whole string: where the raster position is
// while the list is compiled says nothing about where the list will draw.
TEST_F(BitmapTextTest, APrintAtCompiledIntoAListKeepsTheWholeString) {
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, 320, 0, 240, -1, 1);
    std::string text;
    for (int repeat = 0; repeat < 100; ++repeat)
        for (char c = '!'; c <= '~'; ++c) text += c;
    static const GLuint kList = glGenLists(1);
    glRasterPos2f(1000, 1000);
    glNewList(kList, GL_COMPILE);
    PrintAt(5, 120, text.c_str());
    glEndList();
    const Drawn expected = Draw(PrintEveryGlyph, 5, 120, text);
    const Drawn drawn =
        Draw([](float, float, const std::string &) { glCallList(kList); }, 0, 0, text);
    EXPECT_TRUE(drawn.Pixels == expected.Pixels);
    EXPECT_EQ(drawn.RasterPosition, expected.RasterPosition);
}

}  // namespace

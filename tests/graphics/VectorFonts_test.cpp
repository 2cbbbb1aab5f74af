// The vector-font exports: the handle table and text drawn in the current colour and transform.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "Graphics.h"
#include "GraphicsTestSupport.h"
#include "TextLayer.h"

namespace {

constexpr const char *kDejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char *kMissingFont = "/nonexistent/missing.ttf";
constexpr float kNegativeInfinity = -std::numeric_limits<float>::infinity();
constexpr int kTableSize = 1024;

// Frees every handle a test took, so tests sharing one process start from an empty table.
class FontTableTest : public testing::Test {
  protected:
    int Load(const char *path, int size) {
        const int handle = LoadVectorFont(path, size);
        if (handle >= 0) loaded_.push_back(handle);
        return handle;
    }
    void TearDown() override {
        for (int handle : loaded_) DeleteVectorFont(handle);
    }

  private:
    std::vector<int> loaded_;
};

TEST_F(FontTableTest, FailedLoadsTakeASlotAndDeletedSlotsAreReusedLowestFirst) {
    EXPECT_EQ(Load(kDejaVuSans, 16), 0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Load(kMissingFont, 16), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              std::string("failed to open font file: ") + kMissingFont + "\n");
    EXPECT_EQ(Load(kDejaVuSans, 0), 2);
    EXPECT_EQ(Load(kDejaVuSans, 24), 3);

    DeleteVectorFont(2);
    DeleteVectorFont(1);
    EXPECT_EQ(LoadVectorFont(kDejaVuSans, 16), 1);
    EXPECT_EQ(LoadVectorFont(kDejaVuSans, 16), 2);
    DeleteVectorFont(1);
    DeleteVectorFont(1);  // a second delete of a free slot changes nothing
    EXPECT_EQ(LoadVectorFont(kDejaVuSans, 16), 1);
}

TEST_F(FontTableTest, FullTableRefusesLoadsUntilASlotIsFreed) {
    testing::internal::CaptureStderr();
    for (int i = 0; i < kTableSize; ++i) ASSERT_EQ(Load(kMissingFont, 16), i);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(LoadVectorFont(kDejaVuSans, 16), -1);
    DeleteVectorFont(700);
    EXPECT_EQ(LoadVectorFont(kDejaVuSans, 16), 700);
}

TEST_F(FontTableTest, TextWithoutGlyphsMeasuresNegativeInfinity) {
    const int font = Load(kDejaVuSans, 16);
    testing::internal::CaptureStderr();
    const int missing = Load(kMissingFont, 16);
    testing::internal::GetCapturedStderr();
    const int sizeZero = Load(kDejaVuSans, 0);
    const int deleted = Load(kDejaVuSans, 16);
    DeleteVectorFont(deleted);
    struct Case {
        int handle;
        const char *text;
    };
    const Case cases[] = {
        {font, ""},        {font, "\n\t\r"},     {font, nullptr},
        {missing, "Text"}, {sizeZero, "Text"},   {deleted, "Text"},
        {-1, "Text"},      {kTableSize, "Text"}, {1 << 30, "Text"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(GetVectorFontStringWidth(c.handle, c.text), kNegativeInfinity)
            << "handle " << c.handle << " text " << testing::PrintToString(c.text);
        EXPECT_EQ(GetVectorFontStringHeight(c.handle, c.text), kNegativeInfinity)
            << "handle " << c.handle << " text " << testing::PrintToString(c.text);
    }
}

TEST_F(FontTableTest, MeasuresGrowWithTextAndSize) {
    const int small = Load(kDejaVuSans, 16);
    const int large = Load(kDejaVuSans, 32);
    const float word = GetVectorFontStringWidth(small, "Hello");
    EXPECT_GT(word, 16.0f);
    EXPECT_GT(GetVectorFontStringWidth(small, "Hello, world"), word);
    EXPECT_NEAR(GetVectorFontStringWidth(large, "Hello"), 2 * word, 0.15f * word);
    const float line = GetVectorFontStringHeight(small, "Hg");
    EXPECT_GT(GetVectorFontStringHeight(small, "Hg\nHg"), line + 16.0f);
    // A carriage return writes over the same line.
    EXPECT_FLOAT_EQ(GetVectorFontStringWidth(small, "Hello\rHello"), word);
}

class VectorFontDrawingTest : public GraphicsWindowTest {
  protected:
    void SetUp() override {
        GraphicsWindowTest::SetUp();
        // One unit per pixel, origin at the bottom-left.
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, windowWidth, 0, windowHeight, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        SetColorRGBA(0, 0, 0, 255);
        Clear();
    }

    // Bounding box and count of the pixels that are not black.
    struct Ink {
        int count = 0, left = 1 << 30, bottom = 1 << 30, right = -1, top = -1;
        bool otherColour = false;
    };
    Ink FindInk(Rgb expected) {
        Ink ink;
        const std::vector<Rgb> pixels = ReadRegion(0, 0, windowWidth, windowHeight);
        for (int y = 0; y < windowHeight; ++y) {
            for (int x = 0; x < windowWidth; ++x) {
                const Rgb &p = pixels[y * windowWidth + x];
                if (p == Rgb{0, 0, 0}) continue;
                ++ink.count;
                ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
                ink.bottom = std::min(ink.bottom, y), ink.top = std::max(ink.top, y);
                // Coverage scales the colour; its hue stays.
                if ((p.red == 0) != (expected.red == 0) ||
                    (p.green == 0) != (expected.green == 0) ||
                    (p.blue == 0) != (expected.blue == 0))
                    ink.otherColour = true;
            }
        }
        return ink;
    }
    int CountInkInRows(int fromY, int toY) {
        int count = 0;
        const std::vector<Rgb> pixels = ReadRegion(0, fromY, windowWidth, toY - fromY + 1);
        for (const Rgb &p : pixels) count += p.red > 128;
        return count;
    }
};

TEST_F(VectorFontDrawingTest, TextIsDrawnUprightInTheCurrentColourAtTheCurrentTransform) {
    const int font = LoadVectorFont(kDejaVuSans, 48);
    SetColorRGBA(255, 0, 0, 255);
    glTranslatef(100, 80, 0);
    DrawVectorFont(font, "T");

    const Ink ink = FindInk({255, 0, 0});
    ASSERT_GT(ink.count, 100);
    EXPECT_FALSE(ink.otherColour);
    // The quad's corner is the pen less the glyph's origin; the bitmap starts 4 texels inside.
    const GlyphInfo &glyph = dtx_current_font()->Atlases->Glyphs['T'];
    EXPECT_NEAR(ink.left, 100 - glyph.OriginX + 4, 1);
    EXPECT_NEAR(ink.bottom, 80 - glyph.OriginY + 4, 1);
    EXPECT_NEAR(ink.right, 100 - glyph.OriginX + glyph.CellWidth - 4, 1);
    EXPECT_NEAR(ink.top, 80 - glyph.OriginY + glyph.CellHeight - 4, 1);
    // The bar of the T is at the top: its top rows hold far more ink than its stem's rows.
    EXPECT_GT(CountInkInRows(ink.top - 3, ink.top), 3 * CountInkInRows(ink.bottom, ink.bottom + 3));
    DeleteVectorFont(font);
}

TEST_F(VectorFontDrawingTest, FontsThatCannotDrawLeaveTheWindowUntouched) {
    const int sizeZero = LoadVectorFont(kDejaVuSans, 0);
    testing::internal::CaptureStderr();
    const int missing = LoadVectorFont(kMissingFont, 24);
    testing::internal::GetCapturedStderr();
    SetColorRGBA(255, 255, 255, 255);
    glTranslatef(50, 50, 0);
    for (int handle : {sizeZero, missing, -1, kTableSize}) DrawVectorFont(handle, "Text");
    EXPECT_EQ(FindInk({255, 255, 255}).count, 0);
    DeleteVectorFont(sizeZero);
    DeleteVectorFont(missing);
}

TEST_F(VectorFontDrawingTest, TwoFontsFromOneFileDrawWithTheirOwnAtlases) {
    const int first = LoadVectorFont(kDejaVuSans, 20);
    const int second = LoadVectorFont(kDejaVuSans, 40);
    SetColorRGBA(0, 255, 0, 255);
    glTranslatef(10, 150, 0);
    DrawVectorFont(first, "H");
    const Ink small = FindInk({0, 255, 0});
    SetColorRGBA(0, 0, 0, 255);
    Clear();
    SetColorRGBA(0, 255, 0, 255);
    DrawVectorFont(second, "H");
    const Ink large = FindInk({0, 255, 0});
    ASSERT_GT(small.count, 0);
    EXPECT_NEAR(large.top - large.bottom, 2 * (small.top - small.bottom), 3);
    // Deleting one font leaves the other drawing.
    DeleteVectorFont(second);
    SetColorRGBA(0, 0, 0, 255);
    Clear();
    SetColorRGBA(0, 255, 0, 255);
    DrawVectorFont(first, "H");
    EXPECT_EQ(FindInk({0, 255, 0}).count, small.count);
    DeleteVectorFont(first);
}

}  // namespace

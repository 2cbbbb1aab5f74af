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

using graphics::dtx_current_font;
using graphics::GlyphInfo;

constexpr const char *kDejaVuSans = DEJAVU_SANS_FONT;
constexpr const char *kMissingFont = "/nonexistent/missing.ttf";
constexpr int kTableSize = 1024;

TEST(FontTable, FailedLoadsTakeASlotAndFreedSlotsAreReusedLowestFirst) {
    EXPECT_EQ(LoadVectorFont(kDejaVuSans, 16), 0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(LoadVectorFont(kMissingFont, 16), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              std::string("failed to open font file: ") + kMissingFont + "\n");
    EXPECT_EQ(LoadVectorFont(kDejaVuSans, 0), 2);
    DeleteVectorFont(2);
    DeleteVectorFont(0);
    DeleteVectorFont(0);  // deleting a free slot changes nothing
    EXPECT_EQ(LoadVectorFont(kDejaVuSans, 16), 0);

    testing::internal::CaptureStderr();
    for (int handle = 2; handle < kTableSize; ++handle)
        ASSERT_EQ(LoadVectorFont(kMissingFont, 16), handle);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(LoadVectorFont(kDejaVuSans, 16), -1);
    DeleteVectorFont(700);
    EXPECT_EQ(LoadVectorFont(kDejaVuSans, 16), 700);
    for (int handle = 0; handle < kTableSize; ++handle) DeleteVectorFont(handle);
}

TEST(FontTable, FontsWithoutGlyphsAndHandlesOutsideTheTableMeasureNegativeInfinity) {
    const int font = LoadVectorFont(kDejaVuSans, 16);
    const int sizeZero = LoadVectorFont(kDejaVuSans, 0);
    testing::internal::CaptureStderr();
    const int missing = LoadVectorFont(kMissingFont, 16);
    testing::internal::GetCapturedStderr();
    EXPECT_GT(GetVectorFontStringWidth(font, "Hello"), 16.0f);
    EXPECT_GT(GetVectorFontStringHeight(font, "Hg\nHg"), GetVectorFontStringHeight(font, "Hg"));
    const float negativeInfinity = -std::numeric_limits<float>::infinity();
    for (int handle : {font, sizeZero, missing, -1, kTableSize, 1 << 30}) {
        const char *text = handle == font ? "" : "Text";
        EXPECT_EQ(GetVectorFontStringWidth(handle, text), negativeInfinity) << handle;
        EXPECT_EQ(GetVectorFontStringHeight(handle, text), negativeInfinity) << handle;
        DrawVectorFont(handle, text);  // outside the table: nothing touched
        DeleteVectorFont(handle);
    }
}

class VectorFontDrawingTest : public GraphicsWindowTest {
  protected:
    void SetUp() override {
        GraphicsWindowTest::SetUp();
        // One unit per pixel, origin at the bottom-left.
        glMatrixMode(GL_PROJECTION);
        glOrtho(0, kWindowWidth, 0, kWindowHeight, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        SetColorRGBA(0, 0, 0, 255);
        Clear();
    }

    // Box and count of the pixels that are not black, and whether any of them is not pure red.
    struct Ink {
        int Count = 0, Left = kWindowWidth, Bottom = kWindowHeight, Right = -1, Top = -1;
        bool NotRed = false;
        int RowCount(int y) const { return Rows[y]; }
        std::vector<int> Rows = std::vector<int>(kWindowHeight);
    };
    static Ink FindInk() {
        Ink ink;
        const std::vector<Rgb> pixels = ReadRegion(0, 0, kWindowWidth, kWindowHeight);
        for (int y = 0; y < kWindowHeight; ++y)
            for (int x = 0; x < kWindowWidth; ++x) {
                const Rgb &p = pixels[y * kWindowWidth + x];
                if (p == Rgb{0, 0, 0}) continue;
                ++ink.Count, ++ink.Rows[y];
                ink.Left = std::min(ink.Left, x), ink.Right = std::max(ink.Right, x);
                ink.Bottom = std::min(ink.Bottom, y), ink.Top = std::max(ink.Top, y);
                ink.NotRed |= p.Green != 0 || p.Blue != 0;
            }
        return ink;
    }
};

TEST_F(VectorFontDrawingTest, TextIsDrawnUprightInTheCurrentColourAtTheCurrentTransform) {
    const int font = LoadVectorFont(kDejaVuSans, 48);
    SetColorRGBA(255, 0, 0, 255);
    glTranslatef(100, 80, 0);
    EnableFaceCulling();  // clockwise triangles would vanish
    DrawVectorFont(font, "T");

    const Ink ink = FindInk();
    ASSERT_GT(ink.Count, 100);
    EXPECT_FALSE(ink.NotRed);
    // The quad's corner is the pen less the glyph's origin; the bitmap starts 4 texels inside.
    const GlyphInfo &glyph = dtx_current_font()->Atlases->Glyphs['T'];
    EXPECT_NEAR(ink.Left, 100 - glyph.OriginX + 4, 1);
    EXPECT_NEAR(ink.Bottom, 80 - glyph.OriginY + 4, 1);
    EXPECT_NEAR(ink.Right, 100 - glyph.OriginX + glyph.CellWidth - 4, 1);
    EXPECT_NEAR(ink.Top, 80 - glyph.OriginY + glyph.CellHeight - 4, 1);
    // The bar of the T is at the top: its top row holds far more ink than the stem's bottom row.
    EXPECT_GT(ink.RowCount(ink.Top - 1), 3 * ink.RowCount(ink.Bottom + 1));
}

TEST_F(VectorFontDrawingTest, FontsThatCannotDrawLeaveTheWindowUntouched) {
    const int sizeZero = LoadVectorFont(kDejaVuSans, 0);
    testing::internal::CaptureStderr();
    const int missing = LoadVectorFont(kMissingFont, 24);
    testing::internal::GetCapturedStderr();
    SetColorRGBA(255, 255, 255, 255);
    glTranslatef(50, 50, 0);
    for (int handle : {sizeZero, missing, -1, kTableSize}) DrawVectorFont(handle, "Text");
    EXPECT_EQ(FindInk().Count, 0);
}

}  // namespace

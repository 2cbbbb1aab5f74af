// The glyph-atlas text layer: atlas sizing and packing, glyph metrics, UTF-8 reading, pen rules,
// measuring, font lifetime and the batching of draw calls.

// glGenBuffers and glBindBuffer for the buffer-binding check.
#define GL_GLEXT_PROTOTYPES
#include "TextLayer.h"

#include <GL/glu.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <functional>
#include <limits>
#include <numeric>
#include <string>
#include <vector>

#include "Graphics.h"
#include "GraphicsTestSupport.h"
#include "Platform.h"

namespace {

using graphics::dtx_current_font;
using graphics::dtx_draw_string;
using graphics::dtx_find_atlas_size;
using graphics::dtx_measure_string;
using graphics::dtx_open_font;
using graphics::dtx_prepare_range;
using graphics::dtx_queued_quads;
using graphics::dtx_release_font;
using graphics::dtx_select_font;
using graphics::dtx_step_pen;
using graphics::dtx_utf8_decode;
using graphics::dtx_utf8_skip;
using graphics::GlyphAtlas;
using graphics::GlyphInfo;
using graphics::kQuadCapacity;
using graphics::PenStep;
using graphics::TextBox;
using graphics::VectorFont;

constexpr const char *kDejaVuSans = DEJAVU_SANS_FONT;
constexpr float kNegativeInfinity = -std::numeric_limits<float>::infinity();

// Opens a font for one test and releases it again, so that tests sharing a process stay apart.
struct OpenedFont {
    OpenedFont(const char *path, int size) : Font(dtx_open_font(path, size)) {}
    ~OpenedFont() { dtx_release_font(Font); }
    VectorFont *operator->() const { return Font; }
    VectorFont *Font;
};

TEST(AtlasSizeSearch, FindsTheFirstWidthAtLeastAsWideAsTall) {
    struct Case {
        int64_t Total, MaxWidth, MaxHeight;
        int Width, Height;  // 0 x 0: nothing fits
    };
    const Case cases[] = {
        {4616, 20, 24, 512, 512},  // 256 wide would need 1,024 rows of texels
        {4104, 12, 16, 512, 256}, {8, 0, 0, 32, 32},      {8 + 256 * 8200, 8192, 20, 0, 0},
        {1000, 8193, 10, 0, 0},   {1000, 10, 9000, 0, 0},
    };
    for (const Case &c : cases) {
        const auto size = dtx_find_atlas_size(c.Total, c.MaxWidth, c.MaxHeight);
        EXPECT_EQ(size ? size->Width : 0, c.Width) << "total " << c.Total << " max " << c.MaxWidth;
        EXPECT_EQ(size ? size->Height : 0, c.Height)
            << "total " << c.Total << " max " << c.MaxWidth;
    }
}

TEST(GlyphAtlasBuild, RealFontGivesPowerOfTwoAtlasWithCellsInsideAndApart) {
    for (int size : {16, 64}) {
        OpenedFont font(kDejaVuSans, size);
        const GlyphAtlas *atlas = font->Atlases.get();
        ASSERT_NE(atlas, nullptr) << size;
        EXPECT_TRUE(std::has_single_bit(static_cast<unsigned>(atlas->Width))) << atlas->Width;
        EXPECT_TRUE(std::has_single_bit(static_cast<unsigned>(atlas->Height))) << atlas->Height;
        EXPECT_GE(atlas->Width, atlas->Height);
        EXPECT_EQ(1 << atlas->WidthShift, atlas->Width);
        for (int code = 0; code < 256; ++code) {
            const GlyphInfo &glyph = atlas->Glyphs[code],
                            &previous = atlas->Glyphs[code ? code - 1 : 0];
            EXPECT_TRUE(glyph.X >= 4 && glyph.X + glyph.CellWidth <= atlas->Width - 4 &&
                        glyph.Y >= 4 && glyph.Y + glyph.CellHeight <= atlas->Height - 4)
                << "size " << size << ": cell of " << code << " outside the atlas";
            EXPECT_TRUE(code == 0 || previous.Y != glyph.Y ||
                        glyph.X >= previous.X + previous.CellWidth)
                << "size " << size << ": cell of " << code << " overlaps its neighbour";
        }
    }
}

TEST(GlyphAtlasBuild, GlyphMatchesFreeTypesOwnRendering) {
    OpenedFont font(kDejaVuSans, 32);
    const GlyphAtlas &atlas = *font->Atlases;
    FT_Library library;
    FT_Face face;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    ASSERT_EQ(FT_New_Face(library, kDejaVuSans, 0, &face), 0);
    FT_Set_Char_Size(face, 0, 32 * 64, 72, 72);
    EXPECT_FLOAT_EQ(atlas.LineAdvance, face->size->metrics.height / 64.0f);
    for (int code : {int{'g'}, 0xE9}) {
        ASSERT_EQ(FT_Load_Char(face, code, FT_LOAD_RENDER), 0);
        const FT_Glyph_Metrics &m = face->glyph->metrics;
        const GlyphInfo &glyph = atlas.Glyphs[code];
        EXPECT_FLOAT_EQ(glyph.CellWidth, m.width / 64.0f + 8) << code;
        EXPECT_FLOAT_EQ(glyph.CellHeight, m.height / 64.0f + 8) << code;
        EXPECT_FLOAT_EQ(glyph.OriginX, 1 - m.horiBearingX / 64.0f) << code;
        EXPECT_FLOAT_EQ(glyph.OriginY, (m.height - m.horiBearingY) / 64.0f + 1) << code;
        EXPECT_FLOAT_EQ(glyph.Advance, m.horiAdvance / 64.0f) << code;
        EXPECT_FLOAT_EQ(glyph.U + glyph.UWidth, (glyph.X + glyph.CellWidth) / atlas.Width);
        EXPECT_FLOAT_EQ(glyph.V + glyph.VHeight, (glyph.Y + glyph.CellHeight) / atlas.Height);
        // The bitmap sits 4 texels inside its cell with row 0 at the top; the border stays empty.
        const FT_Bitmap &bitmap = face->glyph->bitmap;
        const int left = static_cast<int>(glyph.X) + 4, top = static_cast<int>(glyph.Y) + 4;
        int mismatches = 0;
        for (int r = -1; r <= static_cast<int>(bitmap.rows); ++r)
            for (int c = -1; c <= static_cast<int>(bitmap.width); ++c) {
                const bool inside = r >= 0 && c >= 0 && r < static_cast<int>(bitmap.rows) &&
                                    c < static_cast<int>(bitmap.width);
                mismatches += atlas.Pixels[(top + r) * atlas.Width + left + c] !=
                              (inside ? bitmap.buffer[r * bitmap.pitch + c] : 0);
            }
        EXPECT_EQ(mismatches, 0) << "code " << code;
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
}

TEST(Utf8Reading, DecodesAndSkipsOneCharacter) {
    struct Case {
        const char *Text;
        int32_t Code;
        int Length;  // bytes skipped
    };
    const Case cases[] = {
        {"A", 'A', 1},
        {"\xC3\xA9", 0xE9, 2},
        {"\xE2\x82\xAC", 0x20AC, 3},
        {"\xF0\x9F\x98\x80", 0x1F600, 4},
        {"\xA9\xA9\xA9\x41", -1, 3},              // a stray run is one character
        {"\xE2\x82", 0x82, 2},                    // cut short by the end of the string
        {"\xFF\x80\x80\x80\x41", 0x07 << 18, 4},  // five or more leading ones count as four
        {"\xC3\x41", (0x03 << 6) | 0x01, 2},      // continuation bytes are not checked
    };
    for (const Case &c : cases) {
        EXPECT_EQ(dtx_utf8_decode(c.Text), c.Code) << testing::PrintToString(c.Text);
        EXPECT_EQ(dtx_utf8_skip(c.Text) - c.Text, c.Length) << testing::PrintToString(c.Text);
    }
}

class CurrentFontTest : public testing::Test {
  protected:
    void SetUp() override { dtx_select_font(Font.Font, 32); }
    const GlyphInfo &Glyph(int code) const { return Font->Atlases->Glyphs[code]; }
    OpenedFont Font{kDejaVuSans, 32};
};

TEST_F(CurrentFontTest, PenFollowsTabLineFeedAndCarriageReturn) {
    const float tab = Glyph(0).Advance, line = Font->Atlases->LineAdvance;
    struct Case {
        int32_t Code;
        float StartX, EndX, EndY;  // the pen starts at y 7
        bool Glyph;
    };
    const Case cases[] = {
        {'\t', 10.5f, 6.5f * tab, 7, false},
        {'\t', -1, 3 * tab, 7, false},
        {'\n', 40, 0, 7 - line, false},
        {'\r', 40, 0, 7, false},
        {0xE9, 40, 40 + Glyph(0xE9).Advance, 7, true},
        {0x20AC, 40, 40, 7, false},
        {-1, 40, 40, 7, false},
    };
    for (const Case &c : cases) {
        float x = c.StartX, y = 7;
        const PenStep step = dtx_step_pen(c.Code, &x, &y);
        EXPECT_FLOAT_EQ(x, c.EndX) << "code " << c.Code;
        EXPECT_FLOAT_EQ(y, c.EndY) << "code " << c.Code;
        EXPECT_EQ(step.Glyph ? step.Glyph->Code : -2, c.Glyph ? c.Code : -2);
    }
}

TEST_F(CurrentFontTest, MeasuresTheCellsOfTheGlyphsItPlaces) {
    const GlyphInfo &e = Glyph(0xE9);
    const TextBox box = dtx_measure_string("\xC3\xA9");
    EXPECT_THAT(
        (std::vector<float>{box.X, box.Y, box.Width, box.Height}),
        testing::Pointwise(testing::FloatEq(),
                           std::vector<float>{e.OriginX, -e.OriginY, e.CellWidth, e.CellHeight}));
    // Characters without a glyph neither show nor move the pen.
    const TextBox two = dtx_measure_string("AB");
    EXPECT_FLOAT_EQ(two.Width, Glyph('A').Advance + Glyph('B').OriginX + Glyph('B').CellWidth -
                                   Glyph('A').OriginX);
    EXPECT_FLOAT_EQ(dtx_measure_string("A\xE2\x82\xAC\xA9\xA9\x42").Width, two.Width);
    EXPECT_FLOAT_EQ(dtx_measure_string("A\nA").Height,
                    Font->Atlases->LineAdvance + Glyph('A').CellHeight);
}

TEST_F(CurrentFontTest, TextWithoutGlyphsMeasuresAsTheEmptyBox) {
    OpenedFont sizeZero(kDejaVuSans, 0);
    EXPECT_EQ(sizeZero->Atlases, nullptr);
    struct Case {
        VectorFont *Font;
        int Size;
        const char *Text;
    } const cases[] = {
        {Font.Font, 32, ""},      {Font.Font, 32, "\t\n\r"}, {Font.Font, 32, "\xE2\x82\xAC"},
        {Font.Font, 32, nullptr}, {Font.Font, 33, "A"},      {sizeZero.Font, 0, "A"},
        {nullptr, 32, "A"},
    };
    for (const Case &c : cases) {
        dtx_select_font(c.Font, c.Size);
        const TextBox box = dtx_measure_string(c.Text);
        EXPECT_EQ(box.Width, kNegativeInfinity) << testing::PrintToString(c.Text) << " " << c.Size;
        EXPECT_EQ(box.Height, kNegativeInfinity) << testing::PrintToString(c.Text) << " " << c.Size;
    }
}

TEST(FontLifetime, FirstFontBecomesCurrentAndEveryFontKeepsItsOwnFaceAndAtlas) {
    dtx_select_font(nullptr, 0);
    VectorFont *first = dtx_open_font(kDejaVuSans, 20);
    ASSERT_EQ(dtx_current_font(), first);
    {
        OpenedFont twin(kDejaVuSans, 20);
        EXPECT_EQ(dtx_current_font(), first) << "only the first font is made current";
        EXPECT_NE(twin->Face, first->Face);
        EXPECT_NE(twin->Atlases->Pixels.get(), first->Atlases->Pixels.get());
    }
    dtx_release_font(first);
    EXPECT_EQ(dtx_current_font(), nullptr);
}

TEST(FontLifetime, UnreadableFilesAndUnbuildableAtlasesAreReported) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(dtx_open_font("/nonexistent/font.ttf", 16), nullptr);
    EXPECT_EQ(dtx_open_font(nullptr, 16), nullptr);
    EXPECT_EQ(dtx_open_font("/proc/self/status", 16), nullptr);
    // Glyphs taller than any atlas, and a size FreeType refuses: fonts without an atlas.
    for (int size : {3000, 100000}) {
        OpenedFont font(kDejaVuSans, size);
        EXPECT_EQ(font->Atlases, nullptr) << size;
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "failed to open font file: /nonexistent/font.ttf\n"
              "failed to open font file: (null)\n"
              "failed to open font file: /proc/self/status\n"
              "dtx_prepare_range: failed (sz: 3000, range: 0-256)\n"
              "dtx_prepare_range: failed (sz: 100000, range: 0-256)\n");
}

std::vector<GLsizei> recordedDraws;
void RecordDraw(GLenum mode, GLint first, GLsizei count) {
    recordedDraws.push_back(count);
    glDrawArrays(mode, first, count);
}

class TextDrawingTest : public GraphicsWindowTest {
  protected:
    void SetUp() override {
        GraphicsWindowTest::SetUp();
        dtx_select_font(Font.Font, 12);
    }
    OpenedFont Font{kDejaVuSans, 12};
};

TEST_F(TextDrawingTest, SixHundredGlyphsDrawInBatchesOf512And88) {
    graphics::backEnd.Draw.DrawArrays = RecordDraw;
    dtx_draw_string(std::string(600, 'x').c_str());
    dtx_draw_string("\xC3\xA9\xE2\x82\xAC\xA9\x79");  // é, a code above 255, a stray byte, y
    graphics::backEnd.Draw.DrawArrays = glDrawArrays;
    EXPECT_THAT(recordedDraws, testing::ElementsAre(512 * 6, 88 * 6, 2 * 6));
    EXPECT_EQ(dtx_queued_quads(), 0) << "every string is flushed at its end";
}

TEST_F(TextDrawingTest, FlushRestoresEnablesAndBufferBindingButLeavesBlendAndDepthMask) {
    GLuint buffer;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glDisable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    glDepthMask(GL_FALSE);
    dtx_draw_string("Text");

    GLint bound = 0, source = 0, destination = 0;
    GLboolean depthMask = GL_FALSE;
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &bound);
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
    EXPECT_EQ(bound, static_cast<GLint>(buffer));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D) || glIsEnabled(GL_BLEND) ||
                 glIsEnabled(GL_VERTEX_ARRAY) || glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_EQ(source, GL_SRC_ALPHA);
    EXPECT_EQ(destination, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(depthMask, GL_TRUE);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Draws a string as the layer was designed to deliver it: every cell as two triangles from a
// client array, sampled from the mipmapped atlas, blended without depth writes. The picture the
// layer has to keep however it hands the vertices to the driver.
void DrawAsDesigned(VectorFont *font, int size, const char *text) {
    dtx_select_font(font, size);
    std::vector<float> vertices;
    GLuint texture = 0;
    float penX = 0, penY = 0;
    for (const char *s = text; *s != '\0';) {
        const int32_t code = dtx_utf8_decode(s);
        s = dtx_utf8_skip(s);
        const float x0 = penX, y0 = penY;
        const PenStep step = dtx_step_pen(code, &penX, &penY);
        if (step.Glyph == nullptr) continue;
        texture = step.Atlas->Texture;
        const GlyphInfo &g = *step.Glyph;
        const float x = x0 - g.OriginX, y = y0 - g.OriginY, w = g.CellWidth, h = g.CellHeight;
        const float s0 = g.U, s1 = g.U + g.UWidth, top = g.V, bottom = g.V + g.VHeight;
        vertices.insert(vertices.end(),
                        {x, y, s0, bottom, x + w, y,     s1, bottom, x + w, y + h, s1, top,
                         x, y, s0, bottom, x + w, y + h, s1, top,    x,     y + h, s0, top});
    }
    ASSERT_LE(vertices.size(), size_t{kQuadCapacity} * 24) << "one draw as the layer makes it";
    glPushAttrib(GL_ENABLE_BIT);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, 16, vertices.data());
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, 16, vertices.data() + 2);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices.size() / 4));
    glDepthMask(GL_TRUE);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glPopAttrib();
}

// Text under the transforms and states a program gives it, drawn by the layer and as designed:
// the two pictures are the same. Unminified, the layer draws only the part of each cell that
// holds ink, and those smaller triangles' texture coordinates may round differently at a
// fractional position, by one level of 255 on the odd pixel; a lost edge of a glyph is dozens.
TEST_F(TextDrawingTest, TextLooksAsDesignedUnderEveryTransformAndState) {
    OpenedFont large(kDejaVuSans, 32);
    struct Scene {
        const char *Name;
        void (*Prepare)();
    };
    const Scene scenes[] = {
        {"a pixel for a texel", [] {}},
        {"half size", [] { glScalef(0.5f, 0.5f, 1); }},
        {"shifted by a fraction", [] { glTranslatef(0.37f, 0.71f, 0); }},
        {"enlarged unevenly, shifted by a fraction",
         [] {
             glTranslatef(0.6f, 0.2f, 0);
             glScalef(1.7f, 1.3f, 1);
         }},
        {"a third of the size, shifted by a fraction",
         [] {
             glTranslatef(0.3f, 0.6f, 0);
             glScalef(0.33f, 0.33f, 1);
         }},
        {"doubled and turned",
         [] {
             glScalef(2, 2, 1);
             glRotatef(30, 0, 0, 1);
         }},
        {"stretched across", [] { glScalef(1.5f, 0.75f, 1); }},
        {"seen in perspective",
         [] {
             glMatrixMode(GL_PROJECTION);
             glLoadIdentity();
             gluPerspective(60, 320.0 / 240.0, 1, 1000);
             glMatrixMode(GL_MODELVIEW);
             glTranslatef(-150, -40, -250);
             glRotatef(-60, 1, 0, 0);
         }},
        {"outlined", [] { SetOutlineMode(); }},
        {"half hidden behind a nearer square",
         [] {
             SetColorRGBA(0, 0, 255, 255);
             glBegin(GL_QUADS);
             glVertex3f(0, 0, 0.5f), glVertex3f(160, 0, 0.5f), glVertex3f(160, 240, 0.5f),
                 glVertex3f(0, 240, 0.5f);
             glEnd();
         }},
        {"translucent", [] { SetColorRGBA(255, 128, 0, 100); }},
    };
    for (const Scene &scene : scenes) {
        std::vector<Rgb> pictures[2];
        for (std::vector<Rgb> &picture : pictures) {
            glMatrixMode(GL_PROJECTION);
            glLoadIdentity();
            glOrtho(0, kWindowWidth, 0, kWindowHeight, -1, 1);
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            SetFilledMode();
            SetColorRGBA(40, 40, 40, 255);
            Clear();
            SetColorRGBA(255, 255, 255, 255);
            scene.Prepare();
            glTranslatef(4, 200, 0);
            const char *lines = "The quick brown fox\njumps over 0123456789!\t\xC3\xA9";
            const char *word = "Hg \xE2\x82\xAC\xC3\xA9 Wj";
            if (&picture == &pictures[0]) {
                dtx_select_font(Font.Font, 12);
                dtx_draw_string(lines);
                glTranslatef(0, -120, 0);
                dtx_select_font(large.Font, 32);
                dtx_draw_string(word);
            } else {
                DrawAsDesigned(Font.Font, 12, lines);
                glTranslatef(0, -120, 0);
                DrawAsDesigned(large.Font, 32, word);
            }
            picture = ReadRegion(0, 0, kWindowWidth, kWindowHeight);
        }
        const auto differing = std::inner_product(
            pictures[0].begin(), pictures[0].end(), pictures[1].begin(), 0, std::plus<>(),
            [](const Rgb &a, const Rgb &b) {
                return std::abs(a.Red - b.Red) > 1 || std::abs(a.Green - b.Green) > 1 ||
                       std::abs(a.Blue - b.Blue) > 1;
            });
        const auto isLit = [](const Rgb &p) { return !(p == Rgb{40, 40, 40}); };
        const auto lit = std::count_if(pictures[1].begin(), pictures[1].end(), isLit);
        EXPECT_EQ(differing, 0) << scene.Name << ": pixels differ";
        EXPECT_GT(lit, 500) << scene.Name << ": the text must show";
    }
}

}  // namespace

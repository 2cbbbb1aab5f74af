// The glyph-atlas text layer: atlas sizing and packing, glyph metrics, UTF-8 reading, pen rules,
// measuring, font lifetime and the batching of draw calls.

// glGenBuffers and glBindBuffer for the buffer-binding check.
#define GL_GLEXT_PROTOTYPES
#include "TextLayer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "GraphicsTestSupport.h"

namespace {

constexpr const char *kDejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr float kNegativeInfinity = -std::numeric_limits<float>::infinity();

// Opens a font for one test and releases it again, so that tests sharing a process stay apart.
class OpenedFont {
  public:
    OpenedFont(const char *path, int size) : font_(dtx_open_font(path, size)) {}
    ~OpenedFont() { dtx_release_font(font_); }
    OpenedFont(const OpenedFont &) = delete;
    OpenedFont &operator=(const OpenedFont &) = delete;
    VectorFont *get() const { return font_; }
    VectorFont *operator->() const { return font_; }

  private:
    VectorFont *font_;
};

void ExpectEmptyBox(const TextBox &box, const std::string &what) {
    EXPECT_EQ(box.Width, kNegativeInfinity) << what;
    EXPECT_EQ(box.Height, kNegativeInfinity) << what;
}

TEST(AtlasSizeSearch, FindsTheFirstWidthAtLeastAsWideAsTall) {
    struct Case {
        int64_t total, maxWidth, maxHeight;
        std::optional<AtlasSize> expected;
    };
    const Case cases[] = {
        {4616, 20, 24, AtlasSize{512, 512}},  // 256 wide would need 1,024 rows of texels
        {4104, 12, 16, AtlasSize{512, 256}},
        {8, 0, 0, AtlasSize{32, 32}},              // a font of empty glyphs still gets an atlas
        {8 + 256 * 8200, 8192, 20, std::nullopt},  // every row spills: nothing fits
        {1000, 8193, 10, std::nullopt},            // a glyph wider than any atlas
        {1000, 10, 9000, std::nullopt},            // a glyph taller than any atlas
    };
    for (const Case &c : cases) {
        const auto size = dtx_find_atlas_size(c.total, c.maxWidth, c.maxHeight);
        const std::string label = "total " + std::to_string(c.total) + ", max " +
                                  std::to_string(c.maxWidth) + " x " + std::to_string(c.maxHeight);
        ASSERT_EQ(size.has_value(), c.expected.has_value()) << label;
        if (!size) continue;
        EXPECT_EQ(size->Width, c.expected->Width) << label;
        EXPECT_EQ(size->Height, c.expected->Height) << label;
    }
}

TEST(GlyphAtlasBuild, RealFontGivesPowerOfTwoAtlasWithCellsInsideAndApart) {
    for (int size : {8, 16, 32, 64, 128}) {
        OpenedFont font(kDejaVuSans, size);
        ASSERT_NE(font.get(), nullptr);
        const GlyphAtlas *atlas = font->Atlases.get();
        ASSERT_NE(atlas, nullptr) << size;
        EXPECT_EQ(atlas->Next, nullptr);
        EXPECT_EQ(atlas->PointSize, size);
        EXPECT_EQ(atlas->CodeCount, 256);
        EXPECT_TRUE(std::has_single_bit(static_cast<unsigned>(atlas->Width))) << atlas->Width;
        EXPECT_TRUE(std::has_single_bit(static_cast<unsigned>(atlas->Height))) << atlas->Height;
        EXPECT_GE(atlas->Width, atlas->Height) << size;
        EXPECT_LE(atlas->Width, kMaxAtlasSide);
        EXPECT_EQ(1 << atlas->WidthShift, atlas->Width);
        EXPECT_GT(atlas->LineAdvance, static_cast<float>(size));

        // Cells lie inside the atlas and never overlap their neighbours in the same row.
        for (int code = 0; code < 256; ++code) {
            const GlyphInfo &glyph = atlas->Glyphs[code];
            EXPECT_EQ(glyph.Code, code);
            EXPECT_GE(glyph.X, 4.0f);
            EXPECT_GE(glyph.Y, 4.0f);
            EXPECT_LE(glyph.X + glyph.CellWidth, static_cast<float>(atlas->Width) - 4.0f)
                << "size " << size << " code " << code;
            EXPECT_LE(glyph.Y + glyph.CellHeight, static_cast<float>(atlas->Height) - 4.0f)
                << "size " << size << " code " << code;
            if (code == 0) continue;
            const GlyphInfo &previous = atlas->Glyphs[code - 1];
            if (previous.Y == glyph.Y) {
                EXPECT_GE(glyph.X, previous.X + previous.CellWidth);
            }
        }
    }
}

TEST(GlyphAtlasBuild, GlyphMatchesFreeTypesOwnRendering) {
    constexpr int kSize = 32;
    OpenedFont font(kDejaVuSans, kSize);
    ASSERT_NE(font.get(), nullptr);
    const GlyphAtlas &atlas = *font->Atlases;

    FT_Library library;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    FT_Face face;
    ASSERT_EQ(FT_New_Face(library, kDejaVuSans, 0, &face), 0);
    ASSERT_EQ(FT_Set_Char_Size(face, 0, kSize * 64, 72, 72), 0);
    EXPECT_FLOAT_EQ(atlas.LineAdvance, face->size->metrics.height / 64.0f);

    for (int code : {int{'g'}, int{'T'}, 0xE9 /* é */}) {
        ASSERT_EQ(FT_Load_Char(face, code, FT_LOAD_RENDER), 0);
        const FT_Glyph_Metrics &m = face->glyph->metrics;
        const GlyphInfo &glyph = atlas.Glyphs[code];
        EXPECT_FLOAT_EQ(glyph.CellWidth, m.width / 64.0f + 8) << code;
        EXPECT_FLOAT_EQ(glyph.CellHeight, m.height / 64.0f + 8) << code;
        EXPECT_FLOAT_EQ(glyph.OriginX, 1 - m.horiBearingX / 64.0f) << code;
        EXPECT_FLOAT_EQ(glyph.OriginY, (m.height - m.horiBearingY) / 64.0f + 1) << code;
        EXPECT_FLOAT_EQ(glyph.Advance, m.horiAdvance / 64.0f) << code;
        EXPECT_FLOAT_EQ(glyph.U, glyph.X / atlas.Width);
        EXPECT_FLOAT_EQ(glyph.V, glyph.Y / atlas.Height);
        EXPECT_FLOAT_EQ(glyph.UWidth, glyph.CellWidth / atlas.Width);
        EXPECT_FLOAT_EQ(glyph.VHeight, glyph.CellHeight / atlas.Height);

        // The bitmap sits 4 texels inside its cell, row 0 at the top, with an empty border.
        const FT_Bitmap &bitmap = face->glyph->bitmap;
        const int left = static_cast<int>(glyph.X) + 4, top = static_cast<int>(glyph.Y) + 4;
        int mismatches = 0;
        for (unsigned r = 0; r < bitmap.rows; ++r)
            for (unsigned c = 0; c < bitmap.width; ++c)
                mismatches += atlas.Pixels[(top + r) * atlas.Width + left + c] !=
                              bitmap.buffer[r * bitmap.pitch + c];
        EXPECT_EQ(mismatches, 0) << "code " << code;
        for (int c = left - 4; c < left + static_cast<int>(bitmap.width) + 4; ++c)
            EXPECT_EQ(atlas.Pixels[(top - 1) * atlas.Width + c], 0) << "row above code " << code;
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
}

TEST(Utf8Reading, DecodesAndSkipsOneCharacter) {
    struct Case {
        const char *text;
        int32_t code;
        int length;  // bytes skipped
    };
    const Case cases[] = {
        {"A", 'A', 1},
        {"\xC3\xA9", 0xE9, 2},        // é
        {"\xE2\x82\xAC", 0x20AC, 3},  // €
        {"\xF0\x9F\x98\x80", 0x1F600, 4},
        {"\xA9\xA9\xA9"
         "A",
         -1, 3},            // a stray run is one character
        {"\xC3", 0x03, 1},  // cut short by the end of the string
        {"\xE2\x82", 0x82, 2},
        {"\xFF\x80\x80\x80"
         "A",
         0x07 << 18, 4},  // five or more leading ones count as four
        {"\xC3"
         "A",
         (0x03 << 6) | 0x01, 2},  // continuation bytes are not checked
    };
    for (const Case &c : cases) {
        EXPECT_EQ(dtx_utf8_decode(c.text), c.code) << testing::PrintToString(c.text);
        EXPECT_EQ(dtx_utf8_skip(c.text) - c.text, c.length) << testing::PrintToString(c.text);
    }
}

class CurrentFontTest : public testing::Test {
  protected:
    static constexpr int kSize = 32;
    void SetUp() override {
        ASSERT_NE(font_.get(), nullptr);
        dtx_select_font(font_.get(), kSize);
    }
    const GlyphInfo &Glyph(int code) const { return font_->Atlases->Glyphs[code]; }

    OpenedFont font_{kDejaVuSans, kSize};
};

TEST_F(CurrentFontTest, PenFollowsTabLineFeedAndCarriageReturn) {
    const float advance0 = Glyph(0).Advance;
    const float line = font_->Atlases->LineAdvance;
    struct Case {
        int32_t code;
        float startX, startY, endX, endY;
        bool glyph;
    };
    const Case cases[] = {
        {'\t', 10.5f, 7.0f, static_cast<float>(6.5 * advance0), 7.0f, false},
        {'\t', -1.0f, 0.0f, static_cast<float>(3.0 * advance0), 0.0f, false},
        {'\n', 40.0f, 7.0f, 0.0f, 7.0f - line, false},
        {'\r', 40.0f, 7.0f, 0.0f, 7.0f, false},
        {'A', 40.0f, 7.0f, 40.0f + Glyph('A').Advance, 7.0f, true},
        {0xE9, 0.0f, 0.0f, Glyph(0xE9).Advance, 0.0f, true},
        {0x20AC, 40.0f, 7.0f, 40.0f, 7.0f, false},  // no atlas above 255
        {-1, 40.0f, 7.0f, 40.0f, 7.0f, false},
    };
    for (const Case &c : cases) {
        float x = c.startX, y = c.startY;
        const PenStep step = dtx_step_pen(c.code, &x, &y);
        EXPECT_FLOAT_EQ(x, c.endX) << "code " << c.code;
        EXPECT_FLOAT_EQ(y, c.endY) << "code " << c.code;
        EXPECT_EQ(step.Glyph != nullptr, c.glyph) << "code " << c.code;
        if (c.glyph) {
            EXPECT_EQ(step.Glyph->Code, c.code);
        }
    }
}

TEST_F(CurrentFontTest, MeasuresTheCellsOfTheGlyphsItPlaces) {
    const GlyphInfo &e = Glyph(0xE9);
    const TextBox single = dtx_measure_string("\xC3\xA9");
    EXPECT_FLOAT_EQ(single.X, e.OriginX);
    EXPECT_FLOAT_EQ(single.Y, -e.OriginY);
    EXPECT_FLOAT_EQ(single.Width, e.CellWidth);
    EXPECT_FLOAT_EQ(single.Height, e.CellHeight);

    const TextBox two = dtx_measure_string("AB");
    EXPECT_FLOAT_EQ(two.Width, Glyph('A').Advance + Glyph('B').OriginX + Glyph('B').CellWidth -
                                   Glyph('A').OriginX);

    // Characters without a glyph neither show nor move the pen.
    const TextBox skipped = dtx_measure_string(
        "A\xE2\x82\xAC\xA9\xA9"
        "B");
    EXPECT_FLOAT_EQ(skipped.Width, two.Width);
    EXPECT_FLOAT_EQ(skipped.Height, two.Height);

    const TextBox lines = dtx_measure_string("A\nA");
    EXPECT_FLOAT_EQ(lines.Height, font_->Atlases->LineAdvance + Glyph('A').CellHeight);
}

TEST_F(CurrentFontTest, TextWithoutGlyphsMeasuresAsTheEmptyBox) {
    for (const char *text : {"", "\t\n\r\t", "\xE2\x82\xAC\xE2\x82\xAC", "\xA9"})
        ExpectEmptyBox(dtx_measure_string(text), testing::PrintToString(text));
    ExpectEmptyBox(dtx_measure_string(nullptr), "null text");

    dtx_select_font(font_.get(), kSize + 1);  // no atlas at that size
    ExpectEmptyBox(dtx_measure_string("A"), "size without atlas");
    dtx_select_font(nullptr, kSize);
    ExpectEmptyBox(dtx_measure_string("A"), "no current font");
}

TEST(FontLifetime, SizeZeroBuildsNoAtlasAndIsNotMadeCurrent) {
    dtx_select_font(nullptr, 0);
    OpenedFont font(kDejaVuSans, 0);
    ASSERT_NE(font.get(), nullptr);
    EXPECT_EQ(font->Atlases, nullptr);
    EXPECT_EQ(dtx_current_font(), nullptr);
    dtx_select_font(font.get(), 0);
    ExpectEmptyBox(dtx_measure_string("A"), "size 0");
}

TEST(FontLifetime, FirstOpenedFontBecomesCurrentAndReleaseForgetsIt) {
    dtx_select_font(nullptr, 0);
    VectorFont *first = dtx_open_font(kDejaVuSans, 20);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(dtx_current_font(), first);
    EXPECT_EQ(dtx_current_size(), 20);
    {
        OpenedFont second(kDejaVuSans, 30);
        EXPECT_EQ(dtx_current_font(), first) << "only the first font is made current";
        // Same file and size, yet a face and an atlas of its own.
        OpenedFont twin(kDejaVuSans, 20);
        EXPECT_NE(twin->Face, first->Face);
        EXPECT_NE(twin->Atlases.get(), first->Atlases.get());
        EXPECT_NE(twin->Atlases->Pixels.get(), first->Atlases->Pixels.get());
    }
    dtx_release_font(first);
    EXPECT_EQ(dtx_current_font(), nullptr);
    ExpectEmptyBox(dtx_measure_string("A"), "after release");
}

TEST(FontLifetime, MissingOrUnreadableFileIsReported) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(dtx_open_font("/nonexistent/font.ttf", 16), nullptr);
    EXPECT_EQ(dtx_open_font(nullptr, 16), nullptr);
    EXPECT_EQ(dtx_open_font("/proc/self/status", 16), nullptr);  // not a font
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "failed to open font file: /nonexistent/font.ttf\n"
              "failed to open font file: (null)\n"
              "failed to open font file: /proc/self/status\n");
}

TEST(QuadQueue, QuadIsTwoCounterClockwiseTrianglesWithTheAtlasTopAtTheTop) {
    dtx_gl_setup();
    GlyphInfo glyph;
    glyph.OriginX = 1, glyph.OriginY = 2, glyph.CellWidth = 10, glyph.CellHeight = 20;
    glyph.U = 0.25f, glyph.V = 0.5f, glyph.UWidth = 0.125f, glyph.VHeight = 0.0625f;
    ASSERT_EQ(dtx_queued_quads(), 0);
    dtx_add_quad(glyph, 100, 50);
    ASSERT_EQ(dtx_queued_quads(), 1);

    const float x0 = 99, y0 = 48, x1 = 109, y1 = 68;
    const float s0 = 0.25f, s1 = 0.375f, tTop = 0.5f, tBottom = 0.5625f;
    const std::vector<float> expected = {
        x0, y0, s0, tBottom, x1, y0, s1, tBottom, x1, y1, s1, tTop,
        x0, y0, s0, tBottom, x1, y1, s1, tTop,    x0, y1, s0, tTop,
    };
    const float *queued = dtx_quad_vertices();
    EXPECT_THAT(std::vector<float>(queued, queued + 24),
                testing::Pointwise(testing::FloatEq(), expected));
    for (int triangle = 0; triangle < 2; ++triangle) {
        const float *v = queued + triangle * 12;
        const float area2 = (v[4] - v[0]) * (v[9] - v[1]) - (v[8] - v[0]) * (v[5] - v[1]);
        EXPECT_GT(area2, 0) << "triangle " << triangle << " is not counter-clockwise";
    }
}

// Counts the draw calls of the flush and the vertices each one draws.
std::vector<GLsizei> recordedDraws;
void RecordDraw(GLenum mode, GLint first, GLsizei count) {
    recordedDraws.push_back(count);
    glDrawArrays(mode, first, count);
}

class TextDrawingTest : public GraphicsWindowTest {};

TEST_F(TextDrawingTest, SixHundredGlyphsDrawInBatchesOf512And88) {
    OpenedFont font(kDejaVuSans, 12);
    dtx_select_font(font.get(), 12);
    recordedDraws.clear();
    dtx_draw_arrays = RecordDraw;
    dtx_draw_string(std::string(600, 'x').c_str());
    dtx_draw_string(
        "\xC3\xA9\xE2\x82\xAC\xA9"
        "y");  // é, a character above 255, a stray byte, y
    dtx_draw_arrays = glDrawArrays;
    EXPECT_THAT(recordedDraws, testing::ElementsAre(512 * 6, 88 * 6, 2 * 6));
    EXPECT_EQ(dtx_queued_quads(), 0) << "every string is flushed at its end";
}

TEST_F(TextDrawingTest, FlushRestoresEnablesAndBufferBindingButLeavesBlendAndDepthMask) {
    OpenedFont font(kDejaVuSans, 12);
    dtx_select_font(font.get(), 12);
    GLuint buffer;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glDisable(GL_TEXTURE_2D);
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
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_EQ(source, GL_SRC_ALPHA);
    EXPECT_EQ(destination, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(depthMask, GL_TRUE);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glDeleteBuffers(1, &buffer);
}

}  // namespace

// Glyph-atlas text layer: renders the codes 0 to 255 of a font file into one coverage texture per
// font and size, lays out UTF-8 strings with a pen that starts at (0, 0) of the current model-view
// coordinates (lines go downwards in a y-up system), and draws them as textured triangles in
// batches of up to 512 quads. Internal to the library; the vector-font exports wrap it.
#pragma once

#include <GL/gl.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

#include "RegularFile.h"

namespace graphics {

// One glyph's cell in its atlas. Sizes are in atlas texels, which equal pixels at the atlas size;
// the cell carries a 4-texel empty border on every side.
struct GlyphInfo {
    int32_t Code = 0;
    float X = 0, Y = 0;                   // top-left of the cell in the atlas
    float CellWidth = 0, CellHeight = 0;  // bitmap size plus 8
    float U = 0, V = 0;                   // X / Width, Y / Height
    float UWidth = 0, VHeight = 0;        // CellWidth / Width, CellHeight / Height
    float OriginX = 0;                    // 1 - bearing X
    float OriginY = 0;                    // glyph height - bearing Y + 1
    float Advance = 0;                    // horizontal advance in pixels
    // Where in the cell linear filtering can find coverage: the inked texels and one texel around
    // them, in texels from the cell's top-left and in texture coordinates; zero-sized for a blank.
    float InkLeft = 0, InkTop = 0, InkWidth = 0, InkHeight = 0;
    float InkU = 0, InkV = 0, InkUWidth = 0, InkVHeight = 0;
};

// The glyphs of one font at one size, packed into a single-channel image (row 0 at the top).
struct GlyphAtlas {
    static constexpr int32_t kCodeCount = 256;

    int32_t PointSize = 0;
    int32_t Width = 0, Height = 0;  // powers of two, at most 8,192, Width >= Height
    int32_t WidthShift = 0;         // log2(Width)
    std::unique_ptr<unsigned char[]> Pixels;
    GLuint Texture = 0;  // created on first draw
    bool TextureValid = false;
    int32_t FirstCode = 0, EndCode = kCodeCount;
    int32_t CodeCount = kCodeCount;
    float LineAdvance = 0;
    std::unique_ptr<GlyphInfo[]> Glyphs;  // indexed by code - FirstCode
    std::unique_ptr<GlyphAtlas> Next;

    bool Covers(int32_t code) const { return FirstCode <= code && code < EndCode; }
    // The cell of a code the atlas covers.
    GlyphInfo &GlyphOf(int32_t code) { return Glyphs[static_cast<std::size_t>(code - FirstCode)]; }
};

// A font file held open for FreeType, which reads it through Stream for as long as the face lives.
struct FontFile {
    explicit FontFile(RegularFile file) : File(std::move(file)) {}
    RegularFile File;
    FT_StreamRec Stream{};
};

struct VectorFont {
    FT_Face Face = nullptr;
    std::unique_ptr<FontFile> Source;     // outlives Face
    std::unique_ptr<GlyphAtlas> Atlases;  // newest first
    GlyphAtlas *LastAtlas = nullptr;      // where the last lookup succeeded
};

struct TextBox {
    float X, Y, Width, Height;
};

struct AtlasSize {
    int32_t Width, Height;
};

// Where a character moved the pen and, if it has one, the glyph it produces.
struct PenStep {
    GlyphAtlas *Atlas = nullptr;
    const GlyphInfo *Glyph = nullptr;
};

inline constexpr int kQuadCapacity = 512;
inline constexpr int kMaxAtlasSide = 8192;

// Operations used by the vector-font exports.
VectorFont *dtx_open_font(const char *path, int size);
void dtx_select_font(VectorFont *font, int size);
void dtx_draw_string(const char *text);
TextBox dtx_measure_string(const char *text);
void dtx_release_font(VectorFont *font);

// Inner operations, visible for the tests.
void dtx_prepare_range(VectorFont *font, int size);
bool dtx_build_atlas(VectorFont *font, int size);
// The atlas size for glyphs totalling `total` texels in one row (gaps included) whose widest is
// maxWidth and tallest maxHeight; none when nothing up to 8,192 fits.
std::optional<AtlasSize> dtx_find_atlas_size(int64_t total, int64_t maxWidth, int64_t maxHeight);
int32_t dtx_utf8_decode(const char *text);
const char *dtx_utf8_skip(const char *text);
PenStep dtx_step_pen(int32_t code, float *penX, float *penY);
void dtx_gl_setup();
void dtx_bind_atlas(GlyphAtlas *atlas);
void dtx_add_quad(const GlyphInfo &glyph, float penX, float penY);
void dtx_flush_quads();

// Read-only views of the layer state for the tests.
VectorFont *dtx_current_font();
int dtx_queued_quads();

}  // namespace graphics

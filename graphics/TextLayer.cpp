// Glyph-atlas text layer. FreeType renders each font once per size into a coverage atlas (an
// alpha texture uploaded lazily with mipmaps); strings are drawn as two counter-clockwise
// triangles per glyph from a client-side array, so glyphs take the current colour and transform.
// The triangles cover the glyph's cell, or only its ink box where the text is not shrunk.
// Messages go to standard error; nothing here talks to the user otherwise.
#include "TextLayer.h"

#include <GL/glu.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "Platform.h"

namespace graphics {
namespace {

constexpr int kVerticesPerQuad = 6;
constexpr int kFloatsPerVertex = 4;  // x, y, s, t
constexpr int kGap = 8;              // texels between glyphs and along the atlas edges
constexpr int kBorder = kGap / 2;    // empty texels around each glyph inside its cell

struct LayerState {
    FT_Library Library = nullptr;
    VectorFont *CurrentFont = nullptr;
    int CurrentSize = 0;
    bool BackEndInstalled = false;
    std::unique_ptr<float[]> GlyphQuads;
    int QuadCount = 0;
    GLuint BoundAtlasTexture = 0;
    const GlyphAtlas *LastAtlasDrawn = nullptr;
    bool TextUnminified = false;  // of the string being drawn
    bool InkBoxesOnly = false;    // whether its glyphs need only their ink boxes drawn
    PFNGLBINDBUFFERPROC BindBuffer = nullptr;
    bool BindBufferLookedUp = false;
};

LayerState layer;

void ReleaseFreeType() {
    FT_Done_FreeType(layer.Library);
    layer.Library = nullptr;
}

float FromFixed(FT_Pos value) {
    return static_cast<float>(value) / 64.0f;
}

// FreeType stores rows bottom-up when the pitch is negative; either way row 0 is the top.
const unsigned char *BitmapRow(const FT_Bitmap &bitmap, std::size_t row) {
    if (bitmap.pitch >= 0) return bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
    return bitmap.buffer + static_cast<std::ptrdiff_t>(bitmap.rows - 1 - row) * -bitmap.pitch;
}

// Copies a rendered glyph into the atlas at (x, y). The copy is clipped to the atlas: a bitmap a
// pixel wider than its metrics, or a font whose rendered glyphs outgrow the measured ones, must
// not write past the buffer. One-bit bitmaps (bitmap fonts) are widened to full coverage.
void CopyBitmap(const FT_Bitmap &bitmap, GlyphAtlas &atlas, std::size_t x, std::size_t y) {
    const bool gray = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY;
    const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
    if ((!gray && !mono) || bitmap.buffer == nullptr) return;
    const auto atlasWidth = static_cast<std::size_t>(atlas.Width);
    const auto atlasHeight = static_cast<std::size_t>(atlas.Height);
    if (x >= atlasWidth || y >= atlasHeight) return;
    const std::size_t columns = std::min<std::size_t>(bitmap.width, atlasWidth - x);
    const std::size_t rows = std::min<std::size_t>(bitmap.rows, atlasHeight - y);
    for (std::size_t r = 0; r < rows; ++r) {
        const unsigned char *source = BitmapRow(bitmap, r);
        unsigned char *target = atlas.Pixels.get() + (y << atlas.WidthShift) + r * atlasWidth + x;
        if (gray) {
            std::memcpy(target, source, columns);
            continue;
        }
        for (std::size_t c = 0; c < columns; ++c)
            target[c] = (source[c >> 3] & (0x80 >> (c & 7))) ? 255 : 0;
    }
}

// Sets the glyph's ink box from the atlas texels of its cell. Linear filtering reads the two
// texels nearest a sample in each direction, so a sample more than a texel away from every inked
// one has no coverage at all.
void FindInk(const GlyphAtlas &atlas, GlyphInfo &glyph) {
    const int left = static_cast<int>(glyph.X), top = static_cast<int>(glyph.Y);
    const int right = std::min(atlas.Width, static_cast<int>(std::ceil(glyph.X + glyph.CellWidth)));
    const int bottom =
        std::min(atlas.Height, static_cast<int>(std::ceil(glyph.Y + glyph.CellHeight)));
    int inkLeft = right, inkTop = bottom, inkRight = left, inkBottom = top;
    for (int y = top; y < bottom; ++y) {
        const unsigned char *row =
            atlas.Pixels.get() + (static_cast<std::size_t>(y) << atlas.WidthShift);
        for (int x = left; x < right; ++x) {
            if (row[x] == 0) continue;
            inkLeft = std::min(inkLeft, x);
            inkRight = std::max(inkRight, x + 1);
            inkTop = std::min(inkTop, y);
            inkBottom = std::max(inkBottom, y + 1);
        }
    }
    if (inkRight <= inkLeft) return;
    glyph.InkLeft = static_cast<float>(std::max(inkLeft - 1, left) - left);
    glyph.InkTop = static_cast<float>(std::max(inkTop - 1, top) - top);
    glyph.InkWidth =
        std::min(static_cast<float>(inkRight + 1 - left), glyph.CellWidth) - glyph.InkLeft;
    glyph.InkHeight =
        std::min(static_cast<float>(inkBottom + 1 - top), glyph.CellHeight) - glyph.InkTop;
    const auto width = static_cast<float>(atlas.Width), height = static_cast<float>(atlas.Height);
    glyph.InkU = (glyph.X + glyph.InkLeft) / width;
    glyph.InkV = (glyph.Y + glyph.InkTop) / height;
    glyph.InkUWidth = glyph.InkWidth / width;
    glyph.InkVHeight = glyph.InkHeight / height;
}

// Loads a character into the face's glyph slot. A failed load leaves the previous glyph in the
// slot, so it is cleared to an empty glyph rather than copied a second time.
FT_GlyphSlot LoadCharacter(FT_Face face, int code, FT_Int32 flags) {
    FT_GlyphSlot slot = face->glyph;
    if (FT_Load_Char(face, static_cast<FT_ULong>(code), flags) != 0) {
        slot->metrics = FT_Glyph_Metrics{};
        slot->bitmap = FT_Bitmap{};
    }
    return slot;
}

unsigned long ReadFontFile(FT_Stream stream, unsigned long offset, unsigned char *buffer,
                           unsigned long count) {
    // A count of 0 asks for a seek, which succeeds (0) inside the file.
    if (count == 0) return offset <= stream->size ? 0 : 1;
    auto *source = static_cast<FontFile *>(stream->descriptor.pointer);
    return source->File.ReadUpTo(offset, {buffer, count});
}

// FreeType reads the file through the descriptor opened here, so a FIFO or a directory is refused
// instead of waiting in open() for a writer.
bool OpenFace(VectorFont &font, const char *path) {
    std::optional<RegularFile> file = RegularFile::Open(path);
    if (!file) return false;
    font.Source = std::make_unique<FontFile>(std::move(*file));
    FT_StreamRec &stream = font.Source->Stream;
    stream.size = font.Source->File.Size();
    stream.descriptor.pointer = font.Source.get();
    stream.read = ReadFontFile;
    FT_Open_Args arguments{};
    arguments.flags = FT_OPEN_STREAM;
    arguments.stream = &stream;
    return FT_Open_Face(layer.Library, &arguments, 0, &font.Face) == 0;
}

// Looked up at the first draw, when a context exists: asked before the window is up, the answer
// is always "absent". Drivers without buffer objects have none, and then no buffer can be bound
// over our client arrays.
void LookUpBindBuffer() {
    if (layer.BindBufferLookedUp) return;
    layer.BindBuffer = reinterpret_cast<PFNGLBINDBUFFERPROC>(backEnd.GlProcAddress("glBindBuffer"));
    layer.BindBufferLookedUp = true;
}

// Whether no part of the text can show the atlas smaller than a texel per pixel. Text lies in
// the plane z = 0 of the model-view coordinates, a unit per texel; under a transform without
// perspective each window pixel then covers the same texels everywhere, and when that is at
// most one in both directions OpenGL samples every fragment with the magnification filter. The
// sums of magnitudes bound every measure of the footprint a driver may take.
bool AtlasNotMinified() {
    GLfloat modelView[16] = {}, projection[16] = {};
    GLint viewport[4] = {};
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    // Element (row, column) of projection x model-view, both column-major.
    const auto clip = [&](int row, int column) {
        double sum = 0;
        for (int k = 0; k < 4; ++k)
            sum += static_cast<double>(projection[k * 4 + row]) * modelView[column * 4 + k];
        return sum;
    };
    const double w = clip(3, 3);
    if (clip(3, 0) != 0 || clip(3, 1) != 0 || w <= 0) return false;
    // Window pixels per text unit along x and y of the text.
    const double halfWidth = viewport[2] / 2.0 / w, halfHeight = viewport[3] / 2.0 / w;
    const double a = clip(0, 0) * halfWidth, b = clip(0, 1) * halfWidth;
    const double c = clip(1, 0) * halfHeight, d = clip(1, 1) * halfHeight;
    // Texels per window pixel are the columns of the inverse, (d, -c) / det and (-b, a) / det.
    constexpr double kRounding = 1e-6;
    const double det = std::fabs(a * d - b * c) * (1 + kRounding);
    return det > 0 && std::fabs(d) + std::fabs(c) <= det && std::fabs(b) + std::fabs(a) <= det;
}

// Outlines and points show the triangles' corners and edges, which must stay those of the cells.
bool PolygonsFilled() {
    GLint modes[2] = {};  // front and back faces
    glGetIntegerv(GL_POLYGON_MODE, modes);
    return modes[0] == GL_FILL && modes[1] == GL_FILL;
}

// Unminified text reads only the atlas's largest level, so a sampler without the mipmaps gives
// the same picture for less work; the mipmaps come back as soon as the text shrinks. Setting the
// filter it already has changes no state.
void ChooseMinFilter() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                    layer.TextUnminified ? GL_LINEAR : GL_LINEAR_MIPMAP_LINEAR);
}

GlyphAtlas *FindAtlas(int32_t code) {
    VectorFont *font = layer.CurrentFont;
    if (font == nullptr) return nullptr;
    const auto fits = [code](const GlyphAtlas *atlas) {
        return atlas->Covers(code) && atlas->PointSize == layer.CurrentSize;
    };
    if (font->LastAtlas != nullptr && fits(font->LastAtlas)) return font->LastAtlas;
    for (GlyphAtlas *atlas = font->Atlases.get(); atlas != nullptr; atlas = atlas->Next.get()) {
        if (fits(atlas)) {
            font->LastAtlas = atlas;
            return atlas;
        }
    }
    return nullptr;
}

// One character read from a string: where the pen was before it and what it produced.
struct PlacedCharacter {
    PenStep Step;
    float PenX = 0, PenY = 0;
};

// Reads one character at `text`, moves the pen and returns the text after it.
const char *PlaceCharacter(const char *text, float *penX, float *penY, PlacedCharacter *placed) {
    const int32_t code = dtx_utf8_decode(text);
    const char *rest = dtx_utf8_skip(text);
    placed->PenX = *penX;
    placed->PenY = *penY;
    placed->Step = dtx_step_pen(code, penX, penY);
    return rest;
}

const char *dtx_draw_char(const char *text, float *penX, float *penY) {
    PlacedCharacter placed;
    const char *rest = PlaceCharacter(text, penX, penY, &placed);
    if (placed.Step.Glyph != nullptr) {
        dtx_bind_atlas(placed.Step.Atlas);
        dtx_add_quad(*placed.Step.Glyph, placed.PenX, placed.PenY);
    }
    return rest;
}

// Leading one bits of a lead byte, at most 4; an ASCII byte counts as a one-byte sequence.
int SequenceLength(unsigned char lead) {
    int ones = 0;
    while (ones < 4 && (lead & (0x80 >> ones))) ++ones;
    return ones == 0 ? 1 : ones;
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

}  // namespace

VectorFont *dtx_open_font(const char *path, int size) {
    if (layer.Library == nullptr) {
        if (FT_Init_FreeType(&layer.Library) == 0)
            std::atexit(ReleaseFreeType);
        else
            layer.Library = nullptr;
    }
    auto *font = new (std::nothrow) VectorFont{};
    if (font == nullptr) {
        std::fprintf(stderr, "%s: %s: %s\n", "dtx_open_font", "failed to allocate font structure",
                     std::strerror(errno));
        return nullptr;
    }
    if (!OpenFace(*font, path)) {
        std::fprintf(stderr, "failed to open font file: %s\n", path ? path : "(null)");
        delete font;
        return nullptr;
    }
    if (size != 0) {
        dtx_prepare_range(font, size);
        if (layer.CurrentFont == nullptr) dtx_select_font(font, size);
    }
    return font;
}

void dtx_prepare_range(VectorFont *font, int size) {
    for (const GlyphAtlas *atlas = font->Atlases.get(); atlas != nullptr; atlas = atlas->Next.get())
        if (atlas->FirstCode <= 0 && atlas->EndCode >= GlyphAtlas::kCodeCount &&
            atlas->PointSize == size)
            return;
    if (!dtx_build_atlas(font, size))
        std::fprintf(stderr, "%s: failed (sz: %d, range: %d-%d)\n", "dtx_prepare_range", size, 0,
                     GlyphAtlas::kCodeCount);
}

std::optional<AtlasSize> dtx_find_atlas_size(int64_t total, int64_t maxWidth, int64_t maxHeight) {
    // Wider or taller glyphs can never fit; rejecting them here also keeps the products below
    // far from overflow.
    if (maxWidth > kMaxAtlasSide || maxHeight > kMaxAtlasSide) return std::nullopt;
    for (int64_t width = 2; width <= kMaxAtlasSide; width *= 2) {
        int64_t rows = total / width + 1;
        // The last glyph of every row may not fit and spill into a new row.
        rows += (width + 7 + (maxWidth + kGap) * rows) / width;
        const int64_t need = rows * (maxHeight + kGap) + kGap;
        if (need > kMaxAtlasSide) continue;
        const int64_t height = static_cast<int64_t>(std::bit_ceil(static_cast<uint64_t>(need)));
        if (static_cast<float>(width) / static_cast<float>(height) >= 1.0f)
            return AtlasSize{static_cast<int32_t>(width), static_cast<int32_t>(height)};
    }
    return std::nullopt;
}

bool dtx_build_atlas(VectorFont *font, int size) {
    const FT_Face face = font->Face;
    // At 72 dpi a point is a pixel; width 0 follows the height. A size FreeType refuses would
    // leave the face at whatever scale it had, so the glyphs would come out at a wrong size.
    if (FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(size) * 64, 72, 72) != 0) return false;

    std::unique_ptr<GlyphAtlas> atlas(new (std::nothrow) GlyphAtlas{});
    if (atlas == nullptr) return false;
    atlas->PointSize = size;
    atlas->LineAdvance = FromFixed(face->size->metrics.height);
    atlas->Glyphs.reset(new (std::nothrow) GlyphInfo[GlyphAtlas::kCodeCount]());
    if (atlas->Glyphs == nullptr) return false;

    int64_t maxWidth = 0, maxHeight = 0, total = kGap;
    for (int code = 0; code < GlyphAtlas::kCodeCount; ++code) {
        const FT_GlyphSlot slot = LoadCharacter(face, code, FT_LOAD_DEFAULT);
        const int64_t w = slot->metrics.width / 64;
        const int64_t h = slot->metrics.height / 64;
        maxWidth = std::max(maxWidth, w);
        maxHeight = std::max(maxHeight, h);
        total += w + kGap;
    }
    const std::optional<AtlasSize> atlasSize = dtx_find_atlas_size(total, maxWidth, maxHeight);
    if (!atlasSize) return false;

    atlas->Width = atlasSize->Width;
    atlas->Height = atlasSize->Height;
    atlas->WidthShift = std::countr_zero(static_cast<uint32_t>(atlas->Width));
    const auto pixelCount =
        static_cast<std::size_t>(atlas->Width) * static_cast<std::size_t>(atlas->Height);
    atlas->Pixels.reset(new (std::nothrow) unsigned char[pixelCount]());
    if (atlas->Pixels == nullptr) return false;

    const auto width = static_cast<float>(atlas->Width);
    const auto height = static_cast<float>(atlas->Height);
    int gx = kGap, gy = kGap;
    for (int code = 0; code < GlyphAtlas::kCodeCount; ++code) {
        const FT_GlyphSlot slot = LoadCharacter(face, code, FT_LOAD_RENDER);
        const FT_Glyph_Metrics &metrics = slot->metrics;
        const float gw = FromFixed(metrics.width);
        const float gh = FromFixed(metrics.height);
        if (static_cast<float>(gx) > width - gw - kGap) {
            gx = kGap;
            gy += static_cast<int>(maxHeight) + kGap;
        }
        CopyBitmap(slot->bitmap, *atlas, static_cast<std::size_t>(gx),
                   static_cast<std::size_t>(gy));

        GlyphInfo &glyph = atlas->GlyphOf(code);
        glyph.Code = code;
        glyph.X = static_cast<float>(gx - kBorder);
        glyph.Y = static_cast<float>(gy - kBorder);
        glyph.CellWidth = gw + kGap;
        glyph.CellHeight = gh + kGap;
        glyph.U = glyph.X / width;
        glyph.V = glyph.Y / height;
        glyph.UWidth = glyph.CellWidth / width;
        glyph.VHeight = glyph.CellHeight / height;
        glyph.OriginX = 1.0f - FromFixed(metrics.horiBearingX);
        glyph.OriginY = FromFixed(metrics.height - metrics.horiBearingY) + 1.0f;
        glyph.Advance = FromFixed(metrics.horiAdvance);
        FindInk(*atlas, glyph);
        gx = static_cast<int>(static_cast<float>(gx) + gw + kGap);
    }

    atlas->Next = std::move(font->Atlases);
    font->Atlases = std::move(atlas);
    return true;
}

void dtx_select_font(VectorFont *font, int size) {
    if (!layer.BackEndInstalled) {
        dtx_gl_setup();
        layer.BackEndInstalled = true;
    }
    layer.CurrentFont = font;
    layer.CurrentSize = size;
}

void dtx_gl_setup() {
    if (layer.GlyphQuads != nullptr) return;
    layer.GlyphQuads.reset(
        new (std::nothrow) float[kQuadCapacity * kVerticesPerQuad * kFloatsPerVertex]);
    layer.QuadCount = 0;
}

int32_t dtx_utf8_decode(const char *text) {
    const auto lead = static_cast<unsigned char>(*text);
    if (IsContinuation(lead)) return -1;
    static constexpr unsigned char kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    const int length = SequenceLength(lead);
    int32_t code = lead & kLeadMask[length];
    for (int i = 1; i < length && text[i] != '\0'; ++i)
        code = (code << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
    return code;
}

const char *dtx_utf8_skip(const char *text) {
    if (IsContinuation(static_cast<unsigned char>(*text))) {
        // A stray run of continuation bytes counts as one character.
        while (IsContinuation(static_cast<unsigned char>(*text))) ++text;
        return text;
    }
    const int length = SequenceLength(static_cast<unsigned char>(*text));
    for (int i = 0; i < length && *text != '\0'; ++i) ++text;
    return text;
}

PenStep dtx_step_pen(int32_t code, float *penX, float *penY) {
    GlyphAtlas *atlas = FindAtlas(code);
    switch (code) {
        case '\t':
            if (atlas != nullptr)
                *penX = static_cast<float>((std::fmod(static_cast<double>(*penX), 4.0) + 4.0) *
                                           atlas->GlyphOf(0).Advance);
            return {};
        case '\n':
            *penX = 0;
            if (atlas != nullptr) *penY -= atlas->LineAdvance;
            return {};
        case '\r':
            *penX = 0;
            return {};
        default:
            if (atlas == nullptr) return {};
            const GlyphInfo &glyph = atlas->GlyphOf(code);
            *penX += glyph.Advance;
            return {atlas, &glyph};
    }
}

TextBox dtx_measure_string(const char *text) {
    float x0 = FLT_MAX, y0 = FLT_MAX, x1 = -FLT_MAX, y1 = -FLT_MAX;
    float penX = 0, penY = 0;
    for (const char *s = text; s != nullptr && *s != '\0';) {
        PlacedCharacter placed;
        s = PlaceCharacter(s, &penX, &penY, &placed);
        const GlyphInfo *glyph = placed.Step.Glyph;
        if (glyph == nullptr) continue;
        const float gx = placed.PenX + glyph->OriginX;
        const float gy = placed.PenY - glyph->OriginY;
        x0 = std::min(x0, gx);
        y0 = std::min(y0, gy);
        x1 = std::max(x1, gx + glyph->CellWidth);
        y1 = std::max(y1, gy + glyph->CellHeight);
    }
    // With no glyph this overflows to negative infinity, which callers know as "nothing".
    return TextBox{x0, y0, x1 - x0, y1 - y0};
}

void dtx_draw_string(const char *text) {
    // Without a context nothing can be drawn; the atlas is uploaded at the first draw with one.
    if (layer.CurrentFont == nullptr || !layer.BackEndInstalled || text == nullptr ||
        !backEnd.HasCurrentContext())
        return;
    LookUpBindBuffer();
    layer.TextUnminified = AtlasNotMinified();
    layer.InkBoxesOnly = layer.TextUnminified && PolygonsFilled();
    float penX = 0, penY = 0;
    const char *end = text + std::strlen(text);
    for (const char *s = text; s < end;) s = dtx_draw_char(s, &penX, &penY);
    dtx_flush_quads();
}

void dtx_bind_atlas(GlyphAtlas *atlas) {
    if (atlas->Texture == 0) {
        glGenTextures(1, &atlas->Texture);
        glBindTexture(GL_TEXTURE_2D, atlas->Texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
        atlas->TextureValid = false;
    }
    if (!atlas->TextureValid) {
        glBindTexture(GL_TEXTURE_2D, atlas->Texture);
        // Atlas rows are tightly packed whatever alignment the program has set.
        glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        gluBuild2DMipmaps(GL_TEXTURE_2D, GL_ALPHA, atlas->Width, atlas->Height, GL_ALPHA,
                          GL_UNSIGNED_BYTE, atlas->Pixels.get());
        glPopClientAttrib();
        atlas->TextureValid = true;
    }
    if (atlas->Texture != layer.BoundAtlasTexture) dtx_flush_quads();
    layer.BoundAtlasTexture = atlas->Texture;
    if (layer.LastAtlasDrawn != nullptr && layer.LastAtlasDrawn != atlas) dtx_flush_quads();
    layer.LastAtlasDrawn = atlas;
}

void dtx_add_quad(const GlyphInfo &glyph, float penX, float penY) {
    if (layer.GlyphQuads == nullptr) return;
    // The cell spans x to x + CellWidth and y to y + CellHeight, a unit per texel, row 0 at the
    // top. Unminified text shows nothing outside the ink box, so only that part of the cell is
    // drawn: the same picture for a fraction of the fragments, and none for a blank. (The smaller
    // triangles may round a texture coordinate differently, a level of 255 on the odd pixel.)
    float x = penX - glyph.OriginX, y = penY - glyph.OriginY;
    float w = glyph.CellWidth, h = glyph.CellHeight;
    float s0 = glyph.U, s1 = glyph.U + glyph.UWidth;
    float tTop = glyph.V, tBottom = glyph.V + glyph.VHeight;
    if (layer.InkBoxesOnly) {
        if (glyph.InkWidth <= 0 || glyph.InkHeight <= 0) return;
        x += glyph.InkLeft;
        y += glyph.CellHeight - glyph.InkTop - glyph.InkHeight;
        w = glyph.InkWidth, h = glyph.InkHeight;
        s0 = glyph.InkU, s1 = glyph.InkU + glyph.InkUWidth;
        tTop = glyph.InkV, tBottom = glyph.InkV + glyph.InkVHeight;
    }
    const float quad[kVerticesPerQuad][kFloatsPerVertex] = {
        {x, y, s0, tBottom}, {x + w, y, s1, tBottom},  {x + w, y + h, s1, tTop},
        {x, y, s0, tBottom}, {x + w, y + h, s1, tTop}, {x, y + h, s0, tTop},
    };
    std::memcpy(layer.GlyphQuads.get() + layer.QuadCount * kVerticesPerQuad * kFloatsPerVertex,
                quad, sizeof quad);
    if (++layer.QuadCount == kQuadCapacity) dtx_flush_quads();
}

void dtx_flush_quads() {
    if (layer.QuadCount == 0) return;
    GLint savedArrayBuffer = 0;
    if (layer.BindBuffer != nullptr) {
        // A bound buffer object would turn our client pointers into buffer offsets.
        glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &savedArrayBuffer);
        layer.BindBuffer(GL_ARRAY_BUFFER, 0);
    }
    glPushAttrib(GL_ENABLE_BIT);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, layer.BoundAtlasTexture);
    ChooseMinFilter();

    const GLsizei stride = kFloatsPerVertex * sizeof(float);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, stride, layer.GlyphQuads.get());
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, stride, layer.GlyphQuads.get() + 2);

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    backEnd.Draw.DrawArrays(GL_TRIANGLES, 0, layer.QuadCount * kVerticesPerQuad);
    glDepthMask(GL_TRUE);

    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glPopAttrib();
    if (layer.BindBuffer != nullptr && savedArrayBuffer != 0)
        layer.BindBuffer(GL_ARRAY_BUFFER, static_cast<GLuint>(savedArrayBuffer));
    layer.QuadCount = 0;
}

void dtx_release_font(VectorFont *font) {
    if (font == nullptr) return;
    FT_Done_Face(font->Face);
    for (std::unique_ptr<GlyphAtlas> atlas = std::move(font->Atlases); atlas != nullptr;
         atlas = std::move(atlas->Next)) {
        if (atlas->Texture != 0) {
            if (layer.BoundAtlasTexture == atlas->Texture) layer.BoundAtlasTexture = 0;
            if (backEnd.HasCurrentContext()) glDeleteTextures(1, &atlas->Texture);
        }
        if (layer.LastAtlasDrawn == atlas.get()) layer.LastAtlasDrawn = nullptr;
    }
    if (layer.CurrentFont == font) layer.CurrentFont = nullptr;
    delete font;
}

VectorFont *dtx_current_font() {
    return layer.CurrentFont;
}

int dtx_queued_quads() {
    return layer.QuadCount;
}

}  // namespace graphics

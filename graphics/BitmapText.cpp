// Bitmap text: a fixed 8 x 13 font for printable ASCII, compiled into display lists once per
// start, drawn at a raster position that goes through the current matrices. Each glyph moves the
// raster position 10 window pixels right whatever the transforms, so only one run of a string's
// glyphs can land in the window; the others only move the raster position.
#include "BitmapText.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <cstring>
#include <string_view>

#include "Graphics.h"
#include "GraphicsState.h"
#include "Platform.h"

namespace graphics {
namespace {

constexpr std::size_t kGlyphWidth = 8;
constexpr std::size_t kGlyphHeight = std::tuple_size_v<BitmapGlyphRows>;
constexpr unsigned kFirstGlyphCode = 32;
constexpr unsigned kGlyphCount = 95;
constexpr GLsizei kListCount = 128;
constexpr float kDescent = 2.0f;
constexpr float kAdvance = 10.0f;

#include "BitmapGlyphs.inc"
static_assert(std::size(kGlyphPictures) == kGlyphCount, "one picture per printable character");

constexpr bool PicturesAreWellFormed() {
    for (std::string_view picture : kGlyphPictures) {
        if (picture.size() != kGlyphWidth * kGlyphHeight) return false;
        if (picture.find_first_not_of(".#") != std::string_view::npos) return false;
    }
    return true;
}
static_assert(PicturesAreWellFormed(), "every glyph is 13 rows of 8 '.' or '#'");

// Turns a picture into glBitmap rows: bottom row first, leftmost pixel in bit 7.
constexpr BitmapGlyphRows ToBitmapRows(std::string_view picture) {
    BitmapGlyphRows rows{};
    for (std::size_t line = 0; line < kGlyphHeight; ++line) {
        unsigned char bits = 0;
        for (std::size_t column = 0; column < kGlyphWidth; ++column) {
            if (picture[line * kGlyphWidth + column] == '#') {
                bits = static_cast<unsigned char>(bits | 0x80u >> column);
            }
        }
        rows[kGlyphHeight - 1 - line] = bits;
    }
    return rows;
}

constexpr std::array<BitmapGlyphRows, kGlyphCount> BuildGlyphTable() {
    std::array<BitmapGlyphRows, kGlyphCount> table{};
    for (std::size_t index = 0; index < kGlyphCount; ++index) {
        table[index] = ToBitmapRows(kGlyphPictures[index]);
    }
    return table;
}

constexpr std::array<BitmapGlyphRows, kGlyphCount> kGlyphTable = BuildGlyphTable();

bool HasGlyph(char character) {
    const auto code = static_cast<unsigned char>(character);
    return code >= kFirstGlyphCode && code < kFirstGlyphCode + kGlyphCount;
}

// Window pixels a bitmap can change: x in [Left, Right), y in [Bottom, Top).
struct PixelArea {
    float Left = 0, Bottom = 0, Right = 0, Top = 0;
};

// The scissor box confines every bitmap while the test is on (it always is, unless the program
// turned it off); otherwise the client area does.
PixelArea ReachableArea() {
    if (glIsEnabled(GL_SCISSOR_TEST)) {
        GLint box[4] = {};
        glGetIntegerv(GL_SCISSOR_BOX, box);
        return {static_cast<float>(box[0]), static_cast<float>(box[1]),
                static_cast<float>(box[0] + box[2]), static_cast<float>(box[1] + box[3])};
    }
    int width = 0, height = 0;
    if (graphicsState.Window != nullptr) backEnd.ClientSize(graphicsState.Window, &width, &height);
    return {0, 0, static_cast<float>(width), static_cast<float>(height)};
}

// Whether a glyph placed at (x, y) can change a pixel of the area. OpenGL rounds the position
// to a pixel; a margin of one pixel on every side keeps every glyph that might.
bool Reaches(const PixelArea &area, float x, float y) {
    return x + kGlyphWidth + 1 > area.Left && x - 1 < area.Right &&
           y - kDescent + kGlyphHeight + 1 > area.Bottom && y - kDescent - 1 < area.Top;
}

// The bytes of a string whose glyphs can reach the area: [Begin, End). Every glyph before Begin
// and after End lies outside it.
struct ReachingRun {
    std::size_t Begin = 0, End = 0;
    float BeginX = 0;  // the raster x at Begin, as OpenGL sums the advances before it
    std::size_t GlyphsAfter = 0;
};

// Walks the raster position along the string with the same float additions OpenGL makes. The
// position only grows, so the glyphs that reach the area are one run, and none after a glyph
// beyond its right edge does.
ReachingRun FindReachingRun(std::string_view text, float x, float y, const PixelArea &area) {
    ReachingRun run;
    bool started = false;
    std::size_t index = 0;
    for (; index < text.size(); ++index) {
        if (!HasGlyph(text[index])) continue;
        if (!Reaches(area, x, y)) {
            if (started || x - 1 >= area.Right) break;
        } else if (!started) {
            started = true;
            run.Begin = index;
            run.BeginX = x;
        }
        x += kAdvance;
    }
    run.End = started ? index : 0;
    const std::string_view after = text.substr(run.End);
    run.GlyphsAfter = static_cast<std::size_t>(std::count_if(after.begin(), after.end(), HasGlyph));
    return run;
}

// Moves the raster position over glyphs without drawing them.
void Advance(float distance) {
    glBitmap(0, 0, 0.0f, 0.0f, distance, 0.0f, nullptr);
}

// Brings the raster position from x to the run's start exactly where the skipped glyphs would
// have left it: in one step when the float sum lands there, else glyph by glyph.
void SkipTo(float x, const ReachingRun &run, std::string_view text) {
    if (run.Begin == 0) return;
    const float distance = run.BeginX - x;
    if (x + distance == run.BeginX) {
        Advance(distance);
        return;
    }
    for (std::size_t index = 0; index < run.Begin; ++index)
        if (HasGlyph(text[index])) Advance(kAdvance);
}

void CallGlyphLists(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t count = std::min<std::size_t>(bytes.size(), INT_MAX);
        glCallLists(static_cast<GLsizei>(count), GL_UNSIGNED_BYTE, bytes.data());
        bytes.remove_prefix(count);
    }
}

// Only in the render mode does a glyph become pixels now and nothing else: a display list being
// compiled keeps the whole string for later, and feedback and selection report every glyph.
bool DrawsNow() {
    GLint list = 0, mode = 0;
    glGetIntegerv(GL_LIST_INDEX, &list);
    glGetIntegerv(GL_RENDER_MODE, &mode);
    return list == 0 && mode == GL_RENDER;
}

// A string of megabytes costs a display-list call per byte, and all but a window's width of
// them are invisible: those only move the raster position, so that it ends where it would.
void CallReachingGlyphLists(std::string_view bytes) {
    // Outside the view volume nothing is drawn and the position does not move.
    GLboolean valid = GL_FALSE;
    glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    if (!valid) return;
    GLfloat raster[4] = {};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
    const ReachingRun run = FindReachingRun(bytes, raster[0], raster[1], ReachableArea());
    SkipTo(raster[0], run, bytes);
    CallGlyphLists(bytes.substr(run.Begin, run.End - run.Begin));
    if (run.GlyphsAfter > 0) Advance(static_cast<float>(run.GlyphsAfter) * kAdvance);
}

}  // namespace

const BitmapGlyphRows &BitmapGlyph(char character) {
    return kGlyphTable[static_cast<unsigned char>(character) - kFirstGlyphCode];
}

void BuildBitmapFont() {
    graphicsState.BitmapFontBase = glGenLists(kListCount);
    for (GLuint index = 0; index < kGlyphCount; ++index) {
        glNewList(graphicsState.BitmapFontBase + kFirstGlyphCode + index, GL_COMPILE);
        glBitmap(kGlyphWidth, kGlyphHeight, 0.0f, kDescent, kAdvance, 0.0f,
                 kGlyphTable[index].data());
        glEndList();
    }
}

// The header's GRAPHICS_API again: GCC gives a C function defined inside a namespace the
// default hidden visibility, whatever the global declaration said.
extern "C" GRAPHICS_API void PrintAt(float x, float y, const char *text) {
    if (text == nullptr) return;
    glRasterPos2f(x, y);
    glPushAttrib(GL_LIST_BIT);
    glListBase(graphicsState.BitmapFontBase);
    const std::string_view bytes(text);
    if (DrawsNow())
        CallReachingGlyphLists(bytes);
    else
        CallGlyphLists(bytes);
    glPopAttrib();
}

}  // namespace graphics

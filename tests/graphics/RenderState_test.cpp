#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "Graphics.h"
#include "GraphicsState.h"
#include "GraphicsTestSupport.h"

namespace {

using graphics::graphicsState;

struct Rgba {
    int Red, Green, Blue, Alpha;
    bool operator==(const Rgba &other) const = default;
};

std::ostream &operator<<(std::ostream &out, const Rgba &color) {
    return out << "(" << color.Red << ", " << color.Green << ", " << color.Blue << ", "
               << color.Alpha << ")";
}

Rgba ReadPixelWithAlpha(int x, int y) {
    unsigned char bytes[4] = {};
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, bytes);
    return {bytes[0], bytes[1], bytes[2], bytes[3]};
}

bool Near(const Rgb &actual, const Rgb &expected) {
    return std::abs(actual.Red - expected.Red) <= 1 &&
           std::abs(actual.Green - expected.Green) <= 1 &&
           std::abs(actual.Blue - expected.Blue) <= 1;
}

// A quad over the whole viewport with the current matrices left as identity.
void FillViewport() {
    glBegin(GL_QUADS);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -1.0f);
    glVertex2f(1.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
}

const Rgb kBlack = {0, 0, 0};
const Rgb kWhite = {255, 255, 255};
const Rgb kRed = {255, 0, 0};

}  // namespace

using RenderStateTest = GraphicsWindowTest;

TEST_F(RenderStateTest, EveryPaletteEntryClearsToItsColour) {
    // The palette bytes the framebuffer must show, from the published table.
    const Rgb expected[32] = {
        {0, 0, 0},       {1, 3, 244},     {251, 1, 3},     {251, 0, 253},   {3, 126, 1},
        {2, 252, 251},   {254, 253, 12},  {255, 255, 255}, {85, 58, 41},    {237, 127, 240},
        {0, 1, 127},     {255, 128, 0},   {255, 174, 201}, {219, 159, 219}, {150, 150, 150},
        {200, 200, 200}, {100, 100, 100}, {0, 253, 4},     {45, 138, 85},   {127, 207, 232},
        {128, 0, 1},     {116, 121, 27},  {242, 245, 224}, {4, 100, 3},     {150, 251, 149},
        {62, 222, 210},  {247, 218, 2},   {73, 3, 125},    {228, 229, 249}, {210, 193, 165},
        {224, 252, 253}, {3, 127, 127},
    };
    for (int index = 0; index < 32; ++index) {
        SetColor(index);
        Clear();
        const Rgb actual = ReadPixel(10, 10);
        EXPECT_TRUE(Near(actual, expected[index]))
            << "index " << index << ": expected " << expected[index] << ", got " << actual;
    }
}

TEST_F(RenderStateTest, IndicesOutsideThePaletteGiveWhite) {
    for (int index : {7, 32, 1000, -1, -2147483647 - 1}) {
        SetColor(0);
        SetColor(index);
        Clear();
        EXPECT_EQ(ReadPixel(10, 10), kWhite) << "index " << index;
        const float *color = graphicsState.CurrentColor;
        EXPECT_EQ(std::vector<float>(color, color + 3), (std::vector<float>{1.0f, 1.0f, 1.0f}));
    }
}

TEST_F(RenderStateTest, ClearUsesTheDrawingColourWithFullAlpha) {
    Clear();
    EXPECT_EQ(ReadPixelWithAlpha(5, 5), (Rgba{0, 0, 0, 255})) << "before any colour call";

    SetColorRGBA(255, 0, 0, 128);
    Clear();
    EXPECT_EQ(ReadPixelWithAlpha(5, 5), (Rgba{255, 0, 0, 255}));

    // The half-transparent colour still draws blended over the cleared red.
    SetColor(1);
    Clear();
    SetColorRGBA(255, 0, 0, 128);
    FillViewport();
    const Rgb blended = ReadPixel(5, 5);
    EXPECT_NEAR(blended.Red, 128, 2);
    EXPECT_NEAR(blended.Blue, 244 / 2, 2);
}

TEST_F(RenderStateTest, SetColorRGBADividesWithoutClamping) {
    SetColorRGBA(510, -255, 51, 0);
    const float *color = graphicsState.CurrentColor;
    EXPECT_EQ(std::vector<float>(color, color + 3), (std::vector<float>{2.0f, -1.0f, 0.2f}));
    GLfloat current[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, current);
    EXPECT_FLOAT_EQ(current[3], 0.0f);
}

TEST_F(RenderStateTest, ColourWithZeroAlphaLeavesNoTrace) {
    SetColor(0);
    Clear();
    SetColorRGBA(255, 255, 255, 0);
    FillViewport();
    EXPECT_EQ(ReadPixel(5, 5), kBlack);
    GLfloat depth = 0.0f;
    glReadPixels(5, 5, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_EQ(depth, 1.0f) << "the depth buffer must stay cleared";
}

TEST_F(RenderStateTest, ViewportConfinesDrawingAndClearUntilTheScissorTestIsOff) {
    SetColor(0);
    Clear();
    SetViewPort(0, 0, 100, 100);
    SetColor(2);
    Clear();
    EXPECT_EQ(ReadPixel(50, 50), ToBytes(0.98431f, 0.00392f, 0.01176f));
    EXPECT_EQ(ReadPixel(150, 150), kBlack);
    EXPECT_EQ(ReadPixel(100, 50), kBlack);

    DisableScissorTest();
    SetColor(7);
    Clear();
    EXPECT_EQ(ReadPixel(150, 150), kWhite) << "Clear covers the window without the scissor test";

    SetColor(0);
    Clear();
    SetColor(7);
    FillViewport();
    EXPECT_EQ(ReadPixel(99, 99), kWhite);
    EXPECT_EQ(ReadPixel(150, 150), kBlack) << "drawing stays mapped to the viewport";

    DisableScissorTest();
    SetViewPort(100, 100, 50, 50);
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST)) << "SetViewPort switches the scissor test on";
}

// Each switch starts as InitGraph documents it and then toggles its own capability.
TEST_F(RenderStateTest, CapabilitySwitchesStartAsDocumentedAndToggleTheirOwnCapability) {
    struct Pair {
        const char *Name;
        void (*Enable)();
        void (*Disable)();
        GLenum Capability;
        bool OnAfterStart;
    };
    const Pair pairs[] = {
        {"depth test", EnableDepthTest, DisableDepthTest, GL_DEPTH_TEST, true},
        {"alpha test", EnableAlphaTest, DisableAlphaTest, GL_ALPHA_TEST, true},
        {"stencil test", EnableStencilTest, DisableStencilTest, GL_STENCIL_TEST, false},
        {"scissor test", EnableScissorTest, DisableScissorTest, GL_SCISSOR_TEST, true},
        {"blend", EnableBlend, DisableBlend, GL_BLEND, true},
        {"face culling", EnableFaceCulling, DisableFaceCulling, GL_CULL_FACE, false},
        {"texturing", EnableTexturing, DisableTexturing, GL_TEXTURE_2D, false},
        {"line stipple", EnableLineStipple, DisableLineStipple, GL_LINE_STIPPLE, false},
    };
    for (const Pair &pair : pairs) {
        EXPECT_EQ(glIsEnabled(pair.Capability) == GL_TRUE, pair.OnAfterStart)
            << pair.Name << " after InitGraph";
    }
    for (const Pair &pair : pairs) {
        pair.Enable();
        EXPECT_TRUE(glIsEnabled(pair.Capability)) << pair.Name << " after enable";
        pair.Disable();
        EXPECT_FALSE(glIsEnabled(pair.Capability)) << pair.Name << " after disable";
    }
}

TEST_F(RenderStateTest, ParametersReachOpenGlInArgumentOrder) {
    SetDepthFunction(GL_GREATER);
    SetStencilFunction(GL_NOTEQUAL, 3, 0xF0u);
    SetStencilOptions(GL_INCR, GL_DECR, GL_INVERT);
    SetBlendFunction(GL_ONE, GL_DST_COLOR);
    SetLineStipple(3, 0x1ABCD);
    SetPointSize(4.0f);
    SetLineWidth(3.0f);

    ExpectIntegers({
        {"depth function", GL_DEPTH_FUNC, GL_GREATER},
        {"stencil function", GL_STENCIL_FUNC, GL_NOTEQUAL},
        {"stencil reference", GL_STENCIL_REF, 3},
        {"stencil mask", GL_STENCIL_VALUE_MASK, 0xF0},
        {"stencil fail", GL_STENCIL_FAIL, GL_INCR},
        {"depth fail", GL_STENCIL_PASS_DEPTH_FAIL, GL_DECR},
        {"depth pass", GL_STENCIL_PASS_DEPTH_PASS, GL_INVERT},
        {"blend source", GL_BLEND_SRC, GL_ONE},
        {"blend destination", GL_BLEND_DST, GL_DST_COLOR},
        {"stipple factor", GL_LINE_STIPPLE_REPEAT, 3},
        {"stipple pattern (low 16 bits)", GL_LINE_STIPPLE_PATTERN, 0xABCD},
        {"point size", GL_POINT_SIZE, 4},
        {"line width", GL_LINE_WIDTH, 3},
    });
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(RenderStateTest, DepthMaskTakesAnyNonZeroAsTrue) {
    for (int flag : {0, 1, 2, -1, 256}) {
        SetDepthMask(flag);
        GLboolean mask = GL_FALSE;
        glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
        EXPECT_EQ(mask == GL_TRUE, flag != 0) << "flag " << flag;
    }
}

TEST_F(RenderStateTest, FilledAndOutlineModesMoveFlagAndPolygonModeTogether) {
    EXPECT_FALSE(graphicsState.FilledMode) << "shapes start as outlines";
    GLint modes[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_FILL) << "while OpenGL still fills";

    SetFilledMode();
    EXPECT_TRUE(graphicsState.FilledMode);
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_FILL);
    EXPECT_EQ(modes[1], GL_FILL);

    SetOutlineMode();
    EXPECT_FALSE(graphicsState.FilledMode);
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_LINE);
    EXPECT_EQ(modes[1], GL_LINE);
}

TEST(RenderStateBeforeStart, ColourAndFillModeAreStillRecorded) {
    SetColor(2);
    EXPECT_EQ(graphicsState.CurrentColor[0], 0.98431f);
    SetFilledMode();
    EXPECT_TRUE(graphicsState.FilledMode);
    Clear();
    SetViewPort(0, 0, 10, 10);
}

// The window on a real X server (Xvfb, no window manager): the OpenGL state the start leaves,
// where SDL puts the window, the pointer as the server reports it, and fullscreen. The window logic
// itself is tested on the null back end (WindowLogic_test.cpp).
#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Graphics.h"
#include "GraphicsState.h"
#include "GraphicsTestSupport.h"
#include "TactilProbe.h"

namespace {

constexpr int screenWidth = 1920;  // the Xvfb screen the test command starts
constexpr int screenHeight = 1080;

SDL_Window *OurWindow() {
    return static_cast<SDL_Window *>(GetGraphicsWindowHandle());
}

SDL_Event KeyDown(SDL_Keycode key) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = key;
    event.key.state = SDL_PRESSED;
    return event;
}

// Drops what the window system queued while the window came up, so a test sees only its events.
void DrainEvents() {
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

}  // namespace

TEST_F(GraphicsWindowTest, SetsTheInitialOpenGlState) {
    ExpectSwitches({
        {"depth test", GL_DEPTH_TEST, true},
        {"line smooth", GL_LINE_SMOOTH, true},
        {"point smooth", GL_POINT_SMOOTH, true},
        {"polygon smooth", GL_POLYGON_SMOOTH, true},
        {"blend", GL_BLEND, true},
        {"alpha test", GL_ALPHA_TEST, true},
        {"scissor test", GL_SCISSOR_TEST, true},
        {"texturing", GL_TEXTURE_2D, false},
        {"face culling", GL_CULL_FACE, false},
        {"stencil test", GL_STENCIL_TEST, false},
        {"line stipple", GL_LINE_STIPPLE, false},
    });
    ExpectIntegers({
        {"shade model", GL_SHADE_MODEL, GL_SMOOTH},
        {"depth function", GL_DEPTH_FUNC, GL_LEQUAL},
        {"perspective hint", GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST},
        {"point smooth hint", GL_POINT_SMOOTH_HINT, GL_NICEST},
        {"line smooth hint", GL_LINE_SMOOTH_HINT, GL_NICEST},
        {"polygon smooth hint", GL_POLYGON_SMOOTH_HINT, GL_NICEST},
        {"blend source", GL_BLEND_SRC, GL_SRC_ALPHA},
        {"blend destination", GL_BLEND_DST, GL_ONE_MINUS_SRC_ALPHA},
        {"alpha function", GL_ALPHA_TEST_FUNC, GL_GREATER},
        {"unpack alignment", GL_UNPACK_ALIGNMENT, 1},
        {"matrix mode", GL_MATRIX_MODE, GL_MODELVIEW},
    });

    GLfloat clearColor[4] = {};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColor);
    EXPECT_EQ(std::vector<float>(clearColor, clearColor + 4),
              (std::vector<float>{0.0f, 0.0f, 0.0f, 0.5f}));
    GLfloat alphaReference = -1.0f;
    glGetFloatv(GL_ALPHA_TEST_REF, &alphaReference);
    EXPECT_EQ(alphaReference, 0.0f);
    GLint viewport[4] = {};
    GLint scissor[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_SCISSOR_BOX, scissor);
    const std::vector<GLint> wholeWindow = {0, 0, windowWidth, windowHeight};
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), wholeWindow);
    EXPECT_EQ(std::vector<GLint>(scissor, scissor + 4), wholeWindow);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GraphicsWindowTest, OpensCentredOnTheDesktopAndStartsTheInputLibraryWithIt) {
    int width = 0;
    int height = 0;
    GetScreenSize(&width, &height);
    EXPECT_EQ(width, screenWidth);
    EXPECT_EQ(height, screenHeight);
    int x = 0;
    int y = 0;
    SDL_GetWindowPosition(OurWindow(), &x, &y);
    EXPECT_EQ(x, (screenWidth - windowWidth) / 2);
    EXPECT_EQ(y, (screenHeight - windowHeight) / 2);
    GetWindowSize(&width, &height);
    EXPECT_EQ(width, windowWidth);
    EXPECT_EQ(height, windowHeight);
    EXPECT_EQ(TactilWindow(), GetGraphicsWindowHandle());
    EXPECT_NE(TactilInstance(), nullptr);
    EXPECT_EQ(TactilInstance(), GetGraphicsWindowInstance());
}

TEST_F(GraphicsWindowTest, MousePositionIsClientRelativeAndNegativeOutside) {
    int windowX = 0;
    int windowY = 0;
    SDL_GetWindowPosition(OurWindow(), &windowX, &windowY);
    ASSERT_GT(windowX, 20);
    ASSERT_GT(windowY, 20);

    SDL_WarpMouseInWindow(OurWindow(), 5, 7);
    int x = 0;
    int y = 0;
    GetMousePosition(&x, &y);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 7);

    SDL_WarpMouseGlobal(windowX - 20, windowY - 10);
    GetMousePosition(&x, &y);
    EXPECT_EQ(x, -20);
    EXPECT_EQ(y, -10);
}

TEST(GraphicsFullscreen, OfferedModeSwitchesAndEscapeGivesTheDesktopBack) {
    const auto &messages = RecordMessageBoxes();
    ASSERT_EQ(InitGraph(screenWidth, screenHeight, 1, "fullscreen"), 1);
    EXPECT_TRUE(messages.empty());
    EXPECT_NE(SDL_GetWindowFlags(OurWindow()) & SDL_WINDOW_FULLSCREEN, 0u);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);

    for (int escape = 1; escape <= 2; ++escape) {
        DrainEvents();
        SDL_Event key = KeyDown(SDLK_ESCAPE);
        SDL_PushEvent(&key);
        EXPECT_EQ(UpdateScreen(), 1);
        EXPECT_EQ(SDL_GetWindowFlags(OurWindow()) & SDL_WINDOW_FULLSCREEN, 0u);
        EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
        // Without a window manager there is no frame: the client area is the outer window.
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        SDL_GetWindowPosition(OurWindow(), &x, &y);
        GetWindowSize(&width, &height);
        EXPECT_EQ(x, 100) << "after escape " << escape;
        EXPECT_EQ(y, 100) << "after escape " << escape;
        EXPECT_EQ(width, screenWidth) << "after escape " << escape;
        EXPECT_EQ(height, screenHeight) << "after escape " << escape;
        SDL_SetWindowPosition(OurWindow(), 300, 300);
    }
}

#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
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

void PushWindowEvent(Uint8 windowEvent) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = windowEvent;
    event.window.windowID = SDL_GetWindowID(OurWindow());
    SDL_PushEvent(&event);
}

void PushEscapeKey() {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = SDLK_ESCAPE;
    event.key.state = SDL_PRESSED;
    SDL_PushEvent(&event);
}

// Drops what the window system queued while the window came up, so a test sees only its events.
void DrainEvents() {
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

std::vector<std::string> Texts(const std::vector<RecordedMessage> &messages) {
    std::vector<std::string> texts;
    for (const RecordedMessage &message : messages) texts.push_back(message.text);
    return texts;
}

}  // namespace

TEST(GraphicsBeforeStart, QueriesAreHarmlessAndTheFrameLoopReportsNoWindow) {
    EXPECT_EQ(GetGraphicsWindowHandle(), nullptr);
    EXPECT_EQ(GetGraphicsWindowInstance(), nullptr);
    int width = -1;
    int height = -1;
    GetWindowSize(&width, &height);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
    GetMousePosition(nullptr, nullptr);
    const int polls = TactilPollCount();
    EXPECT_EQ(UpdateScreen(), 0);
    EXPECT_EQ(TactilPollCount(), polls + 1);
}

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

TEST_F(GraphicsWindowTest, StartsTheInputLibraryWithWindowAndInstance) {
    EXPECT_NE(GetGraphicsWindowHandle(), nullptr);
    EXPECT_NE(GetGraphicsWindowInstance(), nullptr);
    EXPECT_EQ(TactilInitCount(), 1);
    EXPECT_EQ(TactilWindow(), GetGraphicsWindowHandle());
    EXPECT_EQ(TactilInstance(), GetGraphicsWindowInstance());
}

TEST_F(GraphicsWindowTest, SecondStartFailsWithTheRegistrationMessage) {
    EXPECT_EQ(InitGraph(200, 100, 0, "again"), 0);
    ASSERT_EQ(messages->size(), 1u);
    EXPECT_EQ(messages->front().text, "Failed To Register The Window Class.");
    EXPECT_EQ(messages->front().caption, "ERROR");
    EXPECT_NE(GetGraphicsWindowHandle(), nullptr) << "the running window must survive";
}

TEST_F(GraphicsWindowTest, UpdateScreenHandlesOneEventPerCall) {
    DrainEvents();
    for (int count = 0; count < 3; ++count) {
        SDL_Event event{};
        event.type = SDL_USEREVENT;
        SDL_PushEvent(&event);
    }
    EXPECT_EQ(UpdateScreen(), 1);
    EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_USEREVENT, SDL_USEREVENT), 2);
}

TEST_F(GraphicsWindowTest, QuitThatIsNoCloseRequestIsDropped) {
    DrainEvents();
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_EQ(UpdateScreen(), 1);
    EXPECT_EQ(UpdateScreen(), 1);
    EXPECT_NE(GetGraphicsWindowHandle(), nullptr);
}

TEST_F(GraphicsWindowTest, CloseRequestEndsTheFrameLoopButPollingGoesOn) {
    DrainEvents();
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    const int polls = TactilPollCount();
    EXPECT_EQ(UpdateScreen(), 0);
    EXPECT_EQ(GetGraphicsWindowHandle(), nullptr);
    EXPECT_EQ(UpdateScreen(), 0);
    EXPECT_EQ(TactilPollCount(), polls + 2);
    int width = -1;
    int height = -1;
    GetWindowSize(&width, &height);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
}

TEST_F(GraphicsWindowTest, EscapeInAWindowChangesNothing) {
    int xBefore = 0;
    int yBefore = 0;
    SDL_GetWindowPosition(OurWindow(), &xBefore, &yBefore);
    DrainEvents();
    PushEscapeKey();
    EXPECT_EQ(UpdateScreen(), 1);
    int x = 0;
    int y = 0;
    SDL_GetWindowPosition(OurWindow(), &x, &y);
    EXPECT_EQ(x, xBefore);
    EXPECT_EQ(y, yBefore);
    EXPECT_EQ(SDL_GetWindowFlags(OurWindow()) & SDL_WINDOW_BORDERLESS, 0u);
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

TEST(GraphicsStart, ScreenSizeIsTheDesktopMode) {
    int width = 0;
    int height = 0;
    GetScreenSize(&width, &height);
    EXPECT_EQ(width, screenWidth);
    EXPECT_EQ(height, screenHeight);
}

// Only exactly 1 asks for fullscreen; the window is centred with truncating integer division,
// negative when it is larger than the screen, and its client area is always the size asked for.
struct CentringCase {
    int width, height, fullscreen;
};

void PrintTo(const CentringCase &request, std::ostream *out) {
    *out << request.width << " x " << request.height << ", fullscreen " << request.fullscreen;
}

class GraphicsCentring : public ::testing::TestWithParam<CentringCase> {};

TEST_P(GraphicsCentring, CentresTheClientAreaOnTheScreen) {
    const CentringCase &request = GetParam();
    const auto &messages = RecordMessageBoxes();
    ASSERT_EQ(InitGraph(request.width, request.height, request.fullscreen, "centred"), 1);
    EXPECT_TRUE(messages.empty());
    int x = 0;
    int y = 0;
    SDL_GetWindowPosition(OurWindow(), &x, &y);
    EXPECT_EQ(x, (screenWidth - request.width) / 2);
    EXPECT_EQ(y, (screenHeight - request.height) / 2);
    int width = 0;
    int height = 0;
    GetWindowSize(&width, &height);
    EXPECT_EQ(width, request.width);
    EXPECT_EQ(height, request.height);
    EXPECT_EQ(SDL_GetWindowFlags(OurWindow()) & SDL_WINDOW_FULLSCREEN, 0u);
}

INSTANTIATE_TEST_SUITE_P(Requests, GraphicsCentring,
                         ::testing::Values(CentringCase{640, 480, 2}, CentringCase{641, 481, 0},
                                           CentringCase{2001, 1201, -1}),
                         [](const ::testing::TestParamInfo<CentringCase> &info) {
                             const CentringCase &request = info.param;
                             return std::to_string(request.width) + "x" +
                                    std::to_string(request.height) + "_fullscreen_" +
                                    (request.fullscreen < 0 ? "minus" : "") +
                                    std::to_string(std::abs(request.fullscreen));
                         });

TEST(GraphicsStart, TitleIsKeptUpToTheBufferAndCutOnACharacterBoundary) {
    RecordMessageBoxes();
    // 4,094 ASCII bytes and a two-byte character do not fit in 4,095 bytes.
    const std::string title = std::string(4094, 't') + "\xC3\xA9" + "tail";
    ASSERT_EQ(InitGraph(100, 100, 0, title.c_str()), 1);
    EXPECT_EQ(std::string(SDL_GetWindowTitle(OurWindow())), std::string(4094, 't'));
}

TEST(GraphicsStart, ShortTitleIsShownUnchangedAndNullGivesEmpty) {
    RecordMessageBoxes();
    ASSERT_EQ(InitGraph(100, 100, 0, nullptr), 1);
    EXPECT_EQ(std::string(SDL_GetWindowTitle(OurWindow())), "");
}

TEST(GraphicsFullscreen, OfferedModeSwitchesAndEscapeFramesTheWindowAt100) {
    const auto &messages = RecordMessageBoxes();
    ASSERT_EQ(InitGraph(screenWidth, screenHeight, 1, "fullscreen"), 1);
    EXPECT_TRUE(messages.empty());
    EXPECT_NE(SDL_GetWindowFlags(OurWindow()) & SDL_WINDOW_FULLSCREEN, 0u);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);

    for (int escape = 0; escape < 2; ++escape) {
        DrainEvents();
        PushEscapeKey();
        EXPECT_EQ(UpdateScreen(), 1);
        EXPECT_EQ(SDL_GetWindowFlags(OurWindow()) & SDL_WINDOW_FULLSCREEN, 0u);
        EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
        int x = 0;
        int y = 0;
        SDL_GetWindowPosition(OurWindow(), &x, &y);
        EXPECT_EQ(x, 100) << "after escape " << escape + 1;
        EXPECT_EQ(y, 100) << "after escape " << escape + 1;
        EXPECT_TRUE(graphicsState.Fullscreen) << "the start's request stays recorded";
        SDL_SetWindowPosition(OurWindow(), 300, 300);
    }
}

TEST(GraphicsFullscreen, RefusedModeAnsweredYesGivesAnUncentredWindow) {
    const auto &messages = RecordMessageBoxes(true);
    ASSERT_EQ(InitGraph(640, 480, 1, "refused"), 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text,
              "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed "
              "Mode Instead?");
    EXPECT_EQ(messages[0].caption, "OPENGL");
    EXPECT_EQ(messages[0].buttons, MessageButtons::YesNo);
    int x = -1;
    int y = -1;
    SDL_GetWindowPosition(OurWindow(), &x, &y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(SDL_GetWindowFlags(OurWindow()) & SDL_WINDOW_FULLSCREEN, 0u);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    EXPECT_FALSE(graphicsState.Fullscreen);
}

TEST(GraphicsFullscreen, RefusedModeAnsweredNoFailsAndKeepsTheRegistration) {
    const auto &messages = RecordMessageBoxes(false);
    EXPECT_EQ(InitGraph(640, 480, 1, "refused"), 0);
    EXPECT_EQ(Texts(messages), (std::vector<std::string>{
                                   "The Requested Fullscreen Mode Is Not Supported By\nYour Video "
                                   "Card. Use Windowed Mode Instead?",
                                   "Program Will Now Close."}));
    EXPECT_EQ(messages.back().caption, "ERROR");
    EXPECT_EQ(messages.back().icon, MessageIcon::Stop);
    EXPECT_EQ(GetGraphicsWindowHandle(), nullptr);
    EXPECT_EQ(InitGraph(100, 100, 0, "again"), 0);
    EXPECT_EQ(messages.back().text, "Failed To Register The Window Class.");
}

// A failing window-system step: what the start reports, and whether it cleans up so that a
// later start can succeed.
struct StartFailure {
    const char *name;
    void (*provoke)();
    std::vector<std::string> messages;
    bool tornDown;
};

void PrintTo(const StartFailure &failure, std::ostream *out) {
    *out << failure.name;
}

class GraphicsStartFailure : public ::testing::TestWithParam<StartFailure> {};

TEST_P(GraphicsStartFailure, ReportsAndLeavesTheRightState) {
    const StartFailure &failure = GetParam();
    const WindowSystem working = windowSystem;
    auto &messages = RecordMessageBoxes();
    failure.provoke();
    EXPECT_EQ(InitGraph(200, 100, 0, "failing"), 0);
    EXPECT_EQ(Texts(messages), failure.messages);
    EXPECT_EQ(messages.back().caption, "ERROR");
    for (size_t index = 0; index + 1 < messages.size(); ++index) {
        EXPECT_EQ(messages[index].caption, "SHUTDOWN ERROR");
    }
    EXPECT_EQ(TactilInitCount(), 0);
    if (failure.tornDown) {
        EXPECT_EQ(GetGraphicsWindowHandle(), nullptr);
        EXPECT_EQ(graphicsState.RenderContext, nullptr);
    }

    windowSystem = working;
    RecordMessageBoxes();
    messages.clear();
    const int restart = InitGraph(200, 100, 0, "restart");
    if (failure.tornDown) {
        EXPECT_EQ(restart, 1);
        EXPECT_TRUE(messages.empty());
    } else {
        EXPECT_EQ(restart, 0);
        EXPECT_EQ(Texts(messages),
                  (std::vector<std::string>{"Failed To Register The Window Class."}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, GraphicsStartFailure,
    ::testing::Values(
        StartFailure{"video",
                     [] { windowSystem.InitVideo = [](Uint32) { return -1; }; },
                     {"Failed To Register The Window Class."},
                     true},
        StartFailure{"pixel_format",
                     [] { windowSystem.SetGlAttribute = [](SDL_GLattr, int) { return -1; }; },
                     {"Can't Set The PixelFormat."},
                     true},
        StartFailure{"window",
                     [] {
                         windowSystem.CreateWindow = [](const char *, int, int, int, int, Uint32) {
                             return static_cast<SDL_Window *>(nullptr);
                         };
                     },
                     {"Window Creation Error."},
                     false},
        StartFailure{"device_context",
                     [] { windowSystem.ConnectDisplay = [](SDL_Window *) { return false; }; },
                     {"Can't Create A GL Device Context."},
                     false},
        StartFailure{"rendering_context",
                     [] {
                         windowSystem.CreateContext = [](SDL_Window *) {
                             return static_cast<SDL_GLContext>(nullptr);
                         };
                     },
                     {"Can't Create A GL Rendering Context."},
                     true},
        StartFailure{"activation",
                     [] {
                         windowSystem.MakeCurrent = [](SDL_Window *window, SDL_GLContext context) {
                             return context != nullptr ? -1 : SDL_GL_MakeCurrent(window, context);
                         };
                     },
                     {"Can't Activate The GL Rendering Context."},
                     true},
        StartFailure{
            "activation_and_release",
            [] { windowSystem.MakeCurrent = [](SDL_Window *, SDL_GLContext) { return -1; }; },
            {"Release Of DC And RC Failed.", "Can't Activate The GL Rendering Context."},
            true}),
    [](const ::testing::TestParamInfo<StartFailure> &info) {
        return std::string(info.param.name);
    });

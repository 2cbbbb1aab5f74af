// The window's start, frame loop and window procedure on the null back end: where the window goes,
// what each start failure reports and leaves behind, and what each event does. What needs pixels
// or a real window system is in Window_test.cpp.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "Graphics.h"
#include "GraphicsState.h"
#include "NullBackEnd.h"
#include "TactilProbe.h"

namespace {

using graphics::BackEndContext;
using graphics::BackEndWindow;
using graphics::FrameBorders;
using graphics::graphicsState;
using graphics::GraphicsState;
using graphics::MessageButtons;
using graphics::MessageIcon;
using graphics::WindowEvent;

const std::string kFullscreenQuestion =
    "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode "
    "Instead?";

std::vector<std::string> Texts(const std::vector<RecordedMessage> &messages) {
    std::vector<std::string> texts;
    for (const RecordedMessage &message : messages) texts.push_back(message.Text);
    return texts;
}

struct ClientRect {
    int X, Y, Width, Height;
    bool operator==(const ClientRect &) const = default;
};
void PrintTo(const ClientRect &rect, std::ostream *out) {
    *out << rect.Width << " x " << rect.Height << " at (" << rect.X << ", " << rect.Y << ")";
}
ClientRect RectOf(const NullWindow &window) {
    return {window.X, window.Y, window.Width, window.Height};
}

using WindowLogicTest = NullBackEndTest;

TEST_F(WindowLogicTest, BeforeAnyStartQueriesAreHarmlessAndTheFrameLoopReportsNoWindow) {
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
    EXPECT_EQ(Display->Swaps, 0);
}

// Only exactly 1 asks for fullscreen; the window is centred with truncating integer division,
// negative when it is larger than the screen, and its client area is always the size asked for.
struct CentringCase {
    int Width, Height, Fullscreen;
    ClientRect Expected;
};

void PrintTo(const CentringCase &request, std::ostream *out) {
    *out << request.Width << " x " << request.Height << ", fullscreen " << request.Fullscreen;
}

class WindowCentring : public NullBackEndTest,
                       public ::testing::WithParamInterface<CentringCase> {};

TEST_P(WindowCentring, CentresTheClientAreaAndStartsTheInputLibraryWithIt) {
    const CentringCase &request = GetParam();
    ASSERT_EQ(InitGraph(request.Width, request.Height, request.Fullscreen, "centred"), 1);
    EXPECT_TRUE(Messages->empty());
    ASSERT_TRUE(Display->Window.has_value());
    EXPECT_EQ(RectOf(*Display->Window), request.Expected);
    EXPECT_FALSE(Display->Window->Fullscreen);
    EXPECT_TRUE(Display->Window->Shown);
    EXPECT_TRUE(Display->ContextCurrent);
    EXPECT_TRUE(Display->SwapWaitsForDisplay);
    EXPECT_EQ(TactilWindow(), GetGraphicsWindowHandle());
    EXPECT_NE(TactilInstance(), nullptr);
    EXPECT_EQ(TactilInstance(), GetGraphicsWindowInstance());
}

INSTANTIATE_TEST_SUITE_P(Requests, WindowCentring,
                         ::testing::Values(CentringCase{640, 480, 2, {640, 300, 640, 480}},
                                           CentringCase{641, 481, 0, {639, 299, 641, 481}},
                                           CentringCase{2001, 1201, -1, {-40, -60, 2001, 1201}}),
                         [](const ::testing::TestParamInfo<CentringCase> &info) {
                             const CentringCase &request = info.param;
                             return std::to_string(request.Width) + "x" +
                                    std::to_string(request.Height) + "_fullscreen_" +
                                    (request.Fullscreen < 0 ? "minus" : "") +
                                    std::to_string(std::abs(request.Fullscreen));
                         });

TEST_F(WindowLogicTest, TitleIsKeptUpToTheBufferAndCutOnACharacterBoundary) {
    struct Case {
        const char *Name;
        std::string Title;
        bool Null;
        std::string Shown;
    };
    // 4,094 ASCII bytes and a two-byte character do not fit in 4,095 bytes.
    const std::vector<Case> cases = {
        {"short", "h\xC3\xA9llo", false, "h\xC3\xA9llo"},
        {"too long", std::string(4094, 't') + "\xC3\xA9" + "tail", false, std::string(4094, 't')},
        {"exactly the buffer", std::string(4095, 'u'), false, std::string(4095, 'u')},
        {"null", "", true, ""},
    };
    for (const Case &c : cases) {
        Restart();
        ASSERT_EQ(InitGraph(100, 100, 0, c.Null ? nullptr : c.Title.c_str()), 1) << c.Name;
        EXPECT_EQ(Display->Window->Title, c.Shown) << c.Name;
    }
}

TEST_F(WindowLogicTest, SecondStartFailsWithTheRegistrationMessageAndKeepsTheWindow) {
    ASSERT_EQ(InitGraph(320, 240, 0, "first"), 1);
    EXPECT_EQ(InitGraph(200, 100, 0, "again"), 0);
    ASSERT_EQ(Messages->size(), 1u);
    EXPECT_EQ(Messages->front().Text, "Failed To Register The Window Class.");
    EXPECT_EQ(Messages->front().Caption, "ERROR");
    ASSERT_TRUE(Display->Window.has_value());
    EXPECT_EQ(Display->Window->Title, "first");
    EXPECT_EQ(UpdateScreen(), 1);
}

TEST_F(WindowLogicTest, EachUpdateScreenHandlesOneEventAndOnlyACloseRequestEndsTheLoop) {
    ASSERT_EQ(InitGraph(320, 240, 0, "events"), 1);
    const ClientRect placed = RectOf(*Display->Window);
    // A quit that is no close request, an unknown event and Escape in a window change nothing.
    Display->Events = {WindowEvent::Quit, WindowEvent::Other, WindowEvent::EscapeDown,
                       WindowEvent::CloseRequest, WindowEvent::Other};
    for (size_t left = 4; left >= 2; --left) {
        EXPECT_EQ(UpdateScreen(), 1);
        EXPECT_EQ(Display->Events.size(), left);
        ASSERT_TRUE(Display->Window.has_value());
        EXPECT_EQ(RectOf(*Display->Window), placed);
    }
    EXPECT_EQ(Display->Swaps, 3);

    const int polls = TactilPollCount();
    EXPECT_EQ(UpdateScreen(), 0);
    EXPECT_EQ(GetGraphicsWindowHandle(), nullptr);
    EXPECT_FALSE(Display->Window.has_value());
    ASSERT_TRUE(Display->LastDestroyed.has_value());
    EXPECT_TRUE(Display->LastDestroyed->Minimized) << "a close request minimises first";
    EXPECT_EQ(UpdateScreen(), 0);
    EXPECT_EQ(TactilPollCount(), polls + 2) << "the input library still polls every frame";
    EXPECT_EQ(Display->Swaps, 3);
    EXPECT_EQ(Display->Events.size(), 1u) << "no window, no events taken";
    int width = -1;
    int height = -1;
    GetWindowSize(&width, &height);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
}

// A program that goes on calling UpdateScreen long after the close is told once how to end; one
// that never had a window, or stops soon after the close, hears nothing.
TEST_F(WindowLogicTest, AFrameLoopThatIgnoresTheCloseIsToldOnceHowToEnd) {
    const std::string advice =
        "the window was closed: UpdateScreen returns 0; end the frame loop when it does\n";
    struct Case {
        const char *Name;
        bool Start;
        int CallsAfterClose;  // the call that takes the close request counts as the first
        std::string Expected;
    };
    const std::vector<Case> cases = {
        {"never started", false, 500, ""},
        {"stops soon after the close", true, 99, ""},
        {"ignores the close", true, 100, advice},
        {"keeps ignoring it", true, 1000, advice},
    };
    for (const Case &c : cases) {
        Restart();
        if (c.Start) {
            ASSERT_EQ(InitGraph(320, 240, 0, "closed"), 1) << c.Name;
        }
        Display->Events = {WindowEvent::CloseRequest};
        testing::internal::CaptureStderr();
        for (int call = 0; call < c.CallsAfterClose; ++call) ASSERT_EQ(UpdateScreen(), 0) << c.Name;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.Expected) << c.Name;
    }
}

// A frame's worth of the driver's command blocks, freed at the end of the frame, stays in the
// heap for the next frame instead of going back to the system and being faulted in again.
TEST_F(WindowLogicTest, FreedFrameMemoryStaysInTheHeapForTheNextFrame) {
    ASSERT_EQ(InitGraph(320, 240, 0, "heap"), 1);
    std::vector<void *> blocks(400);
    for (void *&block : blocks) block = std::malloc(64 << 10);
    const void *top = sbrk(0);
    for (void *block : blocks) std::free(block);
    EXPECT_EQ(sbrk(0), top);
}

// Escape from fullscreen: the frame goes to (100, 100) with the outer size unchanged, so the
// client area shrinks by the frame, and a second Escape does the same again.
TEST_F(WindowLogicTest, EscapeFramesTheFullscreenWindowAt100KeepingItsOuterSize) {
    struct Case {
        const char *Name;
        int Width, Height;
        FrameBorders Frame;
        ClientRect Expected;
    };
    const std::vector<Case> cases = {
        {"no window manager", 1920, 1080, {}, {100, 100, 1920, 1080}},
        {"title bar and border", 1920, 1080, {1, 20, 1, 5}, {101, 120, 1918, 1055}},
        {"frame wider than the window", 640, 480, {400, 30, 400, 10}, {500, 130, 1, 440}},
    };
    for (const Case &c : cases) {
        Restart();
        Display->FullscreenModes = {{c.Width, c.Height}};
        Display->Frame = c.Frame;
        ASSERT_EQ(InitGraph(c.Width, c.Height, 1, "fullscreen"), 1) << c.Name;
        EXPECT_TRUE(Messages->empty()) << c.Name;
        EXPECT_TRUE(Display->Window->Fullscreen) << c.Name;
        EXPECT_FALSE(Display->CursorVisible) << c.Name;

        for (int escape = 1; escape <= 2; ++escape) {
            Display->Events = {WindowEvent::EscapeDown};
            EXPECT_EQ(UpdateScreen(), 1);
            const NullWindow &window = *Display->Window;
            EXPECT_FALSE(window.Fullscreen) << c.Name << ", escape " << escape;
            EXPECT_TRUE(window.Framed) << c.Name << ", escape " << escape;
            EXPECT_TRUE(Display->CursorVisible) << c.Name << ", escape " << escape;
            EXPECT_EQ(RectOf(window), c.Expected) << c.Name << ", escape " << escape;
            EXPECT_TRUE(graphicsState.Fullscreen) << "the start's request stays recorded";
            Display->Window->X = 300;
            Display->Window->Y = 300;
        }
    }
}

TEST_F(WindowLogicTest, RefusedFullscreenModeAnsweredYesGivesAnUncentredWindow) {
    ASSERT_EQ(InitGraph(640, 480, 1, "refused"), 1);
    ASSERT_EQ(Messages->size(), 1u);
    EXPECT_EQ(Messages->front().Text, kFullscreenQuestion);
    EXPECT_EQ(Messages->front().Caption, "OPENGL");
    EXPECT_EQ(Messages->front().Buttons, MessageButtons::YesNo);
    EXPECT_EQ(RectOf(*Display->Window), (ClientRect{0, 0, 640, 480}));
    EXPECT_FALSE(Display->Window->Fullscreen);
    EXPECT_TRUE(Display->CursorVisible);
    EXPECT_FALSE(graphicsState.Fullscreen);
}

TEST_F(WindowLogicTest, RefusedFullscreenModeAnsweredNoFailsAndKeepsTheRegistration) {
    Restart(false);
    EXPECT_EQ(InitGraph(640, 480, 1, "refused"), 0);
    EXPECT_EQ(Texts(*Messages),
              (std::vector<std::string>{kFullscreenQuestion, "Program Will Now Close."}));
    EXPECT_EQ(Messages->back().Caption, "ERROR");
    EXPECT_EQ(Messages->back().Icon, MessageIcon::Stop);
    EXPECT_FALSE(Display->Window.has_value());
    EXPECT_EQ(InitGraph(100, 100, 0, "again"), 0);
    EXPECT_EQ(Messages->back().Text, "Failed To Register The Window Class.");
}

// A failing step of a fullscreen start: what the start reports, and whether it cleans up so that
// a later start can succeed.
struct StartFailure {
    const char *Name;
    void (*Provoke)();
    std::vector<std::string> Messages;
    bool TornDown;
};

void PrintTo(const StartFailure &failure, std::ostream *out) {
    *out << failure.Name;
}

class WindowStartFailure : public NullBackEndTest,
                           public ::testing::WithParamInterface<StartFailure> {};

TEST_P(WindowStartFailure, ReportsAndLeavesTheRightState) {
    const StartFailure &failure = GetParam();
    failure.Provoke();
    const int starts = TactilInitCount();
    EXPECT_EQ(InitGraph(1920, 1080, 1, "failing"), 0);
    EXPECT_EQ(Texts(*Messages), failure.Messages);
    EXPECT_EQ(Messages->back().Caption, "ERROR");
    for (size_t index = 0; index + 1 < Messages->size(); ++index) {
        EXPECT_EQ((*Messages)[index].Caption, "SHUTDOWN ERROR");
    }
    EXPECT_EQ(TactilInitCount(), starts);
    // Without teardown the hidden cursor of the fullscreen start stays hidden.
    EXPECT_EQ(Display->CursorVisible, failure.TornDown);
    if (failure.TornDown) {
        EXPECT_FALSE(Display->Window.has_value());
        EXPECT_EQ(Display->LiveContexts, 0);
        EXPECT_EQ(graphicsState.RenderContext, nullptr);
    }

    // The same process with a working display: the registration decides.
    const GraphicsState left = graphicsState;
    Restart();
    graphicsState.ClassRegistered = left.ClassRegistered;
    const int restart = InitGraph(200, 100, 0, "restart");
    if (failure.TornDown) {
        EXPECT_EQ(restart, 1);
        EXPECT_TRUE(Messages->empty());
    } else {
        EXPECT_EQ(restart, 0);
        EXPECT_EQ(Texts(*Messages),
                  (std::vector<std::string>{"Failed To Register The Window Class."}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, WindowStartFailure,
    ::testing::Values(
        StartFailure{"video",
                     [] { graphics::backEnd.StartVideo = [] { return false; }; },
                     {"Failed To Register The Window Class."},
                     true},
        StartFailure{"pixel_format",
                     [] { graphics::backEnd.RequestPixelFormat = [] { return false; }; },
                     {"Can't Set The PixelFormat."},
                     true},
        StartFailure{"window",
                     [] {
                         graphics::backEnd.CreateWindow = [](const char *, int, int, int, int,
                                                             bool) -> BackEndWindow * {
                             return nullptr;
                         };
                     },
                     {"Window Creation Error."},
                     false},
        StartFailure{
            "device_context",
            [] { graphics::backEnd.ConnectDisplay = [](BackEndWindow *) { return false; }; },
            {"Can't Create A GL Device Context."},
            false},
        StartFailure{"rendering_context",
                     [] {
                         graphics::backEnd.CreateContext = [](BackEndWindow *) -> BackEndContext * {
                             return nullptr;
                         };
                     },
                     {"Can't Create A GL Rendering Context."},
                     true},
        StartFailure{"activation",
                     [] {
                         graphics::backEnd.MakeCurrent = [](BackEndWindow *,
                                                            BackEndContext *context) {
                             return context == nullptr;
                         };
                     },
                     {"Can't Activate The GL Rendering Context."},
                     true},
        StartFailure{"activation_and_release",
                     [] {
                         graphics::backEnd.MakeCurrent = [](BackEndWindow *, BackEndContext *) {
                             return false;
                         };
                     },
                     {"Release Of DC And RC Failed.", "Can't Activate The GL Rendering Context."},
                     true}),
    [](const ::testing::TestParamInfo<StartFailure> &info) {
        return std::string(info.param.Name);
    });

}  // namespace

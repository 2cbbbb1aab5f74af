// The window on a real X server (Xvfb, no window manager): where SDL puts the window, the pointer
// as the server reports it, which events SDL keeps queued, and fullscreen. The window logic itself
// is tested on the null back end (WindowLogic_test.cpp).
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Graphics.h"
#include "GraphicsTestSupport.h"
#include "TactilProbe.h"

// Last: X11's None macro breaks the templates of the test framework.
#include "QueuedUserInput.h"

namespace {

constexpr int kScreenWidth = 1920;  // the Xvfb screen the test command starts
constexpr int kScreenHeight = 1080;

SDL_Window *OurWindow() {
    return static_cast<SDL_Window *>(GetGraphicsWindowHandle());
}

SDL_Event KeyDownEvent(SDL_Keycode key) {
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

int QueuedEvents() {
    return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
}

}  // namespace

TEST_F(GraphicsWindowTest, OpensCentredOnTheDesktopAndStartsTheInputLibraryWithIt) {
    int width = 0;
    int height = 0;
    GetScreenSize(&width, &height);
    EXPECT_EQ(width, kScreenWidth);
    EXPECT_EQ(height, kScreenHeight);
    int x = 0;
    int y = 0;
    SDL_GetWindowPosition(OurWindow(), &x, &y);
    EXPECT_EQ(x, (kScreenWidth - kWindowWidth) / 2);
    EXPECT_EQ(y, (kScreenHeight - kWindowHeight) / 2);
    GetWindowSize(&width, &height);
    EXPECT_EQ(width, kWindowWidth);
    EXPECT_EQ(height, kWindowHeight);
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

// The input library reads its events through a filter in front of the library's; what neither
// reads must not stay queued in front of the events the frame loop handles.
TEST_F(GraphicsWindowTest, OnlyTheEventsTheFrameLoopActsOnStayQueued) {
    struct Case {
        const char *Name;
        SDL_Event Event;
        bool Kept;
    };
    auto ofType = [](Uint32 type) {
        SDL_Event event{};
        event.type = type;
        return event;
    };
    SDL_Event exposed = ofType(SDL_WINDOWEVENT);
    exposed.window.event = SDL_WINDOWEVENT_EXPOSED;
    exposed.window.windowID = SDL_GetWindowID(OurWindow());
    SDL_Event escapeUp = KeyDownEvent(SDLK_ESCAPE);
    escapeUp.type = SDL_KEYUP;
    escapeUp.key.state = SDL_RELEASED;
    const std::vector<Case> cases = {
        {"window event", exposed, true},
        {"quit", ofType(SDL_QUIT), true},
        {"escape down", KeyDownEvent(SDLK_ESCAPE), true},
        {"escape up", escapeUp, false},
        {"other key down", KeyDownEvent(SDLK_a), false},
        {"pointer motion", ofType(SDL_MOUSEMOTION), false},
        {"button down", ofType(SDL_MOUSEBUTTONDOWN), false},
        {"wheel", ofType(SDL_MOUSEWHEEL), false},
        {"text input", ofType(SDL_TEXTINPUT), false},
        {"user event", ofType(SDL_USEREVENT), false},
    };
    for (Case c : cases) {
        DrainEvents();
        SDL_PushEvent(&c.Event);
        EXPECT_EQ(QueuedEvents(), c.Kept ? 1 : 0) << c.Name;
        EXPECT_EQ(UpdateScreen(), 1) << c.Name;
        EXPECT_EQ(QueuedEvents(), 0) << c.Name;
    }
}

// Stands for the input library: records pointer moves, then asks the library's filter.
struct InputLibraryFilter {
    SDL_EventFilter Next = nullptr;
    void *NextData = nullptr;
    int Moves = 0;

    static int Filter(void *data, SDL_Event *event) {
        auto *self = static_cast<InputLibraryFilter *>(data);
        if (event->type == SDL_MOUSEMOTION) ++self->Moves;
        return self->Next(self->NextData, event);
    }
};

TEST_F(GraphicsWindowTest, CloseRequestBehindThousandsOfPointerMovesEndsTheLoopAtOnce) {
    InputLibraryFilter input;
    ASSERT_TRUE(SDL_GetEventFilter(&input.Next, &input.NextData)) << "no filter installed";
    SDL_SetEventFilter(InputLibraryFilter::Filter, &input);

    constexpr int kMoves = 3000;
    ASSERT_TRUE(QueuePointerMovesThenCloseRequest(kMoves));

    // 0.2 s at 60 frames per second; one event per frame would take 3,000.
    constexpr int kFrameBound = 12;
    int frames = 1;
    while (UpdateScreen() != 0 && frames < kFrameBound) ++frames;
    EXPECT_LT(frames, kFrameBound) << "the close request was not answered";
    EXPECT_EQ(GetGraphicsWindowHandle(), nullptr);
    EXPECT_GE(input.Moves, kMoves - 1) << "the input library sees every move";
}

TEST(GraphicsFullscreen, OfferedModeSwitchesAndEscapeGivesTheDesktopBack) {
    const auto &messages = RecordMessageBoxes();
    ASSERT_EQ(InitGraph(kScreenWidth, kScreenHeight, 1, "fullscreen"), 1);
    EXPECT_TRUE(messages.empty());
    EXPECT_NE(SDL_GetWindowFlags(OurWindow()) & SDL_WINDOW_FULLSCREEN, 0u);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);

    for (int escape = 1; escape <= 2; ++escape) {
        DrainEvents();
        SDL_Event key = KeyDownEvent(SDLK_ESCAPE);
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
        EXPECT_EQ(width, kScreenWidth) << "after escape " << escape;
        EXPECT_EQ(height, kScreenHeight) << "after escape " << escape;
        SDL_SetWindowPosition(OurWindow(), 300, 300);
    }
}

// Real key and button events, sent through the X server's test extension as a user's hands would
// send them, to a Graphics window whose frame loop feeds the input library. Each case is its own
// process; the cases run alone because the events go to whichever window has the focus.
#include <gtest/gtest.h>

// After GoogleTest: Xlib's macros (None, Bool) would clash with its names.
#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <climits>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Graphics.h"
#include "GraphicsTestSupport.h"
#include "Tactil.h"

namespace {

// Presses and releases through XTest, aimed at one window it gives the focus to. What a case
// leaves held is let go at its end: the X server outlives the test process.
class FakeInput {
  public:
    explicit FakeInput(SDL_Window *window) : Connection(XOpenDisplay(nullptr)), Window(window) {
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (Connection == nullptr || !SDL_GetWindowWMInfo(Window, &info)) return;
        XSetInputFocus(Connection, info.info.x11.window, RevertToPointerRoot, CurrentTime);
        Deliver();
        // SDL takes a click that comes within 10 ms of the focus for the click that gave it.
        SDL_Delay(20);
    }
    ~FakeInput() {
        if (Connection == nullptr) return;
        for (auto [button, code] : std::set(Held)) Send(button, code, false);
        XCloseDisplay(Connection);
    }

    bool Ready() const { return Connection != nullptr; }
    void Key(KeySym key, bool down) { Send(false, XKeysymToKeycode(Connection, key), down); }
    void Tap(KeySym key) {
        Key(key, true);
        Key(key, false);
    }
    void Button(unsigned button, bool down) { Send(true, button, down); }
    void Unfocus() { XSetInputFocus(Connection, None, RevertToNone, CurrentTime); }

    // Nudges the pointer and lets SDL take events in until it has seen the nudge: the server
    // sends the window its events in order, so everything sent before has been taken in too.
    void Deliver() {
        Nudge = Nudge == 10 ? 11 : 10;
        int windowX = 0;
        int windowY = 0;
        SDL_GetWindowPosition(Window, &windowX, &windowY);
        XTestFakeMotionEvent(Connection, -1, windowX + Nudge, windowY + Nudge, CurrentTime);
        XSync(Connection, False);
        for (int attempt = 0; attempt < 2000; ++attempt) {
            SDL_PumpEvents();
            int x = 0;
            int y = 0;
            SDL_GetMouseState(&x, &y);
            if (x == Nudge && y == Nudge) return;
            SDL_Delay(1);
        }
        ADD_FAILURE() << "the window never saw the pointer move";
    }

  private:
    void Send(bool button, unsigned code, bool down) {
        ASSERT_NE(code, 0u) << "no key for that keysym";
        if (button) {
            XTestFakeButtonEvent(Connection, code, down, CurrentTime);
        } else {
            XTestFakeKeyEvent(Connection, code, down, CurrentTime);
        }
        if (down) {
            Held.insert({button, code});
        } else {
            Held.erase({button, code});
        }
    }

    Display *Connection;
    SDL_Window *Window;
    int Nudge = 0;
    std::set<std::pair<bool, unsigned>> Held;
};

class TactilTest : public GraphicsWindowTest {
  protected:
    void SetUp() override {
        GraphicsWindowTest::SetUp();
        Fake = std::make_unique<FakeInput>(static_cast<SDL_Window *>(GetGraphicsWindowHandle()));
        ASSERT_TRUE(Fake->Ready());
        Frame();
    }

    // One frame of a program's loop, with everything sent so far arrived.
    int Frame() {
        if (GetGraphicsWindowHandle() != nullptr) Fake->Deliver();
        return UpdateScreen();
    }

    std::unique_ptr<FakeInput> Fake;
};

// "down pressed released" of a key or a mouse button.
std::string Answers(bool button, int code) {
    const int down = button ? MouseButtonDown(code) : KeyDown(code);
    const int pressed = button ? MouseButtonPressed(code) : KeyPressed(code);
    const int released = button ? MouseButtonReleased(code) : KeyReleased(code);
    return std::to_string(down) + std::to_string(pressed) + std::to_string(released);
}

}  // namespace

TEST(TactilBeforeStart, EveryQueryAnswersNothing) {
    DirectInputPoll();
    const int codes[] = {KEY_A, 'a', KEY_F12, 0, -1, INT_MIN, INT_MAX};
    for (int code : codes) {
        EXPECT_EQ(KeyDown(code) + KeyPressed(code) + KeyReleased(code), 0) << code;
        EXPECT_EQ(MouseButtonDown(code) + MouseButtonPressed(code) + MouseButtonReleased(code), 0);
    }
    EXPECT_EQ(MouseWheelMoved(), 0);
    EXPECT_STREQ(TypedText(), "");
}

TEST_F(TactilTest, KeysAndButtonsAnswerForOneFrameAndATapCountsOnce) {
    const struct {
        const char *Name;
        bool Button;
        int Code;  // asked for; a key is sent as A
    } controls[] = {
        {"A", false, KEY_A},          {"a", false, 'a'},
        {"left", true, MOUSE_LEFT},   {"middle", true, MOUSE_MIDDLE},
        {"right", true, MOUSE_RIGHT},
    };
    const struct {
        const char *Step;
        std::vector<bool> Sent;
        const char *Answers;
    } steps[] = {
        {"went down", {true}, "110"}, {"held", {}, "100"},
        {"went up", {false}, "001"},  {"tapped between two frames", {true, false}, "011"},
        {"after the tap", {}, "000"},
    };
    for (const auto &control : controls) {
        for (const auto &step : steps) {
            for (bool down : step.Sent) {
                if (control.Button) {
                    Fake->Button(static_cast<unsigned>(control.Code), down);
                } else {
                    Fake->Key(XK_a, down);
                }
            }
            Frame();
            EXPECT_EQ(Answers(control.Button, control.Code), step.Answers)
                << control.Name << " " << step.Step;
        }
    }
}

TEST_F(TactilTest, NamedKeysAnswerToTheirCodes) {
    const struct {
        KeySym Keysym;
        int Key;
    } keys[] = {
        // clang-format off
        {XK_Left, KEY_LEFT}, {XK_Down, KEY_DOWN}, {XK_space, KEY_SPACE}, {XK_Return, KEY_RETURN},
        {XK_KP_Enter, KEY_RETURN}, {XK_Escape, KEY_ESCAPE}, {XK_Tab, KEY_TAB},
        {XK_BackSpace, KEY_BACKSPACE}, {XK_Delete, KEY_DELETE}, {XK_Page_Down, KEY_PAGE_DOWN},
        {XK_Shift_R, KEY_SHIFT}, {XK_Control_L, KEY_CTRL}, {XK_Alt_L, KEY_ALT},
        {XK_F1, KEY_F1}, {XK_F12, KEY_F12}, {XK_7, KEY_7}, {XK_z, KEY_Z},
        // clang-format on
    };
    for (const auto &named : keys) {
        Fake->Tap(named.Keysym);
        Frame();
        EXPECT_EQ(KeyPressed(named.Key), 1) << XKeysymToString(named.Keysym);
    }
}

TEST_F(TactilTest, WheelAndTypedTextAreThisFramesOnly) {
    for (unsigned wheel : {4u, 4u, 4u, 5u}) {  // three notches away from the user, one back
        Fake->Button(wheel, true);
        Fake->Button(wheel, false);
    }
    Fake->Key(XK_Shift_L, true);
    Fake->Tap(XK_h);
    Fake->Key(XK_Shift_L, false);
    for (KeySym key : {XK_i, XK_space, XK_5, XK_BackSpace}) Fake->Tap(key);
    Frame();
    EXPECT_EQ(MouseWheelMoved(), 2);
    EXPECT_STREQ(TypedText(), "Hi 5");
    Frame();
    EXPECT_EQ(MouseWheelMoved(), 0);
    EXPECT_STREQ(TypedText(), "");
}

TEST_F(TactilTest, AHeldKeyIsPressedOnceWhileTheKeyboardRepeatsIt) {
    Fake->Key(XK_a, true);
    std::string typed;
    int presses = 0;
    const Uint32 end = SDL_GetTicks() + 1500;  // beyond the server's repeat delay
    while (SDL_TICKS_PASSED(SDL_GetTicks(), end) == SDL_FALSE) {
        Frame();
        presses += KeyPressed(KEY_A);
        typed += TypedText();
        EXPECT_EQ(KeyDown(KEY_A), 1);
        SDL_Delay(10);
    }
    EXPECT_EQ(presses, 1);
    EXPECT_GT(typed.size(), 1u) << "the key should have repeated";
}

TEST_F(TactilTest, LosingTheFocusLetsGoOfKeysAndButtons) {
    Fake->Key(XK_Up, true);
    Fake->Button(1, true);
    Frame();
    ASSERT_EQ(KeyDown(KEY_UP) + MouseButtonDown(MOUSE_LEFT), 2);
    Fake->Unfocus();
    for (int frame = 0; frame < 200 && MouseButtonDown(MOUSE_LEFT); ++frame) Frame();
    EXPECT_EQ(MouseButtonReleased(MOUSE_LEFT), 1);
    EXPECT_EQ(KeyDown(KEY_UP), 0);
}

TEST_F(TactilTest, AfterTheWindowClosedEveryQueryAnswersNothing) {
    Fake->Key(XK_Right, true);
    Fake->Button(3, true);
    Fake->Tap(XK_x);
    Frame();
    ASSERT_EQ(KeyDown(KEY_RIGHT), 1);

    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = SDL_GetWindowID(static_cast<SDL_Window *>(GetGraphicsWindowHandle()));
    SDL_PushEvent(&close);
    Fake->Tap(XK_b);
    int frames = 0;
    while (Frame() != 0 && frames < 1000) ++frames;
    // Destroying the window lets go of the keys: no trace of that either.
    EXPECT_EQ(KeyDown(KEY_RIGHT) + KeyReleased(KEY_RIGHT) + KeyPressed(KEY_B), 0);
    EXPECT_EQ(MouseButtonDown(MOUSE_RIGHT) + MouseButtonReleased(MOUSE_RIGHT), 0);
    EXPECT_STREQ(TypedText(), "");
}

// The frame loop's own filter keeps only what it acts on; the input library sees everything in
// front of it and leaves that decision, and what was queued before it started, alone.
TEST(TactilBehindAFrameLoopFilter, RecordsWhatTheFilterDropsAndKeepsWhatItKeeps) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0);
    SDL_Window *window = SDL_CreateWindow("filter", 100, 100, 200, 100, 0);
    ASSERT_NE(window, nullptr);
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    SDL_SetEventFilter(
        [](void *, SDL_Event *event) {
            return int(event->type == SDL_WINDOWEVENT || event->type == SDL_USEREVENT ||
                       (event->type == SDL_KEYDOWN && event->key.keysym.sym == SDLK_ESCAPE));
        },
        nullptr);
    SDL_Event waiting{};
    waiting.type = SDL_USEREVENT;
    SDL_PushEvent(&waiting);

    InitDirectInput(window, nullptr);
    InitDirectInput(window, nullptr);  // a second start must not put the filter behind itself
    FakeInput fake(window);
    ASSERT_TRUE(fake.Ready());
    fake.Tap(XK_a);
    fake.Tap(XK_Escape);
    fake.Deliver();
    DirectInputPoll();

    EXPECT_EQ(KeyPressed(KEY_A) + KeyPressed(KEY_ESCAPE), 2);
    auto queued = [](Uint32 type) { return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, type, type); };
    EXPECT_EQ(queued(SDL_USEREVENT), 1) << "queued before the start";
    EXPECT_EQ(queued(SDL_KEYDOWN), 1) << "only Escape stays";
    EXPECT_EQ(queued(SDL_KEYUP) + queued(SDL_TEXTINPUT), 0);
}

// A back end without a display: it keeps what the library asked of it in a plain record, so the
// window logic (start steps and their failures, centring, title, events, close, Escape) runs
// without an X server. Nothing is drawn; OpenGL calls made without a context do nothing.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "GraphicsTestSupport.h"
#include "Platform.h"

struct NullWindow {
    std::string Title;
    int X = 0, Y = 0, Width = 0, Height = 0;  // the client area, in screen pixels
    bool Fullscreen = false;
    bool Framed = false;  // a framed window that is not fullscreen carries NullDisplay::frame
    bool Shown = false;
    bool Minimized = false;
};

struct NullDisplay {
    // What the display offers; the test may change it before InitGraph.
    bool VideoStarts = true;
    int ScreenWidth = 1920, ScreenHeight = 1080;
    std::vector<std::pair<int, int>> FullscreenModes = {{1920, 1080}};
    graphics::FrameBorders Frame;  // what the window manager draws around a framed window
    std::deque<graphics::WindowEvent> Events;

    // What the library made of it.
    std::optional<NullWindow> Window;         // the live window
    std::optional<NullWindow> LastDestroyed;  // the window as it was when destroyed
    bool CursorVisible = true;
    int LiveContexts = 0;
    bool ContextCurrent = false;
    bool SwapWaitsForDisplay = false;
    int Swaps = 0;
};

// Puts a fresh null display behind the back-end table and returns it.
NullDisplay &InstallNullBackEnd();

// Each test starts with the library as loaded, a fresh null display and recorded message boxes,
// so that the cases of one process stay apart.
class NullBackEndTest : public ::testing::Test {
  protected:
    void SetUp() override { Restart(); }

    // Forgets the previous start, as a new process would.
    void Restart(bool answerYes = true);

    NullDisplay *Display = nullptr;
    std::vector<RecordedMessage> *Messages = nullptr;
};

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
    std::string title;
    int x = 0, y = 0, width = 0, height = 0;  // the client area, in screen pixels
    bool fullscreen = false;
    bool framed = false;  // a framed window that is not fullscreen carries NullDisplay::frame
    bool shown = false;
    bool minimized = false;
};

struct NullDisplay {
    // What the display offers; the test may change it before InitGraph.
    bool videoStarts = true;
    int screenWidth = 1920, screenHeight = 1080;
    std::vector<std::pair<int, int>> fullscreenModes = {{1920, 1080}};
    graphics::FrameBorders frame;  // what the window manager draws around a framed window
    std::deque<graphics::WindowEvent> events;

    // What the library made of it.
    std::optional<NullWindow> window;         // the live window
    std::optional<NullWindow> lastDestroyed;  // the window as it was when destroyed
    bool cursorVisible = true;
    int liveContexts = 0;
    bool contextCurrent = false;
    bool swapWaitsForDisplay = false;
    int swaps = 0;
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

    NullDisplay *display = nullptr;
    std::vector<RecordedMessage> *messages = nullptr;
};

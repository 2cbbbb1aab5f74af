// Shared helpers for the graphics tests: each test is its own process with one window, message
// boxes are recorded instead of shown, and results are read back from the back buffer.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "Platform.h"

struct RecordedMessage {
    std::string Text;
    std::string Caption;
    graphics::MessageButtons Buttons;
    graphics::MessageIcon Icon;
};

// Replaces the message boxes of the current back end with a recorder, emptied; questions get the
// given answer.
std::vector<RecordedMessage> &RecordMessageBoxes(bool answerYes = true);

struct Rgb {
    int Red, Green, Blue;
    bool operator==(const Rgb &other) const = default;
};
std::ostream &operator<<(std::ostream &out, const Rgb &color);

// A palette entry's bytes as the 8-bit framebuffer stores them.
Rgb ToBytes(float red, float green, float blue);

// Colour of one pixel of the back buffer, in OpenGL window coordinates (origin bottom-left).
Rgb ReadPixel(int x, int y);
// Pixels of a rectangle of the back buffer, row by row from the bottom.
std::vector<Rgb> ReadRegion(int x, int y, int width, int height);

// OpenGL state expected by name, checked as one table with a readable message per row.
struct ExpectedInteger {
    const char *Name;
    unsigned int Parameter;  // for glGetIntegerv
    int Value;
};
void ExpectIntegers(std::initializer_list<ExpectedInteger> expectations);

// Opens a windowed 320 x 240 window before each test; message boxes are recorded.
class GraphicsWindowTest : public ::testing::Test {
  protected:
    static constexpr int kWindowWidth = 320;
    static constexpr int kWindowHeight = 240;

    void SetUp() override;

    std::vector<RecordedMessage> *Messages = nullptr;
};

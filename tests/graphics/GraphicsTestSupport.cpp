#include "GraphicsTestSupport.h"

#include <GL/gl.h>

#include <cmath>

#include "Graphics.h"

namespace {

std::vector<RecordedMessage> recordedMessages;
bool questionAnswer = true;

bool RecordMessage(const char *text, const char *caption, graphics::MessageButtons buttons,
                   graphics::MessageIcon icon) {
    recordedMessages.push_back({text, caption, buttons, icon});
    return buttons == graphics::MessageButtons::YesNo ? questionAnswer : true;
}

}  // namespace

std::vector<RecordedMessage> &RecordMessageBoxes(bool answerYes) {
    questionAnswer = answerYes;
    graphics::backEnd.ShowMessageBox = RecordMessage;
    recordedMessages.clear();
    return recordedMessages;
}

std::ostream &operator<<(std::ostream &out, const Rgb &color) {
    return out << "(" << color.Red << ", " << color.Green << ", " << color.Blue << ")";
}

Rgb ToBytes(float red, float green, float blue) {
    auto toByte = [](float component) { return static_cast<int>(std::lround(component * 255.0f)); };
    return {toByte(red), toByte(green), toByte(blue)};
}

std::vector<Rgb> ReadRegion(int x, int y, int width, int height) {
    std::vector<unsigned char> bytes(static_cast<size_t>(width) * height * 3);
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, width, height, GL_RGB, GL_UNSIGNED_BYTE, bytes.data());
    std::vector<Rgb> pixels;
    pixels.reserve(static_cast<size_t>(width) * height);
    for (size_t index = 0; index < bytes.size(); index += 3) {
        pixels.push_back({bytes[index], bytes[index + 1], bytes[index + 2]});
    }
    return pixels;
}

Rgb ReadPixel(int x, int y) {
    return ReadRegion(x, y, 1, 1).front();
}

void ExpectIntegers(std::initializer_list<ExpectedInteger> expectations) {
    for (const ExpectedInteger &expected : expectations) {
        GLint value = 0;
        glGetIntegerv(expected.Parameter, &value);
        EXPECT_EQ(value, expected.Value) << expected.Name;
    }
}

void GraphicsWindowTest::SetUp() {
    Messages = &RecordMessageBoxes();
    ASSERT_EQ(InitGraph(kWindowWidth, kWindowHeight, 0, "graphics test"), 1)
        << "first message: " << (Messages->empty() ? "none" : Messages->front().Text);
}

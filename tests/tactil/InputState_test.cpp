// What the window-system events cannot reach directly: a key with two physical sources, and the
// bounds of one frame's text and wheel.
#include "InputState.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using tactil::Controls;
using tactil::InputState;
using tactil::TypedTextBuffer;

TEST(Controls, TwoSourcesHoldOneControlUntilTheLastLetsGo) {
    constexpr unsigned kLeft = 1;
    constexpr unsigned kRight = 2;
    Controls<2> shift;
    auto answers = [&] {
        shift.Latch();
        return std::to_string(shift.Down(1)) + std::to_string(shift.Pressed(1)) +
               std::to_string(shift.Released(1));
    };
    shift.Press(1, kLeft);
    shift.Press(1, kRight);
    shift.Press(1, kLeft);  // pressed again without a release: no new press
    EXPECT_EQ(answers(), "110") << "down pressed released";
    shift.Release(1, kLeft);
    EXPECT_EQ(answers(), "100");
    shift.Release(1, kLeft);  // let go of what is not held: nothing
    shift.Release(1, kRight);
    EXPECT_EQ(answers(), "001");
}

TEST(InputState, AFramesTextIsCutOnACharacterBoundaryAndItsWheelSaturates) {
    InputState input;
    const std::string filler(TypedTextBuffer::kCapacity - 1, 'x');
    input.TypedText.Add(filler.c_str());
    input.TypedText.Add("é!");  // one byte left, and é needs two: nothing of it goes in
    input.TypedText.Add("y");
    input.TurnWheel(INT_MAX);
    input.TurnWheel(INT_MAX);
    input.Latch();
    EXPECT_EQ(std::string(input.TypedText.Text()), filler + "y");
    EXPECT_EQ(input.WheelMoved(), INT_MAX);
    input.Latch();
    EXPECT_STREQ(input.TypedText.Text(), "");
    EXPECT_EQ(input.WheelMoved(), 0);
}

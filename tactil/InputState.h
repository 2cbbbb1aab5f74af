// What a C program can ask about its input, without the window system: the window-system side
// reports each change as it happens, and Latch turns what happened since the previous frame into
// the answers for the frame that starts. Answers never change between two latches.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "Tactil.h"

namespace tactil {

// Keys or buttons, numbered 0 to count - 1; any other number is never down. A control may have
// several physical sources (left and right Shift): it is down while any of them is held, so it
// goes down with the first and up with the last.
template <int Count>
class Controls {
  public:
    void Press(int control, unsigned source) {
        if (!Valid(control)) return;
        Control &pressed = States[control];
        if (pressed.HeldBy == 0) pressed.WentDown = true;
        pressed.HeldBy |= source;
    }

    void Release(int control, unsigned source) {
        if (!Valid(control)) return;
        Control &released = States[control];
        if ((released.HeldBy & source) == 0) return;
        released.HeldBy &= ~source;
        if (released.HeldBy == 0) released.WentUp = true;
    }

    void ReleaseAll() {
        for (Control &control : States) {
            if (control.HeldBy != 0) control.WentUp = true;
            control.HeldBy = 0;
        }
    }

    void Latch() {
        for (Control &control : States) {
            control.Down = control.HeldBy != 0;
            control.Pressed = control.WentDown;
            control.Released = control.WentUp;
            control.WentDown = false;
            control.WentUp = false;
        }
    }

    bool Down(int control) const { return Valid(control) && States[control].Down; }
    bool Pressed(int control) const { return Valid(control) && States[control].Pressed; }
    bool Released(int control) const { return Valid(control) && States[control].Released; }

  private:
    static bool Valid(int control) { return control >= 0 && control < Count; }

    struct Control {
        unsigned HeldBy = 0;  // one bit per physical source held now
        bool WentDown = false;
        bool WentUp = false;
        // This frame's answers.
        bool Down = false;
        bool Pressed = false;
        bool Released = false;
    };
    std::array<Control, Count> States{};
};

// Text typed between two latches, cut on a character boundary when a frame brings more than fits.
class TypedTextBuffer {
  public:
    static constexpr std::size_t kCapacity = 255;  // bytes a frame, without the terminator

    void Add(const char *utf8);
    void Latch();
    const char *Text() const { return Latched.data(); }

  private:
    std::array<char, kCapacity + 1> Incoming{};
    std::size_t IncomingLength = 0;
    std::array<char, kCapacity + 1> Latched{};
};

class InputState {
  public:
    Controls<KEY_F12 + 1> Keys;
    Controls<MOUSE_RIGHT + 1> Buttons;
    TypedTextBuffer TypedText;

    // Adds wheel notches; a frame's total saturates at the int range instead of overflowing.
    void TurnWheel(int notches);
    int WheelMoved() const { return WheelLatched; }

    void Latch();

  private:
    std::int64_t WheelIncoming = 0;
    int WheelLatched = 0;
};

// The key a code names: a lowercase letter is the key of its capital.
int CanonicalKey(int key);

}  // namespace tactil

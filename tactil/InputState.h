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
template <int count>
class Controls {
  public:
    void Press(int control, unsigned source) {
        if (!Valid(control)) return;
        Control &pressed = controls_[control];
        if (pressed.heldBy == 0) pressed.wentDown = true;
        pressed.heldBy |= source;
    }

    void Release(int control, unsigned source) {
        if (!Valid(control)) return;
        Control &released = controls_[control];
        if ((released.heldBy & source) == 0) return;
        released.heldBy &= ~source;
        if (released.heldBy == 0) released.wentUp = true;
    }

    void ReleaseAll() {
        for (Control &control : controls_) {
            if (control.heldBy != 0) control.wentUp = true;
            control.heldBy = 0;
        }
    }

    void Latch() {
        for (Control &control : controls_) {
            control.down = control.heldBy != 0;
            control.pressed = control.wentDown;
            control.released = control.wentUp;
            control.wentDown = false;
            control.wentUp = false;
        }
    }

    bool Down(int control) const { return Valid(control) && controls_[control].down; }
    bool Pressed(int control) const { return Valid(control) && controls_[control].pressed; }
    bool Released(int control) const { return Valid(control) && controls_[control].released; }

  private:
    static bool Valid(int control) { return control >= 0 && control < count; }

    struct Control {
        unsigned heldBy = 0;  // one bit per physical source held now
        bool wentDown = false;
        bool wentUp = false;
        // This frame's answers.
        bool down = false;
        bool pressed = false;
        bool released = false;
    };
    std::array<Control, count> controls_{};
};

// Text typed between two latches, cut on a character boundary when a frame brings more than fits.
class TypedTextBuffer {
  public:
    static constexpr std::size_t capacity = 255;  // bytes a frame, without the terminator

    void Add(const char *utf8);
    void Latch();
    const char *Text() const { return latched_.data(); }

  private:
    std::array<char, capacity + 1> incoming_{};
    std::size_t incomingLength_ = 0;
    std::array<char, capacity + 1> latched_{};
};

class InputState {
  public:
    Controls<KEY_F12 + 1> keys;
    Controls<MOUSE_RIGHT + 1> buttons;
    TypedTextBuffer text;

    // Adds wheel notches; a frame's total saturates at the int range instead of overflowing.
    void TurnWheel(int notches);
    int WheelMoved() const { return wheelLatched_; }

    void Latch();

  private:
    std::int64_t wheelIncoming_ = 0;
    int wheelLatched_ = 0;
};

// The key a code names: a lowercase letter is the key of its capital.
int CanonicalKey(int key);

}  // namespace tactil

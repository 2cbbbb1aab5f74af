/*
 * Tactil: the keyboard, the mouse buttons and typed text of the Graphics window.
 *
 * Every answer is the state as of the last UpdateScreen and stays the same until the next one,
 * so a frame can ask as often as it likes. "Pressed" and "released" mean "since the previous
 * frame": a key tapped between two frames is pressed (and released) in exactly one frame, and a
 * held key is pressed once however long the keyboard repeats it. Before InitGraph, after the
 * window has closed and for codes this header does not name, every query answers 0 (or "").
 * When the window loses focus, every key and button held goes up.
 *
 * Link with -lTactil beside -lGraphics; Orvex and `pkg-config --libs graphics` add it for you.
 */
#ifndef TACTIL_H
#define TACTIL_H

#if defined(__GNUC__)
#define TACTIL_API __attribute__((visibility("default")))
#else
#define TACTIL_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Key codes ------------------------------------------------------------------------------ */

/* Letters and digits are their own characters: KEY_A is 'A' and KEY_7 is '7', and a lowercase
 * letter ('a') names the same key as its capital. Shift, Ctrl and Alt stand for the left and the
 * right key alike. */
/* clang-format off */
enum {
    KEY_BACKSPACE = 8, KEY_TAB = 9, KEY_RETURN = 13, KEY_ESCAPE = 27, KEY_SPACE = ' ',
    KEY_0 = '0', KEY_1, KEY_2, KEY_3, KEY_4, KEY_5, KEY_6, KEY_7, KEY_8, KEY_9,
    KEY_A = 'A', KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I, KEY_J, KEY_K, KEY_L,
    KEY_M, KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R, KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y,
    KEY_Z,
    KEY_DELETE = 127,
    KEY_LEFT = 256, KEY_RIGHT, KEY_UP, KEY_DOWN,
    KEY_HOME, KEY_END, KEY_PAGE_UP, KEY_PAGE_DOWN, KEY_INSERT,
    KEY_SHIFT, KEY_CTRL, KEY_ALT,
    KEY_F1, KEY_F2, KEY_F3, KEY_F4, KEY_F5, KEY_F6, KEY_F7, KEY_F8, KEY_F9, KEY_F10, KEY_F11,
    KEY_F12
};
/* clang-format on */

/* Mouse buttons. */
enum { MOUSE_LEFT = 1, MOUSE_MIDDLE = 2, MOUSE_RIGHT = 3 };

/* ---- Keyboard ------------------------------------------------------------------------------- */

/* 1 while the key is held down, else 0. */
TACTIL_API int KeyDown(int key);
/* 1 in the one frame after the key went down, else 0; the keyboard's repeat does not count. */
TACTIL_API int KeyPressed(int key);
/* 1 in the one frame after the key went up (also when the window lost focus), else 0. */
TACTIL_API int KeyReleased(int key);

/* ---- Mouse buttons and wheel ---------------------------------------------------------------- */
/* The pointer's position is GetMousePosition in Graphics.h: window pixels from the top-left
 * corner, y growing downwards, unlike the bottom-up drawing ranges. */

/* 1 while the button is held down, else 0. */
TACTIL_API int MouseButtonDown(int button);
/* 1 in the one frame after the button went down, else 0. */
TACTIL_API int MouseButtonPressed(int button);
/* 1 in the one frame after the button went up, else 0. */
TACTIL_API int MouseButtonReleased(int button);
/* Wheel notches turned since the previous frame: positive away from the user, negative towards. */
TACTIL_API int MouseWheelMoved(void);

/* ---- Text ----------------------------------------------------------------------------------- */

/* Text typed since the previous frame, UTF-8 with Shift and the keyboard layout applied, "" when
 * none; at most 255 bytes a frame (more is dropped). Keys that type nothing (Backspace, Return,
 * arrows) are not in it: ask KeyPressed. The text is kept until the next UpdateScreen. */
TACTIL_API const char *TypedText(void);

/* ---- Called by the graphics library --------------------------------------------------------- */

/* Starts listening to the window's input (window is the SDL_Window*; the instance is not used).
 * Called once by InitGraph. */
TACTIL_API void InitDirectInput(void *window, void *instance);
/* Takes this frame's state from what came in since the previous call. Called by every
 * UpdateScreen, also after the window has gone. */
TACTIL_API void DirectInputPoll(void);

#ifdef __cplusplus
}
#endif

#endif /* TACTIL_H */

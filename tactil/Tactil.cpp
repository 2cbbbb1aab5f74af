// The input library on SDL. InitDirectInput puts an event filter in front of whatever filter the
// graphics library has set: it records each input event while SDL takes it in (during the poll of
// UpdateScreen) and then lets the previous filter decide whether the event stays queued, so the
// frame loop's events are neither taken away nor kept any longer than that filter wants.
// DirectInputPoll, called right after the poll, turns what was recorded into the frame's state.
#include "Tactil.h"

#include <SDL2/SDL.h>

#include <vector>

#include "InputState.h"
#include "TactilProbe.h"

namespace tactil {
namespace {

// Physical sources of one key code: left and right Shift both make KEY_SHIFT.
constexpr unsigned kPrimaryKey = 1;
constexpr unsigned kSecondaryKey = 2;
constexpr unsigned kOnlyButton = 1;

struct KeyMapping {
    SDL_Keycode Keycode;
    int Key;
    unsigned Source = kPrimaryKey;
};

constexpr KeyMapping kNamedKeys[] = {
    {SDLK_BACKSPACE, KEY_BACKSPACE},
    {SDLK_TAB, KEY_TAB},
    {SDLK_RETURN, KEY_RETURN},
    {SDLK_KP_ENTER, KEY_RETURN, kSecondaryKey},
    {SDLK_ESCAPE, KEY_ESCAPE},
    {SDLK_SPACE, KEY_SPACE},
    {SDLK_DELETE, KEY_DELETE},
    {SDLK_LEFT, KEY_LEFT},
    {SDLK_RIGHT, KEY_RIGHT},
    {SDLK_UP, KEY_UP},
    {SDLK_DOWN, KEY_DOWN},
    {SDLK_HOME, KEY_HOME},
    {SDLK_END, KEY_END},
    {SDLK_PAGEUP, KEY_PAGE_UP},
    {SDLK_PAGEDOWN, KEY_PAGE_DOWN},
    {SDLK_INSERT, KEY_INSERT},
    {SDLK_LSHIFT, KEY_SHIFT},
    {SDLK_RSHIFT, KEY_SHIFT, kSecondaryKey},
    {SDLK_LCTRL, KEY_CTRL},
    {SDLK_RCTRL, KEY_CTRL, kSecondaryKey},
    {SDLK_LALT, KEY_ALT},
    {SDLK_RALT, KEY_ALT, kSecondaryKey},
    {SDLK_F1, KEY_F1},
    {SDLK_F2, KEY_F2},
    {SDLK_F3, KEY_F3},
    {SDLK_F4, KEY_F4},
    {SDLK_F5, KEY_F5},
    {SDLK_F6, KEY_F6},
    {SDLK_F7, KEY_F7},
    {SDLK_F8, KEY_F8},
    {SDLK_F9, KEY_F9},
    {SDLK_F10, KEY_F10},
    {SDLK_F11, KEY_F11},
    {SDLK_F12, KEY_F12},
};

// Keys are told apart by what the layout prints on them, so KEY_Z is the key labelled Z.
// A key this library has no name for maps to no key (-1), which every query ignores.
KeyMapping MappingFor(SDL_Keycode keycode) {
    if ((keycode >= SDLK_a && keycode <= SDLK_z) || (keycode >= SDLK_0 && keycode <= SDLK_9)) {
        return {keycode, CanonicalKey(keycode)};
    }
    for (const KeyMapping &mapping : kNamedKeys) {
        if (mapping.Keycode == keycode) return mapping;
    }
    return {keycode, -1};
}

struct Listener {
    Uint32 WindowId = 0;  // 0 while there is no window to listen to
    SDL_EventFilter PreviousFilter = nullptr;
    void *PreviousUserData = nullptr;
};

InputState input;
Listener listener;

// What the graphics library has handed over, for its tests.
void *startedWindow = nullptr;
void *startedInstance = nullptr;
int initCount = 0;
int pollCount = 0;

// From the window's close on (or before it existed) every query answers "nothing".
void StopListening() {
    input = InputState{};
    listener.WindowId = 0;
}

void RecordWindowEvent(const SDL_WindowEvent &event) {
    if (event.windowID != listener.WindowId) return;
    if (event.event == SDL_WINDOWEVENT_FOCUS_LOST) {
        // The key-ups of keys let go elsewhere never reach this window.
        input.Keys.ReleaseAll();
        input.Buttons.ReleaseAll();
    } else if (event.event == SDL_WINDOWEVENT_CLOSE) {
        StopListening();
    }
}

void Record(const SDL_Event &event) {
    if (listener.WindowId == 0) return;
    switch (event.type) {
        case SDL_KEYDOWN: {
            const KeyMapping mapping = MappingFor(event.key.keysym.sym);
            if (event.key.repeat == 0) input.Keys.Press(mapping.Key, mapping.Source);
            break;
        }
        case SDL_KEYUP: {
            const KeyMapping mapping = MappingFor(event.key.keysym.sym);
            input.Keys.Release(mapping.Key, mapping.Source);
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
            input.Buttons.Press(event.button.button, kOnlyButton);
            break;
        case SDL_MOUSEBUTTONUP:
            input.Buttons.Release(event.button.button, kOnlyButton);
            break;
        case SDL_MOUSEWHEEL:
            input.TurnWheel(event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y
                                                                            : event.wheel.y);
            break;
        case SDL_TEXTINPUT:
            input.TypedText.Add(event.text.text);
            break;
        case SDL_WINDOWEVENT:
            RecordWindowEvent(event.window);
            break;
        default:
            break;
    }
}

int SDLCALL RecordThenPassOn(void *, SDL_Event *event) {
    Record(*event);
    if (listener.PreviousFilter == nullptr) return 1;
    return listener.PreviousFilter(listener.PreviousUserData, event);
}

std::vector<SDL_Event> TakeQueuedEvents() {
    const int queued = SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
    if (queued <= 0) return {};
    std::vector<SDL_Event> events(static_cast<size_t>(queued));
    const int taken =
        SDL_PeepEvents(events.data(), queued, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
    events.resize(static_cast<size_t>(taken > 0 ? taken : 0));
    return events;
}

void PutFilterInFront() {
    SDL_EventFilter current = nullptr;
    void *currentUserData = nullptr;
    if (!SDL_GetEventFilter(&current, &currentUserData)) current = nullptr;
    // A second start must not make the filter call itself.
    if (current == RecordThenPassOn) return;
    listener.PreviousFilter = current;
    listener.PreviousUserData = currentUserData;
    // Setting a filter empties SDL's queue; the events the frame loop has not read yet go back
    // in, in their order, past the filters that have already passed them.
    std::vector<SDL_Event> queued = TakeQueuedEvents();
    SDL_SetEventFilter(RecordThenPassOn, nullptr);
    if (!queued.empty()) {
        SDL_PeepEvents(queued.data(), static_cast<int>(queued.size()), SDL_ADDEVENT, SDL_FIRSTEVENT,
                       SDL_LASTEVENT);
    }
}

int Answer(bool answer) {
    return answer ? 1 : 0;
}

}  // namespace
}  // namespace tactil

using tactil::Answer;
using tactil::CanonicalKey;
using tactil::initCount;
using tactil::input;
using tactil::listener;
using tactil::pollCount;
using tactil::PutFilterInFront;
using tactil::startedInstance;
using tactil::startedWindow;
using tactil::StopListening;

extern "C" {

void InitDirectInput(void *window, void *instance) {
    startedWindow = window;
    startedInstance = instance;
    ++initCount;

    StopListening();
    if (window == nullptr) return;
    const Uint32 windowId = SDL_GetWindowID(static_cast<SDL_Window *>(window));
    if (windowId == 0) return;
    if (!SDL_IsTextInputActive()) SDL_StartTextInput();
    PutFilterInFront();
    listener.WindowId = windowId;
}

void DirectInputPoll(void) {
    ++pollCount;
    input.Latch();
}

int KeyDown(int key) {
    return Answer(input.Keys.Down(CanonicalKey(key)));
}

int KeyPressed(int key) {
    return Answer(input.Keys.Pressed(CanonicalKey(key)));
}

int KeyReleased(int key) {
    return Answer(input.Keys.Released(CanonicalKey(key)));
}

int MouseButtonDown(int button) {
    return Answer(input.Buttons.Down(button));
}

int MouseButtonPressed(int button) {
    return Answer(input.Buttons.Pressed(button));
}

int MouseButtonReleased(int button) {
    return Answer(input.Buttons.Released(button));
}

int MouseWheelMoved(void) {
    return input.WheelMoved();
}

const char *TypedText(void) {
    return input.TypedText.Text();
}

void *TactilWindow(void) {
    return startedWindow;
}

void *TactilInstance(void) {
    return startedInstance;
}

int TactilInitCount(void) {
    return initCount;
}

int TactilPollCount(void) {
    return pollCount;
}
}

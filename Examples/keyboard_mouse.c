/*
 * Keyboard and mouse: the arrow keys move the ball, the mouse buttons change its colour, the
 * wheel makes it bigger or smaller, and what you type is written under it. Escape ends the program.
 *
 * Tactil.h answers for the frame the last UpdateScreen started. KeyDown holds for as long as a key
 * is held, which gives smooth movement; KeyPressed and MouseButtonPressed answer once per press,
 * which gives one step per click; TypedText brings the characters typed since the previous frame.
 */
#include <Graphics.h>
#include <Tactil.h>
#include <string.h>

#define WIDTH 800
#define HEIGHT 600
#define SPEED 4.0f /* pixels a frame while an arrow key is held */
#define NAME_CAPACITY 40

/* Yellow, red, green, cyan, magenta, orange, white: all bright on the dark blue background. */
static const int colors[] = {6, 2, 17, 5, 3, 11, 7};
#define COLOR_COUNT ((int)(sizeof colors / sizeof colors[0]))

static float Clamp(float value, float low, float high) {
    return value < low ? low : value > high ? high : value;
}

/* PrintAt writes plain ASCII only: other characters typed are left out of the name. */
static void AddToName(char *name, const char *typed) {
    size_t length = strlen(name);
    for (; *typed != '\0' && length + 1 < NAME_CAPACITY; typed++) {
        if (*typed >= ' ' && *typed <= '~') name[length++] = *typed;
    }
    name[length] = '\0';
}

int main(void) {
    float x = 0.0f, y = 0.0f, radius = 40.0f;
    int color = 0;
    char name[NAME_CAPACITY] = "";

    if (!InitGraph(WIDTH, HEIGHT, 0, "Keyboard and mouse")) return 1;

    do {
        if (KeyPressed(KEY_ESCAPE)) break;

        if (KeyDown(KEY_LEFT)) x -= SPEED;
        if (KeyDown(KEY_RIGHT)) x += SPEED;
        if (KeyDown(KEY_UP)) y += SPEED;
        if (KeyDown(KEY_DOWN)) y -= SPEED;
        radius = Clamp(radius + 5.0f * MouseWheelMoved(), 10.0f, 200.0f);
        x = Clamp(x, -WIDTH / 2 + radius, WIDTH / 2 - radius);
        y = Clamp(y, -HEIGHT / 2 + radius, HEIGHT / 2 - radius);

        if (MouseButtonPressed(MOUSE_LEFT)) color = (color + 1) % COLOR_COUNT;
        if (MouseButtonPressed(MOUSE_RIGHT)) color = (color + COLOR_COUNT - 1) % COLOR_COUNT;
        if (MouseButtonPressed(MOUSE_MIDDLE)) color = 0;

        AddToName(name, TypedText());
        if (KeyPressed(KEY_BACKSPACE) && name[0] != '\0') name[strlen(name) - 1] = '\0';

        SetColor(10);
        Clear();
        Set2DRange(-WIDTH / 2, WIDTH / 2, -HEIGHT / 2, HEIGHT / 2);
        SetFilledMode();
        SetColor(colors[color]);
        DrawCircle(x, y, radius, 48);

        SetColor(7);
        PrintAt(-380.0f, 270.0f, "Arrows move, buttons recolour, the wheel resizes, Escape ends.");
        PrintAt(-380.0f, -270.0f, "Type your name:");
        PrintAt(-215.0f, -270.0f, name);
    } while (UpdateScreen());
    return 0;
}

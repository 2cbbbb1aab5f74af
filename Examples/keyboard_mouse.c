/*
 * Keyboard and mouse: the arrow keys move the ball, the mouse buttons change its colour, the
 * wheel makes it bigger or smaller, and what you type is written under it. Escape ends the program.
 *
 * Tactil.h answers for the frame the last UpdateScreen started. KeyDown holds for as long as a key
 * is held, which gives smooth movement; KeyPressed and MouseButtonPressed answer once per press,
 * which gives one step per click; TypedText brings the characters typed since the previous frame.
 *
 * Where the pointer is, GetMousePosition (Graphics.h) says, in window pixels counted from the
 * top-left corner with y growing downwards. The drawing range here has y growing upwards with
 * (0, 0) in the middle, so the small cross at the pointer turns the pixel over and moves it.
 */
#include <Graphics.h>
#include <Tactil.h>
#include <string.h>
#include <time.h>

#define WIDTH 800
#define HEIGHT 600
#define SPEED 240.0f /* pixels a second while an arrow key is held */
#define NAME_CAPACITY 40

/* Yellow, red, green, cyan, magenta, orange, white: all bright on the dark blue background. */
static const int colors[] = {6, 2, 17, 5, 3, 11, 7};
#define COLOR_COUNT ((int)(sizeof colors / sizeof colors[0]))

static double Seconds(void) {
    struct timespec now;
    timespec_get(&now, TIME_UTC);
    return (double)now.tv_sec + (double)now.tv_nsec / 1e9;
}

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
    float pointerX, pointerY;
    double lastFrame;
    int color = 0, mouseX, mouseY;
    char name[NAME_CAPACITY] = "";

    if (!InitGraph(WIDTH, HEIGHT, 0, "Keyboard and mouse")) return 1;
    lastFrame = Seconds();

    do {
        /* The distance moved is speed times the time since the previous frame, so the ball
         * moves equally fast at any frame rate. */
        double now = Seconds();
        float step = SPEED * (float)(now - lastFrame);
        lastFrame = now;

        if (KeyPressed(KEY_ESCAPE)) break;

        if (KeyDown(KEY_LEFT)) x -= step;
        if (KeyDown(KEY_RIGHT)) x += step;
        if (KeyDown(KEY_UP)) y += step;
        if (KeyDown(KEY_DOWN)) y -= step;
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

        /* From window pixels (top-left, y down) to this range (middle, y up). */
        GetMousePosition(&mouseX, &mouseY);
        pointerX = (float)mouseX - WIDTH / 2;
        pointerY = HEIGHT / 2 - (float)mouseY;
        SetColor(7);
        DrawLine(pointerX - 8, pointerY, pointerX + 8, pointerY);
        DrawLine(pointerX, pointerY - 8, pointerX, pointerY + 8);

        PrintAt(-380.0f, 270.0f, "Arrows move, buttons recolour, the wheel resizes, Escape ends.");
        PrintAt(-380.0f, -270.0f, "Type your name:");
        PrintAt(-215.0f, -270.0f, name);
    } while (UpdateScreen());
    return 0;
}

/*
 * Hello, window: the smallest program with a frame loop.
 *
 * InitGraph opens the window. Each pass of the loop clears the window, draws one frame and shows
 * it with UpdateScreen, which returns 0 once the window has been closed, and that ends the loop.
 *
 * How many frames a second the loop makes depends on the screen and the graphics driver: where
 * the driver waits for the screen's refresh, one frame per refresh; elsewhere as many as the
 * computer can draw. So this program measures time instead of counting frames: the background
 * changes once a second however fast the loop runs, and the frame rate is shown.
 */
#include <Graphics.h>
#include <stdio.h>
#include <time.h>

#define WIDTH 640
#define HEIGHT 480

/* Seconds since a fixed moment, with fractions: the difference of two calls is the time that
 * passed between them. */
static double Seconds(void) {
    struct timespec now;
    timespec_get(&now, TIME_UTC);
    return (double)now.tv_sec + (double)now.tv_nsec / 1e9;
}

/* Dark palette colours, so that white text reads on each of them. */
static const int backgrounds[] = {10, 27, 20, 23, 31, 8, 16, 1};
#define BACKGROUND_COUNT ((int)(sizeof backgrounds / sizeof backgrounds[0]))

int main(void) {
    int screenWidth, screenHeight, windowWidth, windowHeight;
    int frames = 0, framesPerSecond = 0;
    double start, countStart;
    char line[100];

    if (!InitGraph(WIDTH, HEIGHT, 0, "Hello, window")) return 1;
    GetScreenSize(&screenWidth, &screenHeight);
    start = countStart = Seconds();

    do {
        double elapsed = Seconds() - start;

        /* Count the frames shown, and once a second turn the count into a rate. */
        frames++;
        if (Seconds() - countStart >= 1.0) {
            framesPerSecond = frames;
            frames = 0;
            countStart += 1.0;
        }

        /* Clear takes the current colour: set the background colour first, then clear. */
        SetColor(backgrounds[(int)elapsed % BACKGROUND_COUNT]);
        Clear();

        /* One unit per pixel, (0, 0) at the bottom-left corner. */
        Set2DRange(0, WIDTH, 0, HEIGHT);
        SetColor(7);
        PrintAt(40, 400, "Hello, window!");
        snprintf(line, sizeof line, "Running for %.1f seconds", elapsed);
        PrintAt(40, 360, line);
        snprintf(line, sizeof line, "Frames per second: %d", framesPerSecond);
        PrintAt(40, 340, line);
        GetWindowSize(&windowWidth, &windowHeight);
        snprintf(line, sizeof line, "Window %d x %d on a screen of %d x %d", windowWidth,
                 windowHeight, screenWidth, screenHeight);
        PrintAt(40, 320, line);
        PrintAt(40, 60, "Close the window to stop.");
    } while (UpdateScreen());
    return 0;
}

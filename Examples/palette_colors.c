/*
 * Colours: the 32 palette colours of SetColor, and colours of your own with SetColorRGBA.
 *
 * SetColor(n) picks palette colour n (0 to 31; any other number gives white). SetColorRGBA(r, g,
 * b, a) mixes a colour from red, green and blue from 0 to 255; a, the alpha, says how opaque it
 * is: 255 covers what is behind, 128 lets half of it show through, 0 draws nothing at all.
 *
 * Clear fills the window with the current colour, so set the background colour, clear, and only
 * then set the colour to draw with.
 */
#include <Graphics.h>
#include <math.h>
#include <stdio.h>
#include <time.h>

#define WIDTH 800
#define HEIGHT 600
#define SWATCH 70  /* the side of one colour square */
#define SPACING 98 /* from one square to the next */

static const char *names[32] = {
    "black",     "blue",      "red",       "magenta",  "green",    "cyan",  "yellow",    "white",
    "brown",     "orchid",    "navy",      "orange",   "pink",     "plum",  "grey",      "silver",
    "dark grey", "lime",      "sea green", "sky blue", "maroon",   "olive", "ivory",     "forest",
    "mint",      "turquoise", "gold",      "indigo",   "lavender", "tan",   "pale cyan", "teal"};

static double Seconds(void) {
    struct timespec now;
    timespec_get(&now, TIME_UTC);
    return (double)now.tv_sec + (double)now.tv_nsec / 1e9;
}

int main(void) {
    double start;
    char label[8];
    int index;

    if (!InitGraph(WIDTH, HEIGHT, 0, "Colours")) return 1;
    start = Seconds();

    do {
        /* A bar that glides to and fro over the squares, once every 8 seconds. */
        float barX = 380.0f + 340.0f * (float)sin((Seconds() - start) * 3.14159265 / 4.0);

        SetColor(16); /* dark grey background */
        Clear();
        Set2DRange(0, WIDTH, 0, HEIGHT);

        for (index = 0; index < 32; index++) {
            float x = (float)(20 + (index % 8) * SPACING);
            float y = (float)(HEIGHT - 130 - (index / 8) * 120);

            SetFilledMode();
            SetColor(index);
            DrawRectangle(x, y, SWATCH, SWATCH);

            /* A white frame, so that the dark squares stand out from the background. */
            SetOutlineMode();
            SetColor(7);
            DrawRectangle(x, y, SWATCH, SWATCH);
            snprintf(label, sizeof label, "%d", index);
            PrintAt(x, y - 16, label);
            PrintAt(x, y - 32, names[index]);
        }

        /* Half-transparent colours blend with what is already drawn. */
        SetFilledMode();
        SetColorRGBA(255, 255, 255, 128);
        DrawRectangle(barX, 40, 40, HEIGHT - 80);

        SetColor(7);
        PrintAt(20, 16, "The bar is SetColorRGBA(255, 255, 255, 128): half transparent.");
    } while (UpdateScreen());
    return 0;
}

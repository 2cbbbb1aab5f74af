/*
 * Bitmap text: PrintAt writes text in a small fixed font, the quickest way to show words and
 * numbers.
 *
 * PrintAt(x, y, text) starts the text at the point (x, y) of the current range: the letters
 * stand on that point's line, and g, j, p, q and y hang 2 pixels below it. Every character is 8
 * by 13 pixels and moves the next one 10 pixels to the right, whatever the range or zoom, so text
 * does not grow or turn with the view. It writes the printable ASCII characters only, has no line
 * breaks (give each line its own y, 15 or more pixels apart) and takes the colour that is current
 * when it is called.
 *
 * When the starting point lies outside the window, PrintAt draws nothing at all, not even the
 * part of the text that would be inside. The ticker at the bottom therefore leaves out the
 * characters that have already scrolled past the left edge, instead of starting left of it.
 */
#include <Graphics.h>
#include <stdio.h>
#include <string.h>
#include <time.h>

#define WIDTH 800
#define HEIGHT 600
#define CHARACTER_WIDTH 10 /* each character moves the next one this many pixels on */
#define LINE_HEIGHT 16

static double Seconds(void) {
    struct timespec now;
    timespec_get(&now, TIME_UTC);
    return (double)now.tv_sec + (double)now.tv_nsec / 1e9;
}

/* Writes the text with its middle at x. */
static void PrintCentred(float x, float y, const char *text) {
    PrintAt(x - (float)(strlen(text) * CHARACTER_WIDTH) / 2, y, text);
}

/* Writes text that may start left of the window (x below 0): skips the characters that are out
 * of sight, so that the rest still shows. */
static void PrintFromLeft(float x, float y, const char *text) {
    while (x < 0 && *text != '\0') {
        text++;
        x += CHARACTER_WIDTH;
    }
    PrintAt(x, y, text);
}

int main(void) {
    static const char *lines[] = {
        "PrintAt has no line breaks,",
        "so each line gets its own y,",
        "16 pixels below the one before.",
    };
    static const char *ticker =
        "News: the ticker leaves out what has scrolled past the left "
        "edge, so it never vanishes all at once.";
    double start;
    char line[80];
    int i;

    if (!InitGraph(WIDTH, HEIGHT, 0, "Bitmap text")) return 1;
    start = Seconds();

    do {
        double time = Seconds() - start;
        /* 120 pixels a second to the left, starting again once the whole text has passed. */
        float tickerLength = (float)(strlen(ticker) * CHARACTER_WIDTH);
        float tickerX = WIDTH - (float)(time * 120.0);
        while (tickerX < -tickerLength) tickerX += WIDTH + tickerLength;

        SetColor(10);
        Clear();
        /* One unit per window pixel, (0, 0) at the bottom-left corner. */
        Set2DRange(0, WIDTH, 0, HEIGHT);
        Set2DCamera(0, 0, 0);

        SetColor(6);
        PrintCentred(WIDTH / 2, 560, "Bitmap text with PrintAt");

        SetColor(7);
        for (i = 0; i < 3; i++) PrintAt(40, (float)(480 - i * LINE_HEIGHT), lines[i]);

        /* Numbers go into a string first, with snprintf. */
        snprintf(line, sizeof line, "Seconds since the start: %6.2f", time);
        PrintAt(40, 380, line);

        /* Each call takes the colour current at that moment. */
        SetColor(2);
        PrintAt(40, 340, "Red,");
        SetColor(17);
        PrintAt(90, 340, "green");
        SetColor(19);
        PrintAt(150, 340, "and blue.");

        /* A line under the starting point shows where the letters stand. */
        SetColor(14);
        DrawLine(40, 300, 400, 300);
        SetColor(7);
        PrintAt(40, 300, "Letters stand on the line; gjpqy hang below.");

        SetColor(11);
        PrintFromLeft(tickerX, 40, ticker);
    } while (UpdateScreen());
    return 0;
}

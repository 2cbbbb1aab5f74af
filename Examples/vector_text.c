/*
 * Vector fonts: text in a font file, at any size, placed and measured.
 *
 * LoadVectorFont(file, size) reads a font file (TrueType and the other kinds FreeType reads) at a
 * size in pixels. The font file lies beside this program, which finds it because programs run in
 * their own folder.
 *
 * DrawVectorFont has no position of its own: the text starts at (0, 0) of the current transform,
 * so each text is placed with a TranslationTransform between PushTransformMatrix and
 * PopTransformMatrix. That starting point is on the first line's baseline, the line the letters
 * stand on. A line feed (\n) goes down to the next line, so text with several lines grows
 * downwards from where it is placed.
 *
 * GetVectorFontStringWidth and GetVectorFontStringHeight measure the box around the text, with a
 * few pixels of margin: it reaches about the height of a capital letter above the starting point
 * and, for several lines, down to just below the last one. To put the top of a text at a given y,
 * place its start one capital height lower, as DrawTopLeft does. Measure "H" for a capital's
 * height, and "H\nH" minus "H" for the distance from one line to the next.
 *
 * The text is drawn as triangles: in outline mode (SetOutlineMode) you would see their edges
 * instead of letters, so this program stays in filled mode.
 */
#include <Graphics.h>
#include <math.h>
#include <stdio.h>
#include <time.h>

#define WIDTH 800
#define HEIGHT 600
#define FONT_FILE "DejaVuSans.ttf"

static double Seconds(void) {
    struct timespec now;
    timespec_get(&now, TIME_UTC);
    return (double)now.tv_sec + (double)now.tv_nsec / 1e9;
}

/* Draws text with its first line starting at (x, y). */
static void DrawTextAt(int font, float x, float y, const char *text) {
    PushTransformMatrix();
    TranslationTransform(x, y, 0);
    DrawVectorFont(font, text);
    PopTransformMatrix();
}

/* Draws text with the top-left corner of its box at (left, top), and a frame around the box. */
static void DrawTopLeft(int font, float left, float top, const char *text) {
    float capitalHeight = GetVectorFontStringHeight(font, "H");
    float width = GetVectorFontStringWidth(font, text);
    float height = GetVectorFontStringHeight(font, text);

    DrawTextAt(font, left, top - capitalHeight, text);
    SetOutlineMode();
    DrawRectangle(left, top - height, width, height);
    SetFilledMode();
}

int main(void) {
    const char *title = "Vector fonts";
    const char *accents =
        "Caf\xC3\xA9, M\xC3\xBCller, Stra\xC3\x9F"
        "e"; /* é, ü and ß written as UTF-8 bytes */
    const char *paragraph =
        "A line feed starts a new line below,\n"
        "\ta tab moves the pen on,\n"
        "and the box grows downwards.";
    int small, medium, large;
    float lineDistance;
    double start;
    char line[80];

    if (!InitGraph(WIDTH, HEIGHT, 0, "Vector fonts")) return 1;
    small = LoadVectorFont(FONT_FILE, 18);
    medium = LoadVectorFont(FONT_FILE, 32);
    large = LoadVectorFont(FONT_FILE, 64);
    lineDistance = GetVectorFontStringHeight(small, "H\nH") - GetVectorFontStringHeight(small, "H");
    start = Seconds();

    do {
        float titleWidth = GetVectorFontStringWidth(large, title);
        /* 0 to 1 and back, once a second. */
        float pulse = (float)fabs(sin((Seconds() - start) * 3.14159265));

        SetColorRGBA(20, 24, 40, 255);
        Clear();
        /* One unit per pixel, origin at the bottom-left, and a camera so that the
         * transforms act on the text. */
        Set2DRange(0, WIDTH, 0, HEIGHT);
        Set2DCamera(0, 0, 0);
        SetFilledMode();

        /* A text without any glyph (an empty one, or a font that did not load) measures
         * below 0: nothing to centre then. */
        if (titleWidth < 0) titleWidth = 0;
        SetColorRGBA(255, 200, 60, 255);
        DrawTextAt(large, (WIDTH - titleWidth) / 2, 500, title);

        SetColorRGBA(120, 220, 255, 255);
        DrawTextAt(medium, 60, 400, accents);

        SetColorRGBA((int)(140 + 115 * pulse), 255, 140, 255);
        DrawTextAt(medium, 60, 340, "Sizes 18, 32 and 64");

        SetColorRGBA(230, 230, 230, 255);
        DrawTopLeft(small, 60, 290, paragraph);
        snprintf(line, sizeof line, "One line to the next: %.0f pixels", lineDistance);
        DrawTopLeft(small, 460, 290, line);

        SetColorRGBA(255, 255, 255, 128);
        DrawTextAt(small, 60, 60, "Half-transparent text blends with what is behind it.");
    } while (UpdateScreen());

    DeleteVectorFont(small);
    DeleteVectorFont(medium);
    DeleteVectorFont(large);
    return 0;
}

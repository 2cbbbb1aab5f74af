/*
 * Vector text: a font file drawn at three sizes and in several colours.
 *
 * The font file sits beside this example in the Examples folder; run the program from that
 * folder, as F5 does, so that the relative path below finds it. Text starts at (0, 0) of the
 * current transform, so each line is placed with a translation. A string is measured to centre
 * it.
 */
#include "Graphics.h"

#define WIDTH 800
#define HEIGHT 600
#define FONT_FILE "DejaVuSans.ttf"

/* Draws text with its left end at (x, y) in window pixels. */
static void DrawTextAt(int font, float x, float y, const char *text)
{
    PushTransformMatrix();
    TranslationTransform(x, y, 0.0f);
    DrawVectorFont(font, text);
    PopTransformMatrix();
}

int main(void)
{
    const char *title = "Vector fonts";
    const char *accents = "Caf\xC3\xA9, M\xC3\xBCller, Stra\xC3\x9F" "e"; /* é, ü, ß in UTF-8 */
    int small, medium, large;
    int frame = 0;

    if (!InitGraph(WIDTH, HEIGHT, 0, "Vector text"))
        return 1;

    small = LoadVectorFont(FONT_FILE, 16);
    medium = LoadVectorFont(FONT_FILE, 32);
    large = LoadVectorFont(FONT_FILE, 64);

    /* One unit is one pixel, origin at the bottom-left. */
    Set2DRange(0, WIDTH, 0, HEIGHT);
    Set2DCamera(0, 0, 0);

    do {
        float width = GetVectorFontStringWidth(large, title);
        int pulse = frame % 120 < 60 ? frame % 60 : 60 - frame % 60;

        SetColorRGBA(20, 24, 40, 255);
        Clear();

        /* A string without any glyph measures negative: nothing to centre. */
        if (width < 0)
            width = 0;
        SetColorRGBA(255, 200, 60, 255);
        DrawTextAt(large, (WIDTH - width) / 2, 480, title);

        SetColorRGBA(120, 220, 255, 255);
        DrawTextAt(medium, 60, 360, accents);

        SetColorRGBA(140 + pulse * 2, 255, 140, 255);
        DrawTextAt(medium, 60, 300, "Sizes 16, 32 and 64 points");

        SetColorRGBA(230, 230, 230, 255);
        DrawTextAt(small, 60, 220, "A line feed starts a new line below,\n"
                                   "\ta tab moves the pen on,\n"
                                   "and every colour comes from SetColorRGBA.");

        SetColorRGBA(255, 255, 255, 128);
        DrawTextAt(small, 60, 60, "Half-transparent text blends with what is behind it.");

        ++frame;
    } while (UpdateScreen());

    DeleteVectorFont(small);
    DeleteVectorFont(medium);
    DeleteVectorFont(large);
    return 0;
}

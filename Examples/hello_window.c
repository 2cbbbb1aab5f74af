/* Opens a window, clears it in a different palette colour every second and writes a greeting
 * until the window is closed. */
#include <Graphics.h>

int main(void) {
    int frame = 0;
    if (!InitGraph(640, 480, 0, "Hello, window")) return 1;
    do {
        int background = (frame / 60) % 32;
        SetColor(background);
        Clear();
        /* White text reads on every background but the light ones; black on those. */
        SetColor(background == 7 || background == 22 || background == 28 || background == 30 ? 0
                                                                                              : 7);
        PrintAt(-0.3f, 0.1f, "Hello, window!");
        PrintAt(-0.3f, -0.1f, "Close the window to stop.");
        ++frame;
    } while (UpdateScreen());
    return 0;
}

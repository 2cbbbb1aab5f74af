/*
 * Textures: pictures painted onto shapes.
 *
 * LoadTexture reads a picture file into a texture and gives back its handle. Texturing must be
 * switched on with EnableTexturing; while it is on, the current colour tints the picture (white
 * leaves it as it is), so switch it off again before drawing plain shapes.
 *
 * Two things to know about LoadTexture:
 *  - An SGI file (.rgb) has its bottom row at texture coordinate t = 0, but a PNG, BMP or JPEG
 *    file has its top row there. DrawTexturedRectangle puts t = 0 at the bottom edge, so in a
 *    range where y grows upwards such a picture comes out upside down. Drawing it with the bottom
 *    and the height swapped (y + height, then -height) puts it upright.
 *  - A texture cannot be given a colour key: the magenta around the face stays. To cut out a
 *    background colour, load the picture with _LoadImage, key it with SetImageColorKey and turn
 *    it into a texture with CreateTextureFromImage (see image_color_key.c); that texture is
 *    upright as well.
 *
 * The picture files lie beside this program; it finds them because programs run in their own
 * folder.
 */
#include <Graphics.h>
#include <math.h>
#include <time.h>

#define WIDTH 800
#define HEIGHT 600

static double Seconds(void) {
    struct timespec now;
    timespec_get(&now, TIME_UTC);
    return (double)now.tv_sec + (double)now.tv_nsec / 1e9;
}

/* A rectangle whose texture repeats `repeats` times across and up: texture coordinates beyond 1
 * start the picture again. */
static void DrawTiled(int texture, float x, float y, float width, float height, float repeats) {
    SetTexture(texture);
    StartPrimitives(5); /* one quad */
    TextureCoord(0, 0);
    Vertex2D(x, y);
    TextureCoord(repeats, 0);
    Vertex2D(x + width, y);
    TextureCoord(repeats, repeats);
    Vertex2D(x + width, y + height);
    TextureCoord(0, repeats);
    Vertex2D(x, y + height);
    EndPrimitives();
}

int main(void) {
    int bricks, face;
    double start;

    if (!InitGraph(WIDTH, HEIGHT, 0, "Textures")) return 1;
    /* Load after InitGraph: a texture needs the window's graphics context. */
    bricks = LoadTexture("bricks.rgb");
    face = LoadTexture("face.bmp");
    start = Seconds();

    do {
        double time = Seconds() - start;
        /* A tint that pulses from white to orange and back every two seconds. */
        int blue = (int)(127.5 + 127.5 * cos(time * 3.14159265));

        SetColor(16);
        Clear();
        Set2DRange(0, WIDTH, 0, HEIGHT);
        Set2DCamera(0, 0, 0);
        SetFilledMode();

        EnableTexturing();
        SetColor(7); /* white: the pictures as they are */
        DrawTiled(bricks, 40, 300, 240, 240, 3);
        DrawTexturedRectangle(face, 340, 380, 160, 160);
        DrawTexturedRectangle(face, 560, 380 + 160, 160, -160);

        SetColorRGBA(255, 200, blue, 255);
        PushTransformMatrix();
        TranslationTransform(160, 150, 0);
        RotationTransform((float)fmod(time * 30.0, 360.0), 0, 0, 1);
        DrawTexturedRectangle(bricks, -80, -80, 160, 160);
        PopTransformMatrix();
        DisableTexturing();

        SetColor(7);
        PrintAt(40, 280, "bricks.rgb, repeated 3 times");
        PrintAt(340, 360, "face.bmp as it is:");
        PrintAt(340, 344, "upside down");
        PrintAt(560, 360, "height -160: upright,");
        PrintAt(560, 344, "magenta not keyed");
        PrintAt(40, 40, "Tinted by the current colour");
    } while (UpdateScreen());

    DeleteTexture(face);
    DeleteTexture(bricks);
    return 0;
}

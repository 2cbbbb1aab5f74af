/*
 * Images with a colour key: a picture with its background cut out, drawn as pixels or as a
 * texture.
 *
 * _LoadImage reads a picture file into memory. SetImageColorKey makes every pixel of exactly one
 * colour transparent: here the magenta (255, 0, 255) around the face. DrawImage copies the
 * picture to the window with its bottom-left pixel at a point, enlarged by a zoom factor.
 *
 * DrawImage draws nothing at all while that bottom-left point lies outside the window: watch the
 * upper face vanish at once when its corner reaches the left edge. A texture made from the image
 * with CreateTextureFromImage has no such limit (the lower face slides out smoothly), it can be
 * turned and scaled like any shape, and it keeps the transparent background. It is a copy: keying
 * the image again later does not change it.
 */
#include <Graphics.h>
#include <math.h>
#include <time.h>

#define WIDTH 800
#define HEIGHT 600
#define FACE_SIZE 32 /* the picture is 32 by 32 pixels */

static double Seconds(void) {
    struct timespec now;
    timespec_get(&now, TIME_UTC);
    return (double)now.tv_sec + (double)now.tv_nsec / 1e9;
}

/* Stripes on the ivory background, so that what is transparent shows. */
static void DrawStripes(void) {
    int x;
    SetFilledMode();
    for (x = 0; x < WIDTH; x += 40) {
        SetColor(x / 40 % 2 ? 19 : 25);
        DrawRectangle((float)x, 0, 20, HEIGHT);
    }
}

int main(void) {
    int face, faceTexture;
    double start;

    if (!InitGraph(WIDTH, HEIGHT, 0, "Images with a colour key")) return 1;
    face = _LoadImage("face.bmp");
    SetImageColorKey(face, 255, 0, 255);
    faceTexture = CreateTextureFromImage(face);
    start = Seconds();

    do {
        double time = Seconds() - start;
        /* From the right edge to past the left one in 6 seconds, then again. */
        float travelX = (float)(WIDTH - fmod(time, 6.0) * 160.0);

        SetColor(22);
        Clear();
        Set2DRange(0, WIDTH, 0, HEIGHT);
        Set2DCamera(0, 0, 0);
        DrawStripes();

        /* Zoom 1, 2 and 4: one picture pixel becomes 1, 2 or 4 window pixels each way. */
        DrawImage(face, 60, 420, 1, 1);
        DrawImage(face, 140, 420, 2, 2);
        DrawImage(face, 260, 420, 4, 4);

        /* The texture turns and grows; white leaves its colours as they are. */
        EnableTexturing();
        SetColor(7);
        PushTransformMatrix();
        TranslationTransform(600, 480, 0);
        RotationTransform((float)fmod(time * 90.0, 360.0), 0, 0, 1);
        ScalingTransform(3.0f + (float)sin(time * 2.0), 3.0f + (float)sin(time * 2.0), 1);
        DrawTexturedRectangle(faceTexture, -FACE_SIZE / 2, -FACE_SIZE / 2, FACE_SIZE, FACE_SIZE);
        PopTransformMatrix();

        DrawTexturedRectangle(faceTexture, travelX, 100, FACE_SIZE * 3, FACE_SIZE * 3);
        DisableTexturing();
        DrawImage(face, travelX, 250, 3, 3);

        SetColor(0);
        PrintAt(20, 380, "DrawImage at zoom 1, 2 and 4");
        PrintAt(20, 230, "DrawImage: gone once its corner leaves the window");
        PrintAt(20, 80, "Texture from the image: slides out");
    } while (UpdateScreen());

    DeleteTexture(faceTexture);
    DeleteImage(face);
    return 0;
}

/* Draws a brick wall from an SGI texture and a smiling face from a BMP image whose magenta
 * background is keyed out: once as an image at several zooms, once turned into a texture that
 * spins over the wall. Run it from this folder so the picture files are found. */
#include <Graphics.h>

int main(void) {
    int bricks, face, faceTexture, frame = 0;
    if (!InitGraph(640, 480, 0, "Textures and images")) return 1;

    bricks = LoadTexture("textures_bricks.rgb");
    face = _LoadImage("textures_face.bmp");
    SetImageColorKey(face, 255, 0, 255);
    faceTexture = CreateTextureFromImage(face);

    do {
        float bounce = (float)((frame % 120 < 60) ? frame % 60 : 60 - frame % 60);
        SetColor(16);
        Clear();
        Set2DRange(0, 640, 0, 480);
        Set2DCamera(0, 0, 0);
        SetFilledMode();

        /* White leaves the texels as they are; the texture environment multiplies by the colour. */
        EnableTexturing();
        SetColorRGBA(255, 255, 255, 255);
        DrawTexturedRectangle(bricks, 40, 40, 256, 256);
        PushTransformMatrix();
        TranslationTransform(168, 168, 0);
        RotationTransform((float)(frame % 360), 0, 0, 1);
        DrawTexturedRectangle(faceTexture, -48, -48, 96, 96);
        PopTransformMatrix();
        DisableTexturing();

        /* Images go to the raster position at their bottom-left pixel, scaled by the zoom. */
        DrawImage(face, 360, 60, 1, 1);
        DrawImage(face, 420, 60 + bounce, 2, 2);
        DrawImage(face, 360, 200, 4, 4);

        SetColor(7);
        PrintAt(40, 310, "Textures: SGI file, keyed image");
        PrintAt(360, 360, "Images at zoom 1, 2 and 4");
        ++frame;
    } while (UpdateScreen());

    DeleteTexture(faceTexture);
    DeleteTexture(bricks);
    DeleteImage(face);
    return 0;
}

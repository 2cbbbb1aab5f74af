/*
 * 3D camera: a cube and a pyramid turning above a grid, seen by a camera that circles round them.
 *
 * Set3DProjection gives perspective: the field of view in degrees and the window's width divided
 * by its height. Set3DCamera(x, y, z, yaw, pitch, roll) puts the eye at (x, y, z) and gives the
 * direction it looks in by three angles in radians (not degrees):
 *   yaw   turns the view about the upright y axis: 0 looks along +x, pi/2 along +z, -pi/2 along -z;
 *   pitch lifts the view: positive looks up, negative down;
 *   roll  tilts the picture.
 * At yaw 0, +y is up and +z is to the right. To look at a point, put the eye back from it against
 * the viewing direction, as CameraAround does below.
 *
 * Each object is drawn between PushTransformMatrix and PopTransformMatrix, so that its rotation
 * does not carry over to the next one. The axis labels and the text on top are drawn afterwards
 * with a 2D range in window pixels; World2Screen says where the tips of the axes are.
 */
#include <Graphics.h>
#include <math.h>
#include <stdio.h>
#include <time.h>

#define WIDTH 800
#define HEIGHT 600
#define DISTANCE 12.0 /* from the eye to the middle of the scene */
#define PITCH -0.3    /* radians: looking a little down */
#define PI 3.14159265358979

static double Seconds(void) {
    struct timespec now;
    timespec_get(&now, TIME_UTC);
    return (double)now.tv_sec + (double)now.tv_nsec / 1e9;
}

/* Corners of a cube around the origin and the four corners of each face. */
static const float cubeCorners[8][3] = {
    {-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
    {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1},
};
static const int cubeFaces[6][4] = {
    {0, 3, 2, 1}, {4, 5, 6, 7}, {0, 4, 7, 3}, {1, 2, 6, 5}, {3, 7, 6, 2}, {0, 1, 5, 4},
};

static void DrawCube(void) {
    int face, corner;
    StartPrimitives(5); /* quads */
    for (face = 0; face < 6; face++) {
        SetColor(1 + face);
        for (corner = 0; corner < 4; corner++) {
            const float *p = cubeCorners[cubeFaces[face][corner]];
            Vertex3D(p[0], p[1], p[2]);
        }
    }
    EndPrimitives();
}

static void DrawPyramid(void) {
    StartPrimitives(9); /* a triangle fan around the apex */
    SetColor(6);
    Vertex3D(0, 1, 0);
    SetColor(11);
    Vertex3D(-1, -1, 1);
    Vertex3D(1, -1, 1);
    SetColor(2);
    Vertex3D(1, -1, -1);
    Vertex3D(-1, -1, -1);
    SetColor(11);
    Vertex3D(-1, -1, 1);
    EndPrimitives();

    StartPrimitives(4); /* the base as one polygon */
    SetColor(8);
    Vertex3D(-1, -1, -1);
    Vertex3D(1, -1, -1);
    Vertex3D(1, -1, 1);
    Vertex3D(-1, -1, 1);
    EndPrimitives();
}

static void DrawGrid(void) {
    int i;
    SetColor(16);
    StartPrimitives(1); /* separate lines, two vertices each */
    for (i = -10; i <= 10; i++) {
        Vertex3D(-10, -2, (float)i);
        Vertex3D(10, -2, (float)i);
        Vertex3D((float)i, -2, -10);
        Vertex3D((float)i, -2, 10);
    }
    EndPrimitives();
}

static void DrawAxes(void) {
    SetLineWidth(3.0f);
    StartPrimitives(1);
    SetColor(2); /* x red */
    Vertex3D(0, 0, 0);
    Vertex3D(5, 0, 0);
    SetColor(17); /* y green */
    Vertex3D(0, 0, 0);
    Vertex3D(0, 5, 0);
    SetColor(19); /* z blue */
    Vertex3D(0, 0, 0);
    Vertex3D(0, 0, 5);
    EndPrimitives();
    SetLineWidth(1.0f);
}

/* Places the eye DISTANCE back from the origin against the direction that yaw and PITCH give,
 * so that it looks straight at the origin. */
static void CameraAround(double yaw) {
    double lookX = cos(yaw) * cos(PITCH), lookY = sin(PITCH), lookZ = sin(yaw) * cos(PITCH);
    Set3DCamera(-DISTANCE * lookX, -DISTANCE * lookY, -DISTANCE * lookZ, yaw, PITCH, 0);
}

/* Writes text at the window pixel where a point of the scene appears. */
static void LabelAt(const double *combined, float x, float y, float z, const char *text) {
    int pixelX, pixelY;
    World2Screen(combined, x, y, z, &pixelX, &pixelY);
    PrintAt((float)pixelX + 4, (float)pixelY + 4, text);
}

int main(void) {
    double combined[16], start;
    char line[100];

    if (!InitGraph(WIDTH, HEIGHT, 0, "3D camera")) return 1;
    SetFilledMode();
    start = Seconds();

    do {
        double time = Seconds() - start;
        double yaw = fmod(time * 0.25, 2 * PI); /* a full circle in 25 seconds */

        SetColor(27);
        Clear();

        Set3DProjection(45.0, (double)WIDTH / HEIGHT, 0.1, 100.0);
        CameraAround(yaw);
        DrawGrid();
        DrawAxes();

        PushTransformMatrix();
        TranslationTransform(0, 0, -3);
        RotationTransform((float)fmod(time * 60.0, 360.0), 0.3f, 1.0f, 0.2f);
        DrawCube();
        PopTransformMatrix();

        PushTransformMatrix();
        TranslationTransform(0, 0, 3);
        RotationTransform((float)fmod(time * 120.0, 360.0), 0, 1, 0);
        DrawPyramid();
        PopTransformMatrix();

        /* The matrices of the 3D view, before the 2D range below replaces them. */
        GetTransformationMatrices(combined, NULL, NULL);

        /* Text on top: a 2D range in window pixels (it also switches the depth test off). */
        Set2DRange(0, WIDTH, 0, HEIGHT);
        Set2DCamera(0, 0, 0);
        SetColor(7);
        LabelAt(combined, 5, 0, 0, "+x");
        LabelAt(combined, 0, 5, 0, "+y");
        LabelAt(combined, 0, 0, 5, "+z");
        snprintf(line, sizeof line, "yaw %.2f radians (%.0f degrees), pitch %.1f", yaw,
                 yaw * 180.0 / PI, PITCH);
        PrintAt(10, 580, line);
        PrintAt(10, 560, "yaw 0 looks along +x, yaw pi/2 along +z");
    } while (UpdateScreen());
    return 0;
}

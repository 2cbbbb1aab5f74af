/*
 * Rotating 3D: a cube and a pyramid built from free primitives, turning above a grid.
 *
 * The camera stands back on the -x side and looks along +x (yaw 0), tilted down a little
 * (pitch is in radians). Each object is drawn inside its own push/pop pair so that its
 * rotation does not carry over to the next one. EulerTransform turns the small marker that
 * circles the cube, computing the position without touching the drawing state.
 */
#include "Graphics.h"

#define WIDTH 800
#define HEIGHT 600
#define SCENE_X 8.0f /* the objects stand this far along +x, in front of the camera */

/* Corners of a unit cube around the origin and the four corners of each face. */
static const float CubeCorners[8][3] = {
    {-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
    {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1},
};
static const int CubeFaces[6][4] = {
    {0, 3, 2, 1}, {4, 5, 6, 7}, {0, 4, 7, 3}, {1, 2, 6, 5}, {3, 7, 6, 2}, {0, 1, 5, 4},
};
static const float CubeNormals[6][3] = {
    {0, 0, -1}, {0, 0, 1}, {-1, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, -1, 0},
};

static void DrawCube(void)
{
    int face, corner;
    StartPrimitives(5); /* quads */
    for (face = 0; face < 6; face++) {
        SetColor(1 + face);
        Normal(CubeNormals[face][0], CubeNormals[face][1], CubeNormals[face][2]);
        for (corner = 0; corner < 4; corner++) {
            const float *p = CubeCorners[CubeFaces[face][corner]];
            Vertex3D(p[0], p[1], p[2]);
        }
    }
    EndPrimitives();

    /* Dark edges on top of the faces. */
    SetColor(0);
    for (face = 0; face < 6; face++) {
        StartPrimitives(3); /* line loop */
        for (corner = 0; corner < 4; corner++) {
            const float *p = CubeCorners[CubeFaces[face][corner]];
            Vertex3D(p[0] * 1.001f, p[1] * 1.001f, p[2] * 1.001f);
        }
        EndPrimitives();
    }
}

static void DrawPyramid(void)
{
    StartPrimitives(9); /* triangle fan around the apex */
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

static void DrawGrid(void)
{
    int i;
    SetColor(16);
    StartPrimitives(1); /* separate lines */
    for (i = -10; i <= 10; i++) {
        Vertex3D(SCENE_X - 10.0f, -2.0f, (float)i);
        Vertex3D(SCENE_X + 10.0f, -2.0f, (float)i);
        Vertex3D(SCENE_X + i, -2.0f, -10.0f);
        Vertex3D(SCENE_X + i, -2.0f, 10.0f);
    }
    EndPrimitives();
}

static void DrawMarker(int frame)
{
    /* A point 2.5 units out, turned about y by the frame count and tipped by 30 degrees. */
    float x = 2.5f, y = 0.0f, z = 0.0f;
    EulerTransform(&x, &y, &z, 30.0f, 0.0f, (float)(frame * 3 % 360));
    SetPointSize(8.0f);
    SetColor(7);
    StartPrimitives(0); /* points */
    Vertex3D(x, y, z);
    EndPrimitives();
}

int main(void)
{
    int frame = 0;

    if (!InitGraph(WIDTH, HEIGHT, 0, "Rotating 3D"))
        return 1;
    SetFilledMode();

    do {
        SetColor(27);
        Clear();

        Set3DProjection(45.0, (double)WIDTH / HEIGHT, 0.1, 100.0);
        Set3DCamera(-2.0, 2.0, 0.0, 0.0, -0.3, 0.0);

        DrawGrid();

        PushTransformMatrix();
        TranslationTransform(SCENE_X, 0.0f, -2.5f);
        RotationTransform((float)(frame % 360), 0.3f, 1.0f, 0.2f);
        DrawCube();
        DrawMarker(frame);
        PopTransformMatrix();

        PushTransformMatrix();
        TranslationTransform(SCENE_X, 0.0f, 2.5f);
        RotationTransform((float)(frame * 2 % 360), 0.0f, 1.0f, 0.0f);
        ScalingTransform(1.0f, 1.2f, 1.0f);
        DrawPyramid();
        PopTransformMatrix();

        frame++;
    } while (UpdateScreen());
    return 0;
}

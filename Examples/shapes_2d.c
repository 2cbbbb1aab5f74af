/*
 * Shapes in 2D: every shape of the library in a scene that moves.
 *
 * The 2D range puts (0, 0) in the middle of the window with one unit per pixel. The camera
 * drifts left and right and sways a little; the windmill and the bouncing ball use the
 * transform stack, so each keeps its own rotation, translation and scale without disturbing
 * the rest. The animation counts frames, so its speed follows the frame rate.
 */
#include "Graphics.h"

#define WIDTH 800
#define HEIGHT 600

/* Goes from 0 up to `half` and back down to 0 over 2 * half frames. */
static int TriangleWave(int frame, int half)
{
    int phase = frame % (2 * half);
    return phase < half ? phase : 2 * half - phase;
}

static void DrawSky(int frame)
{
    int i;
    SetPointSize(2.0f);
    SetColor(7);
    for (i = 0; i < 40; i++) {
        /* A fixed scatter of stars, some of them twinkling. */
        float x = (float)((i * 137) % 760 - 380);
        float y = (float)(80 + (i * 71) % 200);
        if ((i + frame / 20) % 7 != 0)
            DrawPoint(x, y);
    }
    SetColor(6);
    SetFilledMode();
    DrawCircle(280.0f, 220.0f, 40.0f, 32);
    SetColor(14);
    DrawEllipse(-250.0f, 200.0f, 70.0f, 22.0f, 24);
}

static void DrawGround(void)
{
    int x;
    SetFilledMode();
    SetColor(23);
    DrawRectangle(-600.0f, -300.0f, 1200.0f, 180.0f);
    SetColor(17);
    SetLineWidth(1.0f);
    for (x = -600; x <= 600; x += 50)
        DrawLine((float)x, -300.0f, (float)x, -120.0f);
}

static void DrawHouse(void)
{
    SetFilledMode();
    SetColor(8);
    DrawRectangle(-200.0f, -120.0f, 160.0f, 110.0f);
    SetColor(2);
    DrawTriangle(-215.0f, -10.0f, -25.0f, -10.0f, -120.0f, 70.0f);
    SetColor(19);
    DrawRoundRectangle(-170.0f, -80.0f, 40.0f, 40.0f, 8.0f);
    SetOutlineMode();
    SetColor(7);
    SetLineWidth(2.0f);
    DrawRoundRectangle(-170.0f, -80.0f, 40.0f, 40.0f, 8.0f);
    DrawRectangle(-100.0f, -120.0f, 40.0f, 70.0f);
}

static void DrawWindmill(int frame)
{
    int blade;
    SetFilledMode();
    SetColor(15);
    DrawTriangle(110.0f, -120.0f, 150.0f, -120.0f, 130.0f, 40.0f);

    PushTransformMatrix();
    TranslationTransform(130.0f, 40.0f, 0.0f);
    RotationTransform((float)(frame % 360), 0.0f, 0.0f, 1.0f);
    for (blade = 0; blade < 4; blade++) {
        SetColor(blade % 2 ? 11 : 29);
        DrawRectangle(0.0f, -8.0f, 90.0f, 16.0f);
        RotationTransform(90.0f, 0.0f, 0.0f, 1.0f);
    }
    PopTransformMatrix();

    SetColor(16);
    DrawCircle(130.0f, 40.0f, 8.0f, 16);
}

static void DrawBall(int frame)
{
    float height = (float)TriangleWave(frame, 45);
    float squash = 1.0f + (45.0f - height) / 150.0f;

    PushTransformMatrix();
    TranslationTransform(300.0f, -100.0f + height * 2.0f, 0.0f);
    ScalingTransform(squash, 1.0f / squash, 1.0f);
    SetFilledMode();
    SetColor(9);
    DrawCircle(0.0f, 0.0f, 20.0f, 24);
    SetOutlineMode();
    SetColor(7);
    DrawCircle(0.0f, 0.0f, 20.0f, 24);
    PopTransformMatrix();
}

static void DrawSpinner(int frame)
{
    /* Start past the end: the arc wraps through 360 degrees. */
    float start = (float)((frame * 4) % 360);
    float end = (float)((frame * 4 + 270) % 360);
    SetLineWidth(4.0f);
    SetColor(5);
    DrawArc(-300.0f, -60.0f, start, end, 30.0f, 5.0f);
    SetLineWidth(1.0f);
}

int main(void)
{
    int frame = 0;

    if (!InitGraph(WIDTH, HEIGHT, 0, "Shapes in 2D"))
        return 1;

    do {
        SetColor(10);
        Clear();

        Set2DRange(-WIDTH / 2, WIDTH / 2, -HEIGHT / 2, HEIGHT / 2);
        Set2DCamera(TriangleWave(frame, 200) / 2 - 50, 0, (TriangleWave(frame, 300) - 150) / 50.0);

        DrawSky(frame);
        DrawGround();
        DrawHouse();
        DrawWindmill(frame);
        DrawBall(frame);
        DrawSpinner(frame);

        frame++;
    } while (UpdateScreen());
    return 0;
}

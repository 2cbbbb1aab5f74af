/*
 * Shapes: every drawing primitive of the library in one small scene.
 *
 * The 2D range puts (0, 0) in the middle of the window with one unit per pixel and y growing
 * upwards. Shapes start as outlines: SetFilledMode fills the circles, ellipses, rectangles and
 * triangles drawn after it, SetOutlineMode goes back to outlines. The windmill and the ball use
 * the transform stack, so each keeps its own rotation, translation and scale without disturbing
 * the rest. The sky is a free primitive: StartPrimitives, a few vertices, EndPrimitives, with a
 * colour for each vertex that OpenGL blends across the shape.
 *
 * Everything moves by the time that has passed, so the speed is the same at any frame rate.
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

static void DrawSky(double time) {
    int i;
    /* Type 5 is quads: four vertices each. Dark blue at the top, purple at the horizon. */
    StartPrimitives(5);
    SetColorRGBA(10, 10, 60, 255);
    Vertex2D(-400, 300);
    Vertex2D(400, 300);
    SetColorRGBA(90, 40, 120, 255);
    Vertex2D(400, -120);
    Vertex2D(-400, -120);
    EndPrimitives();

    SetPointSize(2.0f);
    SetColor(7);
    for (i = 0; i < 40; i++) {
        /* A fixed scatter of stars; every seventh one twinkles off for a moment. */
        float x = (float)((i * 137) % 760 - 380);
        float y = (float)(80 + (i * 71) % 200);
        if ((i + (int)(time * 3.0)) % 7 != 0) DrawPoint(x, y);
    }
    SetFilledMode();
    SetColor(6);
    DrawCircle(280, 220, 40, 32);
    SetColor(14);
    DrawEllipse(-250, 200, 70, 22, 24);
}

static void DrawGround(void) {
    int x;
    SetFilledMode();
    SetColor(23);
    DrawRectangle(-400, -300, 800, 180);
    SetColor(17);
    SetLineWidth(1.0f);
    for (x = -400; x <= 400; x += 50) DrawLine((float)x, -300, (float)x, -120);
}

static void DrawHouse(void) {
    SetFilledMode();
    SetColor(8);
    DrawRectangle(-200, -120, 160, 110);
    SetColor(2);
    DrawTriangle(-215, -10, -25, -10, -120, 70);
    SetColor(19);
    DrawRoundRectangle(-170, -80, 40, 40, 8);
    /* The same shapes again as outlines draw their edges. */
    SetOutlineMode();
    SetColor(7);
    SetLineWidth(2.0f);
    DrawRoundRectangle(-170, -80, 40, 40, 8);
    DrawRectangle(-100, -120, 40, 70);
    SetLineWidth(1.0f);
}

static void DrawWindmill(double time) {
    int blade;
    SetFilledMode();
    SetColor(15);
    DrawTriangle(110, -120, 150, -120, 130, 40);

    PushTransformMatrix();
    TranslationTransform(130, 40, 0);
    /* 45 degrees a second, counter-clockwise. */
    RotationTransform((float)fmod(time * 45.0, 360.0), 0, 0, 1);
    for (blade = 0; blade < 4; blade++) {
        SetColor(blade % 2 ? 11 : 29);
        DrawRectangle(0, -8, 90, 16);
        RotationTransform(90, 0, 0, 1);
    }
    PopTransformMatrix();

    SetColor(16);
    DrawCircle(130, 40, 8, 16);
}

static void DrawBall(double time) {
    /* fabs(sin) bounces: 0 on the ground, 1 at the top, one bounce a second. */
    float height = (float)fabs(sin(time * 3.14159265));
    float squash = 1.0f + (1.0f - height) * 0.3f;

    PushTransformMatrix();
    TranslationTransform(300, -100 + height * 90, 0);
    ScalingTransform(squash, 1.0f / squash, 1);
    SetFilledMode();
    SetColor(9);
    DrawCircle(0, 0, 20, 24);
    SetOutlineMode();
    SetColor(7);
    DrawCircle(0, 0, 20, 24);
    PopTransformMatrix();
}

static void DrawSpinner(double time) {
    /* An arc from start to end, in degrees; a start above the end wraps through 360. */
    float start = (float)fmod(time * 240.0, 360.0);
    float end = (float)fmod(start + 270.0, 360.0);
    SetLineWidth(4.0f);
    SetColor(5);
    DrawArc(-300, -60, start, end, 30, 5);
    SetLineWidth(1.0f);
}

int main(void) {
    double start;

    if (!InitGraph(WIDTH, HEIGHT, 0, "Shapes")) return 1;
    start = Seconds();

    do {
        double time = Seconds() - start;

        SetColor(0);
        Clear();
        Set2DRange(-WIDTH / 2, WIDTH / 2, -HEIGHT / 2, HEIGHT / 2);
        /* A camera call after the range: without it the transforms below would act on the
         * range instead of on the shapes. */
        Set2DCamera(0, 0, 0);

        DrawSky(time);
        DrawGround();
        DrawHouse();
        DrawWindmill(time);
        DrawBall(time);
        DrawSpinner(time);
    } while (UpdateScreen());
    return 0;
}

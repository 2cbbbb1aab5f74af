/*
 * 2D camera: a world larger than the window, seen through a camera that follows a car.
 *
 * Set2DRange says how many world units the window shows: here 800 by 600, with (0, 0) in the
 * middle of the window. Set2DCamera(x, y, angle) then puts the world point (x, y) at that middle
 * and turns the world about it by angle degrees (counter-clockwise). Every few seconds the camera
 * switches between keeping north up and turning with the car so that the car always points up.
 *
 * Two conversions link the world with the window. World2Screen gives the window pixel of a world
 * point (the label under the car); Screen2World gives the world point under a window pixel (the
 * cross under the mouse pointer). Both count window pixels from the bottom-left corner with y
 * upwards, while GetMousePosition counts from the top-left corner with y downwards: the mouse's
 * y is turned over before the conversion.
 */
#include <Graphics.h>
#include <math.h>
#include <stdio.h>
#include <time.h>

#define WIDTH 800
#define HEIGHT 600
#define ROAD_RADIUS 600.0 /* the car drives round a circle of this radius about (0, 0) */
#define PI 3.14159265358979

static double Seconds(void) {
    struct timespec now;
    timespec_get(&now, TIME_UTC);
    return (double)now.tv_sec + (double)now.tv_nsec / 1e9;
}

static void DrawWorld(void) {
    int i;
    /* Grid lines every 100 units, so that the movement and the turning show. */
    SetColor(16);
    for (i = -1000; i <= 1000; i += 100) {
        DrawLine((float)i, -1000, (float)i, 1000);
        DrawLine(-1000, (float)i, 1000, (float)i);
    }
    /* The road: a ring made as a triangle strip, inner and outer edge by turns. */
    SetColor(14);
    StartPrimitives(8);
    for (i = 0; i <= 120; i++) {
        double angle = i * 2.0 * PI / 120;
        Vertex2D((float)((ROAD_RADIUS - 20) * cos(angle)),
                 (float)((ROAD_RADIUS - 20) * sin(angle)));
        Vertex2D((float)((ROAD_RADIUS + 20) * cos(angle)),
                 (float)((ROAD_RADIUS + 20) * sin(angle)));
    }
    EndPrimitives();

    SetFilledMode();
    SetColor(19);
    DrawEllipse(0, 0, 250, 150, 48); /* a pond in the middle */
    for (i = 0; i < 30; i++) {
        /* Trees at fixed places spread over the world, none on the road. */
        float angle = (float)(i * 2.4);
        float distance = (float)(i % 2 ? 380 + i * 5 : 720 + i * 8);
        SetColor(i % 3 ? 4 : 23);
        DrawCircle(distance * cosf(angle), distance * sinf(angle), 30, 16);
    }
    SetColor(2);
    DrawRectangle(-900, 800, 120, 80); /* a red house in the north-west */
    SetColor(7);
    PrintAt(-900, 780, "north-west");
}

static void DrawCar(float x, float y, float heading) {
    PushTransformMatrix();
    TranslationTransform(x, y, 0);
    RotationTransform(heading, 0, 0, 1);
    SetColor(6);
    DrawTriangle(30, 0, -20, 15, -20, -15); /* pointing along +x before the rotation */
    PopTransformMatrix();
}

int main(void) {
    double modelview[16], projection[16], combined[16];
    double start;
    char line[100];

    if (!InitGraph(WIDTH, HEIGHT, 0, "2D camera")) return 1;
    start = Seconds();

    do {
        double time = Seconds() - start;
        double angle = time * 0.3; /* where on the road, in radians */
        float carX = (float)(ROAD_RADIUS * cos(angle));
        float carY = (float)(ROAD_RADIUS * sin(angle));
        float heading = (float)(angle * 180.0 / PI + 90.0); /* degrees, driving round */
        int headingUp = (int)(time / 6.0) % 2;
        int mouseX, mouseY, windowWidth, windowHeight, carPixelX, carPixelY;
        double worldX = 0, worldY = 0, worldZ = 0;

        SetColor(0);
        Clear();

        /* The world, seen by the camera. */
        Set2DRange(-WIDTH / 2, WIDTH / 2, -HEIGHT / 2, HEIGHT / 2);
        Set2DCamera(carX, carY, headingUp ? 90.0 - heading : 0.0);
        DrawWorld();
        DrawCar(carX, carY, heading);

        /* The conversions need the matrices of the camera just set. */
        GetTransformationMatrices(combined, modelview, projection);
        World2Screen(combined, carX, carY, 0, &carPixelX, &carPixelY);
        GetMousePosition(&mouseX, &mouseY);
        GetWindowSize(&windowWidth, &windowHeight);
        if (Screen2World(modelview, projection, mouseX, windowHeight - 1 - mouseY, 0.5, &worldX,
                         &worldY, &worldZ)) {
            SetColor(7);
            DrawLine((float)worldX - 10, (float)worldY, (float)worldX + 10, (float)worldY);
            DrawLine((float)worldX, (float)worldY - 10, (float)worldX, (float)worldY + 10);
        }

        /* Text that stays in place: a range of window pixels and a camera that does nothing. */
        Set2DRange(0, WIDTH, 0, HEIGHT);
        Set2DCamera(0, 0, 0);
        SetColor(7);
        PrintAt((float)carPixelX - 15, (float)carPixelY - 45, "car");
        PrintAt(10, 580, headingUp ? "Camera turns with the car" : "Camera keeps north up");
        snprintf(line, sizeof line, "Car at world (%.0f, %.0f), window pixel (%d, %d)", carX, carY,
                 carPixelX, carPixelY);
        PrintAt(10, 560, line);
        snprintf(line, sizeof line,
                 "Mouse at window (%d, %d) from the top-left = world (%.0f, %.0f)", mouseX, mouseY,
                 worldX, worldY);
        PrintAt(10, 20, line);
    } while (UpdateScreen());
    return 0;
}

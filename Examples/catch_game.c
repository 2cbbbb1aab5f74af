/*
 * Catch the smileys: a small complete game.
 *
 * Smileys fall from the sky; move the basket under them with the arrow keys (or A and D), or hold
 * the left mouse button and the basket follows the pointer. Every smiley caught scores a point and
 * makes the next ones fall a little faster; every one that reaches the ground costs one of three
 * lives and shakes the picture. P pauses, Space or a click starts a new game once it is over, and
 * Escape or closing the window ends the program.
 *
 * What it uses: the frame loop with time measured for smooth movement at any frame rate; palette
 * and RGBA colours; shapes and a free primitive; a 2D camera for the shaking; a texture repeated
 * along the ground; an image with its background keyed out and turned into a texture for the
 * smileys; bitmap text for the help line; a vector font for the score; and the keyboard and mouse.
 * The picture and font files lie beside this program.
 */
#include <Graphics.h>
#include <Tactil.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#define WIDTH 800
#define HEIGHT 600
#define GROUND 60 /* the ground's top edge */
#define BASKET_WIDTH 110.0f
#define BASKET_HEIGHT 36.0f
#define BASKET_SPEED 480.0f /* pixels a second */
#define SMILEY_SIZE 48.0f
#define MAX_SMILEYS 10
#define LIVES 3
#define SHAKE_TIME 0.4 /* seconds the picture shakes after a miss */

struct Smiley {
    int falling; /* 0 while the place is free */
    float x, y;  /* bottom-left corner */
    float turn;  /* degrees, for a little spin while falling */
};

struct Game {
    struct Smiley smileys[MAX_SMILEYS];
    float basketX; /* left edge */
    int score, lives, paused;
    double untilNextSmiley; /* seconds */
    double shaking;         /* seconds of shaking left */
};

static double Seconds(void) {
    struct timespec now;
    timespec_get(&now, TIME_UTC);
    return (double)now.tv_sec + (double)now.tv_nsec / 1e9;
}

/* A whole number from 0 to limit - 1. */
static int RandomBelow(int limit) {
    return rand() % limit;
}

static void NewGame(struct Game *game) {
    int i;
    for (i = 0; i < MAX_SMILEYS; i++) game->smileys[i].falling = 0;
    game->basketX = (WIDTH - BASKET_WIDTH) / 2;
    game->score = 0;
    game->lives = LIVES;
    game->paused = 0;
    game->untilNextSmiley = 0.5;
    game->shaking = 0;
}

/* Falling speed in pixels a second: faster with every point. */
static float FallSpeed(const struct Game *game) {
    return 120.0f + 12.0f * (float)game->score;
}

static void DropSmiley(struct Game *game) {
    int i;
    for (i = 0; i < MAX_SMILEYS; i++) {
        struct Smiley *smiley = &game->smileys[i];
        if (!smiley->falling) {
            smiley->falling = 1;
            smiley->x = (float)RandomBelow(WIDTH - (int)SMILEY_SIZE);
            smiley->y = HEIGHT;
            smiley->turn = 0;
            return;
        }
    }
}

static void MoveBasket(struct Game *game, float seconds) {
    int mouseX, mouseY;
    if (KeyDown(KEY_LEFT) || KeyDown(KEY_A)) game->basketX -= BASKET_SPEED * seconds;
    if (KeyDown(KEY_RIGHT) || KeyDown(KEY_D)) game->basketX += BASKET_SPEED * seconds;
    if (MouseButtonDown(MOUSE_LEFT)) {
        /* The pointer's x counts window pixels from the left, as this range does. */
        GetMousePosition(&mouseX, &mouseY);
        game->basketX = (float)mouseX - BASKET_WIDTH / 2;
    }
    if (game->basketX < 0) game->basketX = 0;
    if (game->basketX > WIDTH - BASKET_WIDTH) game->basketX = WIDTH - BASKET_WIDTH;
}

/* Moves the smileys down; a smiley that reaches the basket's top is caught, one that reaches the
 * ground is lost. */
static void MoveSmileys(struct Game *game, float seconds) {
    const float basketTop = GROUND + BASKET_HEIGHT;
    int i;
    for (i = 0; i < MAX_SMILEYS; i++) {
        struct Smiley *smiley = &game->smileys[i];
        float middle = smiley->x + SMILEY_SIZE / 2;
        float before = smiley->y;
        if (!smiley->falling) continue;
        smiley->y -= FallSpeed(game) * seconds;
        smiley->turn += 90.0f * seconds;
        /* Caught when it passes the basket's top edge above the basket in this frame. */
        if (before >= basketTop && smiley->y < basketTop && middle >= game->basketX &&
            middle <= game->basketX + BASKET_WIDTH) {
            smiley->falling = 0;
            game->score++;
        } else if (smiley->y <= GROUND) {
            smiley->falling = 0;
            game->lives--;
            game->shaking = SHAKE_TIME;
        }
    }
}

static void Update(struct Game *game, float seconds) {
    if (game->shaking > 0) game->shaking -= seconds;
    if (game->lives == 0) {
        if (KeyPressed(KEY_SPACE) || MouseButtonPressed(MOUSE_LEFT)) NewGame(game);
        return;
    }
    if (KeyPressed(KEY_P)) game->paused = !game->paused;
    if (game->paused) return;

    MoveBasket(game, seconds);
    MoveSmileys(game, seconds);
    game->untilNextSmiley -= seconds;
    if (game->untilNextSmiley <= 0) {
        DropSmiley(game);
        /* Between 0.4 and 1.2 seconds to the next one. */
        game->untilNextSmiley = 0.4 + RandomBelow(80) / 100.0;
    }
}

static void DrawBackground(int bricks) {
    /* Sky: one quad, light blue at the top fading to pale at the ground. */
    SetFilledMode();
    StartPrimitives(5);
    SetColorRGBA(90, 160, 230, 255);
    Vertex2D(0, HEIGHT);
    Vertex2D(WIDTH, HEIGHT);
    SetColorRGBA(200, 230, 250, 255);
    Vertex2D(WIDTH, GROUND);
    Vertex2D(0, GROUND);
    EndPrimitives();

    /* Ground: the brick picture ten times along, once up. */
    EnableTexturing();
    SetColor(7);
    SetTexture(bricks);
    StartPrimitives(5);
    TextureCoord(0, 0);
    Vertex2D(0, 0);
    TextureCoord(10, 0);
    Vertex2D(WIDTH, 0);
    TextureCoord(10, 1);
    Vertex2D(WIDTH, GROUND);
    TextureCoord(0, 1);
    Vertex2D(0, GROUND);
    EndPrimitives();
    DisableTexturing();
}

static void DrawBasket(const struct Game *game) {
    SetFilledMode();
    SetColor(8);
    DrawRoundRectangle(game->basketX, GROUND, BASKET_WIDTH, BASKET_HEIGHT, 10);
    SetOutlineMode();
    SetColor(29);
    SetLineWidth(2.0f);
    DrawRoundRectangle(game->basketX, GROUND, BASKET_WIDTH, BASKET_HEIGHT, 10);
    SetLineWidth(1.0f);
    SetFilledMode();
}

static void DrawSmileys(const struct Game *game, int smileyTexture) {
    int i;
    EnableTexturing();
    SetColor(7);
    for (i = 0; i < MAX_SMILEYS; i++) {
        const struct Smiley *smiley = &game->smileys[i];
        if (!smiley->falling) continue;
        /* Turn about the smiley's middle: move there, turn, draw centred. */
        PushTransformMatrix();
        TranslationTransform(smiley->x + SMILEY_SIZE / 2, smiley->y + SMILEY_SIZE / 2, 0);
        RotationTransform(smiley->turn, 0, 0, 1);
        DrawTexturedRectangle(smileyTexture, -SMILEY_SIZE / 2, -SMILEY_SIZE / 2, SMILEY_SIZE,
                              SMILEY_SIZE);
        PopTransformMatrix();
    }
    DisableTexturing();
}

/* Draws text with its middle at x and its first line's baseline at y. */
static void DrawCentred(int font, float y, const char *text) {
    float width = GetVectorFontStringWidth(font, text);
    if (width < 0) width = 0; /* nothing to measure: the font did not load */
    PushTransformMatrix();
    TranslationTransform((WIDTH - width) / 2, y, 0);
    DrawVectorFont(font, text);
    PopTransformMatrix();
}

static void DrawScore(const struct Game *game, int font, int bigFont) {
    char text[40];
    int life;

    snprintf(text, sizeof text, "Score %d", game->score);
    SetColor(10);
    PushTransformMatrix();
    TranslationTransform(16, HEIGHT - 40, 0);
    DrawVectorFont(font, text);
    PopTransformMatrix();

    /* One red dot for every life left. */
    SetColor(2);
    for (life = 0; life < game->lives; life++) {
        DrawCircle((float)(WIDTH - 30 - life * 30), HEIGHT - 28, 10, 24);
    }

    SetColor(0);
    if (game->lives == 0) {
        DrawCentred(bigFont, HEIGHT / 2, "Game over");
        PrintAt(WIDTH / 2 - 170, HEIGHT / 2 - 50, "Press Space or click to play again");
    } else if (game->paused) {
        DrawCentred(bigFont, HEIGHT / 2, "Paused");
    }
    PrintAt(16, HEIGHT - 64, "Arrows, A/D or the mouse held down: move   P: pause   Escape: quit");
}

int main(void) {
    struct Game game;
    int bricks, face, smileyTexture, font, bigFont;
    double lastFrame;

    if (!InitGraph(WIDTH, HEIGHT, 0, "Catch the smileys")) return 1;
    srand((unsigned)time(NULL));

    bricks = LoadTexture("bricks.rgb");
    face = _LoadImage("face.bmp");
    SetImageColorKey(face, 255, 0, 255); /* magenta around the face becomes transparent */
    smileyTexture = CreateTextureFromImage(face);
    font = LoadVectorFont("DejaVuSans.ttf", 28);
    bigFont = LoadVectorFont("DejaVuSans.ttf", 64);

    NewGame(&game);
    lastFrame = Seconds();
    do {
        double now = Seconds();
        /* Time since the previous frame, at most a tenth of a second so that a pause of the
         * program (a window being dragged, say) does not make things jump. */
        float seconds = (float)(now - lastFrame < 0.1 ? now - lastFrame : 0.1);
        lastFrame = now;

        if (KeyPressed(KEY_ESCAPE)) break;
        Update(&game, seconds);

        SetColor(0);
        Clear();
        Set2DRange(0, WIDTH, 0, HEIGHT);
        /* The camera looks at (0, 0) as usual; while shaking, a few pixels off it. */
        if (game.shaking > 0) {
            Set2DCamera(RandomBelow(11) - 5, RandomBelow(11) - 5, 0);
        } else {
            Set2DCamera(0, 0, 0);
        }
        DrawBackground(bricks);
        DrawSmileys(&game, smileyTexture);
        DrawBasket(&game);
        DrawScore(&game, font, bigFont);
    } while (UpdateScreen());

    DeleteVectorFont(bigFont);
    DeleteVectorFont(font);
    DeleteTexture(smileyTexture);
    DeleteImage(face);
    DeleteTexture(bricks);
    return 0;
}

// Explosions, sparks, debris, stars and bomb-stock icons: the functions
// that make them. They never hurt anything.
#include "enemy/effects.h"

#include <cmath>

#include "enemy/bullets.h"
#include "entity/entity.h"
#include "entity/heading.h"
#include "game/game.h"
#include "game/score.h"
#include "player/items.h"
#include "player/player.h"
#include "player/weapons.h"
#include "core/core.h"
#include "sound/sound.h"

int KillCount;
int JewelDropCount;

void EffectCountersReset() {
    KillCount = 0;
    JewelDropCount = 0;
}

// One in six.
static bool OneInSix() { return my_rand(0, 5) == 5; }

// Fills a new explosion record: box, sheet and a fresh animation.
static void ExploSet(SpriteData& s, float x, float y, int size, int frames, int bmp) {
    s.x = x;
    s.y = y;
    s.w = s.h = size;
    s.frame = 0;
    s.frames = frames;
    s.anim = 0.0f;
    s.bmp = bmp;
}

// Ten pieces of debris thrown back to the left.
static void DebrisSpray(float x, float y) {
    for (int i = 0; i < 10; i++) {
        int speed = my_rand(1, 20);
        int angle = my_rand(140, 220);
        Gomi(x, y, angle, (float)speed);
    }
}

void ExploHappen(float x, float y) {
    if (OneInSix()) {
        renbaku2(x, y, 10, 60, 20);
        DS_Play(Wave[4]);
    }
    DS_Play(Wave[1]);
    SpriteData* s = SpriteClaim(Bom);
    if (!s) return;  // no room: no charge, debris, bullet or bonus either
    ExploSet(*s, x, y, 130, 7, 1);
    SpriteSetAngle(*s, (float)my_rand(90, 180));
    s->speed = (float)my_rand(1, 50);
    ChargeStep(20, 100);
    DebrisSpray(x, y);
    if (OPTION.Difficulty == HARD) kou(x, y, 180, 25, 91, 1);  // a parting shot
    JewelDropCount += 1;
    KillCount += 1;
    dat.score += KillCount;
    if (JewelDropCount >= 10) {
        Jewel(x, y, 180, 20.0f, 0);
        JewelDropCount = 0;
    }
}

void ExploHappen2(float x, float y) {
    Jewel(x, y, 180, 20.0f, 5);
    if (OneInSix()) {
        int oy = my_rand(-10, 10);
        int ox = my_rand(-10, 10);
        ExploHappen3(x + ox, y + oy);
    }
    DebrisSpray(x, y);
    SpriteData* s = SpriteClaim(Bom);
    if (!s) return;
    // The big explosion keeps whatever motion its slot last had.
    ExploSet(*s, x, y, 130, 7, 1);
    ChargeStep(25, 100);
}

void ExploHappen3(float x, float y) {
    int r = my_rand(0, 5);
    if (r >= 4) {
        for (int i = 0; i < 3; i++) {
            int oy = my_rand(-50, 50);
            int ox = my_rand(-50, 50);
            ExploHappen4(x + ox, y + oy);
        }
        DS_Play(Wave[4]);
    } else {
        DS_Play(Wave[1]);
    }
    SpriteData* s = SpriteClaim(Bom2);
    if (!s) return;
    ExploSet(*s, x, y, 64, 4, 5);
    SpriteSetAngle(*s, 180.0f);
    s->speed = (float)my_rand(1, 100);
}

void ExploHappen4(float x, float y) {
    if (OneInSix())
        DS_Play(Wave[4]);
    else
        DS_Play(Wave[1]);
    SpriteData* s = SpriteClaim(Bom3);
    if (!s) return;
    ExploSet(*s, x, y, 32, 8, 7);
}

void ExploHappen5(float x, float y) {
    KillCount += 1;
    dat.score += KillCount;
    ExploHappen4(x, y);
}

void ExploHappen6(float x, float y) {
    DS_Play(Wave[15]);
    for (int i = 0; i < 21; i++) renbaku(x, y, 0);
}

void ExploHappen7(float x, float y) {
    SpriteData* s = SpriteClaim(Bom2);
    if (!s) return;
    int speed = my_rand(1, 20);
    int angle = my_rand(0, 360);
    Gomi(x + 32, y + 32, angle, (float)speed);
    ExploSet(*s, x, y, 64, 4, 5);
    SpriteSetAngle(*s, (float)my_rand(0, 360));
    s->speed = (float)my_rand(1, 50);
}

// ExploHappen8 and 9: a mid explosion flying at `angle` with ten pieces of
// debris thrown around that heading, at a random or the given speed.
static void ExploFlying(float x, float y, int angle, bool randomSpeed, int speed) {
    SpriteData* s = SpriteClaim(Bom2);
    if (!s) return;
    for (int i = 0; i < 10; i++) {
        int dspeed = my_rand(1, 50);
        int spread = my_rand(-30, 30);
        Gomi(x, y, angle + spread, (float)dspeed);
    }
    ExploSet(*s, x, y, 64, 8, 5);
    SpriteSetAngle(*s, (float)angle);
    s->speed = randomSpeed ? (float)my_rand(10, 100) : (float)speed;
    ChargeStep(30, 100);
}

void ExploHappen8(float x, float y, int angle) { ExploFlying(x, y, angle, true, 0); }

void ExploHappen9(float x, float y, int angle, int speed) { ExploFlying(x, y, angle, false, speed); }

void ExploHappen10(float x, float y) {
    ExploHappen7(x, y);
    float a = my_atan(x + 32, y + 32, ShipCenterX(), ShipCenterY()) * (float)kRadToDeg;
    int degrees = (a > -1.0e6f && a < 1.0e6f) ? (int)a : 0;
    Jewel(x, y, degrees, 20.0f, 5);
}

void renbaku(float x, float y, int kind) {
    int n = my_rand(0, 20);
    float px = x + my_rand(-60, 60);
    float py = y + my_rand(-60, 60);
    if (kind != 0) return;
    for (int i = 0; i < n; i++) {
        ExploHappen10(px, py);
        px += my_rand(-60, 60);
        py += my_rand(-60, 60);
    }
}

void renbaku2(float x, float y, int angle, int distance, int many) {
    int n = (many == 0) ? 0 : my_rand(0, 20);
    DS_Play(Wave[4]);
    float px = x;
    float py = y;
    for (int i = 0; i <= n; i++) {
        ExploHappen7(px, py);
        angle += i * n;
        double rad = angle * kDegToRad;
        px = (float)(x + distance * std::cos(rad));
        py = (float)(y + distance * std::sin(rad));
    }
}

void pbaku(float x, float y, int kind) {
    int n = my_rand(10, 40);
    float px = x + my_rand(-60, 60);
    float py = y + my_rand(-60, 60);
    DS_Play(Wave[15]);
    if (kind != 0) return;
    for (int i = 0; i < n; i++) {
        ExploHappen7(px, py);
        px += my_rand(-60, 60);
        py += my_rand(-60, 60);
    }
}

void pom(float x, float y) {
    if (my_rand(0, 2) == 2) {
        int speed = my_rand(1, 20);
        int angle = my_rand(170, 190);
        Gomi(x, y, angle, (float)speed);
    }
    SpriteData* s = SpriteClaim(Pom);
    if (!s) return;
    ExploSet(*s, x, y, 16, 4, 4);
    ChargeStep(1, 50);
}

void Gomi(float x, float y, int angle, float speed) {
    SpriteData* s = SpriteClaim(gomi);
    if (!s) return;
    s->mode = 0;
    s->x = x + my_rand(-10, 10);
    s->y = y + my_rand(-20, 20);
    SpriteSetAngle(*s, (float)angle);
    s->w = s->h = 4;
    s->timer = (float)my_rand(10, 100);
    s->frame = 0;
    s->frames = 8;
    s->anim = 1.0f;
    s->bmp = 152;
    s->speed = speed + my_rand(10, 100);
}

void Hosi(float x, float y, int angle, float speed) {
    SpriteData* s = SpriteClaim(hosi);
    if (!s) return;
    s->mode = 0;
    s->x = x;
    s->y = y;
    SpriteSetAngle(*s, (float)angle);
    s->w = 64;
    s->h = my_rand(0, 3);  // which streak of the sheet
    s->timer = 10.0f;
    s->frame = 0;
    s->frames = 1;
    s->anim = 1.0f;
    s->bmp = 172;
    s->speed = speed;
}

void Cry(float x, float y) {
    SpriteData* s = SpriteClaim(cry);
    if (!s) return;
    ExploSet(*s, x, y, 24, 18, 66);
}

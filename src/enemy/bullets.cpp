// The enemy bullet, laser, flash and line spawners.
#include "enemy/bullets.h"

#include <cmath>

#include "entity/heading.h"
#include "game/game.h"
#include "core/core.h"
#include "sound/sound.h"

float BulletSpin;
int BulletTurnAngle;

// Points an aimed shot made at (x, y) (a 16x16 box) at the ship's centre.
// Only the heading is aimed: `angle` keeps the caller's value.
static void AimAtShip(SpriteData& s, float x, float y) {
    SpriteHeadingRad(s, my_atan(x + 8, y + 8, ShipCenterX(), ShipCenterY()));
}

void kou(float x, float y, float angle, float speed, int graphic, int mode) {
    if (!P_Ship.flag) return;
    SpriteData* s = SpriteClaim(tama);
    if (!s) return;
    s->mode = mode;
    s->opt2 = 0;
    s->x = x;
    s->y = y;
    s->time = 0.0f;
    s->fw[1] = 0.0f;
    SpriteSetAngle(*s, angle);
    s->w = s->h = 16;
    s->frame = 0;
    s->frames = (graphic == 98 || graphic == 99) ? 8 : 2;
    s->anim = 0.0f;
    s->bmp = graphic;
    s->speed = speed;
    if (mode == 1) AimAtShip(*s, x, y);
    if (mode == 4) s->time = BulletSpin;
}

void kou2(float x, float y, float angle, float speed, int graphic, int mode) {
    if (!P_Ship.flag) return;
    SpriteData* s = SpriteClaim(Baka);
    if (!s) return;
    s->x = x;
    s->y = y;
    SpriteSetAngle(*s, angle);
    s->timer = (float)my_rand(1, 10);
    s->w = s->h = 64;
    s->frame = 0;
    s->frames = 1;
    s->anim = 0.0f;
    s->bmp = graphic;
    s->speed = speed;
    s->mode = mode;
}

void Flash(float x, float y, float angle, float speed, int graphic, int mode) {
    SpriteData* s = SpriteClaim(flash);
    if (!s) return;
    s->mode = mode;
    s->x = x;
    s->y = y;
    SpriteSetAngle(*s, angle);
    s->w = s->h = 16;
    s->frame = 0;
    s->loop = 0;
    s->frames = 1;
    s->anim = 0.0f;
    s->bmp = graphic;
    s->time = 5.0f;
    s->fw[1] = 1.0f;
    s->speed = speed;
    if (mode == 1) AimAtShip(*s, x, y);
}

void SL(float x, float y, float angle, float speed) {
    if (!P_Ship.flag) return;
    SpriteData* s = SpriteClaim(sLaser);
    if (!s) return;
    s->x = x;
    s->y = y;
    SpriteSetAngle(*s, angle);
    s->w = 64;
    s->h = 6;
    s->frame = 0;
    s->frames = 1;
    s->anim = 0.0f;
    s->bmp = 94;
    s->speed = speed;
}

// The whole degrees of an angle, safe for any float: values far beyond a
// few turns are first brought back within one turn (the remainder by 360
// is the same), and a value that is not a number counts as 0.
static int WholeDegrees(float a) {
    if (std::isnan(a)) return 0;
    if (std::fabs(a) >= 1.0e9f) a = std::fmod(a, 360.0f);
    return (int)a;
}

int DartCell(float angle) {
    int a = WholeDegrees(angle);
    if (angle < 0) a = a % 360 + 360;
    int c = (a + 3) % 360;
    return (c / 10) % 18;
}

void SL2(float x, float y, float angle, float speed, int variant) {
    if (!P_Ship.flag) return;
    SpriteData* s = SpriteClaim(sLaser2);
    if (!s) return;
    s->x = x;
    s->y = y;
    s->mode = DartCell(angle);
    SpriteSetAngle(*s, angle);
    s->w = s->h = 32;
    s->frame = 0;
    s->frames = 1;
    s->anim = 0.0f;
    s->opt2 = (StageNo == 3) ? 1 : variant;
    s->bmp = 89;
    s->speed = speed;
}

void BL(float x, float y, float angle, float speed) {
    DS_Play(Wave[5]);
    SpriteData* s = SpriteClaim(BLaser);
    if (!s) return;
    s->x = x - 620;
    s->y = y - 150;
    s->angle = angle;  // the beam stands still: no heading
    s->w = 640;
    s->h = 300;
    s->frame = 0;
    s->frames = 5;
    s->anim = 0.0f;
    s->bmp = 96;
    s->speed = speed;
}

void Line(float x, float x2, float y, float y2, float speed2, float fade, int r, int g, int b, int mode) {
    SpriteData* s = SpriteClaim(line);
    if (!s) return;
    s->x = x;
    s->x2 = x2;
    s->y = y;
    s->y2 = y2;
    s->speed2 = speed2;
    s->fade = fade;
    s->r = r;
    s->g = g;
    s->b = b;
    s->mode = mode;
    s->speed = 0.0f;
}

// Jewels: made by explosions and cancelled bullets, they drift left and
// lose value as they age; touching one scores and raises the jewel value.
// Also the floating score numbers they leave.
#include <cmath>

#include "enemy/bullets.h"
#include "entity/entity.h"
#include "entity/heading.h"
#include "game/game.h"
#include "game/score.h"
#include "player/items.h"
#include "player/player.h"
#include "render/render.h"
#include "core/core.h"
#include "sound/sound.h"

void Jewel(float x, float y, int /*angle*/, float speed, int kind) {
    if (Shield[0].flag) return;  // the shield swallows every jewel
    SpriteData* s = SpriteClaim(jewel);
    if (!s) return;
    s->x = x;
    s->y = y;
    s->mode = kind;
    s->timer = 75.0f;
    s->time = 75.0f;
    s->col = 3;
    SpriteSetAngle(*s, 180.0f);
    s->w = s->h = 32;
    s->frame = 0;
    s->frames = 9;
    s->anim = 0.0f;
    s->bmp = 15;
    s->speed = speed;
    if (kind == 5) {
        // Thrown at the ship: `angle` holds the heading in radians here.
        s->mode = 4;
        s->speed = 150.0f;
        s->timer = 20.0f;
        float a = my_atan(s->x + s->w / 2, s->y + s->h / 2, ShipCenterX(), ShipCenterY());
        s->angle = a;
        SpriteHeadingRad(*s, a);
    } else if (BombPulse == 1) {
        s->mode = 4;
        s->speed = 100.0f;
        s->timer = 20.0f;
    }
    if (s->mode != 4) {
        if (s->y < 0) s->y = 0;
        if (s->y > 460) s->y = 460;
    }
}

void Jewelshow(float x, float y, int /*a*/, float /*b*/, int value) {
    FONT* f = SpriteClaim(JEWELFONT);
    if (!f) return;
    f->x = x;
    f->y = y;
    f->life = 10.0f;
    f->spin = 180.0f;
    f->value = (float)value;
}

// Kinds 0..3 age into the next kind at every reload of the phase timer,
// each slower and worth less; kind 3 stays. The shown column follows.
static void JewelAge(SpriteData& s) {
    static const float kSpeed[4] = {50.0f, 30.0f, 20.0f, 10.0f};
    static const int kCol[4] = {3, 2, 1, 0};
    if (s.mode >= 0 && s.mode <= 3) {
        s.speed = kSpeed[s.mode];
        s.col = kCol[s.mode];
        if (s.timer <= 0) {
            if (s.mode < 3) s.mode += 1;
            s.timer = s.time;
        }
    } else if (s.mode == 4) {
        s.col = 4;
        if (s.timer <= 0) s.speed += 25 * FrameStep;  // speeds up from then on
    }
}

static bool JewelTouchesShip(const SpriteData& s) {
    float top = (s.mode == 0) ? 10.0f : 20.0f;
    return s.y + s.h + 10 > P_Ship.y && P_Ship.y + P_Ship.h > s.y - top &&
           s.x + s.w + 10 > P_Ship.x && P_Ship.x + P_Ship.w > s.x - 10;
}

// Scores a collected jewel. Every figure is taken from before the pickup;
// divisions truncate towards zero (the value may be negative). Returns
// the number the pop-up shows.
static int JewelCollect(const SpriteData& s) {
    const long long value = JewelValue;
    int shown = 0;
    switch (s.mode) {
    case 0:
        dat.score += value + 1000;
        JewelStep = JewelAdd(JewelStep, 2);
        JewelValue = JewelAdd(JewelValue, 50);
        shown = 50;
        break;
    case 1:
        dat.score += value / 2 + 500;
        JewelStep = JewelAdd(JewelStep, 1);
        JewelValue = JewelAdd(JewelValue, 30);
        shown = 30;
        break;
    case 2:
        dat.score += value / 3 + 300;
        JewelStep = JewelAdd(JewelStep, 1);
        JewelValue = JewelAdd(JewelValue, 20);
        shown = 20;
        break;
    case 3:
        dat.score += value / 4 + 100;
        JewelStep = JewelAdd(JewelStep, 1);
        JewelValue = JewelAdd(JewelValue, 10);
        shown = 10;
        break;
    case 4:
        if (BombStock >= 6) {
            JewelStep = JewelAdd(JewelStep, 1);
            dat.score += value / 1000 + 100;
        }
        dat.score += value / 10000 + 100;
        JewelValue = JewelAdd(JewelValue, JewelStep);
        shown = JewelStep;
        break;
    default:
        break;
    }
    if (s.mode >= 0 && s.mode <= 4) JewelCount[s.mode] += 1;
    return shown;
}

static void JewelUpdate(SpriteData& s) {
    const float fs = FrameStep;
    if (s.x >= 800) SpriteRelease(s);
    s.x += s.dx * s.speed * fs;
    s.y += s.dy * s.speed * fs;
    if (s.x <= -32) {
        SpriteRelease(s);
        // A jewel lost off the left turns the jewel value round.
        if (s.mode != 4) JewelValue = (JewelValue == -2147483647 - 1) ? 2147483647 : -JewelValue;
    }
    // A thrown jewel that missed far above or below never comes back.
    if (s.mode == 4 && (s.y < -2000 || s.y > 2500)) SpriteRelease(s);
    s.timer -= 15 * fs;
    JewelAge(s);

    if (ScreenCoordOk(s.x) && ScreenCoordOk(s.y)) {
        DD_DrawBitmap((int)s.x, (int)s.y, Bitmap[s.bmp], s.col * s.w, s.frame * s.h, s.col * s.w + 32,
                      (s.frame + 1) * s.h);
    }
    SpriteAnime(&s.anim, &s.frame, &s.frames);

    if (P_Ship.flag && JewelTouchesShip(s)) {
        SpriteRelease(s);
        int shown = JewelCollect(s);
        Jewelshow(s.x, s.y, 180, 20.0f, shown);
        DS_Play(Wave[8]);
    }
}

void JewelPass() {
    SpriteWalk(jewel, JewelUpdate);
}

// Decimal digits of a pop-up's number: 1 below 10, ..., 10 from 10^9 up.
static int DigitsOf(float value) {
    int digits = 1;
    double limit = 10.0;
    while (digits < 10 && value >= limit) {
        digits++;
        limit *= 10.0;
    }
    return digits;
}

void JewelFontPass() {
    while (SpriteFontEnd > 0 && !JEWELFONT[SpriteFontEnd - 1].flag) SpriteFontEnd--;
    for (int i = 0; i < SpriteFontEnd; i++) {
        FONT& f = JEWELFONT[i];
        if (!f.flag) continue;
        f.life -= FrameStep;
        if (f.life <= 0) FontRelease(f);  // still drawn this frame
        f.x -= FrameStep * 15;
        DigitCount = (float)DigitsOf(f.value);
        if (!ScreenCoordOk(f.x) || !ScreenCoordOk(f.y)) continue;
        int value = (f.value > -2.0e9f && f.value < 2.0e9f) ? (int)f.value : 0;
        MyFontShow((int)f.x, (int)(f.y - 64), (int)DigitCount, value);
    }
}

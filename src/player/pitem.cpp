// Power items: they drift in from the right cycling through four kinds;
// collecting one picks a weapon or raises the shield, and always raises
// the fire power. At full power items feed the charge count instead, and
// every tenth gives an extra life.
#include "enemy/bullets.h"
#include "enemy/effects.h"
#include "entity/entity.h"
#include "entity/heading.h"
#include "game/frame.h"
#include "game/game.h"
#include "game/score.h"
#include "player/items.h"
#include "player/player.h"
#include "render/render.h"
#include "core/core.h"
#include "sound/sound.h"

void Pitem(float x, float y, int /*angle*/, float /*speed*/, int kind) {
    SpriteData* s = SpriteClaim(pitem);
    if (!s) return;
    s->x = x;
    s->y = y;
    s->mode = kind;
    s->timer = 75.0f;
    s->col = 0;
    s->time = 10.0f;
    s->fw[1] = 100.0f;
    SpriteSetAngle(*s, 180.0f);
    s->w = s->h = 32;
    s->frame = 0;
    s->frames = 6;
    s->anim = 0.0f;
    s->bmp = 110;
    s->speed = 5.0f;
}

void LineBurst(int r, int g, int b) {
    const float cx = P_Ship.x + 32;
    const float cy = P_Ship.y + 32;
    for (int i = 0; i < 500; i++) {
        int f = my_rand(1, 3);
        int dy = my_rand(-300, 300);
        int dx = my_rand(-300, 300);
        Line(cx, cx + dx, cy, cy + dy, 2.0f, (float)f, r, g, b, 2);
    }
}

static void PitemCollect(const SpriteData& s) {
    // Every kind raises the power; kinds 0..2 choose the weapon, kind 3
    // raises the shield unless one is up already.
    const int before = BombStock;
    DS_Play(Wave[14]);
    BombStock += 1;
    if (s.col <= 2) {
        Weapon = s.col;
    } else if (!Shield[0].flag) {
        SHIELD(0, 0);
        LineBurst(0, 0, 255);
    }

    dat.score += (long long)JewelValue + 10000;
    DS_Play(Wave[14]);
    if (before < 6) {
        // A level gained, up to the sixth.
        LevelUpFlag = 1;
        Cry((float)(BombStock * 16), 40.0f);
    } else {
        // Already at full power: the item feeds the charge count.
        JewelStep = JewelAdd(JewelStep, 10);
        JewelValue = JewelAdd(JewelValue, 500);
        BombStock = 6;
        ChargeCount += 1;
        if (ChargeCount >= 10) {
            LineBurst(220, 220, 220);
            BombPulse = 1;
            PlayerStock += 1;
            DS_Play(Wave[10]);
            ChargeCount = 0;
        }
    }
}

static bool PitemTouchesShip(const SpriteData& s) {
    return s.x < P_Ship.x + P_Ship.w && P_Ship.x < s.x + s.w && s.y < P_Ship.y + P_Ship.h &&
           P_Ship.y < s.y + s.h;
}

static void PitemUpdate(SpriteData& s) {
    const float fs = FrameStep;
    SpriteSetAngle(s, s.angle);
    s.x += s.dx * s.speed * fs;
    s.y += s.dy * s.speed * fs;
    if (s.x < 0) s.angle = 0.0f;  // turns at the left edge and drifts back
    if (s.x > 750) SpriteRelease(s);

    if (ScreenCoordOk(s.x) && ScreenCoordOk(s.y)) {
        DD_DrawBitmap((int)s.x, (int)s.y, Bitmap[s.bmp], s.col * s.w, s.frame * s.h, s.col * s.w + 32,
                      (s.frame + 1) * s.h);
    }
    SpriteAnime(&s.anim, &s.frame, &s.frames);

    s.time -= fs;
    if (s.time < 0) {
        s.col += 1;
        if (s.col >= 4) s.col = 0;
        s.time = 10.0f;
    }

    if (P_Ship.flag && PitemTouchesShip(s)) {
        SpriteRelease(s);
        PitemCollect(s);
    }
}

void PitemPass() {
    SpriteWalk(pitem, PitemUpdate);
}

// The third boss, a crystal fortress (BOSS3): it slides in from the right
// and holds its place at x 300 while its script runs; its death, the body
// that kills the ship, and how it is drawn. The script is in
// boss3_patterns.cpp.
#include "boss/boss.h"
#include "boss/boss23.h"

#include "entity/heading.h"
#include "game/game.h"
#include "game/score.h"
#include "game/stage.h"
#include "player/player.h"
#include "player/ship.h"
#include "player/shothit.h"
#include "render/render.h"
#include "core/core.h"
#include "sound/sound.h"

static const float kTimerRate = 20.0f;
static const float kHoldX = 300.0f;  // the script runs from here on
static const int64_t kBonus = 1000000;
static const int kDeathSteps = 50;
static const int kCellW = 400;

void Boss3Pass() {
    for (int i = 0; i < BOSS_ENTRIES; i++)
        if (BOSS3[i].flag) Boss3Update(BOSS3[i], i);
}

// It stands where it was beaten and bursts step by step, counted in iw[0]
// (which the script leaves at 0). The countdown goes on from the pause the
// script last set, so the first step comes when that pause is over.
void Boss3DeathStep(SpriteData& s) {
    if (s.fw[7] == 0.0f) {
        s.fw[7] = 1.0f;
        s.iw[0] = 0;
    }
    if (!BossExplosionStep(s)) return;
    s.iw[0] += 1;
    if (s.iw[0] % 10 == 0) BossBigBlast(s);
    if (s.iw[0] >= kDeathSteps) {
        s.flag = false;
        dat.score += kBonus;
        StagePhase = 4;
    }
}

// The ship's box shrunk by 32 (for the 64 x 64 ship, its centre point)
// against the core and the two jaws that reach forward to the beam mouths.
static bool ShipInside(float L, float R, float T, float B) {
    const SpriteData& p = P_Ship;
    const float in = 32.0f;
    return p.y + in < B && p.y + p.h - in > T && p.x + in < R && p.x + p.w - in > L;
}

static void ContactTest(const SpriteData& s) {
    if (!P_Ship.flag || P_Ship.time > 0.0f || s.hp < 0.0f) return;
    const float x = s.x, y = s.y, w = (float)s.w, h = (float)s.h;
    if (ShipInside(x + 128, x + w, y + 140, y + h - 140) || ShipInside(x + 15, x + 140, y + 180, y + 185) ||
        ShipInside(x + 15, x + 220, y + 180, y + 215))
        ShipLost();
}

static void Draw(SpriteData& s) {
    if (ScreenCoordOk(s.x) && ScreenCoordOk(s.y))
        DD_DrawBitmap((int)s.x, (int)s.y, Bitmap[s.bmp], 0, s.frame * s.h, kCellW, (s.frame + 1) * s.h);
    s.fw[9] -= FrameStep;
}

void Boss3Update(SpriteData& s, int index) {
    s.x -= FrameStep * s.speed;
    if (s.x <= kHoldX && BossBar >= 0) {
        s.speed = 0.0f;
        Boss3Script(s);
    }
    s.timer -= kTimerRate * FrameStep;
    if (BossBar < 0) Boss3DeathStep(s);

    ContactTest(s);
    for (int k = 0; k < BlastsEnd(); k++) {
        shot4hit(index, k);
        shot5hit(index, k);
    }
    Draw(s);

    if (BOSS3[0].flag) {
        BossBar = BossBarLength(BOSS3[0].hp, BOSS3_ENERGY);
        DrawEnergyBar();
    }
}

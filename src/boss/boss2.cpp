// The second boss, a battleship (BOSS2): its flight in and patrol, its
// death, the hull that kills the ship, and how it is drawn. Its attack
// script is in boss2_patterns.cpp. Also the explosion steps both the
// battleship and the third boss die in.
#include "boss/boss.h"
#include "boss/boss23.h"

#include "enemy/effects.h"
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

static const float kTimerRate = 20.0f;     // attack countdown per time unit
static const float kLastScriptHp = -1.0f;  // below this it only explodes
static const float kPatrolLeft = 50.0f, kPatrolRight = 400.0f;
static const float kEntryHold = 100.0f;    // patrol time held while flying in
static const int64_t kBonus = 1000000;
static const int kDeathSteps = 40;
static const int kCellW = 500;             // body row 0, flash row 1
static const int kFlashTop = 300, kFlashBottom = 600;

void Boss2Pass() {
    for (int i = 0; i < BOSS_ENTRIES; i++)
        if (BOSS2[i].flag) Boss2Update(BOSS2[i], i);
}

// ---- The battleship -------------------------------------------------------

// Flying in (opt2 0) it keeps to the left at its speed with its patrol time
// held; patrolling, it runs left (1) or right (2) at a random speed for a
// random time, and turns at the edges of its beat.
void Boss2Patrol(SpriteData& s) {
    if (s.opt2 == 0) {
        s.x -= s.speed * FrameStep;
        s.gw[0] = kEntryHold;
        return;
    }
    s.x += (s.opt2 == 2 ? 1.0f : -1.0f) * s.speed * FrameStep;
    s.gw[0] -= FrameStep;
    if (s.gw[0] <= 0.0f) {
        s.opt2 = my_rand(1, 2);
        s.speed = (float)my_rand(1, 10);
        s.gw[0] = (float)my_rand(1, 50);
    }
    if (s.x <= kPatrolLeft) s.opt2 = 2;
    if (s.x >= kPatrolRight) s.opt2 = 1;
}

// The wreck stands still and bursts step by step. The count starts from 0
// on the first frame of dying; the countdown goes on from the pause the
// script last set, so the first step comes when that pause is over. Every
// tenth step adds a big blast, and the last one two more.
void Boss2DeathStep(SpriteData& s) {
    if (s.fw[7] == 0.0f) {
        s.fw[7] = 1.0f;
        s.fw[1] = 0.0f;
    }
    if (!BossExplosionStep(s)) return;
    s.fw[1] += 1.0f;
    if ((int)s.fw[1] % 10 == 0) BossBigBlast(s);
    if (s.fw[1] >= kDeathSteps) {
        BossBigBlast(s);
        BossBigBlast(s);
        s.flag = false;
        dat.score += kBonus;
        StagePhase = 4;
    }
}

// Strict overlap of the ship's box, shrunk by `in` on every side, with the
// box L..R x T..B.
static bool ShipInside(float in, float L, float R, float T, float B) {
    const SpriteData& p = P_Ship;
    return p.y + in < B && p.y + p.h - in > T && p.x + in < R && p.x + p.w - in > L;
}

// The hull: the keel, the mid deck, the bow cannon and the bridge.
static void ContactTest(const SpriteData& s) {
    if (!P_Ship.flag || P_Ship.time > 0.0f || s.hp < 0.0f) return;
    const float x = s.x, y = s.y, w = (float)s.w, h = (float)s.h, in = 31.0f;
    if (ShipInside(in, x + 80, x + w - 50, y + 200, y + h - 30) ||
        ShipInside(in, x + 120, x + w - 120, y + 150, y + h - 100) ||
        ShipInside(in, x + 150, x + w - 120, y + 90, y + h - 180) ||
        ShipInside(in, x + 250, x + w - 120, y + 90, y + h - 80))
        ShipLost();
}

// The ship from the sheet's first row; its white-hot second row over it
// while hit or dying.
static void Draw(SpriteData& s) {
    if (ScreenCoordOk(s.x) && ScreenCoordOk(s.y)) {
        int x = (int)s.x, y = (int)s.y;
        DD_DrawBitmap(x, y, Bitmap[s.bmp], 0, s.frame * s.h, kCellW, (s.frame + 1) * s.h);
        if (BossBar < 0 || s.fw[9] >= 1.0f) DD_DrawBitmap(x, y, Bitmap[s.bmp], 0, kFlashTop, kCellW, kFlashBottom);
    }
    s.fw[9] -= FrameStep;
}

void Boss2Update(SpriteData& s, int index) {
    if (s.hp >= kLastScriptHp) {
        Boss2Patrol(s);
        Boss2Script(s);
    }
    s.timer -= kTimerRate * FrameStep;
    if (BossBar < 0) Boss2DeathStep(s);

    ContactTest(s);
    for (int k = 0; k < BlastsEnd(); k++) {
        shot4hit(index, k);
        shot5hit(index, k);
    }
    Draw(s);

    if (BOSS2[0].flag) {
        BossBar = BossBarLength(BOSS2[0].hp, BOSS2_ENERGY);
        DrawEnergyBar();
    }
}

// The first boss, an armoured globe (BOSS1): its flight in, the arena it
// wanders in, its death and how it is drawn. Its attack patterns are in
// boss1_patterns.cpp. Stage 5 starts three copies of it as its mid-boss
// (entries 0, 1 and 2); they all run here.
#include "boss/boss.h"

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

static const float kArrivalX = 410.0f;       // flying in ends here
static const float kArenaLeft = 300.0f, kArenaRight = 500.0f;
static const float kBounceWander = 25.0f;     // wander time after a bounce
static const float kTimerRate = 20.0f;        // attack countdown per time unit
static const float kLeftScreen = -100.0f;
static const int64_t kBonus = 1000000;
static const int kDeathSteps = 30;            // explosion steps to the end
static const float kCellW = 240.0f;           // body cell; the flash cell is beside it

void Boss1Pass() {
    for (int i = 0; i < BOSS_ENTRIES; i++)
        if (BOSS1[i].flag) Boss1Update(BOSS1[i], i);
}

// Inside the arena the boss drifts freely. Leaving it while there is wander
// time left bounces it back in; once the time is used up it is given a new
// random heading instead and may roam a little outside.
static void ArenaRule(SpriteData& s) {
    bool inside = s.x > kArenaLeft && s.x < kArenaRight && s.y > 0.0f && s.y < 480.0f - s.h;
    if (inside) return;
    if (s.fw[5] > 0.0f) {
        if (s.x <= kArenaLeft) s.x = kArenaLeft + 5;
        if (s.x >= kArenaRight) s.x = kArenaRight - 5;
        if (s.y <= 0.0f) s.y = 5.0f;
        if (s.y >= 480.0f - s.h) s.y = 475.0f - s.h;
        s.angle += 180.0f;
        s.fw[5] = kBounceWander;
    } else {
        s.angle = (float)my_rand(0, 360);
    }
}

// The ship is lost when its box reaches into the globe's inner body.
static void ContactTest(const SpriteData& s) {
    if (!P_Ship.flag || P_Ship.time > 0.0f || s.hp < 0.0f) return;
    if (P_Ship.y + 120 < s.y + s.h && P_Ship.y + P_Ship.h - 120 > s.y && P_Ship.x + 64 < s.x + s.w &&
        P_Ship.x + P_Ship.w - 100 > s.x)
        ShipLost();
}

static void Draw(SpriteData& s) {
    if (ScreenCoordOk(s.x) && ScreenCoordOk(s.y)) {
        int x = (int)s.x, y = (int)s.y;
        int top = s.frame * s.h, bottom = (s.frame + 1) * s.h;
        DD_DrawBitmap(x, y, Bitmap[s.bmp], 0, top, (int)kCellW, bottom);
        // Hit or dying: the white-hot picture over it.
        if (BossBar < 0 || s.fw[9] >= 1.0f) DD_DrawBitmap(x, y, Bitmap[s.bmp], (int)kCellW + 1, top, 480, bottom);
    }
    s.fw[9] -= FrameStep;
    SpriteAnimeBoss1(&s.anim, &s.frame, &s.frames);
}

void Boss1Update(SpriteData& s, int index) {
    // Along its heading.
    SpriteHeading(s, s.angle);
    s.x += FrameStep * s.dx * s.speed;
    s.y += FrameStep * s.dy * s.speed;

    if (s.x <= kArrivalX && s.opt2 == 0) {
        s.opt2 = 1;
        s.speed = 0.0f;
    }
    if (s.opt2 == 1) {
        s.fw[5] -= FrameStep;
        ArenaRule(s);
        Boss1Pattern(s);
    }
    s.timer -= kTimerRate * FrameStep;
    if (BossBar < 0) Boss1DeathStep(s);
    if (s.x <= kLeftScreen) s.flag = false;  // drifted off the screen

    ContactTest(s);
    for (int k = 0; k < BlastsEnd(); k++) {
        shot4hit(index, k);
        shot5hit(index, k);
    }
    Draw(s);

    if (BOSS1[0].flag) {
        BossBar = BossBarLength(BOSS1[0].hp, BOSS1_ENERGY);
        DrawEnergyBar();
    }
}

// A random point of the boss's box widened by 10 on every side, y first.
static void RandomPoint(const SpriteData& s, float* x, float* y) {
    *y = (float)BossRandCoord(s.y - 10, s.y + s.h + 10);
    *x = (float)BossRandCoord(s.x - 10, s.x + s.w + 10);
}

// The wreck drifts down to the left in a string of explosions; the counter
// fw[1] carries on from wherever pattern 4 left it.
void Boss1DeathStep(SpriteData& s) {
    s.angle = (float)(160 + my_rand(-1, 1));
    s.speed = 5.0f;
    float x, y;
    if (s.timer <= 0.0f) {
        s.timer = 15.0f;
        DS_Play(Wave[4]);
        BombPulse = 1;
        for (int i = 0; i < 11; i++) {
            RandomPoint(s, &x, &y);
            ExploHappen2(x, y);
        }
        s.fw[1] += 1.0f;
    }
    float n = s.fw[1];
    if (n == 10.0f || n == 20.0f || n == 30.0f || n == 40.0f || n == 50.0f) {
        RandomPoint(s, &x, &y);
        ExploHappen6(x, y);
        s.fw[1] += 1.0f;
    }
    if (s.fw[1] >= kDeathSteps) {
        for (int i = 0; i < 2; i++) {
            RandomPoint(s, &x, &y);
            renbaku(x, y, 0);
        }
        s.flag = false;
        dat.score += kBonus;
        BombPulse = 1;
        // The stage-5 copies are a mid-boss: their script goes on by itself.
        if (StageNo != 5) StagePhase = 4;
    }
}

// The fourth boss (BOSS4), a gold carrier with drones: its flight in,
// its wandering in the second phase, its death and how it is drawn. The
// attack script is in boss4_patterns.cpp.
#include "boss/boss.h"

#include "enemy/effects.h"
#include "enemy/mid_common.h"
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

static const float kArrivalX = 300.0f;
static const int kRushFrames = 40;        // frames that speed up the background
static const float kTimerRate = 20.0f;
static const int64_t kBonus = 4000000;
static const float kDeathStepPause = 15.0f;
static const float kDeathSteps = 30.0f;   // explosion steps before the last burst

void Boss4Pass() {
    for (int i = 0; i < BOSS_ENTRIES; i++)
        if (BOSS4[i].flag) Boss4Update(BOSS4[i], i);
}

// The first frame of dying: the script stops for good and the carrier's
// drones go with it, all of them: the ones it called in late would
// otherwise drift on firing through the stage-clear and into stage 5.
static void Boss4DeathStart(SpriteData& s) {
    s.mode = BOSS4_DYING;
    s.fw[1] = 0.0f;
    s.timer = 0.0f;
    for (int i = 0; i < BIT_MAX; i++) SpriteRelease(bit[i]);
}

// The wreck turns down and sinks ever faster in a string of explosions;
// after 30 steps a last burst, the bonus, and the stage is won.
void Boss4DeathStep(SpriteData& s) {
    s.angle = 100.0f;
    s.speed += FrameStep;
    float x, y;
    if (s.timer <= 0.0f) {
        s.timer = kDeathStepPause;
        DS_Play(Wave[4]);
        BombPulse = 1;
        for (int i = 0; i < 21; i++) {
            BossRandomPoint(s, &x, &y);
            ExploHappen2(x, y);
        }
        s.fw[1] += 1.0f;
        if (my_rand(0, 2) == 0) BossBigBlast(s);
    }
    if (s.fw[1] < kDeathSteps) return;
    for (int i = 0; i < 201; i++) {
        BossRandomPoint(s, &x, &y);
        ExploHappen7(x, y);
    }
    DS_Play(Wave[15]);
    s.flag = false;
    dat.score += kBonus;
    BombPulse = 1;
    StagePhase = 4;
}

static void Draw(SpriteData& s) {
    if (ScreenCoordOk(s.x) && ScreenCoordOk(s.y))
        DD_DrawBitmap((int)s.x, (int)s.y, Bitmap[s.bmp], 0, s.frame * s.h, s.w, (s.frame + 1) * s.h);
    s.fw[9] -= FrameStep;
    SpriteAnimeBoss1(&s.anim, &s.frame, &s.frames);
}

void Boss4Update(SpriteData& s, int index) {
    // Coming in, it pulls the background along for its first frames.
    if (s.b < kRushFrames) {
        ScrollSpeedX -= 1;
        s.b += 1;
    }
    SpriteHeading(s, s.angle);
    s.x += FrameStep * s.dx * s.speed;
    s.y += FrameStep * s.dy * s.speed;
    if (s.x <= kArrivalX && s.fw[6] == 0.0f) {
        s.fw[6] = 1.0f;
        s.opt2 = 1;
        s.speed = 0.0f;
    }

    if (s.mode < BOSS4_DYING && BossBar < 0) Boss4DeathStart(s);
    if (s.mode < BOSS4_DYING && s.opt2 == 1) Boss4Script(s);
    s.timer -= kTimerRate * FrameStep;
    if (s.mode >= BOSS4_DYING) Boss4DeathStep(s);
    if (!s.flag) return;

    if (s.hp >= 0 && MidShipOverlapInset(s.x + 158, s.x + s.w - 70, s.y + 30, s.y + s.h - 30, 32)) ShipLost();
    for (int k = 0; k < BlastsEnd(); k++) {
        shot4hit(index, k);
        shot5hit(index, k);
    }
    Draw(s);

    if (BOSS4[0].flag) {
        BossBar = BossBarLength(BOSS4[0].hp, BOSS4_ENERGY);
        DrawEnergyBar();
    }
}

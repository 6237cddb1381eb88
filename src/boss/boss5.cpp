// The fifth boss (BOSS5): the core in the heart of stage 5's fortress. It
// never moves; it waits until the fortress walls have opened, then runs
// its script (boss5_patterns.cpp). Stage 5's script draws it (with the
// fortress over it); this file gives it its frame, its death and the draw
// the script calls. Beaten, it moves stage 5's script on to the last boss
// instead of ending the stage.
#include "boss/boss.h"

#include "enemy/bullets.h"
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

static const float kTimerRate = 10.0f;      // half the usual rate
static const int64_t kBonus = 1000000;
static const float kDeathStepPause = 3.0f;
static const int kLineBurstStep = 90;
static const int kDeathSteps = 100;
static const float kHomeX = 278.0f, kHomeY = 195.0f;  // the core's socket
static const int kCoreFrames = 27;

void Boss5Pass() {
    for (int i = 0; i < BOSS_ENTRIES; i++)
        if (BOSS5[i].flag) Boss5Update(BOSS5[i], i);
}

void Boss5ScriptRestart(SpriteData& s) {
    s.mode = 0;
    s.opt2 = 0;
    s.time = 0.0f;
    s.fw[1] = s.fw[2] = 0.0f;
    s.cnt = 0;
    s.iw[0] = s.iw[1] = 0;
    s.timer = 80.0f;
}

// The core bursts step by step (iw[9] counts the steps, from the first
// frame of dying, marked by opt); at 90 a storm of white lines, at 100 it
// is gone and the stage goes on to the last boss.
void Boss5DeathStep(SpriteData& s) {
    if (s.opt != 1) {
        s.opt = 1;
        s.iw[9] = 0;
        s.timer = 0.0f;
    }
    if (s.timer > 0.0f) return;
    s.timer = kDeathStepPause;
    BossExplosionBurst(s);
    s.iw[9] += 1;
    if (s.iw[9] % 10 == 0) BossBigBlast(s);
    if (s.iw[9] == kLineBurstStep) {
        const float cx = BossCx(s), cy = BossCy(s);
        for (int i = 0; i < 500; i++) {
            float ex = (float)my_rand(-200, 840);
            float ey = (float)my_rand(-200, 680);
            Line(cx, ex, cy, ey, 0.0f, (float)my_rand(1, 6), 255, 255, my_rand(128, 255), 0);
        }
        DS_Play(Wave[15]);
    }
    if (s.iw[9] < kDeathSteps) return;
    BossBigBlast(s);
    s.flag = false;
    dat.score += kBonus;
    MIDI_Stop();
    BombPulse = 1;
    StageStep[5] += 1;  // on to the last boss; the stage is not over
}

void Boss5Update(SpriteData& s, int index) {
    if (s.hp > 0.0f && BossBar >= 0) Boss5Script(s);
    s.timer -= kTimerRate * FrameStep;
    if (BossBar < 0) Boss5DeathStep(s);
    if (!s.flag) return;

    if (s.hp >= 0 && MidShipOverlapInset(s.x + 30, s.x + s.w - 30, s.y + 30, s.y + s.h - 30, 32)) ShipLost();
    for (int k = 0; k < BlastsEnd(); k++) {
        shot4hit(index, k);
        shot5hit(index, k);
    }
    s.fw[9] -= FrameStep;

    if (BOSS5[0].flag) {
        BossBar = BossBarLength(BOSS5[0].hp, BOSS5_ENERGY);
        DrawEnergyBar();
    }
}

// Before the core is made (the WARNING) it is drawn in its socket; its
// sheet has 27 frames whatever the entry held before.
void Boss5DrawCore() {
    SpriteData& s = BOSS5[0];
    if (s.frames != kCoreFrames || s.frame < 0 || s.frame >= kCoreFrames) {
        s.frames = kCoreFrames;
        s.frame = 0;
        s.anim = 0.0f;
    }
    float x = s.flag ? s.x : kHomeX, y = s.flag ? s.y : kHomeY;
    if (ScreenCoordOk(x) && ScreenCoordOk(y)) {
        const int size = 100;
        DD_DrawBitmap((int)x, (int)y, Bitmap[74], 0, s.frame * size, size, (s.frame + 1) * size);
    }
    SpriteAnimeBoss1(&s.anim, &s.frame, &s.frames);
}

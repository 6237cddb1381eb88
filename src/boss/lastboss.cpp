// The last boss (LBOSS): a dreadnought that breaks out of the fortress
// behind the ship and flies past it. Here its frame: movement, the
// bouncing flight of its last phases, its death, contact with the ship,
// the engine flame, the body and the bar. Its script is in
// lastboss_patterns.cpp and lastboss_phase3.cpp.
#include "boss/boss.h"
#include "boss/lastboss.h"

#include "enemy/bullets.h"
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

static const int64_t kBonus = 100000000;
static const float kDeathPace = 0.75f;   // time units between explosion steps
static const float kBarFrom = -300.0f;    // its bar shows once it is this far in
static const float kBounceLeft = 200.0f, kBounceRight = 500.0f;

void LastBossPass() {
    bool any = false;
    for (int i = 0; i < LBOSS_ENTRIES; i++) {
        if (!LBOSS[i].flag) continue;
        LastBossUpdate(LBOSS[i], i);
        any = any || LBOSS[i].flag;
    }
    LastBossCalled = any;
}

bool LastBossActive() {
    for (int i = 0; i < BOSS_MAX; i++)
        if (LBOSS[i].flag) return true;
    return false;
}

int LastBossAim(float x, float y) { return AimAtShipFrom(x, y, 0); }

int LastBossTurnChoice(int n) {
    switch (my_rand(0, n)) {
    case 0: return 90;
    case 1: return 270;
    case 3: return 180;
    default: return 0;
    }
}

void LastBossBounce(SpriteData& s) {
    if (s.x > kBounceLeft) {
        if (s.x >= kBounceRight) {
            s.x = kBounceRight - 1;
            s.angle = (float)my_rand(0, 360);
        }
        if (s.y <= 0) {
            s.y = 1;
            s.angle = (float)my_rand(0, 360);
        }
        if (s.y >= 480 - s.h) {
            s.y = 479.0f - s.h;
            s.angle = (float)my_rand(0, 360);
        }
    } else {
        s.x = kBounceLeft + 1;
        s.angle = (float)my_rand(0, 360);
    }
}

// The wreck stands and blows up step by step: a chain of blasts every
// step, a big one every tenth, a burst of sparks near the end, and at the
// hundredth the boss is gone, the bonus paid and the stage won.
void LastBossDeathStep(SpriteData& s) {
    s.mode = LB_MODE_DYING;
    s.speed = 0;
    if (s.timer >= 0) return;
    s.timer = kDeathPace;
    BossExplosionBurst(s);
    s.iw[9] += 1;
    if (s.iw[9] % 10 == 0) BossBigBlast(s);
    if (s.iw[9] == 90) {
        const float cx = BossCx(s), cy = BossCy(s);
        for (int i = 0; i < 500; i++) {
            int ex = my_rand(-640, 640);
            int ey = my_rand(-480, 480);
            int life = my_rand(1, 4);
            Line(cx, cx + ex, cy, cy + ey, (float)life, 2, 255, 255, 255, 2);
        }
    }
    if (s.iw[9] < LB_DEATH_STEPS) return;
    s.flag = false;
    dat.score += kBonus;
    BombPulse = 1;
    StageStep[5] += 1;
    StagePhase = 4;  // the stage-clear wipe into the staff roll
}

// The ship is lost when its box, shrunk by 31 on every side, reaches the
// hull behind the bow.
static void ContactTest(const SpriteData& s) {
    if (!P_Ship.flag || P_Ship.time > 0.0f || s.hp < 0.0f) return;
    if (P_Ship.y + 31 < s.y + s.h - 30 && P_Ship.y + P_Ship.h - 31 > s.y + 30 && P_Ship.x + 31 < s.x + s.w - 70 &&
        P_Ship.x + P_Ship.w - 31 > s.x + 158)
        ShipLost();
}

// The engine flame behind the stern, then the body.
static void Draw(SpriteData& s) {
    if (ScreenCoordOk(s.x) && ScreenCoordOk(s.y)) {
        int x = (int)s.x, y = (int)s.y;
        int cell = s.iw[8] >= 0 && s.iw[8] <= 4 ? s.iw[8] : 0;
        DD_DrawBitmap(x - 100, y + 66, Bitmap[77], 0, 40 * cell, 100, 40 * cell + 40);
        DD_DrawBitmap(x, y, Bitmap[s.bmp], 0, s.frame * s.h, s.w, (s.frame + 1) * s.h);
    }
    s.iw[8] = s.iw[8] >= 4 || s.iw[8] < 0 ? 0 : s.iw[8] + 1;
}

void LastBossUpdate(SpriteData& s, int index) {
    SpriteHeading(s, s.angle);
    s.x += FrameStep * s.dx * s.speed;
    s.y += FrameStep * s.dy * s.speed;

    if (LBOSS[0].flag) BossBar = BossBarLength(LBOSS[0].hp, LBOSS_ENERGY);
    if (BossBar < 0) {
        LastBossDeathStep(s);
    } else {
        LastBossScript(s);
    }
    s.timer -= FrameStep;

    ContactTest(s);
    for (int k = 0; k < BlastsEnd(); k++) {
        shot4hit(index, k);
        shot5hit(index, k);
    }
    Draw(s);
    if (s.x > kBarFrom) DrawEnergyBar();
}

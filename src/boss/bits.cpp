// The drones (pool bit): small gun platforms launched by the fourth and
// fifth bosses and the last boss. Each has its own mode (0..6), takes the
// player's spread shots, fan shots and missiles itself, and leaves when it
// is off the screen.
//
// Drone timers run down by one per time unit, so the numbers below are
// time units: 20 is twenty time units, 0.1 a tenth of one.
#include "boss/boss.h"

#include "enemy/bullets.h"
#include "entity/heading.h"
#include "game/game.h"
#include "game/score.h"
#include "player/player.h"
#include "player/shothit.h"
#include "core/core.h"
#include "sound/sound.h"

namespace {

const int64_t kKillBonus = 1000;
const float kDashSpeed = 80.0f;
const float kDashTime = 4.0f;
const float kRestAfterDash = 2.0f;
const float kBurstPeriod = 20.0f;   // modes 0 and 1: a burst every 20
const int kBurstDarts = 50;
const float kDartGap = 0.1f;        // one dart (or ring bullet) per 0.1
const float kFanPeriod = 5.0f;      // modes 5 and 6
// The lowest y of a sweeping drone: fully on the screen.
const float kFieldBottom = 380.0f;

// The sheet column of each mode: 6 faces down, 2 up, the rest left.
const int kColumn[7] = {6, 2, 0, 1, 3, 4, 5};

// The fire gap counter gw[0]: true (and restarted) once `gap` has passed.
bool GapPassed(SpriteData& d, float gap) {
    d.gw[0] += FrameStep;
    if (d.gw[0] < gap) return false;
    d.gw[0] = 0.0f;
    return true;
}

// Modes 0 and 1: every 20 a burst of 50 laser darts at random angles,
// fired one by one; `num` counts the darts still to come.
void BurstMode(SpriteData& d, float x, float y, int lo, int hi) {
    if (d.timer <= 0.0f) {
        d.timer = kBurstPeriod;
        d.num = kBurstDarts;
    }
    if (d.num > 0 && GapPassed(d, kDartGap)) {
        SL2(x, y, (float)my_rand(lo, hi), 20, 0);
        DS_Play(Wave[6]);
        d.num -= 1;
    }
}

// Mode 2: drifts until its timer runs out, dashes at speed 80 for 4 in a
// random direction r(-90, 90), stops and fires from (x, y + 40), rests and
// dashes again. A dash may carry it off the screen, and then it is gone.
// opt2: 0 resting, 1 dashing.
void DashMode(SpriteData& d) {
    if (d.opt2 == 0) {
        if (d.timer > 0.0f) return;
        SpriteHeading(d, (float)my_rand(-90, 90));
        d.speed = kDashSpeed;
        d.fw[1] = kDashTime;
        d.opt2 = 1;
        return;
    }
    d.fw[1] -= FrameStep;
    if (d.fw[1] > 0.0f) return;

    d.speed = 0.0f;
    d.opt2 = 0;
    d.timer = kRestAfterDash;
    const float gx = d.x, gy = d.y + 40;
    const int aim = AimAtShipFrom(gx, gy, 0);
    switch (BossLevel()) {
    case EASY:
        kou(gx, gy, (float)aim, 20, 99, 6);
        break;
    case NORMAL:
        kou(gx, gy, (float)aim, 20, 93, d.iw[0]);
        break;
    default:
        for (int i = 0; i < 5; i++) kou(gx, gy, (float)(aim + FanOffset(i, 10)), 20, 93, d.iw[0]);
        break;
    }
    DS_Play(Wave[2]);
}

// Mode 4: slows to a stop while it charges a beam at its mouth (sparks
// and red lines drawn in), fires it to the left, leaves a white streak
// and starts sweeping. gw[0] is the charge left (10 from the launch).
void ChargeMode(SpriteData& d) {
    const float mx = d.x + 9, my = d.y + 90;
    d.speed -= d.speed * FrameStep;
    if (d.gw[0] > 0.0f) {
        d.gw[0] -= FrameStep;
        for (int k = 0; k < 2; k++) {
            float fx = (float)BossRandCoord(mx - 80, mx + 80);
            float fy = (float)BossRandCoord(my - 80, my + 80);
            Flash(fx, fy, (float)AimDegrees(fx, fy, mx, my), 10, 97, 0);
        }
        for (int k = 0; k < 3; k++) {
            float ex = (float)BossRandCoord(mx - 150, mx + 150);
            float ey = (float)BossRandCoord(my - 150, my + 150);
            Line(mx, ex, my, ey, 1.0f, 2.0f, 255, 40, 40, 2);
        }
        return;
    }
    BL(mx, my, 0, 50);
    Line(mx, -50, my, my, 0.0f, 8.0f, 255, 255, 255, 0);
    d.mode = 5;
    d.timer = kFanPeriod;
    d.speed = 0.0f;
}

// Modes 5 and 6: sweeps down (5) or up (6) to the screen's edge, fast in
// the middle and slowing as it nears the edge, then turns; every 5 a
// green fan of ten aimed at the ship.
void SweepMode(SpriteData& d) {
    const bool down = d.mode == 5;
    const float dist = down ? kFieldBottom - d.y : d.y;
    SpriteHeading(d, down ? 90.0f : 270.0f);
    d.speed = 5.0f + (dist > 0.0f ? dist / 4.0f : 0.0f);
    if (dist <= 0.0f) d.mode = down ? 6 : 5;
    if (d.timer <= 0.0f) {
        d.timer = kFanPeriod;
        const float gx = d.x, gy = d.y + 40;
        const int aim = AimAtShipFrom(gx, gy, 0);
        for (int i = 0; i < 10; i++) kou(gx, gy, (float)(aim + FanOffset(i, 8)), 20, 93, 0);
        DS_Play(Wave[2]);
    }
}

// One of the player's spread shots, fan shots or missiles has hit: it
// takes 1, and at 0 the drone is shot down (its pay and its end are the
// same as under a blast); the shot is used up either way and scores 1.
void BitShotHit(SpriteData& d, SpriteData& shot, int kind) {
    d.hp -= 1;
    if (d.hp <= 0) {
        dat.score += kKillBonus;
        BitDies(d);
    }
    SpriteRelease(shot);
    dat.score += 1;
    ShotImpact(shot, kind);
}

void BitShots(SpriteData& d) {
    const float L = d.x + 20, R = d.x + d.w, T = d.y, B = d.y + d.h;
    for (int j = 0; j < SpriteEndOf(POOL_P_Shot, POOL_P_Shot2, POOL_P_Shot3); j++) {
        SpriteData& a = P_Shot[j];
        if (a.flag && d.flag && ShotOverlap(a, L, R, T, B, 0, 0, 0, 0)) BitShotHit(d, a, SHOT_SPREAD);
        SpriteData& f = P_Shot2[j];
        if (f.flag && d.flag && ShotOverlap(f, L, R, T, B, 0, 0, 0, 0)) BitShotHit(d, f, SHOT_FAN);
        SpriteData& m = P_Shot3[j];
        if (m.flag && d.flag && ShotOverlap(m, L, R, T, B, 0, 0, 0, 0)) BitShotHit(d, m, SHOT_MISSILE);
    }
}

bool OffScreen(const SpriteData& d) {
    return d.x < -100.0f || d.x > 740.0f || d.y < -100.0f || d.y > 580.0f;
}

}  // namespace

void BitUpdate(SpriteData& d) {
    SpriteHeading(d, d.angle);
    d.x += FrameStep * d.dx * d.speed;
    d.y += FrameStep * d.dy * d.speed;
    d.timer -= FrameStep;

    switch (d.mode) {
    case 0: BurstMode(d, d.x + 38, d.y + 72, 0, 180); break;
    case 1: BurstMode(d, d.x + 30, d.y, 180, 360); break;
    case 2: DashMode(d); break;
    case 3:
        if (GapPassed(d, kDartGap)) kou(d.x, d.y + 40, (float)my_rand(90, 270), 25, 99, 6);
        break;
    case 4: ChargeMode(d); break;
    case 5:
    case 6: SweepMode(d); break;
    default: break;
    }

    if (OffScreen(d)) {
        SpriteRelease(d);
        return;
    }
    BitShots(d);
    if (!d.flag) return;

    d.col = (d.mode >= 0 && d.mode <= 6) ? kColumn[d.mode] : 0;
    SpriteDraw(d);
    SpriteAnime(&d.anim, &d.frame, &d.frames);
}

void BitPass() {
    for (int i = 0; i < BIT_MAX; i++)
        if (bit[i].flag) BitUpdate(bit[i]);
}

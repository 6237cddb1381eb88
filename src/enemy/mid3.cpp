// The satellite (BEnemy2) and the heavy walker (BEnemy4). Both run among
// the small enemies.
#include "enemy/bullets.h"
#include "enemy/effects.h"
#include "enemy/mid_common.h"
#include "enemy/spawners.h"
#include "entity/heading.h"
#include "game/game.h"
#include "game/score.h"
#include "player/items.h"
#include "player/player.h"
#include "player/ship.h"
#include "player/shothit.h"
#include "core/core.h"
#include "sound/sound.h"

static int Diff() { return OPTION.Difficulty; }

// ---------------------------------------------------------------------------
// BEnemy2: the satellite launches a fighter, then fires lines, darts and
// crosses from its core, and in its death throes bursts every ten frames.

static void SatelliteCross(const SpriteData& e, float fx, float fy, float speed, bool star) {
    static const int kTurn[8] = {0, 90, 180, 270, 45, 135, 225, 315};
    const int arms = star ? 8 : 4;
    for (int k = 0; k < arms; k++) kou(fx, fy, (float)(e.cnt + kTurn[k]), speed, k % 2 == 0 ? 92 : 91, 0);
}

static void SatelliteDeath(SpriteData& e) {
    if (e.num < 1) {
        e.num = 10;
        DS_Play(Wave[4]);
        BombPulse = 1;
        for (int k = 0; k < 11; k++) MidExplodeIn(e, ExploHappen2);
        e.fw[1] += 1;
    }
    MidCountDown(e);
    if (e.fw[1] >= 50) {
        const float cx = MidCX(e) - 10, cy = e.y + 100;
        for (int k = 0; k < 8; k++) {
            for (int n = 0; n < 8; n++) {
                int a = my_rand(0, 360);
                renbaku2(cx, cy, a, 40 * k, 60);
            }
        }
        MidExplodeIn(e, ExploHappen6);
        Pitem(MidCX(e), MidCY(e), 180, 10.0f, 0);
        Pitem(MidCX(e), MidCY(e) - 60, 170, 10.0f, 0);
        Pitem(MidCX(e), MidCY(e) + 60, 190, 10.0f, 0);
        MidGone(e);
    }
}

void BEnemy2Frame(SpriteData& e, int i) {
    const int d = Diff();
    MidTurnAndMove(e);
    e.timer -= 20 * FrameStep;
    if (e.mode >= 5) e.mode = 0;
    const float fx = MidCX(e) - 10, fy = e.y + 100;
    const bool ready = e.timer <= 0 && e.hp > 0;
    switch (e.mode) {
    case 0:
        if (ready) {
            int a = my_rand(0, 360);
            zako6(MidCX(e) - 50, e.y + e.h - 100, a, 10);
            e.timer = 100;
            e.cnt = my_rand(0, 360);
            e.mode = 1;
            e.time = 0;
        }
        break;
    case 1:
        if (ready) {
            if (d == EASY) {
                for (int sp = 20; sp <= 30; sp += 2) kou(fx, fy, (float)e.cnt, (float)sp, 92, 0);
                e.cnt += 15;
            } else {
                for (int k = 0; k <= 20; k++) {
                    kou(fx, fy, (float)e.cnt, (float)(20 + k), 92, 0);
                    if (d == HARD) kou(fx, fy, (float)(e.cnt + 180), (float)(30 + k), 92, 0);
                }
            }
            e.timer = 5;
            e.cnt += 22;
            e.time += 1;
            DS_Play(Wave[2]);
            if (e.time >= 60) {
                e.mode = 2;
                e.time = 0;
                e.cnt = MidAim(fx, fy);
                e.timer = 100;
            }
        }
        break;
    case 2:
        if (ready) {
            SL2(fx, fy, (float)e.cnt, 75, 0);
            if (d == HARD) {
                static const int kSpread[10] = {8, 15, 23, 30, 38, 45, 53, 60, 68, 75};
                for (int s : kSpread) {
                    SL2(fx, fy, (float)(e.cnt - s), 75, 0);
                    SL2(fx, fy, (float)(e.cnt + s), 75, 0);
                }
            } else if (d != EASY) {
                for (int s = 15; s <= 30; s += 15) {
                    SL2(fx, fy, (float)(e.cnt - s), 75, 0);
                    SL2(fx, fy, (float)(e.cnt + s), 75, 0);
                }
            }
            e.timer = 3;
            DS_Play(Wave[6]);
            e.time += 1;
            if (e.time == 50) e.cnt = MidAim(fx, fy);
            if (e.time >= 100) {
                e.mode = 4;
                e.time = 0;
            }
        }
        break;
    case 3:
        if (e.hp <= 0) SatelliteDeath(e);
        break;
    case 4:
        if (e.timer <= 0) {
            if (d == EASY) {
                SatelliteCross(e, fx, fy, 15, false);
                e.cnt += 11;
                e.timer = 20;
            } else if (d == HARD) {
                for (int k = 0; k < 6; k++) {
                    SatelliteCross(e, fx, fy, 25, true);
                    e.cnt += 1;
                }
                e.cnt += 13;
                e.timer = 9;
            } else {
                for (int k = 0; k < 10; k++) {
                    SatelliteCross(e, fx, fy, 15, false);
                    e.cnt += 1;
                }
                e.cnt += 11;
                e.timer = 15;
            }
            DS_Play(Wave[2]);
            e.time += 1;
            if (e.time >= 30) {
                e.timer = 500;
                e.time = 0;
                e.mode = 5;
            }
        }
        break;
    }
    MidLeaves(e, -500, 700, -500, 500);
    MidBlasts(i);
    SpriteDraw(e);
    SpriteAnimezako1(&e.anim, &e.frame, &e.frames);
}

// ---------------------------------------------------------------------------
// BEnemy4: the walker lasers the rows the ship flies in, sprays darts, and
// wanders in the right half of the screen; it takes a long time to die.

static void WalkerLaserRow(const SpriteData& e, float rowY, float laserY) {
    const int d = Diff();
    if (d == EASY) return;
    if (!(ShipCenterY() >= rowY - 1 && ShipCenterY() <= rowY + 1)) return;
    if (d == HARD) {
        for (int sp = 10; sp <= 190; sp += 10) {
            int o1 = my_rand(-2, 2);
            SL(e.x, laserY + 2 + o1, 180, (float)sp);
            int o2 = my_rand(-2, 2);
            SL(e.x, laserY - 2 + o2, 180, (float)sp);
        }
    } else {
        SL(e.x, laserY + 2, 180, 40);
        SL(e.x, laserY - 2, 180, 40);
    }
    DS_Play(Wave[6]);
}

static void WalkerDartPair(const SpriteData& e, int lo, int hi, float speed) {
    int a1 = my_rand(lo, hi);
    SL2(e.x, e.y + 35, (float)a1, speed, 0);
    int a2 = my_rand(lo, hi);
    SL2(e.x, e.y + 57, (float)a2, speed, 0);
}

static void WalkerNewHeading(SpriteData& e) { SpriteHeading(e, (float)my_rand(0, 360)); }

// One of the player's shots: a point off, the shot used up.
// Every hit that leaves it at 0 or below pays the kill value, as a blast's
// does; the shots stop counting once hp is below 0.
static void WalkerShotHit(SpriteData& e, SpriteData& shot, int kind) {
    e.hp -= 1;
    if (e.hp <= 0) dat.score += 1000;
    SpriteRelease(shot);
    dat.score += 1;
    ShotImpact(shot, kind);
}

// A walker that walked off this frame is still drawn, but no shot counts.
static void WalkerShots(SpriteData& e, int i) {
    const float L = e.x, R = e.x + e.w, T = e.y, B = e.y + e.h;
    for (int j = 0; j < ShotsEnd(); j++) {
        SpriteData& a = P_Shot[j];
        // A spread shot must reach 32 pixels into the hull from its left end.
        if (a.flag && e.flag && e.hp >= 0 && ShotOverlap(a, L, R, T, B, 32, 32, 32, 0)) WalkerShotHit(e, a, SHOT_SPREAD);
        SpriteData& f = P_Shot2[j];
        if (f.flag && e.flag && e.hp >= 0 && ShotOverlap(f, L, R, T, B, 0, 0, 0, 0)) WalkerShotHit(e, f, SHOT_FAN);
        SpriteData& m = P_Shot3[j];
        if (m.flag && e.flag && e.hp >= 0 && ShotOverlap(m, L, R, T, B, 0, 0, 0, 0)) WalkerShotHit(e, m, SHOT_MISSILE);
        shot4hit(i, j);
        shot5hit(i, j);
    }
}

static void WalkerDeath(SpriteData& e) {
    e.speed = 0;
    if (e.opt2 == 0) {
        e.opt2 = 1;
        e.step = 0;
        e.timer = 2;
    }
    if (e.timer > 0) return;
    const float cx = MidCX(e), cy = MidCY(e);
    const bool hard = Diff() == HARD;
    switch (e.opt2) {
    case 1:
        for (int k = 0; k < 5; k++) MidExplodeIn(e, ExploHappen);
        e.step += 1;
        e.timer = 1;
        if (e.step >= 50) {
            e.opt2 = 2;
            e.timer = 5;
        }
        break;
    case 2:
        for (int k = 0; k < 11; k++) {
            ExploHappen2(cx, cy);
            ExploHappen2(cx - 64, cy);
            ExploHappen2(cx + 64, cy);
            ExploHappen2(cx, cy - 64);
            ExploHappen2(cx, cy + 64);
        }
        e.timer = 3;
        if (hard) BombPulse = 1;
        e.opt2 = 3;
        break;
    case 3:
        for (int k = 0; k < 11; k++) {
            ExploHappen2(cx - 64, cy - 64);
            ExploHappen2(cx + 64, cy - 64);
            ExploHappen2(cx - 64, cy + 64);
            ExploHappen2(cx + 64, cy + 64);
        }
        e.timer = 2;
        if (hard) BombPulse = 1;
        e.opt2 = 4;
        break;
    case 4: {
        static const int kDiag[4][2] = {{-64, -64}, {64, -64}, {-64, 64}, {64, 64}};
        for (int k = 0; k < 11; k++) {
            for (const auto& p : kDiag) {
                int ox = my_rand(1, 50);
                int oy = my_rand(1, 50);
                ExploHappen2(cx + p[0] + ox, cy + p[1] + oy);
            }
        }
        e.timer = 1;
        if (hard) BombPulse = 1;
        SpriteRelease(e);
        break;
    }
    }
}

void BEnemy4Frame(SpriteData& e, int i) {
    const int d = Diff();
    MidTurnAndMove(e);
    e.time -= FrameStep;
    e.timer -= FrameStep;
    const float cy = MidCY(e);
    if (e.hp > 0) {
        WalkerLaserRow(e, cy - 5, cy - 5);
        WalkerLaserRow(e, cy - 25, cy - 25);
    }
    if (e.mode == 0 && e.timer < 0 && e.hp > 0) {
        if (d == HARD) {
            for (int k = 0; k < 5; k++) WalkerDartPair(e, 0, 360, 25);
        }
        WalkerDartPair(e, 135, 225, 15);
        DS_Play(Wave[6]);
        e.timer = 1;
    }
    if (e.opt == 0 && e.time < 0) {
        if (e.x <= 300) {
            WalkerNewHeading(e);
            e.x = 301;
        }
        if (e.x >= 440) {
            WalkerNewHeading(e);
            e.x = 439;
        }
        if (e.y <= 0) {
            WalkerNewHeading(e);
            e.y = 1;
        }
        if (e.y >= 350) {
            WalkerNewHeading(e);
            e.y = 349;
        }
    }
    if (e.x <= -100 || e.x >= 700 || e.y <= -201 || e.y >= 600) SpriteRelease(e);
    WalkerShots(e, i);
    if (e.hp <= 0 && e.flag) WalkerDeath(e);
    if (e.hp >= 0 && MidShipOverlap(e.x + 100, e.x + e.w, e.y, e.y + e.h)) ShipLost();
    SpriteDraw(e);
    SpriteAnimeBoss1(&e.anim, &e.frame, &e.frames);
}

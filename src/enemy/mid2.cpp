// Mid-size enemies: the battleship, the carrier and the turret.
#include "enemy/bullets.h"
#include "enemy/effects.h"
#include "enemy/mid_common.h"
#include "enemy/spawners.h"
#include "game/game.h"
#include "player/items.h"
#include "player/player.h"
#include "player/ship.h"
#include "core/core.h"
#include "sound/sound.h"

static int Diff() { return OPTION.Difficulty; }

// The end of one volley of the opening phase: the heading turns by a random
// step, and after `volleys` of them the enemy moves on to its next phase.
static void VolleyDone(SpriteData& e, int volleys) {
    e.cnt += my_rand(1, 50);
    e.step += 1;
    DS_Play(Wave[6]);
    if (e.step >= volleys) {
        e.cnt = e.cnt % 360;
        e.timer = 50;
        e.mode = 1;
        e.step = 0;
    }
}

// ---------------------------------------------------------------------------
// chuugata6: the battleship and its two dart guns.

static void Upper(const SpriteData& e, int angle, float speed) { SL2(e.x + 170, e.y + 120, (float)angle, speed, 0); }
static void Lower(const SpriteData& e, int angle, float speed) { SL2(e.x + 170, e.y + 136, (float)angle, speed, 0); }

static void Chuugata6Variant0(SpriteData& e, int d) {
    if (e.timer > 0) return;
    switch (e.mode) {
    case 0:
        if (d == EASY) {
            Upper(e, e.cnt, 25);
            Lower(e, e.cnt + 180, 25);
        } else {
            const int sets = d == HARD ? 3 : 1;
            for (int k = 0; k < sets; k++) {
                const float sp = d == HARD ? 15.0f * (k + 1) : 25.0f;
                Upper(e, e.cnt, sp);
                Lower(e, e.cnt, sp);
                Upper(e, e.cnt + 180, sp);
                Lower(e, e.cnt + 180, sp);
            }
        }
        e.timer = 2;
        VolleyDone(e, 100);
        break;
    case 1: {
        const int count = d == EASY ? 30 : 45;
        const int turn = d == EASY ? 12 : d == HARD ? -7 : 8;
        for (int k = 0; k < count; k++) {
            SL2(e.x + 170, e.y + 130, (float)e.cnt, (float)(e.step + 10), 0);
            e.cnt += turn;
        }
        e.timer = d == EASY ? 5.0f : d == HARD ? 1.0f : 3.0f;
        DS_Play(Wave[6]);
        e.step += 1;
        if (e.step >= 30) {
            e.timer = 10;
            e.mode = 2;
            e.step = 0;
            e.cnt = 0;
        }
        break;
    }
    case 2:
        if (d == HARD) {
            for (int sp = 10; sp <= 39; sp++) kou(e.x + 180, e.y + 138, (float)e.cnt, (float)sp, 90, 0);
            e.cnt += my_rand(0, 360);
            DS_Play(Wave[2]);
        }
        e.timer = 2;
        e.step += 1;
        if (e.step >= 30) {
            e.timer = 10;
            e.mode = 3;
            e.step = 0;
        }
        break;
    case 3:
        kou(e.x + 99, e.y + 120, (float)e.cnt, (float)(e.step + 5), 90, 0);
        e.cnt += 2;
        e.iw[0] += 1;
        if (e.iw[0] == 5) {
            e.cnt = my_rand(90, 270);
            e.iw[0] = 0;
            e.step += 1;
        }
        DS_Play(Wave[2]);
        e.timer = 1;
        if (e.step >= 30) {
            e.timer = 50;
            e.mode = 0;
            e.step = 0;
        }
        break;
    }
}

static void Chuugata6Variant1(SpriteData& e, int d) {
    if (!(e.timer < 0)) return;
    switch (e.mode) {
    case 0:
        for (int k = 0; k < 60; k++) {
            const int a = e.cnt + FanOffset(k, 6);
            e.gw[0] = (float)(10 + (k + 1) / 2);
            Upper(e, a, e.gw[0]);
            if (d == HARD && k % 2 == 0) Upper(e, a + 180, e.gw[0]);
        }
        e.timer = d == HARD ? 30.0f : 50.0f;
        VolleyDone(e, 10);
        break;
    case 1:
        if (d == EASY) {
            for (int sp = 20; sp <= 28; sp += 2) {
                Upper(e, e.cnt, (float)sp);
                Lower(e, e.cnt, (float)sp);
            }
        } else if (d == NORMAL) {
            for (int sp = 15; sp <= 33; sp += 2) {
                Upper(e, e.cnt, (float)sp);
                Lower(e, e.cnt, (float)sp);
            }
        } else if (d == HARD) {
            for (int sp = 15; sp <= 33; sp += 2) {
                for (int q = 0; q < 4; q++) {
                    Upper(e, e.cnt + 90 * q, (float)sp);
                    Lower(e, e.cnt + 90 * q, (float)sp);
                }
            }
        }
        DS_Play(Wave[6]);
        e.timer = 2;
        e.cnt -= my_rand(1, 50);
        e.step += 1;
        if (e.step >= 50) {
            e.cnt = 0;
            e.timer = 50;
            e.mode = 2;
            e.step = 0;
        }
        break;
    case 2:
        Upper(e, e.cnt, 25);
        if (d != EASY) Lower(e, e.cnt + 180, 25);
        if (d == HARD) {
            for (int k = 5; k <= 15; k += 5) {
                Upper(e, e.cnt + k, 25);
                Lower(e, e.cnt + 180 - k, 25);
            }
        }
        DS_Play(Wave[6]);
        e.timer = 2;
        e.cnt -= 4;
        e.step += 1;
        if (e.step >= 60) {
            e.cnt = 0;
            e.timer = 50;
            e.mode = 0;
            e.step = 0;
        }
        break;
    }
}

// The long death of the battleship and the turret: bursts while num lasts,
// a step on every tenth count, and the end after `steps` of them. The
// battleship turns bullets to jewels all the while and leaves a power
// item; the turret turns them once, at the end, except on EASY.
static void BigDeath(SpriteData& e, int steps, bool battleship) {
    const bool pulse = battleship, item = battleship;
    if (e.num >= 1) {
        if (pulse) BombPulse = 1;
        e.speed = 0;
        MidExplodeIn(e, ExploHappen2);
        if (e.num % 10 == 0) {
            DS_Play(Wave[4]);
            e.step += 1;
        }
    }
    if (e.step >= steps) {
        MidExplodeIn(e, ExploHappen6);
        if (!item && Diff() != EASY) BombPulse = 1;
        e.flag = false;
        if (item) Pitem(MidCX(e), MidCY(e), 180, 10.0f, 0);
        MidEnemyCount -= 1;
    }
    MidCountDown(e);
}

void Chuugata6Frame(SpriteData& e, int i) {
    const int d = Diff();
    if (e.opt2 == 1 && e.x > 500) e.angle = 210;
    MidTurnAndMove(e);
    if (e.mode == 10) {
        BigDeath(e, 40, true);
    } else if (e.mode <= 3) {
        if (e.opt2 == 1) Chuugata6Variant1(e, d);
        else Chuugata6Variant0(e, d);
    }
    e.timer -= 10 * FrameStep;
    if (e.hp <= 0) e.mode = 10;
    MidLeaves(e, (float)-e.w, (float)(e.w + 640), (float)-e.h, (float)(e.h + 480));
    if (e.hp > 0 && MidShipOverlap(e.x + 130, e.x + e.w, e.y + 41, e.y + e.h - 36)) ShipLost();
    MidBlasts(i);
    MidDrawWhole(e);
    SpriteNewAnime(&e.anim, &e.frame, &e.frames, &e.loop);
}

// ---------------------------------------------------------------------------
// chuugata7: the carrier launches fighters, lays rings and lobs large
// bullets.

// Its hull: two boxes, the front one against the ship shrunk by 31.
static bool CarrierRams(const SpriteData& e) {
    if (e.hp <= 0) return false;
    return MidShipOverlapInset(e.x + 144, e.x + e.w - 100, e.y + 65, e.y + e.h - 90, 31) ||
           MidShipOverlapInset(e.x + 240, e.x + e.w - 140, e.y + 45, e.y + e.h - 15, 0);
}

void Chuugata7Frame(SpriteData& e, int i) {
    const int d = Diff();
    MidTurnAndMove(e);
    if (e.mode == 10) {
        MidDeath(e, 5);
    } else if (e.timer <= 0 && e.mode == 0) {
        int sp = my_rand(5, 20);
        int a = my_rand(140, 220);
        zako10(e.x + 256, e.y + 156, a, (float)sp);
        sp = my_rand(5, 20);
        a = my_rand(-90, 90);
        zako10(e.x + 360, e.y + 156, a, (float)sp);
        e.timer = 4;
        const int spread = d == EASY ? 5 : d == HARD ? 20 : 10;
        const int lo = d == EASY ? 15 : d == HARD ? 30 : 20;
        const int hi = d == EASY ? 25 : d == HARD ? 45 : 35;
        for (int k = 0; k < 12; k++) {
            int ba = my_rand(-spread, spread);
            int bs = my_rand(lo, hi);
            kou(e.x + 180, e.y + 40, (float)(180 + ba), (float)bs, 90, 0);
        }
        DS_Play(Wave[2]);
        e.step += 1;
        if (e.step >= 20) {
            e.timer = 150;
            e.mode = 1;
            e.step = 0;
        }
    } else if (e.timer <= 0 && e.mode == 1) {
        const int count = d == EASY ? 15 : d == HARD ? 60 : 30;
        const int gap = 360 / count;
        const float fast = d == HARD ? 40.0f : 30.0f, slow = d == HARD ? 25.0f : 15.0f;
        for (int k = 0; k < count; k++) kou(e.x + 165, e.y + 20, (float)(gap * k), fast, 90, 0);
        for (int k = 0; k < count; k++) kou(e.x + 165, e.y + 20, (float)(gap * k), slow, 91, 0);
        e.timer = 10;
        e.step += 1;
        if (e.step >= 5) {
            e.timer = 50;
            e.mode = 2;
            e.step = 0;
        }
    } else if (e.timer <= 0 && e.mode == 2) {
        e.cnt = MidAim(e.x + 165, e.y + 20);
        if (d != EASY) {
            kou2(e.x + 165, e.y + 20, (float)e.cnt, 40, 95, 0);
            DS_Play(Wave[2]);
        }
        e.timer = 5;
        e.step += 1;
        if (e.step >= 10) {
            e.timer = 100;
            e.mode = 0;
            e.step = 0;
        }
    }
    e.timer -= 10 * FrameStep;
    if (e.hp <= 0) e.mode = 10;
    MidLeaves(e, (float)-e.w, (float)(e.w + 640), (float)-e.h, (float)(e.h + 480));
    if (CarrierRams(e)) ShipLost();
    MidBlasts(i);
    MidDrawWhole(e);
    SpriteAnime(&e.anim, &e.frame, &e.frames);
}

// ---------------------------------------------------------------------------
// chuugata9: the turret's spiral, dart rings and closing sweeps.

void Chuugata9Frame(SpriteData& e, int i) {
    const int d = Diff();
    MidTurnAndMove(e);
    if (e.mode == 10) {
        BigDeath(e, 20, false);
    } else if (e.timer <= 0 && e.mode == 0) {
        e.cnt += 11;
        e.timer = 1;
        const float fx = e.x + 72, fy = e.y + 78;
        if (d == EASY) {
            kou(fx, fy, (float)(2 * e.cnt), 20, 90, 0);
        } else if (d == HARD) {
            kou(fx, fy, (float)e.cnt, 30, 90, 0);
            kou(fx, fy, (float)(e.cnt + 180), 30, 90, 0);
            kou(fx, fy, (float)(e.cnt + e.cnt / 2), 30, 90, 0);
            kou(fx, fy, (float)(e.cnt + e.cnt / 2 + 180), 30, 90, 0);
        } else {
            kou(fx, fy, (float)e.cnt, 25, 90, 0);
        }
        DS_Play(Wave[2]);
        e.step += 1;
        if (e.step >= 300) {
            e.timer = 150;
            e.mode = 1;
            e.step = 0;
        }
    } else if (e.timer <= 0 && e.mode == 1) {
        const int count = d == EASY ? 5 : d == HARD ? 40 : 10;
        const int turn = 360 / count;
        const float sp = d == HARD ? 30.0f : 20.0f;
        for (int k = 0; k < count; k++) {
            SL2(e.x + 65, e.y + 70, (float)e.cnt, sp, 0);
            e.cnt += turn;
        }
        e.timer = d == HARD ? 10.0f : 20.0f;
        e.cnt = 0;
        DS_Play(Wave[2]);
        e.step += 1;
        if (e.step >= 20) {
            e.timer = 50;
            e.mode = 2;
            e.step = 0;
            double deg = my_atan(e.x + 65, e.y + 70, ShipCenterX(), ShipCenterY() - 35) * 57.324840764331206;
            e.cnt = (deg > -100000.0 && deg < 100000.0) ? (int)deg : 0;
        }
    } else if (e.timer <= 0 && e.mode == 2) {
        const float fx = e.x + 72, fy = e.y + 70, sp = (float)(e.step + 20);
        const int c = e.cnt, s = e.step;
        if (d == HARD) {
            SL2(fx, fy, (float)(c + s - 120), sp, 0);
            SL2(fx, fy, (float)(c + s - 60), sp, 0);
            SL2(fx, fy, (float)c, sp, 0);
            SL2(fx, fy, (float)(c - s + 60), sp, 0);
            SL2(fx, fy, (float)(c + s + 120), sp, 0);
        } else {
            SL2(fx, fy, (float)(c + s - 60), sp, 0);
            if (d != EASY) SL2(fx, fy, (float)c, sp, 0);
            SL2(fx, fy, (float)(c - s + 60), sp, 0);
        }
        DS_Play(Wave[2]);
        e.timer = 5;
        e.step += 2;
        if (e.step >= 50) {
            e.timer = 100;
            e.mode = 0;
            e.step = 0;
            e.angle = (float)my_rand(150, 210);
        }
    }
    e.timer -= 10 * FrameStep;
    MidLeaves(e, (float)-e.w, (float)(e.w + 640), (float)(-50 - e.h), (float)(e.h + 480));
    // The carrier's hull boxes, which are empty on a body this narrow.
    if (CarrierRams(e)) ShipLost();
    MidBlasts(i);
    MidDrawRow(e, 0, 160);
    SpriteAnime(&e.anim, &e.frame, &e.frames);
}

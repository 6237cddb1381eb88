// Mid-size enemies: the gunship, the ring layer, the cruiser, the twin
// fan ship and the dart mine.
#include "enemy/bullets.h"
#include "enemy/effects.h"
#include "enemy/mid_common.h"
#include "game/game.h"
#include "player/items.h"
#include "player/player.h"
#include "player/ship.h"
#include "core/core.h"
#include "sound/sound.h"

static int Diff() { return OPTION.Difficulty; }

// The ship test of the three with a soft nose: the enemy's box from x + 50.
static void MidRam(SpriteData& e, float leftCut) {
    if (e.hp > 0 && MidShipOverlap(e.x + leftCut, e.x + e.w, e.y, e.y + e.h)) ShipLost();
}

// ---------------------------------------------------------------------------
// chuugata: brakes in firing, patrols up and down with shotgun volleys five
// times, then curls away spraying.

static void ChuugataShotgun(SpriteData& e, float fx, float fy, int count, int speedLo, int speedHi, int reaim) {
    const int aim = MidAim(fx, fy);
    e.cnt = aim + my_rand(-30, 10);
    for (int k = 0; k < count; k++) {
        int sp = my_rand(speedLo, speedHi);
        kou(fx, fy, (float)e.cnt, (float)sp, 90, 0);
        e.cnt = aim + my_rand(-reaim, reaim);
    }
}

void ChuugataFrame(SpriteData& e, int i) {
    MidTurnAndMove(e);
    const float fx = e.x, fy = MidCY(e);
    switch (e.mode) {
    case 0:
        if (e.speed > 0) e.speed -= 15 * FrameStep;
        if (e.speed < 0) e.speed = 0;
        if (Diff() != EASY) kou(fx, fy, (float)e.cnt, 25, 91, 1);
        if (Diff() == HARD) {
            int a = my_rand(-15, 15);
            kou(fx, fy, (float)(180 + a), 35, 91, 0);
        }
        if (e.speed <= 0) {
            e.mode = 1;
            e.angle = 90;
            e.speed = 30;
            ChuugataShotgun(e, fx, fy, 51, 10, 45, 5);
        }
        break;
    case 1:
        e.speed -= 5 * FrameStep;
        if (e.speed < 0) e.speed = 0;
        e.timer -= 10 * FrameStep;
        if (e.timer <= 0) {
            if (Diff() == EASY) {
                ChuugataShotgun(e, fx, fy, 21, 10, 35, 5);
            } else if (Diff() == HARD) {
                const int aim = MidAim(fx, fy);
                e.cnt = aim + my_rand(-30, 10);
                for (int k = 0; k < 51; k++) {
                    int s1 = my_rand(10, 35);
                    kou(fx, fy, (float)e.cnt, (float)s1, 90, 0);
                    int s2 = my_rand(10, 35);
                    kou(fx, fy, (float)(e.cnt + 45), (float)s2, 90, 0);
                    int s3 = my_rand(10, 35);
                    kou(fx, fy, (float)(e.cnt - 45), (float)s3, 90, 0);
                    e.cnt = aim + my_rand(-15, 15);
                }
            } else {
                ChuugataShotgun(e, fx, fy, 51, 10, 45, 5);
            }
            DS_Play(Wave[2]);
            e.speed = 30;
            e.timer = 150;
            e.angle += 180;
            e.time += 1;
            if (e.time >= 5) e.mode = 3;
        }
        break;
    case 2:
        MidDeath(e, 5);
        break;
    case 3: {
        int sp = my_rand(5, 25);
        int a = my_rand(-90, 90);
        kou(fx, fy, (float)a, (float)sp, 92, 0);
        e.angle -= 8 * FrameStep;
        e.speed += 2 * FrameStep;
        break;
    }
    }
    MidLeaves(e, -300, 700, -240, 480);
    MidRam(e, 50);
    MidBlasts(i);
    MidDrawWhole(e);
    SpriteAnime(&e.anim, &e.frame, &e.frames);
}

// ---------------------------------------------------------------------------
// chuugata2: drifts along its spawn heading laying aimed sprays and rings.

static void Chuugata2Rings(SpriteData& e, float fx, float fy, int turn) {
    for (int a = 5; a <= 14; a++) {
        for (int k = 0; k < 10; k++) {
            kou(fx, fy, (float)e.cnt, (float)(a + 10), 93, 0);
            e.cnt += turn;
        }
    }
}

static void Chuugata2Spray(SpriteData& e, float fx, float fy, int count, int speedLo, int speedHi) {
    const int aim = MidAim(fx, fy);
    e.cnt = aim + my_rand(-30, 10);
    for (int k = 0; k < count; k++) {
        int sp = my_rand(speedLo, speedHi);
        kou(fx, fy, (float)e.cnt, (float)sp, 90, 0);
        e.cnt = aim + my_rand(-5, 5);
        e.cnt += my_rand(1, 10);
    }
}

void Chuugata2Frame(SpriteData& e, int i) {
    if (e.mode != 0 && e.mode != 1) e.mode = 1;
    if (e.mode == 0) {
        MidMove(e);
        e.timer -= 15 * FrameStep;
        if (e.timer <= 0) {
            DS_Play(Wave[2]);
            // The guns sit on the nose where the ship is now, after this
            // frame's move.
            const float fx = e.x, fy = MidCY(e);
            if (Diff() == EASY) {
                Chuugata2Rings(e, fx, fy, 36);
                e.timer = 300;
            } else if (Diff() == HARD) {
                Chuugata2Spray(e, fx, fy, 51, 25, 60);
                Chuugata2Rings(e, fx, fy, 35);
                e.timer = 200;
            } else {
                Chuugata2Spray(e, fx, fy, 26, 15, 30);
                Chuugata2Rings(e, fx, fy, 36);
                e.timer = 300;
            }
        }
    } else {
        if (e.num >= 20) {
            MidExplodeIn(e, ExploHappen2);
            if (Diff() == EASY) BombPulse = 1;
            if (e.num % 10 == 0) DS_Play(Wave[4]);
        }
        MidCountDown(e);
        if (e.num < 1) {
            if (Diff() == EASY) Pitem(MidCX(e), MidCY(e), 180, 10.0f, 0);
            MidGone(e);
        }
    }
    MidLeaves(e, -300, 700, -140, 480);
    MidRam(e, 50);
    MidBlasts(i);
    MidDrawWhole(e);
    SpriteAnime(&e.anim, &e.frame, &e.frames);
}

// ---------------------------------------------------------------------------
// chuugata8: the cruiser sweeps the screen from side to side.

void Chuugata8Frame(SpriteData& e, int i) {
    MidTurnAndMove(e);
    e.timer -= 10 * FrameStep;
    const int d = Diff();
    switch (e.mode) {
    case 0:
        if (e.x >= 640) {
            e.speed = 0;
            e.angle = 180;
            e.mode = 1;
            e.timer = 15;
        }
        break;
    case 1:
        if (e.timer <= 0) {
            e.cnt = MidAim(e.x, MidCY(e));
            const float gx = e.x + 60, gy = e.y + 145;
            if (d == EASY) {
                for (int k = 0; k < 5; k++) {
                    kou(gx, gy, (float)e.cnt, 20, 90, 0);
                    e.cnt += my_rand(1, 20);
                }
                e.timer = 3;
            } else if (d == HARD) {
                for (int k = 0; k < 17; k++) {
                    kou(gx, gy, (float)e.cnt, 25, 90, 0);
                    e.cnt += my_rand(1, 40);
                }
                e.timer = 1;
            } else {
                for (int k = 0; k < 9; k++) {
                    kou(gx, gy, (float)e.cnt, 20, 90, 0);
                    e.cnt += my_rand(1, 20);
                }
                e.timer = 2;
            }
            DS_Play(Wave[2]);
            e.speed = 5;
        }
        if (e.x < 100) {
            e.mode = 3;
            e.timer = 10;
            e.speed = 0;
        }
        break;
    case 3:
        if (e.timer < 0) {
            const int last = d == HARD ? 15 : 6;
            const int mul = d == EASY ? 4 : 6;
            for (int a = 1; a <= last; a++) {
                kou(e.x + 140, e.y + 90, (float)e.cnt, (float)(mul * a), 91, 1);
                if (d == HARD) {
                    int r = my_rand(0, 360);
                    kou(e.x + 60, e.y + 145, (float)r, 20, 90, 0);
                }
            }
            DS_Play(Wave[2]);
            e.timer = 1.2f;
            e.time += 1;
            if (e.time >= 30) {
                e.angle = 0;
                e.speed = 5;
            }
        }
        if (e.x > 500) {
            e.mode = 1;
            e.angle = 180;
            e.timer = 15;
            e.speed = 0;
            DS_Play(Wave[16]);
            for (int k = 1; k <= 49; k++) {
                kou(e.x + 60, e.y + 145, (float)e.cnt, (float)k, 90, 1);
                for (int a = 260; a >= 100; a -= 20) kou(e.x + 140, e.y + 90, (float)a, (float)(2 * k), 91, 0);
            }
            for (int k = 0; k < 500; k++) {
                int a = my_rand(100, 260);
                int sp = my_rand(5, 50);
                kou(e.x + 65, e.y + 30, (float)a, (float)sp, 92, 0);
            }
        }
        break;
    case 2:
        if (e.num < 1) {
            e.step += 1;
            e.num = 1;
            MidExplodeIn(e, ExploHappen2);
            BombPulse = 1;
            e.speed = 0;
            if (e.step % 3 == 0) DS_Play(Wave[4]);
        }
        if (e.step >= 200) {
            for (int k = 0; k < 4; k++) MidExplodeIn(e, ExploHappen6);
            for (SpriteData& b : tama) b.flag = false;
            for (SpriteData& b : sLaser) b.flag = false;
            for (SpriteData& b : sLaser2) b.flag = false;
            MidGone(e);
        }
        MidCountDown(e);
        break;
    }
    MidLeaves(e, -600, 700, -40, 480);
    if (e.hp > 0 && (MidShipOverlap(e.x + 100, e.x + e.w, e.y + 150, e.y + e.h) ||
                     MidShipOverlap(e.x + 275, e.x + e.w - 50, e.y + 60, e.y + e.h))) {
        P_Ship.flag = false;
        ExploHappen(P_Ship.x + P_Ship.w / 2, P_Ship.y + P_Ship.h / 2);
    }
    MidBlasts(i);
    MidDrawWhole(e);
    SpriteAnime(&e.anim, &e.frame, &e.frames);
}

// ---------------------------------------------------------------------------
// chuugata4: aimed fans, then curling sprays (variant 0) or rings of
// braking bullets (variant 1).

void Chuugata4Frame(SpriteData& e, int i) {
    const int d = Diff();
    if (e.mode == 0 || e.mode == 1) BulletTurnAngle = my_rand(0, 360);
    // It only moves while aiming its fans; it holds still for the sprays.
    if (e.mode == 0) {
        e.timer -= 10 * FrameStep;
        MidMove(e);
    }
    const float cy = MidCY(e);
    if (e.mode == 0) {
        if (e.timer <= 0) {
            const float fx = e.x + 40;
            if (e.time == 0) e.cnt = MidAim(fx, cy);
            const int shots = d == EASY ? 3 : d == HARD ? 9 : 5;
            const int fan = d == EASY ? 60 : d == HARD ? 15 : 30;
            const float sp = d == HARD ? 30.0f : 20.0f;
            for (int k = 0; k < shots; k++) kou(fx, cy, (float)(e.cnt + FanOffset(k, fan)), sp, 90, 0);
            e.timer = d == HARD ? 5.0f : 10.0f;
            DS_Play(Wave[2]);
            e.time += 1;
        }
        if (e.time >= 5) {
            e.mode = 1;
            e.time = 0;
            e.step = 0;
        }
    } else if (e.mode == 1 && e.opt2 == 1) {
        if (e.timer <= 0) {
            for (int k = 0; k <= 30; k++) kou(e.x + 150, cy, (float)(12 * k), 10, 90, 7);
            e.step += 1;
            e.timer = 20;
            DS_Play(Wave[2]);
            if (e.step >= 10) {
                e.timer = 200;
                e.mode = 0;
                e.step = 0;
            }
        }
        e.timer -= 10 * FrameStep;
    } else if (e.mode == 1) {
        if (e.timer <= 0) {
            const int count = d == EASY ? 21 : 51;
            for (int k = 0; k < count; k++) {
                int a = my_rand(0, 720);
                kou(e.x + 150, cy, (float)a, 20, 90, 3);
                if (d == HARD) {
                    kou(e.x + 150, cy, (float)a, 30, 90, 3);
                    kou(e.x + 150, cy, (float)a, 10, 90, 3);
                }
            }
            DS_Play(Wave[16]);
            e.timer = 250;
            e.mode = 0;
        }
        e.timer -= 10 * FrameStep;
    } else if (e.mode == 2) {
        if (e.num >= 5) {
            BombPulse = 1;
            e.speed = 0;
            MidExplodeIn(e, ExploHappen2);
            if (e.num % 10 == 0) DS_Play(Wave[4]);
        }
        MidCountDown(e);
        if (e.num < 1) {
            BombPulse = 1;
            MidGone(e);
        }
    }
    MidLeaves(e, -300, 700, -240, 480);
    MidRam(e, 50);
    MidBlasts(i);
    SpriteDraw(e);
    SpriteshotAnime(&e.anim, &e.frame, &e.frames);
}

// ---------------------------------------------------------------------------
// chuugata5: opens up, then throws rings of laser darts.

void Chuugata5Frame(SpriteData& e, int i) {
    const int d = Diff();
    switch (e.mode) {
    case 0:
        e.cnt = 0;
        e.frames = 3;
        if (e.speed >= 0) {
            MidMove(e);
            e.speed -= FrameStep;
        } else {
            e.mode = 1;
            e.frames = 17;
            e.speed = 0;
        }
        break;
    case 1:
        MidMove(e);
        if (e.frame < 14) break;
        e.loop = 7;
        e.frames = 25;
        e.timer -= 10 * FrameStep;
        if (e.timer <= 0) {
            e.step = my_rand(10, 35);
            e.cnt = my_rand(0, 360);
            const float fx = MidCX(e) - 14, cy = MidCY(e);
            const int count = d == EASY ? 31 : 61;
            const int turn = d == EASY ? 12 : 6;
            for (int k = 0; k < count; k++) {
                SL2(fx, cy - 18, (float)e.cnt, (float)e.step, 0);
                e.cnt += turn;
            }
            if (d == HARD) {
                static const int kAngle[5] = {170, 175, 180, 185, 190};
                static const int kLift[5] = {13, 15, 18, 21, 24};
                for (int k = 0; k < 5; k++) SL2(fx, cy - kLift[k], (float)kAngle[k], (float)e.step, 0);
            }
            e.iw[0] += 1;
            if (e.iw[0] >= 50) e.speed += FrameStep;
            e.step = my_rand(10, 35);
            e.cnt = my_rand(0, 360);
            DS_Play(Wave[6]);
            e.timer = 10;
        }
        break;
    case 9:
        e.time = 0;
        e.mode = 10;
        break;
    case 10:
        if (e.num >= 5) {
            BombPulse = 1;
            MidExplodeIn(e, ExploHappen2);
            if (e.num % 10 == 0) {
                DS_Play(Wave[4]);
                e.time += 1;
            }
        }
        MidCountDown(e);
        if (e.time > 20) {
            Pitem(MidCX(e), MidCY(e), 180, 10.0f, 0);
            MidGone(e);
        }
        break;
    }
    MidLeaves(e, -300, 700, -240, 480);
    if (e.hp > 0 && MidShipOverlap(e.x, e.x + e.w, e.y, e.y + e.h)) ShipLost();
    MidBlasts(i);
    SpriteDraw(e);
    SpriteNewAnime(&e.anim, &e.frame, &e.frames, &e.loop);
}

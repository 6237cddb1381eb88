// Small enemies, continued: Enemy6 to Enemy11, the ring enemy, the large
// laser ship and the walker, and the pass over every small-enemy pool.
#include "enemy/small.h"

#include <cmath>

#include "enemy/bullets.h"
#include "enemy/midsize.h"
#include "entity/heading.h"
#include "game/frame.h"
#include "game/game.h"
#include "core/core.h"
#include "sound/sound.h"

static bool Easy() { return OPTION.Difficulty == EASY; }
static bool Hard() { return OPTION.Difficulty == HARD; }

static void TailScreen(SpriteData& e, int i, const SmallShotRules& rules, float above, float below) {
    SmallTail(e, i, rules, (float)-e.w, (float)(e.w + 640), -above - e.h, (float)e.h + below);
}

// ---------------------------------------------------------------------------
// Enemy6 (zako6): drifts down spraying bullets, then darts up and off.
// It steers before it moves.

static const SmallShotRules kEnemy6Rules = {600, 600, 32, 32, false, false};

// HARD's three darts turning with each shot.
static void Enemy6Darts(SpriteData& e) {
    const float x = CentreX(e), y = CentreY(e) - 30, a = 8 * e.time;
    SL2(x, y, a, 20, 0);
    SL2(x, y, a + 120, 20, 0);
    SL2(x, y, a + 240, 20, 0);
}

void Enemy6Frame(SpriteData& e, int i) {
    e.timer -= FrameStep * 10;
    if (e.mode == 0) {
        if (e.y <= 0) {
            HeadTo(e, 120);
            e.speed = 5;
            e.timer = (float)my_rand(300, 1000);
            e.mode = 1;
        }
    } else if (e.mode == 1) {
        if (e.timer <= (Easy() ? 50 : 100)) {
            if (Easy()) {
                FireFromCentre(e, (float)my_rand(10, 170), 20, 91);
            } else if (Hard()) {
                FireFromCentre(e, (float)my_rand(0, 190), 20, 91);
                FireFromCentre(e, (float)my_rand(0, 190), 20, 91);
                Enemy6Darts(e);
                e.time += 1;
            } else {
                FireFromCentre(e, (float)my_rand(0, 190), 20, 91);
            }
        }
        if (e.timer <= 0 || e.y >= 440) {
            DS_Play(Wave[2]);
            if (Hard()) DS_Play(Wave[6]);
            HeadTo(e, 265);
            e.speed = 50;
            e.mode = 0;
            // A parting shot.
            if (Hard()) {
                Enemy6Darts(e);
                FireFromCentre(e, (float)my_rand(0, 180), 20, 91);
                FireFromCentre(e, (float)my_rand(0, 180), 20, 91);
                e.time += 1;
            } else {
                FireFromCentre(e, (float)my_rand(0, 180), 20, 91);
            }
        }
    } else {
        e.mode = 0;
    }
    SmallMove(e);

    TailScreen(e, i, kEnemy6Rules, 100, 450);
    SmallDrawRow(e, 0, 100);
    SpriteAnimezako1(&e.anim, &e.frame, &e.frames);
}

// ---------------------------------------------------------------------------
// Enemy7 (zako7): comes to a stop, fires ten aimed volleys, then leaves to
// the left in a spray of bullets.

static const SmallShotRules kEnemy7Rules = {700, 700, 32, 32, false, false};

void Enemy7Frame(SpriteData& e, int i) {
    e.timer -= FrameStep * 10;
    if (e.mode == 0) {
        e.fw[0] -= FrameStep;
        if (e.fw[0] <= 0) {
            e.speed = 0;
            e.mode = 1;
        }
    } else if (e.mode == 1) {
        if (e.timer <= 0) {
            const float aim = AimDeg(e);
            if (Easy()) {
                FireFromCentre(e, aim, 20, 91);
                e.timer = 100;
            } else if (Hard()) {
                FireFromCentre(e, aim, 30, 91);
                for (int k = 1; k <= 3; k++) {
                    FireFromCentre(e, aim + 10 * k, 30, 91);
                    FireFromCentre(e, aim - 10 * k, 30, 91);
                }
                e.timer = 80;
            } else {
                FireFromCentre(e, aim, 20, 91);
                FireFromCentre(e, aim + 20, 20, 91);
                FireFromCentre(e, aim - 20, 20, 91);
                e.timer = 100;
            }
            DS_Play(Wave[2]);
            e.step += 1;
        }
        if (e.step >= 10) {
            HeadTo(e, 180);
            e.speed = 20;
            e.mode = 2;
            const int n = Hard() ? 50 : 20;
            for (int k = 0; k < n; k++) FireFromCentre(e, (float)my_rand(0, 180), (float)(20 + k), 91);
        }
    }
    SmallMove(e);

    TailScreen(e, i, kEnemy7Rules, 10, 450);
    SmallDrawRow(e, 0, 150);
    SpriteshotAnime(&e.anim, &e.frame, &e.frames);
}

// ---------------------------------------------------------------------------
// Enemy8 (zako8): curves along its spawn mode and fires rings.

static const SmallShotRules kEnemy8Rules = {800, 800, 32, 32, false, false};

// The heading changes by a fixed amount per frame, whatever the time step.
static void Steer(SpriteData& e, double by) {
    e.angle += by;
    e.rad = HeadingRad(e.angle);
}

void Enemy8Frame(SpriteData& e, int i) {
    SmallMove(e);
    switch (e.mode) {
    case 0: Steer(e, 0.4); break;
    case 1: Steer(e, -0.4); break;
    case 2:
        e.speed -= 0.15;
        Steer(e, -0.2);
        break;
    case 3:
        e.time -= FrameStep;
        if (e.time <= 0) Steer(e, 0.6);
        break;
    case 4:
        e.time -= FrameStep;
        if (e.time <= 0) Steer(e, -0.6);
        break;
    default: break;
    }
    e.dx = (float)std::cos((double)e.rad);
    e.dy = (float)std::sin((double)e.rad);
    e.cnt = my_rand(0, 360);
    if (e.timer <= 0) {
        if (Easy()) {
            for (int k = 0; k < 5; k++) FireFromCentre(e, (float)(e.cnt + 2 * k), 15, 92);
            e.timer = 100;
        } else if (Hard()) {
            for (int v = 0; v < 5; v++) {
                for (int q = 0; q < 4; q++) FireFromCentre(e, (float)(e.cnt + 90 * q), 15, 92);
                for (int q = 0; q < 4; q++) FireFromCentre(e, (float)(e.cnt + 45 + 90 * q), 15, 91);
                e.cnt += 2;
            }
            e.timer = 50;
        } else {
            for (int v = 0; v < 5; v++) {
                FireFromCentre(e, (float)e.cnt, 15, 92);
                FireFromCentre(e, (float)(e.cnt + 90), 15, 91);
                FireFromCentre(e, (float)(e.cnt + 180), 15, 92);
                FireFromCentre(e, (float)(e.cnt + 270), 15, 91);
                e.cnt += 2;
            }
            e.timer = 100;
        }
        DS_Play(Wave[2]);
    }
    e.timer -= FrameStep * 10;

    TailScreen(e, i, kEnemy8Rules, 0, 480);
    SmallDrawRow(e, 0, 64);
    SpriteAnime(&e.anim, &e.frame, &e.frames);
}

// ---------------------------------------------------------------------------
// Enemy9 (zako9): a missile at the ship, faster every frame; it never fires
// and its first hit destroys it.

static const SmallShotRules kEnemy9Rules = {900, 900, 32, 32, false, false};

void Enemy9Frame(SpriteData& e, int i) {
    SmallMove(e);
    e.speed += FrameStep * 10;
    TailScreen(e, i, kEnemy9Rules, 100, 480);
    SmallDrawRow(e, 0, 64);
    SpriteAnimezako9(&e.anim, &e.frame, &e.frames);
}

// ---------------------------------------------------------------------------
// Enemy10 (zako10): a turret spinning out darts round its heading; silent
// on EASY. It fires four bullets as it dies.

static const SmallShotRules kEnemy10Rules = {1000, 1000, 32, 32, false, true};

void Enemy10Frame(SpriteData& e, int i) {
    SmallMove(e);
    if (e.timer <= 0 && !Easy()) {
        const float x = CentreX(e) - 24, y = CentreY(e) - 16;
        if (Hard()) {
            for (int k = 0; k < 8; k++) SL2(x, y, e.angle + 45 * k, 20, 0);
        } else {
            for (int k = 0; k < 4; k++) SL2(x, y, e.angle + 90 * k, 15, 0);
        }
        e.timer = (float)my_rand(5, 25);
        DS_Play(Wave[6]);
    }
    e.timer -= FrameStep;

    TailScreen(e, i, kEnemy10Rules, 0, 480);
    SmallDrawRow(e, 0, 64);
    SpriteAnime(&e.anim, &e.frame, &e.frames);
}

// ---------------------------------------------------------------------------
// Enemy11 (zako11): fires darts to the left at short random intervals.

static const SmallShotRules kEnemy11Rules = {100, 100, 32, 32, false, false};

void Enemy11Frame(SpriteData& e, int i) {
    SmallMove(e);
    e.timer -= FrameStep;
    if (e.timer <= 0) {
        const float x = CentreX(e), y = CentreY(e) - 10;
        if (Easy()) {
            SL2(x, y, 180, 25, 0);
        } else if (Hard()) {
            static const int kAngles[9] = {137, 136, 135, 225, 226, 227, 180, 181, 179};
            for (int a : kAngles) SL2(x, y, (float)a, 25, 0);
        } else {
            SL2(x, y, 180, 15, 0);
            SL2(x, y, 210, 15, 0);
            SL2(x, y, 150, 15, 0);
        }
        e.timer = (float)my_rand(1, 10);
        DS_Play(Wave[6]);
    }

    TailScreen(e, i, kEnemy11Rules, 10, 480);
    // The spawn variant picks the sheet's column.
    SmallDrawRow(e, e.mode * 64, e.mode * 64 + 64);
    SpriteAnimezako1(&e.anim, &e.frame, &e.frames);
}

// ---------------------------------------------------------------------------
// HARO (haro): a ring enemy throwing rings of bullets; from stage 2 on it
// sometimes adds a line of aimed ones. A fan shot's kill is worth more.

static const SmallShotRules kHaroRules = {500, 2000, 32, 32, false, false};

void HaroFrame(SpriteData& e, int i) {
    SmallMove(e);
    const float x = CentreX(e) - 20, y = CentreY(e);
    if (e.timer <= 0) {
        e.cnt = my_rand(0, 359);
        const int n = Easy() ? 1 : Hard() ? 36 : 8;
        const int step = Hard() ? 10 : 45;
        for (int k = 0; k < n; k++) kou(x, y, (float)(e.cnt + step * k), 10, 92, 0);
        DS_Play(Wave[2]);
        e.timer = 200;
    }
    if (my_rand(0, 300) == 1 && StageNo != 1)
        for (int sp = 10; sp <= 30; sp += 5) kou(x, y, 0, (float)sp, 90, 1);
    e.timer -= FrameStep;

    SmallTail(e, i, kHaroRules, -100, 700, -40, 480);
    SmallDrawRow(e, 0, e.w);
    SpriteAnime(&e.anim, &e.frame, &e.frames);
}

// ---------------------------------------------------------------------------
// BEnemy (oozako1): a large laser ship. It fires along its own line when
// the ship crosses it, brakes to a stop, fires once more and leaves. A fan
// shot's kill is worth less.

static const SmallShotRules kBEnemyRules = {1000, 100, 32, 32, false, false};

static void BEnemyVolley(const SpriteData& e) {
    const float cy = CentreY(e);
    if (Hard()) {
        for (int s = 10; s <= 90; s += 10) {
            SL(e.x, cy + 2, 180, (float)s);
            SL(e.x, cy - 2, 180, (float)s);
        }
    } else if (Easy() && StageNo < 3) {
        return;  // EASY holds its fire in the first two stages
    } else {
        SL(e.x, cy + 2, 180, 40);
        SL(e.x, cy - 2, 180, 40);
    }
    DS_Play(Wave[6]);
}

void BEnemyFrame(SpriteData& e, int i) {
    SmallMove(e);
    const float d = ShipCenterY() - CentreY(e);
    if (d >= -1 && d <= 1) BEnemyVolley(e);
    if (e.speed > 0 && e.mode == 0) e.speed -= FrameStep * 2;
    if (e.speed <= 0 && e.mode == 0) {
        BEnemyVolley(e);
        e.mode += 1;
        e.speed = 25;
    }
    e.timer -= FrameStep;

    SmallTail(e, i, kBEnemyRules, -100, 700, -100, 600);
    SmallDrawRow(e, 0, 128);
    SpriteAnimeBoss1(&e.anim, &e.frame, &e.frames);
}

// ---------------------------------------------------------------------------
// BEnemy3 (robo): a walker that stops, sweeps a fan of darts down and back
// up, opens its hatch, fires five large bullets at the ship and walks off.
// It is drawn before its phase step and animates only while opening and
// closing.

static const SmallShotRules kBEnemy3Rules = {2000, 2000, 32, 32, false, false};

void BEnemy3Frame(SpriteData& e, int i) {
    SmallMove(e);
    e.timer -= FrameStep * 10;
    SmallDrawRow(e, 0, 200);
    switch (e.mode) {
    case 0:
        if (e.timer <= 0) {
            e.mode = 1;
            e.cnt = 270;
        }
        break;
    case 1:  // sweep down
        e.speed = 0;
        if (e.timer <= 0) {
            const float x = e.x + 28, y = e.y + 64, a = (float)e.cnt;
            if (Easy()) {
                SL2(x, y, a, 15, 0);
                e.cnt -= 30;
            } else if (Hard()) {
                SL2(x, y, a, 10, 0);
                SL2(x, y, a, 20, 0);
                SL2(x, y, a, 30, 0);
                e.cnt -= 5;
            } else {
                SL2(x, y, a, 20, 0);
                e.cnt -= 10;
            }
            DS_Play(Wave[6]);
            e.timer = 5;
        }
        if (e.cnt < 90) e.mode = 2;
        break;
    case 2:  // sweep up
        e.speed = 0;
        if (e.timer <= 0) {
            const float y = e.y + 64, a = (float)e.cnt;
            if (Easy()) {
                SL2(e.x + 28, y, a, 25, 0);
                e.cnt += 30;
            } else if (Hard()) {
                SL2(e.x + 28, y, a, 20, 0);
                SL2(e.x + 28, y, a, 30, 0);
                SL2(e.x + 28, y, a, 40, 0);
                e.cnt += 3;
            } else {
                SL2(e.x + 30, y, a, 30, 0);
                e.cnt += 10;
            }
            DS_Play(Wave[6]);
            e.timer = 5;
        }
        if (e.cnt >= 271) e.mode = 3;
        break;
    case 3:  // the hatch opens
        if (e.frame < 24) SpriteAnimeBoss1(&e.anim, &e.frame, &e.frames);
        if (e.frame >= 24) e.mode = 4;
        e.time = 0;
        break;
    case 4:
        if (e.timer <= 0) {
            const float gx = e.x + 50, gy = e.y + 35;
            const float aim = (float)(my_atan(gx, gy, ShipCenterX(), ShipCenterY()) * kRadToDeg);
            kou2(gx, gy, aim, 55, 95, 0);
            e.timer = 50;
            e.time += 1;
        }
        if (e.time >= 5) e.mode = 5;
        break;
    default:  // closes up and walks off, faster and faster
        if (e.frame != 0) {
            SpriteAnimeR(&e.anim, &e.frame, &e.frames);
            e.speed += 1;
        }
        break;
    }

    SmallTail(e, i, kBEnemy3Rules, -100, 700, -200, 600);
}

// ---------------------------------------------------------------------------

template <void (*Frame)(SpriteData&, int), size_t N>
static void Pass(SpriteData (&pool)[N]) {
    const int id = SpritePoolOf(pool);
    SpriteTrim(id);
    for (int i = 0; i < PoolEnd[id]; i++)
        if (pool[i].flag) Frame(pool[i], i);
}

void SmallEnemyPass() {
    Pass<EnemyFrame>(Enemy);
    Pass<Enemy2Frame>(Enemy2);
    Pass<Enemy3Frame>(Enemy3);
    Pass<Enemy4Frame>(Enemy4);
    Pass<Enemy5Frame>(Enemy5);
    Pass<Enemy6Frame>(Enemy6);
    Pass<Enemy7Frame>(Enemy7);
    Pass<Enemy8Frame>(Enemy8);
    Pass<Enemy9Frame>(Enemy9);
    Pass<Enemy10Frame>(Enemy10);
    Pass<Enemy11Frame>(Enemy11);
    Pass<HaroFrame>(HARO);
    Pass<BEnemyFrame>(BEnemy);
    BEnemy2Pass();
    Pass<BEnemy3Frame>(BEnemy3);
    BEnemy4Pass();
}

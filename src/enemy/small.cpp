// Small enemies: the common frame (removal, the player's shots, ramming
// the ship, drawing) and the first five pools' behaviours.
#include "enemy/small.h"

#include "enemy/bullets.h"
#include "enemy/effects.h"
#include "entity/heading.h"
#include "game/game.h"
#include "game/score.h"
#include "player/player.h"
#include "player/ship.h"
#include "player/shothit.h"
#include "render/render.h"
#include "core/core.h"
#include "sound/sound.h"

// ---------------------------------------------------------------------------
// Shared pieces.

void SmallMove(SpriteData& e) {
    e.x += FrameStep * e.dx * e.speed;
    e.y += FrameStep * e.dy * e.speed;
}

float AimRad(const SpriteData& e) { return my_atan(CentreX(e), CentreY(e), ShipCenterX(), ShipCenterY()); }

float AimDeg(const SpriteData& e) { return (float)(AimRad(e) * kRadToDeg); }

void HeadAtShip(SpriteData& e) {
    float rad = AimRad(e);
    e.angle = rad;
    SpriteHeadingRad(e, rad);
}

void HeadTo(SpriteData& e, float degrees) {
    float rad = HeadingRad(degrees);
    e.angle = rad;
    SpriteHeadingRad(e, rad);
}

void FireFromCentre(const SpriteData& e, float angle, float speed, int graphic) {
    kou(CentreX(e), CentreY(e), angle, speed, graphic, 0);
}

void FireAimed(const SpriteData& e, float speed, int graphic) { kou(CentreX(e), CentreY(e), 0, speed, graphic, 1); }

void TurretLastVolley(SpriteData& e) {
    for (int k = 0; k < 4; k++) {
        kou(CentreX(e), CentreY(e), e.angle + k, 10.0f, 91, 0);
        e.angle += 90;
    }
}

// One of the player's shots has hit: a point off the enemy, and on a kill
// its value and its explosion; the shot is used up either way.
static void SmallShotHit(SpriteData& e, SpriteData& shot, int kind, const SmallShotRules& r) {
    e.hp -= 1;
    if (e.hp <= 0) {
        dat.score += kind == SHOT_FAN ? r.killValueFan : r.killValue;
        SpriteRelease(e);
        if (r.lastVolley) TurretLastVolley(e);
        ExploHappen(CentreX(e), CentreY(e));
    }
    SpriteRelease(shot);
    dat.score += 1;
    ShotImpact(shot, kind);
}

static void SmallShotTests(SpriteData& e, int i, const SmallShotRules& r) {
    // Once the early grace has run out, the first two pools take only the
    // selected weapon's shots.
    const bool any = !r.weaponOnly || AllShotTime > 0;
    const bool spreadOn = any || Weapon == 0, fanOn = any || Weapon == 1, missileOn = any || Weapon == 2;
    const float L = e.x, R = e.x + e.w, T = e.y, B = e.y + e.h;
    for (int j = 0; j < ShotsEnd(); j++) {
        SpriteData& a = P_Shot[j];
        if (a.flag && e.flag && spreadOn && ShotOverlap(a, L, R, T, B, r.edgeMargin, r.edgeMargin, r.sideMargin, 0))
            SmallShotHit(e, a, SHOT_SPREAD, r);
        SpriteData& f = P_Shot2[j];
        if (f.flag && e.flag && fanOn && ShotOverlap(f, L, R, T, B, 0, 0, 0, 0)) SmallShotHit(e, f, SHOT_FAN, r);
        SpriteData& m = P_Shot3[j];
        if (m.flag && e.flag && missileOn && ShotOverlap(m, L, R, T, B, 0, 0, 0, 0))
            SmallShotHit(e, m, SHOT_MISSILE, r);
        shot4hit(i, j);
        shot5hit(i, j);
    }
}

// Ramming: the ship is lost and the enemy goes with it. The box is tested
// even when the enemy was shot down earlier in this frame: the ship flew
// into it all the same.
static void SmallShipTest(SpriteData& e) {
    if (!P_Ship.flag || P_Ship.time > 0) return;
    if (P_Ship.y + 60 < e.y + e.h && P_Ship.y + P_Ship.h - 60 > e.y && P_Ship.x + 64 < e.x + e.w &&
        P_Ship.x + P_Ship.w - 32 > e.x) {
        SpriteRelease(e);
        ShipLost();
    }
}

void SmallTail(SpriteData& e, int i, const SmallShotRules& rules, float left, float right, float top, float bottom) {
    if (e.x <= left || e.x >= right || e.y <= top || e.y >= bottom) SpriteRelease(e);
    SmallShotTests(e, i, rules);
    SmallShipTest(e);
}

void SmallDraw(const SpriteData& e, int left, int top, int right, int bottom) {
    if (!ScreenCoordOk(e.x) || !ScreenCoordOk(e.y) || e.bmp < 0 || e.bmp >= 200) return;
    DD_DrawBitmap((int)e.x, (int)e.y, Bitmap[e.bmp], left, top, right, bottom);
}

// The usual bounds: a box's width beyond either side, and from `above`
// over the top to `below` under it (each plus the box's height).
static void SmallTailScreen(SpriteData& e, int i, const SmallShotRules& rules, float above, float below) {
    SmallTail(e, i, rules, (float)-e.w, (float)(e.w + 640), -above - e.h, (float)e.h + below);
}

static bool Easy() { return OPTION.Difficulty == EASY; }
static bool Hard() { return OPTION.Difficulty == HARD; }

// ---------------------------------------------------------------------------
// Enemy (zako1): flies in, turns once up or down and away, firing as it
// turns if it is one of the stage's shooters; then accelerates.

static const SmallShotRules kEnemyRules = {100, 100, 0, 32, true, false};

void EnemyFrame(SpriteData& e, int i) {
    SmallMove(e);
    if (e.mode == 0 && e.opt == 0 && (e.x <= 360 || e.timer <= 0)) {
        e.mode = 1;
        if (e.opt2 >= StageNo) {
            if (Hard()) {
                FireFromCentre(e, 180, 35, 91);
                FireFromCentre(e, 200, 35, 91);
                FireFromCentre(e, 160, 35, 91);
                FireAimed(e, 25, 91);
                DS_Play(Wave[2]);
            } else if (!Easy()) {
                FireAimed(e, 25, 91);
                DS_Play(Wave[2]);
            }
            e.opt3 = 1;
        }
        e.timer = 65536;  // never again
        HeadTo(e, P_Ship.y < e.y ? 220 : 140);
    }
    if (e.mode == 0 && e.opt == 1 && (e.x >= 300 || e.timer <= 0)) {
        e.mode = 1;
        if (e.opt2 >= StageNo) {
            if (Hard()) {
                if (ShipCenterY() > CentreY(e)) {
                    FireFromCentre(e, 90, 25, 91);
                    FireFromCentre(e, 110, 25, 91);
                    FireFromCentre(e, 70, 25, 91);
                } else {
                    FireFromCentre(e, 270, 25, 91);
                    FireFromCentre(e, 290, 25, 91);
                    FireFromCentre(e, 250, 25, 91);
                }
                FireAimed(e, 15, 91);
                DS_Play(Wave[2]);
            } else if (!Easy()) {
                FireAimed(e, 15, 91);
            }
            e.opt3 = 1;
        }
        e.timer = 65536;
        HeadTo(e, P_Ship.y < e.y ? 320 : 40);
    }
    if (e.opt3 == 1) e.speed += FrameStep * 5;
    e.timer -= FrameStep;

    SmallTailScreen(e, i, kEnemyRules, 100, 500);
    // Column by entry side; before the turn the first row only.
    const int left = e.opt * 64;
    if (e.mode == 0) SmallDraw(e, left, 0, left + 64, 64);
    else SmallDrawRow(e, left, left + 64);
    SpriteAnimezako1(&e.anim, &e.frame, &e.frames);
}

// ---------------------------------------------------------------------------
// Enemy2 (zako2): rises or falls to its line, fires and dives at the ship;
// now and then it dives at once.

static const SmallShotRules kEnemy2Rules = {200, 200, 0, 32, true, false};

// The clump: n bullets one degree apart round 180.
static void Enemy2Clump(const SpriteData& e, int n) {
    for (int k = 0; k < n; k++) FireFromCentre(e, (float)(180 + FanOffset(k, 1)), 30, 93);
}

static void Enemy2Dive(SpriteData& e) {
    FireAimed(e, 15, 91);
    Enemy2Clump(e, 3);
    DS_Play(Wave[2]);
    e.timer = -1;
    HeadAtShip(e);
}

void Enemy2Frame(SpriteData& e, int i) {
    SmallMove(e);
    if (e.angle == 270 && e.timer >= e.y) {
        if (Easy()) {
            FireAimed(e, 15, 91);
        } else if (Hard()) {
            for (int sp = 15; sp <= 23; sp += 2) FireAimed(e, (float)sp, 91);
            Enemy2Clump(e, 5);
        } else {
            FireAimed(e, 15, 91);
            Enemy2Clump(e, 3);
        }
        DS_Play(Wave[2]);
        e.timer = -1;
        HeadAtShip(e);
    }
    if (e.angle == 90 && e.timer <= e.y) Enemy2Dive(e);
    if (my_rand(0, 1000) == 100) Enemy2Dive(e);

    SmallTailScreen(e, i, kEnemy2Rules, 100, 500);
    SmallDrawRow(e, 0, 64);
    SpriteAnimezako1(&e.anim, &e.frame, &e.frames);
}

// ---------------------------------------------------------------------------
// Enemy3 (zako3): brakes, fires a fan at the ship once it stops, then backs
// away from it ever faster.

static const SmallShotRules kEnemy3Rules = {300, 300, 0, 0, false, false};

void Enemy3Frame(SpriteData& e, int i) {
    SmallMove(e);
    e.speed -= FrameStep * 3;
    if (e.speed <= 0 && e.timer != 1) {
        const float aim = AimDeg(e);
        const int n = Easy() ? 3 : Hard() ? 11 : 5;
        const float speed = Hard() ? 25.0f : 15.0f;
        for (int k = 0; k < n; k++) FireFromCentre(e, aim + FanOffset(k, 4), speed, 93);
        DS_Play(Wave[2]);
        e.timer = 1;
        HeadAtShip(e);
    }

    SmallTailScreen(e, i, kEnemy3Rules, 100, 500);
    SmallDrawRow(e, 0, 64);
    SpriteAnimezako1(&e.anim, &e.frame, &e.frames);
}

// ---------------------------------------------------------------------------
// Enemy4 (zako4) and Enemy5 (zako5): laser gunships. They fire when they
// reach the middle of the screen and then every 200; the first volley
// turns them towards the ship.

static const SmallShotRules kEnemy4Rules = {400, 400, 0, 32, false, false};
static const SmallShotRules kEnemy5Rules = {500, 500, 0, 32, false, false};

static bool GunshipFires(SpriteData& e) {
    if (!((e.x <= 360 && e.mode == 0) || e.timer <= 0)) return false;
    DS_Play(Wave[6]);
    e.timer = 200;
    if (e.mode == 0) HeadAtShip(e);
    e.mode += 1;
    return true;
}

// A laser from the gun at (x + dx, centre y + dy).
static void Gun(const SpriteData& e, float dx, float dy, float angle, float speed) {
    SL(e.x + dx, CentreY(e) + dy, angle, speed);
}

// A spray of darts from (x, y): angles 180 + lo..hi, speeds from smin
// (speed drawn first).
static void DartSpray(float x, float y, int n, int lo, int hi, int smin, int smax) {
    for (int k = 0; k < n; k++) {
        int speed = my_rand(smin, smax);
        int angle = 180 + my_rand(lo, hi);
        SL2(x, y, (float)angle, (float)speed, 0);
    }
}

void Enemy4Frame(SpriteData& e, int i) {
    SmallMove(e);
    if (GunshipFires(e)) {
        if (Easy()) {
            Gun(e, 0, 0, 180, 25);
            Gun(e, 0, 5, 185, 20);
            Gun(e, 0, -5, 175, 20);
        } else if (Hard()) {
            DartSpray(e.x, CentreY(e) - 10, 30, -30, 30, 20, 40);
            Gun(e, 0, 0, 180, 25);
            Gun(e, 0, 10, 170, 27);
            Gun(e, 0, -10, 190, 27);
            Gun(e, 0, 20, 200, 29);
            Gun(e, 0, -20, 160, 29);
        } else {
            Gun(e, 0, 0, 180, 20);
            Gun(e, 0, 10, 170, 22);
            Gun(e, 0, -10, 190, 22);
            Gun(e, 0, 20, 200, 24);
            Gun(e, 0, -20, 160, 24);
        }
    }
    e.timer -= FrameStep;

    SmallTailScreen(e, i, kEnemy4Rules, 100, 500);
    SmallDrawRow(e, 0, 128);
    SpriteAnimezako1(&e.anim, &e.frame, &e.frames);
}

// Enemy5's arrow of lasers, all at 180: the tip and two pairs behind it.
static void Arrow(const SpriteData& e, float speed) {
    Gun(e, 0, 0, 180, speed);
    Gun(e, 10, 10, 180, speed + 2);
    Gun(e, 10, -10, 180, speed + 2);
    Gun(e, 20, 20, 180, speed + 4);
    Gun(e, 20, -20, 180, speed + 4);
}

void Enemy5Frame(SpriteData& e, int i) {
    SmallMove(e);
    if (GunshipFires(e)) {
        if (Easy()) {
            Gun(e, 0, 0, 180, 15);
            Gun(e, 10, 10, 180, 17);
            Gun(e, 10, -10, 180, 17);
        } else if (Hard()) {
            Arrow(e, 25);
            Arrow(e, 35);
            for (int k = 0; k < 20; k++) {
                int speed = my_rand(k, 30);
                int angle = 180 + my_rand(-5, 5);
                SL2(e.x, CentreY(e), (float)angle, (float)speed, 0);
            }
        } else {
            Arrow(e, 20);
        }
    }
    e.timer -= FrameStep;

    SmallTailScreen(e, i, kEnemy5Rules, 100, 480);
    SmallDrawRow(e, 0, 128);
    SpriteAnimezako1(&e.anim, &e.frame, &e.frames);
}

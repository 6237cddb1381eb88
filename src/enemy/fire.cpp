// The enemy fire update, once per game frame after the enemies, bosses,
// player and items: beams, large bullets, lasers, small bullets, laser
// darts and sparks are moved, removed when they leave the screen or are
// cancelled, drawn, and tested against the ship, the shield and the bomb
// missiles. Some small bullets can be shot down, and some burst into darts.
#include <cmath>

#include "enemy/bullets.h"
#include "enemy/effects.h"
#include "entity/heading.h"
#include "game/frame.h"
#include "game/game.h"
#include "game/score.h"
#include "player/items.h"
#include "player/player.h"
#include "player/ship.h"
#include "player/shothit.h"
#include "render/render.h"
#include "core/core.h"
#include "sound/sound.h"

// ---------------------------------------------------------------------------
// Shared tests.

// How far the ship's box (sy top and bottom, sx left and right) and the
// projectile's box (top, bottom, right, left) are shrunk for the ship test.
struct ShipMargins {
    float sy, sx;
    float top, bottom, right, left;
};
static const ShipMargins kTamaShip = {36, 36, 0, 0, 0, 0};
static const ShipMargins kBakaShip = {36, 36, 10, 10, 10, 10};
static const ShipMargins kLaserShip = {32, 32, 2, 2, 10, 0};
static const ShipMargins kDartShip = {32, 32, 14, 14, 14, 14};
static const ShipMargins kBeamShip = {32, 32, 30, 50, 5, 3};

static bool TouchesShip(const SpriteData& p, const ShipMargins& m) {
    if (!P_Ship.flag || P_Ship.time > 0) return false;
    return P_Ship.y + m.sy < p.y + p.h - m.bottom && P_Ship.y + P_Ship.h - m.sy > p.y + m.top &&
           P_Ship.x + m.sx < p.x + p.w - m.right && P_Ship.x + P_Ship.w - m.sx > p.x + m.left;
}

// Where the live records of a pool are: past `end` every slot is free,
// and every live box lies inside left..right x top..bottom (the right
// edge taken `reach` further). A test that misses that box misses every
// record, so it looks no further; one that meets it walks the slots as
// usual. Bomb missiles, shields and shots cannot appear while the fire is
// updated; blasts can (a missile that shoots a bullet down bursts), and
// then they are gathered again. Released shots only make the box looser.
struct Reach {
    int end;
    float left, right, top, bottom;
};

static Reach Gather(const SpriteData* pool, int count, float reach) {
    Reach r = {0, 0, 0, 0, 0};
    const int id = SpritePoolOf(pool);
    if (id >= 0 && PoolEnd[id] < count) count = PoolEnd[id];
    for (int j = 0; j < count; j++) {
        const SpriteData& s = pool[j];
        if (!s.flag) continue;
        const float right = s.x + s.w - reach, bottom = s.y + s.h;
        if (r.end == 0 || s.x < r.left) r.left = s.x;
        if (r.end == 0 || right > r.right) r.right = right;
        if (r.end == 0 || s.y < r.top) r.top = s.y;
        if (r.end == 0 || bottom > r.bottom) r.bottom = bottom;
        r.end = j + 1;
    }
    return r;
}

// Does the box L..R x T..B meet the gathered box (strictly)?
static bool Meets(const Reach& r, float L, float R, float T, float B) {
    return r.end > 0 && L < r.right && R > r.left && T < r.bottom && B > r.top;
}

static Reach sBombs, sShields, sBlasts, sShots;
// The selected weapon's shots, which alone can shoot bullets down, how
// far right they reach past their box, and their kind.
static SpriteData* sShotPool;
static float sShotReach;
static int sShotKind;

static void FindShotsAndShields() {
    sBombs = Gather(P_Shot5, P_SHOT_MAX, 0);
    sShields = Gather(Shield, SHIELD_MAX, 0);
    sBlasts = Gather(P_Shot4, P_SHOT_MAX, 0);
    sShotPool = Weapon == 0 ? P_Shot : Weapon == 1 ? P_Shot2 : Weapon == 2 ? P_Shot3 : nullptr;
    sShotReach = Weapon == 1 ? -10.0f : 0.0f;  // a fan shot's right edge reaches 10 further
    sShotKind = Weapon == 1 ? SHOT_FAN : Weapon == 2 ? SHOT_MISSILE : SHOT_SPREAD;
    sShots = sShotPool ? Gather(sShotPool, P_SHOT_MAX, sShotReach) : Reach{0, 0, 0, 0, 0};
}

// Does the projectile, shrunk by 10 on every side, overlap `s`?
static bool Smothered(float L, float R, float T, float B, const SpriteData& s) {
    return s.flag && L < s.x + s.w && R > s.x && T < s.y + s.h && B > s.y;
}

// A bomb missile or the shield takes the projectile away (no score).
static void ShieldAndBombRemoval(SpriteData& p) {
    if (!p.flag) return;
    const float L = p.x + 10, R = p.x + p.w - 10, T = p.y + 10, B = p.y + p.h - 10;
    if (Meets(sBombs, L, R, T, B)) {
        for (int j = 0; j < sBombs.end; j++) {
            if (Smothered(L, R, T, B, P_Shot5[j])) {
                SpriteRelease(p);
                return;
            }
        }
    }
    for (int k = 0; k < sShields.end; k++) {
        if (Smothered(L, R, T, B, Shield[k])) {
            SpriteRelease(p);
            return;
        }
    }
}

// The ship test of a bullet or laser: the ship is lost with the usual
// explosion and the projectile goes; then the shield and bomb missiles.
static void HitsAndShields(SpriteData& p, const ShipMargins& m) {
    if (TouchesShip(p, m)) {
        SpriteRelease(p);
        ShipLost();
    }
    ShieldAndBombRemoval(p);
}

// A bomb's pulse turns every bullet and laser into a jewel. True when the
// projectile went.
static bool Cancelled(SpriteData& p) {
    if (BombPulse != 1) return false;
    Jewel(p.x, p.y, 180, 20.0f, 0);
    SpriteRelease(p);
    return true;
}

static void Move(SpriteData& p) {
    p.x += p.dx * p.speed * FrameStep;
    p.y += p.dy * p.speed * FrameStep;
}

static void Draw(const SpriteData& p, int left, int top, int right, int bottom) {
    if (!ScreenCoordOk(p.x) || !ScreenCoordOk(p.y) || p.bmp < 0 || p.bmp >= 200) return;
    DD_DrawBitmap((int)p.x, (int)p.y, Bitmap[p.bmp], left, top, right, bottom);
}

static void DrawRow(const SpriteData& p) { Draw(p, 0, p.frame * p.h, p.w, (p.frame + 1) * p.h); }

static bool Easy() { return OPTION.Difficulty == EASY; }
static bool Hard() { return OPTION.Difficulty == HARD; }

// ---------------------------------------------------------------------------
// Small bullets.

// The whole degrees of a heading, remainder 360 (a value far beyond a few
// turns is brought back first, so the conversion never overflows).
static int WholeAngle(float a) {
    if (std::isnan(a)) return 0;
    if (std::fabs(a) >= 1.0e9f) a = std::fmod(a, 360.0f);
    return (int)a % 360;
}

// Braking bullets: slow to a stop, turn to `turnTo` and speed up again.
static void Brake(SpriteData& t, float turnTo, float speedUp) {
    if (t.opt2 == 0) {
        t.speed -= 2 * FrameStep;
        if (t.speed < 0) {
            t.opt2 = 1;
            t.angle = turnTo;
        }
    }
    if (t.opt2 == 1) t.speed += speedUp * FrameStep;
}

// Why a bullet can be shot down, which decides its burst and explosion.
enum { DOWN_MODE5, DOWN_MODE6, DOWN_MODE9, DOWN_SPECIAL };

// Four darts from the bullet's corner round its heading, starting a
// quarter back.
static void CrossBurst(const SpriteData& t, float a, float s1, float s2) {
    const float x = t.x - 4, y = t.y - 8;
    SL2(x, y, a + 270, s1, 0);
    SL2(x, y, a, s1, 0);
    SL2(x, y, a + 90, s2, 0);
    SL2(x, y, a + 180, s2, 0);
}

static bool Touches(const SpriteData& shot, const SpriteData& t, float r) {
    return ShotOverlap(shot, t.x, t.x + t.w, t.y, t.y + t.h, 0, 0, 0, r);
}

// The shots of the selected weapon (and, with missiles, for the shootable
// modes a blast too) against one bullet, slot by slot. True when it was
// shot down.
static bool ShootDown(SpriteData& t, int why) {
    const float L = t.x, R = t.x + t.w, T = t.y, B = t.y + t.h;
    const bool shots = Meets(sShots, L, R, T, B);
    const bool blasts = Weapon == 2 && why != DOWN_SPECIAL && Meets(sBlasts, L, R, T, B);
    const int end = shots ? sShots.end : 0;
    for (int j = 0; j < end || (blasts && j < sBlasts.end); j++) {
        SpriteData* shot = nullptr;
        if (j < end && sShotPool[j].flag && Touches(sShotPool[j], t, sShotReach)) shot = &sShotPool[j];
        const bool blast = !shot && blasts && P_Shot4[j].flag && Touches(P_Shot4[j], t, 0);
        if (!shot && !blast) continue;

        dat.score += 10;
        SpriteRelease(t);
        if (shot) SpriteRelease(*shot);  // a blast stays
        dat.score += 1;
        if (shot) {
            ShotImpact(*shot, sShotKind);
            if (sShotKind == SHOT_MISSILE) sBlasts = Gather(P_Shot4, P_SHOT_MAX, 0);
        }
        const float cx = t.x + t.w / 2, cy = t.y + t.h / 2;
        if (why == DOWN_MODE5) {
            ExploHappen(cx, cy);
        } else {
            if (why == DOWN_MODE9 && !Easy()) CrossBurst(t, t.angle, Hard() ? 30.0f : 20.0f, Hard() ? 30.0f : 20.0f);
            if (why == DOWN_SPECIAL) CrossBurst(t, (float)WholeAngle(t.angle), 40, 30);
            ExploHappen5(cx, cy);
        }
        return true;
    }
    return false;
}

// A braking mine has come to rest: it bursts into darts and goes.
static void MineBurst(SpriteData& t) {
    const float x = t.x - 4, y = t.y - 8, a = t.angle;
    if (Hard()) {
        static const int kTurns[8] = {0, 180, 90, 270, 45, 135, 225, 315};
        for (int d : kTurns) SL2(x, y, a + d, 25, 0);
    } else if (!Easy()) {
        SL2(x, y, a, 20, 0);
        SL2(x, y, a + 180, 20, 0);
    }
    SpriteRelease(t);
}

static void BulletFrame(SpriteData& t) {
    if (t.mode != 1) t.rad = HeadingRad(t.angle);  // an aimed bullet keeps its aim
    t.dx = (float)std::cos((double)t.rad);
    t.dy = (float)std::sin((double)t.rad);
    Move(t);

    switch (t.mode) {
    case 2: Brake(t, 180, 2); break;
    case 3:
        t.speed += 0.5 * FrameStep;
        t.angle += 3 * FrameStep;
        break;
    case 4:  // spins for a while
        if (t.fw[1] <= 25) {
            t.speed += 0.05 * FrameStep;
            t.angle += t.time;
        }
        t.fw[1] += 2 * FrameStep;
        break;
    case 5:
        if (ShootDown(t, DOWN_MODE5)) return;
        t.speed -= FrameStep;
        if (t.speed <= 1) {
            MineBurst(t);
            return;
        }
        break;
    case 6:
        if (ShootDown(t, DOWN_MODE6)) return;
        break;
    case 7: Brake(t, (float)BulletTurnAngle, 2); break;
    case 8: Brake(t, (float)BulletTurnAngle, 1); break;
    case 9:
        if (ShootDown(t, DOWN_MODE9)) return;
        break;
    default: break;
    }
    // On SPECIAL every bullet can be shot down.
    if (OPTION.Difficulty == SPECIAL && ShootDown(t, DOWN_SPECIAL)) return;

    if (t.y >= 480 || t.y <= -10 || t.x <= -10 || t.x >= 680) {
        SpriteRelease(t);
        return;
    }
    if (Cancelled(t)) return;
    DrawRow(t);
    SpriteAnime(&t.anim, &t.frame, &t.frames);
    HitsAndShields(t, kTamaShip);
}

// ---------------------------------------------------------------------------
// Large bullets: mode 1 sprays small bullets, mode 3 spins out darts.

static void BigBulletFrame(SpriteData& b) {
    Move(b);
    if (b.mode == 1 && b.timer < 0) {
        b.cnt = my_rand(0, 360);
        for (int k = 0; k < 5; k++) kou(b.x + 20, b.y + 20, (float)(b.cnt + k), 10, 91, 0);
        DS_Play(Wave[2]);
        b.timer = (float)my_rand(1, 10);
    }
    if (b.mode == 3 && b.timer < 0) {
        const float a = 6 * b.iw[2] + b.angle;
        SL2(b.x + 20, b.y + 20, a, 20, 0);
        SL2(b.x + 20, b.y + 20, a + 180, 20, 0);
        b.iw[2] += 1;
        DS_Play(Wave[6]);
        if (b.iw[2] >= 121) {
            kou2(b.x, b.y, (float)my_rand(0, 360), 20, 95, 3);
            b.iw[2] = 0;
        }
        b.timer = 0.5f;
    }
    b.timer -= FrameStep;

    if (b.y >= 480 || b.y <= -64 || b.x <= -64 || b.x >= 640) {
        SpriteRelease(b);
        return;
    }
    if (Cancelled(b)) return;
    Draw(b, 0, 64, b.w, 128);  // the second row of the sheet
    SpriteAnime(&b.anim, &b.frame, &b.frames);
    if (TouchesShip(b, kBakaShip)) {
        SpriteRelease(b);
        P_Ship.flag = false;
        ExploHappen(ShipCenterX(), ShipCenterY());
    }
    ShieldAndBombRemoval(b);
}

// ---------------------------------------------------------------------------
// Lasers and darts. Horizontal ones never drift up or down.

static void LaserMove(SpriteData& l) {
    l.x += l.dx * l.speed * FrameStep;
    if (l.angle != 0 && l.angle != 180) l.y += l.dy * l.speed * FrameStep;
}

static bool LaserGone(SpriteData& l) {
    if (l.y >= 480 || l.y <= -10 || l.x + 65 <= -10 || l.x >= 640) {
        SpriteRelease(l);
        return true;
    }
    return Cancelled(l);
}

static void LaserFrame(SpriteData& l) {
    LaserMove(l);
    l.speed += 0.005;  // per frame
    if (LaserGone(l)) return;
    Draw(l, 0, 0, 64, 5);
    if (l.angle == 0) Draw(l, 0, 6, 64, 11);  // the right-going glint
    SpriteAnime(&l.anim, &l.frame, &l.frames);
    HitsAndShields(l, kLaserShip);
}

static void DartFrame(SpriteData& d) {
    LaserMove(d);
    if (LaserGone(d)) return;
    const int left = 32 * d.mode;
    if (d.opt2 == 1) Draw(d, left, 33, left + 32, 64);
    else Draw(d, left, 0, left + 32, 32);
    SpriteAnime(&d.anim, &d.frame, &d.frames);
    HitsAndShields(d, kDartShip);
}

// ---------------------------------------------------------------------------
// The beam: lives `speed` time units, or until a bomb; it is drawn and
// still burns in its last frame, and it is never used up.

static void BeamFrame(SpriteData& b) {
    if (b.speed <= 0 || BombPulse == 1) SpriteRelease(b);
    b.speed -= FrameStep;
    Draw(b, 0, b.frame * b.h, 640, (b.frame + 1) * b.h);
    SpriteshotAnime(&b.anim, &b.frame, &b.frames);
    if (TouchesShip(b, kBeamShip)) ShipLost();
}

// ---------------------------------------------------------------------------
// Sparks: fly out, turn back and vanish. Harmless, and a bomb leaves them.

static void SparkFrame(SpriteData& f) {
    Move(f);
    f.speed += 1;  // per frame
    f.time -= FrameStep;
    if (f.time <= 0) {
        if (f.fw[1] == 1) {
            f.fw[1] = 3;
            f.time = 2.5f;
            f.dx = -f.dx;
            f.dy = -f.dy;
        } else if (f.fw[1] == 3) {
            SpriteRelease(f);
            return;
        }
    }
    if (f.fw[1] == 3) {
        f.loop = 1;
        f.frames = 8;
    }
    DrawRow(f);
    SpriteNewAnime(&f.anim, &f.frame, &f.frames, &f.loop);
}

// Every live slot of a pool in index order, up to its mark (read again
// after each visit: a burst claims darts above the one being moved, and
// they move in this same pass).
static void FireWalk(int id, void (*frame)(SpriteData&)) {
    SpriteData* pool = Pools[id].pool;
    SpriteTrim(id);
    for (int i = 0; i < PoolEnd[id]; i++)
        if (pool[i].flag) frame(pool[i]);
}

void EnemyFirePass() {
    FindShotsAndShields();
    FireWalk(POOL_BLaser, BeamFrame);
    FireWalk(POOL_Baka, BigBulletFrame);
    FireWalk(POOL_sLaser, LaserFrame);
    FireWalk(POOL_tama, BulletFrame);
    FireWalk(POOL_sLaser2, DartFrame);
    FireWalk(POOL_flash, SparkFrame);
}

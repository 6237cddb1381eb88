// What the player's shots hit: spread shots, fan shots and missiles
// against the mid-size enemies and the bosses (the shot pass), and blasts
// and bomb missiles against every target (shot4hit, shot5hit). The small
// enemies test the other shots themselves, with the same overlap rule.
#include "player/shothit.h"

#include "enemy/bullets.h"
#include "enemy/effects.h"
#include "game/game.h"
#include "game/score.h"
#include "player/items.h"
#include "player/player.h"
#include "player/weapons.h"
#include "core/core.h"
#include "sound/sound.h"

void ShotImpact(const SpriteData& shot, int kind) {
    if (kind == SHOT_MISSILE) shot4(shot.x - 40, shot.y - 40, 0);
    else pom(shot.x + shot.w / 2, shot.y + shot.h / 2);
}

// ---------------------------------------------------------------------------
// Mid-size enemies, in the order every test visits them.

enum {
    MID_CHUUGATA, MID_CHUUGATA2, MID_CHUUGATA8, MID_CHUUGATA4,
    MID_CHUUGATA5, MID_CHUUGATA6, MID_CHUUGATA7, MID_CHUUGATA9, MID_POOLS
};
static SpriteData* const kMidPools[MID_POOLS] = {chuugata,  chuugata2, chuugata8, chuugata4,
                                                 chuugata5, chuugata6, chuugata7, chuugata9};

// Does a shot (top, bottom and left margins 0, right margin r) hit the
// hull of mid-size enemy e? The two-part hulls count one hit at most.
static bool MidBoxHit(const SpriteData& s, const SpriteData& e, int id, float r) {
    const float x = e.x, y = e.y, w = (float)e.w, h = (float)e.h;
    switch (id) {
    case MID_CHUUGATA: return ShotOverlap(s, x + 50, x + w, y + 50, y + h - 20, 0, 0, 0, r);
    case MID_CHUUGATA2: return ShotOverlap(s, x + 50, x + w, y, y + h, 0, 0, 0, r);
    case MID_CHUUGATA8:
        return ShotOverlap(s, x + 100, x + w, y + 150, y + h, 0, 0, 0, r) ||
               ShotOverlap(s, x + 275, x + w - 50, y + 60, y + h, 0, 0, 0, r);
    case MID_CHUUGATA4: return ShotOverlap(s, x + 20, x + w, y + 20, y + h - 20, 0, 0, 0, r);
    case MID_CHUUGATA5: return ShotOverlap(s, x + 65, x + w - 65, y + 66, y + h - 66, 0, 0, 0, r);
    case MID_CHUUGATA6: return ShotOverlap(s, x + 100, x + w - 110, y + 50, y + h - 60, 0, 0, 0, r);
    case MID_CHUUGATA7:
        return ShotOverlap(s, x + 144, x + w - 100, y + 65, y + h - 90, 0, 0, 0, r) ||
               ShotOverlap(s, x + 240, x + w - 140, y + 45, y + h - 15, 0, 0, 0, r);
    case MID_CHUUGATA9: return ShotOverlap(s, x + 50, x + w - 50, y + 50, y + h - 40, 0, 0, 0, r);
    }
    return false;
}

// A kill: the kill value, and the fields that start the enemy's death.
// `kind` is the shot kind, or -1 for a blast or bomb missile.
static void MidKill(SpriteData& e, int id, int kind) {
    switch (id) {
    case MID_CHUUGATA:
        dat.score += 10000;
        e.mode = 2;
        e.num = 100;
        break;
    case MID_CHUUGATA2:
        dat.score += 5000;
        e.mode = kind == SHOT_FAN ? 1 : 2;
        e.num = 50;
        break;
    case MID_CHUUGATA8:
        dat.score += 50000;
        e.mode = 2;
        e.step = 0;
        e.num = 0;
        break;
    case MID_CHUUGATA4:
        dat.score += 50000;
        e.mode = 2;
        e.num = 100;
        break;
    case MID_CHUUGATA5:
        dat.score += 10000;
        e.mode = 9;
        e.num = 1200;
        break;
    case MID_CHUUGATA6:
    case MID_CHUUGATA7:
    case MID_CHUUGATA9:
        dat.score += (id == MID_CHUUGATA6 && kind == SHOT_FAN) ? 10000 : 100000;
        e.mode = 10;
        e.num = 500;
        e.step = 0;
        break;
    }
}

// ---------------------------------------------------------------------------
// The shot pass.

static void MidShotHit(SpriteData& shot, int kind, SpriteData& e, int id) {
    e.hp -= 1;
    SpriteRelease(shot);
    ShotImpact(shot, kind);
    dat.score += 2;
    if (e.hp <= 0) MidKill(e, id, kind);
}

// One hit on a boss box. The hit flash restarts only once it has run out.
static void BossShotHit(SpriteData& shot, int kind, SpriteData& e) {
    e.hp -= 1;
    SpriteRelease(shot);
    ShotImpact(shot, kind);
    dat.score += 10;
    if (e.fw[9] < 0) e.fw[9] = 1.8f;
}

// The whole box with the same margin on every side.
static bool WholeBox(const SpriteData& s, const SpriteData& e, float t, float b, float l, float r) {
    return ShotOverlap(s, e.x, e.x + e.w, e.y, e.y + e.h, t, b, l, r);
}

// The inner box of the last bosses: 10 in from the sides, 3 from top and
// bottom.
static bool InnerBox(const SpriteData& s, const SpriteData& e, float t, float b, float l, float r) {
    return ShotOverlap(s, e.x + 10, e.x + e.w - 10, e.y + 3, e.y + e.h - 3, t, b, l, r);
}

// The second boss's hull: four boxes, one hit at most.
static bool Boss2Hull(const SpriteData& s, const SpriteData& e) {
    const float x = e.x, y = e.y, w = (float)e.w, h = (float)e.h;
    return ShotOverlap(s, x + 80, x + w - 50, y + 200, y + h - 30, 15, 15, 0, 15) ||
           ShotOverlap(s, x + 100, x + w - 120, y + 150, y + h - 100, 15, 15, 0, 15) ||
           ShotOverlap(s, x + 120, x + w - 150, y + 90, y + h - 180, 15, 15, 0, 15) ||
           ShotOverlap(s, x + 250, x + w - 120, y + 90, y + h - 80, 15, 15, 0, 15);
}

// The third boss: a large box, two thin arms and three columns, each
// counting on its own. `thin` is the top and bottom margin of the arms.
// Returns a bit per box hit (large box first).
static int Boss3Boxes(const SpriteData& s, const SpriteData& e, float thin) {
    const float x = e.x, y = e.y, w = (float)e.w, h = (float)e.h;
    int hits = 0;
    if (ShotOverlap(s, x + 128, x + w, y + 100, y + h - 100, 32, 32, 32, 32)) hits |= 1;
    if (ShotOverlap(s, x + 15, x + 140, y + 180, y + 185, thin, thin, 0, 0)) hits |= 2;
    if (ShotOverlap(s, x + 15, x + 140, y + 215, y + 220, thin, thin, 0, 0)) hits |= 4;
    if (ShotOverlap(s, x + 120, x + 150, y + 65, y + 335, 0, 0, 0, 0)) hits |= 8;
    if (ShotOverlap(s, x + 195, x + 215, y + 50, y + 350, 0, 0, 0, 0)) hits |= 16;
    if (ShotOverlap(s, x + 270, x + 300, y + 75, y + 325, 0, 0, 0, 0)) hits |= 32;
    return hits;
}

static void BossShot(SpriteData& s, int kind, SpriteData& e, SpriteData* pool) {
    if (pool == BOSS1 || pool == BOSS4) {
        bool hit = pool == BOSS1 ? WholeBox(s, e, 32, 32, 32, 32)
                                 : ShotOverlap(s, e.x + 158, e.x + e.w - 70, e.y + 30, e.y + e.h - 30, 32, 32, 32, 32);
        if (hit) BossShotHit(s, kind, e);
    } else if (pool == BOSS2) {
        if (Boss2Hull(s, e)) BossShotHit(s, kind, e);
    } else if (pool == BOSS3) {
        int hits = Boss3Boxes(s, e, kind == SHOT_SPREAD ? 15.0f : 5.0f);
        for (int b = 0; b < 6; b++)
            if (hits & (1 << b)) BossShotHit(s, kind, e);
    } else if (pool == BOSS5) {
        if (kind == SHOT_SPREAD) {
            if (ShotOverlap(s, e.x + 15, e.x + e.w - 10, e.y + 30, e.y + e.h - 30, 0, 0, 32, 0)) BossShotHit(s, kind, e);
            if (WholeBox(s, e, 32, 32, 32, 32)) BossShotHit(s, kind, e);
        } else if (kind == SHOT_FAN) {
            if (InnerBox(s, e, 5, 5, 0, 0)) BossShotHit(s, kind, e);
            if (WholeBox(s, e, 5, 5, 0, 0)) BossShotHit(s, kind, e);
        } else {
            if (InnerBox(s, e, 5, 5, 0, 0)) BossShotHit(s, kind, e);
        }
    } else {  // LBOSS
        bool hit = kind == SHOT_SPREAD ? WholeBox(s, e, 32, 32, 32, 32)
                 : kind == SHOT_FAN    ? WholeBox(s, e, 5, 5, 0, 0)
                                       : InnerBox(s, e, 5, 5, 0, 0);
        if (hit) BossShotHit(s, kind, e);
    }
}

static SpriteData* const kBossPools[6] = {BOSS1, BOSS2, BOSS3, BOSS4, BOSS5, LBOSS};

// One past the highest slot any mid-size enemy or boss can be in.
static int MidAndBossEnd() {
    const int mids = SpriteEndOf(POOL_chuugata, POOL_chuugata2, POOL_chuugata8, POOL_chuugata4, POOL_chuugata5);
    const int more = SpriteEndOf(POOL_chuugata6, POOL_chuugata7, POOL_chuugata9, POOL_BOSS1, POOL_BOSS2);
    const int bosses = SpriteEndOf(POOL_BOSS3, POOL_BOSS4, POOL_BOSS5, POOL_LBOSS);
    return mids > more ? (mids > bosses ? mids : bosses) : (more > bosses ? more : bosses);
}

void ShotHitMidAndBoss(SpriteData& shot, int kind) {
    for (int k = 0; k < CHUUGATA_MAX && k < MidAndBossEnd(); k++) {
        for (int id = 0; id < MID_POOLS; id++) {
            SpriteData& e = kMidPools[id][k];
            if (!e.flag || e.hp < 0) continue;  // absent, or already dying
            // Spread shots and missiles reach 10 further right; fan shots
            // only on the two widest hulls.
            float r = (kind != SHOT_FAN || id == MID_CHUUGATA8 || id == MID_CHUUGATA9) ? -10.0f : 0.0f;
            if (MidBoxHit(shot, e, id, r)) MidShotHit(shot, kind, e, id);
        }
        for (SpriteData* pool : kBossPools)
            if (pool[k].flag) BossShot(shot, kind, pool[k], pool);
    }
}

// ---------------------------------------------------------------------------
// Blasts and bomb missiles: damage over time, the shot stays.

// Damage per FrameStep: a boosted shot adds `boost`, every shot `base`.
static void BlastDamage(SpriteData& e, const SpriteData& s, double boost, double base) {
    if (s.opt2 != 0) e.hp -= boost * FrameStep;
    e.hp -= base * FrameStep;
}

static void ExplodeAtCentre(SpriteData& e) { ExploHappen(e.x + e.w / 2, e.y + e.h / 2); }

// A small enemy's standard end.
static void SmallDies(SpriteData& e) {
    SpriteRelease(e);
    ExplodeAtCentre(e);
}

// A small enemy under a blast, with the box L..R x T..B and side margins
// lr (top and bottom 32). On a kill the value is paid and `die` runs;
// every overlapping call adds 1.
template <typename Die>
static void SmallBlast(const SpriteData& s, SpriteData& e, float L, float R, float T, float B, float lr, int value,
                       Die die) {
    if (!ShotOverlap(s, L, R, T, B, 32, 32, lr, lr)) return;
    BlastDamage(e, s, 5, 0.15);
    if (e.hp <= 0) {
        dat.score += value;
        die(e);
    }
    dat.score += 1;
}

static void SmallBlastWhole(const SpriteData& s, SpriteData& e, float lr, int value) {
    SmallBlast(s, e, e.x, e.x + e.w, e.y, e.y + e.h, lr, value, SmallDies);
}

// The turrets' last volley: four bullets round the compass from the
// centre, the heading turning a quarter after each.
static void TurretDies(SpriteData& e) {
    for (int k = 0; k < 4; k++) {
        kou(e.x + e.w / 2, e.y + e.h / 2, e.angle + k, 10.0f, 91, 0);
        e.angle += 90;
    }
    SmallDies(e);
}

void BitDies(SpriteData& e) {
    BombPulse = 1;
    SpriteRelease(e);
    const float cx = e.x + e.w / 2, cy = e.y + e.h / 2;
    for (int k = 0; k <= 7; k++)
        for (int n = 0; n < 8; n++) renbaku2(cx - 10, e.y + 100, my_rand(0, 360), k, 60);
    DS_Play(Wave[15]);
    Pitem(cx, cy, 180, 10.0f, 0);
    ExploHappen(cx, cy);
}

// One boss box under a blast.
static void BossBlast(const SpriteData& s, SpriteData& e, double boost, double base) {
    BlastDamage(e, s, boost, base);
    dat.score += 1;
    if (e.fw[9] < 0) e.fw[9] = 1.8f;
}

static void BossesBlast(const SpriteData& s, int i, bool bomb) {
    SpriteData& b1 = BOSS1[i];
    if (b1.flag && b1.hp >= 0 && WholeBox(s, b1, 32, 32, 32, 32)) BossBlast(s, b1, 5, 0.15);
    SpriteData& b2 = BOSS2[i];
    if (b2.flag && b2.hp >= 0 && Boss2Hull(s, b2)) BossBlast(s, b2, 5, 0.15);
    SpriteData& b3 = BOSS3[i];
    if (b3.flag) {
        // A blast wears the thin parts down slower than a bomb missile.
        const double boost = bomb ? 5 : 1, base = bomb ? 0.15 : 0.05;
        const float x = b3.x, y = b3.y, w = (float)b3.w, h = (float)b3.h;
        if (b3.hp >= 0 && ShotOverlap(s, x + 128, x + w, y + 100, y + h - 100, 32, 32, 32, 32)) BossBlast(s, b3, 5, 0.15);
        if (b3.hp >= 0 && ShotOverlap(s, x + 15, x + 140, y + 180, y + 185, 5, 5, 0, 0)) BossBlast(s, b3, boost, base);
        if (b3.hp >= 0 && ShotOverlap(s, x + 15, x + 140, y + 215, y + 220, 5, 5, 0, 0)) BossBlast(s, b3, boost, base);
        if (b3.hp >= 0 && ShotOverlap(s, x + 120, x + 150, y + 65, y + 335, 0, 0, 0, 0)) BossBlast(s, b3, boost, base);
        if (b3.hp >= 0 && ShotOverlap(s, x + 195, x + 215, y + 50, y + 350, 0, 0, 0, 0)) BossBlast(s, b3, boost, base);
        if (b3.hp >= 0 && ShotOverlap(s, x + 270, x + 300, y + 75, y + 325, 0, 0, 0, 0)) BossBlast(s, b3, boost, base);
    }
    SpriteData& b4 = BOSS4[i];
    if (b4.flag && b4.hp >= 0 &&
        ShotOverlap(s, b4.x + 158, b4.x + b4.w - 70, b4.y + 30, b4.y + b4.h - 30, 32, 32, 32, 32))
        BossBlast(s, b4, 5, 0.15);
    SpriteData& b5 = BOSS5[i];
    if (b5.flag && b5.hp >= 0 && InnerBox(s, b5, 32, 32, 32, 0)) BossBlast(s, b5, 5, 0.15);
    SpriteData& lb = LBOSS[i];
    if (lb.flag && lb.hp >= 0 && InnerBox(s, lb, 32, 32, 32, 0)) BossBlast(s, lb, 5, 0.15);
}

// The first five small enemies take blasts on their whole box, worth 100
// to 500; the two turrets fire a last volley.
static SpriteData* const kPlainPools[5] = {Enemy, Enemy2, Enemy3, Enemy4, Enemy5};
static SpriteData* const kTurretPools[2] = {Enemy10, Enemy11};

// One blast (bomb == false) or bomb missile against slot i of every
// target pool, in the fixed order.
static void BlastHit(const SpriteData& s, int i, bool bomb) {
    if (i < 0 || i >= ENEMY_MAX) return;

    for (int n = 0; n < 5; n++)
        if (kPlainPools[n][i].flag) SmallBlastWhole(s, kPlainPools[n][i], 0, 100 * (n + 1));
    if (Enemy6[i].flag) SmallBlastWhole(s, Enemy6[i], 32, 600);
    SpriteData& e7 = Enemy7[i];
    if (e7.flag) SmallBlast(s, e7, e7.x + 20, e7.x + e7.w - 35, e7.y + 25, e7.y + e7.h - 20, 32, 700, SmallDies);
    if (Enemy8[i].flag) SmallBlastWhole(s, Enemy8[i], 32, 800);
    if (Enemy9[i].flag) SmallBlastWhole(s, Enemy9[i], 32, 900);
    for (SpriteData* pool : kTurretPools) {
        SpriteData& e = pool[i];
        if (e.flag) SmallBlast(s, e, e.x, e.x + e.w, e.y, e.y + e.h, 32, 1000, TurretDies);
    }
    if (HARO[i].flag) SmallBlastWhole(s, HARO[i], 32, 500);
    if (BEnemy[i].flag) SmallBlastWhole(s, BEnemy[i], 32, 1000);

    // The satellite only while the warning sweep stands at 400 or more. Its
    // death is paid once, on the call that takes its last point.
    SpriteData& sat = BEnemy2[i];
    if (sat.flag && WarnX >= 400 &&
        ShotOverlap(s, sat.x + 100, sat.x + sat.w - 100, sat.y + 100, sat.y + sat.h - 50, 32, 32, 32, 32)) {
        const bool alive = sat.hp > 0;
        BlastDamage(sat, s, 5, 0.15);
        if (sat.hp <= 0 && alive) {
            dat.score += 1500;
            sat.mode = 3;
            BombPulse = 1;
        }
        dat.score += 1;
    }
    if (BEnemy3[i].flag) SmallBlastWhole(s, BEnemy3[i], 32, 2000);
    // The heavy walker plays its own death.
    SpriteData& walker = BEnemy4[i];
    if (walker.flag && walker.hp >= 0)
        SmallBlast(s, walker, walker.x + 50, walker.x + walker.w, walker.y, walker.y + walker.h, 32, 1000,
                   [](SpriteData&) {});
    if (i < BIT_MAX && bit[i].flag)
        SmallBlast(s, bit[i], bit[i].x + 20, bit[i].x + bit[i].w, bit[i].y, bit[i].y + bit[i].h, 32, 1000, BitDies);

    if (i < CHUUGATA_MAX) {
        for (int id = 0; id < MID_POOLS; id++) {
            SpriteData& e = kMidPools[id][i];
            if (!e.flag || e.hp < 0 || !MidBoxHit(s, e, id, -10)) continue;
            BlastDamage(e, s, 5, 0.15);
            dat.score += 2;
            // A bomb missile brings the carrier down while it still has a
            // little armour left.
            const float killAt = (bomb && id == MID_CHUUGATA7) ? 10.0f : 0.0f;
            if (e.hp <= killAt) MidKill(e, id, -1);
        }
    }
    BossesBlast(s, i, bomb);
}

void shot4hit(int i, int j) {
    if (j < 0 || j >= P_SHOT_MAX || !P_Shot4[j].flag) return;
    BlastHit(P_Shot4[j], i, false);
}

void shot5hit(int i, int j) {
    if (j < 0 || j >= P_SHOT_MAX || !P_Shot5[j].flag) return;
    BlastHit(P_Shot5[j], i, true);
}

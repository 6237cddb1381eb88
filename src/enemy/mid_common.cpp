// Mid-size enemies: shared pieces and the pass over their pools.
#include "enemy/mid_common.h"

#include "enemy/bullets.h"
#include "enemy/effects.h"
#include "player/items.h"
#include "player/player.h"
#include "sound/sound.h"
#include "enemy/midsize.h"
#include "entity/heading.h"
#include "game/frame.h"
#include "game/game.h"
#include "player/shothit.h"
#include "render/render.h"
#include "core/core.h"

void MidMove(SpriteData& e) {
    e.x += e.dx * e.speed * FrameStep;
    e.y += e.dy * e.speed * FrameStep;
}

void MidTurnAndMove(SpriteData& e) {
    SpriteHeading(e, e.angle);
    MidMove(e);
}

int MidAim(float x, float y) {
    double deg = my_atan(x, y, ShipCenterX(), ShipCenterY()) * kRadToDeg;
    if (!(deg > -100000.0 && deg < 100000.0)) return 0;
    return (int)deg;
}

void MidGone(SpriteData& e) {
    e.flag = false;
    MidEnemyCount -= 1;
}

bool MidLeaves(SpriteData& e, float left, float right, float top, float bottom) {
    if (!e.flag) return false;
    if (e.x <= left || e.x >= right || e.y <= top || e.y >= bottom) {
        MidGone(e);
        return true;
    }
    return false;
}

static bool ShipTestable() { return P_Ship.flag && P_Ship.time <= 0; }

bool MidShipOverlap(float L, float R, float T, float B) {
    if (!ShipTestable()) return false;
    return P_Ship.y + 60 < B && P_Ship.y + P_Ship.h - 60 > T && P_Ship.x + 64 < R && P_Ship.x + P_Ship.w - 32 > L;
}

bool MidShipOverlapInset(float L, float R, float T, float B, float m) {
    if (!ShipTestable()) return false;
    return P_Ship.y + m < B && P_Ship.y + P_Ship.h - m > T && P_Ship.x + m < R && P_Ship.x + P_Ship.w - m > L;
}

void MidBlasts(int i) {
    for (int j = 0; j < BlastsEnd(); j++) {
        shot4hit(i, j);
        shot5hit(i, j);
    }
}

void MidExplodeIn(const SpriteData& e, void (*explo)(float, float)) {
    int oy = my_rand(0, e.h);
    int ox = my_rand(0, e.w);
    explo(e.x + ox, e.y + oy);
}

void MidCountDown(SpriteData& e) {
    float v = (float)e.num - FrameStep;
    if (v < -1000000.0f) v = -1000000.0f;
    e.num = (int)v;
}

void MidDrawWhole(const SpriteData& e) {
    if (e.bmp < 0 || e.bmp >= 200 || !ScreenCoordOk(e.x) || !ScreenCoordOk(e.y)) return;
    DD_DrawBitmap((int)e.x, (int)e.y, Bitmap[e.bmp], 0, 0, e.w, e.h);
}

void MidDrawRow(const SpriteData& e, int left, int width) {
    if (e.bmp < 0 || e.bmp >= 200 || !ScreenCoordOk(e.x) || !ScreenCoordOk(e.y)) return;
    DD_DrawBitmap((int)e.x, (int)e.y, Bitmap[e.bmp], left, e.frame * e.h, left + width, (e.frame + 1) * e.h);
}

// The common death: explosions while num is at or above `threshold`,
// then the last explosion, a power item and the count.
void MidDeath(SpriteData& e, int threshold) {
    if (e.num >= threshold) {
        BombPulse = 1;
        e.speed = 0;
        MidExplodeIn(e, ExploHappen2);
        if (e.num % 10 == 0) DS_Play(Wave[4]);
    }
    MidCountDown(e);
    if (e.num < 1) {
        MidExplodeIn(e, ExploHappen6);
        Pitem(MidCX(e), MidCY(e), 180, 10.0f, 0);
        MidGone(e);
    }
}

template <size_t N>
static void MidWalk(SpriteData (&pool)[N], int count, void (*frame)(SpriteData&, int)) {
    const int id = SpritePoolOf(pool);
    SpriteTrim(id);
    for (int i = 0; i < count && i < (int)N && i < PoolEnd[id]; i++)
        if (pool[i].flag) frame(pool[i], i);
}

void BEnemy2Pass() { MidWalk(BEnemy2, 10, BEnemy2Frame); }
void BEnemy4Pass() { MidWalk(BEnemy4, BENEMY_MAX, BEnemy4Frame); }

void MidEnemyPass() {
    MidWalk(chuugata, CHUUGATA_MAX, ChuugataFrame);
    MidWalk(chuugata2, CHUUGATA_MAX, Chuugata2Frame);
    MidWalk(chuugata8, CHUUGATA_MAX, Chuugata8Frame);
    MidWalk(chuugata4, CHUUGATA_MAX, Chuugata4Frame);
    MidWalk(chuugata5, CHUUGATA_MAX, Chuugata5Frame);
    MidWalk(chuugata6, CHUUGATA_MAX, Chuugata6Frame);
    MidWalk(chuugata7, CHUUGATA_MAX, Chuugata7Frame);
    MidWalk(chuugata9, CHUUGATA_MAX, Chuugata9Frame);
}

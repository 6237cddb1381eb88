// The frame every boss shares: the creation of a stage's boss once its
// script has run out, the per-frame pass over the boss pools, the energy
// bar, aiming and the reset at the return to the title.
#include "boss/boss.h"

#include <cstring>
#include <initializer_list>

#include "enemy/bullets.h"
#include "enemy/effects.h"
#include "player/player.h"
#include "entity/heading.h"
#include "game/frame.h"
#include "game/game.h"
#include "core/core.h"
#include "sound/sound.h"

// ---- Creation -------------------------------------------------------------

// How a stage's boss enters: the fields each boss sets when it is made.
// Anything not listed keeps what the entry held.
struct BossStart {
    SpriteData* pool;
    float hp;
    float x, y;
    float angle;
    float speed;
    float timer;
    int w, h;
    int frames;
    int bmp;
};

static const BossStart kBossStart[6] = {
    {nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {BOSS1, BOSS1_ENERGY, 740, 120, 180, 15, 500, 240, 240, 23, 70},
    {BOSS2, BOSS2_ENERGY, 740, 120, 0, 10, 300, 500, 300, 1, 71},
    {BOSS3, BOSS3_ENERGY, 740, 40, 0, 10, 1, 400, 400, 1, 72},
    {BOSS4, BOSS4_ENERGY, 740, 100, 180, 20, 1, 400, 400, 1, 73},
    {BOSS5, BOSS5_ENERGY, 278, 195, 180, 0, 1, 100, 100, 27, 74},
};

// Each boss's own start values besides the common ones.
static void BossOwnStart(int stage, SpriteData& s) {
    switch (stage) {
    case 1:
        s.fw[5] = 500.0f;  // wander time of the arena rule
        s.fw[9] = 0.0f;
        s.fw[1] = 0.0f;
        s.opt2 = 0;        // flying in
        s.iw[7] = 0;       // the first cycle starts at pattern 0
        s.iw[2] = 65;      // the two laser rows
        s.iw[3] = 150;
        s.iw[8] = 0;
        break;
    case 2:
        s.mode = -1;
        s.opt = s.opt2 = 0;
        s.fw[9] = s.fw[7] = 0.0f;
        break;
    case 3:
        s.mode = s.opt = s.opt2 = 0;
        s.iw[0] = s.iw[1] = 0;
        s.fw[7] = 0.0f;  // not dying
        break;
    case 4:
        s.mode = s.opt = s.opt2 = s.opt3 = 0;
        s.b = 0;
        s.fw[6] = 0.0f;
        s.step2 = 0;
        break;
    case 5:
        s.mode = s.opt = s.opt2 = s.opt3 = 0;
        s.time = 0.0f;
        s.fw[1] = s.fw[2] = s.fw[6] = 0.0f;
        s.iw[0] = s.iw[1] = s.iw[2] = 0;
        s.step2 = 0;
        break;
    default:
        break;
    }
}

// In the frame in which the stage's script has run out (StagePhase 0) the
// stage's boss takes the first free entry of its pool and the fight begins.
void BossCreate() {
    if (StagePhase != 0) return;
    if (StageNo < 1 || StageNo > 5) return;
    const BossStart& t = kBossStart[StageNo];
    SpriteData* s = nullptr;
    for (int i = 0; i < BOSS_MAX; i++) {
        if (!t.pool[i].flag) {
            s = &t.pool[i];
            break;
        }
    }
    if (!s) return;  // every entry busy: try again next frame
    DS_Play(Wave[3]);
    s->flag = true;
    SpriteNoteLive(*s);
    s->hp = t.hp;
    s->x = t.x;
    s->y = t.y;
    s->angle = t.angle;
    s->speed = t.speed;
    s->timer = t.timer;
    s->w = t.w;
    s->h = t.h;
    s->frames = t.frames;
    s->frame = 0;
    s->anim = 0.0f;
    s->bmp = t.bmp;
    BossOwnStart(StageNo, *s);
    StagePhase = 2;
}

// ---- The pass -------------------------------------------------------------

void BossPass() {
    Boss1Pass();
    Boss2Pass();
    Boss3Pass();
    Boss4Pass();
    Boss5Pass();
    LastBossPass();
    BitPass();
}

void BossReset() {
    BossBar = 0;
    for (SpriteData* pool : {BOSS1, BOSS2, BOSS3, BOSS4, BOSS5, LBOSS})
        std::memset(pool, 0, sizeof(SpriteData) * BOSS_MAX);
    std::memset(bit, 0, sizeof bit);
}

// ---- Shared helpers -------------------------------------------------------

int BossBarLength(float hp, float full) {
    float v = hp / full * 500.0f;
    if (!(v > -1.0e6f)) return -1000000;  // also catches not-a-number
    if (v > 1.0e6f) return 1000000;
    return (int)v;
}

int AimDegrees(float x1, float y1, float x2, float y2) {
    double deg = (double)my_atan(x1, y1, x2, y2) * kRadToDeg;
    if (!(deg > -1.0e6 && deg < 1.0e6)) return 0;
    return (int)deg;
}

int AimAtShipFrom(float x, float y, float lift) {
    return AimDegrees(x, y, ShipCenterX(), ShipCenterY() - lift);
}

static int HeldInt(float v) {
    if (!(v > -100000.0f)) return -100000;
    if (v > 100000.0f) return 100000;
    return (int)v;
}

int BossRandCoord(float lo, float hi) { return my_rand(HeldInt(lo), HeldInt(hi)); }

int BossLevel() {
    switch (OPTION.Difficulty) {
    case EASY: return EASY;
    case HARD: return HARD;
    default: return NORMAL;
    }
}

int BossByLevel(int easy, int normal, int hard) {
    int level = BossLevel();
    return level == EASY ? easy : level == NORMAL ? normal : hard;
}

void BossNext(SpriteData& s, int mode, float pause) {
    s.mode = mode;
    s.time = 0.0f;
    s.timer = pause;
}

bool BossCounted(SpriteData& s, float pause, float count) {
    s.timer = pause;
    s.time += 1.0f;
    return s.time >= count;
}

void BossRandomPoint(const SpriteData& s, float* x, float* y) {
    *y = (float)BossRandCoord(s.y, s.y + s.h);
    *x = (float)BossRandCoord(s.x, s.x + s.w);
}

void BossExplosionBurst(const SpriteData& s) {
    DS_Play(Wave[4]);
    BombPulse = 1;
    float x, y;
    for (int i = 0; i < 11; i++) {
        BossRandomPoint(s, &x, &y);
        ExploHappen2(x, y);
    }
}

bool BossExplosionStep(SpriteData& s, float pause) {
    if (s.timer > 0.0f) return false;
    s.timer = pause;
    BossExplosionBurst(s);
    return true;
}

void BossBigBlast(const SpriteData& s) {
    float x, y;
    BossRandomPoint(s, &x, &y);
    ExploHappen6(x, y);
}

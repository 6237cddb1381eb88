// Puts the play state the jewel, item, shield, bullet and effect tests
// touch back to a known start: empty pools, a ship in play at (0, 220),
// zero score and counters, NORMAL, stage 1, the usual time step.
#pragma once
#include <gtest/gtest.h>

#include <cstring>

#include "enemy/bullets.h"
#include "enemy/effects.h"
#include "entity/entity.h"
#include "game/game.h"
#include "game/score.h"
#include "player/player.h"
#include "shell/shell.h"

inline void ResetPlayState() {
    // Whole records, not just their flags: a test in the same process must not
    // see what an earlier one left in a slot (spawners keep some fields).
    for (int p = 0; p < PoolCount; p++) std::memset(Pools[p].pool, 0, sizeof(SpriteData) * Pools[p].count);
    SpriteClearAll();
    std::memset(&P_Ship, 0, sizeof P_Ship);
    P_Ship.flag = true;
    P_Ship.x = 0;
    P_Ship.y = 220;
    P_Ship.w = P_Ship.h = 64;
    FrameStep = 0.05f;
    dat.score = 0;
    JewelValue = 0;
    JewelStep = 0;
    std::memset(JewelCount, 0, sizeof JewelCount);
    BombStock = 0;
    BombPulse = 0;
    Weapon = 0;
    PlayerStock = 3;
    ChargeCount = 0;
    ChargePoints = 0;
    ChargeGauge = 0;
    LevelUpFlag = 0;
    OPTION.Difficulty = NORMAL;
    StageNo = 1;
    BulletSpin = 0;
    BulletTurnAngle = 0;
    EffectCountersReset();
}

template <size_t N>
inline int LiveCount(SpriteData (&pool)[N]) {
    int n = 0;
    for (size_t i = 0; i < N; i++) n += pool[i].flag ? 1 : 0;
    return n;
}

inline int LiveFonts() {
    int n = 0;
    for (int i = 0; i < JEWELFONT_MAX; i++) n += JEWELFONT[i].flag ? 1 : 0;
    return n;
}

// A player shot of the given pool placed at (x, y) with the given size
// (the rest of the slot as its last occupant left it, but not boosted).
inline SpriteData& PlaceShot(SpriteData* pool, float x, float y, int w, int h) {
    SpriteData* s = SpriteClaimSlot(pool, P_SHOT_MAX);
    s->x = x;
    s->y = y;
    s->w = w;
    s->h = h;
    s->opt2 = 0;
    return *s;
}

// A test that starts and ends on that state, leaving the random generator
// where it found it.
class PlayStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        seed_ = RandState;
        ResetPlayState();
    }
    void TearDown() override {
        ResetPlayState();
        RandState = seed_;
    }
private:
    uint32_t seed_ = 1;
};

// The play state the jewel, item, shield, bullet and effect tests start
// from: the game's known start with a ship in play at (0, 220).
#pragma once
#include <gtest/gtest.h>

#include "game_reset.h"

inline void ResetPlayState() {
    ResetGameState();
    P_Ship.flag = true;
    P_Ship.x = 0;
    P_Ship.y = 220;
    P_Ship.w = P_Ship.h = 64;
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

// The ship and weapon tests start from the game's known start with the
// ship set up as a new life sets it up.
#pragma once
#include "game_reset.h"

inline void ResetPlayerState() {
    ResetGameState();
    ShipSetUp();
    P_Ship.time = 0.0f;
    RandState = 1;
}

inline int LiveCount(const SpriteData* pool, int n) {
    int c = 0;
    for (int i = 0; i < n; i++) c += pool[i].flag ? 1 : 0;
    return c;
}

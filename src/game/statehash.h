// A fingerprint of everything that decides how the game goes on: every
// live record of every pool, the ship, the game-wide state, the score and
// the random generator. Replays compare it to find the first frame at
// which two runs part ways. Reading it changes nothing.
#pragma once
#include <cstdint>

uint64_t Game_StateHash();

// A seeded random player for soak runs: it starts games and plays them
// (fire held most of the time, random moves, now and then a bomb), and
// checks the game's invariants after every frame.
#pragma once

void Bot_Start(unsigned seed);
bool Bot_Active();
// Before frame `frame`: chooses the keys for it.
void Bot_BeginFrame(long frame);
// After the frame: false (after a message naming the frame and what broke)
// when an invariant does not hold.
bool Bot_Check(long frame);

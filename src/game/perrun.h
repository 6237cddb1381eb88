// The values a game plays with, kept as the loading pass leaves them and
// put back by every new game (see perrun.cpp).
#pragma once

// At the end of the loading pass.
void PerRun_Keep();
// In NewGame: every per-run value as the loading pass left it.
void PerRun_Restore();
// True when the value at `p` is one of them (tests: nothing of a saved game
// state is forgotten).
bool PerRun_Holds(const void* p);

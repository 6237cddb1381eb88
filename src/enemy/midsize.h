// Mid-size enemy behaviours. The satellite and the heavy walker run among
// the small enemies (SmallEnemyPass); the mid-size pools run in
// MidEnemyPass (game/frame.h).
#pragma once

// The satellites BEnemy2 (slots 0..9).
void BEnemy2Pass();
// The heavy walkers BEnemy4.
void BEnemy4Pass();

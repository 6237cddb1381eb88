// The bosses of stages 2 and 3: the battleship BOSS2 and the crystal
// fortress BOSS3. Both are entry 0 of their pool; `mode` is the step of
// their script, `time` counts the volleys of a step (or its waiting time),
// and a volley fires when `timer` has run down to 0.
#pragma once
#include "entity/entity.h"

// BOSS2: one entry's whole frame (patrol, script, death, contact, hits,
// drawing, bar).
void Boss2Update(SpriteData& s, int index);
// Its movement: the flight in while opt2 is 0, then the patrol to the left
// (opt2 1) and right (opt2 2) between x 50 and 400.
void Boss2Patrol(SpriteData& s);
// One frame of its script (mode -1 .. 44; anything past 44 starts again).
void Boss2Script(SpriteData& s);
// One frame of its death (every frame while BossBar < 0).
void Boss2DeathStep(SpriteData& s);

// BOSS3: one entry's whole frame.
void Boss3Update(SpriteData& s, int index);
// One frame of its script (mode 0 .. 21), run once it stands at x <= 300.
void Boss3Script(SpriteData& s);
// One frame of its death (every frame while BossBar < 0).
void Boss3DeathStep(SpriteData& s);

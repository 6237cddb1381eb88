// Explosions and ambient effects. Positions are the centre of whatever
// exploded unless said otherwise. Each function takes the lowest free slot
// of its pool; a full pool makes nothing (sounds and secondary effects
// still happen unless said otherwise).
#pragma once

// Kills and shot-down bullets of this stage; each adds its new value to
// the score.
extern int KillCount;
// Standard explosions since the last jewel drop: every tenth drops one.
extern int JewelDropCount;
// Both back to 0: at game start, at every stage clear and when the game
// ends.
void EffectCountersReset();

// Standard enemy death: explosion, debris, charge, the kill bonus, every
// tenth a jewel, and on HARD an aimed bullet from it.
void ExploHappen(float x, float y);
// Large death: a jewel thrown at the ship, debris and a big explosion.
void ExploHappen2(float x, float y);
// A mid explosion flying left, sometimes with three small ones.
void ExploHappen3(float x, float y);
// A small explosion.
void ExploHappen4(float x, float y);
// A small explosion with the kill bonus (a bullet shot down).
void ExploHappen5(float x, float y);
// A boss's end: 21 chains of explosions.
void ExploHappen6(float x, float y);
// A mid explosion flying in a random direction, with one piece of debris.
void ExploHappen7(float x, float y);
// A mid explosion flying at `angle`, with ten pieces of debris.
void ExploHappen8(float x, float y, int angle);
// As ExploHappen8 with the given speed.
void ExploHappen9(float x, float y, int angle, int speed);
// As ExploHappen7, plus a jewel thrown at the ship.
void ExploHappen10(float x, float y);
// A random walk of up to 20 ExploHappen10 (kind 0 only).
void renbaku(float x, float y, int kind);
// A ring of ExploHappen7 around (x, y); with `many` 0 just one at (x, y).
void renbaku2(float x, float y, int angle, int distance, int many);
// The ship's explosion: a random walk of 10 to 40 ExploHappen7 (kind 0).
void pbaku(float x, float y, int kind);
// A shot's impact spark at (x, y), sometimes with one piece of debris.
void pom(float x, float y);
// One piece of debris near (x, y).
void Gomi(float x, float y, int angle, float speed);
// One background star streak.
void Hosi(float x, float y, int angle, float speed);
// A bomb-stock icon at (x, y) (HUD).
void Cry(float x, float y);

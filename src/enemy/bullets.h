// Enemy bullet, laser, flash and line spawners, and aiming. Each spawner
// fills the lowest free slot of its pool; a full pool (or, for the
// bullets and lasers, a ship that is not in play) drops the request.
#pragma once

#include "entity/entity.h"

// Heading in radians (0 .. 6.28) from (x1, y1) to (x2, y2). Every aimed
// shot uses it from the shooter's centre to the ship's centre.
float my_atan(float x1, float y1, float x2, float y2);

// The ship's centre, with integer halves of its size.
inline float ShipCenterX() { return P_Ship.x + P_Ship.w / 2; }
inline float ShipCenterY() { return P_Ship.y + P_Ship.h / 2; }

// Degrees per frame copied into spinning bullets (mode 4) when made.
extern float BulletSpin;
// Heading in degrees that braking bullets (modes 7, 8) leave on.
extern int BulletTurnAngle;

// Small bullet (pool tama, 16x16). Modes: 0 straight, 1 aimed at the ship
// from (x + 8, y + 8), 2 brakes and returns left, 3 curls, 4 spins by
// BulletSpin, 5 shootable and bursts into darts, 6 shootable, 7 and 8
// brake and leave on BulletTurnAngle, 9 shootable and bursts when shot.
void kou(float x, float y, float angle, float speed, int graphic, int mode);
// Large bullet (pool Baka, 64x64). Mode 1 sprays bullets, 3 sprays darts.
void kou2(float x, float y, float angle, float speed, int graphic, int mode);
// Harmless spark (pool flash); mode 1 is aimed like kou. Made even while
// the ship is lost.
void Flash(float x, float y, float angle, float speed, int graphic, int mode);
// Thin laser (pool sLaser, 64x6).
void SL(float x, float y, float angle, float speed);
// Laser dart (pool sLaser2, 32x32) drawn from one of 18 direction cells;
// variant 1 (always in stage 3) uses the second row of the sheet.
void SL2(float x, float y, float angle, float speed, int variant);
// The screen-wide beam, its right end near (x, y); `speed` is its life.
// Its sound plays even when no beam can be made.
void BL(float x, float y, float angle, float speed);
// A line effect (pool line): fixed start (x, y), moving end (x2, y2).
void Line(float x, float x2, float y, float y2, float speed2, float fade, int r, int g, int b, int mode);

// The alternating fan: the offset in whole degrees of the i-th shot of a
// spread with `step` degrees between shots: 0, -step, +step, -2 step,
// +2 step, ... Fire shot i at centre + FanOffset(i, step).
inline int FanOffset(int i, int step) {
    int k = (i + 1) / 2;
    if (i == 0) return 0;
    return (i % 2 == 1) ? -step * k : step * k;
}

// The direction cell (0..17) of a laser dart heading at `angle` degrees:
// each cell covers 10 degrees, and a dart and its opposite share one.
int DartCell(float angle);

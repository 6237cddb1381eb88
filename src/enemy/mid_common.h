// Mid-size enemies: the pieces every pool's frame shares.
#pragma once

#include "entity/entity.h"

// x, y += heading x speed x FrameStep.
void MidMove(SpriteData& e);
// rad, dx, dy from angle, then move.
void MidTurnAndMove(SpriteData& e);
// Heading in whole degrees from (x, y) to the ship's centre.
int MidAim(float x, float y);
// The record goes: freed and counted out of the stage's wait.
void MidGone(SpriteData& e);
// Leaves (and is counted out) when x <= left, x >= right, y <= top or
// y >= bottom. True when it left.
bool MidLeaves(SpriteData& e, float left, float right, float top, float bottom);
// Does the ship (shrunk by 60 at top and bottom, 64 on the left and 32 on
// the right) overlap the box L..R x T..B? Only while the ship is in play
// and not invincible.
bool MidShipOverlap(float L, float R, float T, float B);
// The same against the whole ship, or the ship shrunk by `m` on every side.
bool MidShipOverlapInset(float L, float R, float T, float B, float m);
// The blasts and bomb missiles against slot i of every target pool.
void MidBlasts(int i);
// An explosion at a random point of the box (the y offset drawn first).
void MidExplodeIn(const SpriteData& e, void (*explo)(float, float));
// A falling countdown: num becomes the integer part of num - FrameStep.
void MidCountDown(SpriteData& e);
// The common death: while num is at or above `threshold` every enemy
// bullet turns to a jewel and the hull bursts; below 1 the last explosion,
// a power item at the centre, and the record is counted out.
void MidDeath(SpriteData& e, int threshold);
// Draws the whole picture (0, 0)-(w, h), or the current frame's row.
void MidDrawWhole(const SpriteData& e);
void MidDrawRow(const SpriteData& e, int left, int width);

inline float MidCX(const SpriteData& e) { return e.x + e.w / 2; }
inline float MidCY(const SpriteData& e) { return e.y + e.h / 2; }

// The pools' frames.
void ChuugataFrame(SpriteData& e, int i);
void Chuugata2Frame(SpriteData& e, int i);
void Chuugata8Frame(SpriteData& e, int i);
void Chuugata4Frame(SpriteData& e, int i);
void Chuugata5Frame(SpriteData& e, int i);
void Chuugata6Frame(SpriteData& e, int i);
void Chuugata7Frame(SpriteData& e, int i);
void Chuugata9Frame(SpriteData& e, int i);
void BEnemy2Frame(SpriteData& e, int i);
void BEnemy4Frame(SpriteData& e, int i);

// What the player's shots hit.
#pragma once

#include "entity/entity.h"

// Shot kinds for the shot pass's hit tests.
enum { SHOT_SPREAD = 0, SHOT_FAN = 1, SHOT_MISSILE = 2 };

// The overlap rule of every shot test: does `shot` hit the target box
// L..R x T..B? t, b, l, r are margins of the shot's own box at its top,
// bottom, left and right (a negative margin widens the shot). Strict, so
// touching edges never hit. The comparisons run in this order, so most
// pairs fail at the first one.
inline bool ShotOverlap(const SpriteData& shot, float L, float R, float T, float B, float t, float b, float l,
                        float r) {
    return shot.y + t < B && shot.y + (float)shot.h - b > T && shot.x + l < R && shot.x + (float)shot.w - r > L;
}

// What a spread shot, fan shot or missile leaves where it hits: a spark at
// the shot's centre, or for a missile a blast around it. The charge gauge
// gains from either.
void ShotImpact(const SpriteData& shot, int kind);

// A boss drone shot down (by a blast or by a shot; the caller has paid
// its 1000): rings of explosions, a power item, and every enemy bullet
// turned into a jewel.
void BitDies(SpriteData& e);

// The shot pass: one spread shot, fan shot or missile against the
// mid-size enemies and the bosses (slots 0..19 of each). The shot may
// already have been released in this visit; it is still tested, and a
// shot released by one hit still hits further targets and further boxes
// of the same boss.
void ShotHitMidAndBoss(SpriteData& shot, int kind);

// Blast P_Shot4[j] (bomb missile P_Shot5[j]) against slot i of every
// target pool. Called by the enemy and boss updates for each live record
// i and every j. Damage is by time (FrameStep); the shot is not used up.
void shot4hit(int i, int j);
void shot5hit(int i, int j);

// What the player's shots hit.
#pragma once

struct SpriteData;

// Shot kinds for the shot pass's hit tests.
enum { SHOT_SPREAD = 0, SHOT_FAN = 1, SHOT_MISSILE = 2 };

// The shot pass: one spread shot, fan shot or missile against the
// mid-size enemies and the bosses (slots 0..19 of each). The shot may
// already have been released in this visit; it is still tested.
void ShotHitMidAndBoss(SpriteData& shot, int kind);

// Blast P_Shot4[j] (bomb missile P_Shot5[j]) against slot i of every
// target pool. Called by the enemy and boss updates for each live record
// i and every j.
void shot4hit(int i, int j);
void shot5hit(int i, int j);

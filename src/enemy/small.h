// Small enemies: the pieces every pool's frame shares. Each pool moves,
// runs its own turn-and-fire rules, then leaves the screen by its bounds,
// takes the player's shots, rams the ship, and is drawn and animated.
#pragma once

#include "entity/entity.h"

// How a pool takes the player's spread shots, fan shots and missiles.
struct SmallShotRules {
    int killValue;     // score for a kill
    int killValueFan;  // score when the killing shot is a fan shot
    float sideMargin;  // a spread shot's left margin
    float edgeMargin;  // a spread shot's top and bottom margins
    bool weaponOnly;   // once AllShotTime has run out, only the selected weapon's shots count
    bool lastVolley;   // fires four bullets as it dies
};

// Centre of a record, with integer halves of its size.
inline float CentreX(const SpriteData& e) { return e.x + e.w / 2; }
inline float CentreY(const SpriteData& e) { return e.y + e.h / 2; }

// x, y += heading x speed x FrameStep.
void SmallMove(SpriteData& e);
// The heading from the record's centre to the ship's centre, in radians
// and in degrees.
float AimRad(const SpriteData& e);
float AimDeg(const SpriteData& e);
// New headings are kept in radians, in `angle` as well as `rad`.
void HeadAtShip(SpriteData& e);
void HeadTo(SpriteData& e, float degrees);
// A bullet from the centre: at `angle` degrees, or aimed at the ship.
void FireFromCentre(const SpriteData& e, float angle, float speed, int graphic);
void FireAimed(const SpriteData& e, float speed, int graphic);

// A turret's last volley: four bullets from its centre, the heading
// turning a quarter after each (angle + 0, + 91, + 182, + 273).
void TurretLastVolley(SpriteData& e);

// Steps 3 to 5 of the frame: off-screen removal by the bounds (the record
// is still tested and drawn in this frame), the shot tests of slot i with
// the blasts and bomb missiles, and the ship test.
void SmallTail(SpriteData& e, int i, const SmallShotRules& rules, float left, float right, float top, float bottom);
// Draws rows [top, bottom) and columns [left, right) of the sheet.
void SmallDraw(const SpriteData& e, int left, int top, int right, int bottom);
// Draws the current frame's row, columns [left, right).
inline void SmallDrawRow(const SpriteData& e, int left, int right) {
    SmallDraw(e, left, e.frame * e.h, right, (e.frame + 1) * e.h);
}

// The pools' frames (small.cpp, small2.cpp).
void EnemyFrame(SpriteData& e, int i);
void Enemy2Frame(SpriteData& e, int i);
void Enemy3Frame(SpriteData& e, int i);
void Enemy4Frame(SpriteData& e, int i);
void Enemy5Frame(SpriteData& e, int i);
void Enemy6Frame(SpriteData& e, int i);
void Enemy7Frame(SpriteData& e, int i);
void Enemy8Frame(SpriteData& e, int i);
void Enemy9Frame(SpriteData& e, int i);
void Enemy10Frame(SpriteData& e, int i);
void Enemy11Frame(SpriteData& e, int i);
void HaroFrame(SpriteData& e, int i);
void BEnemyFrame(SpriteData& e, int i);
void BEnemy3Frame(SpriteData& e, int i);

// Headings: the game keeps an angle in degrees in `angle`, its radians in
// `rad` (pi taken as 3.14, as everywhere in the game) and the unit step
// cos/sin in `dx`, `dy`.
#pragma once
#include <cmath>
#include "entity/entity.h"

// Degrees to radians with pi taken as 3.14 (180 degrees give 3.14).
constexpr double kDegToRad = 0.017444444444444446;
// Radians back to degrees: 180 / 3.14.
constexpr double kRadToDeg = 57.324840764331206;

// Degrees to the game's radians.
inline float HeadingRad(float degrees) { return (float)(degrees * 0.017444444444444446); }

// Sets `rad`, `dx` and `dy` from a heading already in radians.
inline void SpriteHeadingRad(SpriteData& s, float rad) {
    s.rad = rad;
    s.dx = (float)std::cos((double)rad);
    s.dy = (float)std::sin((double)rad);
}

// Sets `angle` (degrees) and `rad`, `dx`, `dy` from it.
inline void SpriteHeading(SpriteData& s, float degrees) {
    s.angle = degrees;
    SpriteHeadingRad(s, HeadingRad(degrees));
}

// True when a float position can be turned into a screen int safely.
inline bool ScreenCoordOk(float v) { return v > -100000.0f && v < 100000.0f; }

// Headings: the game keeps an angle in degrees in `angle`, its radians in
// `rad` (pi taken as 3.14, as everywhere in the game) and the unit step
// cos/sin in `dx`, `dy`.
#pragma once
#include <cmath>
#include "entity/entity.h"

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

// Aiming: the heading from one point to another.
#include <cmath>

#include "enemy/bullets.h"

// The game's degree-to-radian factor in single precision (pi taken as 3.14),
// so a full turn is 360 * it = 6.28 and a half turn 3.14.
static const float kAimDegToRad = 0.017444444f;

float my_atan(float x1, float y1, float x2, float y2) {
    float dx = x2 - x1;
    float dy = y2 - y1;
    if (dx == 0.0f) dx = 0.0001f;  // straight up or down: a tiny step to the right
    float t = dy / dx;
    if (dx > 0) {
        float a = (float)std::atan((double)t);
        if (a < 0) a += 360 * kAimDegToRad;
        return a;
    }
    return (float)(std::atan((double)t) + (double)(180 * kAimDegToRad));
}

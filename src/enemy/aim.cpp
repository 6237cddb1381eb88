// Aiming: the heading from one point to another.
#include "enemy/bullets.h"
#include <cmath>

float my_atan(float x1, float y1, float x2, float y2) {
    const float degree = 0.017444444f;  // the game's pi / 180, pi taken as 3.14
    float dx = x2 - x1;
    float dy = y2 - y1;
    if (dx == 0.0f) dx = 0.0001f;  // straight up or down: no division by zero
    float t = dy / dx;
    float a = (float)std::atan((double)t);
    if (dx > 0.0f) {
        if (a < 0.0f) a += 360.0f * degree;
        return a;
    }
    return a + 180.0f * degree;
}

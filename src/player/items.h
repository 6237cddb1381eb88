// Jewels, power items and the shield.
#pragma once

// A power item at (x, y); angle and speed are not used, kind goes to mode.
void Pitem(float x, float y, int angle, float speed, int kind);

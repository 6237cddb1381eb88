// Jewels, power items and the shield.
#pragma once

// A jewel at (x, y); `angle` is not used. Kinds 0..3 drift left and age,
// kind 5 becomes a fast kind-4 jewel thrown at the ship, and every jewel
// made during a bomb's pulse is a fast kind-4 jewel. None is made while
// the shield is up.
void Jewel(float x, float y, int angle, float speed, int kind);
// A floating score number showing `value` at (x, y); a and b are not used.
void Jewelshow(float x, float y, int a, float b, int value);
// A power item at (x, y); angle and speed are not used.
void Pitem(float x, float y, int angle, float speed, int kind);
// Raises the shield around the ship (called as SHIELD(0, 0)).
void SHIELD(int angle, int value);

// Per-frame updates. The jewels run inside the effects pass; the power
// items are PitemPass (game/frame.h).
void JewelPass();
// The floating score numbers: age, drift left, draw (HUD).
void JewelFontPass();
// The shield's early pass (HUD): counts Shield[0].mode up and handles the
// live shields whose mode is even. ShieldLatePass (game/frame.h), after
// the enemy fire, handles those whose mode is odd, so a shield is handled
// once per frame, alternately early and late.
void ShieldPass();

// Shield life by difficulty (EASY, NORMAL, HARD, SPECIAL).
float ShieldTime(int difficulty);

// 500 lines collapsing into the ship's centre, in the given colour.
void LineBurst(int r, int g, int b);

// Adds to a running jewel figure (JewelValue, JewelStep), holding it at the
// ends of the int range instead of wrapping round in a very long game.
inline int JewelAdd(int a, long long b) {
    long long v = (long long)a + b;
    if (v > 2147483647LL) v = 2147483647LL;
    if (v < -2147483647LL - 1) v = -2147483647LL - 1;
    return (int)v;
}

// The player's weapons: the five shot spawners and the charge gauge.
#pragma once

// Weapon 0 spread shot at (x, y): random heading, fixed speed; the last two
// arguments are not used.
void shot1(float x, float y, int angle, float speed);
// Weapon 1 fan shot with heading `angle`, always from the ship's nose; the
// other arguments are not used.
void shot2(float x, float y, int angle, float speed);
// Weapon 2 missile at (x, y): random heading; the last two arguments are
// not used.
void shot3(float x, float y, int angle, float speed);
// A missile blast with its top-left corner at (x, y); `boosted` adds
// damage.
void shot4(float x, float y, int boosted);
// A bomb missile.
void shot5(float x, float y, int angle, int speed, int boosted);

// Adds p points towards the charge gauge; n points make one step of it
// while it is below 100 (a full gauge keeps collecting points).
void ChargeStep(int p, int n);

// The full gauge's reward, once per game frame from the HUD (after it has
// drawn "ＭＡＸ"): when the gauge is full it empties and gives a bomb and a
// power level, or at six bombs a power item, and a bomb-stock icon either
// way. True when the gauge was full.
bool ChargeGaugeReward();

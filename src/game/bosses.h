// What the stages and the ending know of the bosses: their energies and
// bars, the fortress core stage 5 draws, the last boss's presence and the
// reset on the return to the title. The bosses sit above the stages and
// answer here; the stages never include the bosses' own headers.
#pragma once

// Full energy of each boss (the divisor of its bar).
enum {
    BOSS1_ENERGY = 7000,
    BOSS2_ENERGY = 12000,
    BOSS3_ENERGY = 17000,
    BOSS4_ENERGY = 25000,
    BOSS5_ENERGY = 25000,
    LBOSS_ENERGY = 40000,
};

// The bar length for `hp` of a boss whose full energy is `full`, truncated
// toward zero; values far outside the bar are held so the conversion stays
// defined.
int BossBarLength(float hp, float full);

// Every boss record and the bar back to their state at program start (the
// return to the title).
void BossReset();

// Draws the core (entry 0 of BOSS5, animated) where it sits in the
// fortress; stage 5's script calls it under the fortress picture, also
// during the WARNING before the core is made.
void Boss5DrawCore();

// Whether any entry of LBOSS is in play.
bool LastBossActive();

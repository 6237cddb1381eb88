// Explosions and effects arrive with their own work.
#include "enemy/effects.h"
#include "game/frame.h"
void EffectsPass() {}
void Cry(float, float) {}
// The ship's explosion (ShipLost) and the blast's spark (shot4).
void pbaku(float, float, int) {}
void pom(float, float) {}
void EffectCountersReset() {}  // clears KillCount and JewelDropCount once they exist

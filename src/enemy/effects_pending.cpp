// Explosions and effects arrive with their own work.
#include "enemy/effects.h"
#include "game/frame.h"
void EffectsPass() {}
void Cry(float, float) {}

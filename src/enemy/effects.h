// Explosions and ambient effects.
#pragma once

// A bomb-stock icon at (x, y) (HUD).
void Cry(float x, float y);
// The ship's explosion at (x, y); kinds other than 0 only play its sound.
void pbaku(float x, float y, int kind);
// A shot's impact spark at (x, y).
void pom(float x, float y);

// Back to 0 at every stage clear: the kill counter (score bonus) and the
// count towards the next jewel drop.
void EffectCountersReset();

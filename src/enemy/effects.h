// Explosions and ambient effects.
#pragma once

// A bomb-stock icon at (x, y) (HUD).
void Cry(float x, float y);

// Power items arrive with the jewels and the shield.
#include "game/frame.h"
#include "player/items.h"
void PitemPass() {}
// The full charge gauge's power item at six bombs.
void Pitem(float, float, int, float, int) {}

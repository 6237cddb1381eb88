#include "player/bombkey.h"
// The bomb itself arrives with the player's ship.
void BombKey() {}

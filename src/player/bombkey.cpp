// The Z key's bomb, on its key-down event between frames.
#include "player/bombkey.h"
#include "game/game.h"
#include "player/ship.h"

void BombKey() {
    if (BombStock > 0) BombStart();
}

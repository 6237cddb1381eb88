// The bomb: clears the enemy bullets, takes a bomb and, used twice in
// quick succession (or on EASY), starts the barrage of bomb missiles.
#include "player/ship.h"
#include "entity/entity.h"
#include "game/game.h"
#include "player/player.h"

void BombStart() {
    if (BombIconAnim || OPTION.Difficulty == EASY) {
        BombPulse = 1;
        BombTime = 20.0f;
        BombSpread = 30;
    }
    BombPulse = 1;
    BombIconAnim = true;
    BombIconTime = 0.0f;
    // The icon above the last one shown goes. Six bombs have no icon
    // slot above them.
    if (BombStock >= 0 && BombStock < CRY_MAX) cry[BombStock].flag = false;
    BombStock -= 1;
    BombsUsed++;
}

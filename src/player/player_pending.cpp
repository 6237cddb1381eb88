// The ship and its weapons arrive with their own work.
#include "game/frame.h"
void ShipFrameStart() {}
void PlayerFireAndBomb() {}
void PlayerShotPass() {}
void ShipMoveAndDraw() {}
void ShipLossAndRespawn() {}

// The bosses of stages 2 to 5 and the drones arrive with their own work.
// Each is made (BOSS2..BOSS5 by BossCreate, drones by Bit) but does
// nothing yet: until its update is
// written here a created boss neither moves, fires, is drawn nor dies.
#include "boss/boss.h"

void Boss2Pass() {}     // BOSS2, stage 2's battleship
void Boss3Pass() {}     // BOSS3, stage 3
void Boss4Pass() {}     // BOSS4, stage 4, with its drones
void Boss5Pass() {}     // BOSS5, stage 5's core
void BitPass() {}       // the drones of BOSS4, BOSS5 and LBOSS

// BOSS5's picture arrives with BOSS5 itself; until then stage 5 shows the
// fortress around an empty core.
void Boss5Draw() {}

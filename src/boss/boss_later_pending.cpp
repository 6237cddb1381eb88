// The bosses of stages 2 to 5, the last boss and the drones arrive with
// their own work. Each is made (BOSS2..BOSS5 by BossCreate, LBOSS by
// Lastboss, drones by Bit) but does nothing yet: until its update is
// written here a created boss neither moves, fires, is drawn nor dies.
#include "boss/boss.h"

void Boss4Pass() {}     // BOSS4, stage 4, with its drones
void Boss5Pass() {}     // BOSS5, stage 5's core
void LastBossPass() {}  // LBOSS, the last boss (entries 0..4)
void BitPass() {}       // the drones of BOSS4, BOSS5 and LBOSS

// The bosses of stages 2 to 5, the last boss and the drones arrive with
// their own work. Each is made (BOSS2..BOSS5 by BossCreate, LBOSS by
// Lastboss, drones by Bit) but does nothing yet: until its update is
// written here a created boss neither moves, fires, is drawn nor dies.
#include "boss/boss.h"

void Boss2Pass() {}     // BOSS2, stage 2's battleship
void Boss3Pass() {}     // BOSS3, stage 3
void LastBossPass() {}  // LBOSS, the last boss (entries 0..4)

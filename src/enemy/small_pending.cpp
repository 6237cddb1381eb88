// Small and mid-size enemy behaviours arrive with their own work.
#include "game/frame.h"
void SmallEnemyPass() {}
void MidEnemyPass() {}

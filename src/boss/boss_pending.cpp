// The bosses arrive with their own work.
#include "game/frame.h"
void BossPass() {}
void BossCreate() {}

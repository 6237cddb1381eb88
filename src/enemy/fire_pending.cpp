// The enemy fire update arrives with its own work.
#include "game/frame.h"
void EnemyFirePass() {}

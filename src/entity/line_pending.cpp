// Line effects arrive with the bullet spawners.
#include "game/frame.h"
void LinePass() {}

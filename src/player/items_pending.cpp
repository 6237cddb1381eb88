// Power items arrive with the jewels and the shield.
#include "game/frame.h"
void PitemPass() {}

// What Escape keeps before the game closes.
#include "shell/frameloop.h"
#include "shell/shell.h"

void Shell_SaveOnQuit() {}
void Shell_StoreSpeedAdjust() {}

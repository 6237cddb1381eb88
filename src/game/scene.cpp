#include "game/game.h"
#include "shell/shell.h"


void Main_Proc(PlatWindow*) {}

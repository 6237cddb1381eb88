#include "game/game.h"
#include "shell/shell.h"

int Scene = -1;
int StageNo;

void Main_Proc(PlatWindow*) {}

// The stage flow arrives with the stage scripts.
#include "game/frame.h"
void StageBackground() {}
void StageScript() {}
void StageClearWipe() {}

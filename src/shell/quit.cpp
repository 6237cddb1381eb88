// What Escape keeps before the game closes.
#include "game/score.h"
#include "shell/frameloop.h"
#include "shell/input.h"
#include "shell/shell.h"

void Shell_SaveOnQuit() {
    DataSave();
    EndDInput();
}

void Shell_StoreSpeedAdjust() { dat.speed = SpeedAdjust; }

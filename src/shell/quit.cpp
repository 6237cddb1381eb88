// What Escape keeps before the game closes.
#include "game/game.h"
#include "game/hud.h"
#include "game/score.h"
#include "shell/frameloop.h"
#include "core/input.h"
#include "shell/shell.h"

void Shell_SaveOnQuit() {
    DataSave();
    EndDInput();
}

void Shell_SaveAndLeave() {
    DataSave();
    if (Scene == SCENE_GAME) LeaveGameToTitle();
    if (PauseCount & 1) PauseCount++;  // the next game does not start paused
}

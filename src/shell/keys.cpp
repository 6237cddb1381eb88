// Function keys: speed correction, pause, bomb and quit. They arrive as
// key-down events between frames.
#include "shell/shell.h"
#include "shell/frameloop.h"
#include "game/hud.h"
#include "game/score.h"
#include "core/lang.h"
#include "platform/display.h"
#include "platform/input.h"
#include "player/bombkey.h"
#include "render/render.h"
#include "sound/sound.h"

#include <cstdio>

static void SpeedUp(double by) {
    SpeedAdjust = (float)(SpeedAdjust + by);
}

static void SpeedDown(double by) {
    SpeedAdjust = (float)(SpeedAdjust - by);
    if (SpeedAdjust <= 0) SpeedAdjust = 0;
}

void Event_Proc(int key, PlatWindow* window) {
    switch (key) {
    case VK_ESCAPE:
        if (!Plat_WindowClosable()) {  // a page cannot close itself: save and go back to the title
            Shell_SaveAndLeave();
            return;
        }
        Shell_SaveOnQuit();
        Shell_CloseWindow(window);
        return;
    case VK_1: SpeedUp(0.001); break;
    case VK_2: SpeedUp(0.01); break;
    case VK_3: SpeedUp(0.1); break;
    case VK_Q: SpeedDown(0.001); break;
    case VK_W: SpeedDown(0.01); break;
    case VK_E: SpeedDown(0.1); break;
    case VK_C: PauseCount += 1; return;
    case VK_Z: BombKey(); return;
    default: return;
    }
    // A speed key: keep the correction for the next save and show it.
    DataStoreSpeed();
    ShowSpeedAdjust();
}

// Stage 5, for now: its opening step, then straight to the steps before
// its boss; the groups in between arrive with stage 5's own script (they
// take the step numbers left free here). T is StepTimer2, R StepRepeat2.
#include "boss/boss.h"
#include "entity/entity.h"
#include "game/game.h"
#include "game/stage.h"
#include "render/render.h"
#include "shell/shell.h"
#include "sound/sound.h"

void Stage5Script() {
    switch (StageStep[5]) {
    case 0:
        ScrollSpeedX = -50;
        ScrollSpeedY = 100;
        if (StepT() >= 10) {
            MIDI_Play("MIDI\\Db.MID");
            StepNext();
        }
        break;
    case 1:  // steps 1 to 23 and the waves of 24 arrive with stage 5's script
        StepGoTo(24);
        break;
    case 24:  // the last wave is done: the fifth boss's WARNING follows
        if (NoneAlive()) {
            DS_Play(Wave[7]);
            WarnX = 0;
            WarnPasses = 0;
            StepNext();
        }
        break;
    case 25:
        if (StepWarning(BOSS5[0], 25000, 500)) {
            StagePhase = 1;
            MIDI_Play("MIDI\\rpglast.mid");
            StepNext();
        }
        break;
    case 26:  // the fifth boss; beaten, it moves the script on
        ScrollSpeedX = 0;
        // For now: the core in its fortress, and the walls opening so it
        // starts (the wall halves themselves come with stage 5's script).
        Boss5DrawCore();
        DD_DrawBitmap(-85, 0, Bitmap[75], 0, 0, 837, 499);
        WallPos -= FrameStep * 20;
        if (WallPos < -700) WallPos = -700;
        StepBossPhase();
        break;
    default:
        break;
    }
}

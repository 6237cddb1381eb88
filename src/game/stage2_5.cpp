// Stages 2 to 5. For now each script has its opening step, then goes
// straight to the steps before its boss: the groups in between arrive with
// each stage's own script (they take the step numbers left free here).
// T is StepTimer2, R StepRepeat2.
#include "entity/entity.h"
#include "game/game.h"
#include "game/stage.h"
#include "sound/sound.h"

// The clear-wait before a WARNING: the warning sound and the boss tune.
static void WarningCall(const char* tune) {
    DS_Play(Wave[7]);
    MIDI_Play(tune);
    WarnX = 0;
    WarnPasses = 0;
}

void Stage2Script() {
    switch (StageStep[2]) {
    case 0:
        ScrollSpeedX = -20;
        if (StepTimer >= 50) {
            MIDI_Play("MIDI\\Fatal.mid");
            StepNext();
        }
        break;
    case 1:  // steps 1 to 32 arrive with stage 2's script
        StepGoTo(33);
        break;
    case 33:
        if (StepT() >= 10 && NoneAlive()) {
            ScrollSpeedX = -5;
            WarningCall("MIDI\\Ravin'_U.mid");
            StepNext();
        }
        break;
    case 34:
        if (StepWarning(BOSS2[0], 12000, 250)) StepNext();
        break;
    default:  // 35 on: the boss
        if (StageStep[2] >= 35) StepBossPhase();
        break;
    }
}

void Stage3Script() {
    switch (StageStep[3]) {
    case 0:
        ScrollSpeedX = -11;
        ScrollSpeedY = -8;
        if (StepT() >= 30) {
            MIDI_Play("MIDI\\空落ちる日.mid");
            StepNext();
        }
        break;
    case 1:  // steps 1 to 17 arrive with stage 3's script
        StepGoTo(18);
        break;
    case 18:
        ScrollSpeedX = -4;
        ScrollSpeedY = -1;
        if (StepT() >= 50 && NoneAlive()) {
            WarningCall("MIDI\\Vbattle.mid");
            StepNext();
        }
        break;
    case 19:
        if (StepWarning(BOSS3[0], 17000, 400)) StepNext();
        break;
    default:  // 20 on: the boss
        if (StageStep[3] >= 20) StepBossPhase();
        break;
    }
}

void Stage4Script() {
    switch (StageStep[4]) {
    case 0:
        ScrollSpeedX = -20;
        if (StepT() >= 20) {
            MIDI_Play("MIDI\\2.MID");
            StepNext();
        }
        break;
    case 1:  // steps 1 to 16 arrive with stage 4's script
        StepGoTo(17);
        break;
    case 17:
        if (NoneAlive()) {
            ScrollSpeedY = 0;
            WarningCall("MIDI\\HA_Doll.mid");
            StepNext();
        }
        break;
    case 18:
        if (StepWarning(BOSS4[0], 25000, 500)) StepNext();
        break;
    default:  // 19 on: the boss
        if (StageStep[4] >= 19) StepBossPhase();
        break;
    }
}

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
        StepBossPhase();
        break;
    default:
        break;
    }
}

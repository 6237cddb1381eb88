// Stage 5 from the fifth boss on: its WARNING in front of the fortress's
// closed gate, the gate opening on the boss, the fortress blowing apart
// once the boss is down, and the last boss breaking out of it. Also the
// fortress front of steps 18 and 19, drawn late in the frame over
// everything else. T is StepTimer2, R StepRepeat2, SX the scroll speed.
#include "game/bosses.h"
#include "enemy/effects.h"
#include "enemy/spawners.h"
#include "entity/entity.h"
#include "entity/heading.h"
#include "game/frame.h"
#include "game/game.h"
#include "game/stage.h"
#include "game/stage5.h"
#include "render/render.h"
#include "core/core.h"
#include "sound/sound.h"

namespace {

const float kGateOpen = -700.0f;  // the fifth boss wakes once the gate is this far open

// The fortress around the fifth boss's core, at (x, y).
void Fortress(int x, int y) { DD_DrawBitmap(x, y, Bitmap[75], 0, 0, 837, 499); }

// The fortress shaking as it breaks up.
void FortressShaking() {
    int x = my_rand(-84, -86);
    int y = my_rand(-1, 1);
    Fortress(x, y);
}

// One pair of gate halves `lag` pixels behind WallPos, at the heights of
// the left and right half.
void GatePair(float lag, int leftY, int rightY) {
    float pos = WallPos + lag;
    if (!ScreenCoordOk(pos)) return;
    DD_DrawBitmap((int)(pos - 230), leftY, Bitmap[171], 0, 0, 605, 600);
    DD_DrawBitmap((int)(305 - pos), rightY, Bitmap[171], 611, 0, 1216, 600);
}

// A random point of the screen, x drawn first.
void RandomScreenPoint(int* x, int* y, int ylo, int yhi) {
    *x = my_rand(0, 640);
    *y = my_rand(ylo, yhi);
}

// One round of the fortress's explosions (steps 27 and 30).
void FortressBlast() {
    int x, y;
    StepCount(1);
    DS_Play(Wave[4]);
    for (int i = 0; i < 3; i++) {
        RandomScreenPoint(&x, &y, 0, 440);
        ExploHappen2(x, y);
    }
    for (int k = 0; k < 7; k++)
        for (int i = 0; i < 3; i++) {
            RandomScreenPoint(&x, &y, 0, 440);
            ExploHappen8(x, y, 45 * k);
        }
    DS_Play(Wave[15]);
    if (my_rand(0, 10) != 0) return;
    // Now and then a whole section goes up in rings of blasts.
    RandomScreenPoint(&x, &y, 0, 440);
    for (int k = 0; k < 4; k++)
        for (int n = 0; n < 8; n++) renbaku2(x, y, my_rand(0, 360), 40 * k, 60);
}

// `count` x 2 blasts from the left edge (x 0 .. `width`) flying back left.
void LeftEdgeBlasts(int count, int width, int slow, int fast) {
    for (int i = 0; i < count * 2; i++) {
        int x = my_rand(0, width);
        int y = my_rand(0, 440);
        int angle = my_rand(170, 190);
        int speed = my_rand(slow, fast);
        ExploHappen9(x, y, angle, speed);
    }
}

// "Every 1": true (T = 0) once T has passed 1.
bool EveryUnit() {
    if (StepT() <= 1) return false;
    StepT() = 0;
    return true;
}

void NextWithCountersCleared() {
    StepNext();
    StepT() = 0;
    StepRepeat2 = 0;
}

}  // namespace

void Stage5Finale() {
    switch (StageStep[5]) {
    case 25:  // WARNING in front of the closed gate
        Boss5DrawCore();
        Fortress(-85, 0);
        GatePair(0, -10, -13);
        if (StepWarning(BOSS5[0], BOSS5_ENERGY, 500)) {
            StagePhase = 1;
            MIDI_Play("MIDI\\rpglast.mid");
            StepNext();
        }
        break;
    case 26:  // the gate opens on the fifth boss; beaten, it moves the script on
        ScrollSpeedX = 0;
        Boss5DrawCore();
        Fortress(-85, 0);
        WallPos -= FrameStep * 20;
        if (WallPos < kGateOpen) WallPos = kGateOpen;
        GatePair(0, -15, -18);
        GatePair(24, -30, -33);
        GatePair(12, -20, -23);
        GatePair(6, -10, -13);
        StepBossPhase();
        break;
    case 27:  // the fortress shakes and burns
        FortressShaking();
        if (StepT() > 45) {
            StepT() = 44;
            FortressBlast();
            if (StepR() > 100) NextWithCountersCleared();
        }
        break;
    case 28:  // its upper half blows away ...
        FortressShaking();
        if (StepT() > 5) {
            for (int i = 0; i < 401; i++) {
                int x, y;
                RandomScreenPoint(&x, &y, -30, 150);
                ExploHappen8(x, y, my_rand(70, 110));
            }
            DS_Play(Wave[15]);
            StepNext();
        }
        break;
    case 29:  // ... then the lower
        ScrollSpeedX = 0;
        DD_DrawBitmap(-85, 245, Bitmap[75], 0, 245, 837, 499);
        if (StepT() > 1) {
            for (int i = 0; i < 401; i++) {
                int x, y;
                RandomScreenPoint(&x, &y, 300, 500);
                ExploHappen8(x, y, my_rand(250, 290));
            }
            DS_Play(Wave[15]);
            StepNext();
        }
        break;
    case 30:  // the hall speeds up through the blasts
        if (ScrollSpeedX > -80) ScrollSpeedX -= FrameStep;
        if (EveryUnit()) {
            FortressBlast();
            if (StepR() >= 51) NextWithCountersCleared();
        }
        break;
    case 31:  // the last boss comes in from behind
        if (!EveryUnit()) break;
        LeftEdgeBlasts(10, 240, 50, 200);
        DS_Play(Wave[15]);
        StepCount(1);
        if (StepR() < 50) break;
        StepRepeat2 = 0;
        WarnX = 0;
        WarnPasses = 639;
        BossBar = BossBarLength(LBOSS[0].hp, LBOSS_ENERGY);
        if (!LastBossActive()) Lastboss(-450, 150, 0, 1.5f);
        break;
    case 32:  // out of the fortress at full speed
        if (!EveryUnit()) break;
        ScrollSpeedX = -120;
        LeftEdgeBlasts(7, 40, 10, 60);
        DS_Play(Wave[17]);
        break;
    case 33:  // open space: streaks of stars
        if (StepT() <= 5) break;
        for (int i = 0; i < 6; i++) {
            int y = my_rand(-2, 480);
            int speed = my_rand(100, 400);
            Hosi(650, y, 180, speed);
        }
        StepT() = (float)my_rand(0, 5);
        RollY = 700;
        break;
    default:  // the last boss is down: the stage-clear wipe takes over
        break;
    }
}

// The fortress front of steps 18 and 19 slides in over everything and
// shows itself from the bottom row up, two rows a frame.
void StageLateDraw() {
    if (StageNo != 5 || StageStep[5] != 19) return;
    if (ScreenCoordOk(BigPicX) && BigPicRow < 480) {
        int top = BigPicRow > 0 ? (int)BigPicRow : 0;
        DD_DrawBitmap((int)BigPicX, top, Bitmap[68], 0, top, 1920, 480);
    }
    BigPicRow -= 2;
}

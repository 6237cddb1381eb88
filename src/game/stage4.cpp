// Stage 4's script. T is StepTimer2, R StepRepeat2, SX and SY the scroll
// speeds; "every t" is a timed group (when T >= t: spawn, T = 0, R += 1).
// A step that ends without a group keeps T. The stage rolls up and down
// while its groups come from all four sides.
#include "enemy/spawners.h"
#include "entity/entity.h"
#include "game/game.h"
#include "game/stage.h"
#include "core/core.h"
#include "sound/sound.h"

namespace {

// Twenty zako1 in one line at a random height band, slow to fast.
void Zako1Fan(int low, int high) {
    for (int s = 20; s <= 115; s += 5) {
        int y = my_rand(low, high);
        zako1(640, y, 180, s, 0);
    }
}

}  // namespace

void Stage4Script() {
    switch (StageStep[4]) {
    case 0:
        ScrollSpeedX = -20;
        if (StepT() >= 20) {
            MIDI_Play("MIDI\\2.MID");
            StepNext();
        }
        break;
    case 1:  // rising: a group whenever the last mid-size enemy is gone
        if (StepT() >= 2 && NoneAlive()) {
            ScrollSpeedX -= 1;
            ScrollSpeedY = -10;
            for (int x = 450; x <= 600; x += 50) zako1(x, 440, 240, 50, 0);
            StepT() = 0;
            StepCount(1);
        }
        if (StepRepeatsDone(20)) {
            Chuugata2(640, 150, 180, 10);
            Chuugata2(640, 250, 180, 10);
        }
        break;
    case 2:  // falling
        if (TimedGroup(2)) {
            ScrollSpeedX -= 1;
            ScrollSpeedY = 10;
            zako1(450, 0, 120, 50, 0);
            zako1(500, 0, 122, 50, 0);
            zako1(550, 0, 120, 50, 0);
            zako1(600, 0, 120, 50, 0);
        }
        if (StepRepeatsDone(20)) {
            Chuugata6(640, 140, 180, 1.5f, 0);
            Chuugata2(640, 100, 180, 10);
            Chuugata2(640, 300, 180, 10);
            StepT() = -100;
        }
        break;
    case 3:
        if (TimedGroup(3)) {
            ScrollSpeedY = 2;
            zako11(0, 400, 0, 20, 1);
            zako11(0, 0, 0, 20, 1);
            zako8(600, -40, 90, 50, 3);
            zako8(600, 440, 270, 50, 4);
        }
        if (StepRepeatsDone(20)) {  // four from behind
            Chuugata4(-299, 0, 0, 2, 1);
            Chuugata4(-299, 110, 0, 1.5f, 1);
            Chuugata4(-299, 330, 0, 1.5f, 1);
            Chuugata4(-299, 400, 0, 2, 1);
        }
        break;
    case 4:
        if (TimedGroup(10)) {
            ScrollSpeedY = 5;
            oozako1(640, 200, 180, 30);
            zako8(-40, 0, 0, 60, 3);
            zako8(-40, 440, 0, 60, 4);
        }
        StepRepeatsDone(10);
        break;
    case 5:  // from the four corners
        if (TimedGroup(5)) {
            zako8(0, 0, 45, 50, 2);
            zako8(600, 0, 135, 50, 2);
            zako8(0, 440, 315, 50, 2);
            zako8(600, 440, 225, 50, 2);
        }
        if (StepRepeatsDone(5)) {
            Chuugata7(640, 200, 180, 1, 0);
            StepT() = -100;
            StepGoTo(7);
        }
        break;
    case 6:  // not used: step 5 goes on at 7
        StepGoTo(7);
        break;
    case 7:
        if (StepT() > 50) {
            ScrollSpeedY = 0;
            Chuugata4(640, 150, 181, 1.5f, 1);
            Chuugata4(640, 100, 180, 1, 1);
            Chuugata4(640, 350, 180, 1, 1);
            Chuugata4(640, 290, 179, 1.5f, 1);
            StepNext();
        }
        break;
    case 8:
        // Two ways on, each moving the script by its own count: three
        // Chuugata5 after a long wait (two steps on, to the sweeps), and
        // two Chuugata6 once the field is clear (one step on).
        if (StepT() >= 200 && StepR() == 0) {
            Chuugata5(500, -128, 90, 20);
            Chuugata5(500, 440, 270, 20);
            Chuugata5(640, 150, 180, 20);
            StepRepeat2 = 1;
            StageStep[4] += 2;
            StepT() = 0;
        }
        if (NoneAlive()) {
            StageStep[4] += 1;
            Chuugata6(640, 50, 180, 1.8f, 0);
            Chuugata6(-530, 250, 0, 3, 1);
            StepT() = 0;
            StepRepeat2 = 0;
        }
        break;
    case 9:
        if (!NoneAlive()) {
            ScrollSpeedY = -5;
        } else {
            StepNext();
            SpawnY = 0;
            SpawnX = 440;
            SpawnStepA = SpawnStepB = 30;
        }
        break;
    case 10:  // two lines sweeping across each other, three times
        if (TimedGroup(2)) {
            zako1(640, SpawnY, 180, 80, 0);
            zako11(640, SpawnX, 180, 50, 0);
            SpawnY += SpawnStepA;
            SpawnX -= SpawnStepB;
        }
        if (StepR() >= 15) {
            StepRepeat2 = 0;
            SpawnStepA = -SpawnStepA;
            SpawnStepB = -SpawnStepB;
            SweepCount += 1;
            for (int i = 0; i < 14; i++) {
                int y = my_rand(0, 400);
                int angle = my_rand(150, 210);
                haro(640, y, angle, 15);
            }
        }
        if (SweepCount >= 3) {
            StepNext();
            SpawnX = SpawnY = SpawnStepA = SpawnStepB = SweepCount = 0;
            Chuugata7(640, 440, 215, 2, 0);
        }
        break;
    case 11:
        if (TimedGroup(10)) {
            ScrollSpeedY = 0;
            for (int i = 0; i < 10; i++) {
                int y = my_rand(0, 400);
                zako1(640, y, 180, 35, 0);
            }
        }
        if (StepRepeatsDone(5)) {
            Chuugata2(640, 100, 175, 15);
            Chuugata2(640, 220, 180, 15);
            Chuugata2(640, 350, 185, 15);
            WaveCounter = 0;
        }
        break;
    case 12:  // fans high and low in turn
        if (TimedGroup(10)) {
            if (WaveCounter % 2 != 0) Zako1Fan(80, 160);
            else Zako1Fan(250, 330);
            WaveCounter += 1;
        }
        if (StepR() >= 10 && NoneAlive()) {
            StepRepeat2 = 0;
            StepT() = 0;
            StepNext();
        }
        break;
    case 13:
        if (StepT() >= 10) {
            robo2(440, -200, 91, 8);
            StepNext();
        }
        break;
    case 14:
        if (StepT() >= 100) {
            robo2(440, 440, 271, 5);
            StepNext();
        }
        break;
    case 15:
        if (StepT() >= 100) {
            robo2(440, -200, 90, 8);
            robo2(440, 440, 270, 5);
            StepNext();
        }
        break;
    case 16:
        ScrollSpeedY = 3;
        if (StepT() >= 20) {
            Chuugata7(640, -200, 145, 1.5f, 0);
            Chuugata7(640, 440, 215, 1.5f, 0);
            StepNext();
        }
        break;
    case 17:
        if (NoneAlive()) {
            ScrollSpeedY = 0;
            StepWarningCall("MIDI\\HA_Doll.mid");
            StepNext();
        }
        break;
    case 18:
        if (StepWarning(BOSS4[0], 25000, 500)) StepNext();
        break;
    default:  // 19 on: the boss
        StepBossPhase();
        break;
    }
}

// Stage 3's script. T is StepTimer2, R StepRepeat2, SX and SY the scroll
// speeds; "every t" is a timed group (when T >= t: spawn, T = 0, R += 1).
// A step that ends without a group keeps T.
#include "enemy/spawners.h"
#include "entity/entity.h"
#include "game/game.h"
#include "game/stage.h"
#include "core/core.h"
#include "sound/sound.h"

namespace {

// Five homing zako9 in a column.
void Zako9Column() {
    for (int j = 0; j < 5; j++) zako9(640, 100 + 50 * j, 180, 10);
}

// The four zako1 in the middle, with their speeds from top to bottom.
void Zako1Middle(float s0, float s1, float s2, float s3) {
    zako1(640, 180, 180, s0, 0);
    zako1(640, 220, 180, s1, 0);
    zako1(640, 260, 180, s2, 0);
    zako1(640, 300, 180, s3, 0);
}

// One zako2 a time unit at a random height; ends after the 51st.
void Zako2Stream() {
    if (TimedGroup(1)) {
        int y = my_rand(20, 400);
        zako2(640, y, 180, 60);
    }
    StepRepeatsDone(51);
}

}  // namespace

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
    case 1:
        if (TimedGroup(2)) Zako9Column();
        if (StepRepeatsDone(10)) zako6(600, 440, 180, 5);
        break;
    case 2:
        if (TimedGroup(10)) {
            zako8(250, 0, 90, 40, 1);
            zako8(250, 440, 270, 40, 0);
            for (int j = 0; j < 5; j++) oozako1(640, 100 + 50 * j, 180, 30);
        }
        if (StepRepeatsDone(5)) {
            static const float xs[5] = {300, 330, 380, 400, 500};
            for (float x : xs) zako6(x, 480, 180, 5);
        }
        break;
    case 3:
        if (TimedGroup(10)) {
            Zako1Middle(55, 45, 45, 55);
            zako4(640, 100, 135, 20);
            zako4(640, 300, 225, 20);
        }
        StepRepeatsDone(5);
        break;
    case 4:
        if (TimedGroup(10)) {
            Zako1Middle(35, 55, 55, 35);
            zako5(640, 100, 180, 25);
            zako5(640, 100, 135, 20);
            zako5(640, 300, 225, 20);
            zako5(640, 300, 180, 25);
        }
        if (StepRepeatsDone(5)) {  // forty zako1 in ten speeds, then a mid-size one
            for (int s = 10; s <= 100; s += 10)
                for (int y = 100; y <= 400; y += 100) zako1(640, y, 180, s, 0);
            Chuugata5(640, 150, 180, 20);
        }
        break;
    case 5:
        if (StepT() >= 50 && NoneAlive()) StepNext();
        break;
    case 6:
        if (TimedGroup(10)) {
            Chuugata2(640, 200, 165, 25);
            Chuugata2(640, 250, 195, 15);
        }
        StepRepeatsDone(2);
        break;
    case 7:  // twenty frames
        StepCount(1);
        if (StepRepeatsDone(20)) StepT() = 0;
        break;
    case 8:  // zako10 from above and below at random
        if (TimedGroup(5)) {
            int x = my_rand(100, 600);
            int angle = my_rand(55, 125);
            zako10(x, -64, angle, 10);
            x = my_rand(100, 600);
            angle = my_rand(235, 305);
            zako10(x, 479, angle, 10);
        }
        if (StepRepeatsDone(20)) SpawnY = 0;
        break;
    case 9:  // a zako9 column down the right edge...
        if (TimedGroup(1)) {
            zako9(640, SpawnY, 180, 5);
            SpawnY += 40;
        }
        StepRepeatsDone(10);
        break;
    case 10:  // ... and back up
        if (TimedGroup(1)) {
            zako9(640, SpawnY, 180, 5);
            SpawnY -= 40;
        }
        StepRepeatsDone(10);
        break;
    case 11:
        if (TimedGroup(2)) Zako9Column();
        if (StepRepeatsDone(5)) {
            zako6(600, 440, 180, 5);
            for (int y = 100; y <= 340; y += 120) Chuugata(640, y, 180, 90);
        }
        break;
    case 12:
        if (TimedGroup(20)) Chuugata2(640, 220, 180, 10);
        if (StepRepeatsDone(5)) {  // eleven ring enemies down the right edge
            for (int y = 0; y <= 410; y += 41) {
                int angle = my_rand(150, 210);
                haro(640, y, angle, 10);
            }
        }
        break;
    case 13:
        if (TimedGroup(10)) {
            for (int i = 0; i < 10; i++) {
                int y = my_rand(0, 400);
                zako10(640, y, 180, 10);
            }
        }
        StepRepeatsDone(20);
        break;
    case 14:
        if (TimedGroup(20)) {
            for (int i = 0; i < 5; i++) {
                int y = my_rand(0, 400);
                robo(640, y, 180, 20);
            }
        }
        StepRepeatsDone(1);
        break;
    case 15: Zako2Stream(); break;
    case 16:
        if (TimedGroup(1)) {
            Chuugata5(500, -128, 90, 20);
            Chuugata5(500, 440, 270, 20);
        }
        StepRepeatsDone(1);
        break;
    case 17: Zako2Stream(); break;
    case 18:
        ScrollSpeedX = -4;
        ScrollSpeedY = -1;
        if (StepT() >= 50 && NoneAlive()) {
            StepWarningCall("MIDI\\Vbattle.mid");
            StepNext();
        }
        break;
    case 19:
        if (StepWarning(BOSS3[0], 17000, 400)) StepNext();
        break;
    default:  // 20 on: the boss
        StepBossPhase();
        break;
    }
}

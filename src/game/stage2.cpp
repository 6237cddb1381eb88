// Stage 2's script. T is StepTimer2 (StepTimer in step 0), R StepRepeat2,
// SX the scroll speed; "every t" is a timed group (when T >= t: spawn,
// T = 0, R += 1). A step that ends without a group keeps T unless it says
// otherwise, so a timed step after it may fire at once.
#include "enemy/spawners.h"
#include "entity/entity.h"
#include "game/game.h"
#include "game/stage.h"
#include "core/core.h"
#include "sound/sound.h"

namespace {

// Ten zako3 in a row dropping from the top and ten climbing from the bottom.
void Zako3Rows(float speed) {
    for (int i = 0; i < 10; i++) zako3(300 + 20 * i, -40, 90, speed);
    for (int i = 0; i < 10; i++) zako3(300 + 20 * i, 440, 270, speed);
}

// Nine zako2 in a row, from the bottom (up) or the top (down).
void Zako2Row(float y, int angle) {
    for (int x = 200; x <= 600; x += 50) zako2(x, y, angle, 65);
}

// Four zako6 falling in at random places (y -100) or rising (y 480).
void Zako6Four(float y) {
    static const float speed[4] = {35, 25, 15, 35};
    for (float s : speed) {
        int x = my_rand(300, 640);
        zako6(x, y, 100, s);
    }
}

// The ring enemies of steps 12 and 13 with a zako5 or zako4 between them.
void HaroPair(void (*middle)(float, float, int, float)) {
    int r = my_rand(0, 300);
    haro(640, r, 180, 20);
    middle(640, r + 64, 180, 20);
    haro(640, r + 170, 180, 20);
}

// Six in a column at the right edge.
void SixZako1() {
    for (int j = 0; j < 6; j++) zako1(640, 100 + 40 * j, 180, 55, 0);
}

}  // namespace

void Stage2Script() {
    float r = StepR();  // repeats done before this frame's group
    switch (StageStep[2]) {
    case 0:
        ScrollSpeedX = -20;
        if (StepTimer >= 50) {
            MIDI_Play("MIDI\\Fatal.mid");
            StepNext();
        }
        break;
    case 1:
        if (TimedGroup(4)) {
            zako1(640, 200, 190, 35, 0);
            zako1(640, 240, 170, 35, 0);
        }
        StepRepeatsDone(10);
        break;
    case 2:
        if (TimedGroup(3)) zako3(640, 130, 180, 40);
        StepRepeatsDone(5);
        break;
    case 3:
        if (TimedGroup(3)) zako3(640, 330, 180, 40);
        StepRepeatsDone(5);
        break;
    case 4:
        Zako2Row(440, 270);
        StepNext();
        break;
    case 5:
        if (TimedGroup(3)) zako3(640, 330, 180, 40);
        StepRepeatsDone(5);
        break;
    case 6:
        if (TimedGroup(3)) zako3(640, 130, 180, 40);
        StepRepeatsDone(5);
        break;
    case 7:
        Zako2Row(-5, 90);
        StepNext();
        break;
    case 8:
        if (TimedGroup(4)) {
            zako1(640, 100, 150, 30, 0);
            zako1(640, 340, 210, 30, 0);
            zako1(400, 0, 60, 35, 0);
            zako1(400, 440, 300, 35, 0);
        }
        if (StepRepeatsDone(10)) {
            SpawnX = 200;
            SpawnY = 220;
        }
        break;
    case 9:  // two zako4 moving apart
        if (TimedGroup(10)) {
            zako4(640, SpawnX, 180, 25);
            zako4(640, SpawnY, 180, 25);
            SpawnX -= 30;
            SpawnY += 30;
        }
        if (StepRepeatsDone(5)) {
            Chuugata(640, 220, 180, 90);
            Chuugata2(640, 220, 180, 15);
            ScrollSpeedX = -25;
        }
        break;
    case 10:  // two zako5 closing in again
        if (TimedGroup(10)) {
            zako5(640, SpawnX, 180, 25);
            zako5(640, SpawnY, 180, 25);
            SpawnX += 30;
            SpawnY -= 30;
        }
        if (StepRepeatsDone(5)) Chuugata2(640, 220, 180, 15);
        break;
    case 11:
        if (StepT() >= 20) {
            StepNext();
            StepT() = 0;
            ScrollSpeedX = -30;
        }
        break;
    case 12:  // zako1 from behind
        if (TimedGroup(15)) {
            zako1(-64, 0, 0, 40, 1);
            zako1(-64, 400, 0, 40, 1);
            zako1(-64, 40, 0, 30, 1);
            zako1(-64, 360, 0, 30, 1);
            HaroPair(zako5);
        }
        if (StepRepeatsDone(5)) {
            Chuugata(640, 220, 180, 90);
            robo(640, 150, 180, 20);
            ScrollSpeedX = -35;
        }
        break;
    case 13:
        if (TimedGroup(15)) {
            zako1(-64, 40, 0, 40, 1);
            zako1(-64, 360, 0, 40, 1);
            zako1(-64, 0, 0, 30, 1);
            zako1(-64, 400, 0, 30, 1);
            HaroPair(zako4);
            ScrollSpeedX -= 2;
        }
        StepRepeatsDone(5);
        break;
    case 14:
        if (StepT() >= 30) {
            Chuugata(640, 220, 180, 90);
            ScrollSpeedX = -50;
            StepNext();
        }
        break;
    case 15:
        if (TimedGroup(7)) {
            zako1(640, 100, 170, 55, 0);
            zako1(640, 340, 190, 55, 0);
            oozako1(500, -100, 90, 20);
            oozako1(400, 440, 270, 20);
            oozako1(640, 150, 180, 30);
            oozako1(640, 268, 180, 30);
        }
        if (StepRepeatsDone(10)) {
            Zako3Rows(30);
            Chuugata2(640, 220, 180, 15);
        }
        break;
    case 16:
        if (StepT() >= 20) {
            StepNext();
            SpawnY = 0;
        }
        break;
    case 17:  // walls of small enemies, with one, then two mid-size ones
        if (TimedGroup(30)) {
            if (r == 1) Chuugata2(640, 220, 180, 15);
            if (r == 2) {
                Chuugata2(640, 100, 170, 15);
                Chuugata2(640, 340, 190, 15);
            }
            for (int j = 0; j < 10; j++) zako1(640, 40 * j, 180, 30, 0);
            for (int j = 0; j < 10; j++) zako2(300 + 30 * j, -60, 90, 45);
            for (int j = 0; j < 10; j++) zako2(300 + 30 * j, 440, 270, 45);
        }
        StepRepeatsDone(3);
        break;
    case 18:
        if (StepT() >= 10) {
            Zako3Rows(50);
            StepNext();
        }
        break;
    case 19:
        if (TimedGroup(10)) Zako6Four(-100);
        StepRepeatsDone(5);
        break;
    case 20:
        if (StepT() >= 10) {
            StepNext();
            SpawnX = 0;
            SpawnY = 390;
        }
        break;
    case 21:  // zako7 from top and bottom towards the middle, then the satellite
        if (TimedGroup(10)) {
            zako7(640, SpawnX, 180, 15);
            zako7(640, SpawnY, 180, 15);
            SpawnX += 60;
            SpawnY -= 60;
        }
        if (StepRepeatsDone(3)) {
            WarnX = 0;
            WarnPasses = 399;
            eisei(350, 0, 180, 1, 0);
            ScrollSpeedX = -70;
        }
        break;
    case 22:  // while the satellite lives, at most twenty
        if (TimedGroup(20)) {
            int y = my_rand(0, 400);
            zako1(640, y, 180, 65, 0);
        }
        if (StepR() >= 20 || NoneAlive()) {
            StepT() = 0;
            StepRepeat2 = 0;
            StepNext();
            ScrollSpeedX = -40;
            Chuugata2(500, -100, 90, 5);
            Chuugata2(400, 480, 270, 5);
        }
        break;
    case 23:
        if (TimedGroup(10)) {
            for (int y = 80; y <= 280; y += 100) {
                int angle = my_rand(140, 220);
                zako7(640, y, angle, 15);
            }
            ScrollSpeedX -= 1;
        }
        if (StepRepeatsDone(10)) StepGoTo(26);
        break;
    case 24:
    case 25:  // not used: step 23 goes on at 26
        StepGoTo(26);
        break;
    case 26:
        StepNext();
        SpawnY = 0;
        break;
    case 27:  // the scroll speeds up with every group of 27 to 29
        if (TimedGroup(5)) {
            SixZako1();
            ScrollSpeedX -= 1;
        }
        if (StepRepeatsDone(5)) SpawnY = 100;
        break;
    case 28:
        if (TimedGroup(3)) {
            for (int j = 0; j < 6; j++) zako3(640, 100 + 40 * j, 180, 40);
            ScrollSpeedX -= 1;
        }
        StepRepeatsDone(5);
        break;
    case 29:
        if (TimedGroup(2)) {
            for (int j = 0; j < 6; j++) oozako1(640, 100 + 40 * j, 180, 25);
            ScrollSpeedX -= 1;
        }
        StepRepeatsDone(10);
        break;
    case 30:
        if (StepT() >= 10) {
            robo(640, 50, 180, 20);
            Zako6Four(-100);
            StepNext();
        }
        break;
    case 31:
        if (StepT() >= 20) {
            Zako6Four(480);
            robo(640, 180, 180, 25);
            StepNext();
        }
        break;
    case 32:
        if (StepT() >= 20) {
            Chuugata(640, 220, 180, 90);
            robo(640, 320, 180, 20);
            StepNext();
        }
        break;
    case 33:
        if (StepT() >= 10 && NoneAlive()) {
            ScrollSpeedX = -5;
            StepWarningCall("MIDI\\Ravin'_U.mid");
            StepNext();
        }
        break;
    case 34:
        if (StepWarning(BOSS2[0], 12000, 250)) StepNext();
        break;
    default:  // 35 on: the boss
        StepBossPhase();
        break;
    }
}

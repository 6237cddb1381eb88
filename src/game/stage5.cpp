// Stage 5's script, the way into the fortress: T is StepTimer2, R
// StepRepeat2, SX the scroll speed and SY the y of the backdrop strip.
// "Every t" is a timed group (when T >= t: spawn, T = 0, R += 1). The
// stage stages its own bosses: three copies of the first boss in step 16,
// the fifth boss behind a WARNING in steps 24 to 26, and the last boss
// amid the fortress's fall from step 27 on (stage5_end.cpp).
#include "enemy/spawners.h"
#include "entity/entity.h"
#include "entity/heading.h"
#include "game/game.h"
#include "game/stage.h"
#include "game/stage5.h"
#include "render/render.h"
#include "core/core.h"
#include "sound/sound.h"

namespace {

// The backdrop strip drifts toward `target` one unit a frame.
void DriftUpTo(float target) {
    if (ScrollSpeedY < target) ScrollSpeedY += 1;
}
void DriftDownTo(float target) {
    if (ScrollSpeedY > target) ScrollSpeedY -= 1;
}

// "n repeats": once R has reached `limit` the script moves on with T and R
// both back at 0, whatever T the last group left behind.
bool RepeatsDone(float limit) {
    if (!StepRepeatsDone(limit)) return false;
    StepT() = 0;
    return true;
}

// Four zako4 (or zako5) at random heights from the right edge.
void FourFrigates(bool even) {
    static const int angle[4] = {180, 135, 225, 180};
    static const float speed[4] = {25, 20, 20, 25};
    for (int k = 0; k < 4; k++) {
        int y = my_rand(0, 400);
        if (even) zako4(640, y, angle[k], speed[k]);
        else zako5(640, y, angle[k], speed[k]);
    }
}

}  // namespace

// Step 15: while the sky is clear, the first boss's silhouette flies past
// three times over; the mid-boss tune comes once they are gone.
static void FlyBy() {
    DriftUpTo(0);
    if (NoneAlive()) {
        if (ScreenCoordOk(FlyX) && ScreenCoordOk(FlyY)) {
            int x = (int)FlyX, y = (int)FlyY;
            DD_DrawBitmap(x, y, Bitmap[70], 0, 0, 240, 240);
            DD_DrawBitmap(x - 200, y - 100, Bitmap[70], 0, 0, 240, 240);
            DD_DrawBitmap(x - 200, y + 100, Bitmap[70], 0, 0, 240, 240);
        }
        FlyX += 10;
    }
    if (FlyX >= 800) {
        MIDI_Play("MIDI\\3.mid");
        StepNext();
    }
}

// Step 16: the mid-boss, three copies of the first boss side by side in
// entries 0, 1 and 2 of its pool, unless entry 0 is still busy. The thin
// lasers still in flight are swept off the screen.
static void MidBossCall() {
    StepNext();
    if (BOSS1[0].flag) return;
    DS_Play(Wave[12]);
    for (int i = 0; i < 3; i++) {
        SpriteData& s = BOSS1[i];
        s = SpriteData{};
        s.flag = true;
        SpriteNoteLive(BOSS1, i);
        s.hp = 7000;
        s.x = 740;
        s.y = 120;
        s.angle = 180;
        s.speed = 5;
        s.timer = 500;
        s.fw[5] = 500;
        s.w = s.h = 240;
        s.frames = 23;
        s.bmp = 70;
        s.iw[2] = 65;
        s.iw[3] = 150;
    }
    BossBar = 500;
    StagePhase = 2;
    for (SpriteData& l : sLaser) {
        l.x = -500;
        l.y = -500;
    }
}

// Step 17: the backdrop follows the ship up and down while the mid-boss
// lives.
static void MidBossFight() {
    if (BOSS1[0].flag) {
        if (P_Ship.y < 200 && ScrollSpeedY < 600) ScrollSpeedY += 1;
        if (P_Ship.y > 280 && ScrollSpeedY > -200) ScrollSpeedY -= 1;
        return;
    }
    MIDI_Play("MIDI\\Db.MID");
    StepNext();
}

// Step 21: columns of turrets close in from both edges while mid-size
// enemies come in every fifth column. K (SpawnStepA) counts the columns.
static void TurretColumns() {
    if (BOSS1[0].flag || StepT() <= 8) return;
    StepT() = 0;
    StepCount(1);
    SpawnStepA += 1;
    for (int i = 0; i < 10; i++) {
        float x = 640 - 30 * SpawnStepA;
        if (x > 100) {
            zako10(x + 60 * i, -63, 90, 35);
            zako10(670 - 30 * SpawnStepA + 60 * i, 479, 270, 35);
        } else {
            SpawnStepA = 16;
        }
    }
    switch ((int)StepR()) {
    case 5: Chuugata5(300, -128, 80, 25); break;
    case 10: Chuugata5(300, 480, 280, 25); break;
    case 15:
        Chuugata2(300, -128, 80, 25);
        Chuugata2(640, 150, 180, 35);
        Chuugata2(640, 250, 180, 35);
        Chuugata2(300, 480, 280, 25);
        break;
    case 20:
        Chuugata2(300, -128, 90, 35);
        Chuugata2(640, 100, 180, 25);
        Chuugata2(640, 300, 180, 25);
        Chuugata2(300, 480, 270, 35);
        break;
    case 25:
        Chuugata(500, -128, 90, 85);
        Chuugata2(640, 50, 180, 35);
        Chuugata2(640, 350, 180, 35);
        Chuugata(400, 480, 270, 85);
        break;
    case 30:
        Chuugata4(500, -39, 110, 2, 1);
        Chuugata7(640, -200, 145, 1, 0);
        Chuugata6(640, 440, 215, 1, 0);
        break;
    case 35: Chuugata4(600, 480, 230, 3, 1); break;
    case 40:
        Chuugata4(640, 300, 180, 2, 1);
        StepNext();
        StepT() = 150;
        StepRepeat2 = 0;
        WaveCounter = -1;
        break;
    default: break;
    }
}

// Step 22: a wall of zako1 every 190 units, each with its own mid-size
// escort.
static void Zako1Walls() {
    if (StepT() <= 190) return;
    StepT() = 0;
    WaveCounter += 1;
    for (int i = 0; i < 10; i++) zako1(640, 40 * i, 180, 50, 0);
    switch (WaveCounter) {
    case 0: Chuugata9(640, 50, 150, 2); StepT() = 140; break;
    case 1: Chuugata9(640, 150, 170, 1); StepT() = 150; break;
    case 2: Chuugata9(640, 250, 180, 3); StepT() = 160; break;
    case 3: Chuugata9(640, 350, 200, 1); StepT() = 170; break;
    case 4:
        Chuugata(640, 120, 180, 90);
        Chuugata9(640, 300, 180, 2);
        Chuugata9(640, 150, 170, 1);
        Chuugata9(540, -159, 85, 3);
        Chuugata9(440, 480, 275, 3);
        StepT() = 140;
        break;
    case 5:
        Chuugata(640, 220, 180, 90);
        Chuugata9(640, 300, 180, 1);
        Chuugata9(640, 150, 170, 2);
        Chuugata9(540, -159, 85, 3);
        Chuugata9(440, 480, 275, 3);
        break;
    case 6:
        StepNext();
        WaveCounter = 0;
        break;
    default: break;
    }
}

// Step 23: columns of zako3; every fourth column a line of zako11 and a
// mid-size enemy, eight times, then a swarm of turrets.
static void Zako3Columns() {
    if (StepT() <= 5) return;
    StepT() = 0;
    StepCount(1);
    for (int i = 0; i < 10; i++) zako3(640, 45 * i, 180, 40);
    if ((int)StepR() % 4 != 0) return;
    WaveCounter += 1;
    if (WaveCounter >= 1 && WaveCounter <= 8) {
        for (int i = 0; i < 10; i++) zako11(650, 50 * WaveCounter, 180, 5 * i, 0);
        switch (WaveCounter) {
        case 1: Chuugata(640, 300, 180, 90); break;
        case 2: Chuugata(640, 60, 180, 90); break;
        case 3: Chuugata(640, 180, 180, 90); break;
        case 4: Chuugata(640, 30, 180, 90); break;
        case 5:
            Chuugata9(640, 300, 180, 1);
            Chuugata9(640, 150, 180, 1);
            Chuugata(440, -127, 90, 90);
            break;
        case 6: Chuugata(540, 440, 270, 90); break;
        case 7: Chuugata(340, -120, 70, 90); break;
        default: Chuugata(440, 440, 250, 90); break;
        }
    }
    if (WaveCounter < 9) return;
    for (int i = 0; i < 40; i++) {
        int x = my_rand(100, 600);
        int angle = my_rand(55, 125);
        int speed = my_rand(1, 40);
        zako10(x, -64, angle, speed);
        x = my_rand(100, 600);
        angle = my_rand(235, 305);
        speed = my_rand(1, 40);
        zako10(x, 479, angle, speed);
    }
    StepNext();
    StepT() = 0;
    StepRepeat2 = 0;
    WaveCounter = 0;
}

// Step 24: the last waves before the fifth boss, one sub-sequence after
// the other (WaveCounter), each when T has passed 50; after the last one
// the sky is looked at every 50 units, and once it is clear, the WARNING.
static void LastWaves() {
    if (StepT() <= 50) return;
    StepT() = 0;
    if (WaveCounter >= 8) {
        if (NoneAlive()) {
            DS_Play(Wave[7]);
            WarnX = 0;
            WarnPasses = 0;
            WallPos = 0;  // the fortress's gate stands closed behind the banner
            StepNext();
        }
        return;
    }
    float r = StepR();
    switch (WaveCounter) {
    case 0:
        zako3(640, 100 + 45 * r, 180, 40);
        zako3(640, 440 - 45 * r, 180, 40);
        StepCount(1);
        StepT() = 49;
        if (StepR() >= 10) {
            WaveCounter += 1;
            StepRepeat2 = 0;
            StepT() = 45;
        }
        break;
    case 1: {
        StepT() = 25;
        StepCount(1);
        int x = my_rand(200, 500);
        Chuugata9(x, 480, 250, 4);
        if (StepR() >= 5) {
            WaveCounter += 1;
            StepRepeat2 = 0;
            StepT() = 0;
        }
        break;
    }
    case 2:
        Chuugata2(300, -100, 90, 5);
        Chuugata2(400, 480, 270, 7);
        Chuugata2(500, -100, 90, 9);
        Chuugata2(600, 480, 270, 11);
        StepT() = 40;
        WaveCounter += 1;
        break;
    case 3:
        for (int i = 0; i < 90; i++) {
            int y = my_rand(0, 420);
            int angle = my_rand(175, 185);
            int speed = my_rand(1, 50);
            zako10(640, y, angle, speed);
        }
        StepT() = 10;
        WaveCounter += 1;
        break;
    case 4:
        Chuugata4(640, 120, 180, 2, 0);
        Chuugata4(640, 320, 180, 2, 0);
        StepT() = 30;
        WaveCounter += 1;
        break;
    case 5:
        Chuugata4(0, -100, 45, 1, 1);
        Chuugata4(0, 480, 325, 1, 1);
        for (int i = 0; i < 9; i++) zako3(640, 45 * i, 180, 40);
        Chuugata(640, 180, 180, 90);
        robo(640, 150, 180, 20);
        robo(640, 350, 180, 20);
        robo(540, -150, 100, 20);
        robo(440, 480, 280, 20);
        WaveCounter += 1;
        StepRepeat2 = 0;
        StepT() = 0;
        break;
    case 6:
        for (int i = 0; i < 4; i++) {
            haro(450 + 40 * i, 480, 260, 20);
            haro(450 + 40 * i, -64, 100, 20);
        }
        StepCount(1);
        StepT() = 40;
        if (StepR() >= 11) {
            WaveCounter += 1;
            StepRepeat2 = 0;
        }
        break;
    default:  // 7
        Chuugata(640, 180, 180, 90);
        Chuugata9(340, 470, 260, 5);
        Chuugata9(340, -159, 80, 4);
        Chuugata9(540, -159, 100, 2);
        robo2(440, 440, 270, 5);
        robo2(440, -200, 92, 5);
        robo2(440, 440, 265, 15);
        WaveCounter += 1;
        break;
    }
}

void Stage5Script() {
    float r = StepR();  // repeats done before this frame's group
    switch (StageStep[5]) {
    case 0:
        ScrollSpeedX = -50;
        ScrollSpeedY = 100;
        if (StepT() >= 10) {
            MIDI_Play("MIDI\\Db.MID");
            StepNext();
        }
        break;
    case 1:
        if (TimedGroup(5)) {
            int x = my_rand(300, 500);
            int speed = my_rand(10, 40);
            zako7(x, 440, 270, speed);
        }
        if (RepeatsDone(10)) StepT() = -10;
        break;
    case 2:
        if (TimedGroup(15)) {
            for (int y = 100; y <= 300; y += 100) {
                int angle = my_rand(170, 190);
                Chuugata2(640, y, angle, 15);
            }
            ScrollSpeedY -= 1;
        }
        RepeatsDone(5);
        break;
    case 3:
        DriftUpTo(250);
        if (StepT() >= 10) {
            Chuugata4(-260, 150, 0, 1.5f, 0);
            Chuugata4(640, 100, 180, 3, 0);
            Chuugata4(640, 350, 180, 3, 0);
            Chuugata4(-260, 290, 0, 1.5f, 0);
            eisei(640, 440, 220, 1, 1);
            StepNext();
        }
        break;
    case 4:  // the first group after 200 units, then one every 5
        if (StepT() >= 200) {
            oozako1(450, -100, 130, 30);
            oozako1(400, 480, 230, 30);
            oozako1(640, 150, 180, 30);
            oozako1(640, 268, 180, 30);
            StepT() = 195;
            StepCount(1);
        }
        if (RepeatsDone(20)) eisei(-440, 40, 0, 1, 1);
        break;
    case 5:
        if (StepT() >= 50) {
            ScrollSpeedY += 1;
            zako9(640, 10, 180, 10);
            zako9(640, 400, 180, 10);
            StepT() = 49;
            StepCount(1);
        }
        if (RepeatsDone(20)) Chuugata(640, 120, 180, 90);
        break;
    case 6:
        if (TimedGroup(1)) {
            ScrollSpeedY += 1;
            zako9(640, 50, 180, 10);
            zako9(640, 100, 180, 10);
        }
        if (RepeatsDone(20)) Chuugata(640, 320, 180, 90);
        break;
    case 7:
        if (TimedGroup(1)) {
            ScrollSpeedY -= 1;
            zako9(640, 320, 180, 10);
            zako9(640, 370, 180, 10);
        }
        if (RepeatsDone(20)) Chuugata(640, 220, 180, 90);
        break;
    case 8:
        if (TimedGroup(10)) {
            Chuugata2(640, 40, 150, 10);
            Chuugata2(640, 370, 210, 10);
        }
        RepeatsDone(1);
        break;
    case 9:
        if (TimedGroup(5)) zako10(640, 40 * r, 180, 10);
        RepeatsDone(10);
        break;
    case 10:
        if (StepT() >= 10) {
            ScrollSpeedY -= 1;
            zako10(640, 440 - 40 * r, 180, 10);
            StepT() = 5;
            StepCount(1);
        }
        RepeatsDone(10);
        break;
    case 11:  // from the left edge, one a frame once the first is out
        DriftDownTo(-250);
        if (StepT() >= 10) {
            int speed = my_rand(1, 15);
            zako10(-64, 40 * r, 0, speed);
            StepT() = 10;
            StepCount(1);
        }
        RepeatsDone(10);
        break;
    case 12:
        DriftDownTo(-280);
        if (ScrollSpeedY <= -280 && NoneAlive()) {
            Chuugata3(-550, 200, 0, 20);
            StepNext();
        }
        break;
    case 13:
        if (StepClearWait()) {
            StepT() = 0;
            StepRepeat2 = 0;
        }
        break;
    case 14:
        DriftUpTo(0);
        if (StepT() >= 23) {
            FourFrigates((int)r % 2 == 0);
            StepT() = 19;
            StepCount(1);
        }
        if (RepeatsDone(50)) {
            eisei(180, 480, 275, 1, 1);
            eisei(640, 100, 175, 1, 1);
            FlyX = -400;
            FlyY = 150;
        }
        break;
    case 15: FlyBy(); break;
    case 16: MidBossCall(); break;
    case 17: MidBossFight(); break;
    case 18:  // up out of the sky, toward the fortress
        ScrollSpeedY += 1;
        if (ScrollSpeedY >= 700) {
            ScrollSpeedY = 0;
            BigPicX = 640;
            BigPicRow = 479;
            StepNext();
        }
        break;
    case 19:  // the fortress's front slides in (drawn late in the frame)
        BigPicX -= 5;
        if (BigPicRow < 0) {
            ScrollSpeedX = -48;
            ScrollSpeedY = 0;
            StepNext();
        }
        break;
    case 20:  // inside: no last boss yet
        for (int i = 0; i < BOSS_MAX - 1; i++) LBOSS[i].flag = false;
        StepT() = 180;
        StepRepeat2 = 0;
        WaveCounter = 0;
        StepNext();
        break;
    case 21: TurretColumns(); break;
    case 22: Zako1Walls(); break;
    case 23: Zako3Columns(); break;
    case 24: LastWaves(); break;
    default: Stage5Finale(); break;  // 25 on
    }
}

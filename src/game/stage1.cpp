// Stage 1's script. T is StepTimer, R is StepRepeat; "every t" is a timed
// group (when T >= t: spawn, T = 0, R += 1). Every zako1 of this stage comes
// in with variant 0.
#include "enemy/spawners.h"
#include "entity/entity.h"
#include "game/game.h"
#include "game/stage.h"
#include "core/core.h"
#include "sound/sound.h"

namespace {

struct SpawnPoint {
    float x, y;
    int angle;
    float speed;
};

// Group A: the zako1 entry points.
const SpawnPoint A[7] = {
    {680, 50, 180, 30},  {680, 100, 180, 30}, {680, 300, 180, 30}, {680, 350, 180, 30},
    {680, 100, 170, 35}, {680, 220, 180, 35}, {680, 340, 190, 35},
};

// Group H: the ring enemies. H0-H4 down and H5-H9 up the right edge, H10-H14
// along the top, H15-H19 along the bottom.
const SpawnPoint H[20] = {
    {680, 120, 180, 15}, {680, 140, 180, 15}, {680, 160, 180, 15}, {680, 180, 180, 15},
    {680, 200, 180, 15}, {680, 380, 180, 15}, {680, 360, 180, 15}, {680, 340, 180, 15},
    {680, 320, 180, 15}, {680, 300, 180, 15}, {100, -30, 90, 15},  {200, -30, 90, 15},
    {300, -30, 90, 15},  {400, -30, 90, 15},  {500, -30, 90, 15},  {150, 470, 270, 15},
    {250, 470, 270, 15}, {350, 470, 270, 15}, {450, 470, 270, 15}, {550, 470, 270, 15},
};

void ZakoA(int i) { zako1(A[i].x, A[i].y, A[i].angle, A[i].speed, 0); }
void HaroH(int i) { haro(H[i].x, H[i].y, H[i].angle, H[i].speed); }

// Ten zako3 in a column from the right edge.
void Zako3Column() {
    for (int i = 0; i < 10; i++) zako3(640, 100 + 20 * i, 180, 40);
}
// Ten zako3 in a row dropping from the top, and climbing from the bottom.
void Zako3FromTop() {
    for (int i = 0; i < 10; i++) zako3(300 + 20 * i, -40, 90, 40);
}
void Zako3FromBottom() {
    for (int i = 0; i < 10; i++) zako3(300 + 20 * i, 440, 270, 40);
}
void OozakoWall() {
    for (int j = 0; j < 9; j++) oozako1(640, 50 * j, 180, 25);
}

// The growing column of steps 22 and 32, counted in ColumnCount.
bool ColumnGroup(float period) {
    if (StepTimer < period) return false;
    zako3(650, 30 + ColumnOffset, 180, 40);
    ColumnOffset += 30;
    StepTimer = 0;
    ColumnCount += 1;
    return true;
}

}  // namespace

void Stage1Script() {
    int k = StepRepeat;  // repeats done before this frame's group
    switch (StageStep[1]) {
    case 0:  // 200 quiet frames, then the stage tune
        StepTimer = 0;
        StepCount(1);
        if (StepRepeatsDone(200)) MIDI_Play("MIDI\\1ワンダータイム.mid");
        break;
    case 1:
        if (TimedGroup(3)) { ZakoA(0); ZakoA(1); }
        if (StepRepeatsDone(5)) Zako3Column();
        break;
    case 2: StepPause(); break;
    case 3:
        if (TimedGroup(3)) { ZakoA(2); ZakoA(3); }
        if (StepRepeatsDone(5)) Zako3Column();
        break;
    case 4: StepPause(); break;
    case 5:
        if (TimedGroup(5)) { ZakoA(4); ZakoA(5); ZakoA(6); }
        StepRepeatsDone(10);
        break;
    case 6: StepPause(); break;
    case 7:
        if (TimedGroup(1)) zako2(580, 440, 270, 50);
        StepRepeatsDone(21);
        break;
    case 8:
        if (StepPause()) OozakoWall();
        break;
    case 9:
        if (TimedGroup(3)) {
            zako1(640, 10, 160, 30, 0);
            zako1(640, 50, 150, 30, 0);
            zako1(640, 390, 210, 30, 0);
            zako1(640, 430, 230, 30, 0);
        }
        StepRepeatsDone(20);
        break;
    case 10: StepPause(); break;
    case 11:
        if (TimedGroup(1)) {
            zako2(640, 40 + 40 * k, 180, 20);
            zako2(640, 40 + 40 * k, 180, 40);
        }
        if (StepRepeatsDone(10)) Zako3FromTop();
        break;
    case 12: StepPause(); break;
    case 13:
        if (TimedGroup(5)) { ZakoA(4); ZakoA(5); ZakoA(6); }
        if (StepRepeatsDone(10)) Zako3FromBottom();
        break;
    case 14:
        if (StepPause()) {
            OozakoWall();
            Zako3FromTop();
            Zako3FromBottom();
        }
        break;
    case 15:
        if (TimedGroup(1)) zako1(680, 400 - 20 * k, 180, 30, 0);
        StepRepeatsDone(20);
        break;
    case 16: StepPause(); break;
    case 17:  // one ring enemy a frame, H0 to H9
        if (HaroIndex < 10) HaroH(HaroIndex);
        HaroIndex++;
        if (HaroIndex >= 10) StepNext();
        break;
    case 18:
        if (StepPause()) StepTimer = 0;
        break;
    case 19:  // the other ten at once and the first mid-size enemy
        for (int i = 10; i < 20; i++) HaroH(i);
        Chuugata(640, 200, 180, 90);
        StepTimer = 1;
        StepGoTo(22);
        break;
    case 20:
    case 21:  // not used: step 19 goes on at 22
        StepGoTo(22);
        break;
    case 22:  // a column, one a time unit while no mid-size enemy lives
        if (NoneAlive()) ColumnGroup(1);
        if (ColumnCount >= 10) {
            ColumnOffset = 0;
            ColumnCount = 0;
            StepNext();
        }
        break;
    case 23: StepClearWait(); break;
    case 24:
        if (StepClearWait()) Chuugata(640, 200, 180, 90);
        break;
    case 25: StepClearWait(); break;
    case 26: StepClearWait(); break;
    case 27:
        if (TimedGroup(5)) {
            int y = my_rand(0, 440);
            haro(640, y, 180, 25);
        }
        if (StepRepeatsDone(21)) Chuugata4(640, 220, 180, 2.0f, 0);
        break;
    case 28:
        if (TimedGroup(5)) {
            ZakoA(0); ZakoA(1); ZakoA(2); ZakoA(3);
            StepCount(1);  // this step counts two a group
        }
        StepRepeatsDone(20);
        break;
    case 29:
        if (TimedGroup(2)) {
            zako2(580, -20, 90, 50);
            zako1(640, 100, 160 + k, 50, 0);
            zako1(640, 140, 160 + k, 50, 0);
        }
        StepRepeatsDone(20);
        break;
    case 30:
        if (StepTimer >= 5) {
            StepTimer = 0;
            StepNext();
        }
        break;
    case 31:
        if (TimedGroup(2)) {
            zako2(580, 440, 270, 50);
            zako1(640, 200, 200 - k, 50, 0);
            zako1(640, 240, 200 - k, 50, 0);
        }
        if (StepRepeatsDone(20)) StepTimer = 0;
        break;
    case 32:
        ColumnGroup(2);
        if (ColumnCount >= 12) {
            ColumnCount = 0;
            StepNext();
        }
        break;
    case 33:
        if (StepTimer >= 50 && NoneAlive()) {
            DS_Play(Wave[7]);  // the warning sound
            StepTimer = 0;
            StepNext();
        }
        break;
    case 34:
        if (StepWarning(BOSS1[0], 7000, 200)) StepNext();
        break;
    default:  // 35 on: the boss
        if (ScrollSpeedX >= -100) ScrollSpeedX -= FrameStep;
        if (StepBossPhase()) MIDI_Play("MIDI\\3.mid");
        break;
    }
}

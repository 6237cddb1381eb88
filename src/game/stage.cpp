// Stage flow: backgrounds and clouds, the step-machine helpers shared by the
// five scripts, the WARNING, the boss hand-over and the stage-clear wipe.
#include "game/stage.h"
#include "enemy/effects.h"
#include "enemy/spawners.h"
#include "entity/entity.h"
#include "game/frame.h"
#include "game/game.h"
#include "render/render.h"
#include "core/core.h"
#include "sound/sound.h"

// The stage whose script is running: 1 counts with StepTimer/StepRepeat,
// 2..5 with StepTimer2/StepRepeat2.
int ScriptStage = 1;  // the stage whose script the step helpers work on

// ---- Backgrounds ----------------------------------------------------------

// Stage 1's clouds drift with the scroll, one and a half times as fast as
// their own speed says, and a new one comes in now and then.
static void Clouds() {
    SpriteWalk(kumo, [](SpriteData& s) {
        s.x += ScrollSpeedX * s.speed * FrameStep * 1.5f;
        s.y += ScrollSpeedY * s.speed * FrameStep * 1.5f;
        if (s.x <= -250.0f || s.x >= 700.0f || s.y <= -450.0f || s.y >= 800.0f) {
            SpriteRelease(s);
            return;
        }
        SpriteDraw(s);
        SpriteAnime(&s.anim, &s.frame, &s.frames);
    });
    if (my_rand(0, 100) >= 98) {
        int x = my_rand(640, 699);
        int y = my_rand(-400, 800);
        Kumo((float)x, (float)y, 180, 0.9f);
    }
}

void StageBackground() {
    switch (StageNo) {
    case 1:
        DD_DrawTile(ScrollSpeedX, ScrollSpeedY, Bitmap[60], 0, 0, 640, 480, false);
        Clouds();
        break;
    case 2:
        DD_DrawTile(ScrollSpeedX, 0, Bitmap[63], 0, 0, 640, 480, true);
        break;
    case 3:
        DD_DrawTile2(ScrollSpeedY, 0, Bitmap[65], 0, 0, 640, 480, true);
        DD_DrawTile(ScrollSpeedX, 0, Bitmap[64], 0, 0, 640, 480, true);
        break;
    case 4:
        DD_DrawTile(ScrollSpeedX, ScrollSpeedY, Bitmap[60], 0, 0, 640, 480, false);
        break;
    case 5: {
        // The sky strip until the big foreground picture has moved past,
        // then the space strip (ScrollSpeedY is the strip's y here).
        int step = StageStep[5];
        if (step < 19)
            DD_DrawTile3(ScrollSpeedX, ScrollSpeedY, Bitmap[67], 0, 0, 640, 800);
        if ((step >= 20 && step <= 31) || (step >= 19 && step <= 32 && BigPicX < -199.0f))
            DD_DrawTile3(ScrollSpeedX, ScrollSpeedY, Bitmap[170], 0, 0, 640, 480);
        break;
    }
    default:
        break;  // the staff roll has no background
    }
}

// ---- The scripts ----------------------------------------------------------

void StageScript() {
    // While the stage-clear picture opens, the next stage waits.
    if (StagePhase == 5) return;
    ScriptStage = StageNo;
    switch (StageNo) {
    case 1:
        Stage1Script();
        FrameTick++;
        break;
    case 2: Stage2Script(); break;
    case 3: Stage3Script(); break;
    case 4: Stage4Script(); break;
    case 5: Stage5Script(); break;
    default: break;  // 6: the staff roll runs on its own
    }
}

float& StepT() { return ScriptStage == 1 ? StepTimer : StepTimer2; }

float StepR() { return ScriptStage == 1 ? (float)StepRepeat : StepRepeat2; }

void StepCount(float n) {
    if (ScriptStage == 1) StepRepeat += (int)n;
    else StepRepeat2 += n;
}

static void StepClearRepeats() {
    if (ScriptStage == 1) StepRepeat = 0;
    else StepRepeat2 = 0.0f;
}

void StepNext() { StageStep[ScriptStage]++; }

void StepGoTo(int step) { StageStep[ScriptStage] = step; }

bool TimedGroup(float period) {
    float& t = StepT();
    if (t < period) return false;
    t = 0.0f;
    StepCount(1);
    return true;
}

bool StepRepeatsDone(float limit) {
    if (StepR() < limit) return false;
    StepClearRepeats();
    StepNext();
    return true;
}

bool StepPause() {
    if (StepT() < StepWait) return false;
    StepNext();
    return true;
}

bool NoneAlive() { return MidEnemyCount == 0; }

bool StepClearWait() {
    if (!NoneAlive()) return false;
    StepNext();
    return true;
}

// ---- WARNING and the boss -------------------------------------------------

void DrawEnergyBar() {
    int length = BossBar > 500 ? 500 : BossBar;
    for (int i = 0; i <= length; i++) DD_DrawBitmap(100 + i, 440, Bitmap[11], 0, 0, 1, 10);
}

// hp / full * 500, truncated; values far outside the bar are held so the
// conversion stays defined.
static int BarLength(float hp, float full) {
    float v = hp / full * 500.0f;
    if (!(v > -1.0e6f)) return -1000000;  // also catches not-a-number
    if (v > 1.0e6f) return 1000000;
    return (int)v;
}

void StepWarningCall(const char* tune) {
    DS_Play(Wave[7]);
    MIDI_Play(tune);
    WarnX = 0.0f;
    WarnPasses = 0.0f;
}

bool StepWarning(SpriteData& boss, float full, float rate) {
    if (ScrollSpeedX <= -5.0f) ScrollSpeedX += FrameStep;
    BossBar = BarLength(boss.hp, full);
    boss.hp += rate * FrameStep;

    WarnX += FrameStep * 20.0f;
    if (WarnX > 577.0f) {
        WarnX = 0.0f;
        WarnPasses += 1.0f;
    } else {
        int x = (int)WarnX;
        DD_DrawBitmap(31 + x, 126, Bitmap[12], x, 0, x + 40, 227);
    }
    DD_DrawBitmap(0, 0, Bitmap[14], 0, 0, 640, 480);

    if (boss.hp < full) DrawEnergyBar();
    else boss.hp = full;

    if (WarnPasses < 2.0f) return false;
    WarnX = 0.0f;
    WarnPasses = 639.0f;
    return true;
}

bool StepBossPhase() {
    StepT() = 0.0f;
    StepClearRepeats();
    if (ScriptStage != 1) StepTimer = 0.0f;
    if (StagePhase != 1) return false;
    StagePhase = 0;  // the boss is created later in this frame
    DrawEnergyBar();
    return true;
}

// ---- Stage clear ----------------------------------------------------------

// The stage-clear picture in 3-pixel columns every 4 pixels: from the left
// edge up to WarnX and from WarnPasses to the right edge.
static void WipeColumns() {
    for (int x = 0; x <= WarnX && x < 640; x += 4) DD_DrawBitmap(x, 0, Bitmap[13], x, 0, x + 3, 480);
    if (!(WarnPasses > -1000.0f) || WarnPasses >= 640.0f) return;  // nothing on screen
    for (int x = (int)WarnPasses; x < 640; x += 4) DD_DrawBitmap(x, 0, Bitmap[13], x, 0, x + 3, 480);
}

void StageClearWipe() {
    if (StagePhase == 4) {
        // The picture closes in from both sides.
        if (WarnX <= 640.0f) {
            WipeColumns();
            WarnX += 4.0f;
            WarnPasses -= 4.0f;
            return;
        }
        if (StageNo <= 5) StageClearRecords();
        DD_DrawBitmap(0, 0, Bitmap[13], 0, 0, 640, 480);
        EffectCountersReset();
        StagePhase = 5;
        StageNo += 1;
        PlayerStock += 1;
        DS_Play(Wave[10]);
        if (StageNo == 7) GameComplete();
    } else if (StagePhase == 5) {
        // ... and opens on the next stage.
        WipeColumns();
        WarnX -= 4.0f;
        WarnPasses += 4.0f;
        if (WarnX < 0.0f) StagePhase = 1;
    }
}

void StageFlowReset() {
    for (int& step : StageStep) step = 0;
    StepTimer = StepTimer2 = 0.0f;
    StepRepeat = 0;
    StepRepeat2 = 0.0f;
    StepWait = 20.0f;
    StagePhase = 1;
    ScrollSpeedX = -50.0f;
    ScrollSpeedY = 0.0f;
    WarnX = WarnPasses = 0.0f;
    MidEnemyCount = 0;
    // Stage 1's column and ring-enemy table start over in the next game.
    ColumnOffset = ColumnCount = 0.0f;
    HaroIndex = 0;
    SpawnX = SpawnY = SpawnStepA = SpawnStepB = SweepCount = 0.0f;
    WaveCounter = 0;
    // Stage 5's fly-by, fortress front and gate.
    FlyX = FlyY = 0.0f;
    BigPicX = BigPicRow = 0.0f;
    LastBossCalled = false;
    WallPos = -500.0f;
}

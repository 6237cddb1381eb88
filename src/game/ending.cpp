// Around the player's lives and the end of a game: the game-over screen,
// the return to the title, the records kept at every stage clear, the
// staff roll after stage 5 and the completed game.
#include "game/hud.h"

#include <cstring>

#include "game/bosses.h"
#include "enemy/effects.h"
#include "entity/entity.h"
#include "game/frame.h"
#include "game/game.h"
#include "game/score.h"
#include "game/scene.h"
#include "game/stage.h"
#include "player/player.h"
#include "render/render.h"
#include "core/input.h"
#include "core/core.h"
#include "sound/sound.h"

static void ShipBackAtStart() {
    P_Ship.flag = true;
    P_Ship.x = 0.0f;
    P_Ship.y = 220.0f;
}

void ReturnToTitle() {
    Scene = SCENE_TITLE;  // the intro plays again (the new game set its long logo)
    StageNo = 1;
    StageFlowReset();
    EndingStep = 0;
    BombPulse = 0;
    BombTime = 0.0f;      // no barrage left over for the next game
    LevelUpFlag = 0;
    LevelUpTime = 0.0f;
    JewelValue = 0;
    JewelStep = 0;
    Weapon = 0;
    ShotCool = 0.0f;
    BossReset();
    SpriteClearAll();
    EffectCountersReset();
    // The run records of the game just ended stay in the record until the
    // next game starts: the Escape that follows a completed game saves them.
}

// While no life is left the game-over picture covers the game, which runs
// on underneath, until a shot key is pressed.
void GameOverScreen() {
    if (PlayerStock != 0) return;
    DD_DrawBitmap(0, 0, Bitmap[16], 0, 0, 640, 480);
    GetJoy(0, &JoyData.button[0]);
    Key_Input(VK_SPACE, &KeyData.space);
    Key_Input(VK_SHIFT, &KeyData.shift);
    if (JoyData.button[0] != KEY_PUSH && KeyData.space != KEY_PUSH && KeyData.shift != KEY_PUSH) return;
    DataSave();
    LeaveGameToTitle();
}

void LeaveGameToTitle() {
    ShipBackAtStart();
    MIDI_Stop();
    dat.score = 0;
    ReturnToTitle();
}

static void CopyJewels(int32_t set[5]) {
    for (int i = 0; i < 5; i++) set[i] = JewelCount[i];
}

// Once the stage-clear picture has closed. Equal scores never replace a
// record.
void StageClearRecords() {
    int k = StageNo - 1;
    if (k < 0 || k > 4) return;
    int64_t score = dat.score;
    Score2 = score - Score2;  // this stage's own score
    GameStageScore[k] = Score2;
    CopyJewels(GameStageJewel[k]);
    if (GamePractice == PRACTICE_STAGE) {  // a practice leaves the record alone
        Score2 = score;
        return;
    }
    dat.runscore[k] = score;
    CopyJewels(dat.runjewel[k]);
    if (Score2 > dat.stagebest[k]) {
        dat.stagebest[k] = Score2;
        CopyJewels(dat.stagebestjewel[k]);
    }
    if (score > dat.clearbest[k]) {
        dat.clearbest[k] = score;
        CopyJewels(dat.clearbestjewel[k]);
        if (k == 4) {  // the best run through all five stages
            std::memcpy(dat.bestrun, dat.runscore, sizeof dat.bestrun);
            std::memcpy(dat.bestrunjewel, dat.runjewel, sizeof dat.bestrunjewel);
            DataStampTime(&dat.bestruntime);
        }
    }
    Score2 = score;
}

// ---- The staff roll -------------------------------------------------------

struct RollLine {
    int offset;
    const char* text;
    int x;
    int r, g, b;
};

// The credits. The game is made by one team; the lines name its roles.
static const RollLine kRoll[] = {
    {0, "Quellstorm Ver2", 30, 255, 0, 0},
    {40, "STAFF", 80, 255, 255, 255},
    {80, "PROGRAM", 30, 255, 0, 0},
    {110, "TEAM QSM", 30, 255, 255, 255},
    {150, "Character Design", 30, 0, 255, 0},
    {180, "Ship Artist", 30, 0, 0, 200},
    {210, "Enemy Artist", 30, 200, 100, 100},
    {240, "Boss Artist", 30, 100, 0, 250},
    {270, "Effect Artist", 30, 255, 255, 255},
    {310, "BackGround Design", 30, 0, 0, 255},
    {340, "Sky and Forest Artist", 30, 0, 0, 200},
    {370, "Cavern and Fortress Artist", 30, 255, 255, 255},
    {410, "Web Design", 30, 255, 255, 255},
    {440, "TEAM QSM", 30, 255, 255, 255},
    {480, "Test Players", 30, 255, 0, 0},
    {510, "First Tester", 30, 0, 0, 200},
    {540, "Second Tester", 30, 250, 0, 0},
    {570, "Third Tester", 30, 0, 0, 250},
    {600, "Fourth Tester", 30, 255, 255, 255},
    {630, "Fifth Tester", 30, 255, 255, 255},
    {670, "Special thanx", 30, 255, 255, 0},
    {700, "Composer", 30, 100, 255, 100},
    {730, "Sound Designer", 30, 100, 255, 100},
    {760, "Font Makers", 30, 100, 255, 100},
    {790, "Everyone Who Played", 30, 100, 255, 100},
    {820, "And････", 30, 100, 255, 100},
    {850, "YOU", 30, 100, 255, 100},
    {1150, "Thank You For Playing !!!", 30, 255, 255, 0},
};

// Stage 6: the credits roll up; a held shot key speeds them up once the
// first line has risen above y 400. When the last line is gone the
// stage-clear picture closes as after any stage.
void StaffRoll() {
    if (StageNo != 6) return;
    if (EndingStep == 0) {
        RollY = ROLL_START_Y;
        WarnX = 0.0f;
        WarnPasses = 639.0f;
        EndingStep = 1;
    }
    if (EndingStep != 1) return;
    for (const RollLine& l : kRoll) {
        float y = RollY + l.offset;
        if (y > -100.0f && y < 600.0f) DD_FontShow(l.text, 40, l.x, (int)y, l.r, l.g, l.b, false);
    }
    bool held = KeyData.space == KEY_HOLD || KeyData.shift == KEY_HOLD || JoyData.button[0] == KEY_HOLD;
    if (held && RollY < ROLL_FAST_BELOW) RollY -= FrameStep * 30;
    RollY -= FrameStep * 3;
    if (RollY + ROLL_END < 0.0f) {
        EndingStep = 2;
        StagePhase = 4;
    }
}

// The clear after the staff roll: one more completed game, and back to
// the title without saving (the next Escape or game over saves).
void GameComplete() {
    dat.clearcount += 1;
    ShipBackAtStart();
    MIDI_Stop();
    dat.score = 0;
    ReturnToTitle();
}

// Game-wide state shared by the scenes, the stage flow, the HUD and the
// game frame. Everything here lives for the whole run.
#pragma once
#include <cstdint>

// Scenes.
enum { SCENE_INSTRUCTIONS = -1, SCENE_TITLE = 0, SCENE_GAME = 1 };
extern int Scene;        // -1 instructions, 0 loading/intro/title/options, 1 game
extern int StageNo;      // current stage 1..5, 6 the staff roll
extern int PlayerStock;  // lives left
extern int BombStock;    // bombs left, and the fire power of every weapon (0..6)

// The title sequence.
extern int MenuState;    // 0 logo, 1..N letters, N+1/N+2 title, N+3 options
extern int TitleCursor;  // 0 GAME START, 1 OPTION
extern int OptionRow;    // selected options row 0..3
extern float LogoTimer;
extern float LogoSize;
extern float WallPos;    // -500 open .. 0 closed
extern float TitlePhase;
extern float TitleAlpha;
extern int Loaded;
extern int JewelCount[5];

// The options chosen on the title screen (not saved).
struct OPTIONDATA {
    int Difficulty;  // 0 EASY, 1 NORMAL, 2 HARD, 3 SPECIAL
    int DifficultyIndex;
    int Players;
    int PlayersIndex;
    int StartStage;
    int StartStageIndex;
    int PowerStock;
    int PowerStockIndex;
};
extern OPTIONDATA OPTION;
enum { EASY = 0, NORMAL = 1, HARD = 2, SPECIAL = 3 };

// The stage flow.
extern int StagePhase;       // 1 script, 0 create the boss, 2 boss fight, 4 wipe in, 5 wipe out
extern int StageStep[6];     // current step of each stage's script (index = stage)
extern float StepTimer;      // accumulator of stage 1's script
extern float StepTimer2;     // accumulator of stages 2..5
extern int StepRepeat;
extern float StepRepeat2;
extern float ColumnOffset;
extern float ColumnCount;
extern int HaroIndex;
extern int FrameTick;
extern float StepWait;       // the standard pause between groups: 20
extern float ScrollSpeedX, ScrollSpeedY;
extern int MidEnemyCount;    // live mid-size enemies
extern float WarnX;
extern float WarnPasses;
extern int BossBar;          // boss energy bar length 0..500

// Work values of the scripts of stages 2 to 5; they keep their values
// from step to step.
extern float SpawnX, SpawnY;         // moving spawn coordinates
extern float SpawnStepA, SpawnStepB; // their increments
extern float SweepCount;             // stage 4's sweeps
extern int WaveCounter;              // sub-sequence counter (stages 4 and 5)
extern float FlyX, FlyY;             // stage 5: the fly-by silhouettes
extern float BigPicX;                // stage 5: x of the large foreground picture
extern float BigPicRow;              // stage 5: its reveal row
extern bool LastBossCalled;          // stage 5: a last-boss entry is active

// Score, HUD and ending.
extern int64_t Score2;       // score at the start of the current stage
extern int ChargeGauge;      // 0..100
extern int ChargeCount;
extern int LevelUpFlag;
extern float LevelUpTime;
extern int JewelValue;
extern int EndingStep;
extern float RollY;
extern float DigitCount;

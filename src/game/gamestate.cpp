// The game-wide state, with its values at program start.
#include "game/game.h"

int Scene = SCENE_INSTRUCTIONS;
int StageNo = 1;
int PlayerStock = 3;
int BombStock = 0;

int MenuState = 0;
int TitleCursor = 0;
int OptionRow = 0;
float LogoTimer = 50.0f;
float LogoSize = 1.0f;
float WallPos = -500.0f;
float TitlePhase = 0.0f;
float TitleAlpha;
int Loaded = 0;
int JewelCount[5];

OPTIONDATA OPTION;

int StagePhase = 1;
int StageStep[6];
float StepTimer, StepTimer2;
int StepRepeat;
float StepRepeat2;
float ColumnOffset, ColumnCount;
int HaroIndex;
int FrameTick;
float StepWait = 20.0f;
float ScrollSpeedX = -50.0f, ScrollSpeedY = 0.0f;
int MidEnemyCount;
float WarnX, WarnPasses;
int BossBar;
float SpawnX, SpawnY;
float SpawnStepA, SpawnStepB;
float SweepCount;
int WaveCounter;
float FlyX, FlyY;
float BigPicX, BigPicRow;
bool LastBossCalled;

int64_t Score2;
int ChargeGauge;
int ChargeCount;
int LevelUpFlag;
float LevelUpTime;
int JewelValue;
int EndingStep;
float RollY;
float DigitCount;

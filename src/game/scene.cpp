// Main_Proc and the scenes before play.
#include "game/scene.h"
#include "game/hud.h"
#include "core/lang.h"
#include "enemy/effects.h"
#include "entity/entity.h"
#include "game/frame.h"
#include "game/game.h"
#include "game/score.h"
#include "player/ship.h"
#include "render/render.h"
#include "config/options.h"
#include "core/input.h"
#include "core/core.h"
#include "sound/sound.h"

#include "game/perrun.h"
#include "platform/time.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <initializer_list>

void Main_Proc(PlatWindow*) {
    if (Scene == SCENE_INSTRUCTIONS) SceneInstructions();
    else if (Scene == SCENE_TITLE) SceneTitle();
    else if (Scene == SCENE_GAME) GameFrame();
}

void SceneInstructions() {
    static const struct {
        const char* text;
        int x, y;
    } lines[] = {
        {"操作説明　（　）内はパッド時のボタン", 100, 90},
        {"ショット：スペース　or　Ｓｈｉｆｔ（Ａ）", 80, 115},
        {"ボム：Ｚ（Ｂ）　１ストック消費", 80, 140},
        {"ゲーム終了：ＥＳＣ", 80, 165},
        {"ゲーム速度アップ：１・２・３（テンキー不可）", 80, 190},
        {"ゲーム速度ダウン：Ｑ・Ｗ・Ｅ", 80, 215},
        {"一時停止／解除：Ｃ", 80, 240},
    };
    for (const auto& l : lines) DD_FontShow(Lang_Text(l.text), 20, l.x, l.y, 255, 255, 255, false);
    DD_FontShow(Lang_Text("Ｎｏｗ　Ｌｏａｄｉｎｇ．．．"), 30, 40, 320, 255, 0, 0, false);
    Scene = SCENE_TITLE;
}

// Every bitmap in its slot, in the game's load order.
static const struct {
    int slot;
    const char* file;
} kBitmaps[] = {
    {0, "BMP\\player.bmp"},      {1, "BMP\\bom.bmp"},          {5, "BMP\\bom2.bmp"},       {7, "BMP\\bom3.bmp"},
    {3, "BMP\\shot.bmp"},        {2, "BMP\\shot2.bmp"},        {8, "BMP\\shot3.bmp"},      {9, "BMP\\shot4.bmp"},
    {17, "BMP\\shot5.bmp"},      {18, "BMP\\shot6.bmp"},       {4, "BMP\\pom.bmp"},        {97, "BMP\\flash.bmp"},
    {6, "BMP\\suuji2.bmp"},      {10, "BMP\\title3.bmp"},      {11, "BMP\\bar.bmp"},       {12, "BMP\\WARNING.bmp"},
    {14, "BMP\\WARNING2.bmp"},   {13, "BMP\\stageclear.bmp"},  {16, "BMP\\GAMEOVER.bmp"},  {20, "BMP\\zako1.BMP"},
    {21, "BMP\\zako2.BMP"},      {22, "BMP\\zako3.BMP"},       {23, "BMP\\zako4.BMP"},     {24, "BMP\\zako5.BMP"},
    {25, "BMP\\zako6.BMP"},      {26, "BMP\\zako7.bmp"},       {27, "BMP\\zako8.bmp"},     {28, "BMP\\zako9.bmp"},
    {29, "BMP\\kirai.bmp"},      {31, "BMP\\zako11.bmp"},      {44, "BMP\\bit.bmp"},       {30, "BMP\\harotate.bmp"},
    {40, "BMP\\oozako1.BMP"},    {41, "BMP\\eisei.BMP"},       {42, "BMP\\robo.BMP"},      {43, "BMP\\robo2.BMP"},
    {50, "BMP\\chu1.bmp"},       {51, "BMP\\chu2.bmp"},        {52, "BMP\\sensha2.bmp"},   {53, "BMP\\puro.bmp"},
    {54, "BMP\\chu5.bmp"},       {55, "BMP\\senkan1.bmp"},     {56, "BMP\\senkan2.bmp"},   {57, "BMP\\toge.bmp"},
    {70, "BMP\\BOSS1.bmp"},      {71, "BMP\\BOSS2.bmp"},       {72, "BMP\\BOSS3.bmp"},     {73, "BMP\\BOSS4.bmp"},
    {74, "BMP\\core.bmp"},       {75, "BMP\\BOSS5-12.bmp"},    {76, "BMP\\LastBoss.bmp"},  {77, "BMP\\fire.bmp"},
    {90, "BMP\\kitama3.bmp"},    {91, "BMP\\akatama4.bmp"},    {92, "BMP\\aotama3.bmp"},   {93, "BMP\\midori3.bmp"},
    {94, "BMP\\slaser.bmp"},     {89, "BMP\\slaser2.bmp"},     {95, "BMP\\Bkitama.bmp"},   {96, "BMP\\BLaser.bmp"},
    {98, "BMP\\ring.bmp"},       {99, "BMP\\ring2.bmp"},       {152, "BMP\\gomi.bmp"},     {60, "BG\\kumo2.bmp"},
    {62, "BG\\kumo4.BMP"},       {63, "BG\\mori2.BMP"},        {64, "BG\\suishou1.BMP"},   {65, "BG\\suishou2.BMP"},
    {67, "BG\\BG5-2.BMP"},       {68, "BG\\BG5-1.BMP"},        {69, "BG\\BG5-7.BMP"},      {170, "BG\\BG5-6.BMP"},
    {171, "BG\\kabe.BMP"},       {172, "BG\\hosi.bmp"},        {15, "BMP\\JEWEL.bmp"},     {150, "BMP\\overdrive.bmp"},
    {151, "BMP\\overdrive2.bmp"}, {66, "BMP\\cry.bmp"},        {110, "BMP\\pitem.bmp"},    {111, "BMP\\shield2.bmp"},
};

static const char* const kWaves[18] = {
    nullptr,           "SE\\A_Explo1.wav", "SE\\Firehit.wav", "SE\\Thruster.wav", "SE\\Bom2.wav",
    "SE\\Laser.wav",   "SE\\Lasergun.wav", "SE\\Warning.wav", "SE\\Coin.wav",     "SE\\Fly.wav",
    "SE\\Powerup.wav", "SE\\MsgType.wav",  "SE\\Tunder.wav",  "SE\\Bullet.wav",   "SE\\Pow.wav",
    "SE\\Blow.wav",    "SE\\Trash.wav",    "SE\\Blow2.wav",
};

void OptionDefaults() {
    OPTION.Difficulty = NORMAL;
    OPTION.DifficultyIndex = 1;
    OPTION.Players = 3;
    OPTION.PlayersIndex = 1;
    OPTION.StartStage = 1;
    OPTION.StartStageIndex = 0;
    OPTION.PowerStock = 2;
    OPTION.PowerStockIndex = 1;
}

void LoadEverything() {
    Loaded = 1;
    for (const auto& b : kBitmaps) DD_LoadBitmap(Bitmap[b.slot], b.file);
    for (int i = 1; i <= 17; i++) DS_LoadWave(Wave[i], kWaves[i]);
    // The letters of the play screen's texts (score lines, counters, the
    // gauge, the speed correction), made ready now rather than on the frame
    // where each first appears.
    static const char kAscii[] =
        " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~";
    for (int size : {10, 20, 25}) DD_FontPrepare(kAscii, size);
    DD_FontPrepare("ＭＡＸ", 20);
    DD_FontPrepare("補正", 25);
    InitDInput();
    DataLoad();
    ShipSetUp();
    OptionDefaults();
    SpriteClearAll();
    PerRun_Keep();
}

static bool ShotPressed() {
    return KeyData.space == KEY_PUSH || KeyData.shift == KEY_PUSH || JoyData.button[0] == KEY_PUSH;
}

int PracticeAsked;
int GamePractice;
int64_t GameStageScore[5];
int32_t GameStageJewel[5][5];
// The options' first stage while a stage practice plays at its own.
static int sHeldStartStage, sHeldStartIndex;

static void BeginGame();

// A page asked for a stage practice: it starts as the shot key starts a
// game, at its stage, which the options' first stage shows until the
// title is back (so that its replay's start says it).
static void StartPractice() {
    int stage = PracticeAsked;
    PracticeAsked = 0;
    if (stage < 1 || stage > 5 || MenuState < MENU_TITLE) return;
    sHeldStartStage = OPTION.StartStage;
    sHeldStartIndex = OPTION.StartStageIndex;
    OPTION.StartStage = stage;
    OPTION.StartStageIndex = stage - 1;
    TitleCursor = 0;
    GamePractice = PRACTICE_STAGE;
    BeginGame();
}

void PracticeEnded() {
    if (GamePractice != PRACTICE_STAGE) return;
    // Nothing of the practice counts: the record's counters and high score
    // as the game found them, the options' own first stage.
    const GameStart& s = GameStartNoted;
    dat.hiscore = s.hiscore;
    ScoreText(dat.hiscore, dat.hiscoretext);
    dat.playcount = s.plays;
    dat.deaths = s.deaths;
    dat.clearcount = s.clears;
    if (sHeldStartStage) {
        OPTION.StartStage = sHeldStartStage;
        OPTION.StartStageIndex = sHeldStartIndex;
        sHeldStartStage = 0;
    }
    DataEndPractice();
    GamePractice = PRACTICE_NONE;
}

void SceneTitle() {
    if (!Loaded) LoadEverything();
    InputPoll();

    if (PracticeAsked) StartPractice();
    else if (ShotPressed()) MenuShot();
    if (MenuState == MENU_OPTIONS) {
        if (KeyData.left == KEY_PUSH || JoyData.left == KEY_PUSH) OptionChange(-1);
        if (KeyData.right == KEY_PUSH || JoyData.right == KEY_PUSH) OptionChange(+1);
    }
    TitleFrameEnd();
}

void TitleFrameEnd() {
    FrameStep = PutFps() + SpeedAdjust;
    MenuStep();
    // Once the growing logo is over, the glyphs of its hundreds of sizes
    // are of no more use.
    if (MenuState != MENU_LOGO) DD_FontRelease();
    LogoTimer -= FrameStep;
    ShowSpeedAdjust();
}

void MenuShot() {
    if (TitleCursor == 1) {
        if (MenuState != MENU_OPTIONS) {
            MenuState = MENU_OPTIONS;
            OptionRow = 0;
        } else {
            MenuState = MENU_TITLE2;
            TitleCursor = 0;
        }
    } else if (MenuState < MENU_TITLE) {
        MenuState = MENU_TITLE2;  // skip the intro
    } else {
        NewGame();
    }
}

int GameSim = REPLAY_SIM;
GameStart GameStartNoted;

static int* const kKeyStates[GAMESTART_KEYS] = {&KeyData.up,    &KeyData.down,  &KeyData.left,
                                                 &KeyData.right, &KeyData.space, &KeyData.shift};
static int* JoyStateOf(int i) {
    int* dirs[4] = {&JoyData.up, &JoyData.down, &JoyData.left, &JoyData.right};
    return i < 4 ? dirs[i] : &JoyData.button[i - 4];
}

// What the title leaves the game NewGame is starting (before NewGame's own
// changes; the joystick once NewGame has set it up).
static void NoteStart() {
    GameStart& s = GameStartNoted;
    s = GameStart();
    s.difficulty = OPTION.Difficulty;
    s.lives = OPTION.Players;
    s.bombs = OPTION.PowerStock;
    s.startStage = OPTION.StartStage;
    s.stageOption = Options.startStage >= 1 && Options.startStage <= 5 ? Options.startStage : 0;
    s.invincible = Options.invincible;
    s.speedSteps = SpeedSteps(SpeedAdjust);
    s.random = RandState;
    s.clock = Plat_GetTickCount();
    s.paused = PauseCount & 1;
    for (int i = 0; i < GAMESTART_KEYS; i++) s.keys[i] = *kKeyStates[i];
    for (int i = 0; i < GAMESTART_PAD; i++) s.pad[i] = *JoyStateOf(i);
    s.hiscore = dat.hiscore;
    s.plays = dat.playcount;
    s.deaths = dat.deaths;
    s.clears = dat.clearcount;
    s.practice = GamePractice;
}

// Which entry of an option row shows `value` (-1: none).
static int IndexOf(int value, std::initializer_list<int> values) {
    int i = 0;
    for (int v : values) {
        if (v == value) return i;
        i++;
    }
    return -1;
}

void NewGameFrom(const GameStart& s) {
    OPTION.Difficulty = s.difficulty;
    OPTION.DifficultyIndex = s.difficulty;
    OPTION.Players = s.lives;
    OPTION.PlayersIndex = IndexOf(s.lives, {1, 3, 5, 10, 99});
    OPTION.StartStage = s.startStage;
    OPTION.StartStageIndex = s.startStage - 1;
    OPTION.PowerStock = s.bombs;
    OPTION.PowerStockIndex = s.bombs - 1;
    Options.startStage = s.stageOption;
    Options.invincible = s.invincible;
    SpeedAdjust = SpeedOfSteps(s.speedSteps);
    DataStoreSpeed();
    RandState = s.random;
    Plat_SetTickCount(s.clock);
    PauseCount = s.paused;
    for (int i = 0; i < GAMESTART_KEYS; i++) *kKeyStates[i] = s.keys[i];
    for (int i = 0; i < GAMESTART_PAD; i++) *JoyStateOf(i) = s.pad[i];
    dat.hiscore = s.hiscore;
    dat.playcount = s.plays;
    dat.deaths = s.deaths;
    dat.clearcount = s.clears;
    // The title, its walls open, "ＧＡＭＥ　ＳＴＡＲＴ" chosen.
    Scene = SCENE_TITLE;
    MenuState = MENU_TITLE2;
    TitleCursor = 0;
    if (s.practice == PRACTICE_STAGE) {
        GamePractice = PRACTICE_STAGE;
        BeginGame();
    } else {
        NewGame();
    }
    TitleFrameEnd();
}

void NewGame() {
    GamePractice = PRACTICE_NONE;
    BeginGame();
}

static void BeginGame() {
    if (GameSim >= 2) {
        // A new game is a new game: nothing the last one left reaches it,
        // and of the title's own values none that play does not read.
        PerRun_Restore();
        SpeedAdjust = SpeedOfSteps(std::min(SpeedSteps(SpeedAdjust), (int)GAMESTART_SPEED_MAX));
        PauseCount &= 1;
        OptionRow = 0;
        WallPos = -500.0f;
        TitlePhase = 0.0f;
        PutFps_Restart();
    }
    NoteStart();
    // A practice's record is the one it found, whatever it does to it.
    if (GamePractice == PRACTICE_STAGE) DataHoldForPractice();
    for (int k = 0; k < 5; k++) {
        GameStageScore[k] = -1;
        for (int32_t& j : GameStageJewel[k]) j = 0;
    }
    dat.score = 0;
    Score2 = 0;
    dat.playcount += 1;
    // A new run: nothing of the last one's stage records carries over
    // (this game may start at another stage).
    std::memset(dat.runscore, 0, sizeof dat.runscore);
    std::memset(dat.runjewel, 0, sizeof dat.runjewel);
    PlayerStock = OPTION.Players;
    StageNo = Options.startStage >= 1 && Options.startStage <= 5 ? Options.startStage : OPTION.StartStage;
    BombStock = OPTION.PowerStock;
    SpriteWipeAll();
    for (int i = 0; i < BombStock; i++) Cry(BombStock * 16, 40.0f);
    InitDInput();
    GameStartNoted.joystick = JoyShow ? 1 : 0;
    Scene = SCENE_GAME;
    MenuState = MENU_LOGO;
    ChargeGauge = 0;
    LogoSize = 1.0f;
    LogoTimer = 200.0f;
    for (int& j : JewelCount) j = 0;
    EffectCountersReset();
    DS_Play(Wave[5]);
}

// Enemy bullets, lasers and beams in play (a test of a run can see that
// an enemy or boss fires).
static int EnemyShotsInPlay() {
    int n = 0;
    for (const SpriteData* pool : {tama, Baka, sLaser, sLaser2, BLaser}) {
        int count = pool == tama ? TAMA_MAX : pool == Baka ? BAKA_MAX : pool == BLaser ? BLASER_MAX : SLASER_MAX;
        for (int i = 0; i < count; i++) n += pool[i].flag ? 1 : 0;
    }
    return n;
}

void Game_DescribeState(char* out, int size) {
    std::snprintf(out, (size_t)size,
                  "Scene=%d MenuState=%d TitleCursor=%d OptionRow=%d StageNo=%d PlayerStock=%d BombStock=%d "
                  "Difficulty=%d Players=%d StartStage=%d PowerStock=%d StagePhase=%d StageStep=%d "
                  "Score=%" PRId64 " HiScore=%" PRId64 " PlayCount=%d Deaths=%d ShipX=%d ShipY=%d Kills=%d Jewels=%d "
                  "BossBar=%d EnemyShots=%d Practice=%d",
                  Scene, MenuState, TitleCursor, OptionRow, StageNo, PlayerStock, BombStock, OPTION.Difficulty,
                  OPTION.Players, OPTION.StartStage, OPTION.PowerStock, StagePhase,
                  StageNo >= 0 && StageNo < 6 ? StageStep[StageNo] : -1, dat.score, dat.hiscore, dat.playcount,
                  dat.deaths, (int)P_Ship.x, (int)P_Ship.y, KillCount,
                  JewelCount[0] + JewelCount[1] + JewelCount[2] + JewelCount[3] + JewelCount[4], BossBar,
                  EnemyShotsInPlay(), GamePractice);
}

// The HUD and the end of a game: the score line's texts, the full charge
// gauge, the bomb icons' flash, the stage records and where they lie in
// "score.dat", the staff roll, game over and the completed game.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "boss/boss.h"
#include "game/frame.h"
#include "game/hud.h"
#include "game/scene.h"
#include "game/stage.h"
#include "platform/events.h"
#include "platform/input.h"
#include "play_state.h"
#include "shell/input.h"

namespace {

class HudTest : public PlayStateTest {
protected:
    void SetUp() override {
        PlayStateTest::SetUp();
        std::memset(&dat, 0, sizeof dat);
        std::memset(cry, 0, sizeof cry);
        std::memset(&KeyData, 0, sizeof KeyData);
        std::memset(&JoyData, 0, sizeof JoyData);
        LevelUpTime = 0;
        BombIconAnim = false;
        BombIconTime = 0;
    }
    void TearDown() override {
        std::memset(&dat, 0, sizeof dat);
        Plat_ClearScriptedKeys();
        std::memset(&KeyData, 0, sizeof KeyData);
        std::memset(&JoyData, 0, sizeof JoyData);
        StageFlowReset();
        BossReset();
        EndingStep = 0;
        PlayStateTest::TearDown();
    }
};

TEST(ScoreTextTest, NineteenPlacesPaddedWithZeros) {
    char out[20];
    ScorePad19("0", out);
    EXPECT_STREQ(out, "0000000000000000000");
    ScorePad19("1000000000", out);
    EXPECT_STREQ(out, "0000000001000000000");
    ScorePad19("9223372036854775807", out);  // the largest score fills it exactly
    EXPECT_STREQ(out, "9223372036854775807");
    // The record's text field is NUL-padded whatever it held before.
    char field[20];
    std::memset(field, 'x', sizeof field);
    ScoreText(123456789012LL, field);
    ScoreText(42, field);
    EXPECT_STREQ(field, "42");
    for (int i = 2; i < 20; i++) EXPECT_EQ(field[i], '\0') << i;
}

TEST_F(HudTest, ScoreLineClampsAndShowsANewHighScoreAtOnce) {
    dat.hiscore = 500;
    ScoreText(500, dat.hiscoretext);
    dat.score = -30;
    ScoreLine();
    EXPECT_EQ(dat.score, 0);
    EXPECT_STREQ(dat.scoretext, "0");
    EXPECT_STREQ(str, "SCORE 0000000000000000000");
    dat.score = 500;  // equal is not a new record
    ScoreLine();
    EXPECT_EQ(dat.hiscore, 500);
    dat.score = 1000000000;
    ScoreLine();
    EXPECT_EQ(dat.hiscore, 1000000000);
    EXPECT_STREQ(dat.hiscoretext, "1000000000");  // ready before the line is drawn
    EXPECT_STREQ(str, "SCORE 0000000001000000000");
}

TEST_F(HudTest, AFullGaugeGivesABombOrAtSixAnItem) {
    BombStock = 2;
    ChargeGauge = 100;
    HudDraw();
    EXPECT_EQ(BombStock, 3);
    EXPECT_EQ(ChargeGauge, 0);
    EXPECT_EQ(LevelUpFlag, 0);
    EXPECT_FLOAT_EQ(LevelUpTime, 19.95f);  // the banner starts in the same frame
    EXPECT_EQ(LiveCount(cry), 1);
    EXPECT_EQ(cry[0].x, 48.0f);
    EXPECT_EQ(LiveCount(pitem), 0);
    // The banner runs while more than one unit is left: 19 units of 0.05,
    // one frame more as the single-precision steps add up.
    int frames = 1;
    while (LevelUpTime > 1.0f && frames < 1000) HudDraw(), frames++;
    EXPECT_EQ(frames, 381);

    // At six bombs the gauge sends a power item in instead of a seventh.
    BombStock = 6;
    ChargeGauge = 100;
    HudDraw();
    EXPECT_EQ(BombStock, 6);
    EXPECT_EQ(ChargeGauge, 0);
    EXPECT_LE(LevelUpTime, 1.0f);
    ASSERT_EQ(LiveCount(pitem), 1);
    EXPECT_EQ(pitem[0].x * 1000 + pitem[0].y, 640220.0f);
    EXPECT_EQ(LiveCount(cry), 2);  // an icon either way
}

TEST_F(HudTest, TheBombIconFlashEndsAfter24UnitsWhileBombsAreLeft) {
    BombStock = 2;
    BombIconAnim = true;
    BombIconTime = 24.0f;
    HudDraw();
    EXPECT_TRUE(BombIconAnim);  // exactly 24 is not past it
    EXPECT_FLOAT_EQ(BombIconTime, 24.025f);
    HudDraw();
    EXPECT_FALSE(BombIconAnim);
    // Without a bomb left the icons are not drawn and the flag stays.
    BombStock = 0;
    BombIconAnim = true;
    for (int i = 0; i < 10; i++) HudDraw();
    EXPECT_TRUE(BombIconAnim);
    EXPECT_GT(BombIconTime, 24.2f);
}

// The records of the stage just cleared, and where the file keeps them.
TEST_F(HudTest, StageRecordsCompareStrictlyAndLandAtTheirOffsets) {
    const int jewels[5] = {1, 2, 3, 4, 5};
    std::memcpy(JewelCount, jewels, sizeof jewels);
    StageNo = 2;  // k = 1
    Score2 = 1000;
    dat.score = 5000;
    dat.stagebest[1] = 4000;   // equal to this stage's 4000: kept
    dat.clearbest[1] = 4999;   // beaten
    StageClearRecords();
    EXPECT_EQ(Score2, 5000);
    EXPECT_EQ(dat.runscore[1], 5000);
    EXPECT_EQ(dat.runjewel[1][4], 5);
    EXPECT_EQ(dat.stagebest[1], 4000);
    EXPECT_EQ(dat.stagebestjewel[1][0], 0);
    EXPECT_EQ(dat.clearbest[1], 5000);
    EXPECT_EQ(dat.clearbestjewel[1][2], 3);
    EXPECT_EQ(dat.bestrun[1], 0);  // not stage 5: no best run

    uint8_t b[DAT_SIZE];
    DatToBytes(dat, b);
    auto i64 = [&](int at) { int64_t v; std::memcpy(&v, b + at, 8); return v; };
    auto i32 = [&](int at) { int32_t v; std::memcpy(&v, b + at, 4); return v; };
    EXPECT_EQ(i64(88 + 8), 5000);          // run score of stage 2
    EXPECT_EQ(i32(228 + 20 + 16), 5);      // its jewel set, kind 4
    EXPECT_EQ(i64(328 + 8), 4000);         // best stage score
    EXPECT_EQ(i64(568 + 8), 5000);         // best clear score
    EXPECT_EQ(i32(708 + 20 + 8), 3);       // its jewel set, kind 2

    // Stage 5 with a new best total: the whole run is copied and stamped.
    dat.runscore[0] = 111;
    StageNo = 5;
    Score2 = 5000;
    dat.score = 9000;
    dat.stagebest[4] = 3999;
    dat.clearbest[4] = 8999;
    std::time_t before = std::time(nullptr);
    StageClearRecords();
    EXPECT_EQ(dat.stagebest[4], 4000);
    EXPECT_EQ(dat.bestrun[0], 111);
    EXPECT_EQ(dat.bestrun[1], 5000);
    EXPECT_EQ(dat.bestrun[4], 9000);
    EXPECT_EQ(dat.bestrunjewel[4][1], 2);
    EXPECT_GE(dat.bestruntime.time, (int32_t)before);
    EXPECT_LE(dat.bestruntime.time, (int32_t)before + 5);
    DatToBytes(dat, b);
    EXPECT_EQ(i64(808), 111);
    EXPECT_EQ(i64(808 + 32), 9000);
    EXPECT_EQ(i32(948 + 80 + 4), 2);
    EXPECT_EQ(i32(1068), dat.bestruntime.time);

    // An equal total at stage 5 is no new best run.
    DATTIME stamp = dat.bestruntime;
    dat.runscore[0] = 222;
    Score2 = 8000;
    StageClearRecords();
    EXPECT_EQ(dat.bestrun[0], 111);
    EXPECT_EQ(std::memcmp(&stamp, &dat.bestruntime, sizeof stamp), 0);
}

TEST_F(HudTest, TheStaffRollSpeedsUpOnlyAbove400) {
    StageNo = 6;
    EndingStep = 0;
    KeyData.space = KEY_HOLD;
    StaffRoll();
    EXPECT_EQ(EndingStep, 1);
    EXPECT_EQ(WarnPasses, 639.0f);
    EXPECT_FLOAT_EQ(RollY, 700 - 0.15f);
    RollY = 400;
    StaffRoll();
    EXPECT_FLOAT_EQ(RollY, 400 - 0.15f);  // not yet above 400
    StaffRoll();
    EXPECT_FLOAT_EQ(RollY, 400 - 0.15f - 1.65f);
    KeyData.space = KEY_UP_STATE;
    JoyData.button[0] = KEY_PUSH;  // only a held key counts
    StaffRoll();
    EXPECT_FLOAT_EQ(RollY, 400 - 0.30f - 1.65f);

    // Left alone the roll takes (700 + 1200) / 3 time units.
    EndingStep = 0;
    JoyData.button[0] = KEY_UP_STATE;
    StagePhase = 1;
    int frames = 0;
    while (StagePhase != 4 && frames < 20000) StaffRoll(), frames++;
    EXPECT_NEAR(frames, 12667, 20);
    EXPECT_EQ(EndingStep, 2);
    StaffRoll();  // over: nothing more
    EXPECT_EQ(EndingStep, 2);
}

class GameEndTest : public HudTest {
protected:
    std::string dir;
    int scene_ = 0, menu_ = 0;
    float logoTimer_ = 0, logoSize_ = 0;
    void SetUp() override {
        HudTest::SetUp();
        scene_ = Scene;
        menu_ = MenuState;
        logoTimer_ = LogoTimer;
        logoSize_ = LogoSize;
        char tmpl[] = "/tmp/qs_hud_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = std::string(tmpl) + "/";
        HomeDir = dir.c_str();
        DatLoaded = true;
        OptionDefaults();
        NewGame();
        ASSERT_EQ(Scene, SCENE_GAME);
        ASSERT_EQ(MenuState, MENU_LOGO);
    }
    void TearDown() override {
        HomeDir = nullptr;
        DatLoaded = false;
        std::filesystem::remove_all(dir);
        Scene = scene_;
        MenuState = menu_;
        LogoTimer = logoTimer_;
        LogoSize = logoSize_;
        HudTest::TearDown();
    }
    // A game in the middle of stage 3, with everything a return must undo.
    void MidGame() {
        StageNo = 3;
        StageStep[1] = 35;
        StageStep[3] = 7;
        StagePhase = 2;
        StepTimer2 = 33;
        ScrollSpeedX = -11;
        WarnX = 600;
        MidEnemyCount = 2;
        Weapon = 2;
        ShotCool = 0.4f;
        JewelValue = 777;
        JewelStep = 12;
        BombPulse = 1;
        BOSS1[0].hp = -14;
        BOSS1[0].time = 37;
        BossBar = -1;
        KillCount = 40;
        dat.score = 123456;
        dat.runscore[0] = 5;
        chuugata[3].flag = true;
        tama[100].flag = true;
        JEWELFONT[5].flag = true;
    }
    void ExpectBackAtTheTitle() {
        EXPECT_EQ(Scene, SCENE_TITLE);
        EXPECT_EQ(MenuState, MENU_LOGO);  // the intro plays again
        EXPECT_EQ(LogoTimer, 200.0f);
        EXPECT_EQ(StageNo, 1);
        for (int s = 1; s <= 5; s++) EXPECT_EQ(StageStep[s], 0);
        EXPECT_EQ(StagePhase, 1);
        EXPECT_EQ(StepTimer2, 0.0f);
        EXPECT_EQ(ScrollSpeedX, -50.0f);
        EXPECT_EQ(WarnX, 0.0f);
        EXPECT_EQ(MidEnemyCount, 0);
        EXPECT_EQ(Weapon, 0);
        EXPECT_EQ(ShotCool, 0.0f);
        EXPECT_EQ(JewelValue, 0);
        EXPECT_EQ(JewelStep, 0);
        EXPECT_EQ(BombPulse, 0);
        EXPECT_EQ(BossBar, 0);
        EXPECT_EQ(BOSS1[0].hp, 0.0f);
        EXPECT_EQ(BOSS1[0].time, 0.0f);
        EXPECT_EQ(KillCount, 0);
        EXPECT_FALSE(chuugata[3].flag);
        EXPECT_FALSE(tama[100].flag);
        EXPECT_FALSE(JEWELFONT[5].flag);
        EXPECT_TRUE(P_Ship.flag);
        EXPECT_EQ(P_Ship.x * 1000 + P_Ship.y, 220.0f);
        EXPECT_EQ(dat.score, 0);
        EXPECT_EQ(dat.runscore[0], 0);
    }
};

TEST_F(GameEndTest, TheLastLifeLostShowsGameOverUntilAShotKeyThenTheTitle) {
    MidGame();
    PlayerStock = 1;
    P_Ship.flag = false;
    RespawnWait = 50;
    ShipLossAndRespawn();
    ASSERT_EQ(PlayerStock, 0);
    int deaths = dat.deaths;
    // The game runs on under the picture until a key is pressed.
    for (int i = 0; i < 5; i++) GameOverScreen();
    EXPECT_EQ(Scene, SCENE_GAME);
    EXPECT_FALSE(std::filesystem::exists(dir + "score.dat"));
    bool keys[256] = {};
    keys[VK_SHIFT] = true;
    Plat_SetScriptedKeys(keys);
    GameOverScreen();
    ExpectBackAtTheTitle();
    // Saved on the way, with the loss counted and the score still there.
    std::ifstream in(dir + "score.dat", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    ASSERT_EQ(bytes.size(), (size_t)DAT_SIZE);
    int32_t savedDeaths;
    std::memcpy(&savedDeaths, bytes.data() + 1052, 4);
    EXPECT_EQ(savedDeaths, deaths);
    int64_t savedScore;
    std::memcpy(&savedScore, bytes.data(), 8);
    EXPECT_EQ(savedScore, 123456);
}

TEST_F(GameEndTest, TheEndingCountsACompletionAndReturnsWithoutSaving) {
    MidGame();
    EndingStep = 2;  // the roll has run
    int clears = dat.clearcount;
    StageNo = 6;
    StagePhase = 4;
    WarnX = 641;  // the stage-clear picture has closed
    StageClearWipe();
    ExpectBackAtTheTitle();
    EXPECT_EQ(dat.clearcount, clears + 1);
    EXPECT_EQ(EndingStep, 0);  // a later game gets its staff roll too
    EXPECT_FALSE(std::filesystem::exists(dir + "score.dat"));
}

}  // namespace

// The HUD and the end of a game: the score line's texts, the full charge
// gauge, the stage records and where they lie in "score.dat", the staff
// roll, game over and the completed game.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "boss/boss.h"
#include "game/frame.h"
#include "game/hud.h"
#include "game/scene.h"
#include "game/stage.h"
#include "platform/events.h"
#include "platform/input.h"
#include "play_state.h"
#include "shell/shell.h"
#include "core/input.h"

namespace {

class HudTest : public PlayStateTest {
protected:
    void SetUp() override {
        PlayStateTest::SetUp();
        Clear();
    }
    void TearDown() override {
        Clear();
        Plat_ClearScriptedKeys();
        StageFlowReset();
        BossReset();
        EndingStep = 0;
        PlayStateTest::TearDown();
    }
    void Clear() {
        std::memset(&dat, 0, sizeof dat);
        std::memset(cry, 0, sizeof cry);
        std::memset(&KeyData, 0, sizeof KeyData);
        std::memset(&JoyData, 0, sizeof JoyData);
        LevelUpTime = 0;
    }
};

TEST_F(HudTest, ScoreLinePadsClampsAndShowsANewHighScoreAtOnce) {
    char out[20];
    ScorePad19("9223372036854775807", out);  // the largest score fills it exactly
    EXPECT_STREQ(out, "9223372036854775807");
    dat.hiscore = 500;
    dat.score = -30;
    ScoreLine();
    EXPECT_EQ(dat.score, 0);
    EXPECT_STREQ(str, "SCORE 0000000000000000000");
    dat.score = 1000000000;
    ScoreLine();
    EXPECT_STREQ(dat.hiscoretext, "1000000000");  // ready before its line is drawn
    EXPECT_STREQ(str, "SCORE 0000000001000000000");
    // The record's text is NUL-padded whatever it held before.
    dat.score = 42;
    ScoreLine();
    EXPECT_STREQ(dat.scoretext, "42");
    for (int i = 2; i < 20; i++) EXPECT_EQ(dat.scoretext[i], '\0') << i;
    EXPECT_EQ(dat.hiscore, 1000000000);
}

TEST_F(HudTest, AFullGaugeGivesABombOrAtSixAnItem) {
    BombStock = 2;
    ChargeGauge = 100;
    HudDraw();
    EXPECT_EQ(BombStock, 3);
    EXPECT_EQ(ChargeGauge, 0);
    EXPECT_FLOAT_EQ(LevelUpTime, 19.95f);  // "LEVEL UP!!" from this frame
    EXPECT_EQ(cry[0].x, 48.0f);            // the new icon
    EXPECT_EQ(LiveCount(pitem), 0);

    BombStock = 6;
    ChargeGauge = 100;
    LevelUpTime = 0;
    HudDraw();
    EXPECT_EQ(BombStock, 6);
    EXPECT_EQ(ChargeGauge, 0);
    EXPECT_EQ(LevelUpTime, 0.0f);
    ASSERT_EQ(LiveCount(pitem), 1);
    EXPECT_EQ(pitem[0].x * 1000 + pitem[0].y, 640220.0f);
    EXPECT_EQ(LiveCount(cry), 2);  // an icon either way

    // The icons' flash after a bomb ends once 24 is passed.
    BombIconAnim = true;
    BombIconTime = 24.0f;
    HudDraw();
    EXPECT_TRUE(BombIconAnim);
    HudDraw();
    EXPECT_FALSE(BombIconAnim);
}

TEST_F(HudTest, StageRecordsCompareStrictlyAndLandAtTheirOffsets) {
    const int jewels[5] = {1, 2, 3, 4, 5};
    std::memcpy(JewelCount, jewels, sizeof jewels);
    StageNo = 2;  // k = 1
    Score2 = 1000;
    dat.score = 5000;
    dat.stagebest[1] = 4000;  // equal to this stage's 4000: kept
    dat.clearbest[1] = 4999;  // beaten
    StageClearRecords();
    EXPECT_EQ(Score2, 5000);
    EXPECT_EQ(dat.stagebestjewel[1][0], 0);
    EXPECT_EQ(dat.bestrun[1], 0);  // only stage 5 makes a best run
    uint8_t b[DAT_SIZE];
    auto i64 = [&](int at) { int64_t v; std::memcpy(&v, b + at, 8); return v; };
    auto i32 = [&](int at) { int32_t v; std::memcpy(&v, b + at, 4); return v; };
    DatToBytes(dat, b);
    EXPECT_EQ(i64(88 + 8), 5000);      // run score of stage 2
    EXPECT_EQ(i32(228 + 20 + 16), 5);  // its jewel set, kind 4
    EXPECT_EQ(i64(328 + 8), 4000);     // best stage score
    EXPECT_EQ(i64(568 + 8), 5000);     // best clear score
    EXPECT_EQ(i32(708 + 20 + 8), 3);   // its jewel set, kind 2

    // Stage 5 with a new best total: the whole run is copied and stamped.
    dat.runscore[0] = 111;
    StageNo = 5;
    dat.score = 9000;
    dat.clearbest[4] = 8999;
    std::time_t before = std::time(nullptr);
    StageClearRecords();
    EXPECT_EQ(dat.stagebest[4], 4000);
    DatToBytes(dat, b);
    EXPECT_EQ(i64(808), 111);
    EXPECT_EQ(i64(808 + 8), 5000);
    EXPECT_EQ(i64(808 + 32), 9000);
    EXPECT_EQ(i32(948 + 80 + 4), 2);
    EXPECT_GE(i32(1068), (int32_t)before);
    EXPECT_LE(i32(1068), (int32_t)before + 5);
    // An equal total is no new best run.
    DATTIME stamp = dat.bestruntime;
    dat.runscore[0] = 222;
    Score2 = 8000;
    StageClearRecords();
    EXPECT_EQ(dat.bestrun[0], 111);
    EXPECT_EQ(std::memcmp(&stamp, &dat.bestruntime, sizeof stamp), 0);
}

TEST_F(HudTest, TheStaffRollSpeedsUpOnlyAbove400) {
    StageNo = 6;
    StagePhase = 1;
    EndingStep = 0;
    KeyData.space = KEY_HOLD;
    StaffRoll();
    EXPECT_EQ(EndingStep, 1);
    EXPECT_FLOAT_EQ(RollY, 700 - 0.15f);
    RollY = 400;
    StaffRoll();
    EXPECT_FLOAT_EQ(RollY, 400 - 0.15f);  // not yet above 400
    StaffRoll();
    EXPECT_FLOAT_EQ(RollY, 400 - 0.15f - 1.65f);
    // Alone it rolls 1900 units at 3 a unit; then the clear begins.
    KeyData.space = KEY_UP_STATE;
    EndingStep = 0;
    int frames = 0;
    while (StagePhase != 4 && frames < 20000) StaffRoll(), frames++;
    EXPECT_NEAR(frames, 12667, 20);
    EXPECT_EQ(EndingStep, 2);
    EXPECT_EQ(WarnPasses, 639.0f);  // the wipe closes in from both edges
}

class GameEndTest : public HudTest {
protected:
    std::string dir;
    int scene_ = 0, menu_ = 0;
    void SetUp() override {
        HudTest::SetUp();
        scene_ = Scene;
        menu_ = MenuState;
        char tmpl[] = "/tmp/qs_hud_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = std::string(tmpl) + "/";
        HomeDir = dir.c_str();
        DatLoaded = true;
        OptionDefaults();
        NewGame();
        // In the middle of stage 3, with everything a return must undo.
        StageNo = 3;
        StageStep[3] = 7;
        StagePhase = 2;
        EndingStep = 2;
        Weapon = 2;
        ShotCool = 0.4f;
        JewelValue = 777;
        JewelStep = 12;
        BOSS1[0].time = 37;
        BossBar = -1;
        KillCount = 40;
        dat.score = 123456;
        dat.runscore[0] = 5;
        tama[100].flag = true;
    }
    void TearDown() override {
        HomeDir = nullptr;
        DatLoaded = false;
        std::filesystem::remove_all(dir);
        Scene = scene_;
        MenuState = menu_;
        HudTest::TearDown();
    }
    void ExpectBackAtTheTitle() {
        EXPECT_EQ(Scene * 100 + MenuState, 0);  // the intro plays again
        EXPECT_EQ(LogoTimer, 200.0f);           // with the long logo
        EXPECT_EQ(StageNo * 100 + StageStep[3] * 10 + StagePhase, 101);
        EXPECT_EQ(EndingStep, 0);
        EXPECT_EQ(Weapon + ShotCool + JewelValue + JewelStep + KillCount, 0.0f);
        EXPECT_EQ(BossBar + BOSS1[0].time, 0.0f);
        EXPECT_FALSE(tama[100].flag);
        EXPECT_EQ(P_Ship.flag * 1000 + P_Ship.x + P_Ship.y, 1220.0f);
        EXPECT_EQ(dat.score, 0);
    }
};

TEST_F(GameEndTest, TheLastLifeLostShowsGameOverUntilAShotKeyThenTheTitle) {
    PlayerStock = 1;
    P_Ship.flag = false;
    RespawnWait = 50;
    ShipLossAndRespawn();
    ASSERT_EQ(PlayerStock, 0);
    for (int i = 0; i < 5; i++) GameOverScreen();
    EXPECT_EQ(Scene, SCENE_GAME);  // the game runs on under the picture
    bool keys[256] = {};
    keys[VK_SHIFT] = true;
    Plat_SetScriptedKeys(keys);
    GameOverScreen();
    ExpectBackAtTheTitle();
    EXPECT_EQ(std::filesystem::file_size(dir + "score.dat"), (uintmax_t)DAT_SIZE);
}

TEST_F(GameEndTest, TheEndingCountsACompletionAndReturnsWithoutSaving) {
    StageNo = 6;
    StagePhase = 4;
    WarnX = 641;  // the stage-clear picture has closed
    StageClearWipe();
    ExpectBackAtTheTitle();
    EXPECT_EQ(dat.clearcount, 1);
    EXPECT_FALSE(std::filesystem::exists(dir + "score.dat"));
}

// A whole run cleared stage by stage, the staff roll's end, then Escape at
// the title: the file holds that run's five scores and jewel sets, byte for
// byte. The next game starts with none of them.
TEST_F(GameEndTest, EscapeAfterACompletedGameSavesTheRunJustPlayed) {
    StageNo = 1;
    Score2 = 0;
    dat.runscore[0] = 5;
    for (int stage = 1; stage <= 6; stage++) {
        dat.score = 1000 * stage * stage;
        for (int j = 0; j < 5; j++) JewelCount[j] = 10 * stage + j;
        StagePhase = 4;
        WarnX = 641;
        StageClearWipe();
        if (stage < 6) {
            ASSERT_EQ(StageNo, stage + 1);
            StagePhase = 1;
        }
    }
    ExpectBackAtTheTitle();
    Event_Proc(VK_ESCAPE, nullptr);
    std::ifstream in(dir + "score.dat", std::ios::binary);
    std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(b.size(), (size_t)DAT_SIZE);
    std::string runs(40, '\0'), jewels(100, '\0'), best(40, '\0'), bestJewels(100, '\0');
    for (int k = 0; k < 5; k++) {
        int64_t score = 1000 * (k + 1) * (k + 1);
        std::memcpy(&runs[8 * k], &score, 8);
        std::memcpy(&best[8 * k], &score, 8);
        for (int j = 0; j < 5; j++) {
            int32_t v = 10 * (k + 1) + j;
            std::memcpy(&jewels[20 * k + 4 * j], &v, 4);
            std::memcpy(&bestJewels[20 * k + 4 * j], &v, 4);
        }
    }
    EXPECT_EQ(b.substr(88, 40), runs);
    EXPECT_EQ(b.substr(228, 100), jewels);
    EXPECT_EQ(b.substr(808, 40), best);  // and it is the best run so far
    EXPECT_EQ(b.substr(948, 100), bestJewels);
    int32_t clears;
    std::memcpy(&clears, &b[1048], 4);
    EXPECT_EQ(clears, 1);

    NewGame();
    for (int k = 0; k < 5; k++) {
        EXPECT_EQ(dat.runscore[k], 0);
        for (int j = 0; j < 5; j++) EXPECT_EQ(dat.runjewel[k][j], 0);
    }
}

}  // namespace

// The title sequence: the shot key's meanings, the option rows and a new game.
#include <gtest/gtest.h>

#include "entity/entity.h"
#include "game/game.h"
#include "game/scene.h"
#include "game/score.h"
#include "render/render.h"
#include "core/input.h"
#include "shell/shell.h"
#include "shell/savestate.h"
#include "game/perrun.h"
#include "game/statehash.h"
#include "config/options.h"
#include "core/core.h"
#include "platform/input.h"
#include "player/player.h"
#include "render/render.h"

#include <cstring>
#include <set>
#include <vector>

extern uint32_t RandState;

namespace {

class SceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DD_INIT(nullptr));
        OptionDefaults();
        Scene = SCENE_TITLE;
        MenuState = MENU_LOGO;
        TitleCursor = 0;
        OptionRow = 0;
        WallPos = -500;
        dat = DAT();
    }
    void TearDown() override {
        DD_END(nullptr);
        Scene = SCENE_INSTRUCTIONS;
        MenuState = 0;
        TitleCursor = 0;
        LogoTimer = 50;
        LogoSize = 1;
        dat = DAT();
        SpriteClearAll();
    }
};

}  // namespace

TEST_F(SceneTest, ShotKeySkipsOpensClosesAndStarts) {
    MenuState = 3;  // a letter of the intro
    MenuShot();
    EXPECT_EQ(MenuState, MENU_TITLE2);
    EXPECT_EQ(Scene, SCENE_TITLE);

    TitleCursor = 1;  // on OPTION: open, then back to the title
    MenuShot();
    EXPECT_EQ(MenuState, MENU_OPTIONS);
    EXPECT_EQ(OptionRow, 0);
    OptionRow = 2;
    MenuShot();
    EXPECT_EQ(MenuState, MENU_TITLE2);
    EXPECT_EQ(TitleCursor, 0);

    MenuShot();  // on GAME START, at once: no wait for the walls
    EXPECT_EQ(Scene, SCENE_GAME);
    EXPECT_EQ(MenuState, MENU_LOGO);
}

TEST_F(SceneTest, OptionRowsWrapAtBothEnds) {
    MenuState = MENU_OPTIONS;
    OptionRow = 0;
    OPTION.DifficultyIndex = 3;
    OptionChange(+1);
    EXPECT_EQ(OPTION.DifficultyIndex, 0);
    OptionChange(-1);
    EXPECT_EQ(OPTION.DifficultyIndex, 3);

    OptionRow = 2;  // start stage 1..4 only
    OPTION.StartStageIndex = 0;
    OptionChange(-1);
    EXPECT_EQ(OPTION.StartStageIndex, 3);
    OptionChange(+1);
    EXPECT_EQ(OPTION.StartStageIndex, 0);

    OptionRow = 3;
    OPTION.PowerStockIndex = 5;
    OptionChange(+1);
    EXPECT_EQ(OPTION.PowerStockIndex, 0);
    OptionChange(-1);
    EXPECT_EQ(OPTION.PowerStockIndex, 5);
}

TEST_F(SceneTest, NinetyNineLivesOpenOnlyAfterNinetyNineDeaths) {
    OptionRow = 1;
    dat.deaths = 98;
    OPTION.PlayersIndex = 0;
    OptionChange(-1);
    EXPECT_EQ(OPTION.PlayersIndex, 3);  // "１" left to "１０"
    OptionChange(+1);
    EXPECT_EQ(OPTION.PlayersIndex, 0);  // "１０" right to "１"

    dat.deaths = 99;
    OptionChange(-1);
    EXPECT_EQ(OPTION.PlayersIndex, 4);  // "９９"
    OptionChange(+1);
    EXPECT_EQ(OPTION.PlayersIndex, 0);
    OPTION.PlayersIndex = 3;
    OptionChange(+1);
    EXPECT_EQ(OPTION.PlayersIndex, 4);
}

TEST_F(SceneTest, SelectedRowTakesItsValueWhenDrawn) {
    MenuState = MENU_OPTIONS;
    WallPos = 0;
    OptionRow = 0;
    OPTION.DifficultyIndex = 3;
    OPTION.PlayersIndex = 4;  // not the selected row: not stored yet
    FrameStep = 0;
    MenuStep();
    EXPECT_EQ(OPTION.Difficulty, SPECIAL);
    EXPECT_EQ(OPTION.Players, 3);
    OptionRow = 1;
    MenuStep();
    EXPECT_EQ(OPTION.Players, 99);
}

TEST_F(SceneTest, NewGameTakesTheOptions) {
    OPTION.Players = 5;
    OPTION.StartStage = 3;
    OPTION.PowerStock = 6;
    dat.score = 1234;
    dat.playcount = 7;
    pitem[3].flag = 1;
    NewGame();
    EXPECT_EQ(Scene, SCENE_GAME);
    EXPECT_EQ(PlayerStock, 5);
    EXPECT_EQ(StageNo, 3);
    EXPECT_EQ(BombStock, 6);
    EXPECT_EQ(dat.score, 0);
    EXPECT_EQ(dat.playcount, 8);
    EXPECT_FALSE(pitem[3].flag);
    EXPECT_FLOAT_EQ(LogoTimer, 200.0f);  // the next intro's logo lasts four times as long
    EXPECT_EQ(ChargeGauge, 0);
}

// Whatever a game leaves in the values play keeps for itself, the next game
// starts as the first one after start-up: every value of the saved game
// state is either the title's own (or one NewGame sets) or put back by
// NewGame, and scribbling over all that NewGame puts back changes nothing.
TEST_F(SceneTest, EveryNewGameStartsAsTheFirstAfterStartUp) {
    static std::set<const void*> title;
    title = {&JEWELFONT, &SpriteFontLow, &Scene, &StageNo, &PlayerStock, &BombStock, &MenuState, &TitleCursor,
             &OptionRow, &LogoTimer, &LogoSize, &WallPos, &TitlePhase, &TitleAlpha, &Loaded, &JewelCount, &OPTION,
             &Options.startStage, &Options.invincible, &Score2, &ChargeGauge, &dat, &FrameStep, &SpeedAdjust,
             &PauseCount, &RandState, &PaceLastTick, &PaceAccum, &KeyData, &JoyData, &JoyShow, &DIuse, &dijs,
             &BlendFlg};
    static int stray;
    stray = 0;
    State_EachValue([](void* p, size_t) {
        // The virtual clock is carried by a copy of the state's own.
        if (!title.count(p) && !PerRun_Holds(p)) stray++;
    });
    EXPECT_LE(stray, 1) << "a saved value is neither the title's nor put back by NewGame";

    Plat_JoySetTape(PLAT_JOY_REPLAY);
    PerRun_Keep();
    std::vector<uint8_t> before(State_MaxBytes());
    before.resize(State_Save(before.data(), before.size()));
    NewGame();
    uint64_t first = Game_StateHash();
    ASSERT_TRUE(State_Load(before.data(), before.size()));
    // What a long game leaves: every per-run byte set.
    State_EachValue([](void* p, size_t n) {
        if (PerRun_Holds(p)) std::memset(p, 1, n);
    });
    Weapon = 2;
    JewelValue = -2000000000;
    NewGame();
    EXPECT_EQ(Game_StateHash(), first);
    EXPECT_EQ(JewelValue, 0);
    Plat_JoySetTape(PLAT_JOY_LIVE);
}

TEST_F(SceneTest, TitleCursorMovesOnlyOnJustPressed) {
    MenuState = MENU_TITLE;
    FrameStep = 0;
    KeyData = KEYSTATE();
    JoyData = JOYSTATE();
    KeyData.down = KEY_PUSH;
    MenuStep();
    EXPECT_EQ(TitleCursor, 1);
    KeyData.down = KEY_HOLD;
    MenuStep();
    EXPECT_EQ(TitleCursor, 1);
    KeyData.up = KEY_PUSH;  // up moves the same way: back around to 0
    MenuStep();
    EXPECT_EQ(TitleCursor, 0);
    KeyData = KEYSTATE();
    // While the walls are moving the menu ignores the keys.
    WallPos = -400;
    KeyData.down = KEY_PUSH;
    MenuStep();
    EXPECT_EQ(TitleCursor, 0);
    KeyData = KEYSTATE();
}

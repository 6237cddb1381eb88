// The bosses of stages 2 and 3 fought from a game started at their stage
// on the options screen: an invincible ship at the left edge with the fire
// key held reaches the boss, is fired at, and beats it, and the stage-clear
// wipe carries the game into the next stage.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "harness.h"

using namespace e2e;

namespace {

// Keys: the options' stage row moved right `rights` times from stage 1,
// then play with the fire key held from frame 310.
std::string Keys(int rights) {
    std::string k =
        "5 hold SPACE\n6 hold\n"                              // skip the intro
        "10 hold DOWN\n11 hold\n15 hold SPACE\n16 hold\n"     // options
        "150 hold DOWN\n151 hold\n155 hold DOWN\n156 hold\n";  // the stage row
    for (int i = 0; i < rights; i++) {
        int f = 160 + 5 * i;
        k += std::to_string(f) + " hold RIGHT\n" + std::to_string(f + 1) + " hold\n";
    }
    k += "180 hold SPACE\n181 hold\n"  // back to the title
         "300 hold SPACE\n301 hold\n"  // play
         "310 hold SPACE\n";           // and fire
    return k;
}

// One run to `frames` (drawing one frame in 16, and the pictures asked
// for); returns the state line.
std::string RunTo(const TempDir& tmp, int frames, const std::string& extra = "") {
    std::string state = tmp / ("s" + std::to_string(frames) + ".txt");
    RunResult r = RunGame("--invincible --draw-every 16 --frames " + std::to_string(frames) + " --script " +
                              (tmp / "keys.txt") + " --state-out " + state + extra,
                          tmp);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return ReadFile(state);
}

}  // namespace

// A game started at `stage`: mid-fight (frame `mid`) the boss fires and its
// bar is going down; at frame `end` it has been beaten and the next stage is
// under way, with the bonus paid and the clear's extra life given.
void FightThrough(int stage, int step, int mid, int end) {
    TempDir tmp;
    WriteFile(tmp / "keys.txt", Keys(stage - 1));
    std::string s = RunTo(tmp, mid, " --shot " + std::to_string(mid) + ":" + (tmp / "fight.png"));
    EXPECT_EQ(StateValue(s, "StartStage") * 100 + StateValue(s, "StageNo"), stage * 101) << s;
    EXPECT_EQ(StateValue(s, "StagePhase"), 2) << s;
    EXPECT_EQ(StateValue(s, "StageStep"), step) << s;
    EXPECT_GT(StateValue(s, "EnemyShots"), 20) << s;
    EXPECT_TRUE(StateValue(s, "BossBar") >= 0 && StateValue(s, "BossBar") < 500) << s;
    EXPECT_GT(ReadFile(tmp / "fight.png").size(), 1000u);

    std::string after = RunTo(tmp, end);
    EXPECT_EQ(StateValue(after, "StageNo"), stage + 1) << after;
    EXPECT_GE(StateValue(after, "PlayerStock"), StateValue(s, "PlayerStock") + 1) << after;
    EXPECT_GE(StateValue(after, "Score"), StateValue(s, "Score") + 1000000) << after;
}

// Stage 2's battleship is made around frame 33500 and beaten before 44000.
TEST(Boss23E2E, Stage2BattleshipFiresAndIsBeaten) { FightThrough(2, 35, 38000, 46000); }

// Stage 3's fortress holds its place from about frame 21900 and is beaten
// before 29000.
TEST(Boss23E2E, Stage3FortressFiresAndIsBeaten) { FightThrough(3, 20, 23000, 32000); }

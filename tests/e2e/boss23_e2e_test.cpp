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

int StateValue(const std::string& state, const std::string& key) {
    size_t at = state.find(" " + key + "=");
    if (at == std::string::npos) return -99999;
    return std::atoi(state.c_str() + at + key.size() + 2);
}

long long StateLong(const std::string& state, const std::string& key) {
    size_t at = state.find(" " + key + "=");
    if (at == std::string::npos) return -99999;
    return std::atoll(state.c_str() + at + key.size() + 2);
}

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

// One run to `frames`; returns the state line.
std::string RunTo(const TempDir& tmp, int frames, const std::string& extra = "") {
    std::string state = tmp / ("s" + std::to_string(frames) + ".txt");
    RunResult r = RunGame("--invincible --frames " + std::to_string(frames) + " --script " + (tmp / "keys.txt") +
                              " --state-out " + state + extra,
                          tmp);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return ReadFile(state);
}

}  // namespace

// Stage 2's battleship is made around frame 33500. Mid-fight (38000) its
// guns have the screen full of bullets and its bar is going down; it is
// beaten before 44000 and stage 3 is under way at 46000 with the bonus
// paid and the extra life given.
TEST(Boss23E2E, Stage2BattleshipFiresAndIsBeaten) {
    TempDir tmp;
    WriteFile(tmp / "keys.txt", Keys(1));
    std::string mid = RunTo(tmp, 38000, " --shot 38000:" + (tmp / "fight.png"));
    EXPECT_EQ(StateValue(mid, "StartStage"), 2) << mid;
    EXPECT_EQ(StateValue(mid, "StageNo"), 2) << mid;
    EXPECT_EQ(StateValue(mid, "StagePhase"), 2) << mid;
    EXPECT_EQ(StateValue(mid, "StageStep"), 35) << mid;
    EXPECT_GT(StateValue(mid, "EnemyShots"), 50) << mid;
    EXPECT_LT(StateValue(mid, "BossBar"), 500) << mid;
    EXPECT_GE(StateValue(mid, "BossBar"), 0) << mid;
    EXPECT_GT(ReadFile(tmp / "fight.png").size(), 1000u);

    std::string after = RunTo(tmp, 46000);
    EXPECT_EQ(StateValue(after, "StageNo"), 3) << after;
    EXPECT_EQ(StateValue(after, "Scene"), 1) << after;
    EXPECT_GE(StateValue(after, "PlayerStock"), StateValue(mid, "PlayerStock") + 1) << after;  // the clear's life
    EXPECT_GE(StateLong(after, "Score"), StateLong(mid, "Score") + 1000000) << after;
}

// Stage 3's fortress holds its place from about frame 21900. At 23000 it
// is firing and hit; it is beaten and stage 4 is under way at 32000.
TEST(Boss23E2E, Stage3FortressFiresAndIsBeaten) {
    TempDir tmp;
    WriteFile(tmp / "keys.txt", Keys(2));
    std::string mid = RunTo(tmp, 23000);
    EXPECT_EQ(StateValue(mid, "StartStage"), 3) << mid;
    EXPECT_EQ(StateValue(mid, "StageNo"), 3) << mid;
    EXPECT_EQ(StateValue(mid, "StagePhase"), 2) << mid;
    EXPECT_EQ(StateValue(mid, "StageStep"), 20) << mid;
    EXPECT_GT(StateValue(mid, "EnemyShots"), 20) << mid;
    EXPECT_LT(StateValue(mid, "BossBar"), 500) << mid;
    EXPECT_GE(StateValue(mid, "BossBar"), 0) << mid;

    std::string after = RunTo(tmp, 32000);
    EXPECT_EQ(StateValue(after, "StageNo"), 4) << after;
    EXPECT_GE(StateValue(after, "PlayerStock"), StateValue(mid, "PlayerStock") + 1) << after;  // the clear's life
    EXPECT_GE(StateLong(after, "Score"), StateLong(mid, "Score") + 1000000) << after;
}

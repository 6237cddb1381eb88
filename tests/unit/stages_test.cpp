// The scripts of stages 2, 3 and 4: what each sends in its first steps and
// when, the scroll changes, the WARNING with the stage's boss, and a game
// started at a stage leaving the other scripts alone.
//
// The bench (stage_fixture.h): every frame the script runs, then both
// accumulators grow by FrameStep = 0.05 in single precision. Small enemies
// leave at once; a mid-size enemy (the satellite too) dies at the end of the
// 200th frame after the one it came in.
//
// Counting in single precision, from 0, n additions of 0.05 reach
//   2 at n = 41, 3 at 61, 4 at 81, 10 at 200, 20 at 401, 30 at 601,
//   50 at 1001; from -100 they reach 3 after 2060 and pass 50 after 3000.
// Frame f sees f - 1 additions in a new game (the script runs before the
// accumulators grow); a group fired in frame F clears T, so "every t"
// fires again in frame F + n(t). A step ending without a group keeps T.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stage_fixture.h"

namespace {

class StagesTest : public StageTest {
protected:
    // Runs a game started at `stage` until its script reaches `lastStep`,
    // logging every spawn and every change of step with its frame.
    std::vector<std::string> Run(int stage, int lastStep) {
        StageNo = stage;
        std::vector<std::string> got;
        int step = StageStep[stage];
        while (StageStep[stage] < lastStep && frame < 40000) {
            Frame();
            for (int i = 0; i < SpawnLogCount; i++) got.push_back(Line(frame, SpawnLog[i]));
            EXPECT_EQ(SpawnLogLost, 0);
            SpawnLogClear();
            if (StageStep[stage] != step) {
                step = StageStep[stage];
                got.push_back(std::to_string(frame) + " step " + std::to_string(step));
            }
            PlayersAtWork();
        }
        return got;
    }

    // Every change of ScrollSpeedX (or Y) from a game started at `stage`
    // to its boss, with the step it happened in.
    std::vector<std::pair<int, float>> ScrollChanges(int stage, const float& speed) {
        StageNo = stage;
        std::vector<std::pair<int, float>> got;
        float last = speed;
        while (StagePhase != 0 && frame < 60000) {
            int step = StageStep[stage];
            Frame();
            PlayersAtWork();
            SpawnLogClear();
            if (speed != last && step < bossWarning) got.push_back({step, speed});
            last = speed;
        }
        return got;
    }
    int bossWarning = 1000;
};

// The expected log is built from the hand-derived frames below.
struct Want {
    std::vector<std::string> lines;
    void Add(int frame, const std::string& spawn) { lines.push_back(std::to_string(frame) + " " + spawn); }
    void Step(int frame, int step) { Add(frame, "step " + std::to_string(step)); }
    // `count` groups from `first`, `period` frames apart; returns the last.
    template <typename G>
    int Every(int first, int period, int count, G group) {
        int f = first;
        for (int k = 0; k < count; k++, f += period) group(f, k);
        return f - period;
    }
};

void ExpectSame(const std::vector<std::string>& got, const std::vector<std::string>& want) {
    for (size_t i = 0; i < want.size() && i < got.size(); i++) ASSERT_EQ(got[i], want[i]) << "entry " << i;
    EXPECT_EQ(got.size(), want.size());
}

TEST_F(StagesTest, Stage2OpensAsItsTableSays) {
    // step 0   StepTimer >= 50 after 1001 additions: frame 1002, step 1.
    // step 1   StepTimer2 is as far: the first pair at once, 1003; every 4
    //          (81 frames) to the 10th at 1003 + 9 * 81 = 1732 -> step 2.
    // step 2   every 3 (61): 1793 ... 2037 (5) -> step 3.
    // step 3   2098 ... 2342 -> step 4.
    // step 4   2343: nine zako2 from the bottom -> step 5 (T kept: 1 addition).
    // step 5   the first at 2342 + 61 = 2403 ... 2647 -> step 6.
    // step 6   2708 ... 2952 -> step 7.
    // step 7   2953: nine zako2 from the top -> step 8.
    // step 8   2952 + 81 = 3033, every 81 to 3762 (10) -> step 9;
    //          SpawnX 200, SpawnY 220.
    // step 9   every 10 (200): 3962 ... 4762, zako4 at y 200/220, 170/250,
    //          140/280, 110/310, 80/340; then Chuugata, Chuugata2 -> step 10.
    // step 10  4962 ... 5762, zako5 at 50/370, 80/340, ... 170/250; then
    //          Chuugata2 -> step 11.
    // step 11  T >= 20 401 frames after 5762: 6163 -> step 12.
    Want w;
    w.Step(1002, 1);
    int last = w.Every(1003, 81, 10, [&](int f, int) {
        w.Add(f, "zako1 640 200 190 35 0");
        w.Add(f, "zako1 640 240 170 35 0");
    });
    EXPECT_EQ(last, 1732);
    w.Step(last, 2);
    last = w.Every(1793, 61, 5, [&](int f, int) { w.Add(f, "zako3 640 130 180 40"); });
    w.Step(last, 3);
    last = w.Every(2098, 61, 5, [&](int f, int) { w.Add(f, "zako3 640 330 180 40"); });
    EXPECT_EQ(last, 2342);
    w.Step(last, 4);
    for (int x = 200; x <= 600; x += 50) w.Add(2343, "zako2 " + std::to_string(x) + " 440 270 65");
    w.Step(2343, 5);
    last = w.Every(2403, 61, 5, [&](int f, int) { w.Add(f, "zako3 640 330 180 40"); });
    w.Step(last, 6);
    last = w.Every(2708, 61, 5, [&](int f, int) { w.Add(f, "zako3 640 130 180 40"); });
    EXPECT_EQ(last, 2952);
    w.Step(last, 7);
    for (int x = 200; x <= 600; x += 50) w.Add(2953, "zako2 " + std::to_string(x) + " -5 90 65");
    w.Step(2953, 8);
    last = w.Every(3033, 81, 10, [&](int f, int) {
        w.Add(f, "zako1 640 100 150 30 0");
        w.Add(f, "zako1 640 340 210 30 0");
        w.Add(f, "zako1 400 0 60 35 0");
        w.Add(f, "zako1 400 440 300 35 0");
    });
    EXPECT_EQ(last, 3762);
    w.Step(last, 9);
    last = w.Every(3962, 200, 5, [&](int f, int k) {
        w.Add(f, "zako4 640 " + std::to_string(200 - 30 * k) + " 180 25");
        w.Add(f, "zako4 640 " + std::to_string(220 + 30 * k) + " 180 25");
    });
    w.Add(last, "Chuugata 640 220 180 90");
    w.Add(last, "Chuugata2 640 220 180 15");
    w.Step(last, 10);
    last = w.Every(4962, 200, 5, [&](int f, int k) {
        w.Add(f, "zako5 640 " + std::to_string(50 + 30 * k) + " 180 25");
        w.Add(f, "zako5 640 " + std::to_string(370 - 30 * k) + " 180 25");
    });
    EXPECT_EQ(last, 5762);
    w.Add(last, "Chuugata2 640 220 180 15");
    w.Step(last, 11);
    w.Step(6163, 12);
    ExpectSame(Run(2, 12), w.lines);
    EXPECT_EQ(ScrollSpeedX, -30.0f);
    EXPECT_EQ(StepTimer2, 0.05f);  // cleared as step 11 ended
}

TEST_F(StagesTest, Stage2ScrollChangesStepByStep) {
    bossWarning = 34;
    auto got = ScrollChanges(2, ScrollSpeedX);
    std::vector<std::pair<int, float>> want = {
        {0, -20}, {9, -25}, {11, -30}, {12, -35}, {13, -37}, {13, -39}, {13, -41}, {13, -43}, {13, -45},
        {14, -50}, {21, -70}, {22, -40}};
    for (int v = -41; v >= -50; v--) want.push_back({23, (float)v});
    for (int v = -51; v >= -55; v--) want.push_back({27, (float)v});
    for (int v = -56; v >= -60; v--) want.push_back({28, (float)v});
    for (int v = -61; v >= -70; v--) want.push_back({29, (float)v});
    want.push_back({33, -5});
    EXPECT_EQ(got, want);
    EXPECT_EQ(StageStep[2], 35);
}

TEST_F(StagesTest, Stage2SatelliteStepEndsWhenTheLastMidSizeEnemyDies) {
    StageNo = 2;
    StageStep[2] = 22;
    eisei(350, 0, 180, 1, 0);
    ASSERT_EQ(MidEnemyCount, 1);
    StepTimer2 = 20;
    for (int i = 0; i < 900; i++) Frame();  // 20 at once, then every 401 frames
    EXPECT_EQ(Logged("zako1"), 3);
    EXPECT_EQ(StageStep[2], 22);
    BEnemy2[0].flag = false;
    MidEnemyCount = 0;
    SpawnLogClear();
    Frame();
    EXPECT_EQ(StageStep[2], 23);
    EXPECT_EQ(StepRepeat2, 0.0f);
    EXPECT_EQ(ScrollSpeedX, -40.0f);
    EXPECT_EQ(Logged("Chuugata2"), 2);
}

TEST_F(StagesTest, Stage3OpensAsItsTableSays) {
    // step 0   StepTimer2 >= 30 after 601 additions: frame 602, step 1.
    // step 1   the first column at once, 603; every 2 (41) to the 10th at
    //          603 + 9 * 41 = 972; then a zako6 -> step 2.
    // step 2   every 10 (200): 1172 ... 1972; five zako6 -> step 3.
    // step 3   2172 ... 2972 -> step 4.
    // step 4   3172 ... 3972; forty zako1 (speed 10 to 100, y 100 to 400)
    //          and Chuugata5 -> step 5.
    // step 5   T >= 50 1001 frames after 3972 (the Chuugata5 is long dead
    //          by then, at 4172): 4973 -> step 6.
    // step 6   T kept: the first pair at once, 4974; the second 200 later,
    //          5174 -> step 7.
    // step 7   twenty frames, 5175 ... 5194 -> step 8, T = 0.
    // step 8   every 5 (100): the first pair of zako10 at 5294.
    Want w;
    w.Step(602, 1);
    int last = w.Every(603, 41, 10, [&](int f, int) {
        for (int j = 0; j < 5; j++) w.Add(f, "zako9 640 " + std::to_string(100 + 50 * j) + " 180 10");
    });
    EXPECT_EQ(last, 972);
    w.Add(last, "zako6 600 440 180 5");
    w.Step(last, 2);
    last = w.Every(1172, 200, 5, [&](int f, int) {
        w.Add(f, "zako8 250 0 90 40 1");
        w.Add(f, "zako8 250 440 270 40 0");
        for (int j = 0; j < 5; j++) w.Add(f, "oozako1 640 " + std::to_string(100 + 50 * j) + " 180 30");
    });
    for (int x : {300, 330, 380, 400, 500}) w.Add(last, "zako6 " + std::to_string(x) + " 480 180 5");
    w.Step(last, 3);
    last = w.Every(2172, 200, 5, [&](int f, int) {
        w.Add(f, "zako1 640 180 180 55 0");
        w.Add(f, "zako1 640 220 180 45 0");
        w.Add(f, "zako1 640 260 180 45 0");
        w.Add(f, "zako1 640 300 180 55 0");
        w.Add(f, "zako4 640 100 135 20");
        w.Add(f, "zako4 640 300 225 20");
    });
    w.Step(last, 4);
    last = w.Every(3172, 200, 5, [&](int f, int) {
        w.Add(f, "zako1 640 180 180 35 0");
        w.Add(f, "zako1 640 220 180 55 0");
        w.Add(f, "zako1 640 260 180 55 0");
        w.Add(f, "zako1 640 300 180 35 0");
        w.Add(f, "zako5 640 100 180 25");
        w.Add(f, "zako5 640 100 135 20");
        w.Add(f, "zako5 640 300 225 20");
        w.Add(f, "zako5 640 300 180 25");
    });
    EXPECT_EQ(last, 3972);
    for (int s = 10; s <= 100; s += 10)
        for (int y = 100; y <= 400; y += 100)
            w.Add(last, "zako1 640 " + std::to_string(y) + " 180 " + std::to_string(s) + " 0");
    w.Add(last, "Chuugata5 640 150 180 20");
    w.Step(last, 5);
    w.Step(4973, 6);
    w.Every(4974, 200, 2, [&](int f, int) {
        w.Add(f, "Chuugata2 640 200 165 25");
        w.Add(f, "Chuugata2 640 250 195 15");
    });
    w.Step(5174, 7);
    w.Step(5194, 8);
    ExpectSame(Run(3, 8), w.lines);
    EXPECT_EQ(ScrollSpeedX, -11.0f);
    EXPECT_EQ(ScrollSpeedY, -8.0f);

    // Step 8's first pair: one from above, one from below, at random.
    ASSERT_TRUE(RunUntil([] { return SpawnLogCount > 0; }, 200));
    EXPECT_EQ(frame, 5294);
    ASSERT_EQ(SpawnLogCount, 2);
    EXPECT_EQ(SpawnLog[0].y, -64.0f);
    EXPECT_GE(SpawnLog[0].angle, 55);
    EXPECT_LE(SpawnLog[0].angle, 125);
    EXPECT_EQ(SpawnLog[1].y, 479.0f);
    EXPECT_GE(SpawnLog[1].angle, 235);
    EXPECT_LE(SpawnLog[1].angle, 305);
}

TEST_F(StagesTest, Stage4OpensAsItsTableSays) {
    // step 0   StepTimer2 >= 20 after 401 additions: frame 402, step 1.
    // step 1   403: T is far past 2 and nothing mid-size lives: a group at
    //          once; then every 2 (41), twenty to 403 + 19 * 41 = 1182;
    //          two Chuugata2 -> step 2.
    // step 2   every 2 from 1223 to 1223 + 19 * 41 = 2002 (they fire whatever
    //          lives); Chuugata6 and two Chuugata2, T = -100 -> step 3.
    // step 3   from -100, T reaches 3 after 2060 frames: 4062; then every 61,
    //          the 20th at 4062 + 19 * 61 = 5221; four Chuugata4 -> step 4.
    // step 4   every 10 (200): 5421 ... 7221 -> step 5.
    // step 5   every 5 (100): 7321 ... 7721; Chuugata7, T = -100 -> step 7.
    // step 7   T passes 50 after 3000 frames: 10721, four Chuugata4 -> 8.
    // step 8   they die at the end of 10921: 10922 the two Chuugata6 -> 9.
    // step 9   they die at the end of 11122: 11123 -> step 10.
    // step 10  T kept since 10922: the first pair at once, 11124.
    Want w;
    w.Step(402, 1);
    int last = w.Every(403, 41, 20, [&](int f, int) {
        for (int x = 450; x <= 600; x += 50) w.Add(f, "zako1 " + std::to_string(x) + " 440 240 50 0");
    });
    EXPECT_EQ(last, 1182);
    w.Add(last, "Chuugata2 640 150 180 10");
    w.Add(last, "Chuugata2 640 250 180 10");
    w.Step(last, 2);
    last = w.Every(1223, 41, 20, [&](int f, int) {
        w.Add(f, "zako1 450 0 120 50 0");
        w.Add(f, "zako1 500 0 122 50 0");
        w.Add(f, "zako1 550 0 120 50 0");
        w.Add(f, "zako1 600 0 120 50 0");
    });
    EXPECT_EQ(last, 2002);
    w.Add(last, "Chuugata6 640 140 180 1.5 0");
    w.Add(last, "Chuugata2 640 100 180 10");
    w.Add(last, "Chuugata2 640 300 180 10");
    w.Step(last, 3);
    last = w.Every(4062, 61, 20, [&](int f, int) {
        w.Add(f, "zako11 0 400 0 20 1");
        w.Add(f, "zako11 0 0 0 20 1");
        w.Add(f, "zako8 600 -40 90 50 3");
        w.Add(f, "zako8 600 440 270 50 4");
    });
    EXPECT_EQ(last, 5221);
    w.Add(last, "Chuugata4 -299 0 0 2 1");
    w.Add(last, "Chuugata4 -299 110 0 1.5 1");
    w.Add(last, "Chuugata4 -299 330 0 1.5 1");
    w.Add(last, "Chuugata4 -299 400 0 2 1");
    w.Step(last, 4);
    last = w.Every(5421, 200, 10, [&](int f, int) {
        w.Add(f, "oozako1 640 200 180 30");
        w.Add(f, "zako8 -40 0 0 60 3");
        w.Add(f, "zako8 -40 440 0 60 4");
    });
    EXPECT_EQ(last, 7221);
    w.Step(last, 5);
    last = w.Every(7321, 100, 5, [&](int f, int) {
        w.Add(f, "zako8 0 0 45 50 2");
        w.Add(f, "zako8 600 0 135 50 2");
        w.Add(f, "zako8 0 440 315 50 2");
        w.Add(f, "zako8 600 440 225 50 2");
    });
    w.Add(last, "Chuugata7 640 200 180 1 0");
    w.Step(last, 7);
    w.Add(10721, "Chuugata4 640 150 181 1.5 1");
    w.Add(10721, "Chuugata4 640 100 180 1 1");
    w.Add(10721, "Chuugata4 640 350 180 1 1");
    w.Add(10721, "Chuugata4 640 290 179 1.5 1");
    w.Step(10721, 8);
    w.Add(10922, "Chuugata6 640 50 180 1.8 0");
    w.Add(10922, "Chuugata6 -530 250 0 3 1");
    w.Step(10922, 9);
    w.Step(11123, 10);
    w.Add(11124, "zako1 640 0 180 80 0");
    w.Add(11124, "zako11 640 440 180 50 0");
    std::vector<std::string> got = Run(4, 10);
    Frame();
    for (int i = 0; i < SpawnLogCount; i++) got.push_back(Line(frame, SpawnLog[i]));
    ExpectSame(got, w.lines);
    EXPECT_EQ(ScrollSpeedX, -60.0f);  // -20, then one less with each of the 40 groups of steps 1 and 2
    EXPECT_EQ(SpawnX, 410.0f);
    EXPECT_EQ(SpawnY, 30.0f);
}

TEST_F(StagesTest, Stage3And4ScrollWhereTheirTablesSay) {
    bossWarning = 19;
    auto x3 = ScrollChanges(3, ScrollSpeedX);
    EXPECT_EQ(x3, (std::vector<std::pair<int, float>>{{0, -11}, {18, -4}}));
    EXPECT_EQ(ScrollSpeedY, -1.0f);

    TearDown();
    SetUp();
    bossWarning = 18;
    auto y4 = ScrollChanges(4, ScrollSpeedY);
    // Step 9 sets -5 only while a mid-size enemy lives, and one always does
    // when it starts (the two Chuugata6 of step 8).
    EXPECT_EQ(y4, (std::vector<std::pair<int, float>>{
                      {1, -10}, {2, 10}, {3, 2}, {4, 5}, {7, 0}, {9, -5}, {11, 0}, {16, 3}, {17, 0}}));
    EXPECT_EQ(StageStep[4], 19);
}

TEST_F(StagesTest, Stage4Step8TakesTheLongWaitWhenMidSizeEnemiesHoldOn) {
    StageNo = 4;
    StageStep[4] = 8;
    Chuugata4(640, 150, 181, 1.5f, 1);  // never shot down here
    for (int i = 0; i < 4000; i++) Frame();  // frame f sees f - 1 additions
    EXPECT_EQ(StageStep[4], 8);
    SpawnLogClear();
    Frame();  // 4000 additions: 200 time units
    EXPECT_EQ(StageStep[4], 10);  // two steps on, past the Chuugata6
    EXPECT_EQ(Logged("Chuugata5"), 3);
    EXPECT_EQ(Logged("Chuugata6"), 0);
    EXPECT_EQ(StepRepeat2, 1.0f);  // the first sweep of step 10 is one short
    EXPECT_EQ(MidEnemyCount, 4);
}

// The counts and comparisons that are easy to get one off: stage 3's
// zako2 streams send 51 each (they end once R has passed 50), stage 2's
// walls bring one mid-size enemy with the second and two with the third,
// and stage 4's step 7 waits for T to pass 50, not to reach it.
TEST_F(StagesTest, StepsThatCountOneMoreOrWaitOneLonger) {
    StageNo = 3;
    for (int step : {15, 17}) {
        SCOPED_TRACE(step);
        StageStep[3] = step;
        StepTimer2 = 0;
        SpawnLogClear();
        ASSERT_TRUE(RunUntil([&] { return StageStep[3] != step; }, 2000));
        EXPECT_EQ(StageStep[3], step + 1);
        EXPECT_EQ(Logged("zako2"), 51);
    }

    StageNo = 2;
    StageStep[2] = 17;
    StepTimer2 = 0;
    StepRepeat2 = 0;
    std::vector<int> mids;
    while (StageStep[2] == 17 && frame < 10000) {
        SpawnLogClear();
        Frame();
        PlayersAtWork();
        if (Logged("zako1") > 0) mids.push_back(Logged("Chuugata2"));
    }
    EXPECT_EQ(mids, (std::vector<int>{0, 1, 2}));

    StageNo = 4;
    StageStep[4] = 7;
    StepTimer2 = 50;
    SpawnLogClear();
    Frame();
    EXPECT_EQ(Logged("Chuugata4"), 0);
    EXPECT_EQ(StageStep[4], 7);
    Frame();
    EXPECT_EQ(Logged("Chuugata4"), 4);
    EXPECT_EQ(StageStep[4], 8);
}

// Each stage started on its own reaches its WARNING with its own boss and
// the boss's energy filling at its own rate; nothing of the other stages
// moves.
TEST_F(StagesTest, EachStageReachesItsWarningAlone) {
    struct Case {
        int stage, warning;
        SpriteData* boss;
        float full, rate;
    };
    const Case cases[] = {{2, 34, BOSS2, 12000, 250}, {3, 19, BOSS3, 17000, 400}, {4, 18, BOSS4, 25000, 500}};
    SpriteData* const bosses[] = {BOSS1, BOSS2, BOSS3, BOSS4, BOSS5};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stage);
        TearDown();
        SetUp();
        frame = 0;
        StageNo = c.stage;
        ASSERT_TRUE(RunUntil([&] { return StageStep[c.stage] == c.warning; }, 60000));
        EXPECT_EQ(WarnX, 0.0f);
        EXPECT_EQ(WarnPasses, 0.0f);
        EXPECT_EQ(MidEnemyCount, 0);
        for (int i = 0; i < 100; i++) Frame();  // five time units
        EXPECT_NEAR(c.boss[0].hp, 5 * c.rate, 0.01f * c.rate);
        EXPECT_EQ(BossBar, (int)(c.boss[0].hp - c.rate * 0.05f) * 500 / (int)c.full);
        ASSERT_TRUE(RunUntil([] { return StagePhase == 0; }, 2000));
        EXPECT_EQ(StageStep[c.stage], c.warning + 1);
        EXPECT_EQ(c.boss[0].hp, c.full);
        for (SpriteData* other : bosses)
            if (other != c.boss) {
                EXPECT_EQ(other[0].hp, 0.0f);
            }
        for (int stage = 1; stage <= 5; stage++)
            if (stage != c.stage) {
                EXPECT_EQ(StageStep[stage], 0);
            }
        EXPECT_EQ(StepRepeat, 0);
        EXPECT_EQ(HaroIndex, 0);
        EXPECT_EQ(FrameTick, 0);
        EXPECT_EQ(StageNo, c.stage);
    }
}

}  // namespace

// Pacing driven by made-up refresh timestamps: steps per picture and the
// game's speed over a long run, on the common refresh rates, with missed
// refreshes and with displays that do not wait at all.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "shell/pacing.h"

namespace {

struct PaceRun {
    std::map<int, int> steps;  // steps a picture -> pictures (after the measurement settled)
    double speed;              // game steps per second over the settled part, as a share of 250
    int notices;               // fallback reports
    int n;                     // steps a picture at the end (0: exact)
};

// A display at `hz` whose presents come back on its refreshes; every
// `dropEvery`-th picture misses one refresh (0: none). The loop asks for
// its steps just after the previous present came back, as the frame loop
// does.
PaceRun Simulate(int mode, double hz, int dropEvery = 0, int pictures = 6000) {
    Pacer p;
    double period = 1000.0 / hz, t = 1000.0;
    Pace_Init(&p, mode, t);
    PaceRun r = {{}, 0, 0, 0};
    long settledSteps = 0;
    double settledFrom = 0;
    const int settle = 200;
    for (int i = 0; i < pictures; i++) {
        int due = Pace_Due(&p, t + 0.2);
        EXPECT_LE(due, PACE_MAX_STEPS);
        t += period * (dropEvery && i % dropEvery == dropEvery - 1 ? 2 : 1);
        if (Pace_Presented(&p, t)) r.notices++;
        if (i == settle) settledFrom = t;
        if (i > settle) {
            r.steps[due]++;
            settledSteps += due;
        }
    }
    r.speed = settledSteps / ((t - settledFrom) / 1000.0) / 250.0;
    r.n = p.n;
    return r;
}

std::set<int> Keys(const std::map<int, int>& m) {
    std::set<int> s;
    for (auto& kv : m) s.insert(kv.first);
    return s;
}

}  // namespace

TEST(Pacing, SmoothGivesEveryRefreshTheSameStepsWhereTheyFit) {
    struct Case {
        double hz;
        int n;
    } cases[] = {{60, 4}, {59.94, 4}, {120, 2}, {240, 1}, {50, 5}};
    for (const Case& c : cases) {
        PaceRun r = Simulate(PACE_SMOOTH, c.hz);
        EXPECT_EQ(Keys(r.steps), std::set<int>{c.n}) << c.hz << " Hz";
        EXPECT_NEAR(r.speed, c.n * c.hz / 250.0, 0.002) << c.hz << " Hz";
        EXPECT_NEAR(r.speed, 1.0, 0.05) << c.hz << " Hz";
        EXPECT_EQ(r.notices, 0) << c.hz << " Hz";
    }
}

TEST(Pacing, SmoothFallsBackToExactWhereNoWholeNumberFitsAndSaysSoOnce) {
    for (double hz : {75.0, 144.0, 165.0, 100.0}) {
        PaceRun r = Simulate(PACE_SMOOTH, hz);
        EXPECT_EQ(r.n, 0) << hz << " Hz";
        EXPECT_EQ(r.notices, 1) << hz << " Hz";
        EXPECT_NEAR(r.speed, 1.0, 0.005) << hz << " Hz";
        EXPECT_GE(Keys(r.steps).size(), 2u) << hz << " Hz";  // the uneven steps that smooth would have cured
    }
    // A display that does not wait for its refresh at all: presents a
    // millisecond apart must not make the game race at n steps each.
    PaceRun r = Simulate(PACE_SMOOTH, 1000.0);
    EXPECT_EQ(r.n, 0);
    EXPECT_NEAR(r.speed, 1.0, 0.01);
}

TEST(Pacing, ExactKeepsTheGameAt250StepsASecond) {
    for (double hz : {60.0, 59.94, 75.0, 120.0, 144.0, 165.0}) {
        PaceRun r = Simulate(PACE_EXACT, hz);
        EXPECT_NEAR(r.speed, 1.0, 0.005) << hz << " Hz";
        EXPECT_EQ(r.notices, 0);
        double ideal = 250.0 / hz;
        for (int s : Keys(r.steps)) {
            EXPECT_GE(s, (int)ideal) << hz << " Hz";
            EXPECT_LE(s, (int)ideal + 1) << hz << " Hz";
        }
    }
    // 60 Hz: 4.17 steps a picture, so 4s with a 5 about one picture in six.
    PaceRun r = Simulate(PACE_EXACT, 60);
    EXPECT_EQ(Keys(r.steps), (std::set<int>{4, 5}));
    EXPECT_NEAR((double)r.steps[5] / (r.steps[4] + r.steps[5]), 1.0 / 6, 0.01);
}

TEST(Pacing, MissedRefreshes) {
    // Smooth: a late picture still advances n steps; the game is slower by
    // the refreshes missed, and never jumps.
    PaceRun s = Simulate(PACE_SMOOTH, 60, 10);
    EXPECT_EQ(Keys(s.steps), std::set<int>{4});
    EXPECT_NEAR(s.speed, 0.96 * 10 / 11, 0.003);
    // Exact: the late picture catches up, so the speed stays.
    PaceRun e = Simulate(PACE_EXACT, 60, 10);
    EXPECT_NEAR(e.speed, 1.0, 0.005);
    EXPECT_EQ(*Keys(e.steps).rbegin(), 9);
    // A display that misses every other refresh is a 30 Hz display: smooth
    // then shows 8 steps a picture.
    PaceRun half = Simulate(PACE_SMOOTH, 60, 1);
    EXPECT_EQ(Keys(half.steps), std::set<int>{8});
}

TEST(Pacing, ALongStallNeverRacesToCatchUp) {
    Pacer p;
    Pace_Init(&p, PACE_EXACT, 0);
    EXPECT_EQ(Pace_Due(&p, 2.0), 0);
    EXPECT_EQ(Pace_Due(&p, 4.5), 1);
    EXPECT_EQ(Pace_Due(&p, 5000), PACE_MAX_STEPS);  // the loading pass
    EXPECT_EQ(Pace_Due(&p, 5004.1), 1);
    // The stall is not a refresh either: it leaves the measurement alone.
    Pacer q;
    Pace_Init(&q, PACE_SMOOTH, 0);
    double t = 0;
    for (int i = 0; i < 40; i++) Pace_Presented(&q, t += 1000.0 / 60);
    Pace_Presented(&q, t += 900);
    EXPECT_NEAR(Pace_MedianInterval(&q), 1000.0 / 60, 1e-9);
    EXPECT_EQ(Pace_Due(&q, t), 4);
}

TEST(Pacing, PresentsWithoutASteadyBeatAreNotARefreshToFollow) {
    // Pictures coming back at random between 1 and 30 ms (a display that
    // does not wait, on a busy machine): whatever their median, smooth
    // pacing would follow noise, so the pacing stays exact.
    Pacer p;
    Pace_Init(&p, PACE_SMOOTH, 0);
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> gap(1.0, 30.0);
    double t = 0;
    int notices = 0;
    long steps = 0;
    for (int i = 0; i < 3000; i++) {
        steps += Pace_Due(&p, t);
        t += gap(gen);
        notices += Pace_Presented(&p, t);
        ASSERT_EQ(p.n, 0) << i;
    }
    EXPECT_EQ(notices, 1);
    EXPECT_NEAR(steps / (t / 1000) / 250, 1.0, 0.01);
    // The loop then paces itself at 60 Hz: the beat is steady and smooth
    // pacing takes over.
    Pace_Forget(&p);
    for (int i = 0; i < 100; i++) Pace_Presented(&p, t += 1000.0 / 60 + (i % 3 - 1) * 0.4);
    EXPECT_EQ(Pace_Due(&p, t), 4);
}

// Stage 5's script.
#include <gtest/gtest.h>

#include "boss/boss.h"
#include "stage_fixture.h"

namespace {

class Stage5Test : public StageTest {
protected:
    void SetUp() override {
        StageTest::SetUp();
        BossReset();
        StageNo = 5;
    }
    void TearDown() override {
        BossReset();
        StageTest::TearDown();
    }
};

TEST_F(Stage5Test, DebugWalk) {
    int step = -1;
    for (int i = 0; i < 120000 && StagePhase != 0; i++) {
        Frame();
        for (int b = 0; b < 3; b++) BOSS1[b].flag = false;
        PlayersAtWork();
        if (StageStep[5] != step) {
            step = StageStep[5];
            printf("frame %d step %d T %g R %g SY %g mid %d\n", frame, step, StepTimer2, StepRepeat2, ScrollSpeedY, MidEnemyCount);
        }
    }
    printf("end frame %d step %d T %g R %g WC %d mid %d\n", frame, StageStep[5], StepTimer2, StepRepeat2, WaveCounter, MidEnemyCount);
}

}  // namespace

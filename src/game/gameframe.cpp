// One game frame (scene 1). Every pass draws what it moves, so the order
// of the passes is also the drawing order.
#include "game/frame.h"
#include "game/game.h"
#include "game/ghost.h"
#include "game/hud.h"
#include "entity/entity.h"
#include "player/player.h"
#include "core/input.h"
#include "core/core.h"

void GameFrame() {
    StageBackground();
    ShipFrameStart();
    if (P_Ship.flag) InputPoll();
    PlayerFireAndBomb();
    StageScript();
    StaffRoll();
    StepTimer += FrameStep;
    StepTimer2 += FrameStep;
    HudDraw();

    SmallEnemyPass();
    MidEnemyPass();
    BossPass();
    EffectsPass();
    PlayerShotPass();
    PitemPass();
    GhostDraw();
    ShipMoveAndDraw();
    LinePass();
    EnemyFirePass();
    ShieldLatePass();
    StageLateDraw();

    BossCreate();
    ScoreLine();
    StageClearWipe();
    ShipLossAndRespawn();
    GameOverScreen();
    GhostSplitsDraw();
    BombPulse = 0;

    // The new time step; a paused game stands still but is still drawn.
    if (PauseCount % 2 == 1) {
        ShowSpeedAdjust();
        FrameStep = 0;
    } else {
        FrameStep = PutFps() + SpeedAdjust;
    }
}

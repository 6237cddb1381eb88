// The passes of a game frame (scene 1), each owned by its subsystem, in the
// order the frame runs them.
#pragma once
#include "entity/entity.h"  // LinePass

// Stage flow.
void StageBackground();  // backgrounds and clouds
void StageScript();      // the current stage's step machine
void StageClearWipe();   // the stage-clear wipe while StagePhase is 4 or 5
void StageLateDraw();    // stage 5's fortress front, over everything the passes drew

// HUD, score, game over and the ending.
void StaffRoll();        // stage 6
void HudDraw();          // gauge, icons, shield, pop-ups, lives, jewels
void ScoreLine();        // score and high score, every frame
void GameOverScreen();   // while no lives are left
void StageClearRecords();  // a stage's records, once its clear wipe has closed (stages 1..5)
void GameComplete();       // the clear after the staff roll: back to the title

// Player.
void ShipFrameStart();     // level row at the start of the frame
void PlayerFireAndBomb();  // shooting and the joystick bomb
void PlayerShotPass();     // the five shot pools, with their hits on mid-size enemies and bosses
void PitemPass();          // power items
void ShipMoveAndDraw();
void ShipLossAndRespawn(); // after every collision test; also counts down the invincibility

// Enemies, bullets, effects.
void SmallEnemyPass();
void MidEnemyPass();
void BossPass();
void EffectsPass();        // explosions, jewels, sparks, debris and stars
void EnemyFirePass();      // beams and large bullets, lasers, bullets, flashes
void ShieldLatePass();     // the shield on the frames it is not handled with the HUD
void BossCreate();         // in the frame in which StagePhase is 0

// One whole game frame.
void GameFrame();

// The HUD, game over and ending arrive with their own work.
#include "game/frame.h"
void StaffRoll() {}
void HudDraw() {}
void ScoreLine() {}
void GameOverScreen() {}
void StageClearRecords() {}
void GameComplete() {}

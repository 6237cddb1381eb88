// Game-wide state shared by the scenes, the stage flow and the game frame.
#pragma once

extern int Scene;    // -1 instructions, 0 loading/intro/title/options, 1 game
extern int StageNo;  // current stage, 1..5 (6: the staff roll)

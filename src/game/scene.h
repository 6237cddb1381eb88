// The scene machine: instructions, loading, intro, title, options and the
// start of a new game.
#pragma once
#include "config/gamestart.h"

#include <cstdint>

// Letters of the product name spelled out by the intro, one state each.
enum { TITLE_LETTERS = 10 };
enum {
    MENU_LOGO = 0,
    MENU_TITLE = TITLE_LETTERS + 1,   // reached after the last letter
    MENU_TITLE2 = TITLE_LETTERS + 2,  // the same title, reached by skipping
    MENU_OPTIONS = TITLE_LETTERS + 3,
};

// Scene -1: the one-frame instructions screen.
void SceneInstructions();
// Scene 0: loading (once), input, the intro, title and options.
void SceneTitle();
// The loading pass: every bitmap and sound, the joystick, "score.dat",
// the ship record, the option defaults, every pool empty.
void LoadEverything();
// One step of the intro/title/options sequence.
void MenuStep();
// Left (-1) or right (+1) on the selected options row.
void OptionChange(int dir);
// Shot pressed in scene 0.
void MenuShot();
// The start of a new game from the title. From simulation 2 on every game
// starts as the first one after start-up: what the last game left in the
// per-run values does not reach it (game/perrun.h), the speed correction
// is taken in its whole steps, the pause as odd or even.
void NewGame();
// Stage practice: the stage (1..5) a page has asked to practise, on the
// options' difficulty, lives and power stock; the title's next frame
// starts it as the shot key starts a game (0: none asked).
extern int PracticeAsked;
// The game in play is a stage practice (PRACTICE_STAGE) or not
// (PRACTICE_NONE): one started at any stage, never counted in the record
// ("score.dat") and never written to it (see DataHoldForPractice).
extern int GamePractice;
// The practice's score in each stage it cleared (index: stage - 1; -1 not
// cleared) and the jewels it held then; set at each clear of every game.
extern int64_t GameStageScore[5];
extern int32_t GameStageJewel[5][5];
// Once a stage practice a player played has gone back to the title (the
// frame loop calls it after that frame, outside the game's own frames, so
// that a practice plays exactly as a game started at its stage): the
// record's counters and high score as the practice found them, the
// options' own first stage, the record saved as usual again.
void PracticeEnded();
// The simulation version play follows: REPLAY_SIM, or an older recording's
// while it is played back.
extern int GameSim;
// What the title left the last game NewGame started (a kept replay's
// header writes it down).
extern GameStart GameStartNoted;
// A game started as the title starts one, from a kept replay's start: the
// loading pass has run; the values are put in place, then NewGame and the
// rest of the title's frame run as the shot key's frame ran them. The
// joystick's tape holds the outcome of the open NewGame makes.
void NewGameFrom(const GameStart& start);
// The rest of a title frame once its input and shot key are handled.
void TitleFrameEnd();
// The options after loading.
void OptionDefaults();
// The options row whose value the title's options screen could not have
// chosen ("difficulty", "lives", "start stage", "power stock"), or null.
const char* OptionsNotFromTitle();
// A short line describing the game state (for tests and bug reports).
void Game_DescribeState(char* out, int size);

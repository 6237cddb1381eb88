// The scene machine: instructions, loading, intro, title, options and the
// start of a new game.
#pragma once

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
// The start of a new game from the title.
void NewGame();
// The options after loading.
void OptionDefaults();
// The options row whose value the title's options screen could not have
// chosen ("difficulty", "lives", "start stage", "power stock"), or null.
const char* OptionsNotFromTitle();
// A short line describing the game state (for tests and bug reports).
void Game_DescribeState(char* out, int size);

// The options of a run: the command line and the settings fill them in,
// the shell and the game read them.
#pragma once

// Command-line options of a run.
struct ShellOptions {
    bool headless;     // --headless: no window, no audio device
    bool window;       // --window: a window instead of full screen
    int scale;         // --scale N: window size factor
    long maxFrames;    // --frames N: stop after N game frames (0: never)
    const char* home;  // --home DIR: folder of "score.dat"
    const char* script;  // --script FILE: scripted keys
    const char* record;  // --record FILE
    const char* play;    // --play FILE
    bool verify;         // --verify: check the playback's state fingerprints
    long bot;            // --bot SEED: the random player (-1: off)
    const char* stateOut;  // --state-out FILE: a line describing the game state at the end
    const char* submit;    // --submit FILE: send the replay FILE to the score board, nothing else
    long drawEvery;      // --draw-every K: headless, draw only every K-th picture of play, none with 0 (testing aid)
    const char* resultJson;  // --result-json FILE: what a played replay's game came to
    const char* track;       // --track FILE: the played replay's ghost track
    int pace;              // --pace: 0 exact (every refresh shows the latest step), 1 smooth
    const char* paceLog;   // --pace-log FILE: each present's time and steps (testing aid)
    bool pauseOnFocusLoss; // play pauses when the window loses focus (default on)
    bool keepReplays;      // every game in a window recorded to the replay folder (default on)
    int shotCount;
    long shotFrame[64];  // --shot N:FILE
    const char* shotFile[64];
    int startStage;      // --stage N: 0, or the stage every new game starts at (1..5), whatever the title's options say
    bool invincible;     // --invincible (or set by a test): the ship cannot be lost
};

extern ShellOptions Options;

// The game's core: the frame step and its pacing, the pause and speed
// state, the one random number generator, the shared text buffer and the
// error and message boxes. Every folder above the platform may use it; it
// uses nothing but the platform.
#pragma once
#include <cstdint>

extern float FrameStep;      // time step of the current frame
extern float SpeedAdjust;    // user correction added to the step, >= 0
extern int PauseCount;       // paused while odd
extern char str[104];        // the shared on-screen text buffer

// The pacing step (0.05 or 0) of this frame.
float PutFps();
// Resets the pacing state of PutFps (tests).
void PutFps_Reset();
// The pacing as a steady run of frames leaves it: the last step one frame
// ago, nothing gathered towards the next (a new game's start).
void PutFps_Restart();

// The speed correction in its steps of 0.001, the way the speed keys move
// it (float sums of steps that cancel out are 0 steps), and back.
int SpeedSteps(float speed);
float SpeedOfSteps(int steps);
// The pacing state: the last tick seen and the time gathered towards the
// next step (kept in a saved game state).
extern float PaceLastTick, PaceAccum;

// A pseudo-random integer from low to high inclusive.
int my_rand(int low, int high);
// The generator itself: state*214013+2531011, value (state>>16)&0x7FFF.
int qs_rand();
extern uint32_t RandState;

// Shows an error box with the caption "エラー発生"; always false.
bool Error(const char* text);
// A message box with an OK button, its text and caption in the language in
// force (headless: a line on standard error).
void Shell_MessageBox(const char* text, const char* caption);

// Folder of "score.dat" with a trailing '/' (--home), or null for the
// program's own directory.
extern const char* HomeDir;

// The run's recorder as the game's record file sees it: the shell's replay
// code fills these in at start-up. Unset (tests, tools), the record is read
// and written as it is.
struct RecorderHooks {
    bool (*playing)();               // a playback is running: the player's own file is left alone
    void (*flush)();                 // what was recorded is made sure on disk
    void (*filterDat)(uint8_t* bytes1088);  // the record the run starts from, kept or replaced
};
extern RecorderHooks Recorder;

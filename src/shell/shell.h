// Application shell: the frame loop and its pacing, the function keys,
// random numbers, error boxes and the program directory.
#pragma once
#include <cstdint>

struct PlatWindow;

extern PlatWindow* hwnd;     // the one window (opaque; null headless)
extern int MouseX, MouseY;   // written only
extern float FrameStep;      // time step of the current frame
extern float SpeedAdjust;    // user correction added to the step, >= 0
extern int PauseCount;       // paused while odd
extern char str[104];        // the shared on-screen text buffer

// The game's per-frame function (scenes): draws the next picture.
void Main_Proc(PlatWindow* window);
// Key-down handler; `key` is the virtual-key code.
void Event_Proc(int key, PlatWindow* window);
// Window procedure for the events the platform delivers between frames.
// Returns false once the window has been destroyed (the loop ends).
// The pacing step (0.05 or 0) of this frame.
float PutFps();
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
// The game's data folder (beside the program in a build tree) with its
// trailing separator.
const char* DirectoryFound();
void msg_proc();

// Folder of "score.dat" with a trailing '/' (--home), or null for the
// program's own directory.
extern const char* HomeDir;

// Resets the pacing state of PutFps (tests).
void PutFps_Reset();

// Time service.
//
// The game's tick count is a virtual clock: it advances by exactly 4 ms for
// every game frame that runs, so every frame of the game is one full step of
// the 250-steps-per-second pace the game was tuned for, on any machine and
// any display. Real time only decides how many frames run before the next
// picture is shown.
#pragma once
#include <cstdint>

enum { PLAT_FRAME_MS = 4 };  // one game frame of the virtual clock

// The game's tick count in milliseconds (the virtual clock).
uint32_t Plat_GetTickCount();
// Puts the virtual clock back where a saved game state or a replay's start
// had it.
void Plat_SetTickCount(uint32_t ms);
// Advances the virtual clock by one game frame (4 ms).
void Plat_AdvanceFrame();
// Milliseconds of real time since start-up (monotonic).
double Plat_RealMs();
// Sleeps for `ms` milliseconds of real time.
void Plat_SleepMs(double ms);
// The most game frames the loop runs before one picture to catch up with
// real time: 10 (40 ms) on the desktop; 50 in a browser page, whose turns
// come far less evenly (timers, the page's own work, the browser's).
int Plat_CatchUpFrames();

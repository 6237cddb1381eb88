// The core's state, pacing, random numbers and boxes.
#include "core/core.h"
#include "core/lang.h"
#include "platform/display.h"
#include "platform/msgbox.h"
#include "platform/time.h"

#include <cmath>

float FrameStep;
float SpeedAdjust;
int PauseCount;
char str[104];
const char* HomeDir;
RecorderHooks Recorder;

// Pacing. The tick count comes from the platform's virtual clock, which
// moves 4 ms per game frame: every frame is a stepping frame of 0.05, the
// pace all the game's speeds and timers were tuned for.
float PaceLastTick;
float PaceAccum;

float PutFps() {
    float result = 0;
    float now = (float)Plat_GetTickCount();
    PaceAccum += (now - PaceLastTick) / 1000;
    PaceLastTick = now;
    if (PaceAccum >= 0.004) {
        result = 0.05f;
        PaceAccum = 0;
    }
    return result;
}

void PutFps_Reset() {
    PaceLastTick = 0;
    PaceAccum = 0;
}

void PutFps_Restart() {
    PaceLastTick = (float)(Plat_GetTickCount() - PLAT_FRAME_MS);
    PaceAccum = 0;
}

int SpeedSteps(float speed) {
    if (!(speed > 0)) return 0;  // NaN too
    if (speed >= 2e6f) return 2000000000;
    return (int)std::lround((double)speed * 1000.0);
}

float SpeedOfSteps(int steps) { return (float)(steps / 1000.0); }

// The one generator of the game, never reseeded: every run plays the same
// sequence.
uint32_t RandState = 1;

int qs_rand() {
    RandState = RandState * 214013u + 2531011u;
    return (int)((RandState >> 16) & 0x7FFF);
}

int my_rand(int low, int high) {
    int r = qs_rand();
    double v = r / 32767.1 * ((double)high - low + 1) + low;
    return (int)v;
}

bool Error(const char* text) {
    Plat_LeaveFullscreen();  // nothing to leave without a window
    Shell_MessageBox(text, "エラー発生");
    return false;
}

// Every message box of the game comes through here, in the language in
// force.
void Shell_MessageBox(const char* text, const char* caption) {
    Plat_MessageBox(Lang_Text(text), Lang_Text(caption));
}

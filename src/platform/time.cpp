// The game's clock. Every game frame is one 4 ms step of a virtual tick
// count, so the game always runs its 250 steps a second; real time only
// decides how many frames run between two pictures on screen.
#include "platform/time.h"
#include "platform/plat_internal.h"

#include <chrono>
#include <thread>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

static uint32_t gTicks;
static const auto gStart = std::chrono::steady_clock::now();

uint32_t Plat_GetTickCount() { return gTicks; }

void Plat_SetTickCount(uint32_t ms) { gTicks = ms; }

void Plat_AdvanceFrame() {
    gTicks += 4;
#ifdef __EMSCRIPTEN__
    // A run that never presents (headless, a replay being checked) still
    // hands the page back its events now and then.
    PlatI_YieldNow(false);
#endif
}

int Plat_CatchUpFrames() {
#ifdef __EMSCRIPTEN__
    return 50;
#else
    return 10;
#endif
}

double Plat_RealMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - gStart).count();
}

#ifdef __EMSCRIPTEN__
// In a browser page the game's loop runs on the page's own thread: every
// wait gives the page its turn (events, drawing, sound), and the loop goes
// on where it was afterwards.
static double gLastYield;

void PlatI_YieldNow(bool always) {
    double now = Plat_RealMs();
    if (!always && now - gLastYield < 100) return;
    gLastYield = now;
    emscripten_sleep(0);
}

void Plat_SleepMs(double ms) {
    gLastYield = Plat_RealMs();
    emscripten_sleep(ms > 0 ? (unsigned)(ms + 0.5) : 0);
}
#else
void Plat_SleepMs(double ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms));
}
#endif

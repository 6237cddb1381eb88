// The game's clock. Every game frame is one 4 ms step of a virtual tick
// count, so the game always runs its 250 steps a second; real time only
// decides how many frames run between two pictures on screen. Waiting is
// the desktop's or the page's own (time_desktop.cpp, time_web.cpp).
#include "platform/time.h"
#include "platform/plat_internal.h"

#include <chrono>

static uint32_t gTicks;
static const auto gStart = std::chrono::steady_clock::now();

uint32_t Plat_GetTickCount() { return gTicks; }

void Plat_SetTickCount(uint32_t ms) { gTicks = ms; }

void Plat_AdvanceFrame() {
    gTicks += PLAT_FRAME_MS;
    // A run that never presents (headless, a replay being checked) still
    // hands a page back its events now and then.
    PlatI_YieldNow(false);
}

double Plat_RealMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - gStart).count();
}

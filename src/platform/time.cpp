// The game's clock. Every game frame is one 4 ms step of a virtual tick
// count, so the game always runs its 250 steps a second; real time only
// decides how many frames run between two pictures on screen.
#include "platform/time.h"
#include "platform/plat_internal.h"

#include <chrono>
#include <thread>

static uint32_t gTicks;
static const auto gStart = std::chrono::steady_clock::now();

uint32_t Plat_GetTickCount() { return gTicks; }
void Plat_AdvanceFrame() { gTicks += 4; }

double Plat_RealMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - gStart).count();
}

void Plat_SleepMs(double ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms));
}

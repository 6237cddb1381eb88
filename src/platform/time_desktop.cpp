// Waiting on a desktop: the game owns its thread and sleeps when it must.
#include "platform/plat_internal.h"
#include "platform/time.h"

#include <chrono>
#include <thread>

int Plat_CatchUpFrames() { return 10; }

void PlatI_YieldNow(bool) {}

void Plat_SleepMs(double ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms));
}

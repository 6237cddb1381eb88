// Waiting in a browser page: the game's loop runs on the page's own thread,
// so every wait gives the page its turn (events, drawing, sound), and the
// loop goes on where it was afterwards.
#include "platform/plat_internal.h"
#include "platform/time.h"

#include <emscripten.h>

int Plat_CatchUpFrames() { return 50; }

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

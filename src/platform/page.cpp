// The host page's view of the game (browser build only).
#include "platform/page.h"
#include "platform/time.h"

#include <cstdio>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

static void (*gDescribe)(char* out, int size);

void Plat_SetPageState(void (*describe)(char* out, int size)) { gDescribe = describe; }

#ifdef __EMSCRIPTEN__
// The game's state line, for the page's tests.
extern "C" EMSCRIPTEN_KEEPALIVE const char* qs_page_state() {
    static char line[512];
    line[0] = 0;
    if (gDescribe) gDescribe(line, sizeof line);
    return line;
}

// Game frames run so far (the virtual clock moves 4 ms a frame).
extern "C" EMSCRIPTEN_KEEPALIVE double qs_page_frames() { return Plat_GetTickCount() / 4.0; }
#endif

void Plat_ReportExit(int code) {
#ifdef __EMSCRIPTEN__
    std::fflush(stdout);
    std::fflush(stderr);
    EM_ASM({ if (Module.qsEnded) Module.qsEnded($0); }, code);
#else
    (void)code;
#endif
}

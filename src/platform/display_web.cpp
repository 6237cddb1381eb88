// The window in a page: the canvas. It holds the picture at its own size
// and the page scales it; full screen is the browser's, asked for by the
// page itself on F11 or Alt+Enter (a browser grants it only during a key or
// click), and the program cannot close the tab it runs in.
#include "platform/display.h"
#include "platform/plat_internal.h"

bool PlatI_PickVideoDriver(char*, size_t) { return true; }  // a page's only display is its canvas

PlatIWindowPlan PlatI_PlanWindow(const PlatDisplayConfig&) {
    PlatIWindowPlan plan;
    plan.flags = 0;  // a page may not take the screen without the player asking
    plan.w = 640;
    plan.h = 480;
    plan.x = plan.y = SDL_WINDOWPOS_CENTERED;
    plan.vsync = false;  // a page's loop is paced by its own waits
    return plan;
}

bool PlatI_ProcessorDrawsWindow() { return false; }  // a page draws through the browser's WebGL

void Plat_SetFullscreen(bool) {}
void Plat_SetWindowScale(int) {}
const char* Plat_WindowSizeNote() { return ""; }
bool Plat_WindowClosable() { return false; }

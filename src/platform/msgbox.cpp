// Modal message boxes; headless, the message goes to standard error.
#include "platform/msgbox.h"
#include "platform/plat_internal.h"

#include <cstdio>

static bool gHeadless;

void Plat_SetHeadless(bool headless) { gHeadless = headless; }
bool Plat_IsHeadless() { return gHeadless; }

void Plat_MessageBox(const char* text, const char* caption) {
    if (!text) text = "";
    if (!caption) caption = "";
    if (gHeadless || SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, PlatI_Window()) != 0)
        std::fprintf(stderr, "[%s] %s\n", caption, text);
}

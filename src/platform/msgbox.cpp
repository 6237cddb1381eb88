// Modal message boxes; headless, the message goes to standard error.
#include "platform/msgbox.h"
#include "platform/plat_internal.h"

#include <cstdio>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

static bool gHeadless;

void Plat_SetHeadless(bool headless) { gHeadless = headless; }
bool Plat_IsHeadless() { return gHeadless; }

#ifdef __EMSCRIPTEN__
// In a page the box is a dialog drawn by the page itself (an alert() would
// freeze the page, sound and all): the game waits, giving the page its
// turns, until the player has pressed OK.
EM_JS(int, qs_dialog_open, (const char* text, const char* caption), {
    if (!Module.qsDialog) return 0;
    Module.qsDialog(UTF8ToString(caption), UTF8ToString(text));
    return 1;
});
EM_JS(int, qs_dialog_showing, (), { return Module.qsDialogShowing && Module.qsDialogShowing() ? 1 : 0; });

void Plat_MessageBox(const char* text, const char* caption) {
    if (!text) text = "";
    if (!caption) caption = "";
    std::printf("[%s] %s\n", caption, text);
    std::fflush(stdout);
    if (gHeadless || !qs_dialog_open(text, caption)) return;
    while (qs_dialog_showing()) emscripten_sleep(50);
}
#else
void Plat_MessageBox(const char* text, const char* caption) {
    if (!text) text = "";
    if (!caption) caption = "";
    if (gHeadless || SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, PlatI_Window()) != 0)
        std::fprintf(stderr, "[%s] %s\n", caption, text);
}
#endif

// Message boxes in a page: a dialog drawn by the page itself (an alert()
// would freeze the page, sound and all); the game waits, giving the page
// its turns, until the player has pressed OK.
#include "platform/msgbox.h"
#include "platform/page.h"
#include "platform/plat_internal.h"

#include <cstdio>
#include <emscripten.h>

EM_JS(int, qs_dialog_open, (const char* text, const char* caption), {
    if (!Module.qsDialog) return 0;
    Module.qsDialog(UTF8ToString(caption), UTF8ToString(text));
    return 1;
});
EM_JS(int, qs_dialog_showing, (), { return Module.qsDialogShowing && Module.qsDialogShowing() ? 1 : 0; });

static bool sBoxWaiting;  // the game stands in a box, mid-frame

void Plat_MessageBox(const char* text, const char* caption) {
    if (!text) text = "";
    if (!caption) caption = "";
    std::printf("[%s] %s\n", caption, text);
    std::fflush(stdout);
    // The page's own calls between frames (its save on closing) cannot wait.
    if (Plat_IsHeadless() || Plat_InPageCall() || !qs_dialog_open(text, caption)) return;
    sBoxWaiting = true;
    while (qs_dialog_showing()) emscripten_sleep(50);
    sBoxWaiting = false;
}

bool PlatI_BoxWaiting() { return sBoxWaiting; }

void Plat_StopBox(const char*) {}  // the page shows what the program writes

// The host page's view of the game (browser build only): the state line
// for its tests, the end of the program, the save the page runs when it is
// hidden or closed, downloads, the language, the scaling of the canvas and
// the finished games the page sends to its score board (web/board.js).
#include "platform/page.h"
#include "platform/plat_internal.h"
#include "platform/time.h"

#include <cstdio>
#include <emscripten.h>

static void (*gDescribe)(char* out, int size);
static void (*gSave)();
static bool gInPageCall;

bool Plat_InPage() { return true; }
void Plat_SetPageState(void (*describe)(char* out, int size)) { gDescribe = describe; }
void Plat_SetPageSave(void (*save)()) { gSave = save; }
bool Plat_InPageCall() { return gInPageCall; }

// The game's state line, for the page's tests.
extern "C" EMSCRIPTEN_KEEPALIVE const char* qs_page_state() {
    static char line[512];
    line[0] = 0;
    if (gDescribe) gDescribe(line, sizeof line);
    return line;
}

// Game frames run so far (the virtual clock moves 4 ms a frame).
extern "C" EMSCRIPTEN_KEEPALIVE double qs_page_frames() { return Plat_GetTickCount() / 4.0; }

// The tab is being hidden or closed: keep what Escape would keep. The page
// calls this only while the game waits between frames; while the game
// stands in a message box it is in the middle of one (the load box: the
// record not read yet), and nothing is saved.
extern "C" EMSCRIPTEN_KEEPALIVE int qs_page_save() {
    if (!gSave || gInPageCall || PlatI_BoxWaiting()) return 0;
    gInPageCall = true;
    gSave();
    gInPageCall = false;
    std::fflush(stdout);
    std::fflush(stderr);
    return 1;
}

void Plat_ReportExit(int code) {
    std::fflush(stdout);
    std::fflush(stderr);
    EM_ASM({ if (Module.qsEnded) Module.qsEnded($0); }, code);
}

bool Plat_PageOffer(const char* path) {
    return EM_ASM_INT({ return Module.qsOffer ? (Module.qsOffer(UTF8ToString($0)) ? 1 : 0) : 0; }, path) != 0;
}

void Plat_PageLanguage(const char* code) {
    EM_ASM({ if (Module.qsLanguage) Module.qsLanguage(UTF8ToString($0)); }, code);
}

void PlatI_PageScaling(int mode) {
    EM_ASM({ if (Module.qsScaling) Module.qsScaling($0); }, mode);
}

void Plat_PageGameKept(const char* path, int submit, const char* name) {
    EM_ASM({ if (Module.qsGameKept) Module.qsGameKept(UTF8ToString($0), $1, UTF8ToString($2)); }, path, submit, name);
}

void Plat_PageTakenOver(long frame) {
    EM_ASM({ if (Module.qsTakenOver) Module.qsTakenOver($0); }, (double)frame);
}

bool Plat_PageOnBoard() {
    return EM_ASM_INT({ return Module.qsOnBoard && Module.qsOnBoard() ? 1 : 0; }) != 0;
}

static void (*gTakeGhost)(int difficulty, const char* path);
static bool gFetchingGhosts;

bool Plat_PageFetchGhosts(void (*take)(int difficulty, const char* path)) {
    gTakeGhost = take;
    gFetchingGhosts = EM_ASM_INT({ return Module.qsFetchGhosts && Module.qsFetchGhosts() ? 1 : 0; }) != 0;
    return gFetchingGhosts;
}

bool Plat_PageFetchingGhosts() { return gFetchingGhosts; }

// The page has a board's ghost for `difficulty` in the file `path` (empty:
// the board has no run there; difficulty -1: the fetch is over). Called
// between frames.
extern "C" EMSCRIPTEN_KEEPALIVE void qs_page_ghost(int difficulty, const char* path) {
    if (difficulty < 0) {
        gFetchingGhosts = false;
        return;
    }
    if (!gTakeGhost || difficulty > 3) return;
    gInPageCall = true;
    gTakeGhost(difficulty, path && path[0] ? path : nullptr);
    gInPageCall = false;
}

bool Plat_OpenUrl(const char* url) {
    return EM_ASM_INT({ return Module.qsOpenUrl ? (Module.qsOpenUrl(UTF8ToString($0)) ? 1 : 0) : 0; }, url) != 0;
}

bool Plat_CopyText(const char* text) {
    return EM_ASM_INT({ return Module.qsCopyText ? (Module.qsCopyText(UTF8ToString($0)) ? 1 : 0) : 0; }, text) != 0;
}

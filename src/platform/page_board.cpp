// The page's side of the score board (browser build; web/board.js): the
// game tells it of each finished game it has kept.
#include "platform/page.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>

void Plat_PageGameKept(const char* path, int submit, const char* name) {
    EM_ASM({ if (Module.qsGameKept) Module.qsGameKept(UTF8ToString($0), $1, UTF8ToString($2)); }, path, submit, name);
}
#else
void Plat_PageGameKept(const char*, int, const char*) {}
#endif

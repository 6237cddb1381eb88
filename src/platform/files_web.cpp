// Files in a page: the page keeps them in memory; its storage (IndexedDB)
// is written after each file, so the file outlives a reload or a closed
// tab.
#include "platform/plat_internal.h"

#include <emscripten.h>

void PlatI_FileWritten() {
    EM_ASM({ if (Module.qsSyncStorage) Module.qsSyncStorage(); });
}

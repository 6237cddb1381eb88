// Files in a page: the page keeps them in memory. An fsync there would
// write the whole storage folder (a half-made file with it) and wait for
// it, which a call from the page between frames (its save on closing)
// cannot do; instead the page's storage (IndexedDB) is written once the
// file has its name, so it outlives a reload or a closed tab.
#include "platform/plat_internal.h"

#include <emscripten.h>

bool PlatI_FileOnDisk(int) { return true; }

void PlatI_FileWritten(const char*) {
    EM_ASM({ if (Module.qsSyncStorage) Module.qsSyncStorage(); });
}

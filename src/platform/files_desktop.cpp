// Files on a desktop: a file written is on the disk once written.
#include "platform/plat_internal.h"

void PlatI_FileWritten() {}

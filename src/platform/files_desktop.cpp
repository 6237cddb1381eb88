// Files on a desktop: written through to the disk, the folder's entry too,
// so that a crash or a power cut right after a save keeps the new file.
#include "platform/plat_internal.h"

#include <fcntl.h>
#include <string>
#include <unistd.h>

bool PlatI_FileOnDisk(int fd) { return fsync(fd) == 0; }

void PlatI_FileWritten(const char* path) {
    std::string dir = path;
    size_t slash = dir.rfind('/');
    dir = slash == std::string::npos ? "." : dir.substr(0, slash + 1);
    int dfd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        fsync(dfd);
        close(dfd);
    }
}

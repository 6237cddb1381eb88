// Files: the program's own folder, and reads and writes that never leave a
// half-written file behind.
#include "platform/files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

const char* Plat_ProgramDir() {
    static char dir[4096];
    if (dir[0]) return dir;
    ssize_t n = readlink("/proc/self/exe", dir, sizeof dir - 1);
    if (n <= 0) {
        std::strcpy(dir, "./");
        return dir;
    }
    dir[n] = 0;
    char* slash = std::strrchr(dir, '/');
    if (slash) slash[1] = 0;
    else std::strcpy(dir, "./");
    return dir;
}

void Plat_GamePath(const char* in, char* out, size_t outsize) {
    if (!outsize) return;
    size_t i = 0;
    for (; in && in[i] && i + 1 < outsize; i++) out[i] = in[i] == '\\' ? '/' : in[i];
    out[i] = 0;
}

long Plat_ReadFile(const char* path, void* buf, size_t max) {
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    size_t got = 0;
    while (got < max) {
        ssize_t n = read(fd, static_cast<char*>(buf) + got, max - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += (size_t)n;
    }
    close(fd);
    return (long)got;
}

unsigned char* Plat_ReadWholeFile(const char* path, long* size, long max) {
    *size = -1;
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return nullptr;
    }
    if (st.st_size > max) {
        close(fd);
        *size = -2;
        return nullptr;
    }
    unsigned char* buf = static_cast<unsigned char*>(std::malloc(st.st_size ? st.st_size : 1));
    if (!buf) {
        close(fd);
        errno = ENOMEM;
        return nullptr;
    }
    long got = 0;
    while (got < st.st_size) {
        ssize_t n = read(fd, buf + got, st.st_size - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += n;
    }
    close(fd);
    *size = got;
    return buf;
}

void Plat_FreeFile(unsigned char* data) { std::free(data); }

bool Plat_WriteFileAtomic(const char* path, const void* data, size_t size) {
    std::string tmp = std::string(path) + ".tmpXXXXXX";
    int fd = mkstemp(&tmp[0]);
    if (fd < 0) return false;
    const char* p = static_cast<const char*>(data);
    size_t left = size;
    bool ok = true;
    while (left) {
        ssize_t n = write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        p += n;
        left -= (size_t)n;
    }
#ifndef __EMSCRIPTEN__
    // (In a page fsync would write the whole storage folder, this half-made
    // file with it, and wait for it in the middle of a frame; the page
    // writes its storage itself once the file is in place, below.)
    if (ok && fsync(fd) != 0) ok = false;
#endif
    fchmod(fd, 0644);
    if (close(fd) != 0) ok = false;
    if (ok && rename(tmp.c_str(), path) != 0) ok = false;
    if (!ok) {
        unlink(tmp.c_str());
        return false;
    }
#ifndef __EMSCRIPTEN__
    // Make the rename itself durable.
    std::string dir = path;
    size_t slash = dir.rfind('/');
    dir = slash == std::string::npos ? "." : dir.substr(0, slash + 1);
    int dfd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        fsync(dfd);
        close(dfd);
    }
#else
    // The page keeps its files in memory; its storage (IndexedDB) is
    // written now, so the file outlives a reload or a closed tab.
    EM_ASM({ if (Module.qsSyncStorage) Module.qsSyncStorage(); });
#endif
    return true;
}

// Files: the program's own folder, and reads and writes that never leave a
// half-written file behind.
#include "platform/files.h"
#include "platform/plat_internal.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

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
        if (n < 0) {
            // Opened but unreadable (a folder in the file's place, a disk
            // error): not an empty file.
            int why = errno;
            close(fd);
            errno = why;
            return -1;
        }
        if (n == 0) break;
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
    if (ok && !PlatI_FileOnDisk(fd)) ok = false;
    fchmod(fd, 0644);
    if (close(fd) != 0) ok = false;
    if (ok && rename(tmp.c_str(), path) != 0) ok = false;
    if (!ok) {
        int why = errno;  // the caller names the reason
        unlink(tmp.c_str());
        errno = why;
        return false;
    }
    PlatI_FileWritten(path);
    return true;
}

bool Plat_ListFolder(const char* dir, std::vector<PlatFolderEntry>* out) {
    out->clear();
    DIR* d = opendir(dir);
    if (!d) return false;
    std::string base = dir;
    if (!base.empty() && base.back() != '/') base += '/';
    while (struct dirent* e = readdir(d)) {
        if (!std::strcmp(e->d_name, ".") || !std::strcmp(e->d_name, "..")) continue;
        struct stat st;
        if (stat((base + e->d_name).c_str(), &st) != 0) continue;
        out->push_back({e->d_name, (long long)st.st_mtime, S_ISREG(st.st_mode)});
    }
    closedir(d);
    return true;
}

bool Plat_MoveFile(const char* from, const char* to) { return std::rename(from, to) == 0; }

bool Plat_RemoveFile(const char* path) { return std::remove(path) == 0; }
namespace fs = std::filesystem;

bool Plat_Exists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::exists(fs::status(path, ec));
}

bool Plat_IsFile(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(fs::status(path, ec));
}

bool Plat_IsDir(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(fs::status(path, ec));
}

// Access as this user (owner, group, root) is the kernel's answer, not the
// permission bits' alone.
bool Plat_CanRead(const std::string& path) { return access(path.c_str(), R_OK) == 0; }
bool Plat_CanWriteDir(const std::string& dir) { return access(dir.c_str(), W_OK | X_OK) == 0; }

bool Plat_MakeDirs(const std::string& dir) {
    if (dir.empty()) return false;
    std::error_code ec;
    fs::path made;
    for (const fs::path& part : fs::path(dir)) {
        made /= part;
        if (part.empty() || fs::exists(fs::status(made, ec))) continue;
        // Each folder the game makes holds the player's own files.
        if (!fs::create_directory(made, ec) && !fs::is_directory(fs::status(made, ec))) return false;
        fs::permissions(made, fs::perms::owner_all, fs::perm_options::replace, ec);
    }
    return Plat_IsDir(dir);
}

std::vector<std::string> Plat_ListDir(const std::string& dir) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    return names;
}

std::string Plat_WithSlash(std::string dir) {
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

std::string Plat_FreeName(const std::string& dir, const std::string& base, const std::string& ext, int limit) {
    std::string name = base + ext;
    for (int n = 2; Plat_Exists(dir + name) && n < limit; n++) name = base + "-" + std::to_string(n) + ext;
    return name;
}

std::string Plat_LocalStamp(const char* format) {
    std::time_t t = std::time(nullptr);
    std::tm local;
    localtime_r(&t, &local);
    char buf[64];
    if (!std::strftime(buf, sizeof buf, format, &local)) buf[0] = 0;
    return buf;
}

std::string Plat_UserHome() {
    const char* h = std::getenv("HOME");
    if (h && h[0] == '/') return Plat_WithSlash(h);
    if (struct passwd* pw = getpwuid(getuid()))
        if (pw->pw_dir && pw->pw_dir[0] == '/') return Plat_WithSlash(pw->pw_dir);
    return "/tmp/";
}

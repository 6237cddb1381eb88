// XDG base directories: where a Linux desktop expects a game's record,
// settings and pictures. An unset, empty or relative variable counts as
// unset, as the XDG rules say.
#include "config/paths.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

static std::string WithSlash(std::string s) {
    if (s.empty() || s.back() != '/') s += '/';
    return s;
}

// An absolute path from the environment, or empty.
static std::string AbsEnv(const char* name) {
    const char* v = std::getenv(name);
    return v && v[0] == '/' ? std::string(v) : std::string();
}

static std::string UserHome() {
    std::string h = AbsEnv("HOME");
    if (!h.empty()) return WithSlash(h);
    if (struct passwd* pw = getpwuid(getuid()))
        if (pw->pw_dir && pw->pw_dir[0] == '/') return WithSlash(pw->pw_dir);
    return "/tmp/";
}

static std::string XdgHome(const char* var, const char* fallback) {
    std::string base = AbsEnv(var);
    if (base.empty()) base = UserHome() + fallback;
    return WithSlash(base) + "quellstorm/";
}

std::string Paths_DataHome() { return XdgHome("XDG_DATA_HOME", ".local/share"); }
std::string Paths_ConfigHome() { return XdgHome("XDG_CONFIG_HOME", ".config"); }

// XDG_PICTURES_DIR lives in user-dirs.dirs as XDG_PICTURES_DIR="$HOME/Pictures".
static std::string PicturesFromUserDirs() {
    std::string cfg = AbsEnv("XDG_CONFIG_HOME");
    if (cfg.empty()) cfg = UserHome() + ".config";
    FILE* f = std::fopen((WithSlash(cfg) + "user-dirs.dirs").c_str(), "r");
    if (!f) return "";
    char line[1024];
    std::string out;
    while (std::fgets(line, sizeof line, f)) {
        const char* key = "XDG_PICTURES_DIR=\"";
        if (std::strncmp(line, key, std::strlen(key))) continue;
        std::string v = line + std::strlen(key);
        size_t q = v.find('"');
        if (q == std::string::npos) break;
        v.resize(q);
        if (v.compare(0, 5, "$HOME") == 0) v = UserHome() + v.substr(v.size() > 5 && v[5] == '/' ? 6 : 5);
        if (!v.empty() && v[0] == '/') out = v;
        break;
    }
    std::fclose(f);
    return out;
}

std::string Paths_Pictures() {
    std::string p = AbsEnv("XDG_PICTURES_DIR");
    if (p.empty()) p = PicturesFromUserDirs();
    if (p.empty()) p = UserHome() + "Pictures";
    return WithSlash(p) + "quellstorm/";
}

std::vector<std::string> Paths_DataDirs() {
    const char* v = std::getenv("XDG_DATA_DIRS");
    std::string dirs = v && *v ? v : "/usr/local/share:/usr/share";
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string d = dirs.substr(start, end - start);
        if (!d.empty() && d[0] == '/') out.push_back(WithSlash(d) + "quellstorm/");
        start = end + 1;
    }
    return out;
}

bool Paths_MakeDirs(const std::string& dir) {
    if (dir.empty()) return false;
    std::string path;
    size_t pos = 0;
    while (pos < dir.size()) {
        size_t next = dir.find('/', pos + 1);
        if (next == std::string::npos) next = dir.size();
        path = dir.substr(0, next);
        pos = next;
        if (path.empty() || path == "/") continue;
        if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat st;
    return stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

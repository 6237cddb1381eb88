// XDG base directories: where a Linux desktop expects a game's record,
// settings and pictures. An unset, empty or relative variable counts as
// unset, as the XDG rules say.
#include "config/paths.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/files.h"

// An absolute path from the environment, or empty.
static std::string AbsEnv(const char* name) {
    const char* v = std::getenv(name);
    return v && v[0] == '/' ? std::string(v) : std::string();
}

static std::string XdgHome(const char* var, const char* fallback) {
    std::string base = AbsEnv(var);
    if (base.empty()) base = Plat_UserHome() + fallback;
    return Plat_WithSlash(base) + "quellstorm/";
}

std::string Paths_DataHome() { return XdgHome("XDG_DATA_HOME", ".local/share"); }
std::string Paths_ConfigHome() { return XdgHome("XDG_CONFIG_HOME", ".config"); }

// XDG_PICTURES_DIR lives in user-dirs.dirs as XDG_PICTURES_DIR="$HOME/Pictures".
static std::string PicturesFromUserDirs() {
    std::string cfg = AbsEnv("XDG_CONFIG_HOME");
    if (cfg.empty()) cfg = Plat_UserHome() + ".config";
    FILE* f = std::fopen((Plat_WithSlash(cfg) + "user-dirs.dirs").c_str(), "r");
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
        if (v.compare(0, 5, "$HOME") == 0) v = Plat_UserHome() + v.substr(v.size() > 5 && v[5] == '/' ? 6 : 5);
        if (!v.empty() && v[0] == '/') out = v;
        break;
    }
    std::fclose(f);
    return out;
}

std::string Paths_Pictures() {
    std::string p = AbsEnv("XDG_PICTURES_DIR");
    if (p.empty()) p = PicturesFromUserDirs();
    if (p.empty()) p = Plat_UserHome() + "Pictures";
    return Plat_WithSlash(p) + "quellstorm/";
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
        if (!d.empty() && d[0] == '/') out.push_back(Plat_WithSlash(d) + "quellstorm/");
        start = end + 1;
    }
    return out;
}

// Running the real game binary headless from a test.
#pragma once
#include <SDL_image.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace e2e {

// A fresh temporary folder, removed when the test ends.
struct TempDir {
    std::string path;
    TempDir() {
        char tmpl[] = "/tmp/qs_e2e_XXXXXX";
        path = mkdtemp(tmpl);
    }
    ~TempDir() { std::system(("rm -rf '" + path + "'").c_str()); }
    std::string operator/(const std::string& name) const { return path + "/" + name; }
};

struct RunResult {
    int exitCode;
    std::string err;  // what the game wrote to standard error
};

// Runs the game headless with `args` (always with a temporary --home
// unless the caller gives one, and the settings file of tmp/quellstorm/)
// and waits for it.
inline RunResult RunGame(const std::string& args, const TempDir& tmp) {
    std::string errFile = tmp / "stderr.txt";
    std::string home = args.find("--home") == std::string::npos ? " --home '" + tmp.path + "'" : "";
    // The settings file of the run is the temporary folder's, never the
    // player's own.
    std::string cmd = "XDG_CONFIG_HOME='" + tmp.path + "' '" + std::string(QS_GAME_BIN) + "' --headless" + home + " " +
                      args + " 2>'" + errFile + "'";
    int status = std::system(cmd.c_str());
    RunResult r;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(errFile);
    r.err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return r;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// The value of `key` in a --state-out line ("... Key=value ..."); -99999
// when the line has no such key.
inline long long StateValue(const std::string& state, const std::string& key) {
    size_t at = state.find(" " + key + "=");
    if (at == std::string::npos) return -99999;
    return std::atoll(state.c_str() + at + key.size() + 2);
}

// Pixels of a rectangle of a picture file for which `pred(r, g, b)` holds;
// -1 when the picture cannot be read.
template <typename Pred>
int CountPixels(const std::string& png, int l, int t, int r, int b, Pred pred) {
    SDL_Surface* raw = IMG_Load(png.c_str());
    if (!raw) return -1;
    SDL_Surface* s = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGB24, 0);
    SDL_FreeSurface(raw);
    if (!s) return -1;
    int n = 0;
    for (int y = t; y < b; y++)
        for (int x = l; x < r; x++) {
            const Uint8* p = static_cast<Uint8*>(s->pixels) + y * s->pitch + x * 3;
            if (pred(p[0], p[1], p[2])) n++;
        }
    SDL_FreeSurface(s);
    return n;
}

}  // namespace e2e

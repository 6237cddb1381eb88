// Finding the game's data folder.
#include "config/datadir.h"

#include <cstdio>

#include "config/paths.h"
#include "platform/files.h"

static std::string sFound;

// "/a/b/games/" -> "/a/b/"; "/" stays "/".
static std::string Parent(std::string dir) {
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    size_t slash = dir.rfind('/');
    return slash == std::string::npos ? std::string("./") : dir.substr(0, slash + 1);
}

std::vector<std::string> DataDir_Candidates(const std::string& programDir) {
    std::string here = programDir.empty() ? std::string("./") : Plat_WithSlash(programDir);
    std::vector<std::string> out{here, Parent(here) + "share/quellstorm/"};
    for (const std::string& d : Paths_DataDirs())
        if (d != out[0] && d != out[1]) out.push_back(d);
    return out;
}

// (A picture may come as PNG beside its name, as the browser build ships them.)
bool DataDir_Holds(const std::string& dir) {
    return Plat_CanRead(dir + "BMP/player.bmp") || Plat_CanRead(dir + "BMP/player.bmp.png");
}

bool DataDir_Locate() {
    std::vector<std::string> dirs = DataDir_Candidates(Plat_ProgramDir());
    for (const std::string& d : dirs)
        if (DataDir_Holds(d)) {
            sFound = d;
            return true;
        }
    std::string msg = "quellstorm: cannot find the game data (BMP/, BG/, SE/, MIDI/). Searched:\n";
    for (const std::string& d : dirs) msg += "  " + d + "\n";
    msg += "Build it with `make` in the source folder, or reinstall the game.\n";
    std::fputs(msg.c_str(), stderr);
    return false;
}

const char* DataDir() { return sFound.empty() ? Plat_ProgramDir() : sFound.c_str(); }

// Choosing the place of the record.
#include "config/recordpath.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include "config/paths.h"

static bool IsFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

RecordPaths RecordPaths_Choose(const std::string& home, const std::string& programDir, bool programDirWritable) {
    RecordPaths p;
    if (!home.empty()) {
        p.load = p.save = home + "score.dat";
        return p;
    }
    std::string beside = programDir + "score.dat";
    if (IsFile(beside) && programDirWritable) {
        p.load = p.save = beside;
        return p;
    }
    p.folder = Paths_DataHome();
    p.save = p.folder + "score.dat";
    // Until the user has a copy of their own, the one the program came
    // with is read; the first save then writes it (updated) to theirs.
    p.load = !IsFile(p.save) && IsFile(beside) ? beside : p.save;
    return p;
}

bool RecordPaths_Writable(const std::string& dir) { return access(dir.c_str(), W_OK | X_OK) == 0; }

bool RecordPaths_NeedsFresh(const RecordPaths& p) {
    if (p.folder.empty() || p.load != p.save) return false;
    struct stat st;
    return stat(p.save.c_str(), &st) != 0 && errno == ENOENT;
}

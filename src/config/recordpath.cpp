// Choosing the place of the record.
#include "config/recordpath.h"

#include "config/paths.h"
#include "platform/files.h"

RecordPaths RecordPaths_Choose(const std::string& home, const std::string& programDir, bool programDirWritable) {
    RecordPaths p;
    if (!home.empty()) {
        p.load = p.save = home + "score.dat";
        return p;
    }
    std::string beside = programDir + "score.dat";
    if (Plat_IsFile(beside) && programDirWritable) {
        p.load = p.save = beside;
        return p;
    }
    p.folder = Paths_DataHome();
    p.save = p.folder + "score.dat";
    // Until the user has a copy of their own, the one the program came
    // with is read; the first save then writes it (updated) to theirs.
    p.load = !Plat_IsFile(p.save) && Plat_IsFile(beside) ? beside : p.save;
    return p;
}


// Where "score.dat" lives. In a build folder (or wherever a record already
// lies beside the program in a folder we may write) it stays beside the
// program; otherwise it lives in $XDG_DATA_HOME/quellstorm/. A record
// beside a program in a read-only folder is read until the first save
// there makes the user's own copy. --home overrides everything.
#pragma once
#include <string>

struct RecordPaths {
    std::string load;    // the file DataLoad reads
    std::string save;    // the file DataSave writes
    std::string folder;  // made (with its parents) before a save; may be empty
};

// `home`: the --home folder with its trailing '/', or empty. `programDir`:
// the program's folder with its trailing '/'. `programDirWritable`: whether
// a file can be made there (the save is a new file renamed over the old).
RecordPaths RecordPaths_Choose(const std::string& home, const std::string& programDir, bool programDirWritable);

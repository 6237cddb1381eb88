// Where the game keeps its files on a Linux desktop (the XDG base
// directories). Every folder comes back with a trailing '/', ends in
// "quellstorm/" and is not created until asked.
#pragma once
#include <string>
#include <vector>

// $XDG_DATA_HOME/quellstorm/ (~/.local/share/quellstorm/ when unset):
// the record, the kept replays.
std::string Paths_DataHome();
// $XDG_CONFIG_HOME/quellstorm/ (~/.config/quellstorm/ when unset):
// the settings file.
std::string Paths_ConfigHome();
// $XDG_PICTURES_DIR/quellstorm/ (from the environment or the user's
// user-dirs.dirs), else ~/Pictures/quellstorm/: screenshots.
std::string Paths_Pictures();
// The search list for shared game data: each absolute folder of
// $XDG_DATA_DIRS (/usr/local/share:/usr/share when unset) with
// "quellstorm/" appended, in order.
std::vector<std::string> Paths_DataDirs();

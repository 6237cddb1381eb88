// Where the game's data (BMP/, BG/, SE/, MIDI/) lives: beside the program
// in a build folder, under ../share/quellstorm/ in an installed or
// unpacked tree, else in the shared data folders of the desktop.
#pragma once
#include <string>
#include <vector>

// The folders searched, in order, for a program in `programDir` (with a
// trailing '/'): the program's folder, ../share/quellstorm/ next to it,
// then every folder of Paths_DataDirs(). Each ends in '/'.
std::vector<std::string> DataDir_Candidates(const std::string& programDir);
// True when `dir` holds the game's data: the data step always writes the
// first bitmap, BMP/player.bmp.
bool DataDir_Holds(const std::string& dir);
// Searches the candidates of the running program and keeps the first that
// holds the data. When none does, prints one message naming every folder
// searched to standard error and answers false.
bool DataDir_Locate();
// The data folder with its trailing '/': the one found by DataDir_Locate,
// or the program's own folder before (or without) a search.
const char* DataDir();

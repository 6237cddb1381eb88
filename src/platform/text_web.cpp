// The game's face in a page: the page carries its own, cut to the letters
// the game draws.
#include "platform/files.h"
#include "platform/plat_internal.h"

std::string PlatI_FontFile() { return std::string(Plat_ProgramDir()) + "font/quellstorm.ttf"; }

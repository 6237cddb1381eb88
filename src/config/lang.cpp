// The language in force.
#include "config/lang.h"

int GameLanguage = LANG_JA;

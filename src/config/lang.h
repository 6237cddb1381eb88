// The language of the game's texts. Japanese is the game as designed;
// English replaces the instruction screen, the option labels, the message
// boxes and the speed-correction label, set in the same places.
#pragma once

enum { LANG_JA = 0, LANG_EN = 1 };

// The language in force (a setting; LANG_JA unless the player chose).
extern int GameLanguage;

// The language of the game's texts. Japanese is the game as designed;
// English replaces the instruction screen, the option labels, the message
// boxes and the speed-correction label, set in the same places.
#pragma once

enum { LANG_JA = 0, LANG_EN = 1 };

// The language in force (a setting; LANG_JA unless the player chose).
extern int GameLanguage;

// The text to show for the Japanese text `ja` in the language in force:
// in Japanese `ja` itself, in English its English counterpart (or `ja`
// itself when it has none, such as texts that are already in letters).
// The game's texts are written in Japanese at their places and go through
// here when they are shown.
const char* Lang_Text(const char* ja);

// The English counterpart of `ja`, or null when the table has none.
const char* Lang_English(const char* ja);

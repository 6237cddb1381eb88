// The language page of a first start: before anything else, a new player
// picks the language of the game's texts, offered the one their desktop
// speaks. The choice goes to the settings file, so it is asked once. The
// game's first frame waits for it.
#pragma once

// Opens the page over the game with `preselected` (LANG_JA or LANG_EN)
// highlighted.
void LanguagePage_Open(int preselected);
// A key while the page is open: the arrows move, shot or Return chooses
// (Escape too: the page cannot be left without a language). Takes every key.
bool LanguagePage_Key(int key);
void LanguagePage_Draw();

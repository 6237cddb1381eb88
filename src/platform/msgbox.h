// Message-box service: a modal box with an OK button. Headless, the text
// and caption go to standard error and the program carries on.
#pragma once

void Plat_MessageBox(const char* text, const char* caption);
// Headless mode (set once at start-up).
void Plat_SetHeadless(bool headless);
bool Plat_IsHeadless();

// The game cannot start or go on (no data, a replay it cannot play, a
// settings file it cannot read): `text` goes to standard error, and when
// nobody may be reading that (standard error is not a terminal: started
// from a desktop entry or a file manager) and the run is not headless, it
// is also shown in a plain box of the desktop's, which needs no game
// window. The caller then exits with its usual status.
void Plat_StopMessage(const char* text);
// The box alone, under the same conditions (the text is on standard error
// already).
void Plat_StopBox(const char* text);

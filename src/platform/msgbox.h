// Message-box service: a modal box with an OK button. Headless, the text
// and caption go to standard error and the program carries on.
#pragma once

void Plat_MessageBox(const char* text, const char* caption);
// Headless mode (set once at start-up).
void Plat_SetHeadless(bool headless);
bool Plat_IsHeadless();

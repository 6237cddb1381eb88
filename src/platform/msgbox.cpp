// Modal message boxes: the run's headless switch. The box itself is the
// desktop's window of its own (msgbox_desktop.cpp) or the page's dialog
// (msgbox_web.cpp). Headless, or with nothing to show a box on, the text
// goes to standard error.
#include "platform/msgbox.h"

static bool gHeadless;

void Plat_SetHeadless(bool headless) { gHeadless = headless; }
bool Plat_IsHeadless() { return gHeadless; }

// Modal message boxes: the run's headless switch. The box itself is the
// desktop's window of its own (msgbox_desktop.cpp) or the page's dialog
// (msgbox_web.cpp). Headless, or with nothing to show a box on, the text
// goes to standard error.
#include "platform/msgbox.h"

#include <cstdio>
#include <cstring>

static bool gHeadless;

void Plat_SetHeadless(bool headless) { gHeadless = headless; }
bool Plat_IsHeadless() { return gHeadless; }

void Plat_StopMessage(const char* text) {
    if (!text) text = "";
    std::fputs(text, stderr);
    if (!*text || text[std::strlen(text) - 1] != '\n') std::fputc('\n', stderr);
    std::fflush(stderr);
    Plat_StopBox(text);
}

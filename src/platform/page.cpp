// The host page's view of the game: nothing on the desktop (the browser
// build has its own, page_web.cpp).
#ifndef __EMSCRIPTEN__
#include "platform/page.h"

bool Plat_InPage() { return false; }
void Plat_SetPageState(void (*)(char*, int)) {}
void Plat_ReportExit(int) {}
void Plat_SetPageSave(void (*)()) {}
bool Plat_InPageCall() { return false; }
bool Plat_PageOffer(const char*) { return false; }
void Plat_PageLanguage(const char*) {}
#endif

// The host page's view of the game: there is no page on a desktop (the
// browser build has its own, page_web.cpp), and the board client sends the
// finished games itself.
#include "platform/page.h"
#include "platform/plat_internal.h"

bool Plat_InPage() { return false; }
void Plat_SetPageState(void (*)(char*, int)) {}
void Plat_ReportExit(int) {}
void Plat_SetPageSave(void (*)()) {}
bool Plat_InPageCall() { return false; }
bool Plat_PageOffer(const char*) { return false; }
void Plat_PageLanguage(const char*) {}
void Plat_PageGameKept(const char*, int, const char*) {}
void PlatI_PageScaling(int) {}  // the renderer scales the picture in the window

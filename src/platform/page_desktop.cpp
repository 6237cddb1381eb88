// The host page's view of the game: there is no page on a desktop (the
// browser build has its own, page_web.cpp), and the board client sends the
// finished games itself.
#include "platform/page.h"
#include "platform/plat_internal.h"

#include <SDL.h>
#include <cerrno>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

bool Plat_InPage() { return false; }
void Plat_SetPageState(void (*)(char*, int)) {}
void Plat_ReportExit(int) {}
void Plat_SetPageSave(void (*)()) {}
bool Plat_InPageCall() { return false; }
bool Plat_PageOffer(const char*) { return false; }
void Plat_PageLanguage(const char*) {}
void Plat_PageGameKept(const char*, int, const char*) {}
bool Plat_PageOnBoard() { return false; }
void Plat_PageTakenOver(long) {}
bool Plat_PageFetchGhosts(void (*)(int, const char*)) { return false; }
bool Plat_PageFetchingGhosts() { return false; }
void PlatI_PageScaling(int) {}  // the renderer scales the picture in the window

// Only a plain web address goes to the opener: nothing it would take for
// an option or a local file.
static bool WebAddress(const char* url) {
    if (std::strncmp(url, "http://", 7) != 0 && std::strncmp(url, "https://", 8) != 0) return false;
    for (const char* c = url; *c; c++)
        if ((unsigned char)*c <= ' ' || *c == 0x7f) return false;
    return true;
}

bool Plat_OpenUrl(const char* url) {
    if (!url || !WebAddress(url)) return false;
    // The opener runs on its own, as a grandchild: the game never waits for
    // the browser, and leaves no process behind to collect.
    pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        setsid();
        if (fork() == 0) {
            execlp("xdg-open", "xdg-open", url, (char*)nullptr);
            _exit(127);
        }
        _exit(0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool Plat_CopyText(const char* text) { return text && SDL_SetClipboardText(text) == 0; }

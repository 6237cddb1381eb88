// The keys the shell answers itself, before the game: full screen (F11,
// Alt+Enter), the screenshot (F12) and the pages (F1, F2, the pad's Back).
// None of them reaches the game or a replay.
#include "config/paths.h"
#include "config/settings.h"
#include "pages/pages.h"
#include "pages/settings_page.h"
#include "platform/page.h"
#include "platform/display.h"
#include "platform/events.h"
#include "platform/files.h"
#include "platform/input.h"
#include "render/render.h"
#include "shell/frameloop.h"
#include "shell/replay.h"
#include "shell/watch.h"

#include <cstdio>
#include <cstdlib>
#include <string>

static void ToggleFullscreen() {
    Settings.fullscreen = !Settings.fullscreen;
    Settings_Apply();
    Config_Changed(*Settings_Find("display", "fullscreen"));
}

// The game's picture as it is, 640x480, into the pictures folder (else
// ~/Pictures/quellstorm/, else the data folder), named by the date and
// time.
void Shell_Screenshot() {
    std::string dirs[3] = {Paths_Pictures(), "", Paths_DataHome()};
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') dirs[1] = std::string(home) + "/Pictures/quellstorm/";
    std::string stamp = Plat_LocalStamp("%Y%m%d-%H%M%S");
    for (const std::string& dir : dirs) {
        if (dir.empty() || !Plat_MakeDirs(dir)) continue;
        std::string path = dir + Plat_FreeName(dir, "quellstorm-" + stamp, ".png", 100);
        if (Plat_SurfaceSave(DDBack, path.c_str())) {
            std::fprintf(stderr, "quellstorm: screenshot %s\n", path.c_str());
            // The player sees where it went (on the screen, not in the picture).
            Plat_ShowNotice(("SCREENSHOT: " + path.substr(dir.size())).c_str(), 3000);
            Plat_PageOffer(path.c_str());  // in a page the player only gets it as a download
            return;
        }
    }
    std::fprintf(stderr, "quellstorm: cannot write a screenshot (no writable pictures or data folder)\n");
    Plat_ShowNotice("SCREENSHOT FAILED: no folder to write it in", 3000);
}

bool Shell_SystemKey(const PlatEvent& ev) {
    if (ev.key == VK_F11) {
        ToggleFullscreen();
        return true;
    }
    if (ev.key == VK_F12) {
        Shell_Screenshot();
        return true;
    }
    // A replay's keys are the game's own; the keyboard's are the viewer's
    // (pages never open during one).
    if (Replay_Playing()) return ev.phys ? Watch_Key(ev) : false;
    // A game taken over plays to its end first.
    if (Watch_TakenOver()) return !ev.game;
    SettingsPage_TakePhysical(ev.phys);
    if (Pages_KeyDown(ev.key)) return true;
    return !ev.game;  // a key the game does not know
}

// The stick or pad's direction as the arrow key, 0 for any other button.
static int Arrow(int button) {
    switch (button) {
    case PAD_UP: return VK_UP;
    case PAD_DOWN: return VK_DOWN;
    case PAD_LEFT: return VK_LEFT;
    case PAD_RIGHT: return VK_RIGHT;
    default: return 0;
    }
}

// A pad button: on the pages it moves, changes and closes; in the game the
// pause and quit buttons are the C and Escape keys; Back opens the settings.
int Shell_PadKey(int button) {
    // Watching a replay the pad steers the viewer as the keyboard does: the
    // stick or pad through time and speed, the shoulders through the
    // stages, A, Start or the pause button pauses, B, Back or the quit
    // button leaves, X takes over.
    if (Replay_Playing()) {
        PlatEvent ev = {};
        switch (button) {
        case PAD_X: ev.key = VK_T; break;
        case PAD_LB: ev.key = VK_PRIOR; break;
        case PAD_RB: ev.key = VK_NEXT; break;
        case PAD_A:
        case PAD_START: ev.key = VK_SPACE; break;
        case PAD_B:
        case PAD_BACK: ev.key = VK_ESCAPE; break;
        default:
            if (button == Settings.padPause) ev.key = VK_SPACE;
            else if (button == Settings.padQuit) ev.key = VK_ESCAPE;
            else ev.key = Arrow(button);
            break;
        }
        ev.phys = ev.key;
        if (ev.key) Watch_Key(ev);
        return 0;
    }
    // Y opens the replays page, X the practice page, unless the player made
    // it a game button.
    bool free = button != Settings.padShot && button != Settings.padBomb && button != Settings.padPause &&
                button != Settings.padQuit;
    bool replaysButton = button == PAD_Y && free, practiceButton = button == PAD_X && free;
    if (!Watch_TakenOver() && (PageOpen != PAGE_NONE || button == PAD_BACK || replaysButton || practiceButton)) {
        int key = 0;
        if (button == PAD_BACK) key = VK_F1;
        else if (int arrow = Arrow(button)) key = arrow;
        else if (button == Settings.padShot) key = VK_RETURN;
        else if (button == Settings.padBomb) key = VK_ESCAPE;
        else if (replaysButton) key = VK_F3;
        else if (practiceButton) key = VK_F4;
        SettingsPage_TakePad(button);
        if (PageOpen != PAGE_NONE) {
            Pages_KeyDown(key);  // 0 still reaches a page waiting for a button
            return 0;
        }
        if (Pages_KeyDown(key)) return 0;
    }
    if (button == Settings.padPause) return VK_C;
    if (button == Settings.padQuit) return VK_ESCAPE;
    return 0;
}

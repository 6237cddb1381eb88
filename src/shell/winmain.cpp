// Start-up, window events and the frame loop.
#include "shell/frameloop.h"
#include "config/settings.h"
#include "pages/pages.h"
#include "shell/bot.h"
#include "shell/replay.h"
#include "shell/script.h"
#include "shell/shell.h"
#include "platform/display.h"
#include "platform/events.h"
#include "platform/input.h"
#include "platform/msgbox.h"
#include "platform/page.h"
#include "platform/text.h"
#include "platform/time.h"
#include "player/player.h"
#include "render/render.h"
#include "sound/sound.h"
#include "game/game.h"
#include "game/scene.h"
#include "game/score.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

ShellOptions Options;
long FrameCount;

static bool sWindowAlive;
static int sExitCode;  // the soak's verdict

int Shell_ParseArgs(int argc, char** argv) {
    Options = ShellOptions();
    CheatInvincible = false;
    TestStartStage = 0;
    Options.bot = -1;
    Settings_ResetDefaults();
    int parsed = Settings_ParseCommandLine(argc, argv);
    if (parsed != 1) return parsed;
    if (TestStartStage && (Options.record || Options.play)) {
        std::fprintf(stderr, "quellstorm: --stage cannot be used with --record or --play\n");
        return 0;
    }
    Settings_ToOptions();
    return 1;
}

// The window's creation: every bitmap and sound slot starts empty.
static void OnCreate() {
    for (SurfaceData& s : Bitmap) s = SurfaceData();
    for (PlatSound*& w : Wave) w = nullptr;
}

void Shell_CloseWindow(PlatWindow* window) {
    if (!sWindowAlive) return;
    Plat_ShowCursor(true);
    DD_END(window);
    DS_END(window);
    MIDI_Stop();
    Plat_TextShutdown();
    Plat_DisplayClose();
    sWindowAlive = false;
}

bool WindowProc(const PlatEvent& ev) {
    switch (ev.type) {
    case PLAT_EV_QUIT:  // the close box: no save
        Shell_CloseWindow(hwnd);
        break;
    case PLAT_EV_KEYDOWN:
        if (Shell_SystemKey(ev)) break;  // full screen, screenshot, pages
        Replay_KeyDown(FrameCount + 1, ev.key);
        Event_Proc(ev.key, hwnd);
        break;
    case PLAT_EV_PADBUTTON:
        if (int key = Shell_PadKey(ev.key)) {  // the pad's pause and quit buttons
            Replay_KeyDown(FrameCount + 1, key);
            Event_Proc(key, hwnd);
        }
        break;
    case PLAT_EV_MOUSEMOVE:
        MouseX = ev.x & 0xFFFF;
        MouseY = ev.y & 0xFFFF;
        break;
    case PLAT_EV_MUSIC_DONE:
        MIDI_Notify(ev.x == 1);
        break;
    default:
        break;
    }
    return sWindowAlive;
}

static void TakeShots() {
    for (int i = 0; i < Options.shotCount; i++)
        if (Options.shotFrame[i] == FrameCount && !Plat_SurfaceSave(DDBack, Options.shotFile[i]))
            std::fprintf(stderr, "quellstorm: cannot write %s\n", Options.shotFile[i]);
}

static bool ShotDue(long frame) {
    for (int i = 0; i < Options.shotCount; i++)
        if (Options.shotFrame[i] == frame) return true;
    return false;
}

// One game frame, exactly as the game has always run it: clear, draw the
// next picture, copy it out. A frame of play whose picture nobody will see
// (more game frames run than the display shows) does everything but the
// pixel work: every picture of play starts from a cleared screen and
// nothing in play reads the screen back, so no later picture can tell.
// The title and its scenes always draw: the blended title picture captures
// what is on the screen.
void Shell_RunFrame(bool seen) {
    long next = FrameCount + 1;
    Plat_AdvanceFrame();
    Script_BeginFrame(next);
    Bot_BeginFrame(next);
    Replay_BeginFrame(next);
    PlatEvent ev;
    while (sWindowAlive && Plat_PollEvent(&ev)) WindowProc(ev);  // a script's or replay's key-downs
    if (!sWindowAlive) return;
    FrameCount = next;
    if (!seen && Options.headless && Options.drawEvery > 1) seen = FrameCount % Options.drawEvery == 0;
    Plat_SetDrawing(seen || Scene != 1 || ShotDue(FrameCount));
    DD_BackInit();
    // While a page is open the game runs on underneath without any input
    // (so a recording made meanwhile plays back without the page), and the
    // page covers its picture.
    Plat_SetInputBlocked(PageOpen != PAGE_NONE);
    Main_Proc(hwnd);
    if (PageOpen != PAGE_NONE) Pages_Draw();
    else Pages_DrawHint();
    DD_Flip();
    TakeShots();
    if (!Replay_EndFrame(FrameCount)) Shell_CloseWindow(hwnd);
    if (!Bot_Check(FrameCount)) {
        sExitCode = 4;
        Shell_CloseWindow(hwnd);
    }
}

// How many game frames real time asks for before the next picture. At most
// Plat_CatchUpFrames() a picture (ten on the desktop): a machine that cannot
// keep up, or a long pause such as the loading pass, plays on slower
// instead of racing to catch up.
static int FramesDue(double* simMs) {
    const double step = 4.0, most = Plat_CatchUpFrames() * step;
    double now = Plat_RealMs();
    double behind = now - *simMs;
    if (behind > most) {
        *simMs = now - most;
        behind = most;
    }
    return (int)(behind / step);
}

static double sStartMs;

int Shell_Start(int argc, char** argv) {
    int parsed = Shell_ParseArgs(argc, argv);
    if (parsed != 1) return parsed == 0 ? 2 : -1;
    // The settings file, then what the command line says for this run.
    Settings_ResetDefaults();
    Config_Load(Config_Path());
    Settings_ReapplyOverrides();
    Settings_ToOptions();
    Plat_SetHeadless(Options.headless);
    Plat_SetPageState(Game_DescribeState);
    HomeDir = Options.home;
    if (Options.script && !Script_Load(Options.script)) return 2;
    if (Options.record && Options.play) {
        std::fprintf(stderr, "quellstorm: --record and --play exclude each other\n");
        return 2;
    }
    if (Options.play && !Replay_Play(Options.play, Options.verify)) return 2;
    if (Options.record && !Replay_Record(Options.record)) return 2;
    if (Options.bot >= 0) {
        if (Options.script || Options.play) {
            std::fprintf(stderr, "quellstorm: --bot plays by itself: no --script or --play with it\n");
            return 2;
        }
        Bot_Start((unsigned)Options.bot);
    }
    sStartMs = Plat_RealMs();

    Settings_Apply();
    PlatDisplayConfig cfg = {Options.headless, Options.window, Options.scale, Settings.scaling, Settings.vsync != 0};
    if (!Plat_DisplayOpen(cfg)) {
        Shell_MessageBox("ダイレクトドローの初期化に失敗しました", "");
        return 0;
    }
    sWindowAlive = true;
    OnCreate();
    if (!DD_INIT(hwnd)) {
        Shell_MessageBox("ダイレクトドローの初期化に失敗しました", "");
        return 0;
    }
    DS_INIT(hwnd);
    Plat_ShowCursor(false);
    return 1;
}

bool Shell_Running() { return sWindowAlive; }

int QS_WinMain(int argc, char** argv) {
    int started = Shell_Start(argc, argv);
    if (started == -1) return 1;  // --help, --version: done
    if (started != 1) return started;
    double simMs = Plat_RealMs();
    // Without a display that waits for its refresh, pictures are shown at
    // its refresh rate and the loop sleeps in between: the game frames
    // still run at their own pace, several to a picture.
    double presentEvery = 1000.0 / Plat_RefreshRate(), nextPresent = 0;
    // A display that says it waits for its refresh but does not (a virtual
    // X server, some drivers) would have the loop present as fast as it
    // can: when presents keep coming back well inside one refresh, the
    // loop paces itself instead.
    bool paced = !Plat_PresentWaits();
    int quickPresents = 0;
    double lastPresent = 0;
    while (sWindowAlive) {
        PlatEvent ev;
        while (sWindowAlive && Plat_PollEvent(&ev)) WindowProc(ev);
        if (!sWindowAlive) break;
        if (Options.headless) {
            // Headless runs never wait: the virtual clock just moves on.
            // Every picture is drawn unless --draw-every says otherwise.
            Shell_RunFrame(Options.drawEvery <= 1);
        } else {
            if (paced && FrameCount > 0) {
                double now = Plat_RealMs();
                if (now < nextPresent) {
                    Plat_SleepMs(nextPresent - now);
                    continue;
                }
                nextPresent = (now - nextPresent > presentEvery ? now : nextPresent) + presentEvery;
            }
            // The very first picture (the instructions) is shown before the
            // loading frame runs.
            bool first = FrameCount == 0;
            int due = first ? 1 : FramesDue(&simMs);
            if (due == 0) {
                // Nothing new to show yet: wait for the next game frame.
                double wait = 4.0 - (Plat_RealMs() - simMs);
                Plat_SleepMs(wait < 0.5 ? 0.5 : wait > 4.0 ? 4.0 : wait);
                continue;
            }
            if (Options.maxFrames && due > Options.maxFrames - FrameCount) due = (int)(Options.maxFrames - FrameCount);
            for (int i = 0; i < due && sWindowAlive; i++) {
                Shell_RunFrame(i == due - 1);  // only the last of them is shown
                simMs += 4.0;
                if (Options.maxFrames && FrameCount >= Options.maxFrames) break;
            }
            if (sWindowAlive) Plat_Present(DDBack);
            if (first) simMs = Plat_RealMs();  // the game's clock starts with the first picture
            if (!paced) {
                double now = Plat_RealMs();
                quickPresents = now - lastPresent < presentEvery / 2 ? quickPresents + 1 : 0;
                lastPresent = now;
                if (quickPresents >= 30) {
                    paced = true;
                    nextPresent = now + presentEvery;
                }
            }
        }
        if (Options.maxFrames && FrameCount >= Options.maxFrames) Shell_CloseWindow(hwnd);
    }
    Replay_Close(FrameCount);
    if (Options.stateOut) {
        char line[512];
        Game_DescribeState(line, sizeof line);
        FILE* f = std::fopen(Options.stateOut, "w");
        if (f) {
            std::fprintf(f, "Frames=%ld %s\n", FrameCount, line);
            std::fclose(f);
        } else {
            std::fprintf(stderr, "quellstorm: cannot write %s\n", Options.stateOut);
        }
    }
    if (Options.bot >= 0) {
        double secs = (Plat_RealMs() - sStartMs) / 1000;
        std::printf("soak: seed %ld, %ld frames in %.1f s, %.0f frames per second, score %lld\n", Options.bot,
                    FrameCount, secs, secs > 0 ? FrameCount / secs : 0.0, (long long)dat.score);
    }
    if (sExitCode) return sExitCode;
    if (Replay_ExitCode()) return Replay_ExitCode();
    return 1;
}

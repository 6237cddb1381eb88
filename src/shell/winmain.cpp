// Start-up, window events and the frame loop.
#include "shell/frameloop.h"
#include "shell/pacing.h"
#include "config/settings.h"
#include "boardclient/board.h"
#include "pages/language_page.h"
#include "pages/pages.h"
#include "core/lang.h"
#include "shell/bot.h"
#include "shell/ghosts.h"
#include "config/paths.h"
#include "shell/kept_replays.h"
#include "shell/practice_keep.h"
#include "shell/replay.h"
#include "shell/script.h"
#include "shell/watch.h"
#include "pages/replays_page.h"
#include "shell/shell.h"
#include "config/datadir.h"
#include "platform/display.h"
#include "platform/events.h"
#include "platform/files.h"
#include "platform/icon.h"
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
#include "game/statehash.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

long FrameCount;

static bool sWindowAlive;
static bool sKeyEarly;  // a key went down before the first picture
static bool sMusicHeld;  // the tune is held because the window lost its focus in play
static int sExitCode;  // the soak's verdict
int Shell_ParseArgs(int argc, char** argv) {
    Options = ShellOptions();
    Options.bot = -1;
    Options.drawEvery = 1;
    Settings_ResetDefaults();
    int parsed = Settings_ParseCommandLine(argc, argv);
    if (parsed != 1) return parsed;
    if (Options.startStage && (Options.record || Options.play)) {
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

// The window lost its focus (another window, Alt+Tab, minimised): play
// pauses as under the pause key and stays paused until that key, the
// music held with it. Runs that others drive (replays, scripts, the bot,
// headless runs) never pause by themselves, so they stay the same on
// every machine; in a recorded run the pause goes in as the pause key, so
// its replay pauses at the same frame.
void Shell_FocusLost() {
    if (!Options.pauseOnFocusLoss || Options.headless || Replay_Playing() || Script_Active() || Options.bot >= 0)
        return;
    if (Scene != SCENE_GAME) return;  // the title and menus carry on
    if (PauseCount % 2 == 0) {
        Replay_KeyDown(FrameCount + 1, VK_C);
        Event_Proc(VK_C, hwnd);
    }
    if (!sMusicHeld) MIDI_Pause(true);
    sMusicHeld = true;
}

// The held tune goes on with the game: once the pause key has resumed
// play, or play has ended.
static void ReleaseHeldMusic() {
    if (sMusicHeld && (PauseCount % 2 == 0 || Scene != SCENE_GAME)) {
        MIDI_Pause(false);
        sMusicHeld = false;
    }
}

// The score of the game in play, or the final score of the game that has
// just ended (its score line still shows it).
static long long GameScore() { return Scene == SCENE_GAME ? (long long)dat.score : std::atoll(dat.scoretext); }

bool WindowProc(const PlatEvent& ev) {
    if (FrameCount == 0 && (ev.type == PLAT_EV_KEYDOWN || ev.type == PLAT_EV_PADBUTTON)) sKeyEarly = true;
    switch (ev.type) {
    case PLAT_EV_QUIT:  // the close box: no save
        Shell_CloseWindow(hwnd);
        break;
    case PLAT_EV_KEYDOWN:
        if (Shell_SystemKey(ev)) break;  // full screen, screenshot, pages
        // A game watched from the replays page that was left with Escape
        // ends there: back to the page, not out of the program.
        if (ev.key == VK_ESCAPE && Watch_Ended()) break;
        Replay_KeyDown(FrameCount + 1, ev.key);
        Event_Proc(ev.key, hwnd);
        break;
    case PLAT_EV_PADBUTTON:
        if (int key = Shell_PadKey(ev.key)) {  // the pad's pause and quit buttons
            if (key == VK_ESCAPE && Watch_Ended()) break;  // a game taken over from the page
            Replay_KeyDown(FrameCount + 1, key);
            Event_Proc(key, hwnd);
        }
        break;
    case PLAT_EV_TEXT:  // typed into a page's text field; the game never sees text
        if (!Replay_Playing()) Pages_Text(ev.text);
        break;
    case PLAT_EV_MOUSEMOVE:
        MouseX = ev.x & 0xFFFF;
        MouseY = ev.y & 0xFFFF;
        break;
    case PLAT_EV_FOCUS_LOST:
        Shell_FocusLost();
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
    Watch_Service();  // a jump or the end of watching, between frames
    long next = FrameCount + 1;
    Plat_AdvanceFrame();
    Script_BeginFrame(next);
    Bot_BeginFrame(next);
    Replay_BeginFrame(next);
    PlatEvent ev;
    while (sWindowAlive && Plat_PollEvent(&ev)) WindowProc(ev);  // a script's or replay's key-downs
    if (!sWindowAlive) return;
    ReleaseHeldMusic();
    FrameCount = next;
    if (!seen && Options.headless && Options.drawEvery > 1) seen = FrameCount % Options.drawEvery == 0;
    Plat_SetDrawing(seen || Scene != 1 || ShotDue(FrameCount));
    DD_BackInit();
    // While a page is open the game runs on underneath without any input
    // (so a recording made meanwhile plays back without the page), and the
    // page covers its picture.
    Plat_SetInputBlocked(PageOpen != PAGE_NONE);
    // The keys and joystick as the frame will poll them: taking in the
    // events above may have changed them.
    Replay_SampleInputs(FrameCount);
    Ghosts_FrameBegins();
    Main_Proc(hwnd);
    if (PageOpen != PAGE_NONE) Pages_Draw();
    else Pages_DrawHint();
    DD_Flip();
    TakeShots();
    Ghosts_FrameEnded();
    if (!Replay_EndFrame(FrameCount) && !Watch_Ended()) Shell_CloseWindow(hwnd);
    Watch_AfterFrame();
    // A replay watched from the page is nobody's game to keep.
    if (!Replay_Playing()) {
        Kept_AfterFrame(FrameCount, Scene == SCENE_GAME, OPTION.Difficulty, GameScore());
        // A game taken over from a replay is part the watched run's: it
        // reaches nothing and sets no practice best of the player's.
        if (!Replay_TakenOver()) PracticeKeep_AfterFrame();
    }
    // A finished game goes to the score board when the player said always;
    // with "ask" the replays page offers it. The board's answers come in
    // over the next frames (a headless run takes them before it goes on, so
    // scripted runs see the same answers at the same frames).
    std::string kept;
    if (Kept_TakeFinished(&kept)) {
        // Only a player's own fair game goes by itself: not the bot's, nor
        // one played with a testing aid, nor a practice (the board would
        // refuse them).
        bool fair = Options.bot < 0 && !Options.invincible && !Options.startStage &&
                    Replay_RecordingPractice() == PRACTICE_NONE;
        int submit = fair ? Settings.boardSubmit : BOARD_SUBMIT_NEVER;
        if (Board_Enabled() && submit == BOARD_SUBMIT_ALWAYS) Board_Submit(kept);
        Plat_PageGameKept(kept.c_str(), submit, Settings.playerName);
    }
    Board_Poll(Options.headless);
    if (!Bot_Check(FrameCount)) {
        sExitCode = 4;
        Shell_CloseWindow(hwnd);
    }
}

static double sStartMs;

// The instructions are the game's first picture, shown for the one frame
// before the loading pass. In a window a player gets to read them: the
// picture stays, with a line asking for a key in place of the loading
// line, until a key or button is pressed (and taken: it starts nothing) or
// a few seconds have passed. Only the showing waits; the game's frames
// are the same. Runs others drive or bound never wait, nor does a player
// who pressed a key before the picture came.
static void HoldInstructions() {
    if (sKeyEarly || Options.headless || !Plat_DisplaySeen() || Options.play || Options.script || Options.bot >= 0 ||
        Options.maxFrames || Scene != SCENE_TITLE || !DDBack)
        return;
    uint16_t* px = Plat_SurfacePixels(DDBack);
    int stride = Plat_SurfacePitch(DDBack) / 2;
    if (!px || Plat_SurfaceWidth(DDBack) < 640 || Plat_SurfaceHeight(DDBack) < 480) return;
    enum { Y0 = 312, ROWS = 50, HOLD_MS = 8000 };
    std::vector<uint16_t> under((size_t)ROWS * 640);
    for (int y = 0; y < ROWS; y++) std::memcpy(&under[(size_t)y * 640], &px[(size_t)(Y0 + y) * stride], 640 * 2);
    bool drawing = Plat_Drawing();
    Plat_SetDrawing(true);
    Plat_Fill(DDBack, 0, Y0, 640, Y0 + ROWS, 0);
    DD_FontShow(Lang_Text("キーかボタンを押すと始まります"), 24, 40, 322, 255, 255, 160, false);
    Plat_Present(DDBack);
    double until = Plat_RealMs() + HOLD_MS;
    bool go = false;
    while (sWindowAlive && !go && Plat_RealMs() < until) {
        PlatEvent ev;
        while (sWindowAlive && Plat_PollEvent(&ev)) {
            bool key = ev.type == PLAT_EV_KEYDOWN || ev.type == PLAT_EV_PADBUTTON;
            go = go || key;
            // Escape quits here as everywhere (the record is not read yet,
            // so nothing is written).
            if (!key || (ev.type == PLAT_EV_KEYDOWN && ev.key == VK_ESCAPE)) WindowProc(ev);
        }
        if (!go) Plat_SleepMs(20);
    }
    for (int y = 0; y < ROWS; y++) std::memcpy(&px[(size_t)(Y0 + y) * stride], &under[(size_t)y * 640], 640 * 2);
    Plat_SetDrawing(drawing);
    if (sWindowAlive) Plat_Present(DDBack);  // the loading line while everything loads
}

// --result-json: what the played replay's game came to.
static void WriteResultJson() {
    if (!Options.resultJson || !Options.play) return;
    std::string json = Replay_ResultJson(FrameCount);
    if (!Plat_WriteFileAtomic(Options.resultJson, json.data(), json.size()))
        std::fprintf(stderr, "quellstorm: cannot write %s\n", Options.resultJson);
}

// The window's icon: the 64-pixel one of the build folder, or of the icon
// theme installed beside the data.
static void SetIcon() {
    if (Options.headless) return;
    std::string data = DataDir();
    for (const char* rel : {"icons/hicolor/64x64/apps/quellstorm.png", "../icons/hicolor/64x64/apps/quellstorm.png"})
        if (Plat_SetWindowIcon((data + rel).c_str())) return;
}

int Shell_Start(int argc, char** argv) {
    // The game's record file goes through the run's recorder: a recording
    // keeps the record the run starts from, a playback brings its own.
    // A game taken over from a playback plays on the watched run's record.
    Recorder = {[] { return Replay_Playing() || Replay_TakenOver(); }, Replay_Flush, Replay_FilterDat};
    int parsed = Shell_ParseArgs(argc, argv);
    if (parsed != 1) return parsed == 0 ? 2 : -1;
    // The settings file, then what the command line says for this run.
    Settings_ResetDefaults();
    std::string problem;
    bool configRead = Config_Load(Config_Path(), &problem);
    Settings_ReapplyOverrides();
    Settings_ToOptions();
    if (Options.submit) {
        sExitCode = Board_SubmitCommand(Options.submit);
        return -1;
    }
    Plat_SetHeadless(Options.headless);
    // A settings file the player named must be the one played with: one
    // that cannot be read stops the game (the usual file only warns).
    if (!configRead && !Settings_ConfigOverride().empty()) {
        std::fprintf(stderr, "quellstorm: the game does not start without the settings file given with --config\n");
        Plat_StopBox(("quellstorm: the settings file " + problem).c_str());
        return 2;
    }
    // Without its data the game cannot show anything: say where it looked
    // and stop before any window opens.
    if (!DataDir_Locate()) return 0;
    Plat_SetPageState(Game_DescribeState);
    // A page closed mid-game keeps what Escape would have kept.
    Plat_SetPageSave(DataSave);
    HomeDir = Options.home;
    if (Options.script && !Script_Load(Options.script)) return 2;
    if (Options.record && Options.play) {
        std::fprintf(stderr, "quellstorm: --record and --play exclude each other\n");
        return 2;
    }
    if (Options.play && !Replay_Play(Options.play, Options.verify)) {
        // Opened from the file manager nobody reads standard error: a box
        // says what is wrong with the file.
        if (!Options.headless)
            Plat_MessageBox(("This replay cannot be played.\n\n" + Replay_Problem()).c_str(), "QUELLSTORM");
        WriteResultJson();  // a service checking replays learns why (or both versions)
        return Replay_ExitCode() == REPLAY_EXIT_SIM ? REPLAY_EXIT_SIM : 2;
    }
    if (Replay_ExitCode()) return Replay_ExitCode();  // a recording with no whole frame
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
        std::fprintf(stderr, "quellstorm: %s; start it from a desktop session, or pass --headless to run it without a window\n",
                     *Plat_DisplayProblem() ? Plat_DisplayProblem() : "the display cannot be opened");
        Shell_MessageBox("ダイレクトドローの初期化に失敗しました", "");
        return 0;
    }
    sWindowAlive = true;
    SetIcon();
    OnCreate();
    if (!DD_INIT(hwnd)) {
        Shell_MessageBox("ダイレクトドローの初期化に失敗しました", "");
        return 0;
    }
    DS_INIT(hwnd);
    Plat_ShowCursor(false);
    // A kept game starts at its own first frame: the loading pass, then
    // its start as the title made it.
    if (Replay_IsGame()) {
        LoadEverything();
        if (!Replay_StartGame()) {
            if (!Options.headless)
                Plat_MessageBox(("This replay cannot be played.\n\n" + Replay_Problem()).c_str(), "QUELLSTORM");
            WriteResultJson();  // a service checking replays learns why
            return Replay_ExitCode() == REPLAY_EXIT_NOT_NEW_GAME ? REPLAY_EXIT_NOT_NEW_GAME : 2;
        }
    }
    // Every game played in a window is kept, unless a recording or
    // playback was asked for (or the setting is off). With --home the
    // replays go there too, so tests and benchmarks keep to their folder.
    // A headless run keeps its games only when told so for that run.
    bool keep = !Options.headless || Settings_GivenForThisRun("keep-replays");
    std::string replays = Options.home ? std::string(Options.home) + "replays/" : Paths_DataHome() + "replays/";
    if (keep && Options.keepReplays && !Options.record && !Options.play) Kept_Start(replays);
    // A replay opened from outside keeps only a game taken over from it.
    if (keep && Options.keepReplays && Options.play) Kept_SetFolder(replays);
    ReplaysPage_SetFolder(replays);
    if (!Options.play) PracticeKeep_Start(replays);
    Ghosts_SetFolder(replays);
    if (!Options.play && !Options.submit) Ghosts_FetchBoard();
    ReplaysPage_Watch = Watch_BeginFromPage;
    // With a board set, a row of the replays page can be sent to it (not
    // when the player said never).
    if (Board_Enabled() && Settings.boardSubmit != BOARD_SUBMIT_NEVER) {
        ReplaysPage_SendLabel = "send to the board";
        ReplaysPage_Send = [](const char* path, std::string* message) {
            bool ok = Board_Submit(path);
            *message = ok ? std::string() : BoardLast.reason;  // the page marks the file
            return ok;
        };
    }
    // A replay given to the program plays with the viewer's keys; one
    // checked headless without keys keeps no snapshots.
    if (Options.play) Watch_BeginFromOutside(!Options.headless || Options.script);
    // A new player (no settings file yet) first picks the language, unless
    // the command line chose it; runs that others drive or bound (a replay,
    // a script, the bot, --frames, a display nobody sees) never stop for it.
    // No game frame runs before the choice (see WindowLoop).
    if (!Options.headless && Plat_DisplaySeen() && !Options.maxFrames && !Config_FileFound() && !Options.play &&
        !Options.script && Options.bot < 0 && !Settings_GivenForThisRun("language"))
        LanguagePage_Open(Lang_FromLocale());
    return 1;
}

bool Shell_Running() { return sWindowAlive; }

// The window's loop: events, the game frames due, the picture. How many
// game frames each picture advances is the pacer's choice (exact or
// smooth); at most ten a picture (Plat_CatchUpFrames: more in a browser
// page), so a machine that cannot keep up, or a long pause such as the
// loading pass, plays on slower instead of racing to catch up.
static void WindowLoop() {
    Pacer pacer;
    Pace_Init(&pacer, Options.pace, Plat_RealMs());
    pacer.catchUp = Plat_CatchUpFrames();
    FILE* paceLog = nullptr;
    if (Options.paceLog && !(paceLog = std::fopen(Options.paceLog, "w")))
        std::fprintf(stderr, "quellstorm: cannot write %s\n", Options.paceLog);
    if (paceLog)
        std::fprintf(paceLog, "# pace %s, display %d Hz, presents %s: present time (ms), game steps shown\n",
                     Options.pace ? "smooth" : "exact", Plat_RefreshRate(),
                     Plat_PresentWaits() ? "wait for the refresh" : "paced by the loop");
    // Without a display that waits for its refresh, pictures are shown at
    // its refresh rate and the loop sleeps in between: the game frames
    // still run at their own pace, several to a picture.
    double presentEvery = 1000.0 / Plat_RefreshRate(), nextPresent = 0;
    // A display that says it waits for its refresh but does not (a virtual
    // X server, some drivers) would have the loop present as fast as it
    // can: when presents keep coming back well inside one refresh, the
    // loop paces itself instead.
    bool paced = !Plat_PresentWaits();
    while (sWindowAlive) {
        PlatEvent ev;
        while (sWindowAlive && Plat_PollEvent(&ev)) WindowProc(ev);
        if (!sWindowAlive) break;
        if (PageOpen == PAGE_LANGUAGE) {
            // The game starts once the language is chosen, so the player
            // meets its instructions in that language; until then the
            // page alone is shown.
            Plat_SetDrawing(true);
            DD_BackInit();
            Pages_Draw();
            Plat_Present(DDBack);
            Plat_SleepMs(1000.0 / Plat_RefreshRate());
            continue;
        }
        if (paced && FrameCount > 0) {
            double now = Plat_RealMs();
            if (now < nextPresent) {
                Plat_SleepMs(nextPresent - now);
                continue;
            }
            nextPresent = (now - nextPresent > presentEvery ? now : nextPresent) + presentEvery;
        }
        // What the viewer asked for between pictures: a jump, or leaving
        // for the replays page. Leaving stops the frames from being due,
        // so it cannot wait for the next frame.
        Watch_Service();
        // The very first picture (the instructions) is shown before the
        // loading frame runs.
        bool first = FrameCount == 0;
        if (Watch_Paused()) {
            // The same picture, marked, until the viewer goes on.
            Watch_OverlayOn();
            Plat_Present(DDBack);
            Watch_OverlayOff();
            Plat_SleepMs(PACE_STEP_MS * 4);
            Pace_Forget(&pacer);
            pacer.simMs = Plat_RealMs();
            continue;
        }
        int due = first ? 1 : Watch_FramesDue(Pace_Due(&pacer, Plat_RealMs()));
        if (due == 0) {
            // Nothing new to show yet: wait for the next game frame.
            const double step = PACE_STEP_MS;
            double wait = step - (Plat_RealMs() - pacer.simMs);
            Plat_SleepMs(wait < 0.5 ? 0.5 : wait > step ? step : wait);
            continue;
        }
        if (Options.maxFrames && due > Options.maxFrames - FrameCount) due = (int)(Options.maxFrames - FrameCount);
        int ran = 0;
        for (int i = 0; i < due && sWindowAlive; i++, ran++) {
            Shell_RunFrame(i == due - 1);  // only the last of them is shown
            if (Options.maxFrames && FrameCount >= Options.maxFrames) break;
        }
        if (!sWindowAlive) break;
        Watch_OverlayOn();
        Plat_Present(DDBack);
        Watch_OverlayOff();
        double now = Plat_RealMs();
        if (first) {
            HoldInstructions();
            now = Plat_RealMs();
            pacer.simMs = now;  // the game's clock starts with the first picture
        }
        if (Pace_Presented(&pacer, now))
            std::fprintf(stderr, "quellstorm: smooth pacing does not fit this display (%s %.2f Hz); pacing exactly\n",
                         pacer.steady ? "refresh" : "no steady refresh, pictures at about", pacer.refreshHz);
        if (paceLog) std::fprintf(paceLog, "%.3f %d\n", now, ran);
        if (!paced && pacer.count >= PACE_MIN_SAMPLES && Pace_MedianInterval(&pacer) < presentEvery / 2) {
            paced = true;
            nextPresent = now + presentEvery;
            Pace_Forget(&pacer);  // the beat from now on is the loop's own
        }
        if (Options.maxFrames && FrameCount >= Options.maxFrames) Shell_CloseWindow(hwnd);
    }
    if (paceLog) std::fclose(paceLog);
}

int QS_WinMain(int argc, char** argv) {
    int started = Shell_Start(argc, argv);
    if (started == -1 && Options.submit) return sExitCode == 0 ? 1 : sExitCode == 1 ? 0 : sExitCode;
    if (started == -1) return 1;  // --help, --version: done
    if (started != 1) return started;
    if (Options.headless) {
        // Headless runs never wait: the virtual clock just moves on.
        // Every picture is drawn unless --draw-every says otherwise.
        while (sWindowAlive) {
            PlatEvent ev;
            while (sWindowAlive && Plat_PollEvent(&ev)) WindowProc(ev);
            if (!sWindowAlive) break;
            Shell_RunFrame(Options.drawEvery == 1);
            if (Options.maxFrames && FrameCount >= Options.maxFrames) Shell_CloseWindow(hwnd);
        }
    } else {
        WindowLoop();
    }
    Kept_Close(FrameCount, GameScore());
    PracticeKeep_Close();
    Replay_Close(FrameCount);
    Board_Finish();
    if (!BoardLast.file.empty()) std::fprintf(stderr, "quellstorm: %s\n", Board_Line().c_str());
    if (Options.stateOut) {
        char line[512];
        Game_DescribeState(line, sizeof line);
        FILE* f = std::fopen(Options.stateOut, "w");
        if (f) {
            std::fprintf(f, "Frames=%ld %s Hash=%016llx\n", FrameCount, line, (unsigned long long)Game_StateHash());
            std::fclose(f);
        } else {
            std::fprintf(stderr, "quellstorm: cannot write %s\n", Options.stateOut);
        }
    }
    WriteResultJson();
    if (Options.track && Options.play) Ghosts_WriteTrack(Options.track);
    if (Options.play && Options.headless && Replay_SnapshotCount())
        std::fprintf(stderr, "quellstorm: replay: %d snapshots held in %zu bytes (at most %zu)\n", Replay_SnapshotCount(),
                     Replay_SnapshotBytesUsed(), REPLAY_SNAPSHOT_BYTES);
    if (Options.bot >= 0) {
        double secs = (Plat_RealMs() - sStartMs) / 1000;
        std::printf("soak: seed %ld, %ld frames in %.1f s, %.0f frames per second, score %lld\n", Options.bot,
                    FrameCount, secs, secs > 0 ? FrameCount / secs : 0.0, (long long)dat.score);
    }
    if (sExitCode) return sExitCode;
    if (Replay_ExitCode()) return Replay_ExitCode();
    return 1;
}

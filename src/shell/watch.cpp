#include "shell/watch.h"
#include "config/gamestart.h"
#include "game/game.h"
#include "game/score.h"
#include "pages/pages.h"
#include "pages/replays_page.h"
#include "platform/display.h"
#include "platform/page.h"
#include "platform/events.h"
#include "platform/input.h"
#include "platform/time.h"
#include "render/render.h"
#include "shell/frameloop.h"
#include "shell/kept_replays.h"
#include "shell/replay.h"
#include "shell/savestate.h"
#include "shell/shell.h"
#include "sound/sound.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool gOn;        // a playback the viewer's keys steer
bool gFromPage;  // ... started from the replays page
bool gPaused;
int gSpeed = 1;
bool gJumpAsked;  // a jump asked for, done between frames
long gJumpTo;
int gStageStep;     // a stage jump asked for: +1 next, -1 previous
bool gJumping;
bool gLeave;        // back to the page at the next frame
std::vector<uint8_t> gTitle;  // the title's state while a replay from the page plays
long gTitleFrames;
std::string gWatched;  // the file watched
// Taking over: asked for (done between frames); the game taken over is on
// (watched from the page: back to it at its end); left with Escape.
bool gTakeOverAsked, gTakenOver, gTakenFromPage, gLeaveTakeOver;

// The viewer's keys, on screen while watching: shown when watching starts
// and after any key, then faded out. A note (where a stage jump went) takes
// the place of the second line while it shows.
enum { KEYS_SHOW_MS = 4000, KEYS_FADE_MS = 1000 };
double gKeysSince = -1e12;
std::string gNote;

void ShowKeys() { gKeysSince = Plat_RealMs(); }
void Note(const std::string& text) {
    gNote = text;
    ShowKeys();
}

// The frames a jump plays without pictures, up to frame `target`, or
// until the stage changes when `untilStageAfter` is set.
void Simulate(long target, int untilStageAfter) {
    while (Shell_Running() && FrameCount < target) {
        Shell_RunFrame(FrameCount + 1 == target);
        if (untilStageAfter && (StageNo > untilStageAfter || Scene != SCENE_GAME)) break;
    }
}

void JumpTo(long target, int untilStageAfter) {
    long last = Replay_LastFrame();
    if (target > last - 1) target = last - 1;
    if (target < 1) target = 1;
    gJumping = true;
    DS_Hushed = true;
    // The last snapshot before the frame, when going back or when it saves
    // playing part of the way forward; then on to the frame, so that its
    // picture is drawn.
    long at = Replay_SnapshotBefore(target);
    if (at < 0 && target <= FrameCount) {
        // Before the first snapshot (the first frame of play): the frame
        // after it.
        at = Replay_SnapshotBefore(FrameCount);
        while (at >= 0 && Replay_SnapshotBefore(at) >= 0) at = Replay_SnapshotBefore(at);
        if (at >= 0) target = at + 1;
    }
    if (at >= 0 && (target <= FrameCount || at > FrameCount)) FrameCount = Replay_Rewind(at);
    long from = FrameCount;
    if (target > FrameCount) Simulate(target, untilStageAfter);
    DS_Hushed = false;
    gJumping = false;
    if (Options.headless)
        std::fprintf(stderr, "quellstorm: replay: jumped to frame %ld (played on from %ld), tune \"%s\"\n", FrameCount,
                     from, MIDI_Tune());
}

void StageJump(int step) {
    int stage = StageNo;
    if (Scene != SCENE_GAME || stage < 1) return;
    if (step > 0) {
        long start = Replay_StageStart(stage + 1);
        // A stage not reached yet is found by playing on without pictures.
        if (start >= 0) JumpTo(start, 0);
        else JumpTo(Replay_LastFrame(), stage);
        return;
    }
    long start = Replay_StageStart(stage);
    // As media players go back: well into a stage, to its start; within
    // its first seconds, to the stage before.
    bool before = Replay_StageStart(stage - 1) >= 0;
    if (start >= 0 && (FrameCount - start > WATCH_STAGE_BACK_FRAMES || !before)) {
        JumpTo(start, 0);
        Note(before ? "STAGE " + std::to_string(stage) + " FROM ITS START   PGUP / LB AGAIN NOW: STAGE " +
                          std::to_string(stage - 1)
                    : "STAGE " + std::to_string(stage) + " FROM ITS START");
    } else if (before) {
        JumpTo(Replay_StageStart(stage - 1), 0);
        Note("STAGE " + std::to_string(stage - 1) + " FROM ITS START");
    }
}

// The id of the run a take-over comes from: a board entry's id (the page
// names a replay fetched from a board by it), else the watched file's
// name, as a token a replay's header can hold.
std::string ParentOf(const std::string& path) {
    std::string name = path.substr(path.find_last_of('/') + 1);
    bool hex = name.size() == 36 && name.compare(32, 4, ".qsr") == 0;
    for (size_t i = 0; hex && i < 32; i++) hex = std::isxdigit((unsigned char)name[i]) != 0;
    if (hex) return name.substr(0, 32);
    std::string id;
    for (char c : name)
        if (id.size() < GAMESTART_PARENT_MAX) id += GameStart_ParentChar(c) ? c : '_';
    return id.empty() ? "replay" : id;
}

// The player takes the controls of the game watched, from this frame on.
void TakeOver() {
    if (Scene != SCENE_GAME) {
        Note("TAKE OVER: ONLY WHILE THE GAME IS IN PLAY");
        return;
    }
    std::string problem;
    if (!Kept_TakeOver(FrameCount, OPTION.Difficulty, ParentOf(gWatched).c_str(), &problem)) {
        Note("CANNOT TAKE OVER: " + problem);
        if (Options.headless) std::fprintf(stderr, "quellstorm: replay: cannot take over: %s\n", problem.c_str());
        return;
    }
    bool fromPage = gFromPage;
    Watch_Stop();
    gTakenOver = true;
    gTakenFromPage = fromPage;
    long secs = FrameCount / 250;
    char line[96];
    std::snprintf(line, sizeof line, "YOUR CONTROLS FROM STAGE %d %ld:%02ld: A PRACTICE RUN, NOT RANKED", StageNo,
                  secs / 60, secs % 60);
    Plat_ShowNotice(line, 3000);
    Plat_PageTakenOver(FrameCount);
    if (Options.headless) std::fprintf(stderr, "quellstorm: replay: taken over at frame %ld\n", FrameCount);
}

// The game taken over has ended (or was left): it is kept; back to the
// replays page, or the program closes as at the end of a replay opened
// from outside (the record in play is the watched run's, never the
// player's).
void EndTakeOver() {
    if (gLeaveTakeOver) Kept_EndGame(FrameCount, (long long)dat.score);
    gTakenOver = gLeaveTakeOver = false;
    Replay_EndTakeOver();
    if (!gTakenFromPage) {
        Shell_CloseWindow(hwnd);
        return;
    }
    State_Load(gTitle.data(), gTitle.size());
    FrameCount = gTitleFrames;
    MIDI_Stop();
    PageOpen = PAGE_REPLAYS;
    ReplaysPage_Show("your take-over is kept as a PRACTICE replay (never ranked)");
}

void Leave() {
    Watch_Stop();
    std::string verdict = Replay_Verdict();
    if (Options.headless) std::fprintf(stderr, "quellstorm: replay: %s\n", verdict.c_str());
    Replay_Stop();
    State_Load(gTitle.data(), gTitle.size());
    FrameCount = gTitleFrames;
    MIDI_Stop();
    PageOpen = PAGE_REPLAYS;
    ReplaysPage_Show(verdict.c_str());
}

// The overlay's corner, and the strip of the viewer's keys, kept as the
// game drew them.
enum { OV_X = 470, OV_Y = 434, OV_W = 170, OV_H = 46 };
enum { KL_X = 0, KL_Y = 396, KL_W = 640, KL_H = 38 };
uint16_t gKeysUnder[KL_W * KL_H];
bool gKeysOverlaid;
uint16_t gUnder[OV_W * OV_H];
bool gOverlaid;
std::string gAsked;  // a replay the page asked to watch

}  // namespace

void Watch_Stop() {
    gTakeOverAsked = false;
    gNote.clear();
    gKeysSince = -1e12;
    gLeave = false;
    gOn = false;
    gFromPage = false;
    gPaused = false;
    gSpeed = 1;
}

void Watch_BeginFromOutside(bool rewind) {
    gOn = true;
    gWatched = Options.play ? Options.play : "";
    gFromPage = false;
    ShowKeys();
    // A check of the replay alone (a headless run with no keys) never
    // goes back: it keeps no snapshots.
    if (rewind && Replay_SnapshotsReserve()) Replay_SnapshotAfterFrame(FrameCount);
}

namespace {

// Starts the replay asked for on the page, between frames: the title's
// state is put aside first.
void StartFromPage(const std::string& path) {
    gTitle.resize(State_MaxBytes());
    size_t n = State_Save(gTitle.data(), gTitle.size());
    gTitle.resize(n);
    gTitleFrames = FrameCount;
    std::string why;
    if (!Replay_Play(path.c_str(), true)) {
        why = Replay_Problem();
    } else if (!Replay_IsGame() || !Replay_StartGame()) {
        why = Replay_IsGame() ? Replay_Problem()
                              : "a whole run from the program's start: open it with quellstorm FILE to watch it";
        Replay_Stop();
        State_Load(gTitle.data(), gTitle.size());
    }
    if (!why.empty()) {
        ReplaysPage_Show(why.c_str());
        return;
    }
    MIDI_Stop();
    FrameCount = 0;
    PageOpen = PAGE_NONE;
    gOn = true;
    gFromPage = true;
    gWatched = path;
    ShowKeys();
    gPaused = false;
    gSpeed = 1;
    Replay_SnapshotsReserve();
    Replay_SnapshotAfterFrame(0);
}

}  // namespace

bool Watch_BeginFromPage(const char* path, const char**) {
    // Not in the middle of the frame whose keys asked for it: at the start
    // of the next, so the replay's first frame is a whole one.
    gAsked = path;
    return true;
}

bool Watch_FromPage() { return gOn && gFromPage; }

bool Watch_Key(const PlatEvent& ev) {
    if (!gOn || gJumping) return true;  // a jump in progress takes no keys
    ShowKeys();  // any key, a pad's button too, brings the keys back
    gNote.clear();
    switch (ev.key) {
    case VK_C:
    case VK_SPACE: gPaused = !gPaused; break;
    case VK_UP: gSpeed = gSpeed >= 8 ? 8 : gSpeed * 2; break;
    case VK_DOWN: gSpeed = gSpeed <= 1 ? 1 : gSpeed / 2; break;
    case VK_LEFT: gJumpAsked = true, gJumpTo = FrameCount - WATCH_JUMP_FRAMES; break;
    case VK_RIGHT: gJumpAsked = true, gJumpTo = FrameCount + WATCH_JUMP_FRAMES; break;
    case VK_T: gTakeOverAsked = true; break;
    case VK_PRIOR: gStageStep = -1; break;
    case VK_NEXT: gStageStep = +1; break;
    case VK_ESCAPE:
        if (gFromPage) gLeave = true;
        else Shell_CloseWindow(hwnd);
        break;
    default: break;
    }
    return true;
}

void Watch_Service() {
    if (gTakenOver && (Scene != SCENE_GAME || gLeaveTakeOver)) {
        EndTakeOver();
        return;
    }
    if (!gAsked.empty() && !gOn) {
        std::string path = gAsked;
        gAsked.clear();
        StartFromPage(path);
        return;
    }
    if (!gOn || gJumping) return;
    if (gLeave) {
        Leave();
        return;
    }
    if (gStageStep) {
        int step = gStageStep;
        gStageStep = 0;
        StageJump(step);
    }
    if (gJumpAsked) {
        gJumpAsked = false;
        JumpTo(gJumpTo, 0);
    }
    if (gTakeOverAsked) {
        gTakeOverAsked = false;
        TakeOver();
    }
}

bool Watch_TakenOver() { return gTakenOver; }

bool Watch_Paused() { return gOn && gPaused && !gLeave; }

int Watch_FramesDue(int due) {
    if (!gOn) return due;
    if (gPaused || gLeave) return 0;
    return due * gSpeed;
}

void Watch_AfterFrame() {
    if (gOn) Replay_SnapshotAfterFrame(FrameCount);
}

bool Watch_Ended() {
    if (gTakenOver && gTakenFromPage) {
        gLeaveTakeOver = true;  // kept as it stands, back to the page
        return true;
    }
    if (!gFromPage || !gOn) return false;
    gLeave = true;
    return true;
}

namespace {

// Darkens a box of the picture to `keep`/256 of its light.
void Darken(uint16_t* px, int stride, int x0, int y0, int w, int h, int keep) {
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            uint16_t& p = px[(size_t)(y0 + y) * stride + x0 + x];
            int r = ((p >> 11) & 31) * keep >> 8, g = ((p >> 5) & 63) * keep >> 8, b = (p & 31) * keep >> 8;
            p = (uint16_t)(r << 11 | g << 5 | b);
        }
}

void DrawKeys(uint16_t* px, int stride) {
    double age = Plat_RealMs() - gKeysSince;
    if (age >= KEYS_SHOW_MS + KEYS_FADE_MS) {
        gNote.clear();
        return;
    }
    int a = age <= KEYS_SHOW_MS ? 256 : (int)(256 * (KEYS_SHOW_MS + KEYS_FADE_MS - age) / KEYS_FADE_MS);
    for (int y = 0; y < KL_H; y++)
        std::memcpy(&gKeysUnder[y * KL_W], &px[(size_t)(KL_Y + y) * stride + KL_X], KL_W * sizeof(uint16_t));
    gKeysOverlaid = true;
    Darken(px, stride, KL_X, KL_Y, KL_W, KL_H, 256 - a * 3 / 4);
    int v = 255 * a / 256, soft = 200 * a / 256;
    const char* leave = gFromPage ? "ESC back to the list" : "ESC close";
    std::string keys = std::string("SPACE pause   LEFT/RIGHT 10 s   UP/DOWN speed   PGUP/PGDN stage   ") + leave;
    DD_FontShow(keys.c_str(), 12, KL_X + 8, KL_Y + 4, v, v, v, false);
    if (!gNote.empty()) DD_FontShow(gNote.c_str(), 12, KL_X + 8, KL_Y + 21, v, v, 120 * a / 256, false);
    else
        DD_FontShow("PAD: A pause   stick time / speed   LB/RB stage   B leave   "
                    "(PGUP at a stage's start: the stage before)",
                    12, KL_X + 8, KL_Y + 21, soft, soft, soft, false);
}

}  // namespace

void Watch_OverlayOn() {
    gOverlaid = false;
    if (!gOn || Options.headless || !DDBack || Scene != SCENE_GAME) return;
    uint16_t* px = Plat_SurfacePixels(DDBack);
    int stride = Plat_SurfacePitch(DDBack) / 2;
    if (!px || Plat_SurfaceWidth(DDBack) < 640 || Plat_SurfaceHeight(DDBack) < 480) return;
    bool drawing = Plat_Drawing();
    Plat_SetDrawing(true);
    for (int y = 0; y < OV_H; y++)
        for (int x = 0; x < OV_W; x++) {
            uint16_t& p = px[(size_t)(OV_Y + y) * stride + OV_X + x];
            gUnder[y * OV_W + x] = p;
            p = (uint16_t)((((p >> 11) & 31) / 4) << 11 | (((p >> 5) & 63) / 4) << 5 | ((p & 31) / 4));
        }
    gOverlaid = true;
    long secs = FrameCount / 250;
    char line[64];
    DD_FontShow("REPLAY", 14, OV_X + 8, OV_Y + 3, 255, 80, 80, false);
    if (gPaused) std::snprintf(line, sizeof line, "PAUSE");
    else if (gSpeed > 1) std::snprintf(line, sizeof line, "x%d", gSpeed);
    else line[0] = 0;
    if (line[0]) DD_FontShow(line, 14, OV_X + 110, OV_Y + 3, 255, 255, 160, false);
    if (StageNo >= 1 && StageNo <= 5) std::snprintf(line, sizeof line, "STAGE %d  %ld:%02ld", StageNo, secs / 60, secs % 60);
    else std::snprintf(line, sizeof line, "STAFF ROLL  %ld:%02ld", secs / 60, secs % 60);
    DD_FontShow(line, 12, OV_X + 8, OV_Y + 19, 220, 220, 220, false);
    // Always there: the way to play on from here.
    DD_FontShow("T / PAD X: TAKE OVER", 12, OV_X + 8, OV_Y + 32, 140, 230, 255, false);
    DrawKeys(px, stride);
    Plat_SetDrawing(drawing);
}

void Watch_OverlayOff() {
    if (!gOverlaid) return;
    gOverlaid = false;
    uint16_t* px = Plat_SurfacePixels(DDBack);
    int stride = Plat_SurfacePitch(DDBack) / 2;
    if (gKeysOverlaid)
        for (int y = 0; y < KL_H; y++)
            std::memcpy(&px[(size_t)(KL_Y + y) * stride + KL_X], &gKeysUnder[y * KL_W], KL_W * sizeof(uint16_t));
    gKeysOverlaid = false;
    for (int y = 0; y < OV_H; y++)
        std::memcpy(&px[(size_t)(OV_Y + y) * stride + OV_X], &gUnder[y * OV_W], OV_W * sizeof(uint16_t));
}

#include "shell/replay.h"
#include "config/options.h"
#include "enemy/effects.h"
#include "entity/entity.h"
#include "game/scene.h"
#include "game/game.h"
#include "game/score.h"
#include "game/statehash.h"
#include "platform/events.h"
#include "platform/files.h"
#include "platform/input.h"
#include "player/player.h"
#include "shell/oldstart.h"
#include "shell/savestate.h"
#include "shell/script.h"
#include "shell/shell.h"
#include "sound/sound.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

// The keys the game polls, one bit each.
const int kPolled[] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_SPACE, VK_SHIFT};
const int kPolledCount = 6;

// What a game came to, followed frame by frame while it is recorded or
// played: the header of a kept file and the result of a playback.
struct Track {
    bool inGame;       // a game is on
    bool ended;        // it went back to the title (game over, staff roll)
    int startStage, stage;
    long long score;
    long long stageScore[7];  // the score at the last frame seen on each stage
    long frames;
    int speedMax;  // the largest speed correction of the game, in its steps
    int deathsBefore;  // the record's ships lost when the game began
    int misses;        // ships lost in this game
    long bombs;        // bombs used in this game
};
// BombsUsed as last seen: a jump back puts the game's own count back
// with its snapshot, and counting goes on from there.
long gBombsSeen;
// The playback frame where each stage was first seen (-1: not yet); not
// put back by a rewind, so a stage once found can be jumped to again.
long gStageStart[7] = {-1, -1, -1, -1, -1, -1, -1};

FILE* gOut;
long gBase;  // a game's recording: the frame before its first
ReplayParsed gRep;
size_t gNext;
bool gPlaying, gVerify, gFrozen;
long gFirstDifference = -1;
long gLastPlayed;  // the last frame a playback ran
int gGames;        // games begun in the playback
long gMissingFingerprint = -1;  // the first frame due a fingerprint the file does not have
bool gRefusedRead;  // the file could not be played at all (its problem says why)
long gGameEnded = -1;  // a one-game playback: the frame its game went back to the title
int gExit;
std::string gPath, gProblem;
Track gTrack;
int gRecordingPractice;  // the game recorded is practice (PRACTICE_*)
bool gTakenOver;         // the game on was taken over from a playback
long gTakenAt = -1;      // ... at this frame of it (-1: the playback was not taken over)

uint32_t gLastKeys = 0xFFFFFFFF;
int gLastRes = -1;  // none recorded yet
PlatJoyState gLastJoy;

uint32_t ButtonsMask(const PlatJoyState& s) {
    uint32_t m = 0;
    for (int i = 0; i < 32; i++)
        if (s.buttons[i]) m |= 1u << i;
    return m;
}

// A message of the reader: kept for a box, and on standard error.
void Problem(const std::string& text) {
    if (gProblem.empty()) gProblem = text;
    if (!ReplayQuiet) std::fprintf(stderr, "quellstorm: %s\n", text.c_str());
}

// Playback has reached the last whole frame of a recording without its end.
void ReportIncomplete(long frame) {
    std::fprintf(stderr,
                 "quellstorm: the replay %s is incomplete (its recording stopped without its end line); "
                 "it was played up to frame %ld, its last whole frame\n",
                 gPath.c_str(), frame);
    gExit = REPLAY_EXIT_INCOMPLETE;
}

// The game in play or just ended, after each frame.
void TrackFrame(long frame) {
    bool inGame = Scene == SCENE_GAME;
    if (inGame && !gTrack.inGame) {
        // A new game (in a whole run, each game starts the story again).
        std::memset(&gTrack, 0, sizeof gTrack);
        for (long& s : gStageStart) s = -1;
        gTrack.startStage = StageNo;
        gGames++;
        gTrack.deathsBefore = dat.deaths;
        gBombsSeen = BombsUsed;
    }
    if (inGame || gTrack.inGame) {
        gTrack.misses = dat.deaths - gTrack.deathsBefore;
        gTrack.bombs += BombsUsed - gBombsSeen;
        gBombsSeen = BombsUsed;
    }
    if (inGame) {
        gTrack.inGame = true;
        gTrack.frames++;
        gTrack.speedMax = std::max(gTrack.speedMax, SpeedSteps(SpeedAdjust));
        if (StageNo >= 1 && StageNo <= 6) {
            if (StageNo > gTrack.stage) gTrack.stage = StageNo;
            if (gStageStart[StageNo] < 0) gStageStart[StageNo] = frame;
            gTrack.stageScore[StageNo] = (long long)dat.score;
        }
        gTrack.score = (long long)dat.score;
    } else if (gTrack.inGame) {
        // Back on the title: the score line still shows the final score.
        gTrack.inGame = false;
        gTrack.ended = true;
        gTrack.frames++;
        gTrack.score = std::atoll(dat.scoretext);
        if (gTrack.stage >= 1 && gTrack.stage <= 5) gTrack.stageScore[gTrack.stage] = gTrack.score;
    }
}

std::string StampNow() { return Plat_LocalStamp("%Y-%m-%d %H:%M:%S"); }

// --- snapshots for watching ------------------------------------------------

struct Snapshot {
    long frame;
    size_t offset, size;
    Track track;
    char tune[128];  // what was playing: music is not part of the game's state
};
enum { SNAPSHOT_MAX = 256 };
uint8_t* gArena;
Snapshot gSnaps[SNAPSHOT_MAX];
int gSnapCount;
size_t gArenaUsed;
long gSnapEvery = REPLAY_SNAPSHOT_EVERY;

// Every other snapshot goes (the first, the game's start, stays), packed
// down; from now on they come half as often.
void ThinSnapshots() {
    int kept = 0;
    size_t used = 0;
    for (int i = 0; i < gSnapCount; i++) {
        if (i > 0 && gSnaps[i].frame % (gSnapEvery * 2) != 0) continue;
        Snapshot s = gSnaps[i];
        std::memmove(gArena + used, gArena + s.offset, s.size);
        s.offset = used;
        used += s.size;
        gSnaps[kept++] = s;
    }
    gSnapCount = kept;
    gArenaUsed = used;
    gSnapEvery *= 2;
}

void TakeSnapshot(long frame) {
    for (int attempt = 0; attempt < 8; attempt++) {
        if (gSnapCount < SNAPSHOT_MAX) {
            size_t size = State_Save(gArena + gArenaUsed, REPLAY_SNAPSHOT_BYTES - gArenaUsed);
            if (size) {
                Snapshot& s = gSnaps[gSnapCount++];
                s = {frame, gArenaUsed, size, gTrack, {}};
                std::snprintf(s.tune, sizeof s.tune, "%s", MIDI_Tune());
                gArenaUsed += size;
                return;
            }
        }
        if (gSnapCount <= 1) return;  // the memory does not hold even two: no more
        ThinSnapshots();
        if (frame % gSnapEvery != 0) return;  // no longer due at the new spacing
    }
}

// The recording's inputs as they stand after frame `frame`: the keys held,
// the joystick, and the next event to hand over.
void SeekInputs(long frame) {
    uint32_t keys = 0;
    const ReplayEvent* joy = nullptr;
    size_t i = 0;
    for (; i < gRep.events.size() && gRep.events[i].frame <= frame; i++) {
        if (gRep.events[i].kind == EV_KEYS) keys = gRep.events[i].a;
        if (gRep.events[i].kind == EV_JOY) joy = &gRep.events[i];
    }
    gNext = i;
    bool down[256] = {};
    for (int k = 0; k < kPolledCount; k++) down[kPolled[k]] = (keys >> k) & 1;
    Plat_SetScriptedKeys(down);
    PlatJoyState st = {};
    PlatJoyResult res = PLAT_JOY_FAIL;
    if (joy) {
        st.x = joy->x;
        st.y = joy->y;
        for (int b = 0; b < 32; b++) st.buttons[b] = (joy->buttons >> b) & 1 ? 0x80 : 0;
        res = (PlatJoyResult)joy->a;
    }
    Plat_JoySetSnapshot(res, &st);
}

}  // namespace

bool ReplayQuiet;

const std::string& Replay_Problem() { return gProblem; }

static void WriteHead() {
    std::fprintf(gOut, "QSREPLAY %d\ngame QUELLSTORM 1\nsim %d\nhash-every %d\ndate %s\n", REPLAY_FORMAT, REPLAY_SIM,
                 REPLAY_HASH_EVERY, StampNow().c_str());
}

bool Replay_Record(const char* path) {
    gOut = std::fopen(path, "w");
    if (!gOut) {
        std::fprintf(stderr, "quellstorm: cannot write the replay %s\n", path);
        return false;
    }
    gBase = 0;
    WriteHead();
    // The testing aid changes the game, so a run made with it says so; a
    // run the bot played is nobody's own play.
    if (Options.invincible) std::fprintf(gOut, "invincible 1\n");
    if (Options.bot >= 0) std::fprintf(gOut, "bot 1\n");
    Replay_FreezeInputs();
    return true;
}

void Replay_FreezeInputs() {
    Plat_JoySetTape(PLAT_JOY_FROZEN);
    gFrozen = true;
}

static void WriteStart(const GameStart& s);

// One line of input or fingerprint, as the file keeps it.
static void WriteEvent(const ReplayEvent& ev) {
    switch (ev.kind) {
    case EV_KEYS: std::fprintf(gOut, "%ld K %" PRIx32 "\n", ev.frame, ev.a); break;
    case EV_PRESS: std::fprintf(gOut, "%ld P %" PRIx32 "\n", ev.frame, ev.a); break;
    case EV_OPEN: std::fprintf(gOut, "%ld O %" PRIu32 "\n", ev.frame, ev.a); break;
    case EV_JOY: std::fprintf(gOut, "%ld J %" PRIu32 " %d %d %" PRIx32 "\n", ev.frame, ev.a, ev.x, ev.y, ev.buttons); break;
    case EV_HASH: std::fprintf(gOut, "%ld H %016" PRIx64 "\n", ev.frame, ev.hash); break;
    }
}

bool Replay_RecordGame(const char* path, long frame) {
    gOut = std::fopen(path, "w");
    if (!gOut) {
        std::fprintf(stderr, "quellstorm: cannot write the replay %s\n", path);
        return false;
    }
    gBase = frame;
    // Whatever the title did with the joystick is in the state below.
    bool opens[16];
    while (Plat_JoyTakeOpens(opens, 16) == 16) {
    }
    gLastKeys = 0xFFFFFFFF;
    gLastRes = -1;
    std::memset(&gTrack, 0, sizeof gTrack);
    WriteHead();
    WriteStart(GameStartNoted);
    // The bot's games are kept like any other, marked: nobody played them.
    if (Options.bot >= 0) std::fputs("bot 1\n", gOut);
    std::fflush(gOut);
    gTrack.inGame = false;
    TrackFrame(0);  // the game is on: its start
    gTrack.frames = 0;
    return true;
}

// The game's start: what the title left it (docs/replay-format.md).
static void WriteStart(const GameStart& s) {
    std::fprintf(gOut,
                 "difficulty %d\nlives %d\nbombs %d\nstart-stage %d\nstage-option %d\ninvincible %d\n"
                 "speed-steps %d\nrandom %" PRIx32 "\nclock %" PRIu32 "\npaused %d\nkeys",
                 s.difficulty, s.lives, s.bombs, s.startStage, s.stageOption, s.invincible ? 1 : 0, s.speedSteps,
                 s.random, s.clock, s.paused);
    for (int k : s.keys) std::fprintf(gOut, " %d", k);
    std::fputs("\npad", gOut);
    for (int k : s.pad) std::fprintf(gOut, " %d", k);
    std::fprintf(gOut, "\njoystick %d\nrecord-hiscore %lld\nrecord-plays %d\nrecord-deaths %d\nrecord-clears %d\n",
                 s.joystick, (long long)s.hiscore, s.plays, s.deaths, s.clears);
    // A practice run's marks.
    if (s.practice == PRACTICE_STAGE) std::fputs("practice stage\n", gOut);
    if (s.practice == PRACTICE_TAKE_OVER)
        std::fprintf(gOut, "practice take-over\nparent %s\ntaken-at %ld\n", s.parent, s.takenAt);
    gRecordingPractice = s.practice;
}

bool Replay_CanTakeOver(std::string* problem) {
    if (!gPlaying || !gRep.typedStart) *problem = "only a kept game's replay (version 2 on) can be taken over";
    else if (!gTrack.inGame || gTrack.ended) *problem = "the game is over";
    else return true;
    return false;
}

bool Replay_TakeOver(const char* path, const char* parent, long frame) {
    if (!Replay_CanTakeOver(&gProblem)) return false;
    GameStart s = gRep.start;
    s.practice = PRACTICE_TAKE_OVER;
    std::snprintf(s.parent, sizeof s.parent, "%s", parent);
    s.takenAt = frame;
    if (GameStart_Problem(s)) {
        gProblem = std::string("cannot take over: the replay's id '") + parent + "' cannot be its parent";
        return false;
    }
    gOut = std::fopen(path, "w");
    if (!gOut) {
        gProblem = std::string("cannot write the replay ") + path;
        std::fprintf(stderr, "quellstorm: %s\n", gProblem.c_str());
        return false;
    }
    WriteHead();
    WriteStart(s);
    // The watched run's inputs and fingerprints up to the frame; what it
    // did after is not this run's.
    for (const ReplayEvent& ev : gRep.events) {
        if (ev.frame > frame) break;
        WriteEvent(ev);
    }
    std::fflush(gOut);
    gBase = 0;  // a playback's frames are its file's
    // From the next frame on the player's keys and joystick, written down
    // in full at once.
    gLastKeys = 0xFFFFFFFF;
    gLastRes = -1;
    bool opens[16];
    while (Plat_JoyTakeOpens(opens, 16) == 16) {
    }
    gPlaying = false;
    gTakenAt = frame;
    gRep.events.clear();  // what the file says of itself stays for the result
    gRep.events.shrink_to_fit();
    gNext = 0;
    gSnapCount = 0;
    gArenaUsed = 0;
    if (Script_Active()) Plat_SetScriptedPhysical(nullptr, 0);
    else Plat_ClearScriptedKeys();
    Replay_FreezeInputs();
    gTakenOver = true;
    return true;
}

bool Replay_TakenOver() { return gTakenOver; }
void Replay_EndTakeOver() { gTakenOver = false; }
int Replay_RecordingPractice() { return gRecordingPractice; }

std::string Replay_SummaryLines() {
    return "score " + std::to_string(gTrack.score) + "\nstage " + std::to_string(gTrack.stage) + "\nstaff-roll " +
           (gTrack.stage >= 6 ? "1" : "0") + "\nframes " + std::to_string(gTrack.frames) + "\n";
}

bool Replay_Parse(const char* text, size_t size, const char* path) {
    gProblem.clear();
    bool ok = ReplayFile_Parse(text, size, path, &gRep, ReplayQuiet);
    if (!ok) gProblem = gRep.info.problem;
    return ok;
}

bool Replay_Play(const char* path, bool verify) {
    gProblem.clear();
    long size;
    unsigned char* text = Plat_ReadWholeFile(path, &size, 256L * 1024 * 1024);
    if (!text) {
        Problem(std::string("cannot open the replay ") + path);
        return false;
    }
    bool ok = Replay_Parse(reinterpret_cast<const char*>(text), (size_t)size, path);
    Plat_FreeFile(text);
    if (!ok) {
        if (gRep.info.format >= 2 && gRep.info.sim != 0 && gRep.info.sim != 1 && gRep.info.sim != REPLAY_SIM)
            gExit = REPLAY_EXIT_SIM;
        else gRefusedRead = true;
        return false;
    }
    gPlaying = true;
    gVerify = verify;
    gPath = path;
    gNext = 0;
    gFirstDifference = -1;
    gGames = 0;
    gGameEnded = -1;
    gMissingFingerprint = -1;
    gRefusedRead = false;
    gTakenAt = -1;
    std::memset(&gTrack, 0, sizeof gTrack);
    // Older recordings play as their own version of the game played.
    GameSim = gRep.info.format < 2 || gRep.info.sim == 1 ? 1 : REPLAY_SIM;
    if (gRep.lastWhole == 0) ReportIncomplete(0);
    if (gRep.info.invincible) Options.invincible = true;
    bool none[256] = {};
    Plat_SetScriptedKeys(none);
    Plat_JoySetTape(PLAT_JOY_REPLAY);
    return true;
}

bool Replay_Recording() { return gOut != nullptr; }
bool Replay_Playing() { return gPlaying; }
bool Replay_IsGame() { return gPlaying && gRep.info.game; }
bool Replay_StartProven() { return gRep.typedStart; }

bool Replay_StartGame() {
    if (gRep.typedStart) {
        // As the title starts a game: the joystick opens as it did then.
        Plat_JoyQueueOpen(gRep.start.joystick != 0);
        PlatJoyState rest = {};
        Plat_JoySetSnapshot(PLAT_JOY_OK, &rest);
        NewGameFrom(gRep.start);
    } else {
        // An older file's memory image: put in place, then checked before
        // anything reads it. The file brings its own start, and
        // fingerprints computed from a made-up start (more lives, more
        // bombs, a score) would match it all the same, so the start itself
        // must be one that NewGame gives.
        if (!State_Load(gRep.state.data(), gRep.state.size(), false)) {
            Problem("the replay " + gPath + " holds a game state this build cannot read");
            return false;
        }
        const char* field = OldStart_Unsafe();
        if (!field) field = OldStart_NotANewGame(gRep.info.stageOption, gRep.info.invincible);
        if (field) {
            Problem(std::string("the replay's start is not a new game's start: ") + field);
            gExit = REPLAY_EXIT_NOT_NEW_GAME;
            return false;
        }
        SpriteMarksFromFlags();
    }
    gTrack.inGame = false;
    TrackFrame(0);
    gTrack.frames = 0;
    return true;
}

void Replay_BeginFrame(long frame) {
    if (!gPlaying) return;
    while (gNext < gRep.events.size() && gRep.events[gNext].frame <= frame && gRep.events[gNext].kind != EV_HASH) {
        const ReplayEvent& ev = gRep.events[gNext++];
        if (ev.kind == EV_KEYS) {
            bool down[256] = {};
            for (int i = 0; i < kPolledCount; i++) down[kPolled[i]] = (ev.a >> i) & 1;
            Plat_SetScriptedKeys(down);
        } else if (ev.kind == EV_PRESS) {
            Plat_PushKeyDown((int)ev.a);
        } else if (ev.kind == EV_OPEN) {
            Plat_JoyQueueOpen(ev.a != 0);
        } else if (ev.kind == EV_JOY) {
            PlatJoyState st = {};
            st.x = ev.x;
            st.y = ev.y;
            for (int i = 0; i < 32; i++) st.buttons[i] = (ev.buttons >> i) & 1 ? 0x80 : 0;
            Plat_JoySetSnapshot((PlatJoyResult)ev.a, &st);
        }
    }
}

void Replay_SampleInputs(long frame) {
    if (!gFrozen) return;
    PlatJoyState st = {};
    PlatJoyResult res = Plat_JoyReadLive(&st);
    if (res != PLAT_JOY_OK) st = PlatJoyState();
    Plat_JoySetSnapshot(res, &st);
    if (!gOut) return;
    long f = frame - gBase;
    uint32_t keys = 0;
    for (int i = 0; i < kPolledCount; i++)
        if (Plat_KeyDown(kPolled[i])) keys |= 1u << i;
    if (keys != gLastKeys) WriteEvent({f, EV_KEYS, keys, 0, 0, 0, 0});
    gLastKeys = keys;
    if ((int)res != gLastRes || st.x != gLastJoy.x || st.y != gLastJoy.y || ButtonsMask(st) != ButtonsMask(gLastJoy))
        WriteEvent({f, EV_JOY, (uint32_t)res, st.x, st.y, ButtonsMask(st), 0});
    gLastRes = (int)res;
    gLastJoy = st;
}

bool Replay_EndFrame(long frame) {
    if (gOut) {
        TrackFrame(frame - gBase);
        long f = frame - gBase;
        bool opens[16];
        int n = Plat_JoyTakeOpens(opens, 16);
        // Opens happen inside the frame; playback queues them before it.
        for (int i = 0; i < n; i++) WriteEvent({f, EV_OPEN, opens[i] ? 1u : 0u, 0, 0, 0, 0});
        if (f % REPLAY_HASH_EVERY == 0) WriteEvent({f, EV_HASH, 0, 0, 0, 0, Game_StateHash()});
        // On disk at least every second of play: a run that is killed or
        // crashes leaves a recording that plays up to here.
        if (f % REPLAY_FLUSH_EVERY == 0) std::fflush(gOut);
        return true;
    }
    if (!gPlaying) return true;
    gLastPlayed = frame;
    TrackFrame(frame);
    bool fingerprinted = false;
    while (gNext < gRep.events.size() && gRep.events[gNext].frame <= frame && gRep.events[gNext].kind == EV_HASH) {
        const ReplayEvent& ev = gRep.events[gNext++];
        fingerprinted = fingerprinted || ev.frame == frame;
        if (gVerify && ev.frame == frame) {
            uint64_t now = Game_StateHash();
            if (now != ev.hash) {
                std::fprintf(stderr, "quellstorm: replay differs from its recording at frame %ld (state %016" PRIx64
                                     ", recorded %016" PRIx64 "); it first matched up to frame %ld\n",
                             frame, now, ev.hash, frame - REPLAY_HASH_EVERY);
                gFirstDifference = frame;
                gExit = REPLAY_EXIT_DIFFERS;
                return false;
            }
        }
    }
    // A recording holds the fingerprint of every 50th frame: one missing
    // proves nothing about the frames before it.
    if (gVerify && !fingerprinted && frame % REPLAY_HASH_EVERY == 0 && (gRep.end < 0 || frame <= gRep.end) &&
        (gRep.lastWhole < 0 || frame <= gRep.lastWhole)) {
        std::fprintf(stderr, "quellstorm: the replay has no fingerprint for frame %ld\n", frame);
        gMissingFingerprint = frame;
        gFirstDifference = frame;
        gExit = REPLAY_EXIT_DIFFERS;
        return false;
    }
    // One game's file ends where its game went back to the title; what it
    // claims beyond is no game's, and is not played.
    if (gRep.info.game && gTrack.ended && gGameEnded < 0) {
        gGameEnded = frame;
        if (gRep.end > frame) {
            Problem("the replay goes on for " + std::to_string(gRep.end - frame) +
                    " frames after its game went back to the title at frame " + std::to_string(frame) +
                    ": not a game's recording");
            gExit = REPLAY_EXIT_PAST_END;
            return false;
        }
    }
    if (gRep.lastWhole >= 0 && frame >= gRep.lastWhole) {
        ReportIncomplete(frame);
        return false;
    }
    return gRep.end < 0 || frame < gRep.end;
}

void Replay_KeyDown(long frame, int vk) {
    if (gOut) WriteEvent({frame - gBase, EV_PRESS, (uint32_t)vk, 0, 0, 0, 0});
}

void Replay_FilterDat(uint8_t* bytes) {
    if (gOut) {
        std::fprintf(gOut, "dat ");
        for (int i = 0; i < 1088; i++) std::fprintf(gOut, "%02x", bytes[i]);
        std::fprintf(gOut, "\n");
    } else if (gPlaying && gRep.dat.size() == 1088) {
        std::memcpy(bytes, gRep.dat.data(), 1088);
    }
}

void Replay_Flush() {
    if (gOut) std::fflush(gOut);
}

void Replay_Close(long lastFrame) {
    if (!gOut) return;
    std::fprintf(gOut, "end %ld\n", lastFrame - gBase);
    std::fclose(gOut);
    gOut = nullptr;
}

int Replay_ExitCode() { return gExit; }

long Replay_LastFrame() { return gRep.end >= 0 ? gRep.end : gRep.lastWhole; }

static std::string Verdict(bool complete, long framesPlayed) {
    if (gExit == REPLAY_EXIT_SIM || gExit == REPLAY_EXIT_NOT_NEW_GAME || gExit == REPLAY_EXIT_PAST_END) return gProblem;
    if (gRefusedRead) return gProblem;
    if (gMissingFingerprint >= 0) return "the recording has no fingerprint for frame " + std::to_string(gMissingFingerprint);
    if (gFirstDifference >= 0) return "differs from its recording at frame " + std::to_string(gFirstDifference);
    if (!complete) return "incomplete: played up to frame " + std::to_string(framesPlayed);
    if (!gVerify) return "played, not verified";
    return "verified: the playback reproduced the recorded game";
}

std::string Replay_Verdict() {
    if (gFirstDifference >= 0 || gExit) return Verdict(false, gLastPlayed);
    if (gRep.end >= 0 && gLastPlayed >= gRep.end) return Verdict(true, gLastPlayed);
    // Left before its end: what was played matched.
    return "left at frame " + std::to_string(gLastPlayed) + "; it matched its recording up to there";
}

void Replay_Stop() {
    gPlaying = false;
    GameSim = REPLAY_SIM;
    gRep = ReplayParsed();
    gNext = 0;
    gExit = 0;
    gFirstDifference = -1;
    gMissingFingerprint = -1;
    gSnapCount = 0;
    gArenaUsed = 0;
    if (Script_Active()) Plat_SetScriptedPhysical(nullptr, 0);  // the script has the keys again
    else Plat_ClearScriptedKeys();
    Plat_JoySetTape(gFrozen ? PLAT_JOY_FROZEN : PLAT_JOY_LIVE);
}

std::string Replay_ResultJson(long framesPlayed) {
    const ReplayInfo& info = gRep.info;
    bool complete = gPlaying && gExit != REPLAY_EXIT_INCOMPLETE && gFirstDifference < 0 && gRep.end >= 0 &&
                    framesPlayed >= gRep.end;
    bool verified = gPlaying && gVerify && complete && gFirstDifference < 0;
    const char* ending = gTakenAt >= 0 ? "taken-over"
                         : gExit == REPLAY_EXIT_NOT_NEW_GAME || gExit == REPLAY_EXIT_PAST_END || gRefusedRead
                             ? "refused"
                         : !complete && gFirstDifference < 0 ? "cut"
                         : !gTrack.ended                   ? "escape"
                         : gTrack.stage >= 6               ? "staffroll"
                                                           : "gameover";
    std::string stages;
    long long before = 0;
    int first = gTrack.startStage >= 1 ? gTrack.startStage : 1;
    for (int s = first; s <= gTrack.stage && s <= 5; s++) {
        // What the staff roll adds (the last boss's jewels still falling
        // as it begins) is the last stage's: the stages add up to the game.
        long long end = s == 5 && gTrack.stage >= 6 ? gTrack.score : gTrack.stageScore[s];
        stages += (stages.empty() ? "" : ",") + std::to_string(end - before);
        before = end;
    }
    int jewels = 0;
    for (int j : JewelCount) jewels += j;
    std::string message = gTakenAt >= 0 ? "taken over at frame " + std::to_string(gTakenAt) +
                                               ": played on as a practice run (kept in the replay folder)"
                                         : Verdict(complete, framesPlayed);
    std::string esc;
    for (char c : message) {
        if (c == '"' || c == '\\') esc += '\\';
        if ((unsigned char)c >= 0x20) esc += c;
    }
    char speed[32];
    std::snprintf(speed, sizeof speed, "%.3f", SpeedSteps(SpeedAdjust) / 1000.0);
    // What the game was started from: typed values, an older file's image,
    // or the program's own start-up (a whole run); nothing when unread.
    const char* start = gRefusedRead ? "unread" : gRep.typedStart ? "typed" : !gRep.state.empty() ? "image" : "start-up";
    std::string j = "{\"format\":" + std::to_string(info.format) + ",\"sim\":" + std::to_string(info.sim) +
                    ",\"game_sim\":" + std::to_string(REPLAY_SIM) + ",\"verified\":" + (verified ? "true" : "false") +
                    ",\"first_difference_frame\":" +
                    (gFirstDifference >= 0 ? std::to_string(gFirstDifference) : std::string("null")) +
                    ",\"complete\":" + (complete ? "true" : "false") + ",\"ending\":\"" + ending +
                    "\",\"score\":" + std::to_string(gTrack.score) + ",\"stage\":" + std::to_string(gTrack.stage) +
                    ",\"difficulty\":" + std::to_string(OPTION.Difficulty) + ",\"lives\":" +
                    std::to_string(OPTION.Players) + ",\"bombs\":" + std::to_string(OPTION.PowerStock) +
                    ",\"start_stage\":" + std::to_string(gTrack.startStage) + ",\"jewels\":" + std::to_string(jewels) +
                    ",\"stage_scores\":[" + stages + "],\"misses\":" + std::to_string(gTrack.misses) +
                    ",\"bombs_used\":" + std::to_string(gTrack.bombs) + ",\"frames\":" + std::to_string(gTrack.frames) +
                    ",\"speed\":" + speed + ",\"speed_used\":" + (gTrack.speedMax > 0 ? "true" : "false") +
                    ",\"speed_steps_max\":" + std::to_string(gTrack.speedMax) + ",\"start\":\"" + start +
                    "\",\"games\":" + std::to_string(gGames) + ",\"invincible\":" + (Options.invincible ? "true" : "false") +
                    ",\"stage_option\":" + (info.stageOption ? "true" : "false") +
                    ",\"bot\":" + (info.bot ? "true" : "false") + ",\"practice\":" +
                    (info.practice == PRACTICE_TAKE_OVER ? "\"take-over\""
                     : info.practice == PRACTICE_STAGE   ? "\"stage\""
                                                         : "null") +
                    ",\"parent\":" + (info.parent.empty() ? "null" : "\"" + info.parent + "\"") +
                    ",\"taken_at\":" + (info.takenAt >= 0 ? std::to_string(info.takenAt) : std::string("null")) +
                    ",\"message\":\"" + esc + "\"}\n";
    return j;
}

// --- watching ---------------------------------------------------------------

const size_t REPLAY_SNAPSHOT_BYTES = 48u * 1024 * 1024;

bool Replay_SnapshotsReserve() {
    if (!gArena) gArena = static_cast<uint8_t*>(std::malloc(REPLAY_SNAPSHOT_BYTES));
    gSnapCount = 0;
    gArenaUsed = 0;
    gSnapEvery = REPLAY_SNAPSHOT_EVERY;
    return gArena != nullptr;
}

void Replay_SnapshotAfterFrame(long frame) {
    if (!gArena || !gPlaying || Scene != SCENE_GAME) return;
    if (gSnapCount > 0 && gSnaps[gSnapCount - 1].frame >= frame) return;  // already held
    if (gSnapCount == 0 || frame % gSnapEvery == 0) TakeSnapshot(frame);
}

long Replay_SnapshotBefore(long frame) {
    long best = -1;
    for (int i = 0; i < gSnapCount; i++)
        if (gSnaps[i].frame < frame) best = gSnaps[i].frame;
    return best;
}

long Replay_Rewind(long frame) {
    int best = -1;
    for (int i = 0; i < gSnapCount; i++)
        if (gSnaps[i].frame <= frame) best = i;
    if (best < 0) return -1;
    const Snapshot& s = gSnaps[best];
    State_Load(gArena + s.offset, s.size);
    gTrack = s.track;
    // Back to a stage's own tune, from its start (not where it had got to).
    if (std::strcmp(s.tune, MIDI_Tune()) != 0) {
        if (s.tune[0]) MIDI_Play(s.tune);
        else MIDI_Stop();
    }
    // Snapshots past this point stay good: the same inputs lead to them.
    SeekInputs(s.frame);
    return s.frame;
}

long Replay_StageStart(int stage) { return stage >= 1 && stage <= 6 ? gStageStart[stage] : -1; }

int Replay_SnapshotCount() { return gSnapCount; }
size_t Replay_SnapshotBytesUsed() { return gArenaUsed; }

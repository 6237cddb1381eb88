#include "shell/ghosts.h"
#include "boardclient/board.h"
#include "config/ghosttrack.h"
#include "config/replayfile.h"
#include "config/options.h"
#include "config/settings.h"
#include "game/ghost.h"
#include "shell/kept_replays.h"
#include "shell/replay.h"
#include "entity/entity.h"
#include "game/game.h"
#include "game/scene.h"
#include "game/score.h"
#include "platform/files.h"
#include "platform/page.h"
#include "platform/time.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

GhostTrackWriter gWriter;
bool gGameFrame;    // the frame running is one of play
bool gFollowing;    // the last frame was one of play: the same game goes on
std::string gDir;   // the replay folder, with its '/'
GhostTrack gGhost;  // the ghost of the game in play
bool gBoardAsked;   // the board's ghosts were asked for in this session

const char* const kDifficulty[] = {"EASY", "NORMAL", "HARD", "SPECIAL"};

bool LoadTrack(const std::string& path, int difficulty, GhostTrack* out) {
    long size;
    unsigned char* bytes = Plat_ReadWholeFile(path.c_str(), &size, 64L << 20);
    if (!bytes) return false;
    std::string why;
    bool ok = GhostTrack_Parse(reinterpret_cast<const char*>(bytes), (size_t)size, out, &why);
    Plat_FreeFile(bytes);
    if (!ok) std::fprintf(stderr, "quellstorm: the ghost %s cannot be shown: %s\n", path.c_str(), why.c_str());
    else if (out->difficulty != difficulty || out->sim != REPLAY_SIM) ok = false;
    if (!ok) *out = GhostTrack();
    return ok;
}

// A new game is about to play its first frame: the ghost it races.
void ChooseGhost() {
    gGhost = GhostTrack();
    // A stage practice races nobody: the runs kept start at stage 1.
    if (Replay_Playing() || Settings.ghost == GHOST_NONE || GamePractice != PRACTICE_NONE) {
        Ghost_Stop();
        return;
    }
    // The board's best runs, fetched once a session when first wanted (a
    // game started before they arrive races them from the next game on).
    if (Settings.ghost == GHOST_BOARD) Ghosts_FetchBoard();
    int d = OPTION.Difficulty;
    std::string path = Settings.ghost == GHOST_BEST ? Ghosts_BestKept(d) : Ghosts_BoardCache(d);
    if (!path.empty() && !LoadTrack(path, d, &gGhost) && Settings.ghost == GHOST_BEST)
        std::fprintf(stderr, "quellstorm: no ghost this game: %s does not fit it\n", path.c_str());
    Ghost_Start(gGhost.empty() ? nullptr : &gGhost, true);
}

}  // namespace

void Ghosts_FrameBegins() {
    gGameFrame = Scene == SCENE_GAME;
    if (gGameFrame && !gFollowing) ChooseGhost();
}

void Ghosts_SetFolder(const std::string& dir) {
    gDir = dir;
    if (!gDir.empty() && gDir.back() != '/') gDir += '/';
}

std::string Ghosts_BestKept(int difficulty) {
    if (gDir.empty() || difficulty < 0 || difficulty > 3) return "";
    struct Candidate {
        long long score;
        std::string path;
    };
    std::vector<Candidate> all;
    std::string mark = std::string("-") + kDifficulty[difficulty] + "-";
    for (const std::string& sub : {std::string(), std::string("kept/")})
        for (const std::string& name : Plat_ListDir(gDir + sub)) {
            KeptName k;
            if (!Kept_ParseName(name, &k) || k.score < 0 || k.practice || name.find(mark) != 15) continue;
            std::string path = gDir + sub + name;
            if (Plat_Exists(GhostTrack_PathOf(path))) all.push_back({k.score, path});
        }
    if (all.empty()) return "";
    // The best; of equal scores the first found (the folder's own order
    // does not matter: the name breaks the tie).
    auto best = std::max_element(all.begin(), all.end(), [](const Candidate& a, const Candidate& b) {
        return a.score != b.score ? a.score < b.score : a.path > b.path;
    });
    return GhostTrack_PathOf(best->path);
}

namespace {

// A track the page fetched from its board (null: no run on that
// difficulty), checked and kept as the board client keeps its own.
void TakePageGhost(int difficulty, const char* path) {
    std::string cache = Ghosts_BoardCache(difficulty);
    if (cache.empty()) return;
    if (!path) {
        Plat_RemoveFile(cache.c_str());
        return;
    }
    long size;
    unsigned char* bytes = Plat_ReadWholeFile(path, &size, 64L << 20);
    if (!bytes) return;
    Board_KeepGhost(difficulty, reinterpret_cast<const char*>(bytes), (size_t)size, cache);
    Plat_FreeFile(bytes);
}

}  // namespace

void Ghosts_FetchBoard() {
    if (gBoardAsked || gDir.empty() || Settings.ghost != GHOST_BOARD) return;
    // A page races the board it is served by, whose tracks it fetches
    // itself; a headless run waits for them, as on the desktop (half a
    // minute at most: a board that never answers is no board).
    if (Plat_InPage()) {
        gBoardAsked = true;
        double giveUp = Plat_RealMs() + 30000;
        if (Plat_PageFetchGhosts(TakePageGhost))
            while (Options.headless && Plat_PageFetchingGhosts() && Plat_RealMs() < giveUp) Plat_SleepMs(10);
        return;
    }
    if (!Board_Enabled()) return;
    gBoardAsked = true;
    Board_FetchGhosts(Ghosts_BoardCache, Options.headless);
}

std::string Ghosts_BoardCache(int difficulty) {
    if (gDir.empty() || difficulty < 0 || difficulty > 3) return "";
    return gDir + "ghosts/board-" + kDifficulty[difficulty] + ".qst";
}

void Ghosts_FrameEnded() {
    if (!gGameFrame) {
        gFollowing = false;
        return;
    }
    if (!gFollowing) {
        // A new game: its first frame of play has just run. Room for an
        // hour of play is set aside now rather than grown while it plays.
        GhostTrack_Begin(&gWriter, REPLAY_SIM, OPTION.Difficulty, StageNo, 900000);
        gFollowing = true;
    }
    // The frame that went back to the title has cleared the score; its
    // score line still shows the final one.
    int64_t score = Scene == SCENE_GAME ? (int64_t)dat.score : (int64_t)std::atoll(dat.scoretext);
    GhostTrack_Add(&gWriter, P_Ship.x, P_Ship.y, P_Ship.flag, StageNo, score);
}

std::string Ghosts_TrackFile() { return GhostTrack_File(gWriter); }

bool Ghosts_WriteTrack(const std::string& path) {
    std::string file = Ghosts_TrackFile();
    if (Plat_WriteFileAtomic(path.c_str(), file.data(), file.size())) return true;
    std::fprintf(stderr, "quellstorm: cannot write the track %s\n", path.c_str());
    return false;
}


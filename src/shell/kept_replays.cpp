// The replay folder: the session's running recording, each finished game
// kept under its own name, and the pruning after each save.
#include "shell/kept_replays.h"
#include "platform/files.h"
#include "config/ghosttrack.h"
#include "shell/ghosts.h"
#include "shell/replay.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace {

const char* const kDifficulty[] = {"EASY", "NORMAL", "HARD", "SPECIAL"};

std::string gDir;      // the folder, with its trailing '/'
std::string gRunning;  // the session's own file (name only)
bool gActive;
bool gInGame;
std::string gGameStamp;
int gGameDifficulty;
std::string gFinished;  // the game just kept, not yet taken

std::string Stamp() { return Plat_LocalStamp("%Y%m%d-%H%M%S"); }

// `base` + ".qsr", or `base` + "-2.qsr" and so on when that is taken.
std::string FreeName(const std::string& base) { return Plat_FreeName(gDir, base, ".qsr", 1000); }

bool AllDigits(const std::string& s, size_t from, size_t to) {
    if (from >= to || to > s.size()) return false;
    for (size_t i = from; i < to; i++)
        if (!std::isdigit((unsigned char)s[i])) return false;
    return true;
}

void Prune() {
    for (const std::string& name : Kept_ToPrune(Plat_ListDir(gDir)))
        if (name != gRunning) {
            std::remove((gDir + name).c_str());
            std::remove(GhostTrack_PathOf(gDir + name).c_str());  // its track goes with it
        }
}

// The game just ended, under its own name: its recording with the lines
// that describe it (score, stage, staff roll, frames) put in its header.
void KeepGame(long lastFrame, long long score) {
    Replay_Close(lastFrame);
    std::string running = gDir + gRunning;
    long size;
    unsigned char* text = Plat_ReadWholeFile(running.c_str(), &size, 1L << 30);
    if (!text) {
        std::fprintf(stderr, "quellstorm: cannot read the replay %s\n", running.c_str());
        return;
    }
    std::string out(reinterpret_cast<const char*>(text), (size_t)size);
    Plat_FreeFile(text);
    // At the end of the header: before the first frame's line, or the end.
    size_t at = 0;
    while (at < out.size() && !(out[at] >= '0' && out[at] <= '9') && out.compare(at, 4, "end ") != 0) {
        size_t eol = out.find('\n', at);
        at = eol == std::string::npos ? out.size() : eol + 1;
    }
    out.insert(at, Replay_SummaryLines());
    int d = gGameDifficulty >= 0 && gGameDifficulty < 4 ? gGameDifficulty : 1;
    bool practice = Replay_RecordingPractice() != 0;
    std::string name = FreeName(gGameStamp + "-" + kDifficulty[d] + (practice ? "-PRACTICE-" : "-") +
                                std::to_string(score < 0 ? 0 : score));
    if (Plat_WriteFileAtomic((gDir + name).c_str(), out.data(), out.size())) {
        std::remove(running.c_str());
        gFinished = gDir + name;
        // The track a ghost of this game follows, made as it was played:
        // the same as playing the file would make. A practice run is
        // nobody's ghost (and a take-over's path began in a playback that
        // may have jumped about).
        if (!practice) Ghosts_WriteTrack(GhostTrack_PathOf(gFinished));
    } else {
        std::fprintf(stderr, "quellstorm: cannot write the replay %s%s (the game stays in %s)\n", gDir.c_str(),
                     name.c_str(), running.c_str());
    }
    gRunning.clear();
    Prune();
}

}  // namespace

bool Kept_ParseName(const std::string& name, KeptName* out) {
    // YYYYMMDD-HHMMSS-<rest>.qsr
    if (name.size() < 20 || !AllDigits(name, 0, 8) || name[8] != '-' || !AllDigits(name, 9, 15) || name[15] != '-' ||
        name.compare(name.size() - 4, 4, ".qsr") != 0)
        return false;
    // <rest>: "unfinished" or "<DIFFICULTY>-<score>" ("<DIFFICULTY>-
    // PRACTICE-<score>" for a practice run), then perhaps "-N" telling
    // apart two replays of the same second.
    std::vector<std::string> parts;
    std::string rest = name.substr(16, name.size() - 20);
    for (size_t from = 0;;) {
        size_t dash = rest.find('-', from);
        parts.push_back(rest.substr(from, dash == std::string::npos ? std::string::npos : dash - from));
        if (dash == std::string::npos) break;
        from = dash + 1;
    }
    auto digits = [](const std::string& s) { return AllDigits(s, 0, s.size()) && s.size() <= 18; };
    KeptName k;
    k.stamp = name.substr(0, 15);
    k.practice = parts.size() > 1 && parts[1] == "PRACTICE" && parts[0] != "unfinished";
    if (k.practice) parts.erase(parts.begin() + 1);
    if (parts[0] == "unfinished") {
        if (parts.size() > 2 || (parts.size() == 2 && !digits(parts[1]))) return false;
        k.score = -1;
    } else {
        if (std::find(std::begin(kDifficulty), std::end(kDifficulty), parts[0]) == std::end(kDifficulty)) return false;
        if (parts.size() < 2 || parts.size() > 3 || !digits(parts[1]) || (parts.size() == 3 && !digits(parts[2])))
            return false;
        k.score = std::stoll(parts[1]);
    }
    *out = k;
    return true;
}

std::vector<std::string> Kept_ToPrune(const std::vector<std::string>& names, size_t recent, size_t best) {
    struct Entry {
        std::string name;
        KeptName k;
    };
    std::vector<Entry> all;
    for (const std::string& n : names) {
        KeptName k;
        if (Kept_ParseName(n, &k)) all.push_back({n, k});
    }
    std::vector<bool> keep(all.size(), false);
    std::vector<size_t> order(all.size());
    for (size_t i = 0; i < order.size(); i++) order[i] = i;
    // Most recent first; the name breaks ties so the choice never depends
    // on the folder's listing order.
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (all[a].k.stamp != all[b].k.stamp) return all[a].k.stamp > all[b].k.stamp;
        return all[a].name > all[b].name;
    });
    for (size_t i = 0; i < order.size() && i < recent; i++) keep[order[i]] = true;
    // Best first; of equal scores the earlier game holds the place.
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (all[a].k.score != all[b].k.score) return all[a].k.score > all[b].k.score;
        if (all[a].k.stamp != all[b].k.stamp) return all[a].k.stamp < all[b].k.stamp;
        return all[a].name < all[b].name;
    });
    for (size_t i = 0, taken = 0; i < order.size() && taken < best; i++) {
        // An unfinished session has no score; a practice run's is not a
        // game's.
        if (all[order[i]].k.score < 0 || all[order[i]].k.practice) continue;
        keep[order[i]] = true;
        taken++;
    }
    std::vector<std::string> out;
    for (size_t i = 0; i < all.size(); i++)
        if (!keep[i]) out.push_back(all[i].name);
    return out;
}

bool Kept_Start(const std::string& dir) {
    gDir = Plat_WithSlash(dir);
    if (!Plat_MakeDirs(gDir)) {
        std::fprintf(stderr, "quellstorm: cannot make the replay folder %s; this session is not kept\n", gDir.c_str());
        return false;
    }
    Replay_FreezeInputs();
    gActive = true;
    gInGame = false;
    return true;
}

bool Kept_Active() { return gActive; }

void Kept_AfterFrame(long frame, bool inGame, int difficulty, long long score) {
    if (!gActive) return;
    if (inGame && !gInGame) {
        gGameStamp = Stamp();
        gGameDifficulty = difficulty;
        // Recorded as it is played, so a game that is killed leaves a file
        // that plays up to its last flush.
        gRunning = FreeName(gGameStamp + "-unfinished");
        if (!Replay_RecordGame((gDir + gRunning).c_str(), frame)) {
            gRunning.clear();
            return;  // this game is not kept; the next one tries again
        }
    } else if (!inGame && gInGame && !gRunning.empty()) {
        KeepGame(frame, score);
    }
    gInGame = inGame;
}

void Kept_SetFolder(const std::string& dir) {
    if (!gActive) gDir = Plat_WithSlash(dir);
}

bool Kept_TakeOver(long frame, int difficulty, const char* parent, std::string* problem) {
    // Nothing changes (the playback's inputs least of all) unless the
    // take-over can be made.
    if (!Replay_CanTakeOver(problem)) return false;
    if (gDir.empty()) {
        *problem = "replays are not kept here (keep-replays off; headless: --keep-replays on)";
        return false;
    }
    if (!gActive && !Plat_MakeDirs(gDir)) {
        *problem = "cannot make the replay folder " + gDir;
        return false;
    }
    if (gInGame || !gRunning.empty()) {
        *problem = "a game is being kept already";
        return false;
    }
    gGameStamp = Stamp();
    gGameDifficulty = difficulty;
    gRunning = FreeName(gGameStamp + "-unfinished");
    if (!Replay_TakeOver((gDir + gRunning).c_str(), parent, frame)) {
        *problem = Replay_Problem();
        gRunning.clear();
        return false;
    }
    if (!gActive) Kept_Start(gDir);  // a replay opened from outside: this game alone is kept
    gInGame = true;
    return true;
}

void Kept_EndGame(long frame, long long score) {
    if (gActive && gInGame && !gRunning.empty()) KeepGame(frame, score);
    gInGame = false;
}

bool Kept_TakeFinished(std::string* path) {
    if (gFinished.empty()) return false;
    *path = gFinished;
    gFinished.clear();
    return true;
}

void Kept_Close(long lastFrame, long long score) {
    if (!gActive) return;
    if (gInGame && !gRunning.empty()) KeepGame(lastFrame, score);
    gActive = false;
    gInGame = false;
}

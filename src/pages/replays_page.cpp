// The replays page: one row per replay file of the folder and of its
// "kept/", newest first: date, difficulty, stage reached, score, length.
#include "pages/replays_page.h"
#include "boardclient/board.h"
#include "config/ghosttrack.h"
#include "config/paths.h"
#include "config/settings.h"
#include "config/replayfile.h"
#include "pages/pages.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/page.h"
#include "render/render.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <vector>

bool (*ReplaysPage_Watch)(const char* path, const char** problem);
const char* ReplaysPage_SendLabel;
bool (*ReplaysPage_Send)(const char* path, std::string* message);

namespace {

struct Row {
    std::string name, path;
    bool keptForGood;
    long long modified;
    bool playable;
    ReplayInfo info;
};

const char* const kDifficulty[] = {"EASY", "NORMAL", "HARD", "SPECIAL"};
const int kVisible = 16;
const int kRowY = 92, kRowStep = 20;

std::string gDir;  // with its trailing '/'
std::vector<Row> gRows;
int gCursor, gFirst;
bool gConfirmDelete;
std::string gMessage;
// Files sent from the page and still waiting behind another to go: marked
// as sent until the board client has them in hand.
std::map<std::string, BoardSubmission> gMarks;

// What the board made of the file sent from this run, as it comes.
const BoardSubmission* MarkOf(const std::string& path) {
    if (const BoardSubmission* b = Board_AnswerFor(path)) return b;
    auto it = gMarks.find(path);
    return it == gMarks.end() ? nullptr : &it->second;
}

bool IsReplay(const std::string& name) {
    return name.size() > 4 && name.compare(name.size() - 4, 4, ".qsr") == 0;
}

void Scan(const std::string& dir, bool kept) {
    std::vector<PlatFolderEntry> entries;
    if (!Plat_ListFolder(dir.c_str(), &entries)) return;
    for (const PlatFolderEntry& e : entries) {
        if (!e.file || !IsReplay(e.name)) continue;
        Row r;
        r.name = e.name;
        r.path = dir + e.name;
        r.keptForGood = kept;
        r.modified = e.modified;
        r.playable = ReplayFile_InspectPath(r.path, &r.info);
        gRows.push_back(r);
    }
}

std::string FileDate(long long when);

// When the game was played: its header's date, else the file's time.
std::string When(const Row& r) { return !r.info.date.empty() ? r.info.date : FileDate(r.modified); }

void Rescan() {
    std::string keep = gCursor >= 0 && gCursor < (int)gRows.size() ? gRows[gCursor].path : "";
    gRows.clear();
    Scan(gDir, false);
    Scan(gDir + "kept/", true);
    // Newest first: the game's own date where the file says it, else the
    // file's time; the name breaks ties.
    std::sort(gRows.begin(), gRows.end(), [](const Row& a, const Row& b) {
        std::string da = When(a), db = When(b);
        if (da != db) return da > db;
        return a.name > b.name;
    });
    gCursor = 0;
    for (int i = 0; i < (int)gRows.size(); i++)
        if (gRows[i].path == keep) gCursor = i;
    gFirst = 0;
}

std::string Length(long frames) {
    long secs = frames < 0 ? 0 : frames / 250;  // 250 game frames a second
    char t[32];
    std::snprintf(t, sizeof t, "%ld:%02ld", secs / 60, secs % 60);
    return t;
}

std::string FileDate(long long when) {
    time_t t = (time_t)when;
    struct tm tm;
    char out[32] = "";
    if (localtime_r(&t, &tm)) std::strftime(out, sizeof out, "%Y-%m-%d %H:%M:%S", &tm);
    return out;
}

// A file as the player knows it: when it was played and its score.
std::string Describe(const Row& r) {
    std::string d = "the game of " + When(r).substr(0, 16);
    if (r.playable && r.info.score >= 0) d += ", score " + std::to_string(r.info.score);
    return d;
}

void Watch() {
    if (gRows.empty()) return;
    const Row& r = gRows[gCursor];
    if (!r.playable) {
        gMessage = "cannot be played: " + r.info.problem;
        return;
    }
    const char* problem = "watching is not available here";
    if (!ReplaysPage_Watch || !ReplaysPage_Watch(r.path.c_str(), &problem)) gMessage = problem;
}

void KeepForGood() {
    if (gRows.empty()) return;
    Row& r = gRows[gCursor];
    if (r.keptForGood) {
        gMessage = "already kept for good";
        return;
    }
    std::string dir = gDir + "kept/";
    if (!Plat_MakeDirs(dir) || !Plat_MoveFile(r.path.c_str(), (dir + r.name).c_str())) {
        gMessage = "cannot move it to " + dir;
        return;
    }
    // Its ghost track goes with it, when it has one.
    Plat_MoveFile(GhostTrack_PathOf(r.path).c_str(), GhostTrack_PathOf(dir + r.name).c_str());
    gMessage = "kept for good: " + Describe(r);
    r.path = dir + r.name;
    r.keptForGood = true;
}

void Delete() {
    gConfirmDelete = false;
    if (gRows.empty()) return;
    if (!Plat_RemoveFile(gRows[gCursor].path.c_str())) {
        gMessage = "cannot delete " + Describe(gRows[gCursor]);
        return;
    }
    Plat_RemoveFile(GhostTrack_PathOf(gRows[gCursor].path).c_str());
    gMessage = "deleted " + Describe(gRows[gCursor]);
    gRows.erase(gRows.begin() + gCursor);
    if (gCursor >= (int)gRows.size()) gCursor = (int)gRows.size() - 1;
    if (gCursor < 0) gCursor = 0;
}

// G: the ghost new games race, in turn none, your best, the board's best
// (only with a board set; in a page, the board serving it); kept in the
// settings file.
void NextGhost() {
    int next = (Settings.ghost + 1) % 3;
    bool board = Plat_InPage() ? Plat_PageOnBoard() : Settings.boardUrl[0] != 0;
    if (next == GHOST_BOARD && !board) next = GHOST_NONE;
    Settings.ghost = next;
    Config_Changed(*Settings_Find("game", "ghost"));
}

const char* GhostName() {
    switch (Settings.ghost) {
    case GHOST_BEST: return "YOUR BEST";
    case GHOST_BOARD: return "BOARD'S BEST";
    default: return "NONE";
    }
}

void DrawRow(const Row& r, int y, bool selected) {
    int c = selected ? 255 : 200, g = selected ? 255 : 200, b = selected ? 120 : 200;
    if (selected) DD_FontShow(">", 16, 14, y, 255, 255, 120, false);
    char text[160];
    const ReplayInfo& i = r.info;
    std::string date = When(r).substr(0, 16);
    if (!r.playable) {
        std::snprintf(text, sizeof text, "%s  DAMAGED: %s", date.c_str(), i.problem.substr(0, 60).c_str());
        DD_FontShow(text, 14, 30, y, 255, selected ? 140 : 90, selected ? 140 : 90, false);
        return;
    }
    const char* diff = i.difficulty >= 0 && i.difficulty < 4 ? kDifficulty[i.difficulty] : "-";
    std::string stage = i.staffRoll > 0 || i.stage >= 6 ? "ALL" : i.stage > 0 ? std::to_string(i.stage) : "-";
    std::string score = i.score >= 0 ? std::to_string(i.score) : "-";
    if (!i.game) {
        diff = "WHOLE RUN";
        stage = "-";
    }
    // Columns at fixed places: the face's letters are not all one width.
    DD_FontShow(date.c_str(), 14, 30, y, c, g, b, false);
    DD_FontShow(diff, 14, 190, y, c, g, b, false);
    DD_FontShow(stage.c_str(), 14, 300, y, c, g, b, false);
    DD_FontShow(score.c_str(), 14, 470 - 7 * (int)score.size(), y, c, g, b, false);
    DD_FontShow(Length(i.frames).c_str(), 14, 490, y, c, g, b, false);
    // The board's mark, else the file's own.
    if (const BoardSubmission* m = MarkOf(r.path)) {
        const char* mark = "SENDING";
        char ranked[32];
        int mr = 200, mg = 200, mb = 200;
        if (m->state == BOARD_VERIFIED) {
            std::snprintf(ranked, sizeof ranked, "RANK %ld", m->rank);
            mark = ranked, mr = 120, mg = 255, mb = 120;
        } else if (m->state == BOARD_HELD) {
            mark = "HELD";
        } else if (m->state == BOARD_REJECTED || m->state == BOARD_FAILED) {
            mark = m->state == BOARD_REJECTED ? "REFUSED" : "NOT SENT", mr = 255, mg = 140, mb = 120;
        }
        DD_FontShow(mark, 14, 560, y, mr, mg, mb, false);
        return;
    }
    // A practice run first: its score is not a game's.
    if (i.practice) {
        DD_FontShow("PRACTICE", 14, 560, y, 255, 190, 90, false);
        return;
    }
    std::string tags = std::string(i.complete ? "" : "CUT ") + (r.keptForGood ? "KEPT" : "");
    if (!tags.empty()) DD_FontShow(tags.c_str(), 14, 560, y, 160, 220, 255, false);
}

}  // namespace

void ReplaysPage_SetFolder(const std::string& dir) {
    gDir = dir;
    if (!gDir.empty() && gDir.back() != '/') gDir += '/';
}

void ReplaysPage_Open() {
    gConfirmDelete = false;
    gMessage.clear();
    Rescan();
}

void ReplaysPage_Show(const char* message) {
    ReplaysPage_Open();
    gMessage = message ? message : "";
}

void ReplaysPage_Draw() {
    Pages_Head("REPLAYS", "F3 / ESC: back");
    std::string help = "RETURN: watch   K: keep for good   DEL: delete";
    if (ReplaysPage_Send && ReplaysPage_SendLabel) help += std::string("   B: ") + ReplaysPage_SendLabel;
    const BoardSubmission* mark = gRows.empty() ? nullptr : MarkOf(gRows[gCursor].path);
    if (mark && !mark->link.empty()) help = "RETURN: watch   B: send again   O: open the entry   C: copy its address";
    DD_FontShow(help.c_str(), 14, 30, 46, 200, 200, 255, false);
    std::string ghost = std::string("G: GHOST ") + GhostName();
    DD_FontShow(ghost.c_str(), 16, 220, 16, 150, 220, 255, false);
    if (gRows.empty()) {
        DD_FontShow("No replays yet.", 20, 30, 110, 255, 255, 255, false);
        DD_FontShow("Every game played in a window is kept here", 16, 30, 145, 220, 220, 220, false);
        DD_FontShow("when it ends: start one from the title.", 16, 30, 167, 220, 220, 220, false);
    } else {
        const int x[] = {30, 190, 300, 420, 490};
        const char* heads[] = {"DATE", "DIFFICULTY", "STAGE", "SCORE", "LENGTH"};
        for (int k = 0; k < 5; k++) DD_FontShow(heads[k], 14, x[k], 70, 255, 255, 155, false);
        if (gCursor < gFirst) gFirst = gCursor;
        if (gCursor >= gFirst + kVisible) gFirst = gCursor - kVisible + 1;
        for (int i = gFirst; i < (int)gRows.size() && i < gFirst + kVisible; i++)
            DrawRow(gRows[i], kRowY + (i - gFirst) * kRowStep, i == gCursor);
        if (gFirst + kVisible < (int)gRows.size()) DD_FontShow("...", 14, 30, kRowY + kVisible * kRowStep - 6, 200, 200, 200, false);
    }
    if (gConfirmDelete && !gRows.empty()) {
        std::string q = "Delete " + gRows[gCursor].name + "?  Y: yes   N: no";
        DD_FontShow(q.c_str(), 16, 30, 452, 255, 120, 120, false);
    } else if (!gMessage.empty()) {
        DD_FontShow(gMessage.substr(0, 80).c_str(), 14, 30, 454, 255, 255, 160, false);
    } else if (!gRows.empty() && gRows[gCursor].playable && gRows[gCursor].info.practice) {
        // What the practice run is.
        const ReplayInfo& i = gRows[gCursor].info;
        std::string line = i.practice == PRACTICE_STAGE
                               ? "PRACTICE: STAGE " + std::to_string(i.startStage) + " ON ITS OWN"
                               : "TAKEN OVER AT " + Length(i.takenAt) + " (FRAME " + std::to_string(i.takenAt) +
                                     ") FROM " + i.parent;
        // A parent's name may be as long as 64 letters: the whole of it, in
        // smaller letters and without the frame, rather than cut at the
        // screen's edge.
        int size = 14;
        if (line.size() > 68) {
            line = "TAKEN OVER AT " + Length(i.takenAt) + " FROM " + i.parent;
            size = 11;
        }
        DD_FontShow(line.c_str(), size, 30, 454, 255, 190, 90, false);
    } else if (mark) {
        // The board's answer for the chosen file, as it comes.
        std::string line;
        int r = 200, g = 200, b = 200;
        switch (mark->state) {
        case BOARD_VERIFIED:
            line = "VERIFIED: RANK " + std::to_string(mark->rank) + (mark->board.empty() ? "" : " ON " + mark->board) +
                   ", SCORE " + std::to_string(mark->score);
            r = 120, g = 255, b = 120;
            break;
        case BOARD_REJECTED: line = "REFUSED BY THE BOARD: " + mark->reason, r = 255, g = 140, b = 120; break;
        case BOARD_FAILED: line = "NOT SENT: " + mark->reason, r = 255, g = 140, b = 120; break;
        case BOARD_HELD: line = "SENT: HELD BY THE BOARD, NOT THE FILE'S FAULT: " + mark->reason; break;
        case BOARD_QUEUED: line = "SENT: QUEUED FOR VERIFICATION"; break;
        case BOARD_VERIFYING: line = "SENT: THE BOARD IS RE-PLAYING IT"; break;
        default: line = "SENDING TO THE BOARD..."; break;
        }
        if (line.size() > 90) {
            // A long reason on two lines.
            size_t cut = line.rfind(' ', 90);
            if (cut == std::string::npos || cut < 40) cut = 90;
            DD_FontShow(line.substr(0, cut).c_str(), 14, 30, 436, r, g, b, false);
            line = line.substr(cut + (line[cut] == ' '));
            if (line.size() > 90) line = line.substr(0, 87) + "...";
        }
        DD_FontShow(line.c_str(), 14, 30, 454, r, g, b, false);
    }
}

bool ReplaysPage_Key(int key) {
    if (gConfirmDelete) {
        if (key == VK_Y || key == VK_RETURN) Delete();
        else if (key == VK_N || key == VK_ESCAPE) gConfirmDelete = false;
        return true;  // nothing else until it is answered
    }
    switch (key) {
    case VK_UP:
        if (gCursor > 0) gCursor--;
        return true;
    case VK_DOWN:
        if (gCursor + 1 < (int)gRows.size()) gCursor++;
        return true;
    case VK_RETURN:
    case VK_SPACE:
    case VK_SHIFT:
        gMessage.clear();
        Watch();
        return true;
    case VK_K:
        KeepForGood();
        return true;
    case VK_G:
        NextGhost();
        gMessage = std::string("new games race the ghost: ") + GhostName();
        return true;
    case VK_DELETE:
        if (!gRows.empty()) gConfirmDelete = true;
        return true;
    case VK_B:
        if (ReplaysPage_Send && !gRows.empty() && gRows[gCursor].info.practice) {
            gMessage = "a practice run is not sent: no board ranks it";
            return true;
        }
        if (ReplaysPage_Send && !gRows.empty()) {
            std::string message;
            const std::string& path = gRows[gCursor].path;
            if (ReplaysPage_Send(path.c_str(), &message)) {
                // Marked at once; the board's answers replace the mark.
                BoardSubmission sent = BoardSubmission();
                sent.state = BOARD_SENDING;
                sent.file = path;
                gMarks[path] = sent;
            }
            gMessage = message;
        }
        return true;
    case VK_O:
    case VK_C:
        if (!gRows.empty()) {
            const BoardSubmission* m = MarkOf(gRows[gCursor].path);
            if (!m || m->link.empty()) return true;
            bool done = key == VK_O ? Plat_OpenUrl(m->link.c_str()) : Plat_CopyText(m->link.c_str());
            gMessage = (key == VK_O ? (done ? "opened " : "could not open ") : (done ? "copied " : "could not copy ")) +
                       m->link;
        }
        return true;
    default: return false;
    }
}

int ReplaysPage_RowCount() { return (int)gRows.size(); }
std::string ReplaysPage_RowName(int i) { return i >= 0 && i < (int)gRows.size() ? gRows[i].name : ""; }
bool ReplaysPage_RowPlayable(int i) { return i >= 0 && i < (int)gRows.size() && gRows[i].playable; }

// The score board client: one submission at a time, sent and followed in
// the background (see board.h).
#include "boardclient/board.h"
#include "config/ghosttrack.h"
#include "config/settings.h"
#include "platform/files.h"
#include "platform/http.h"
#include "platform/time.h"
#include "text/text.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <cctype>
#include <cstring>
#include <deque>
#include <vector>

BoardSubmission BoardLast;

namespace {
// The answers of this run's earlier submissions, oldest first.
std::vector<BoardSubmission> sAnswers;
}  // namespace

namespace {

// A finished game's replay is a few hundred kilobytes at most; the board
// refuses far smaller than this anyway.
const long kMaxReplay = 8L << 20;
const long kSendTimeoutMs = 20000;
const long kAskTimeoutMs = 10000;
// The board is asked how its verification goes every 1.5 s, for at most
// ten minutes (a long queue); after that the entry's page tells.
const double kFollowEveryMs = 1500;
const double kFollowForMs = 10 * 60 * 1000;

enum Step { STEP_NONE, STEP_POST, STEP_STATUS };
Step sStep;
double sNextAsk, sFollowUntil;
std::deque<std::string> sWaiting;  // replays to send after the one in hand

// Fetching the board's ghosts: the boards, then each difficulty's track.
enum GhostStep { GHOST_IDLE, GHOST_WANTED, GHOST_BOARDS, GHOST_TRACK };
GhostStep sGhost;
std::string (*sGhostCache)(int);
std::string sGhostId[4];  // each difficulty's best run ("" none)
int sGhostNext;           // the difficulty whose track is asked for

// The board's root without a trailing '/'.
std::string Root() {
    std::string r = Settings.boardUrl;
    while (!r.empty() && r.back() == '/') r.pop_back();
    return r;
}

std::string UrlEncode(const std::string& s) { return Text_UrlEncode(s); }

// The board's answer: a JSON object, or an empty one when the body is not
// one (an error page of a proxy, a cut answer).
nlohmann::json Answer(const std::string& body) {
    nlohmann::json j = nlohmann::json::parse(body, nullptr, /*allow_exceptions=*/false);
    return j.is_object() ? j : nlohmann::json::object();
}

// A text of the answer as the game can draw it: control characters become
// spaces, a character beyond the font's plane '?'. Empty when absent, null
// or not a text.
std::string Text(const nlohmann::json& answer, const char* key) {
    auto it = answer.find(key);
    if (it == answer.end() || !it->is_string()) return "";
    const std::string& in = it->get_ref<const std::string&>();
    std::string out;
    for (size_t i = 0; i < in.size(); i++) {
        unsigned char c = (unsigned char)in[i];
        if (c < 0x20 || c == 0x7F) {
            out += ' ';
        } else if (c >= 0xF0) {  // a four-byte sequence (the parser gave valid UTF-8)
            out += '?';
            i += 3;
        } else {
            out += (char)c;
        }
    }
    return out;
}

// A whole number of the answer; 0 when absent, null or not a whole number.
long long Number(const nlohmann::json& answer, const char* key) {
    auto it = answer.find(key);
    if (it == answer.end()) return 0;
    if (it->is_number_integer()) return it->get<long long>();
    return 0;
}

void Fail(const std::string& why) {
    BoardLast.state = BOARD_FAILED;
    BoardLast.reason = why;
    sStep = STEP_NONE;
}

// No answer at all: the player's words for what went wrong.
void FailNoAnswer() {
    switch (Plat_HttpFailure()) {
    case HTTPF_UNREACHABLE: Fail("the board could not be reached (" + std::string(Plat_HttpError()) + ")"); break;
    case HTTPF_TIMEOUT: Fail("the board did not answer in time"); break;
    default: Fail(std::string("the board could not be reached: ") + Plat_HttpError()); break;
    }
}

// An answer that is not what was asked for: the board's own words.
void FailAnswer() {
    std::string err = Text(Answer(Plat_HttpBody()), "error");
    long status = Plat_HttpStatus();
    if (status >= 400 && status < 500 && !err.empty() && status != 429) {
        BoardLast.state = BOARD_REJECTED;  // the board says no to this file
        BoardLast.reason = err;
        sStep = STEP_NONE;
        return;
    }
    char what[64];
    std::snprintf(what, sizeof what, "the board answered %ld", status);
    Fail(err.empty() ? std::string(what) : std::string(what) + ": " + err);
}

void AskStatus() {
    if (Plat_HttpBegin("GET", Root() + "/api/submissions/" + UrlEncode(BoardLast.id), nullptr, 0, kAskTimeoutMs))
        sStep = STEP_STATUS;
    else
        Fail(Plat_HttpError());
}

// A board's key ("d1", "d2s+0.010") as the player knows it: the
// difficulty's name, then what else sets the board apart.
std::string BoardName(const std::string& key) {
    static const char* const names[] = {"EASY", "NORMAL", "HARD", "SPECIAL"};
    if (key.size() < 2 || key[0] != 'd' || key[1] < '0' || key[1] > '3') return key;
    return names[key[1] - '0'] + (key.size() > 2 ? " (" + key.substr(2) + ")" : std::string());
}

// The board's view of the submission (the POST's answer or a status).
void TakeStatus(const std::string& body) {
    nlohmann::json json = Answer(body);
    std::string id = Text(json, "id");
    if (!id.empty()) BoardLast.id = id;
    std::string status = Text(json, "status");
    std::string entry = Text(json, "entry");
    if (!entry.empty()) BoardLast.link = entry[0] == '/' ? Root() + entry : entry;
    if (status == "verified") {
        BoardLast.state = BOARD_VERIFIED;
        BoardLast.score = Number(json, "score");
        BoardLast.rank = (long)Number(json, "rank");
        // The board's own title ("NORMAL", "HARD, from stage 2"); an older
        // board only gives its key, named here by its difficulty.
        BoardLast.board = Text(json, "board_title");
        if (BoardLast.board.empty()) BoardLast.board = BoardName(Text(json, "board"));
        sStep = STEP_NONE;
    } else if (status == "rejected" || status == "removed") {  // removed: by the board's host, with the reason
        BoardLast.state = BOARD_REJECTED;
        BoardLast.reason = Text(json, "reason");
        if (BoardLast.reason.empty()) BoardLast.reason = "refused by the board";
        sStep = STEP_NONE;
    } else if (status == "held") {  // its own trouble, not the file's: its host will have it re-played
        BoardLast.state = BOARD_HELD;
        BoardLast.reason = Text(json, "reason");
        sStep = STEP_NONE;
    } else if (status == "queued" || status == "verifying") {
        BoardLast.state = status == "queued" ? BOARD_QUEUED : BOARD_VERIFYING;
        if (BoardLast.id.empty()) return Fail("the board's answer names no submission");
        sStep = STEP_NONE;
        sNextAsk = Plat_RealMs() + kFollowEveryMs;
    } else {
        Fail("the board's answer is not understood");
    }
}

// The next replay waiting to go, if nothing is in hand.
void StartNext() {
    // A submission goes before the ghosts: their fetch starts again after.
    if (!sWaiting.empty() && !Board_Busy() && sGhost > GHOST_WANTED) {
        Plat_HttpCancel();
        sGhost = GHOST_WANTED;
    }
    while (!sWaiting.empty() && !Board_Busy()) {
        std::string file = sWaiting.front();
        sWaiting.pop_front();
        // The answer in hand is kept for the replays page's marks.
        if (!BoardLast.file.empty()) {
            if (sAnswers.size() >= 64) sAnswers.erase(sAnswers.begin());
            sAnswers.push_back(BoardLast);
        }
        BoardLast = BoardSubmission();
        BoardLast.file = file;
        long size;
        unsigned char* data = Plat_ReadWholeFile(file.c_str(), &size, kMaxReplay);
        if (!data) {
            Fail(size == -2 ? "the replay is too large to send" : "the replay cannot be read");
            continue;
        }
        const char* name = Settings.playerName[0] ? Settings.playerName : "PLAYER";
        bool ok = Plat_HttpBegin("POST", Root() + "/api/submissions?name=" + UrlEncode(name), data, (size_t)size,
                                 kSendTimeoutMs);
        Plat_FreeFile(data);
        if (!ok) {
            Fail(Plat_HttpError());
            continue;
        }
        BoardLast.state = BOARD_SENDING;
        sStep = STEP_POST;
        sFollowUntil = Plat_RealMs() + kFollowForMs;
    }
}

// The id of the first (best) entry of board "d<difficulty>" in the
// answer of /api/boards; empty when that board has none.
std::string BestOfBoard(const std::string& body, int difficulty) {
    nlohmann::json answer = Answer(body);
    auto boards = answer.find("boards");
    if (boards == answer.end() || !boards->is_array()) return "";
    const std::string key = "d" + std::to_string(difficulty);
    for (const nlohmann::json& board : *boards) {
        if (!board.is_object() || Text(board, "board") != key) continue;
        auto entries = board.find("entries");
        if (entries == board.end() || !entries->is_array() || entries->empty() || !entries->front().is_object())
            return "";
        std::string id = Text(entries->front(), "id");
        if (id.size() != 32) return "";
        for (char c : id)
            if (!std::isxdigit((unsigned char)c)) return "";
        return id;
    }
    return "";
}

// The next difficulty's track, or the end of the fetch.
void GhostAskNext() {
    while (sGhostNext < 4 && sGhostId[sGhostNext].empty()) {
        std::remove(sGhostCache(sGhostNext).c_str());  // no run on the board: no ghost
        sGhostNext++;
    }
    if (sGhostNext >= 4) {
        sGhost = GHOST_IDLE;
        return;
    }
    if (!Plat_HttpBegin("GET", Root() + "/api/replays/" + sGhostId[sGhostNext] + "/track", nullptr, 0, kSendTimeoutMs))
        sGhost = GHOST_IDLE;
    else sGhost = GHOST_TRACK;
}

// Moves the ghosts' fetch on when the connection is free.
void GhostPoll(bool blocking) {
    if (sGhost == GHOST_IDLE || Board_Busy() || !sWaiting.empty()) return;
    if (sGhost == GHOST_WANTED) {
        if (Plat_HttpBegin("GET", Root() + "/api/boards", nullptr, 0, kAskTimeoutMs)) sGhost = GHOST_BOARDS;
        else sGhost = GHOST_IDLE;
        return;
    }
    PlatHttpState st = Plat_HttpPoll(blocking ? 200 : 0);
    if (st == HTTP_RUNNING) return;
    if (st != HTTP_DONE || Plat_HttpStatus() != 200) {
        // No ghost from the board this time: what was fetched before stays.
        std::fprintf(stderr, "quellstorm: the board's ghosts could not be fetched (%s)\n",
                     st == HTTP_DONE ? ("answer " + std::to_string(Plat_HttpStatus())).c_str() : Plat_HttpError());
        sGhost = GHOST_IDLE;
        return;
    }
    if (sGhost == GHOST_BOARDS) {
        for (int d = 0; d < 4; d++) sGhostId[d] = BestOfBoard(Plat_HttpBody(), d);
        sGhostNext = 0;
        GhostAskNext();
        return;
    }
    const std::string& body = Plat_HttpBody();
    Board_KeepGhost(sGhostNext, body.data(), body.size(), sGhostCache(sGhostNext));
    sGhostNext++;
    GhostAskNext();
}

}  // namespace

void Board_FetchGhosts(std::string (*cacheFor)(int difficulty), bool blocking) {
    if (!Board_Enabled() || !cacheFor) return;
    sGhostCache = cacheFor;
    if (sGhost == GHOST_IDLE) sGhost = GHOST_WANTED;
    while (blocking && sGhost != GHOST_IDLE) {
        Board_Poll(true);
        GhostPoll(true);
    }
}

bool Board_FetchingGhosts() { return sGhost != GHOST_IDLE; }

bool Board_KeepGhost(int difficulty, const char* bytes, size_t size, const std::string& path) {
    GhostTrack check;
    std::string why;
    if (!GhostTrack_Parse(bytes, size, &check, &why)) {
        std::fprintf(stderr, "quellstorm: the board's ghost for difficulty %d is refused: %s\n", difficulty, why.c_str());
        return false;
    }
    size_t slash = path.rfind('/');
    if (slash != std::string::npos) Plat_MakeDirs(path.substr(0, slash + 1));
    if (Plat_WriteFileAtomic(path.c_str(), bytes, size)) return true;
    std::fprintf(stderr, "quellstorm: cannot write the ghost %s\n", path.c_str());
    return false;
}

bool Board_Enabled() { return Settings.boardUrl[0] != 0; }

const BoardSubmission* Board_AnswerFor(const std::string& file) {
    if (BoardLast.file == file && BoardLast.state != BOARD_IDLE) return &BoardLast;
    for (auto it = sAnswers.rbegin(); it != sAnswers.rend(); ++it)
        if (it->file == file) return &*it;
    return nullptr;
}

bool Board_Busy() {
    return sStep != STEP_NONE || BoardLast.state == BOARD_QUEUED || BoardLast.state == BOARD_VERIFYING ||
           BoardLast.state == BOARD_SENDING;
}

bool Board_Submit(const std::string& file) {
    if (!Board_Enabled()) {
        BoardLast = BoardSubmission();
        BoardLast.file = file;
        Fail("no board is set (the board-url setting)");
        return false;
    }
    if (sWaiting.size() >= 16) return false;  // a player cannot finish games that fast
    sWaiting.push_back(file);
    StartNext();
    return true;
}

void Board_Poll(bool blocking) {
    if (!Board_Enabled() && !Board_Busy()) return;
    if (!blocking) GhostPoll(false);
    // A run that waits (headless) waits two minutes at most for a verdict.
    double giveUp = Plat_RealMs() + 2 * 60 * 1000;
    for (;;) {
        if (blocking && Plat_RealMs() > giveUp && Board_Busy()) {
            Plat_HttpCancel();
            Fail("no verdict within two minutes; the board's page will show it");
        }
        if (sStep != STEP_NONE) {
            PlatHttpState st = Plat_HttpPoll(blocking ? 200 : 0);
            if (st == HTTP_FAILED) FailNoAnswer();
            else if (st == HTTP_DONE) {
                long status = Plat_HttpStatus();
                if (status >= 200 && status < 300) TakeStatus(Plat_HttpBody());
                else FailAnswer();
            }
        } else if ((BoardLast.state == BOARD_QUEUED || BoardLast.state == BOARD_VERIFYING)) {
            double now = Plat_RealMs();
            if (now > sFollowUntil) {
                Fail("no verdict yet after ten minutes; the board's page will show it");
            } else if (now >= sNextAsk) {
                AskStatus();
            } else if (blocking) {
                Plat_SleepMs(sNextAsk - now > 200 ? 200 : sNextAsk - now);
            }
        }
        StartNext();
        if (!blocking || !Board_Busy()) return;
    }
}

void Board_Finish() {
    if (sStep != STEP_POST) return;
    // The replay itself on its way: a little time to arrive, so a game
    // ended and closed at once is still sent.
    double until = Plat_RealMs() + 5000;
    while (sStep == STEP_POST && Plat_RealMs() < until) Board_Poll(false), Plat_HttpPoll(100);
    if (sStep == STEP_POST) {
        Plat_HttpCancel();
        Fail("the program closed before the board had the replay");
    }
}

std::string Board_Line() {
    const BoardSubmission& b = BoardLast;
    char line[400];
    switch (b.state) {
    case BOARD_IDLE: return "";
    case BOARD_SENDING: return "BOARD: SENDING THE REPLAY...";
    case BOARD_QUEUED: return "BOARD: QUEUED FOR VERIFICATION";
    case BOARD_VERIFYING: return "BOARD: VERIFYING...";
    case BOARD_VERIFIED:
        std::snprintf(line, sizeof line, "BOARD: VERIFIED, RANK %ld ON %s (%lld)  %s", b.rank, b.board.c_str(), b.score,
                      b.link.c_str());
        return line;
    case BOARD_REJECTED: return "BOARD: REJECTED: " + b.reason;
    case BOARD_FAILED: return "BOARD: NOT SENT: " + b.reason + " (the replay is kept)";
    case BOARD_HELD: return "BOARD: HELD, NOT THE REPLAY'S FAULT: " + b.reason;
    }
    return "";
}

long Board_ConnectionsOpened() { return Plat_HttpConnections(); }

int Board_SubmitCommand(const char* file) {
    long size;
    unsigned char* data = Plat_ReadWholeFile(file, &size, kMaxReplay);
    if (!data) {
        std::fprintf(stderr, "quellstorm: %s: %s\n", file,
                     size == -2 ? "too large to be a replay" : std::strerror(errno));
        return 2;
    }
    Plat_FreeFile(data);
    if (!Board_Enabled()) {
        std::fprintf(stderr, "quellstorm: no board is set: give --board-url URL, or set board-url in %s\n",
                     Config_Path().c_str());
        return 1;
    }
    std::printf("sending %s to %s\n", file, Settings.boardUrl);
    std::fflush(stdout);
    Board_Submit(file);
    BoardState shown = BOARD_SENDING;
    while (Board_Busy()) {
        Board_Poll(false);
        Plat_HttpPoll(200);  // waits for the network, up to 0.2 s
        if (BoardLast.state != shown && Board_Busy()) {
            shown = BoardLast.state;
            std::printf("%s\n", shown == BOARD_QUEUED ? "queued" : "verifying");
            std::fflush(stdout);
        }
        if (!Board_Busy()) break;
        if (sStep == STEP_NONE) Plat_SleepMs(100);
    }
    const BoardSubmission& b = BoardLast;
    switch (b.state) {
    case BOARD_VERIFIED:
        std::printf("verified: score %lld, rank %ld%s%s%s\n%s\n", b.score, b.rank, b.board.empty() ? "" : " on the ",
                    b.board.c_str(), b.board.empty() ? "" : " board", b.link.c_str());
        return 0;
    case BOARD_REJECTED: std::printf("rejected: %s\n", b.reason.c_str()); return 3;
    case BOARD_HELD: std::printf("held by the board, not the file's fault: %s\n", b.reason.c_str()); return 4;
    default: std::printf("not sent: %s\n", b.reason.c_str()); return 1;
    }
}

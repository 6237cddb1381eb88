// The score board client: sends a kept replay to the board named by the
// `board-url` setting and follows its verification there.
//
// Nothing here ever waits in a window run: the transfers run in libcurl's
// multi interface, driven by Board_Poll once a frame from the shell; no
// thread of ours touches the game. With `board-url` empty nothing is ever
// sent and no connection is ever opened.
//
// The board's answers (see docs/board.md): POST /api/submissions?name=NAME
// with the replay's bytes gives {"id", "status":"queued"}; GET
// /api/submissions/ID gives the status (queued, verifying, verified with
// score and rank, rejected with a reason). Every refusal is a 4xx with
// {"error": "..."}.
#pragma once
#include <cstddef>
#include <string>

enum BoardState {
    BOARD_IDLE,       // nothing sent this run
    BOARD_SENDING,    // the replay is on its way
    BOARD_QUEUED,     // the board has it and will verify it
    BOARD_VERIFYING,  // the board is re-playing it
    BOARD_VERIFIED,   // listed: score and rank
    BOARD_REJECTED,   // the board refused it (reason)
    BOARD_FAILED,     // could not be sent or followed (no network, down, time-out)
    BOARD_HELD,       // the board could not judge it (its own trouble, reason): neither listed nor refused
};

// The latest submission of this run, as the title and the records page
// show it.
struct BoardSubmission {
    BoardState state;
    std::string file;     // the replay sent
    std::string id;       // the board's id once it has answered
    std::string reason;   // rejected/failed: why, in words for the player
    std::string board;    // verified: which board it ranks on
    std::string link;     // the entry's page on the board
    long long score;      // verified: the score the board's re-play reached
    long rank;            // verified: its place (1 = best)
};
extern BoardSubmission BoardLast;

// What became of the latest submission of FILE in this run (the one in
// hand, or an earlier one's final answer); null when it was not sent.
const BoardSubmission* Board_AnswerFor(const std::string& file);
// True when a board is set (a submission can be made at all).
bool Board_Enabled();
// Starts sending the replay FILE to the board, in the background. False
// (BoardLast says why) when no board is set, the file cannot be read, or
// another submission is still on its way (it is queued behind it then and
// true is returned).
bool Board_Submit(const std::string& file);
// Drives the transfers: once a frame, never waits. `blocking`: the caller
// can wait (the command line, a headless run): returns only once the
// submission in hand has a final answer or has failed.
void Board_Poll(bool blocking = false);
// True while a submission is on its way or being followed.
bool Board_Busy();
// At the end of a run: a replay still being sent is given a few seconds to
// arrive (a board that is down makes it fail at once); following its
// verification is left (the replay stays kept and can be sent again).
void Board_Finish();
// One short line for the title screen and the records page ("BOARD: ...");
// empty when nothing was sent this run.
std::string Board_Line();
// Connections opened to any board in this run (tests: with no board set
// it stays 0).
long Board_ConnectionsOpened();

// The ghosts of the board's best verified runs: GET /api/boards, then the
// track of each difficulty's best run (GET /api/replays/ID/track), each
// written to `cacheFor(difficulty)`; a difficulty with no run on the board
// has its old file removed. In the background, between submissions (which
// go first); `blocking` (a headless run): done before it returns.
void Board_FetchGhosts(std::string (*cacheFor)(int difficulty), bool blocking);
// True while the ghosts are being fetched.
bool Board_FetchingGhosts();
// A track the board served for `difficulty`: checked as a track this game
// can show, then kept in `path`. False (with a message) when refused or
// not written; whatever was kept there before stays then.
bool Board_KeepGhost(int difficulty, const char* bytes, size_t size, const std::string& path);

// `quellstorm --submit FILE.qsr`: sends FILE, prints each state as it
// changes, waits for the verdict. The exit status: 0 verified, 1 not
// (no board set, unreachable, time-out), 2 the file cannot be read,
// 3 rejected by the board, 4 held by it (it could not judge the file: its
// own trouble, which its host mends).
int Board_SubmitCommand(const char* file);

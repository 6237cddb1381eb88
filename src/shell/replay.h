// Recording and playing back: everything that enters the game from
// outside, frame by frame, with a fingerprint of the game state every few
// frames so that a playback can tell the first frame at which it parts
// ways with the recording. The file layout is described in
// docs/replay-format.md. In short, text lines:
//   QSREPLAY 2                  format version (1: older files, still played)
//   sim <N>                     the simulation the recording was made with
//   <key> <value>               what the game was (date, difficulty, score...)
//   state <hex>                 one game's file: the game state its first
//                               frame starts from (absent: a whole run,
//                               played from the program's start)
//   dat <2176 hex digits>       a whole run: the score record it read
//   <frame> K|P|O|J|H ...       keys held, key-downs, joystick opens and
//                               states, state fingerprints
//   end <frame>                 the last frame
//
// The recorder writes as the game goes and flushes at least once a second
// of play. A recording without its end line (its process was killed)
// plays up to its last whole frame, then stops with a message and its
// own exit status.
#pragma once
#include "config/replayfile.h"

#include <cstddef>
#include <cstdint>
#include <string>

enum { REPLAY_FLUSH_EVERY = 250 };
// Exit statuses of a playback: a difference from the recording, a
// recording cut short, a recording of another simulation, a one-game file
// whose saved start is not one the title gives a new game.
// A one-game file that goes on after its game is over is refused too.
enum {
    REPLAY_EXIT_DIFFERS = 3,
    REPLAY_EXIT_INCOMPLETE = 5,
    REPLAY_EXIT_SIM = 6,
    REPLAY_EXIT_NOT_NEW_GAME = 7,
    REPLAY_EXIT_PAST_END = 8,
};

// Starts writing a recording of the whole run. False, with a message, when
// it cannot.
bool Replay_Record(const char* path);
// Kept replays: the joystick is read through the recorder's snapshots for
// the whole session, between games as well.
void Replay_FreezeInputs();
// Starts writing a recording of the game that has started with frame
// `frame` (it ends at the end of that frame): its first frame is the next.
bool Replay_RecordGame(const char* path, long frame);
// Takes over the one game being played back, after frame `frame` (the
// playback's last): the playback stops and the same game goes on as the
// player's, recorded into `path`: the watched start and its inputs up to
// that frame, marked as a practice run taken over from `parent` at that
// frame, then the player's own. False, with Replay_Problem() saying why,
// when it cannot (not a kept game's typed start, its game over, the file
// cannot be written); the playback goes on.
bool Replay_TakeOver(const char* path, const char* parent, long frame);
// Whether the game played back can be taken over now; `problem` says why not.
bool Replay_CanTakeOver(std::string* problem);
// A game taken over is on (until Replay_EndTakeOver): the record in play
// is the watched run's, never written over the player's own.
bool Replay_TakenOver();
void Replay_EndTakeOver();
// The game recorded last (or being recorded) is practice (PRACTICE_*,
// config/gamestart.h).
int Replay_RecordingPractice();
// The lines that describe the game recorded so far or played (score,
// stage reached, staff roll, frames), for a kept file's header.
std::string Replay_SummaryLines();
// Loads a recording to play. False, with a message, on a bad file.
bool Replay_Play(const char* path, bool verify);
// Reads a recording from memory (Replay_Play reads the file and calls
// this). False, with a message naming the line, on a bad recording.
bool Replay_Parse(const char* text, size_t size, const char* path);
extern bool ReplayQuiet;  // no messages from Replay_Parse (fuzzing)
// Why the last Replay_Play or Replay_Parse failed (for a message box).
const std::string& Replay_Problem();
bool Replay_Recording();
bool Replay_Playing();
// The playback is of one game: its start is to be made with
// Replay_StartGame before its first frame.
bool Replay_IsGame();
// The one game's start is typed values (not an older file's image).
bool Replay_StartProven();
// Makes the game's start: from the typed start, the title's NewGame; from
// an older file, its image put in place. False when the image does not fit
// this build, or is not the start of a new game as the title makes one
// (REPLAY_EXIT_NOT_NEW_GAME); a message is out.
bool Replay_StartGame();
// The frame loop: before frame `frame`, ahead of its key-down events (a
// playback hands over the frame's recorded inputs).
void Replay_BeginFrame(long frame);
// The frame loop: before frame `frame`, after its key-down events, when
// nothing can change the keys any more until the frame has run (a
// recording writes down the keys and joystick the frame will see).
void Replay_SampleInputs(long frame);
// The frame loop: after frame `frame`.
// False when a verified playback found a difference (the message is out)
// or the recording has ended.
bool Replay_EndFrame(long frame);
// A key-down event handed to the game before frame `frame`.
void Replay_KeyDown(long frame, int vk);
// The score record as read at the loading pass: written to a recording,
// or replaced by the recorded one in a playback.
void Replay_FilterDat(uint8_t* bytes1088);
// Makes sure what was recorded is on disk (Escape, game over, the end).
void Replay_Flush();
// Ends a recording with its last frame.
void Replay_Close(long lastFrame);
// 0 when nothing went wrong; REPLAY_EXIT_DIFFERS after a verified
// playback found a difference; REPLAY_EXIT_INCOMPLETE once a recording
// without its end line has played its last whole frame (set at load when
// it holds no whole frame at all); REPLAY_EXIT_SIM for another simulation.
int Replay_ExitCode();
// The last frame of the playback (its end line, else its last whole frame).
long Replay_LastFrame();
// Ends a playback (watching from the replays page): the keys and the
// joystick go back to the player.
void Replay_Stop();
// What the playback came to so far, in a line (the replays page).
std::string Replay_Verdict();
// What the played game came to, as one JSON object (--result-json).
std::string Replay_ResultJson(long framesPlayed);

// Watching: where a playback stands and moving it.
// Rewinding rests on snapshots of the game state, taken every
// REPLAY_SNAPSHOT_EVERY frames of play (5 s of game time) into memory set
// aside once, REPLAY_SNAPSHOT_BYTES at most; when it is full every other
// snapshot goes and they are taken half as often.
enum { REPLAY_SNAPSHOT_EVERY = 1250 };
extern const size_t REPLAY_SNAPSHOT_BYTES;
// Sets the snapshot memory aside (once; a playback started from the page
// calls it before play). False when the memory cannot be had: no rewind.
bool Replay_SnapshotsReserve();
// After frame `frame` of a playback: takes a snapshot when one is due.
void Replay_SnapshotAfterFrame(long frame);
// The frame of the latest snapshot before `frame`, -1 when none.
long Replay_SnapshotBefore(long frame);
// Puts the game back to the latest snapshot at or before `frame` and the
// recording's inputs to match. The frame reached (0 when none is held).
long Replay_Rewind(long frame);
// The frames of the playback where each stage starts (index 1..5; -1 when
// not seen yet) as the playback has found them.
long Replay_StageStart(int stage);
// The snapshots held and their bytes (the memory bound test).
int Replay_SnapshotCount();
size_t Replay_SnapshotBytesUsed();

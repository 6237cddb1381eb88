// Watching a replay: the keys of the viewer, pause and fast-forward, jumps
// back and forward, and the small "REPLAY" mark with the position.
//
// While a replay plays, the keyboard belongs to the viewer: none of its
// keys reaches the game (the recording's own keys do).
//   C, Space              pause / go on
//   Up / Down             faster / slower: x1, x2, x4, x8 (pictures are
//                         left out, never steps)
//   Left / Right          back / forward 10 seconds
//   Page Up / Page Down   start of this stage (within its first seconds:
//                         the stage before) / next stage
//   Escape                back to the replays page (the game closes when
//                         the replay was opened from outside)
//   T (pad X)             take over: the player plays on from this frame,
//                         recorded as a practice run (kept as any game:
//                         shell/kept_replays.h); at its end (or Escape)
//                         back to the page, or the game closes
#pragma once

struct PlatEvent;

enum { WATCH_JUMP_FRAMES = 2500 };  // 10 seconds of game time
// Page Up within a stage's first 3 seconds goes to the stage before; later
// in the stage, to its start.
enum { WATCH_STAGE_BACK_FRAMES = 750 };

// A playback started from the command line or the file manager: the
// viewer's keys work and the game closes at its end; `rewind`: keep
// snapshots to go back to.
void Watch_BeginFromOutside(bool rewind);
// The viewer lets go of the playback: no keys of its own, no overlay, the
// normal pace.
void Watch_Stop();
// Plays the replay `path` in place of the title (the replays page):
// the title's state is put aside and comes back at the end. False, with
// `problem` set, when the file cannot be played.
bool Watch_BeginFromPage(const char* path, const char** problem);
bool Watch_FromPage();
// A keyboard key during a playback. True: it was the viewer's.
bool Watch_Key(const PlatEvent& ev);
// Between frames: carries out a jump asked for, or the end of watching.
void Watch_Service();
// A game taken over from a playback is on (no pages open meanwhile).
bool Watch_TakenOver();
// Paused by the viewer (the window shows the same picture, marked).
bool Watch_Paused();
// The frames to run for `due` frames of real time (pause, fast-forward).
int Watch_FramesDue(int due);
// After each frame of a playback: the snapshots for going back.
void Watch_AfterFrame();
// The playback reached its end or failed, or Escape was pressed. True
// when watching goes on (back to the page; a game taken over from the
// page is kept and left): the window stays.
bool Watch_Ended();
// The mark and position drawn over the picture about to be shown, and
// taken off again once it is shown (the game's own picture stays as the
// game drew it).
void Watch_OverlayOn();
void Watch_OverlayOff();

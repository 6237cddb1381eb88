// Recording and playing back a run: everything that enters the game from
// outside, frame by frame, with a fingerprint of the game state every few
// frames so that a playback can tell the first frame at which it parts
// ways with the recording.
//
// The file is text:
//   QSREPLAY 1                  format version
//   game QUELLSTORM <version>
//   hash-every <N>
//   invincible 1                the run was made with the testing aid on
//   dat <2176 hex digits>       the score record as the run read it
//   <frame> K <hex>             the polled keys held from this frame on
//   <frame> P <hex>             a key-down event handed over before the frame
//   <frame> O <0|1>             the outcome of a joystick open, in order
//   <frame> J <res> <x> <y> <buttons hex>   the joystick from this frame on
//   <frame> H <hex>             the state fingerprint after the frame
//   end <frame>                 the last frame of the run
//
// The recorder writes as the run goes and flushes at least once a second
// of play. A recording without its end line (its process was killed)
// plays up to its last whole frame, then stops with a message and its
// own exit status.
#pragma once
#include <cstddef>
#include <cstdint>

enum { REPLAY_FORMAT = 1, REPLAY_HASH_EVERY = 50, REPLAY_FLUSH_EVERY = 250 };
// Exit statuses of a playback: a difference from the recording, and a
// recording cut short.
enum { REPLAY_EXIT_DIFFERS = 3, REPLAY_EXIT_INCOMPLETE = 5 };

// Starts writing a recording. False, with a message, when it cannot.
bool Replay_Record(const char* path);
// Loads a recording to play. False, with a message naming the line, on a
// bad file.
bool Replay_Play(const char* path, bool verify);
// Reads a recording from memory (Replay_Play reads the file and calls
// this). False, with a message naming the line, on a bad recording.
bool Replay_Parse(const char* text, size_t size, const char* path);
extern bool ReplayQuiet;  // no messages from Replay_Parse (fuzzing)
bool Replay_Recording();
bool Replay_Playing();
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
// it holds no whole frame at all).
int Replay_ExitCode();

// The HUD, the score line, game over, the stage records and the ending.
// The frame passes themselves are declared in game/frame.h.
#pragma once
#include <cstdint>

// The decimal text of `value` right-aligned in 19 characters, padded on
// the left with the digit 0 (a longer text is kept whole up to 19
// characters). `out` holds 20 bytes.
void ScorePad19(const char* text, char out[20]);
// A score field of the record: the decimal text of `value`, NUL-padded
// to its 20 bytes.
void ScoreText(int64_t value, char out[20]);

// The staff roll: where its first line starts, the y that line must have
// risen above before a held shot key speeds the roll up, and how far
// above the top it goes before the roll is over.
enum { ROLL_START_Y = 700, ROLL_FAST_BELOW = 400, ROLL_END = 1200 };

// Back to the title after a game over or the ending: every stage-flow
// value, the weapon, jewel and boss state, every pool and the effect
// counters start over, and the intro plays again.
void ReturnToTitle();
// The game given up (after the record is saved): the ship back at its
// start, the music stopped, the score cleared, and back to the title.
void LeaveGameToTitle();
// Shows the speed correction in red at the top left ("補正 %f").
void ShowSpeedAdjust();

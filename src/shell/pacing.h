// Pacing: how many game steps of 4 ms each picture on screen advances.
//
// The game always steps 250 times a second of its own clock; the display
// shows the latest step at each of its refreshes. Two ways to share steps
// out among pictures:
//   exact   every picture shows the step real time has reached, so at
//           60 Hz pictures advance 4, 4, 4, 4, 5, ... steps (the game's
//           speed is exactly 250 steps a second);
//   smooth  every picture advances the same whole number of steps,
//           n = round(250 / refresh rate), the game's clock following the
//           display; only where that keeps the speed within 5 % of 250
//           steps a second (60 Hz: 4 steps, 96 %; 120 Hz: 2; 50 Hz: 5),
//           exact otherwise.
// The refresh rate is measured from the times presents come back, not
// taken from what the display mode claims, and only a steady beat counts
// as one. The functions are pure: the
// frame loop hands them its clock readings, tests hand them made-up ones.
#pragma once

enum { PACE_EXACT = 0, PACE_SMOOTH = 1 };
enum {
    PACE_STEP_MS = 4,      // one game step of real time
    PACE_MAX_STEPS = 10,   // at most this many steps a picture: no racing to catch up
    PACE_WINDOW = 64,      // present intervals kept for the measurement
    PACE_MIN_SAMPLES = 30  // intervals needed before smooth pacing starts
};

struct Pacer {
    int mode;        // asked for: PACE_EXACT or PACE_SMOOTH
    int catchUp;     // most steps a picture to catch up with real time (0: PACE_MAX_STEPS)
    double simMs;    // real time the game's clock has reached
    double lastPresent;  // when the last present came back (< 0: none yet)
    double intervals[PACE_WINDOW];
    int count, head;     // intervals held, next slot to write
    int n;               // steps a picture while smooth; 0 while exact
    double refreshHz;    // the measured refresh (0 until measured)
    bool steady;         // the presents keep a steady beat (a refresh to follow)
    int exactFor;        // presents judged in a row with no smooth step count
    bool toldFallback;   // the fallback to exact has been reported
};

// Starts pacing in `mode` with the game's clock at `nowMs`.
void Pace_Init(Pacer* p, int mode, double nowMs);
// How many game steps to run for the next picture, `nowMs` being the time
// the loop asks. The steps count as run: the clock moves on by them.
// 0 (only while exact) means that no step is due yet.
int Pace_Due(Pacer* p, double nowMs);
// A present came back at `ms`. True at most once per run: when smooth
// pacing was asked for but the display's refresh has not allowed it for
// a whole window of presents (the caller says so). The pacing is exact
// while it does not fit, and smooth again as soon as it does.
bool Pace_Presented(Pacer* p, double ms);
// Drops the measurement (the loop has changed how it presents).
void Pace_Forget(Pacer* p);
// The median present interval of the measurement, in ms (0 when there
// are none).
double Pace_MedianInterval(const Pacer* p);

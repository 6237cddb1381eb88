// Steps per picture, from the present timestamps the frame loop hands in.
#include "shell/pacing.h"

#include <algorithm>
#include <cmath>

// Intervals longer than this are not refreshes: the loading pass, a window
// being dragged, a machine that stopped the process for a while.
static const double kLongestInterval = 200.0;
// How far smooth pacing may take the game from 250 steps a second.
static const double kSpeedTolerance = 0.05;
// A display's refreshes come at a steady beat: at least this share of the
// intervals lie within 20 % of their median (a missed refresh, twice the
// median, is the odd one out). Presents that come back at random (a
// display that does not wait, a machine too busy to keep the beat) give
// no refresh rate to follow.
static const double kSteadyShare = 0.75;
static const double kSteadyWithin = 0.20;

void Pace_Init(Pacer* p, int mode, double nowMs) {
    *p = Pacer();
    p->mode = mode;
    p->simMs = nowMs;
    p->lastPresent = -1;
}

double Pace_MedianInterval(const Pacer* p) {
    if (p->count == 0) return 0;
    double v[PACE_WINDOW];
    std::copy(p->intervals, p->intervals + p->count, v);
    std::nth_element(v, v + p->count / 2, v + p->count);
    return v[p->count / 2];
}

// Steps a picture that keep the game within the tolerance at `hz`, or 0.
static int SmoothSteps(double hz) {
    if (!(hz > 0)) return 0;
    double ideal = 1000.0 / PACE_STEP_MS / hz;
    int n = (int)std::lround(ideal);
    if (n < 1 || n > PACE_MAX_STEPS) return 0;
    double speed = n / ideal;  // share of 250 steps a second
    return std::fabs(speed - 1.0) <= kSpeedTolerance ? n : 0;
}

int Pace_Due(Pacer* p, double nowMs) {
    if (p->n > 0) {
        // Smooth: the game's clock follows the display. A late picture (a
        // refresh missed) still advances n steps: the game runs slower for
        // that moment instead of jumping.
        p->simMs = nowMs;
        return p->n;
    }
    double behind = nowMs - p->simMs;
    const double limit = (double)(p->catchUp > 0 ? p->catchUp : PACE_MAX_STEPS) * PACE_STEP_MS;
    if (behind > limit) {
        p->simMs = nowMs - limit;
        behind = limit;
    }
    int due = behind > 0 ? (int)(behind / PACE_STEP_MS) : 0;
    p->simMs += (double)due * PACE_STEP_MS;
    return due;
}

void Pace_Forget(Pacer* p) {
    p->count = p->head = 0;
    p->lastPresent = -1;
    p->n = 0;
}

bool Pace_Presented(Pacer* p, double ms) {
    if (p->lastPresent >= 0) {
        double d = ms - p->lastPresent;
        if (d >= 0 && d <= kLongestInterval) {
            p->intervals[p->head] = d;
            p->head = (p->head + 1) % PACE_WINDOW;
            if (p->count < PACE_WINDOW) p->count++;
        }
    }
    p->lastPresent = ms;
    if (p->count < PACE_MIN_SAMPLES) return false;
    // The median shrugs off the odd missed refresh (an interval of two) and
    // the odd late wake-up.
    double median = Pace_MedianInterval(p);
    p->refreshHz = median > 0 ? 1000.0 / median : 0;
    int near = 0;
    for (int i = 0; i < p->count; i++) near += std::fabs(p->intervals[i] - median) <= kSteadyWithin * median;
    p->steady = near >= kSteadyShare * p->count;
    if (p->mode != PACE_SMOOTH) return false;
    p->n = p->steady ? SmoothSteps(p->refreshHz) : 0;
    // Said once, and only when smooth pacing has stayed out of reach for a
    // whole window of presents (not while the loop is still finding its
    // beat).
    p->exactFor = p->n ? 0 : p->exactFor + 1;
    if (p->exactFor >= PACE_WINDOW && !p->toldFallback) {
        p->toldFallback = true;
        return true;
    }
    return false;
}

// Stage flow: the backgrounds, the step machines of the five stages, the
// WARNING before each boss, the boss hand-over and the stage-clear wipe.
//
// Each stage's script is a step machine: StageStep[stage] is the step, and
// every frame the current step runs once. Stage 1 counts with StepTimer and
// StepRepeat, stages 2 to 5 with StepTimer2 and StepRepeat2; the helpers
// below work on the counters of the stage whose script is running.
#pragma once
#include "entity/entity.h"

// The scripts of the stages (one step per call).
void Stage1Script();
void Stage2Script();
void Stage3Script();
void Stage4Script();
void Stage5Script();

// The running stage's time accumulator (T) and repeats done in its step (R).
float& StepT();
float StepR();
// Counts n repeats.
void StepCount(float n);
// Moves the script to the next step, or to a given one.
void StepNext();
void StepGoTo(int step);

// Timed group: when T >= period, T = 0, one repeat is counted and true is
// returned (the caller spawns the group).
bool TimedGroup(float period);
// When R has reached `limit`: R = 0, next step, true (the caller spawns
// the closing group, if any).
bool StepRepeatsDone(float limit);
// Pause: next step once T >= StepWait; T is kept, so a timed step after a
// pause fires at once.
bool StepPause();
// No mid-size enemy alive.
bool NoneAlive();
// Clear-wait: next step once no mid-size enemy is alive.
bool StepClearWait();

// The clear-wait before a WARNING ends with this: the warning sound, the
// boss tune, and the banner's sweep from the start.
void StepWarningCall(const char* tune);

// The WARNING before a boss: the scroll slows, the boss's energy (hp of
// `boss`, entry 0 of its pool) fills at `rate` per time unit towards
// `full`, the banner sweeps twice. True in the frame the second sweep
// ends; WarnX is then 0 and WarnPasses 639 (the stage-clear wipe's
// starting columns).
bool StepWarning(SpriteData& boss, float full, float rate);
// The boss phase after the WARNING: the step's counters are held at 0;
// true in the one frame in which the boss is called for (StagePhase 1 -> 0,
// the energy bar drawn once).
bool StepBossPhase();
// The boss energy bar, BossBar pixels long.
void DrawEnergyBar();

// Every stage-flow value back to its value at program start (the return
// to the title).
void StageFlowReset();

// What stage practice keeps beside the record ("practice.txt" in the
// record's folder; "score.dat" never holds anything of a practice): the
// furthest stage reached on each difficulty, which practice may start,
// and each stage's best score made in a practice, with its jewels.
//
//   QSPRACTICE 1
//   reached NORMAL 3          the furthest stage played on that difficulty
//   best 2 123456 1 2 3 4 5   a stage's best practice score and its jewels
//
// The file is the player's, but read as any file: a line that does not
// parse is skipped, values out of range are left out.
#pragma once
#include <cstdint>
#include <string>

struct PracticeRecord {
    int reached[4] = {1, 1, 1, 1};  // by difficulty: stages 1..reached can be practised
    int64_t best[5] = {-1, -1, -1, -1, -1};  // by stage - 1; -1 none yet
    int32_t bestJewel[5][5] = {};
};

// The record of this session (read at start-up, kept as games end).
extern PracticeRecord Practice;

// The file's text and back.
std::string Practice_Format(const PracticeRecord& r);
PracticeRecord Practice_Parse(const std::string& text);

// A game on `difficulty` reached `stage` (6: the staff roll, which counts
// as stage 5). True when that is further than before.
bool Practice_Reached(PracticeRecord& r, int difficulty, int stage);
// A practice cleared stage `stage` with `score` in it. True when that is a
// new best.
bool Practice_StageBest(PracticeRecord& r, int stage, int64_t score, const int32_t jewels[5]);

// Every SQL statement of the board, in one place (queries.cpp).
#pragma once
#include <string>
#include <vector>

#include "db.h"

namespace board {

struct Migration {
    int version;
    std::vector<const char*> statements;
};
const std::vector<Migration>& Migrations();

namespace sql {
extern const char* const kSchemaTable;
extern const char* const kSchemaVersion;
extern const char* const kSchemaRecord;

extern const char* const kFindSubmission;   // $1 id
extern const char* const kInsertSubmission;
extern const char* const kInsertReplay;
extern const char* const kCountWaiting;
extern const char* const kReplayBytes;      // $1 id
extern const char* const kInsertTrack;      // $1 id, $2 bytes
extern const char* const kTrackBytes;       // $1 id
// Claims the oldest queued job, or one whose verifier's lease ran out.
// The lock clause differs: see ClaimJob().
std::string ClaimJob(Dialect d);
extern const char* const kFinishJob;        // written only by the lease holder
extern const char* const kRenewLease;      // $1 id, $2 worker, $3 until
extern const char* const kReleaseJob;      // $1 id, $2 worker, $3 1 when the try does not count
extern const char* const kForgetRejectedBytes;  // $1 rejected before this time
extern const char* const kInsertStageScore;
extern const char* const kRank;             // $1 board, $2 score
extern const char* const kBoards;           // distinct boards with entries
extern const char* const kBoardEntries;     // $1 board, $2 limit
extern const char* const kStageBoard;       // $1 board, $2 stage, $3 limit
extern const char* const kStageScoresOf;    // $1 id
extern const char* const kStatusCounts;
}  // namespace sql

}  // namespace board

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
// A job the board could not judge, held for the host: $1 id, $2 worker,
// $3 the last cause, $4 now.
extern const char* const kHoldJob;
extern const char* const kHeld;             // the held jobs, oldest first
extern const char* const kRetryHeld;        // $1 id ('': every one); back in the queue, tries afresh
extern const char* const kForgetRejectedBytes;  // $1 rejected before this time
extern const char* const kInsertStageScore;
extern const char* const kBestOnBoard;     // $1 board, $2 id not counted
extern const char* const kRank;             // $1 board, $2 score, $3 verified_at, $4 id, $5 name
extern const char* const kBoards;           // distinct boards with entries
// A board's page: $1 board, $2 no miss, $3 no bomb, $4 cleared, $5 limit,
// $6 offset; every run, or each player's best.
extern const char* const kBoardAll;
extern const char* const kBoardAllCount;    // $1..$4
extern const char* const kBoardBest;
extern const char* const kBoardBestCount;   // $1..$4
// $1 board, $2 stage, $3 every run (1) or each player's best, $4 limit, $5 offset
extern const char* const kStageBoard;
extern const char* const kStageBoardCount;  // $1..$3
extern const char* const kLatest;           // $1 limit
extern const char* const kPlayerBests;      // $1 name
extern const char* const kPlayerLatest;     // $1 name, $2 limit
extern const char* const kPlayerStageBests; // $1 name
extern const char* const kRecords;          // $1 limit
extern const char* const kPlayerFeed;       // $1 name, $2 name, $3 limit
extern const char* const kQueuedAhead;      // $1 created, $2 id
extern const char* const kStageScoresOf;    // $1 id
extern const char* const kRemove;           // $1 id, $2 at, $3 reason
extern const char* const kRestore;          // $1 id
extern const char* const kRemoved;
extern const char* const kBlock;            // $1 kind, $2 value, $3 reason, $4 at
extern const char* const kUnblock;          // $1 kind, $2 value
extern const char* const kBlocks;
extern const char* const kBlockOf;          // $1 name, $2 address
extern const char* const kLog;              // $1 at, $2 act, $3 target, $4 reason
extern const char* const kLogList;
extern const char* const kStatusCounts;
}  // namespace sql

}  // namespace board

// What the board keeps, in its own terms: submissions, their verification
// jobs, and the boards built from the verified ones.
#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "db.h"

namespace board {

using Opt = std::optional<int64_t>;

struct Submission {
    std::string id, name, status, reason, ending, board, gameVersion, played;
    int64_t size = 0, created = 0, attempts = 0;
    Opt firstDifference, claimedScore, score, stage, difficulty, lives, bombs, startStage, jewels, frames, sim,
        verifiedAt;
    std::optional<double> speed;
    Opt misses, bombsUsed;  // counted by the game's playback (unknown before it did)
    bool record = false;    // the best on its board when it was verified
    std::string recordOver; // the entry it passed
    Opt removedAt;          // removed by the host: kept, listed nowhere
    std::string removedReason;
    Opt heldAt;             // the board could not judge it: held for the host
    // Records: the name and score of the entry passed.
    std::string passedName;
    Opt passedScore;
    bool listed() const { return status == "verified" && !removedAt; }
};

// The result of re-playing one submission.
struct Outcome {
    bool verified = false;
    std::string reason;  // why it was refused (empty when verified)
    // Why the board could not judge the file (its own trouble: the game
    // would not start, was killed from outside, the disk is full): not the
    // file's fault, so it is tried again.
    std::string boardFault;
    Opt firstDifference, score, stage, difficulty, lives, bombs, startStage, jewels, frames, sim, misses, bombsUsed;
    // The speed correction: its largest value over the whole game, in the
    // game's steps of 0.001 (any use puts the run on the correction's board).
    Opt speedSteps;
    std::optional<double> speed;  // the same in units (what the pages show)
    std::string ending, gameVersion, played;
    std::vector<int64_t> stageScores;  // each stage's own score, in order played
    std::string track;  // the game's ghost track of a verified run (empty: none made)
};

int64_t NowMs();
// The cause of a failed write in the board's words ("the board's disk is
// full" for ENOSPC).
std::string WriteErrorCause(int err);

// The board's database: the one place connections are made, and a few kept
// open to be lent to whoever answers a request.
class Databases {
public:
    explicit Databases(std::string url) : url_(std::move(url)) {}
    const std::string& url() const { return url_; }
    // A connection of the caller's own (a verifier, the boards' copies).
    std::unique_ptr<Db> open() const { return OpenDb(url_); }

    // A lent connection: given back when it goes out of scope (dropped if
    // it broke meanwhile). Passes for a Db& where one is wanted.
    class Lease {
    public:
        Lease(Databases& owner, std::unique_ptr<Db> db) : owner_(&owner), db_(std::move(db)) {}
        Lease(Lease&&) = default;
        ~Lease() {
            if (db_) owner_->giveBack(std::move(db_));
        }
        operator Db&() { return *db_; }
        Db& operator*() { return *db_; }
        Db* operator->() { return db_.get(); }

    private:
        Databases* owner_;
        std::unique_ptr<Db> db_;
    };
    Lease take();
    // Closes the idle connections (at stop).
    void close();

private:
    void giveBack(std::unique_ptr<Db> db);
    std::string url_;
    std::mutex m_;
    std::vector<std::unique_ptr<Db>> idle_;
};

// Difficulty names as the title screen shows them.
const char* DifficultyName(int64_t d);
// A board per difficulty; a run that used a speed correction at any time
// goes to the board of its largest correction (in steps of 0.001), never
// beside runs at the designed speed, and a game started at a later stage
// (the options screen offers stages 1 to 4) to a board of its start stage,
// never among whole runs from stage 1.
std::string BoardKey(int64_t difficulty, int64_t speedSteps, int64_t startStage = 1);
std::string BoardTitle(const std::string& key);

std::optional<Submission> FindSubmission(Db& db, const std::string& id);

enum class SubmitResult { Queued, Existing, QueueFull };
SubmitResult Submit(Db& db, const std::string& id, const std::string& name, const std::string& address,
                    const std::string& bytes, Opt claimedScore, int64_t queueMax);
std::optional<std::string> ReplayBytes(Db& db, const std::string& id);
// The ghost track of a verified run; nullopt when there is none.
std::optional<std::string> TrackBytes(Db& db, const std::string& id);

struct Job {
    std::string id;
    int64_t attempts = 0;
};
std::optional<Job> ClaimJob(Db& db, const std::string& worker, int64_t leaseMs);
// Writes a job's result; false when this worker no longer holds the job
// (its lease ran out and another took it): nothing is written then.
bool FinishJob(Db& db, const std::string& id, const std::string& worker, const Outcome& o);
// Keeps a running job's claim: false when another verifier has it now.
bool RenewLease(Db& db, const std::string& id, const std::string& worker, int64_t leaseMs);
// Puts a claimed job back in the queue: a verifier stopping mid-job (the
// try does not count), or one that could not judge it (`countTry`: the
// tries are bounded).
void ReleaseJob(Db& db, const std::string& id, const std::string& worker, bool countTry = false);
// A job the board could not judge after the bounded tries: held (neither
// ranked nor rejected) with its last cause, until the host retries it;
// false when this worker no longer holds the job.
bool HoldJob(Db& db, const std::string& id, const std::string& worker, const std::string& cause);
std::vector<Submission> HeldJobs(Db& db);
// Puts held jobs back in the queue with their tries afresh (`id` empty:
// every one), each logged as the host's act with the cause it was held
// for; the ids.
std::vector<std::string> RetryHeld(Db& db, const std::string& id);
// Deletes the bytes of the files rejected before `beforeMs` (their entries
// and reasons stay); how many.
int64_t ForgetRejectedBytes(Db& db, int64_t beforeMs);

// A player's place on the run's board: 1 + the players with a better run.
int64_t RankOf(Db& db, const Submission& s);
std::vector<std::string> Boards(Db& db);

// What a board's page shows: each player's best or every run, the runs
// that meet the conditions, one stage's own scores or whole runs.
struct BoardQuery {
    std::string board;
    bool all = false, noMiss = false, noBomb = false, clear = false;
    int stage = 0;  // 1-5: that stage's own scores
    int64_t page = 1;
};
std::vector<Submission> BoardRuns(Db& db, const BoardQuery& q, int64_t limit, int64_t offset);
struct StageEntry {
    std::string id, name, board;
    int64_t score = 0, verifiedAt = 0;
    int stage = 0;
};
std::vector<StageEntry> StageRuns(Db& db, const BoardQuery& q, int64_t limit, int64_t offset);
// The rows of the query's board (runs or players).
int64_t BoardCount(Db& db, const BoardQuery& q);

std::vector<Submission> LatestRuns(Db& db, int64_t limit);
std::vector<Submission> PlayerBests(Db& db, const std::string& name);
std::vector<Submission> PlayerLatest(Db& db, const std::string& name, int64_t limit);
std::vector<StageEntry> PlayerStageBests(Db& db, const std::string& name);
std::vector<Submission> Records(Db& db, int64_t limit);
// A player's runs and the records that passed one of theirs.
std::vector<Submission> PlayerFeed(Db& db, const std::string& name, int64_t limit);
int64_t QueuedAhead(Db& db, const Submission& s);
std::vector<std::pair<int, int64_t>> StageScoresOf(Db& db, const std::string& id);

// The host's acts; each is written to the moderation log with its time.
// False when there was nothing to do (no such entry, already so).
bool RemoveEntry(Db& db, const std::string& id, const std::string& reason);
bool RestoreEntry(Db& db, const std::string& id);
// kind: "name" or "address".
void Block(Db& db, const std::string& kind, const std::string& value, const std::string& reason);
bool Unblock(Db& db, const std::string& kind, const std::string& value);
struct BlockRow {
    std::string kind, value, reason;
    int64_t at = 0;
};
std::optional<BlockRow> BlockOf(Db& db, const std::string& name, const std::string& address);
std::vector<BlockRow> Blocks(Db& db);
std::vector<Submission> RemovedEntries(Db& db);
struct LogRow {
    int64_t at = 0;
    std::string act, target, reason;
};
std::vector<LogRow> ModerationLog(Db& db);
std::vector<std::pair<std::string, int64_t>> StatusCounts(Db& db);

}  // namespace board

// Every SQL statement of the board. One text serves both databases: only
// portable SQL (SQLite 3.35+ and PostgreSQL 15 both have RETURNING and
// ON CONFLICT), integer times in milliseconds since 1970, and column types
// both accept (SQLite gives BYTEA and BIGINT the right affinity).
#include "queries.h"

namespace board {

const std::vector<Migration>& Migrations() {
    static const std::vector<Migration> list = {
        {1,
         {
             // One row per distinct replay file: its id is the file's
             // SHA-256, so the same file sent twice is the same submission.
             "CREATE TABLE submissions ("
             " id TEXT PRIMARY KEY,"
             " name TEXT NOT NULL,"
             " address TEXT NOT NULL,"
             " size INTEGER NOT NULL,"
             " created BIGINT NOT NULL,"
             " status TEXT NOT NULL,"
             " worker TEXT,"
             " lease_until BIGINT,"
             " attempts INTEGER NOT NULL DEFAULT 0,"
             " reason TEXT,"
             " first_difference BIGINT,"
             " claimed_score BIGINT,"
             " score BIGINT,"
             " stage INTEGER,"
             " difficulty INTEGER,"
             " lives INTEGER,"
             " bombs INTEGER,"
             " start_stage INTEGER,"
             " jewels BIGINT,"
             " ending TEXT,"
             " frames BIGINT,"
             " speed DOUBLE PRECISION,"
             " sim INTEGER,"
             " board TEXT,"
             " game_version TEXT,"
             " played TEXT,"
             " verified_at BIGINT)",
             "CREATE INDEX submissions_queue ON submissions (status, created)",
             "CREATE INDEX submissions_board ON submissions (board, score)",
             // The bytes apart, so that reading a board never touches them.
             "CREATE TABLE replays (id TEXT PRIMARY KEY, bytes BYTEA NOT NULL)",
             // Each stage's own score of a verified run, for the stage boards.
             "CREATE TABLE stage_scores ("
             " id TEXT NOT NULL,"
             " stage INTEGER NOT NULL,"
             " board TEXT NOT NULL,"
             " score BIGINT NOT NULL,"
             " PRIMARY KEY (id, stage))",
             "CREATE INDEX stage_scores_board ON stage_scores (board, stage, score)",
         }},
        {2,
         {
             // The ghost track of each verified run, made while verifying
             // it (the game's own file, served as it is).
             "CREATE TABLE tracks (id TEXT PRIMARY KEY, bytes BYTEA NOT NULL)",
         }},
        {3,
         {
             // What the game's playback counted: ships lost, bombs used
             // (NULL for runs verified before it did).
             "ALTER TABLE submissions ADD COLUMN misses INTEGER",
             "ALTER TABLE submissions ADD COLUMN bombs_used INTEGER",
             // A new best on its board when it was verified, and the entry
             // it passed (NULL: the board's first).
             "ALTER TABLE submissions ADD COLUMN record INTEGER NOT NULL DEFAULT 0",
             "ALTER TABLE submissions ADD COLUMN record_over TEXT",
             // Removed by the host: kept, hidden from every list.
             "ALTER TABLE submissions ADD COLUMN removed_at BIGINT",
             "ALTER TABLE submissions ADD COLUMN removed_reason TEXT",
             "CREATE INDEX submissions_player ON submissions (name, verified_at)",
             "CREATE INDEX submissions_latest ON submissions (status, verified_at)",
             // Names and addresses that may not submit.
             "CREATE TABLE blocks ("
             " kind TEXT NOT NULL,"
             " value TEXT NOT NULL,"
             " reason TEXT NOT NULL,"
             " created BIGINT NOT NULL,"
             " PRIMARY KEY (kind, value))",
             // Every act of the host, with its time.
             "CREATE TABLE moderation_log (at BIGINT NOT NULL, act TEXT NOT NULL, target TEXT NOT NULL, reason TEXT)",
         }},
        {4,
         {
             // A job the board could not judge (its own trouble, tried the
             // bounded number of times) is held: neither ranked nor
             // rejected, its last cause as its reason, until the host has
             // it tried again. Since when.
             "ALTER TABLE submissions ADD COLUMN held_at BIGINT",
             // Those an earlier board refused for its own trouble are held
             // (their reasons no longer saying "not ranked").
             "UPDATE submissions SET status = 'held', held_at = verified_at, verified_at = NULL,"
             " reason = REPLACE(REPLACE(reason, ': not ranked, through no fault of the file', ''),"
             " 'never finished: not ranked', 'never finished')"
             " WHERE status = 'rejected' AND (reason LIKE '%through no fault of the file'"
             " OR reason LIKE 'verification was started % times and never finished: not ranked')",
         }},
    };
    return list;
}

namespace sql {

const char* const kSchemaTable = "CREATE TABLE IF NOT EXISTS board_schema (version INTEGER NOT NULL)";
const char* const kSchemaVersion = "SELECT COALESCE(MAX(version), 0) FROM board_schema";
const char* const kSchemaRecord = "INSERT INTO board_schema (version) VALUES ($1)";

#define SUBMISSION_COLUMNS                                                                      \
    "id, name, size, created, status, attempts, reason, first_difference, claimed_score, score, " \
    "stage, difficulty, lives, bombs, start_stage, jewels, ending, frames, speed, sim, board, "   \
    "game_version, played, verified_at, misses, bombs_used, record, record_over, removed_at, removed_reason, held_at"

const char* const kFindSubmission = "SELECT " SUBMISSION_COLUMNS " FROM submissions WHERE id = $1";

const char* const kInsertSubmission =
    "INSERT INTO submissions (id, name, address, size, created, status, claimed_score)"
    " VALUES ($1, $2, $3, $4, $5, 'queued', $6) ON CONFLICT (id) DO NOTHING";

const char* const kInsertReplay = "INSERT INTO replays (id, bytes) VALUES ($1, $2) ON CONFLICT (id) DO NOTHING";

const char* const kCountWaiting = "SELECT COUNT(*) FROM submissions WHERE status IN ('queued', 'verifying')";

const char* const kReplayBytes = "SELECT bytes FROM replays WHERE id = $1";

const char* const kInsertTrack = "INSERT INTO tracks (id, bytes) VALUES ($1, $2) ON CONFLICT (id) DO NOTHING";

const char* const kTrackBytes = "SELECT bytes FROM tracks WHERE id = $1";

std::string ClaimJob(Dialect d) {
    // PostgreSQL: verifiers on other machines skip a row another one is
    // claiming instead of waiting for it. SQLite: the caller holds the
    // database's write lock for the whole statement.
    std::string lock = d == Dialect::Postgres ? " FOR UPDATE SKIP LOCKED" : "";
    return "UPDATE submissions SET status = 'verifying', worker = $1, lease_until = $2,"
           " attempts = attempts + 1"
           " WHERE id = (SELECT id FROM submissions"
           "  WHERE status = 'queued' OR (status = 'verifying' AND lease_until < $3)"
           "  ORDER BY created, id LIMIT 1" +
           lock + ") RETURNING id, attempts";
}

const char* const kFinishJob =
    "UPDATE submissions SET status = $3, reason = $4, first_difference = $5, score = $6, stage = $7,"
    " difficulty = $8, lives = $9, bombs = $10, start_stage = $11, jewels = $12, ending = $13,"
    " frames = $14, speed = $15, sim = $16, board = $17, game_version = $18, played = $19,"
    " verified_at = $20, misses = $21, bombs_used = $22, record = $23, record_over = $24, lease_until = NULL"
    " WHERE id = $1 AND status = 'verifying' AND worker = $2";

// Shown on the boards: verified and not removed.
#define LISTED "status = 'verified' AND removed_at IS NULL"
// The filters of a board: $2 no miss, $3 no bomb, $4 cleared (each 0 or 1).
#define FILTERED                                                                                      \
    " AND ($2 = 0 OR misses = 0) AND ($3 = 0 OR bombs_used = 0) AND ($4 = 0 OR ending = 'staffroll')"
// The best of a board's runs first; ties go to the earlier.
#define BEST_FIRST " ORDER BY score DESC, verified_at, id"

const char* const kBestOnBoard = "SELECT id, score FROM submissions WHERE board = $1 AND " LISTED
                                 " AND id <> $2" BEST_FIRST " LIMIT 1";

const char* const kRenewLease =
    "UPDATE submissions SET lease_until = $3 WHERE id = $1 AND worker = $2 AND status = 'verifying'";

const char* const kReleaseJob =
    "UPDATE submissions SET status = 'queued', worker = NULL, lease_until = NULL, attempts = attempts - $3"
    " WHERE id = $1 AND worker = $2 AND status = 'verifying'";

const char* const kHoldJob =
    "UPDATE submissions SET status = 'held', reason = $3, held_at = $4, lease_until = NULL"
    " WHERE id = $1 AND status = 'verifying' AND worker = $2";

const char* const kHeld = "SELECT " SUBMISSION_COLUMNS " FROM submissions WHERE status = 'held' ORDER BY held_at, id";

const char* const kRetryHeld =
    "UPDATE submissions SET status = 'queued', attempts = 0, reason = NULL, held_at = NULL, worker = NULL,"
    " lease_until = NULL WHERE status = 'held' AND ($1 = '' OR id = $1) RETURNING id, name";

const char* const kForgetRejectedBytes =
    "DELETE FROM replays WHERE id IN"
    " (SELECT id FROM submissions WHERE status = 'rejected' AND verified_at < $1)";

const char* const kInsertStageScore =
    "INSERT INTO stage_scores (id, stage, board, score) VALUES ($1, $2, $3, $4)"
    " ON CONFLICT (id, stage) DO NOTHING";

const char* const kRank =
    "SELECT COUNT(DISTINCT name) + 1 FROM submissions WHERE board = $1 AND " LISTED " AND name <> $5"
    " AND (score > $2 OR (score = $2 AND (verified_at < $3 OR (verified_at = $3 AND id < $4))))";

const char* const kBoards =
    "SELECT board, COUNT(*) FROM submissions WHERE " LISTED " GROUP BY board ORDER BY board";

const char* const kBoardAll = "SELECT " SUBMISSION_COLUMNS " FROM submissions WHERE board = $1 AND " LISTED FILTERED
                              BEST_FIRST " LIMIT $5 OFFSET $6";

const char* const kBoardAllCount = "SELECT COUNT(*) FROM submissions WHERE board = $1 AND " LISTED FILTERED;

const char* const kBoardBest = "SELECT " SUBMISSION_COLUMNS " FROM (SELECT " SUBMISSION_COLUMNS
                               ", ROW_NUMBER() OVER (PARTITION BY name" BEST_FIRST ") AS player_rank"
                               " FROM submissions WHERE board = $1 AND " LISTED FILTERED ") b"
                               " WHERE player_rank = 1" BEST_FIRST " LIMIT $5 OFFSET $6";

const char* const kBoardBestCount =
    "SELECT COUNT(DISTINCT name) FROM submissions WHERE board = $1 AND " LISTED FILTERED;

#define STAGE_ROWS                                                                                           \
    "SELECT s.id, s.name, t.score, s.verified_at, t.stage, t.board,"                                          \
    " ROW_NUMBER() OVER (PARTITION BY s.name ORDER BY t.score DESC, s.verified_at, s.id) AS player_rank"     \
    " FROM stage_scores t JOIN submissions s ON s.id = t.id"                                                  \
    " WHERE t.board = $1 AND t.stage = $2 AND s.status = 'verified' AND s.removed_at IS NULL"

const char* const kStageBoard = "SELECT id, name, score, verified_at FROM (" STAGE_ROWS
                                ") r WHERE player_rank = 1 OR $3 = 1 ORDER BY score DESC, verified_at, id"
                                " LIMIT $4 OFFSET $5";

const char* const kStageBoardCount = "SELECT COUNT(*) FROM (" STAGE_ROWS ") r WHERE player_rank = 1 OR $3 = 1";

const char* const kLatest = "SELECT " SUBMISSION_COLUMNS " FROM submissions WHERE " LISTED
                            " ORDER BY verified_at DESC, id DESC LIMIT $1";

const char* const kPlayerBests = "SELECT " SUBMISSION_COLUMNS " FROM (SELECT " SUBMISSION_COLUMNS
                                 ", ROW_NUMBER() OVER (PARTITION BY board" BEST_FIRST ") AS player_rank"
                                 " FROM submissions WHERE name = $1 AND " LISTED ") b"
                                 " WHERE player_rank = 1 ORDER BY board";

const char* const kPlayerLatest = "SELECT " SUBMISSION_COLUMNS " FROM submissions WHERE name = $1"
                                  " ORDER BY created DESC, id DESC LIMIT $2";

const char* const kPlayerStageBests =
    "SELECT id, name, score, verified_at, stage, board FROM (SELECT s.id, s.name, t.score, s.verified_at,"
    " t.stage, t.board, ROW_NUMBER() OVER (PARTITION BY t.board, t.stage"
    " ORDER BY t.score DESC, s.verified_at, s.id) AS player_rank"
    " FROM stage_scores t JOIN submissions s ON s.id = t.id"
    " WHERE s.name = $1 AND s.status = 'verified' AND s.removed_at IS NULL) r"
    " WHERE player_rank = 1 ORDER BY board, stage";

// A record, with the name and score of the entry it passed.
#define RECORD_COLUMNS                                                                     \
    SUBMISSION_COLUMNS ", (SELECT p.name FROM submissions p WHERE p.id = submissions.record_over),"   \
                       " (SELECT p.score FROM submissions p WHERE p.id = submissions.record_over)"

const char* const kRecords = "SELECT " RECORD_COLUMNS " FROM submissions WHERE record = 1 AND " LISTED
                             " ORDER BY verified_at DESC, id DESC LIMIT $1";

// A player's runs, and the records that passed one of theirs.
const char* const kPlayerFeed =
    "SELECT " RECORD_COLUMNS " FROM submissions WHERE " LISTED " AND (name = $1 OR (record = 1 AND record_over IN"
    " (SELECT id FROM submissions WHERE name = $2))) ORDER BY verified_at DESC, id DESC LIMIT $3";

const char* const kQueuedAhead =
    "SELECT COUNT(*) FROM submissions WHERE status = 'queued' AND (created < $1 OR (created = $1 AND id < $2))";

const char* const kRemove =
    "UPDATE submissions SET removed_at = $2, removed_reason = $3 WHERE id = $1 AND removed_at IS NULL";
const char* const kRestore =
    "UPDATE submissions SET removed_at = NULL, removed_reason = NULL WHERE id = $1 AND removed_at IS NOT NULL";
const char* const kRemoved = "SELECT id, name, score, removed_at, removed_reason FROM submissions"
                             " WHERE removed_at IS NOT NULL ORDER BY removed_at";

const char* const kBlock = "INSERT INTO blocks (kind, value, reason, created) VALUES ($1, $2, $3, $4)"
                           " ON CONFLICT (kind, value) DO UPDATE SET reason = excluded.reason";
const char* const kUnblock = "DELETE FROM blocks WHERE kind = $1 AND value = $2";
const char* const kBlocks = "SELECT kind, value, reason, created FROM blocks ORDER BY kind, created";
// Names are blocked whatever their letters' case.
const char* const kBlockOf = "SELECT kind, value, reason FROM blocks WHERE (kind = 'name' AND LOWER(value) = LOWER($1))"
                             " OR (kind = 'address' AND value = $2) ORDER BY kind DESC LIMIT 1";

const char* const kLog = "INSERT INTO moderation_log (at, act, target, reason) VALUES ($1, $2, $3, $4)";
const char* const kLogList = "SELECT at, act, target, reason FROM moderation_log ORDER BY at";

const char* const kStageScoresOf = "SELECT stage, score FROM stage_scores WHERE id = $1 ORDER BY stage";

const char* const kStatusCounts = "SELECT status, COUNT(*) FROM submissions GROUP BY status";

}  // namespace sql
}  // namespace board

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
    "game_version, played, verified_at"

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
    " verified_at = $20, lease_until = NULL"
    " WHERE id = $1 AND status = 'verifying' AND worker = $2";

const char* const kRenewLease =
    "UPDATE submissions SET lease_until = $3 WHERE id = $1 AND worker = $2 AND status = 'verifying'";

const char* const kReleaseJob =
    "UPDATE submissions SET status = 'queued', worker = NULL, lease_until = NULL, attempts = attempts - $3"
    " WHERE id = $1 AND worker = $2 AND status = 'verifying'";

const char* const kForgetRejectedBytes =
    "DELETE FROM replays WHERE id IN"
    " (SELECT id FROM submissions WHERE status = 'rejected' AND verified_at < $1)";

const char* const kInsertStageScore =
    "INSERT INTO stage_scores (id, stage, board, score) VALUES ($1, $2, $3, $4)"
    " ON CONFLICT (id, stage) DO NOTHING";

const char* const kRank =
    "SELECT COUNT(*) + 1 FROM submissions WHERE board = $1 AND status = 'verified'"
    " AND (score > $2 OR (score = $2 AND (verified_at < $3 OR (verified_at = $3 AND id < $4))))";

const char* const kBoards =
    "SELECT board, COUNT(*) FROM submissions WHERE status = 'verified' GROUP BY board ORDER BY board";

const char* const kBoardEntries = "SELECT " SUBMISSION_COLUMNS
                                  " FROM submissions WHERE board = $1 AND status = 'verified'"
                                  " ORDER BY score DESC, verified_at, id LIMIT $2";

const char* const kStageBoard =
    "SELECT s.id, s.name, t.score FROM stage_scores t JOIN submissions s ON s.id = t.id"
    " WHERE t.board = $1 AND t.stage = $2 ORDER BY t.score DESC, s.verified_at, s.id LIMIT $3";

const char* const kStageScoresOf = "SELECT stage, score FROM stage_scores WHERE id = $1 ORDER BY stage";

const char* const kStatusCounts = "SELECT status, COUNT(*) FROM submissions GROUP BY status";

}  // namespace sql
}  // namespace board

// SQLite and PostgreSQL behind the same exec(): parameters bound by
// number, every cell read back as text (a blob as its raw bytes).
#include "db.h"

#include <cerrno>

#include "store.h"

#include <libpq-fe.h>
#include <sqlite3.h>

#include <cstring>

#include "queries.h"

namespace board {

bool IsPostgresUrl(const std::string& url) {
    return url.rfind("postgresql://", 0) == 0 || url.rfind("postgres://", 0) == 0;
}

namespace {

class SqliteDb : public Db {
public:
    explicit SqliteDb(const std::string& path) {
        if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                            nullptr) != SQLITE_OK) {
            std::string msg = db_ ? sqlite3_errmsg(db_) : "out of memory";
            sqlite3_close(db_);
            db_ = nullptr;
            throw DbError("cannot open the database \"" + path + "\": " + msg, true);
        }
        // Several connections (one per thread) share the file: readers
        // never wait for the writer, and a writer waits its turn.
        sqlite3_busy_timeout(db_, 10000);
        exec("PRAGMA journal_mode=WAL");
        exec("PRAGMA synchronous=NORMAL");
    }
    ~SqliteDb() override { sqlite3_close(db_); }
    Dialect dialect() const override { return Dialect::SQLite; }
    bool healthy() const override { return db_ != nullptr; }

    Result exec(const std::string& text, const std::vector<Param>& params) override {
        // $N -> ?N: SQLite numbers "$N" by first appearance, "?N" by N.
        std::string q = text;
        for (size_t i = 0; i < q.size(); ++i)
            if (q[i] == '$' && i + 1 < q.size() && q[i + 1] >= '0' && q[i + 1] <= '9') q[i] = '?';
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, q.c_str(), -1, &st, nullptr) != SQLITE_OK)
            throw DbError(std::string("SQLite: ") + sqlite3_errmsg(db_), false);
        for (size_t i = 0; i < params.size(); ++i) {
            const Param& p = params[i];
            int n = int(i) + 1, rc = SQLITE_OK;
            switch (p.kind) {
            case Param::Null: rc = sqlite3_bind_null(st, n); break;
            case Param::Text: rc = sqlite3_bind_text(st, n, p.text.data(), int(p.text.size()), SQLITE_TRANSIENT); break;
            case Param::Int: rc = sqlite3_bind_int64(st, n, p.i); break;
            case Param::Real: rc = sqlite3_bind_double(st, n, p.d); break;
            case Param::Blob: rc = sqlite3_bind_blob(st, n, p.text.data(), int(p.text.size()), SQLITE_TRANSIENT); break;
            }
            if (rc != SQLITE_OK) {
                sqlite3_finalize(st);
                throw DbError(std::string("SQLite bind: ") + sqlite3_errmsg(db_), false);
            }
        }
        Result r;
        for (;;) {
            int rc = sqlite3_step(st);
            if (rc == SQLITE_DONE) break;
            if (rc != SQLITE_ROW) {
                std::string msg = sqlite3_errmsg(db_);
                int err = sqlite3_system_errno(db_);
                sqlite3_finalize(st);
                int primary = rc & 0xff;
                std::string cause = primary == SQLITE_FULL ? WriteErrorCause(ENOSPC)
                                    : primary == SQLITE_IOERR || primary == SQLITE_CANTOPEN || primary == SQLITE_READONLY
                                        ? WriteErrorCause(err ? err : EIO)
                                        : "";
                throw DbError("SQLite: " + msg, primary == SQLITE_BUSY || primary == SQLITE_IOERR ||
                                                    primary == SQLITE_FULL || primary == SQLITE_READONLY,
                              cause);
            }
            Row row;
            int cols = sqlite3_column_count(st);
            for (int c = 0; c < cols; ++c) {
                int type = sqlite3_column_type(st, c);
                if (type == SQLITE_NULL) {
                    row.emplace_back();
                } else if (type == SQLITE_BLOB) {
                    const void* b = sqlite3_column_blob(st, c);
                    row.emplace_back(std::string(static_cast<const char*>(b), size_t(sqlite3_column_bytes(st, c))));
                } else {
                    const unsigned char* t = sqlite3_column_text(st, c);
                    row.emplace_back(std::string(reinterpret_cast<const char*>(t), size_t(sqlite3_column_bytes(st, c))));
                }
            }
            r.rows.push_back(std::move(row));
        }
        r.affected = sqlite3_changes(db_);
        sqlite3_finalize(st);
        return r;
    }
    void begin() override { exec("BEGIN IMMEDIATE"); }
    void commit() override { exec("COMMIT"); }
    void rollback() noexcept override {
        try {
            exec("ROLLBACK");
        } catch (...) {
        }
    }

private:
    Result exec(const char* text) { return exec(std::string(text), {}); }
    sqlite3* db_ = nullptr;
};

class PgDb : public Db {
public:
    explicit PgDb(const std::string& url) : url_(url) { connect(); }
    ~PgDb() override {
        if (conn_) PQfinish(conn_);
    }
    Dialect dialect() const override { return Dialect::Postgres; }
    bool healthy() const override { return conn_ && PQstatus(conn_) == CONNECTION_OK; }

    Result exec(const std::string& text, const std::vector<Param>& params) override {
        if (!healthy()) connect();
        std::vector<std::string> values(params.size());
        std::vector<const char*> ptrs(params.size());
        std::vector<int> lengths(params.size()), formats(params.size());
        for (size_t i = 0; i < params.size(); ++i) {
            const Param& p = params[i];
            switch (p.kind) {
            case Param::Null: break;
            case Param::Text:
            case Param::Blob: values[i] = p.text; break;
            case Param::Int: values[i] = std::to_string(p.i); break;
            case Param::Real: {
                char buf[64];
                snprintf(buf, sizeof buf, "%.17g", p.d);
                values[i] = buf;
                break;
            }
            }
            ptrs[i] = p.kind == Param::Null ? nullptr : values[i].data();
            lengths[i] = int(values[i].size());
            formats[i] = p.kind == Param::Blob ? 1 : 0;
        }
        PGresult* res = PQexecParams(conn_, text.c_str(), int(params.size()), nullptr, ptrs.data(), lengths.data(),
                                     formats.data(), 0);
        ExecStatusType st = PQresultStatus(res);
        if (st != PGRES_COMMAND_OK && st != PGRES_TUPLES_OK) {
            std::string msg = PQresultErrorMessage(res);
            const char* state = PQresultErrorField(res, PG_DIAG_SQLSTATE);
            PQclear(res);
            // Class 08 (connection), 57 (server shutting down) and a broken
            // connection all mean "try again later", not a bad statement.
            // Class 53: the database server's resources (53100 its disk).
            bool down = !healthy() ||
                        (state && (!strncmp(state, "08", 2) || !strncmp(state, "57", 2) || !strncmp(state, "53", 2)));
            std::string cause = state && !strcmp(state, "53100") ? "the board's database disk is full" : "";
            while (!msg.empty() && (msg.back() == '\n' || msg.back() == ' ')) msg.pop_back();
            throw DbError("PostgreSQL: " + msg, down, cause);
        }
        Result r;
        int rows = PQntuples(res), cols = PQnfields(res);
        for (int i = 0; i < rows; ++i) {
            Row row;
            for (int c = 0; c < cols; ++c) {
                if (PQgetisnull(res, i, c)) {
                    row.emplace_back();
                } else if (PQftype(res, c) == 17 /* bytea */) {
                    size_t n = 0;
                    unsigned char* b = PQunescapeBytea(reinterpret_cast<const unsigned char*>(PQgetvalue(res, i, c)), &n);
                    row.emplace_back(std::string(reinterpret_cast<char*>(b), n));
                    PQfreemem(b);
                } else {
                    row.emplace_back(std::string(PQgetvalue(res, i, c), size_t(PQgetlength(res, i, c))));
                }
            }
            r.rows.push_back(std::move(row));
        }
        const char* n = PQcmdTuples(res);
        r.affected = n && *n ? atol(n) : 0;
        PQclear(res);
        return r;
    }
    void begin() override { exec("BEGIN", {}); }
    void commit() override { exec("COMMIT", {}); }
    void rollback() noexcept override {
        try {
            if (healthy()) exec("ROLLBACK", {});
        } catch (...) {
        }
    }

private:
    void connect() {
        if (conn_) PQfinish(conn_);
        conn_ = PQconnectdb(url_.c_str());
        if (PQstatus(conn_) != CONNECTION_OK) {
            std::string msg = PQerrorMessage(conn_);
            while (!msg.empty() && (msg.back() == '\n' || msg.back() == ' ')) msg.pop_back();
            PQfinish(conn_);
            conn_ = nullptr;
            throw DbError("PostgreSQL unreachable: " + msg, true);
        }
        PQsetNoticeProcessor(conn_, [](void*, const char*) {}, nullptr);
    }
    std::string url_;
    PGconn* conn_ = nullptr;
};

}  // namespace

std::unique_ptr<Db> OpenDb(const std::string& url) {
    if (IsPostgresUrl(url)) return std::make_unique<PgDb>(url);
    return std::make_unique<SqliteDb>(url);
}

void Migrate(Db& db) {
    InTransaction(db, [&] {
        // PostgreSQL: a second program starting at the same moment waits
        // here until the first has applied everything. (SQLite's write
        // lock, taken by begin(), does the same.)
        if (db.dialect() == Dialect::Postgres) db.exec("SELECT pg_advisory_xact_lock(515151)");
        db.exec(sql::kSchemaTable);
        int have = std::stoi(db.exec(sql::kSchemaVersion).rows.at(0).at(0).value_or("0"));
        for (const Migration& m : Migrations()) {
            if (m.version <= have) continue;
            for (const char* s : m.statements) db.exec(s);
            db.exec(sql::kSchemaRecord, {m.version});
        }
    });
}

}  // namespace board

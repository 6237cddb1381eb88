// The board's two databases behind one small interface: a SQLite file for
// a board on one machine, PostgreSQL for a board whose verifiers run on
// several. Every statement the board runs is in queries.cpp and is written
// once for both; parameters are $1, $2, ... in both.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace board {

// A failed statement. `unavailable` when the database cannot be reached at
// all (PostgreSQL stopped, connection lost): the request is answered 503
// and the connection is made again on the next one.
struct DbError : std::runtime_error {
    bool unavailable;
    // The cause in the board's words when it is the host's ("the board's
    // disk is full"): logged, and said in the answer.
    std::string cause;
    DbError(const std::string& what, bool unavailable_, std::string cause_ = "")
        : std::runtime_error(what), unavailable(unavailable_), cause(std::move(cause_)) {}
};

struct Param {
    enum Kind { Null, Text, Int, Real, Blob } kind = Null;
    std::string text;  // Text and Blob
    int64_t i = 0;
    double d = 0;
    static Param null() { return Param{}; }
    static Param blob(std::string bytes) { Param p; p.kind = Blob; p.text = std::move(bytes); return p; }
    Param() = default;
    Param(const std::string& s) : kind(Text), text(s) {}
    Param(const char* s) : kind(Text), text(s) {}
    Param(int64_t v) : kind(Int), i(v) {}
    Param(int v) : kind(Int), i(v) {}
    Param(double v) : kind(Real), d(v) {}
};

// A result cell as text (a blob as its raw bytes); nullopt for NULL.
using Cell = std::optional<std::string>;
using Row = std::vector<Cell>;
struct Result {
    std::vector<Row> rows;
    long affected = 0;
};

enum class Dialect { SQLite, Postgres };

class Db {
public:
    virtual ~Db() = default;
    virtual Dialect dialect() const = 0;
    virtual Result exec(const std::string& sql, const std::vector<Param>& params = {}) = 0;
    // A write transaction (SQLite takes its write lock at once, so two
    // verifiers never both read the same queued job).
    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback() noexcept = 0;
    // False once the connection is known to be broken.
    virtual bool healthy() const = 0;
};

bool IsPostgresUrl(const std::string& url);
// Opens the database named by `url`: postgresql://... or postgres://...
// for PostgreSQL, anything else is a SQLite file (made if missing).
std::unique_ptr<Db> OpenDb(const std::string& url);

// Applies the numbered schema changes not applied yet; several programs
// starting at once apply each change exactly once.
void Migrate(Db& db);

// Runs `fn` in a transaction: committed when it returns, rolled back when
// it throws.
template <class F>
auto InTransaction(Db& db, F fn) -> decltype(fn()) {
    db.begin();
    try {
        if constexpr (std::is_void_v<decltype(fn())>) {
            fn();
            db.commit();
        } else {
            auto r = fn();
            db.commit();
            return r;
        }
    } catch (...) {
        db.rollback();
        throw;
    }
}

}  // namespace board

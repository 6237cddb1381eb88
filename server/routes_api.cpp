// The JSON API: submitting, a submission's status, the replay files, and
// the JSON twins of the pages.
#include "app.h"

namespace board {

void AddApiRoutes(http::Router& svr, App& app) {
    svr.Post("/api/submissions", [&app](const http::Request& req, http::Response& res) {
        std::string type = req.get_header_value("Content-Type");
        if (type.substr(0, type.find(';')) != "application/octet-stream") {
            SendError(res, 415, "send the replay file as application/octet-stream (the form at /submit takes multipart)");
            return;
        }
        if (!req.has_param("name")) {
            SendError(res, 400, "a name is needed: POST /api/submissions?name=NAME");
            return;
        }
        Accepted a = AcceptSubmission(app, req.remote_addr, req.get_param_value("name"), req.body);
        if (!a.error.empty()) {
            if (a.retryAfter) res.set_header("Retry-After", std::to_string(a.retryAfter));
            SendError(res, a.status, a.error);
            return;
        }
        res.status = a.status;
        auto db = app.db();
        auto s = a.status == 202 ? std::nullopt : FindSubmission(db, a.id);
        // A new file is answered as it was taken (a verifier may be on it
        // already); a known one with what has become of it.
        json j = s ? SubmissionJson(db, *s)
                   : json{{"id", a.id}, {"status", "queued"}, {"entry", "/entry/" + a.id}};
        res.set_header("Location", "/api/submissions/" + a.id);
        res.set_content(j.dump(), "application/json");
    });

    svr.Get(R"(/api/submissions/([^/]*))", [&app](const http::Request& req, http::Response& res) {
        std::string id = req.matches[1];
        if (!ValidId(id)) return SendError(res, 400, "not a submission id (32 hexadecimal digits)");
        auto db = app.db();
        auto s = FindSubmission(db, id);
        if (!s) return SendError(res, 404, "no submission " + id);
        res.set_content(SubmissionJson(db, *s).dump(), "application/json");
    });

    svr.Get(R"(/api/replays/([^/]*))", [&app](const http::Request& req, http::Response& res) {
        std::string id = req.matches[1];
        if (!ValidId(id)) return SendError(res, 400, "not a submission id (32 hexadecimal digits)");
        auto bytes = ReplayBytes(app.db(), id);
        if (!bytes) return SendError(res, 404, "no replay " + id);
        res.set_header("Content-Disposition", "attachment; filename=\"quellstorm-" + id + ".qsr\"");
        // The bytes of an id never change.
        res.set_header("Cache-Control", "public, max-age=31536000, immutable");
        res.set_content(*bytes, "application/octet-stream");
    });

    // The ghost track of a verified run, as the game made it re-playing
    // the run (docs/replay-format.md).
    svr.Get(R"(/api/replays/([^/]*)/track)", [&app](const http::Request& req, http::Response& res) {
        std::string id = req.matches[1];
        if (!ValidId(id)) return SendError(res, 400, "not a submission id (32 hexadecimal digits)");
        auto bytes = TrackBytes(app.db(), id);
        if (!bytes) return SendError(res, 404, "no track for " + id + ": only verified runs have one");
        res.set_header("Cache-Control", "public, max-age=31536000, immutable");
        res.set_content(*bytes, "application/octet-stream");
    });

    svr.Get(R"(/api/entry/([^/]*))", [&app](const http::Request& req, http::Response& res) {
        std::string id = req.matches[1];
        if (!ValidId(id)) return SendError(res, 400, "not a submission id (32 hexadecimal digits)");
        auto db = app.db();
        auto s = FindSubmission(db, id);
        if (!s) return SendError(res, 404, "no submission " + id);
        res.set_content(EntryJson(db, *s).dump(), "application/json");
    });

    svr.Get("/api/boards", [&app](const http::Request&, http::Response& res) {
        res.set_content(app.cached("/api/boards", [&app](Db& db) { return BoardsJson(db, app.cfg).dump(); }),
                        "application/json");
    });

    svr.Get(R"(/api/board/([^/]*))", [&app](const http::Request& req, http::Response& res) {
        BoardQuery q;
        std::string why;
        auto param = [&req](const char* k) { return req.has_param(k) ? req.get_param_value(k) : std::string(); };
        if (!ParseBoardQuery(req.matches[1], param, q, why)) return SendError(res, ValidBoardKey(q.board) ? 400 : 404, why);
        std::string key = "/api" + BoardHref(q, q.page);
        if (!app.copies.has(key) && !BoardPageExists(app.db(), q))
            return SendError(res, 404, "no such board or page: " + BoardHref(q, q.page));
        auto body = app.cached(key, [q](Db& db) {
            json j = BoardJson(db, q);
            return j.is_null() ? std::string() : j.dump();
        });
        if (body->empty()) return SendError(res, 404, "no such board or page: " + key);
        res.set_content(body, "application/json");
    });

    svr.Get(R"(/api/player/(.+))", [&app](const http::Request& req, http::Response& res) {
        std::string name = req.matches[1], why;
        if (!ValidName(name, why)) return SendError(res, 404, "no player of that name: " + why);
        if (!app.copies.has("/api/player/" + name) && !PlayerExists(app.db(), name))
            return SendError(res, 404, "no runs were sent under the name \"" + name + "\"");
        auto body = app.cached("/api/player/" + name, [name](Db& db) {
            json j = PlayerJson(db, name);
            return j.is_null() ? std::string() : j.dump();
        });
        if (body->empty()) return SendError(res, 404, "no runs were sent under the name \"" + name + "\"");
        res.set_content(body, "application/json");
    });

    svr.Get("/api/submit", [&app](const http::Request&, http::Response& res) {
        json j = {{"post", "/api/submissions?name=NAME"},
                  {"content_type", "application/octet-stream"},
                  {"max_bytes", app.cfg.maxUploadKb * 1024},
                  {"name", "1 to 24 printable characters"},
                  {"per_minute", app.cfg.submitPerMinute}};
        res.set_content(j.dump(), "application/json");
    });

    // The queue at a glance, for operators and load tests.
    svr.Get("/api/status", [&app](const http::Request&, http::Response& res) {
        json counts = {{"queued", 0}, {"verifying", 0}, {"verified", 0}, {"rejected", 0}, {"held", 0}};
        for (auto& [status, n] : StatusCounts(app.db())) counts[status] = n;
        res.set_content(counts.dump(), "application/json");
    });
}

}  // namespace board

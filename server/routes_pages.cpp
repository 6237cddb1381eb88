// The pages: plain HTML made on the server, readable without JavaScript.
// Every name and text from outside goes through Html().
#include "app.h"

namespace board {

namespace {

const char* const kStyle =
    "body{font-family:sans-serif;background:#0b0e1a;color:#dde;margin:0 auto;max-width:64em;padding:1em}"
    "a{color:#8cf}table{border-collapse:collapse;margin:.5em 0 1.5em}"
    "td,th{padding:.2em .7em;border-bottom:1px solid #334;text-align:left}"
    "td.n{text-align:right;font-variant-numeric:tabular-nums}"
    "nav a{margin-right:1em}.why{color:#f99}.ok{color:#9f9}.dim{color:#99a}"
    ".tag{font-size:.8em;border:1px solid #586;border-radius:.3em;padding:0 .3em;margin-right:.3em;color:#bfb;"
    "white-space:nowrap}form.filters label{margin-right:1em}.pager a,.pager b{margin-right:.8em}";

std::string Page(App& app, const std::string& title, const std::string& body, const std::string& head = "") {
    return "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
           "<title>" +
           Html(title) + " - QUELLSTORM board</title><style>" + kStyle +
           "</style><link rel=\"alternate\" type=\"application/atom+xml\" title=\"New records\" "
           "href=\"/feeds/records.atom\">" +
           head + "</head><body><nav><a href=\"/\">Boards</a><a href=\"/submit\">Submit a replay</a>" +
           (app.cfg.web.empty() ? "" : "<a href=\"/play/\">Play</a>") +
           "<a href=\"/feeds/records.atom\">New records (feed)</a></nav>\n<h1>" + Html(title) + "</h1>\n" + body +
           "\n</body></html>\n";
}

void SendPage(http::Response& res, std::string page) { res.set_content(std::move(page), "text/html; charset=utf-8"); }
void SendPage(http::Response& res, std::shared_ptr<const std::string> page) {
    res.set_content(std::move(page), "text/html; charset=utf-8");
}

std::string PlayerLink(const std::string& name) {
    return "<a href=\"/player/" + Html(UrlPart(name)) + "\">" + Html(name) + "</a>";
}

std::string EntryLinks(App& app, const std::string& id) {
    std::string links = "<a href=\"/api/replays/" + id + "\">replay</a>";
    if (!app.cfg.web.empty()) links += " <a href=\"/play/#replay=/api/replays/" + id + "\">watch</a>";
    return links;
}

std::string Reached(const Submission& s) {
    if (s.ending == "staffroll") return "all clear";
    return s.stage ? "stage " + std::to_string(*s.stage) : "";
}

std::string TagSpans(const Submission& s) {
    std::string out;
    for (const std::string& t : Tags(s)) {
        std::string shown = t == "no-miss" ? "no miss" : t == "no-bomb" ? "no bomb" : "clear";
        out += "<span class=\"tag\">" + shown + "</span>";
    }
    return out;
}

// A table of whole runs: rank (0: none), player, score, reached, date, tags.
std::string RunsTable(App& app, const std::vector<Submission>& runs, int64_t firstRank, bool showBoard) {
    std::string t = "<table><tr>" + std::string(firstRank ? "<th>#</th>" : "") + "<th>Name</th>" +
                    (showBoard ? "<th>Board</th>" : "") +
                    "<th>Score</th><th>From</th><th>Reached</th><th>Date</th><th>Conditions</th><th></th></tr>\n";
    int64_t rank = firstRank;
    for (const Submission& s : runs) {
        t += "<tr>";
        if (firstRank) t += "<td class=\"n\">" + std::to_string(rank++) + "</td>";
        t += "<td>" + PlayerLink(s.name) + "</td>";
        if (showBoard) t += "<td><a href=\"/board/" + Html(s.board) + "\">" + Html(BoardTitle(s.board)) + "</a></td>";
        t += "<td class=\"n\"><a href=\"/entry/" + s.id + "\">" + FormatScore(s.score.value_or(0)) +
             "</a></td><td>stage " + std::to_string(s.startStage.value_or(1)) + "</td><td>" + Html(Reached(s)) + "</td><td>" + FormatDate(s.verifiedAt.value_or(0)) + "</td><td>" + TagSpans(s) +
             "</td><td>" + EntryLinks(app, s.id) + "</td></tr>\n";
    }
    return t + "</table>\n";
}

std::string StageTable(const std::vector<StageEntry>& list, int64_t firstRank) {
    std::string t = "<table><tr><th>#</th><th>Name</th><th>Stage score</th><th>Date</th></tr>\n";
    int64_t r = firstRank;
    for (const StageEntry& e : list)
        t += "<tr><td class=\"n\">" + std::to_string(r++) + "</td><td>" + PlayerLink(e.name) +
             "</td><td class=\"n\"><a href=\"/entry/" + e.id + "\">" + FormatScore(e.score) + "</a></td><td>" +
             FormatDate(e.verifiedAt) + "</td></tr>\n";
    return t + "</table>\n";
}

std::string StageLinks(const std::string& key) {
    std::string out = "<p class=\"dim\">Each stage's own score: ";
    for (int st = 1; st <= 5; ++st)
        out += "<a href=\"/board/" + Html(key) + "?stage=" + std::to_string(st) + "\">stage " + std::to_string(st) +
               "</a> ";
    return out + "</p>\n";
}

std::string FrontPage(App& app, Db& db) {
    std::string body =
        "<form method=\"get\" action=\"/player\"><label>Find a player: <input name=\"name\" maxlength=\"24\" "
        "required></label> <button>Show</button></form>\n";
    std::vector<std::string> keys = Boards(db);
    if (keys.empty()) body += "<p>No verified games yet. <a href=\"/submit\">Submit one.</a></p>";
    for (const std::string& key : keys) {
        BoardQuery q;
        q.board = key;
        body += "<h2 id=\"" + Html(key) + "\"><a href=\"/board/" + Html(key) + "\">" + Html(BoardTitle(key)) +
                "</a></h2>\n" + RunsTable(app, BoardRuns(db, q, app.cfg.boardSize, 0), 1, false);
        body += "<p><a href=\"/board/" + Html(key) + "\">The whole board</a> (each player's best; filters: no miss, "
                "no bomb, cleared) &middot; <a href=\"/board/" + Html(key) + "?all=1\">every run</a></p>\n" +
                StageLinks(key);
    }
    std::vector<Submission> latest = LatestRuns(db, kLatestCount);
    if (!latest.empty()) body += "<h2 id=\"latest\">Latest verified runs</h2>\n" + RunsTable(app, latest, 0, true);
    body += "<p>Every entry was re-played by the board: its score and its conditions are what the game itself "
            "reached. (<a href=\"/api/boards\">JSON</a>)</p>";
    return Page(app, "Boards", body);
}

std::string BoardPage(App& app, Db& db, const BoardQuery& q, const json& j) {
    std::string key = Html(q.board), body;
    // The filters as a plain form: it works without JavaScript.
    body += "<form class=\"filters\" method=\"get\" action=\"/board/" + key + "\">";
    if (q.stage) body += "<input type=\"hidden\" name=\"stage\" value=\"" + std::to_string(q.stage) + "\">";
    auto box = [&](const char* name, const char* label, bool on) {
        body += std::string("<label><input type=\"checkbox\" name=\"") + name + "\" value=\"1\"" +
                (on ? " checked" : "") + "> " + label + "</label>";
    };
    box("all", "every run (not only each player's best)", q.all);
    if (!q.stage) {
        box("nomiss", "no miss", q.noMiss);
        box("nobomb", "no bomb", q.noBomb);
        box("clear", "cleared", q.clear);
    }
    body += " <button>Show</button></form>\n";
    if (q.stage)
        body += "<p><a href=\"/board/" + key + "\">Whole runs</a></p>\n";
    else
        body += StageLinks(q.board);
    const json& view = j["view"];
    int64_t pages = view["pages"], rows = view["rows"];
    body += "<p class=\"dim\">" + std::to_string(rows) + (q.all ? " runs" : " players") +
            (q.noMiss || q.noBomb || q.clear ? " meet the conditions" : "") + ".</p>\n";
    int64_t first = (q.page - 1) * kPageSize + 1;
    if (q.stage) body += StageTable(StageRuns(db, q, kPageSize, first - 1), first);
    else if (rows) body += RunsTable(app, BoardRuns(db, q, kPageSize, first - 1), first, false);
    if (pages > 1) {
        body += "<p class=\"pager\">";
        if (q.page > 1) body += "<a href=\"" + Html(BoardHref(q, q.page - 1)) + "\" rel=\"prev\">&laquo; previous</a>";
        for (int64_t p = 1; p <= pages; ++p) {
            if (pages > 12 && p > 2 && p < pages - 1 && std::abs(p - q.page) > 2) {
                if (p == 3 || p == pages - 2) body += "&hellip; ";
                continue;
            }
            body += p == q.page ? "<b>" + std::to_string(p) + "</b>"
                                : "<a href=\"" + Html(BoardHref(q, p)) + "\">" + std::to_string(p) + "</a>";
        }
        if (q.page < pages) body += "<a href=\"" + Html(BoardHref(q, q.page + 1)) + "\" rel=\"next\">next &raquo;</a>";
        body += "</p>\n";
    }
    std::string api = BoardHref(q, q.page);
    body += "<p>(<a href=\"/api" + Html(api) + "\">JSON</a>)</p>";
    std::string title = BoardTitle(q.board) + (q.stage ? ": stage " + std::to_string(q.stage) + " alone" : "");
    return Page(app, title, body);
}

std::string PlayerPage(App& app, Db& db, const std::string& name) {
    std::string body, feed = "/feeds/player/" + UrlPart(name);
    std::vector<Submission> bests = PlayerBests(db, name);
    body += "<p><a href=\"" + Html(feed) + "\">Feed of " + Html(name) +
            "'s runs and of the records that pass theirs</a> (Atom)</p>\n";
    if (!bests.empty()) {
        body += "<h2>Best on each board</h2>\n<table><tr><th>Board</th><th>Rank</th><th>Score</th><th>Reached</th>"
                "<th>Date</th><th>Conditions</th></tr>\n";
        for (const Submission& s : bests)
            body += "<tr><td><a href=\"/board/" + Html(s.board) + "\">" + Html(BoardTitle(s.board)) +
                    "</a></td><td class=\"n\">" + std::to_string(RankOf(db, s)) + "</td><td class=\"n\"><a href=\"/entry/" +
                    s.id + "\">" + FormatScore(s.score.value_or(0)) + "</a></td><td>" + Html(Reached(s)) + "</td><td>" +
                    FormatDate(s.verifiedAt.value_or(0)) + "</td><td>" + TagSpans(s) + "</td></tr>\n";
        body += "</table>\n";
    }
    std::vector<StageEntry> stages = PlayerStageBests(db, name);
    if (!stages.empty()) {
        body += "<h2>Best in each stage</h2>\n<table><tr><th>Board</th><th>Stage</th><th>Its own score</th>"
                "<th>Date</th></tr>\n";
        for (const StageEntry& e : stages)
            body += "<tr><td>" + Html(BoardTitle(e.board)) + "</td><td class=\"n\"><a href=\"/board/" + Html(e.board) +
                    "?stage=" + std::to_string(e.stage) + "\">" + std::to_string(e.stage) +
                    "</a></td><td class=\"n\"><a href=\"/entry/" + e.id + "\">" + FormatScore(e.score) + "</a></td><td>" +
                    FormatDate(e.verifiedAt) + "</td></tr>\n";
        body += "</table>\n";
    }
    body += "<h2>Latest runs</h2>\n<table><tr><th>Sent</th><th>Board</th><th>Score</th><th>Reached</th>"
            "<th>Conditions</th><th>State</th></tr>\n";
    for (const Submission& s : PlayerLatest(db, name, kLatestCount)) {
        bool shown = s.listed();
        std::string state = s.removedAt ? "removed" : s.status;
        body += "<tr><td>" + FormatTime(s.created) + "</td><td>" +
                (s.board.empty() ? "" : Html(BoardTitle(s.board))) + "</td><td class=\"n\"><a href=\"/entry/" + s.id +
                "\">" + (shown ? FormatScore(s.score.value_or(0)) : std::string("&ndash;")) + "</a></td><td>" +
                (shown ? Html(Reached(s)) : "") + "</td><td>" + (shown ? TagSpans(s) : "") + "</td><td" +
                (shown ? "" : " class=\"dim\"") + ">" + state + "</td></tr>\n";
    }
    body += "</table>\n<p>(<a href=\"/api/player/" + Html(UrlPart(name)) + "\">JSON</a>)</p>";
    return Page(app, "Player " + name, body,
                "<link rel=\"alternate\" type=\"application/atom+xml\" title=\"" + Html(name) + "\" href=\"" +
                    Html(feed) + "\">");
}

// While a submission waits, its page follows it: a script asks for its
// state and shows the page again when it changes; without scripts the
// Refresh header does the same, less often.
const char* const kFollow =
    "<script>(function(){var id=document.body.dataset.id,st=document.body.dataset.status;"
    "function ask(){fetch('/api/submissions/'+id,{cache:'no-store'}).then(function(r){return r.json()})"
    ".then(function(j){if(j.status&&j.status!==st)location.reload();else setTimeout(ask,1000)})"
    ".catch(function(){setTimeout(ask,3000)})}setTimeout(ask,1000)})();</script>";

std::string EntryPage(App& app, Db& db, const Submission& s, bool& pending) {
    const std::string& id = s.id;
    std::string b = "<p>Submitted by <b>" + PlayerLink(s.name) + "</b> on " + FormatTime(s.created) + ".</p>\n";
    pending = false;
    if (s.removedAt) {
        b += "<p class=\"why\">Removed from the boards by the board's host on " + FormatTime(*s.removedAt) + ": " +
             Html(s.removedReason) + "</p>\n";
    } else if (s.status == "verified") {
        b += "<p class=\"ok\">Verified: rank " + std::to_string(RankOf(db, s)) + " on the <a href=\"/board/" +
             Html(s.board) + "\">" + Html(BoardTitle(s.board)) + "</a> board." +
             (s.record ? " A new record when it was verified." : "") + "</p>\n";
    } else if (s.status == "rejected") {
        b += "<p class=\"why\">Not ranked: " + Html(s.reason) + "</p>\n";
    } else if (s.status == "held") {
        b += "<p class=\"why\">Held since " + FormatTime(s.heldAt.value_or(0)) + ": " + Html(s.reason) +
             ". Not ranked and not rejected: the file is not at fault, and the board's host will have it "
             "re-played.</p>\n";
    } else {
        pending = true;
        std::string where = s.status == "queued"
                                ? "Waiting to be re-played (" + std::to_string(QueuedAhead(db, s)) + " ahead)."
                                : "Being re-played now.";
        b += "<p id=\"state\">" + where + " This page follows it.</p>\n";
    }
    if (s.status == "verified") {
        b += "<table>";
        auto row = [&](const std::string& k, const std::string& v) {
            b += "<tr><th>" + Html(k) + "</th><td>" + v + "</td></tr>\n";
        };
        row("Score", FormatScore(s.score.value_or(0)));
        row("Reached", Html(Reached(s) + (s.ending == "gameover" ? " (game over)" : "")));
        row("Conditions", TagSpans(s));
        row("Difficulty", DifficultyName(s.difficulty.value_or(-1)));
        row("Started at", "stage " + std::to_string(s.startStage.value_or(1)));
        row("Jewels", std::to_string(s.jewels.value_or(0)));
        if (s.misses && s.bombsUsed)
            row("Ships lost, bombs used", std::to_string(*s.misses) + ", " + std::to_string(*s.bombsUsed));
        row("Lives, bombs at the start",
            std::to_string(s.lives.value_or(0)) + ", " + std::to_string(s.bombs.value_or(0)));
        row("Length", FormatLength(s.frames.value_or(0)) + " (" + std::to_string(s.frames.value_or(0)) + " frames)");
        if (!s.played.empty()) row("Played", Html(s.played) + " <span class=\"dim\">(as the file says)</span>");
        row("Verified", FormatTime(s.verifiedAt.value_or(0)) + " by simulation version " +
                            std::to_string(s.sim.value_or(0)) +
                            (s.gameVersion.empty() ? "" : " (game " + Html(s.gameVersion) + ")"));
        if (s.claimedScore && s.claimedScore != s.score)
            row("Score the file claimed", FormatScore(*s.claimedScore) + " (not used)");
        b += "</table>\n<h2>Score by stage</h2>\n<table><tr><th>Stage</th><th>Its own score</th></tr>\n";
        for (auto& [stage, score] : StageScoresOf(db, id))
            b += "<tr><td class=\"n\">" + std::to_string(stage) + "</td><td class=\"n\">" + FormatScore(score) +
                 "</td></tr>\n";
        b += "</table>\n";
    }
    b += "<p>" + EntryLinks(app, id) + " (<a href=\"/api/entry/" + id + "\">JSON</a>)</p>";
    if (pending) b += kFollow;
    std::string page = Page(app, "Entry " + id.substr(0, 8), b);
    // The body carries what the script follows.
    size_t at = page.find("<body>");
    page.replace(at, 6, "<body data-id=\"" + id + "\" data-status=\"" + Html(s.status) + "\">");
    return page;
}

}  // namespace

void AddPageRoutes(http::Router& svr, App& app) {
    svr.Get("/", [&app](const http::Request&, http::Response& res) {
        SendPage(res, app.cached("/", [&app](Db& db) { return FrontPage(app, db); }));
    });

    svr.Get(R"(/board/([^/]*))", [&app](const http::Request& req, http::Response& res) {
        BoardQuery q;
        std::string why;
        auto param = [&req](const char* k) { return req.has_param(k) ? req.get_param_value(k) : std::string(); };
        if (!ParseBoardQuery(req.matches[1], param, q, why)) return SendError(res, ValidBoardKey(q.board) ? 400 : 404, why);
        std::string key = BoardHref(q, q.page);
        if (!app.copies.has(key) && !BoardPageExists(app.db(), q))
            return SendError(res, 404, "no such board or page: " + key);
        auto page = app.cached(key, [&app, q](Db& db) {
            json j = BoardJson(db, q);
            return j.is_null() ? std::string() : BoardPage(app, db, q, j);
        });
        if (page->empty()) return SendError(res, 404, "no such board or page: " + key);
        SendPage(res, page);
    });

    // The search form's answer: the player's page.
    svr.Get("/player", [](const http::Request& req, http::Response& res) {
        std::string name = req.has_param("name") ? req.get_param_value("name") : "", why;
        if (!ValidName(name, why)) return SendError(res, 400, why);
        res.status = 303;
        res.set_header("Location", "/player/" + UrlPart(name));
    });

    svr.Get(R"(/player/(.+))", [&app](const http::Request& req, http::Response& res) {
        std::string name = req.matches[1], why;
        if (!ValidName(name, why)) return SendError(res, 404, "no player of that name: " + why);
        if (!app.copies.has("/player/" + name) && !PlayerExists(app.db(), name))
            return SendError(res, 404, "no runs were sent under the name \"" + name + "\"");
        auto page = app.cached("/player/" + name, [&app, name](Db& db) {
            return PlayerExists(db, name) ? PlayerPage(app, db, name) : std::string();
        });
        if (page->empty()) return SendError(res, 404, "no runs were sent under the name \"" + name + "\"");
        SendPage(res, page);
    });

    svr.Get(R"(/entry/([^/]*))", [&app](const http::Request& req, http::Response& res) {
        std::string id = req.matches[1];
        if (!ValidId(id)) return SendError(res, 400, "not a submission id (32 hexadecimal digits)");
        auto db = app.db();
        auto s = FindSubmission(db, id);
        if (!s) return SendError(res, 404, "no submission " + id);
        bool pending = false;
        std::string page = EntryPage(app, db, *s, pending);
        if (pending) {
            res.set_header("Refresh", "5");
            res.set_header("Cache-Control", "no-store");
        }
        SendPage(res, page);
    });

    svr.Get("/submit", [&app](const http::Request&, http::Response& res) {
        std::string b =
            "<form method=\"post\" action=\"/submit\" enctype=\"multipart/form-data\">"
            "<p><label>Your name (1 to 24 characters): <input name=\"name\" maxlength=\"24\" required></label></p>"
            "<p><label>Replay file (.qsr, a finished game, at most " +
            std::to_string(app.cfg.maxUploadKb) +
            " KB): <input type=\"file\" name=\"replay\" accept=\".qsr\" required></label></p>"
            "<p><button>Submit</button></p></form>\n"
            "<p>The board re-plays the game before it ranks it: the score shown is the one the game reaches, "
            "whatever the file says. A game started at a later stage (the options screen) is ranked on a board of "
            "its own start stage, never among whole runs from stage 1. Games played invincible, from a stage "
            "chosen with --stage, or by the bot (--bot) are not ranked, nor practice runs (a replay taken over "
            "while watched, a stage practised on its own).</p>";
        SendPage(res, Page(app, "Submit a replay", b));
    });

    svr.Post("/submit", [&app](const http::Request& req, http::Response& res) {
        if (!req.is_multipart_form_data() || !req.has_file("replay") || !req.has_file("name"))
            return SendError(res, 400, "send the form at /submit: fields name and replay (multipart/form-data)");
        Accepted a = AcceptSubmission(app, req.remote_addr, req.get_file_value("name").content,
                                      req.get_file_value("replay").content);
        if (!a.error.empty()) {
            if (a.retryAfter) res.set_header("Retry-After", std::to_string(a.retryAfter));
            // A person at the form reads a page; a program reads JSON.
            if (req.get_header_value("Accept").find("text/html") == std::string::npos)
                return SendError(res, a.status, a.error);
            res.status = a.status;
            SendPage(res, Page(app, "Not submitted",
                               "<p class=\"why\">" + Html(a.error) + "</p><p><a href=\"/submit\">Back to the form</a></p>"));
            return;
        }
        res.status = 303;
        res.set_header("Location", "/entry/" + a.id);
    });
}

}  // namespace board

// The pages: plain HTML made on the server, readable without JavaScript.
// Every name and text from outside goes through Html().
#include "app.h"

namespace board {

namespace {

std::string Page(const std::string& title, const std::string& body) {
    return "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
           "<title>" +
           Html(title) +
           " - QUELLSTORM board</title><style>"
           "body{font-family:sans-serif;background:#0b0e1a;color:#dde;margin:0 auto;max-width:60em;padding:1em}"
           "a{color:#8cf}table{border-collapse:collapse;margin:.5em 0 1.5em}"
           "td,th{padding:.2em .7em;border-bottom:1px solid #334;text-align:left}"
           "td.n{text-align:right;font-variant-numeric:tabular-nums}"
           "nav a{margin-right:1em}.why{color:#f99}.ok{color:#9f9}"
           "</style></head><body><nav><a href=\"/\">Boards</a><a href=\"/submit\">Submit a replay</a>"
           "<a href=\"/play/\">Play</a></nav>\n<h1>" +
           Html(title) + "</h1>\n" + body + "\n</body></html>\n";
}

std::string EntryLinks(const std::string& id) {
    return "<a href=\"/api/replays/" + id + "\">replay</a> <a href=\"/play/#replay=/api/replays/" + id +
           "\">watch</a>";
}

std::string Reached(const Submission& s) {
    if (s.ending == "staffroll") return "all clear";
    return s.stage ? "stage " + std::to_string(*s.stage) : "";
}

std::string BoardsPage(App& app, Db& db) {
    std::string body;
    std::vector<std::string> keys = Boards(db);
    if (keys.empty()) body += "<p>No verified games yet. <a href=\"/submit\">Submit one.</a></p>";
    for (const std::string& key : keys) {
        body += "<h2 id=\"" + Html(key) + "\">" + Html(BoardTitle(key)) + "</h2>\n<table><tr><th>#</th>"
                "<th>Name</th><th>Score</th><th>Reached</th><th>Length</th><th></th></tr>\n";
        int rank = 0;
        for (const Submission& s : BoardEntries(db, key, app.cfg.boardSize))
            body += "<tr><td class=\"n\">" + std::to_string(++rank) + "</td><td><a href=\"/entry/" + s.id +
                    "\">" + Html(s.name) + "</a></td><td class=\"n\">" + FormatScore(s.score.value_or(0)) +
                    "</td><td>" + Html(Reached(s)) + "</td><td class=\"n\">" +
                    FormatLength(s.frames.value_or(0)) + "</td><td>" + EntryLinks(s.id) + "</td></tr>\n";
        body += "</table>\n";
        for (int st = 1; st <= 5; ++st) {
            std::vector<StageEntry> list = StageBoard(db, key, st, 10);
            if (list.empty()) continue;
            body += "<h3>" + Html(BoardTitle(key)) + ": stage " + std::to_string(st) +
                    " alone</h3>\n<table><tr><th>#</th><th>Name</th><th>Stage score</th></tr>\n";
            int r = 0;
            for (const StageEntry& e : list)
                body += "<tr><td class=\"n\">" + std::to_string(++r) + "</td><td><a href=\"/entry/" + e.id +
                        "\">" + Html(e.name) + "</a></td><td class=\"n\">" + FormatScore(e.score) +
                        "</td></tr>\n";
            body += "</table>\n";
        }
    }
    body += "<p>Every entry was re-played by the board: its score is the one the game itself reached. "
            "(<a href=\"/api/boards\">JSON</a>)</p>";
    return Page("Boards", body);
}

}  // namespace

void AddPageRoutes(http::Router& svr, App& app) {
    svr.Get("/", [&app](const http::Request&, http::Response& res) {
        res.set_content(app.cached("/", [&app](Db& db) { return BoardsPage(app, db); }), "text/html; charset=utf-8");
    });



    svr.Get(R"(/entry/([^/]*))", [&app](const http::Request& req, http::Response& res) {
        std::string id = req.matches[1];
        if (!ValidId(id)) return SendError(res, 400, "not a submission id (32 hexadecimal digits)");
        auto db = app.db();
        auto s = FindSubmission(db, id);
        if (!s) return SendError(res, 404, "no submission " + id);
        std::string b = "<p>Submitted by <b>" + Html(s->name) + "</b> on " + FormatTime(s->created) + ".</p>\n";
        if (s->status == "verified") {
            b += "<p class=\"ok\">Verified: rank " + std::to_string(RankOf(db, *s)) + " on the <a href=\"/#" +
                 Html(s->board) + "\">" + Html(BoardTitle(s->board)) + "</a> board.</p>\n<table>";
            auto row = [&](const std::string& k, const std::string& v) {
                b += "<tr><th>" + Html(k) + "</th><td>" + Html(v) + "</td></tr>\n";
            };
            row("Score", FormatScore(s->score.value_or(0)));
            row("Reached", Reached(*s) + (s->ending == "gameover" ? " (game over)" : ""));
            row("Difficulty", DifficultyName(s->difficulty.value_or(-1)));
            row("Jewels", std::to_string(s->jewels.value_or(0)));
            row("Lives, bombs", std::to_string(s->lives.value_or(0)) + ", " + std::to_string(s->bombs.value_or(0)));
            row("Length", FormatLength(s->frames.value_or(0)) + " (" + std::to_string(s->frames.value_or(0)) +
                              " frames)");
            if (!s->played.empty()) row("Played", s->played);
            row("Verified", FormatTime(s->verifiedAt.value_or(0)) + " by simulation version " +
                                std::to_string(s->sim.value_or(0)) +
                                (s->gameVersion.empty() ? "" : " (game " + s->gameVersion + ")"));
            if (s->claimedScore && s->claimedScore != s->score)
                row("Score the file claimed", FormatScore(*s->claimedScore) + " (not used)");
            b += "</table>\n<h2>Score by stage</h2>\n<table><tr><th>Stage</th><th>Its own score</th></tr>\n";
            for (auto& [stage, score] : StageScoresOf(db, id))
                b += "<tr><td class=\"n\">" + std::to_string(stage) + "</td><td class=\"n\">" + FormatScore(score) +
                     "</td></tr>\n";
            b += "</table>\n";
        } else if (s->status == "rejected") {
            b += "<p class=\"why\">Not ranked: " + Html(s->reason) + "</p>\n";
        } else {
            b += "<p>" + std::string(s->status == "queued" ? "Waiting to be re-played." : "Being re-played now.") +
                 " Reload this page in a moment.</p>\n";
        }
        b += "<p>" + EntryLinks(id) + " (<a href=\"/api/entry/" + id + "\">JSON</a>)</p>";
        res.set_content(Page("Entry " + id.substr(0, 8), b), "text/html; charset=utf-8");
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
            "whatever the file says. Games played invincible or from a chosen stage are not ranked.</p>";
        res.set_content(Page("Submit a replay", b), "text/html; charset=utf-8");
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
            res.set_content(Page("Not submitted", "<p class=\"why\">" + Html(a.error) +
                                                      "</p><p><a href=\"/submit\">Back to the form</a></p>"),
                            "text/html; charset=utf-8");
            return;
        }
        res.status = 303;
        res.set_header("Location", "/entry/" + a.id);
    });
}

}  // namespace board

// Atom feeds: the new records of every board, and one per player (their
// runs, and the records that pass theirs), so that a player learns their
// record was beaten without visiting. Links are relative to the feed's
// own address; ids are the entries' own (the file's hash), so they stay.
#include "app.h"

namespace board {

namespace {

std::string Tagged(const Submission& s) {
    std::string out;
    for (const std::string& t : Tags(s)) out += (out.empty() ? "" : ", ") + t;
    return out.empty() ? "" : " (" + out + ")";
}

std::string Entry(const std::string& id, const std::string& title, const std::string& author, int64_t at,
                  const std::string& href, const std::string& summary) {
    return "<entry><id>" + id + "</id><title>" + Html(title) + "</title><updated>" + IsoTime(at) +
           "</updated><author><name>" + Html(author) + "</name></author><link rel=\"alternate\" type=\"text/html\" href=\"" +
           Html(href) + "\"/><summary>" + Html(summary) + "</summary></entry>\n";
}

std::string Feed(const std::string& id, const std::string& title, const std::string& self, const std::string& page,
                 const std::vector<Submission>& runs, const std::function<std::string(const Submission&)>& entry) {
    int64_t updated = runs.empty() ? 0 : runs.front().verifiedAt.value_or(0);
    std::string x = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<feed xmlns=\"http://www.w3.org/2005/Atom\">\n<id>" +
                    id + "</id><title>" + Html(title) + "</title><updated>" + IsoTime(updated) +
                    "</updated>\n<author><name>QUELLSTORM board</name></author><link rel=\"self\" href=\"" + Html(self) +
                    "\"/><link rel=\"alternate\" type=\"text/html\" href=\"" + Html(page) + "\"/>\n";
    for (const Submission& s : runs) x += entry(s);
    return x + "</feed>\n";
}

std::string RecordText(const Submission& s) {
    std::string t = s.name + " set a new record on " + BoardTitle(s.board) + ": " + FormatScore(s.score.value_or(0));
    if (!s.passedName.empty())
        t += ", passing " + s.passedName + "'s " + FormatScore(s.passedScore.value_or(0));
    return t;
}

}  // namespace

constexpr int64_t kFeedCount = 30;

std::string RecordsFeed(Db& db) {
    return Feed("urn:quellstorm-board:records", "QUELLSTORM board: new records", "/feeds/records.atom", "/",
                Records(db, kFeedCount), [](const Submission& s) {
                    return Entry("urn:quellstorm-board:entry:" + s.id, RecordText(s), s.name, *s.verifiedAt,
                                 "/entry/" + s.id, RecordText(s) + Tagged(s) + ".");
                });
}

std::string PlayerFeedXml(Db& db, const std::string& name) {
    std::vector<Submission> runs = PlayerFeed(db, name, kFeedCount);
    return Feed("urn:quellstorm-board:player:" + UrlPart(name), "QUELLSTORM board: " + name,
                "/feeds/player/" + UrlPart(name), "/player/" + UrlPart(name), runs, [&name](const Submission& s) {
                    if (s.name != name)  // someone else's record passed this player's
                        return Entry("urn:quellstorm-board:passed:" + s.id, s.name + " beat " + name + "'s record on " +
                                         BoardTitle(s.board),
                                     s.name, *s.verifiedAt, "/entry/" + s.id, RecordText(s) + Tagged(s) + ".");
                    std::string t = name + ": " + FormatScore(s.score.value_or(0)) + " on " + BoardTitle(s.board) +
                                    (s.record ? " (a new record)" : "");
                    return Entry("urn:quellstorm-board:entry:" + s.id, t, name, *s.verifiedAt, "/entry/" + s.id,
                                 t + Tagged(s) + ", verified " + FormatTime(*s.verifiedAt) + ".");
                });
}

void AddFeedRoutes(http::Router& svr, App& app) {
    svr.Get("/feeds/records.atom", [&app](const http::Request&, http::Response& res) {
        res.set_content(app.cached("/feeds/records.atom", RecordsFeed), "application/atom+xml; charset=utf-8");
    });
    svr.Get(R"(/feeds/player/(.+))", [&app](const http::Request& req, http::Response& res) {
        std::string name = req.matches[1], why;
        if (!ValidName(name, why)) return SendError(res, 404, "no player of that name: " + why);
        if (!app.copies.has("/feeds/player/" + name) && !PlayerExists(app.db(), name))
            return SendError(res, 404, "no runs were sent under the name \"" + name + "\"");
        auto feed = app.cached("/feeds/player/" + name, [name](Db& db) {
            return PlayerExists(db, name) ? PlayerFeedXml(db, name) : std::string();
        });
        if (feed->empty()) return SendError(res, 404, "no runs were sent under the name \"" + name + "\"");
        res.set_content(feed, "application/atom+xml; charset=utf-8");
    });
}

}  // namespace board

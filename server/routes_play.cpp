// /play/: the web build's files, so that a board's entries can be watched
// in the browser. How each file is served (its type, its cache rule, its
// ETag, its precompressed siblings) is the web build's manifest.json
// (tools/web/manifest.py), the same one scripts/web-serve.py reads: a name
// the manifest does not hold is not served.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>

#include "app.h"

namespace board {

namespace {

struct Variant {
    std::string file, etag;
};
struct WebFile {
    std::string type;
    bool immutable = false;
    Variant plain;
    std::map<std::string, Variant> encodings;  // "br", "gzip"
};

// The manifest, read again when its file changes (a new build).
class Manifest {
public:
    explicit Manifest(std::string dir) : dir_(std::move(dir)) {}
    // The description of `rel`, or false (`why` says whether the build has
    // no manifest at all).
    bool find(const std::string& rel, WebFile& out, std::string& why) {
        std::lock_guard<std::mutex> g(m_);
        auto now = std::chrono::steady_clock::now();
        if (now - checked_ > std::chrono::seconds(1)) {
            checked_ = now;
            struct stat st;
            int64_t mtime = stat((dir_ + "/manifest.json").c_str(), &st) == 0 ? int64_t(st.st_mtim.tv_sec) * 1000000000 +
                                                                                      st.st_mtim.tv_nsec
                                                                                : -1;
            if (mtime != mtime_) load(mtime);
        }
        if (!loaded_) {
            why = "the web build in " + dir_ + " has no readable manifest.json (make web)";
            return false;
        }
        auto it = files_.find(rel);
        if (it == files_.end()) return false;
        out = it->second;
        return true;
    }

private:
    void load(int64_t mtime) {
        mtime_ = mtime;
        loaded_ = false;
        files_.clear();
        std::ifstream f(dir_ + "/manifest.json");
        json j = json::parse(f, nullptr, false);
        if (j.is_discarded() || !j.is_object() || !j["files"].is_object()) return;
        for (auto& [name, e] : j["files"].items()) {
            if (!e.is_object() || !e["type"].is_string() || !e["etag"].is_string()) continue;
            WebFile w;
            w.type = e["type"];
            w.immutable = e["cache"] == "immutable";
            w.plain = {name, e["etag"]};
            if (e["encodings"].is_object())
                for (auto& [coding, v] : e["encodings"].items())
                    if (v.is_object() && v["file"].is_string() && v["etag"].is_string())
                        w.encodings[coding] = {v["file"], v["etag"]};
            files_[name] = w;
        }
        loaded_ = true;
    }
    std::string dir_;
    std::mutex m_;
    std::chrono::steady_clock::time_point checked_{};
    int64_t mtime_ = -2;
    bool loaded_ = false;
    std::map<std::string, WebFile> files_;
};

bool Accepts(const std::string& acceptEncoding, const char* coding) {
    size_t p = acceptEncoding.find(coding);
    if (p == std::string::npos) return false;
    size_t end = acceptEncoding.find(',', p);
    std::string part = acceptEncoding.substr(p, end == std::string::npos ? std::string::npos : end - p);
    return part.find("q=0") == std::string::npos || part.find("q=0.") != std::string::npos;
}

bool Matches(const std::string& ifNoneMatch, const std::string& etag) {
    if (ifNoneMatch.empty()) return false;
    if (ifNoneMatch.find('*') != std::string::npos) return true;
    return ifNoneMatch.find("\"" + etag + "\"") != std::string::npos;
}

}  // namespace

void AddPlayRoutes(http::Router& svr, App& app) {
    auto manifest = std::make_shared<Manifest>(app.cfg.web);
    svr.Get("/play", [](const http::Request&, http::Response& res) {
        res.status = 301;
        res.set_header("Location", "/play/");
    });
    svr.Get(R"(/play/(.*))", [&app, manifest](const http::Request& req, http::Response& res) {
        if (app.cfg.web.empty())
            return SendError(res, 404, "this board serves no web build (its host starts it with --web DIR)");
        std::string rel = req.matches[1];
        if (rel.empty()) rel = "index.html";
        // Only plain names below the folder: no "..", no hidden files, no
        // backslashes or NUL bytes smuggled through the decoded path.
        for (size_t i = 0; i < rel.size(); ++i) {
            char c = rel[i];
            bool segmentStart = i == 0 || rel[i - 1] == '/';
            if (c == '\\' || c == '\0' || static_cast<unsigned char>(c) < 0x20 || (c == '.' && segmentStart) ||
                (c == '/' && segmentStart))
                return SendError(res, 400, "not a file name of the web build");
        }
        WebFile w;
        std::string why;
        if (!manifest->find(rel, w, why))
            return SendError(res, 404, why.empty() ? "no file " + rel + " in the web build" : why);
        std::string accept = req.get_header_value("Accept-Encoding");
        const Variant* send = &w.plain;
        std::string encoding;
        for (const char* coding : {"br", "gzip"}) {
            auto it = w.encodings.find(coding);
            if (it != w.encodings.end() && Accepts(accept, coding)) {
                send = &it->second;
                encoding = coding;
                break;
            }
        }
        res.set_header("Cache-Control", w.immutable ? "public, max-age=31536000, immutable" : "no-cache");
        res.set_header("Vary", "Accept-Encoding");
        res.set_header("ETag", "\"" + send->etag + "\"");
        if (Matches(req.get_header_value("If-None-Match"), send->etag)) {
            res.status = 304;
            return;
        }
        int fd = open((app.cfg.web + "/" + send->file).c_str(), O_RDONLY | O_CLOEXEC);
        struct stat st;
        if (fd < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            if (fd >= 0) close(fd);
            return SendError(res, 404, "cannot read " + rel + " of the web build");
        }
        if (!encoding.empty()) res.set_header("Content-Encoding", encoding);
        res.set_file(fd, uint64_t(st.st_size), w.type);
    });
}

}  // namespace board

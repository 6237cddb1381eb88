// /play/: the web build's files, so that a board's entries can be watched
// in the browser. A precompressed sibling (.br, .gz) is sent when the
// browser takes it; names that carry a content hash are kept a year,
// index.html is asked for again every time.
#include <fstream>
#include <regex>
#include <sys/stat.h>

#include <cstring>

#include "app.h"

namespace board {

namespace {

const char* MimeType(const std::string& path) {
    static const std::pair<const char*, const char*> types[] = {
        {".html", "text/html; charset=utf-8"}, {".js", "text/javascript"},  {".mjs", "text/javascript"},
        {".wasm", "application/wasm"},         {".css", "text/css"},        {".json", "application/json"},
        {".png", "image/png"},                 {".ogg", "audio/ogg"},                 {".svg", "image/svg+xml"},   {".ico", "image/x-icon"},
        {".txt", "text/plain; charset=utf-8"}, {".webmanifest", "application/manifest+json"}};
    for (auto& [ext, type] : types)
        if (path.size() >= strlen(ext) && path.compare(path.size() - strlen(ext), strlen(ext), ext) == 0) return type;
    return "application/octet-stream";
}

// "qs.3fa9c2e1d0b4a7f6.js", "tunes/3fa9c2e1d0b4a7f6.ogg": a name that
// carries 16 hex digits of its content's hash never changes meaning.
bool HashedName(const std::string& rel) {
    static const std::regex hashed("(^|/)([a-z]+\\.)?[0-9a-f]{16}\\.[a-z0-9]+$");
    return std::regex_search(rel, hashed);
}

bool IsFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool ReadFile(const std::string& path, std::string& out) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return false;
    out.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    return true;
}

bool Accepts(const std::string& acceptEncoding, const char* coding) {
    size_t p = acceptEncoding.find(coding);
    if (p == std::string::npos) return false;
    size_t end = acceptEncoding.find(',', p);
    std::string part = acceptEncoding.substr(p, end == std::string::npos ? std::string::npos : end - p);
    return part.find("q=0") == std::string::npos || part.find("q=0.") != std::string::npos;
}

}  // namespace

void AddPlayRoutes(http::Router& svr, App& app) {
    svr.Get("/play", [](const http::Request&, http::Response& res) {
        res.status = 301;
        res.set_header("Location", "/play/");
    });
    svr.Get(R"(/play/(.*))", [&app](const http::Request& req, http::Response& res) {
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
        std::string path = app.cfg.web + "/" + rel;
        if (!IsFile(path)) return SendError(res, 404, "no file " + rel + " in the web build");
        std::string accept = req.get_header_value("Accept-Encoding"), body, encoding;
        if (Accepts(accept, "br") && ReadFile(path + ".br", body)) encoding = "br";
        else if (Accepts(accept, "gzip") && ReadFile(path + ".gz", body)) encoding = "gzip";
        else if (!ReadFile(path, body)) return SendError(res, 404, "cannot read " + rel);
        std::string name = rel.substr(rel.rfind('/') == std::string::npos ? 0 : rel.rfind('/') + 1);
        if (name == "index.html") res.set_header("Cache-Control", "no-cache");
        else if (HashedName(rel)) res.set_header("Cache-Control", "public, max-age=31536000, immutable");
        else res.set_header("Cache-Control", "no-cache");
        res.set_header("Vary", "Accept-Encoding");
        if (!encoding.empty()) res.set_header("Content-Encoding", encoding);
        res.set_content(std::move(body), MimeType(path));
    });
}

}  // namespace board

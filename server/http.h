// The board's HTTP: libmicrohttpd carries the connections (one epoll loop
// per thread, so a slow or idle client costs a socket and a little memory,
// never a thread), and a thin route layer hands each whole request to a
// handler in the shape the route files are written in:
//
//     router.Get(R"(/entry/([^/]*))", [&](const http::Request& req, http::Response& res) {
//         std::string id = req.matches[1]; ...
//         res.set_content(page, "text/html; charset=utf-8");
//     });
//
// What holds the connections' limits (how long a request may take, how many
// connections an address may hold, the largest body) is in HttpLimits.
#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace board::http {

// Header names compare without regard to case.
struct NoCase {
    bool operator()(const std::string& a, const std::string& b) const;
};
using Headers = std::multimap<std::string, std::string, NoCase>;

// A field of a multipart form (a file or a plain value).
struct FormField {
    std::string content, filename, content_type;
};

struct Request {
    std::string method, path, body;
    std::string remote_addr;  // the client: the peer, or what a trusted proxy forwarded
    std::string peer_addr;    // the connection's own peer
    Headers headers;
    std::multimap<std::string, std::string> params;  // the query's, decoded
    std::map<std::string, FormField> files;          // a multipart form's fields
    std::smatch matches;                             // the route's groups, over `path`

    bool has_header(const std::string& key) const { return headers.count(key) > 0; }
    std::string get_header_value(const std::string& key) const;
    bool has_param(const std::string& key) const { return params.count(key) > 0; }
    std::string get_param_value(const std::string& key) const;
    bool is_multipart_form_data() const;
    bool has_file(const std::string& key) const { return files.count(key) > 0; }
    FormField get_file_value(const std::string& key) const;
};

struct Response {
    int status = 200;
    Headers headers;
    std::string body;
    // A body shared with other answers (the boards' copies): sent as it is.
    std::shared_ptr<const std::string> shared;
    // A file's bytes, sent from its descriptor (which the answer closes).
    int fileFd = -1;
    uint64_t fileSize = 0;
    Response() = default;
    Response(const Response&) = delete;
    Response& operator=(Response&& o) noexcept;
    ~Response();
    void set_header(const std::string& key, const std::string& value);
    void set_content(std::string text, const std::string& type);
    void set_content(std::shared_ptr<const std::string> text, const std::string& type);
    void set_file(int fd, uint64_t size, const std::string& type);
};

using Handler = std::function<void(const Request&, Response&)>;

// Routes by method and whole-path pattern; HEAD is answered as GET.
class Router {
public:
    void Get(const std::string& pattern, Handler h) { add("GET", pattern, std::move(h)); }
    void Post(const std::string& pattern, Handler h) { add("POST", pattern, std::move(h)); }
    // Answers `req` (404 or 405 when no route takes it). An exception from
    // a handler is left to the caller.
    void dispatch(Request& req, Response& res) const;
    // Whether a route of this method takes a body there (read before the
    // handler runs); others are refused before their body is read.
    bool takesBody(const std::string& method, const std::string& path) const;

private:
    struct Route {
        std::string method;
        std::regex pattern;
        Handler handler;
    };
    void add(const std::string& method, const std::string& pattern, Handler h);
    std::vector<Route> routes_;
};

struct HttpLimits {
    int64_t requestSeconds = 10;   // a request from its first byte to its answer's last, and a keep-alive idle
    int64_t maxBodyBytes = 4 << 20;
    int64_t bodiesInMemory = 64 << 20;  // request bodies held at once, all connections together
    int64_t maxConnections = 4000;
    int64_t perAddress = 64;       // connections one address may hold (trusted proxies: no limit)
    int64_t backlog = 4096;
    int64_t threads = 4;
    int64_t headerBytes = 32 * 1024;  // a request's line and headers at most
};

// Which peers may tell the client's address (X-Forwarded-For), and how
// addresses are grouped: an IPv6 client is its /64.
class Peers {
public:
    // Parses "ADDR" or "ADDR/BITS"; false on a bad one.
    bool trust(const std::string& net);
    bool trusted(const std::string& addr) const;
    // The client of a request: the peer, unless the peer is trusted, then
    // the nearest untrusted address of X-Forwarded-For.
    std::string client(const std::string& peer, const std::string& forwardedFor) const;
    // The key under which an address is counted (IPv6: its /64).
    static std::string bucket(const std::string& addr);

private:
    struct Net {
        int family;
        unsigned char bytes[16];
        int bits;
    };
    std::vector<Net> nets_;
};

// An access log line per answered request, or nothing.
class AccessLog {
public:
    // "" none, "-" standard output, else a file appended to.
    bool open(const std::string& where, std::string& error);
    void write(const Request& req, int status, size_t bytes, double ms);
    ~AccessLog();

private:
    std::mutex m_;
    FILE* f_ = nullptr;
    bool own_ = false;
};

class Server {
public:
    // `onError` turns a handler's exception into an answer.
    Server(const Router& router, const HttpLimits& limits, const Peers& peers, AccessLog& log,
           std::function<void(std::exception_ptr, Response&)> onError);
    ~Server();
    // Listens on host:port (port 0: any); the port listened on, or -1 with
    // the reason in `error`.
    int start(const std::string& host, int port, std::string& error);
    // Stops listening and closes every connection.
    void stop();

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace board::http

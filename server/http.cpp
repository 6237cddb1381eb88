#include "http.h"

#include <arpa/inet.h>
#include <malloc.h>
#include <microhttpd.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <condition_variable>
#include <cstring>
#include <ctime>
#include <thread>

namespace board::http {

bool NoCase::operator()(const std::string& a, const std::string& b) const {
    return strcasecmp(a.c_str(), b.c_str()) < 0;
}

std::string Request::get_header_value(const std::string& key) const {
    auto it = headers.find(key);
    return it == headers.end() ? std::string() : it->second;
}

std::string Request::get_param_value(const std::string& key) const {
    auto it = params.find(key);
    return it == params.end() ? std::string() : it->second;
}

bool Request::is_multipart_form_data() const {
    return strncasecmp(get_header_value("Content-Type").c_str(), "multipart/form-data", 19) == 0;
}

FormField Request::get_file_value(const std::string& key) const {
    auto it = files.find(key);
    return it == files.end() ? FormField{} : it->second;
}

Response& Response::operator=(Response&& o) noexcept {
    if (fileFd >= 0) close(fileFd);
    status = o.status;
    headers = std::move(o.headers);
    body = std::move(o.body);
    shared = std::move(o.shared);
    fileFd = o.fileFd;
    fileSize = o.fileSize;
    o.fileFd = -1;
    return *this;
}

Response::~Response() {
    if (fileFd >= 0) close(fileFd);
}

void Response::set_file(int fd, uint64_t size, const std::string& type) {
    body.clear();
    shared.reset();
    if (fileFd >= 0) close(fileFd);
    fileFd = fd;
    fileSize = size;
    set_header("Content-Type", type);
}

void Response::set_header(const std::string& key, const std::string& value) {
    headers.erase(key);
    headers.emplace(key, value);
}

void Response::set_content(std::string text, const std::string& type) {
    body = std::move(text);
    shared.reset();
    set_header("Content-Type", type);
}

void Response::set_content(std::shared_ptr<const std::string> text, const std::string& type) {
    body.clear();
    shared = std::move(text);
    set_header("Content-Type", type);
}

void Router::add(const std::string& method, const std::string& pattern, Handler h) {
    routes_.push_back(Route{method, std::regex(pattern), std::move(h)});
}

void Router::dispatch(Request& req, Response& res) const {
    const std::string method = req.method == "HEAD" ? "GET" : req.method;
    bool pathKnown = false;
    for (const Route& r : routes_) {
        std::smatch m;
        if (!std::regex_match(req.path, m, r.pattern)) continue;
        pathKnown = true;
        if (r.method != method) continue;
        req.matches = std::move(m);
        r.handler(req, res);
        return;
    }
    res.status = pathKnown ? 405 : 404;
}

bool Router::takesBody(const std::string& method, const std::string& path) const {
    for (const Route& r : routes_)
        if (r.method == method && r.method != "GET" && std::regex_match(path, r.pattern)) return true;
    return false;
}

// ---- addresses ----

namespace {

bool ParseAddress(const std::string& text, int& family, unsigned char* bytes) {
    if (inet_pton(AF_INET, text.c_str(), bytes) == 1) {
        family = AF_INET;
        return true;
    }
    if (inet_pton(AF_INET6, text.c_str(), bytes) == 1) {
        // An IPv4 client seen through an IPv6 socket is that IPv4 client.
        static const unsigned char mapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};
        if (memcmp(bytes, mapped, 12) == 0) {
            memmove(bytes, bytes + 12, 4);
            family = AF_INET;
        } else {
            family = AF_INET6;
        }
        return true;
    }
    return false;
}

std::string Trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

std::string SockaddrText(const sockaddr* sa) {
    char buf[INET6_ADDRSTRLEN] = "";
    if (!sa) return "";
    if (sa->sa_family == AF_INET) inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(sa)->sin_addr, buf, sizeof buf);
    else if (sa->sa_family == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(sa)->sin6_addr, buf, sizeof buf);
    std::string s = buf;
    if (s.rfind("::ffff:", 0) == 0 && s.find('.') != std::string::npos) s = s.substr(7);
    return s;
}

}  // namespace

bool Peers::trust(const std::string& net) {
    Net n{};
    size_t slash = net.find('/');
    std::string addr = net.substr(0, slash);
    if (!ParseAddress(addr, n.family, n.bytes)) return false;
    int max = n.family == AF_INET ? 32 : 128;
    n.bits = max;
    if (slash != std::string::npos) {
        std::string b = net.substr(slash + 1);
        if (b.empty() || b.size() > 3 || b.find_first_not_of("0123456789") != std::string::npos) return false;
        n.bits = atoi(b.c_str());
        if (n.bits > max) return false;
    }
    nets_.push_back(n);
    return true;
}

bool Peers::trusted(const std::string& addr) const {
    int family;
    unsigned char b[16];
    if (nets_.empty() || !ParseAddress(addr, family, b)) return false;
    for (const Net& n : nets_) {
        if (n.family != family) continue;
        int full = n.bits / 8, rest = n.bits % 8;
        if (memcmp(b, n.bytes, size_t(full)) != 0) continue;
        if (rest && ((b[full] ^ n.bytes[full]) & (0xff << (8 - rest)) & 0xff)) continue;
        return true;
    }
    return false;
}

std::string Peers::client(const std::string& peer, const std::string& forwardedFor) const {
    if (forwardedFor.empty() || !trusted(peer)) return peer;
    // Each proxy appends the address it was reached from: the nearest
    // address that is not one of ours is the client's.
    std::string rest = forwardedFor;
    while (!rest.empty()) {
        size_t comma = rest.rfind(',');
        std::string a = Trim(comma == std::string::npos ? rest : rest.substr(comma + 1));
        rest = comma == std::string::npos ? std::string() : rest.substr(0, comma);
        int family;
        unsigned char b[16];
        if (!ParseAddress(a, family, b)) return peer;  // not an address: trust nothing of it
        if (!trusted(a)) {
            char buf[INET6_ADDRSTRLEN] = "";
            inet_ntop(family, b, buf, sizeof buf);
            return buf;
        }
    }
    return peer;
}

std::string Peers::bucket(const std::string& addr) {
    int family;
    unsigned char b[16];
    if (!ParseAddress(addr, family, b)) return addr;
    char buf[INET6_ADDRSTRLEN] = "";
    if (family == AF_INET) {
        inet_ntop(AF_INET, b, buf, sizeof buf);
        return buf;
    }
    // One IPv6 subscriber is given a /64 at least: it is one client.
    memset(b + 8, 0, 8);
    inet_ntop(AF_INET6, b, buf, sizeof buf);
    return std::string(buf) + "/64";
}

// ---- the access log ----

bool AccessLog::open(const std::string& where, std::string& error) {
    if (where.empty()) return true;
    if (where == "-") {
        f_ = stdout;
        return true;
    }
    f_ = fopen(where.c_str(), "ae");
    if (!f_) {
        error = "cannot open the access log " + where + ": " + strerror(errno);
        return false;
    }
    own_ = true;
    return true;
}

AccessLog::~AccessLog() {
    if (own_ && f_) fclose(f_);
}

void AccessLog::write(const Request& req, int status, size_t bytes, double ms) {
    if (!f_) return;
    // The path is the client's: nothing in it may start a line of its own.
    std::string path;
    for (unsigned char c : req.path) {
        if (c < 0x20 || c == 0x7f || c == '"' || c == '\\') {
            char e[8];
            snprintf(e, sizeof e, "\\x%02x", c);
            path += e;
        } else {
            path += char(c);
        }
    }
    if (path.size() > 512) path = path.substr(0, 512) + "...";
    char when[32];
    time_t t = time(nullptr);
    struct tm tm;
    gmtime_r(&t, &tm);
    strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%SZ", &tm);
    std::lock_guard<std::mutex> g(m_);
    fprintf(f_, "%s %s \"%s %s\" %d %zu %.1fms\n", when, req.remote_addr.c_str(), req.method.c_str(), path.c_str(),
            status, bytes, ms);
    fflush(f_);
}

// ---- the server ----

// One TCP connection. Its deadline covers a whole request, from the first
// byte (or the end of the previous answer) to the last byte of the answer.
struct Conn {
    int fd = -1;
    std::string peer, bucket;
    bool counted = false;
    std::chrono::steady_clock::time_point deadline;
    bool busy = false;  // a handler runs: the board's time, not the client's
    bool cut = false;
};

// One request, from its headers to its answer.
struct Call {
    Request req;
    Conn* conn = nullptr;
    MHD_PostProcessor* form = nullptr;
    bool urlencoded = false;
    bool bodyExpected = false;
    bool refused = false;
    bool tooLarge = false;  // read past and dropped, then refused with 413
    int64_t received = 0, reserved = 0;
    std::chrono::steady_clock::time_point started;
};

struct Server::Impl {
    const Router& router;
    HttpLimits limits;
    const Peers& peers;
    AccessLog& log;
    std::function<void(std::exception_ptr, Response&)> onError;
    MHD_Daemon* daemon = nullptr;
    std::mutex m;
    std::set<Conn*> conns;
    std::map<std::string, int64_t> perAddress;
    std::atomic<int64_t> bodyBytes{0};
    std::mutex sweepM;
    std::condition_variable sweepCv;
    bool stopping = false;
    std::thread sweeper;

    Impl(const Router& r, const HttpLimits& l, const Peers& p, AccessLog& a,
         std::function<void(std::exception_ptr, Response&)> e)
        : router(r), limits(l), peers(p), log(a), onError(std::move(e)) {}

    std::chrono::steady_clock::time_point nextDeadline() const {
        return std::chrono::steady_clock::now() + std::chrono::seconds(limits.requestSeconds);
    }

    // How far past the limit a body is read to answer 413 rather than to
    // close the connection on a client that sends before it reads.
    int64_t drainLimit() const { return limits.maxBodyBytes * 2 + (1 << 20); }

    void release(Call& call) {
        if (call.reserved) bodyBytes -= call.reserved;
        call.reserved = 0;
    }

    MHD_Result queue(MHD_Connection* c, Call& call, Response& res) {
        const std::string* body = res.shared ? res.shared.get() : &res.body;
        size_t bytes = body->size();
        MHD_Response* r;
        if (res.fileFd >= 0) {
            // The library reads the file as it sends it, and closes it.
            bytes = size_t(res.fileSize);
            r = MHD_create_response_from_fd64(res.fileSize, res.fileFd);
            if (r) res.fileFd = -1;
        } else if (res.shared) {
            auto* keep = new std::shared_ptr<const std::string>(res.shared);
            r = MHD_create_response_from_buffer_with_free_callback_cls(
                body->size(), const_cast<char*>(body->data()),
                [](void* p) { delete static_cast<std::shared_ptr<const std::string>*>(p); }, keep);
            if (!r) delete keep;
        } else {
            auto* owned = new std::string(std::move(res.body));
            body = owned;
            r = MHD_create_response_from_buffer_with_free_callback_cls(
                owned->size(), const_cast<char*>(owned->data()), [](void* p) { delete static_cast<std::string*>(p); },
                owned);
            if (!r) delete owned;
        }
        if (!r) return MHD_NO;
        for (auto& [k, v] : res.headers) MHD_add_response_header(r, k.c_str(), v.c_str());
        if (call.refused) MHD_add_response_header(r, MHD_HTTP_HEADER_CONNECTION, "close");
        MHD_Result ok = MHD_queue_response(c, unsigned(res.status), r);
        MHD_destroy_response(r);
        double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - call.started).count();
        log.write(call.req, res.status, res.status == 304 ? 0 : bytes, ms);
        release(call);
        return ok;
    }

    // A refusal made here rather than by a route.
    MHD_Result refuse(MHD_Connection* c, Call& call, int status, const std::string& why, int retryAfter = 0) {
        Response res;
        res.status = status;
        call.refused = true;
        if (why.empty()) onError(nullptr, res);  // the board's wording for the status
        else res.set_content("{\"error\":\"" + why + "\"}", "application/json");  // our own plain texts
        if (retryAfter) res.set_header("Retry-After", std::to_string(retryAfter));
        return queue(c, call, res);
    }

    MHD_Result answer(MHD_Connection* c, Call& call) {
        Response res;
        {
            std::lock_guard<std::mutex> g(m);
            if (call.conn) call.conn->busy = true;
        }
        try {
            router.dispatch(call.req, res);
        } catch (...) {
            res = Response();
            onError(std::current_exception(), res);
        }
        if (res.status == 404 || res.status == 405) {
            if (res.body.empty() && !res.shared)
                onError(nullptr, res);  // the route layer's own 404/405: the board's wording
        }
        {
            std::lock_guard<std::mutex> g(m);
            if (call.conn) {
                call.conn->busy = false;
                call.conn->deadline = nextDeadline();  // the answer's own time to go out
            }
        }
        return queue(c, call, res);
    }
};

namespace {

MHD_Result CollectHeader(void* cls, MHD_ValueKind, const char* key, const char* value) {
    static_cast<Headers*>(cls)->emplace(key, value ? value : "");
    return MHD_YES;
}

MHD_Result CollectParam(void* cls, MHD_ValueKind, const char* key, const char* value) {
    static_cast<std::multimap<std::string, std::string>*>(cls)->emplace(key, value ? value : "");
    return MHD_YES;
}

MHD_Result FormPart(void* cls, MHD_ValueKind, const char* key, const char* filename, const char* contentType,
                    const char*, const char* data, uint64_t, size_t size) {
    auto* call = static_cast<Call*>(cls);
    if (!key) return MHD_YES;
    if (call->urlencoded) {
        // A plain form's fields are parameters, as the query's are.
        auto it = call->req.params.find(key);
        if (it == call->req.params.end()) it = call->req.params.emplace(key, "");
        it->second.append(data, size);
        return MHD_YES;
    }
    FormField& f = call->req.files[key];
    if (filename && f.filename.empty()) f.filename = filename;
    if (contentType && f.content_type.empty()) f.content_type = contentType;
    f.content.append(data, size);
    return MHD_YES;
}

MHD_Result Access(void* cls, MHD_Connection* c, const char* url, const char* method, const char*, const char* upload,
                  size_t* uploadSize, void** callCls) {
    auto* s = static_cast<Server::Impl*>(cls);
    auto* call = static_cast<Call*>(*callCls);
    if (!call) {
        call = new Call;
        *callCls = call;
        call->started = std::chrono::steady_clock::now();
        const MHD_ConnectionInfo* info = MHD_get_connection_info(c, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
        call->conn = info ? static_cast<Conn*>(info->socket_context) : nullptr;
        Request& req = call->req;
        req.method = method;
        req.path = url;
        MHD_get_connection_values(c, MHD_HEADER_KIND, CollectHeader, &req.headers);
        MHD_get_connection_values(c, MHD_GET_ARGUMENT_KIND, CollectParam, &req.params);
        req.peer_addr = call->conn ? call->conn->peer : "";
        req.remote_addr = s->peers.client(req.peer_addr, req.get_header_value("X-Forwarded-For"));

        std::string length = req.get_header_value("Content-Length");
        bool chunked = strcasestr(req.get_header_value("Transfer-Encoding").c_str(), "chunked") != nullptr;
        int64_t announced = length.empty() ? -1 : strtoll(length.c_str(), nullptr, 10);
        call->bodyExpected = chunked || announced > 0;
        // Answered on the next call, once the request is whole: an answer
        // given before that closes the connection.
        if (!call->bodyExpected) return MHD_YES;
        // A body is read only for a route that takes one, only up to the
        // limit, and only while the bodies held at once leave room for it.
        if (!s->router.takesBody(req.method, req.path)) {
            Response res;
            s->router.dispatch(req, res);  // 404 or 405 without reading the body
            if (res.body.empty() && !res.shared) s->onError(nullptr, res);
            call->refused = true;
            return s->queue(c, *call, res);
        }
        if (announced > s->limits.maxBodyBytes) {
            // A client that waits for "100 Continue" is told at once. Others
            // send the body before they read: a body not much larger than the
            // limit is read past so that they see the answer, a larger one
            // is refused with the connection closed.
            if (strcasecmp(req.get_header_value("Expect").c_str(), "100-continue") == 0 || announced > s->drainLimit())
                return s->refuse(c, *call, 413, "");
            call->tooLarge = true;
            return MHD_YES;
        }
        int64_t want = announced > 0 ? announced : s->limits.maxBodyBytes;
        if (s->bodyBytes.fetch_add(want) + want > s->limits.bodiesInMemory) {
            s->bodyBytes -= want;
            return s->refuse(c, *call, 503, "the board is receiving many uploads at once: try again in a few seconds", 5);
        }
        call->reserved = want;
        std::string type = req.get_header_value("Content-Type");
        call->urlencoded = strncasecmp(type.c_str(), "application/x-www-form-urlencoded", 33) == 0;
        if (req.is_multipart_form_data() || call->urlencoded) {
            call->form = MHD_create_post_processor(c, 16 * 1024, FormPart, call);
            if (!call->form) return s->refuse(c, *call, 400, "the form's encoding is not understood");
        }
        return MHD_YES;
    }
    if (*uploadSize > 0) {
        call->received += int64_t(*uploadSize);
        if (call->received > s->limits.maxBodyBytes && !call->tooLarge) {
            // Too large, found while reading (a chunked body announces no
            // length): what was kept is dropped at once.
            call->tooLarge = true;
            call->req.body = std::string();
            call->req.files.clear();
            s->release(*call);
        }
        if (call->tooLarge) {
            *uploadSize = 0;
            if (call->received <= s->drainLimit()) return MHD_YES;
            double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - call->started).count();
            s->log.write(call->req, 413, 0, ms);
            return MHD_NO;  // far too large: closed, nothing more read
        }
        if (call->form) {
            if (MHD_post_process(call->form, upload, *uploadSize) != MHD_YES) call->refused = true;
        } else {
            call->req.body.append(upload, *uploadSize);
        }
        *uploadSize = 0;
        return MHD_YES;
    }
    if (call->tooLarge) return s->refuse(c, *call, 413, "");
    if (call->refused) return s->refuse(c, *call, 400, "the form's encoding is not understood");
    return s->answer(c, *call);
}

void Completed(void* cls, MHD_Connection*, void** callCls, MHD_RequestTerminationCode) {
    auto* s = static_cast<Server::Impl*>(cls);
    auto* call = static_cast<Call*>(*callCls);
    if (!call) return;
    if (call->form) MHD_destroy_post_processor(call->form);
    s->release(*call);
    {
        std::lock_guard<std::mutex> g(s->m);
        if (call->conn) call->conn->deadline = s->nextDeadline();  // the next request's, idle time included
    }
    delete call;
    *callCls = nullptr;
}

void Notify(void* cls, MHD_Connection* c, void** socketCls, MHD_ConnectionNotificationCode toe) {
    auto* s = static_cast<Server::Impl*>(cls);
    if (toe == MHD_CONNECTION_NOTIFY_STARTED) {
        auto* conn = new Conn;
        const MHD_ConnectionInfo* fd = MHD_get_connection_info(c, MHD_CONNECTION_INFO_CONNECTION_FD);
        const MHD_ConnectionInfo* addr = MHD_get_connection_info(c, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
        conn->fd = fd ? fd->connect_fd : -1;
        conn->peer = addr ? SockaddrText(addr->client_addr) : "";
        conn->bucket = Peers::bucket(conn->peer);
        conn->deadline = s->nextDeadline();
        std::lock_guard<std::mutex> g(s->m);
        s->conns.insert(conn);
        if (!s->peers.trusted(conn->peer)) {
            ++s->perAddress[conn->bucket];
            conn->counted = true;
        }
        *socketCls = conn;
        return;
    }
    auto* conn = static_cast<Conn*>(*socketCls);
    if (!conn) return;
    {
        std::lock_guard<std::mutex> g(s->m);
        s->conns.erase(conn);
        if (conn->counted) {
            auto it = s->perAddress.find(conn->bucket);
            if (it != s->perAddress.end() && --it->second <= 0) s->perAddress.erase(it);
        }
    }
    delete conn;
    *socketCls = nullptr;
}

MHD_Result Policy(void* cls, const sockaddr* addr, socklen_t) {
    auto* s = static_cast<Server::Impl*>(cls);
    std::string peer = SockaddrText(addr);
    if (s->peers.trusted(peer)) return MHD_YES;
    std::lock_guard<std::mutex> g(s->m);
    auto it = s->perAddress.find(Peers::bucket(peer));
    return it != s->perAddress.end() && it->second >= s->limits.perAddress ? MHD_NO : MHD_YES;
}

}  // namespace

Server::Server(const Router& router, const HttpLimits& limits, const Peers& peers, AccessLog& log,
               std::function<void(std::exception_ptr, Response&)> onError)
    : impl_(std::make_unique<Impl>(router, limits, peers, log, std::move(onError))) {}

Server::~Server() { stop(); }

int Server::start(const std::string& host, int port, std::string& error) {
    Impl& s = *impl_;
    addrinfo hints{}, *found = nullptr;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV | AI_PASSIVE;
    std::string h = host;
    if (h.size() > 2 && h.front() == '[' && h.back() == ']') h = h.substr(1, h.size() - 2);
    std::string p = std::to_string(port);
    if (int e = getaddrinfo(h.empty() ? nullptr : h.c_str(), p.c_str(), &hints, &found)) {
        error = "cannot listen on " + host + ": " + gai_strerror(e);
        return -1;
    }
    sockaddr_storage sa{};
    memcpy(&sa, found->ai_addr, found->ai_addrlen);
    int family = found->ai_family;
    freeaddrinfo(found);

    unsigned flags = MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_EPOLL | MHD_USE_TURBO;
    if (family == AF_INET6) flags |= MHD_USE_IPv6;
    s.daemon = MHD_start_daemon(
        flags, uint16_t(port), Policy, &s, Access, &s,
        MHD_OPTION_SOCK_ADDR, reinterpret_cast<sockaddr*>(&sa),
        MHD_OPTION_THREAD_POOL_SIZE, unsigned(s.limits.threads),
        MHD_OPTION_CONNECTION_LIMIT, unsigned(s.limits.maxConnections),
        MHD_OPTION_CONNECTION_TIMEOUT, unsigned(s.limits.requestSeconds),
        MHD_OPTION_CONNECTION_MEMORY_LIMIT, size_t(s.limits.headerBytes),
        MHD_OPTION_LISTEN_BACKLOG_SIZE, unsigned(s.limits.backlog),
        MHD_OPTION_NOTIFY_COMPLETED, Completed, &s,
        MHD_OPTION_NOTIFY_CONNECTION, Notify, &s,
        MHD_OPTION_SIGPIPE_HANDLED_BY_APP, 1,
        MHD_OPTION_END);
    if (!s.daemon) {
        error = "cannot listen on " + host + ":" + std::to_string(port) + ": " + strerror(errno ? errno : EADDRINUSE);
        return -1;
    }
    const MHD_DaemonInfo* info = MHD_get_daemon_info(s.daemon, MHD_DAEMON_INFO_BIND_PORT);
    int bound = info ? int(info->port) : port;
    s.stopping = false;
    s.sweeper = std::thread([&s] {
        // Every half second: a connection past its deadline is cut, unless a
        // handler is at work on it.
        std::unique_lock<std::mutex> l(s.sweepM);
        size_t most = 0;
        while (!s.stopping) {
            s.sweepCv.wait_for(l, std::chrono::milliseconds(500));
            auto now = std::chrono::steady_clock::now();
            std::lock_guard<std::mutex> g(s.m);
            // A crowd of connections gone: the memory their buffers held
            // goes back to the system rather than staying with the board.
            most = std::max(most, s.conns.size());
            if (most > s.conns.size() + 256) {
                malloc_trim(0);
                most = s.conns.size();
            }
            for (Conn* c : s.conns) {
                if (c->busy || c->cut || now < c->deadline || c->fd < 0) continue;
                // The socket is still this connection's: the library closes
                // it only after telling us (and we hold the lock).
                sockaddr_storage peer{};
                socklen_t len = sizeof peer;
                if (getpeername(c->fd, reinterpret_cast<sockaddr*>(&peer), &len) != 0 ||
                    SockaddrText(reinterpret_cast<sockaddr*>(&peer)) != c->peer)
                    continue;
                shutdown(c->fd, SHUT_RDWR);
                c->cut = true;
            }
        }
    });
    return bound;
}

void Server::stop() {
    Impl& s = *impl_;
    if (!s.daemon) return;
    {
        std::lock_guard<std::mutex> g(s.sweepM);
        s.stopping = true;
    }
    s.sweepCv.notify_all();
    if (s.sweeper.joinable()) s.sweeper.join();
    MHD_stop_daemon(s.daemon);
    s.daemon = nullptr;
}

}  // namespace board::http

// HTTP service: one request at a time, in the background. The desktop
// build runs it on libcurl's multi interface, so starting and following a
// request never waits; the browser build has none (the page talks to its
// board itself) and every request fails at once.
#pragma once
#include <cstddef>
#include <string>

enum PlatHttpState {
    HTTP_NONE,     // no request
    HTTP_RUNNING,  // on its way
    HTTP_DONE,     // answered: Plat_HttpStatus, Plat_HttpBody
    HTTP_FAILED,   // no answer: Plat_HttpFailure, Plat_HttpError
};

// Why a request got no answer.
enum PlatHttpFailure {
    HTTPF_NONE,
    HTTPF_UNREACHABLE,  // no such host, connection refused, no network
    HTTPF_TIMEOUT,      // no connection or no whole answer in time
    HTTPF_OTHER,        // anything else (Plat_HttpError says what)
};

// Starts a request (GET without a body, POST with `body` as
// application/octet-stream), dropping any request still running. The
// bytes are copied. An answer larger than 1 MB is cut off and fails.
// False when it cannot even start (Plat_HttpError says why).
bool Plat_HttpBegin(const char* method, const std::string& url, const void* body, size_t size, long timeoutMs);
// Moves the request on. `waitMs` 0: never waits (once a frame); more: waits
// up to that long for the network to have something. The request's state.
PlatHttpState Plat_HttpPoll(int waitMs);
long Plat_HttpStatus();
const std::string& Plat_HttpBody();
PlatHttpFailure Plat_HttpFailure();
const char* Plat_HttpError();
// Drops the request (and its connection).
void Plat_HttpCancel();
// Connections opened so far in this run.
long Plat_HttpConnections();

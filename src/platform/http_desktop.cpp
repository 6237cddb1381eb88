// HTTP service on libcurl's multi interface (the desktop's; a page sends
// games to its board itself, http_web.cpp).
#include "platform/http.h"

#include <cstring>
#include <curl/curl.h>

namespace {

const size_t kMaxAnswer = 1 << 20;

CURLM* sMulti;
CURL* sEasy;
PlatHttpState sState;
long sStatus;
std::string sBody, sUpload;
PlatHttpFailure sFailure;
char sError[CURL_ERROR_SIZE];
long sConnections;

size_t OnData(char* data, size_t size, size_t n, void*) {
    if (sBody.size() + size * n > kMaxAnswer) return 0;  // ends the transfer with an error
    sBody.append(data, size * n);
    return size * n;
}

// Every socket curl opens passes here before it connects.
int OnSocket(void*, curl_socket_t, curlsocktype) {
    sConnections++;
    return CURL_SOCKOPT_OK;
}

}  // namespace

void Plat_HttpCancel() {
    if (sEasy) {
        curl_multi_remove_handle(sMulti, sEasy);
        curl_easy_cleanup(sEasy);
        sEasy = nullptr;
    }
    sState = HTTP_NONE;
}

bool Plat_HttpBegin(const char* method, const std::string& url, const void* body, size_t size, long timeoutMs) {
    Plat_HttpCancel();
    sBody.clear();
    sStatus = 0;
    sFailure = HTTPF_NONE;
    sError[0] = 0;
    // The library is set up on the first request only: a run that never
    // sends anything never starts it.
    if (!sMulti) {
        if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK || !(sMulti = curl_multi_init())) {
            std::strcpy(sError, "the network library cannot start");
            return false;
        }
    }
    sEasy = curl_easy_init();
    if (!sEasy) {
        std::strcpy(sError, "the network library cannot start");
        return false;
    }
    curl_easy_setopt(sEasy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(sEasy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(sEasy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(sEasy, CURLOPT_CONNECTTIMEOUT_MS, timeoutMs < 5000 ? timeoutMs : 5000L);
    curl_easy_setopt(sEasy, CURLOPT_TIMEOUT_MS, timeoutMs);
    curl_easy_setopt(sEasy, CURLOPT_ERRORBUFFER, sError);
    curl_easy_setopt(sEasy, CURLOPT_WRITEFUNCTION, OnData);
    curl_easy_setopt(sEasy, CURLOPT_SOCKOPTFUNCTION, OnSocket);
    curl_easy_setopt(sEasy, CURLOPT_USERAGENT, "quellstorm");
    if (!std::strcmp(method, "POST")) {
        sUpload.assign(static_cast<const char*>(body), size);
        static curl_slist* headers = curl_slist_append(nullptr, "Content-Type: application/octet-stream");
        curl_easy_setopt(sEasy, CURLOPT_HTTPHEADER, headers);
        curl_easy_setopt(sEasy, CURLOPT_POSTFIELDS, sUpload.data());
        curl_easy_setopt(sEasy, CURLOPT_POSTFIELDSIZE_LARGE, (curl_off_t)sUpload.size());
    }
    if (curl_multi_add_handle(sMulti, sEasy) != CURLM_OK) {
        curl_easy_cleanup(sEasy);
        sEasy = nullptr;
        std::strcpy(sError, "the network library cannot start");
        return false;
    }
    sState = HTTP_RUNNING;
    return true;
}

PlatHttpState Plat_HttpPoll(int waitMs) {
    if (sState != HTTP_RUNNING) return sState;
    int running = 0;
    curl_multi_perform(sMulti, &running);
    if (running && waitMs > 0) {
        curl_multi_poll(sMulti, nullptr, 0, waitMs, nullptr);
        curl_multi_perform(sMulti, &running);
    }
    int left;
    while (CURLMsg* m = curl_multi_info_read(sMulti, &left)) {
        if (m->msg != CURLMSG_DONE || m->easy_handle != sEasy) continue;
        CURLcode rc = m->data.result;
        if (rc == CURLE_OK) {
            curl_easy_getinfo(sEasy, CURLINFO_RESPONSE_CODE, &sStatus);
            sState = HTTP_DONE;
        } else {
            sState = HTTP_FAILED;
            sFailure = rc == CURLE_OPERATION_TIMEDOUT                                         ? HTTPF_TIMEOUT
                       : rc == CURLE_COULDNT_CONNECT || rc == CURLE_COULDNT_RESOLVE_HOST ||
                                 rc == CURLE_COULDNT_RESOLVE_PROXY                            ? HTTPF_UNREACHABLE
                                                                                              : HTTPF_OTHER;
            if (!sError[0]) std::snprintf(sError, sizeof sError, "%s", curl_easy_strerror(rc));
        }
        curl_multi_remove_handle(sMulti, sEasy);
        curl_easy_cleanup(sEasy);
        sEasy = nullptr;
    }
    return sState;
}

long Plat_HttpStatus() { return sStatus; }
const std::string& Plat_HttpBody() { return sBody; }
PlatHttpFailure Plat_HttpFailure() { return sFailure; }
const char* Plat_HttpError() { return sError; }
long Plat_HttpConnections() { return sConnections; }

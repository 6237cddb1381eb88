// No HTTP of the program's own in a page: the page sends games to the
// board it is served by itself (web/board.js).
#include "platform/http.h"

static std::string sNone;
bool Plat_HttpBegin(const char*, const std::string&, const void*, size_t, long) { return false; }
PlatHttpState Plat_HttpPoll(int) { return HTTP_NONE; }
long Plat_HttpStatus() { return 0; }
const std::string& Plat_HttpBody() { return sNone; }
PlatHttpFailure Plat_HttpFailure() { return HTTPF_OTHER; }
const char* Plat_HttpError() { return "the page sends games to its board itself"; }
void Plat_HttpCancel() {}
long Plat_HttpConnections() { return 0; }

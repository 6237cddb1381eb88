// The replay reader on arbitrary text.
#include "config/replayfile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ReplayParsed parsed;
    ReplayFile_Parse(reinterpret_cast<const char*>(data), size, "fuzz", &parsed, true);
    return 0;
}

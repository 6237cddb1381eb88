// The replay reader on arbitrary text.
#include "shell/replay.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ReplayQuiet = true;  // bad lines are reported; keep the run quiet
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Replay_Parse(reinterpret_cast<const char*>(data), size, "fuzz");
    return 0;
}

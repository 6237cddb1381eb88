// The score file reader on arbitrary bytes: reading any file and writing
// it back must give a record that reads back the same.
#include <cstring>

#include "game/score.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DAT d;
    std::memset(&d, 0x5A, sizeof d);
    DatFromBytes(d, data, size);
    if (std::memchr(d.scoretext, 0, sizeof d.scoretext) == nullptr) __builtin_trap();
    if (std::memchr(d.hiscoretext, 0, sizeof d.hiscoretext) == nullptr) __builtin_trap();
    uint8_t a[DAT_SIZE], b[DAT_SIZE];
    DatToBytes(d, a);
    DAT e;
    DatFromBytes(e, a, sizeof a);
    DatToBytes(e, b);
    if (std::memcmp(a, b, sizeof a) != 0) __builtin_trap();
    return 0;
}

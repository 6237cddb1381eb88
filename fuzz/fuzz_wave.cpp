// The WAV chunk reader on arbitrary bytes.
#include "sound/wave.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WaveInfo info;
    if (Wave_Parse(data, size, &info) == WAVE_OK) {
        // What the reader hands on must lie inside the file.
        if (info.dataOffset > size || info.dataSize > size - info.dataOffset) __builtin_trap();
    }
    return 0;
}

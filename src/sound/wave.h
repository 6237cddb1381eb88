// Reading the RIFF structure of a WAV file, step by step as the old
// multimedia file reader walked it.
#pragma once
#include <cstddef>
#include <cstdint>

enum WaveResult {
    WAVE_OK = 0,
    WAVE_NO_RIFF,     // no RIFF chunk of form WAVE
    WAVE_NO_FORMAT,   // no chunk where the format chunk should be
    WAVE_SHORT_FORMAT,  // fewer than 18 format bytes
    WAVE_NOT_PCM,     // format tag other than 1
    WAVE_BAD_ASCENT,  // cannot step out of the format chunk
    WAVE_NO_DATA,     // no data chunk
    WAVE_SHORT_DATA,  // the data chunk claims more than the file holds
};

struct WaveInfo {
    uint16_t tag, channels;
    uint32_t rate, byteRate;
    uint16_t blockAlign, bits, extra;
    size_t dataOffset, dataSize;
};

// Parses `n` bytes of a WAV file. The data is not copied: on success
// `info` says where it lies in `buf`.
WaveResult Wave_Parse(const uint8_t* buf, size_t n, WaveInfo* info);
// The game's own message for a result.
const char* Wave_Message(WaveResult r);
// What is wrong with the file, in plain words, for standard error.
const char* Wave_Problem(WaveResult r);

#include "sound/wave.h"

#include <cstring>

static uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24; }
static uint16_t Le16(const uint8_t* p) { return (uint16_t)(p[0] | p[1] << 8); }

// The next chunk boundary after a chunk of `size` data bytes starting at
// `data`: chunks are padded to even sizes.
static size_t ChunkEnd(size_t data, uint32_t size) { return data + (size_t)size + (size & 1); }

WaveResult Wave_Parse(const uint8_t* buf, size_t n, WaveInfo* info) {
    std::memset(info, 0, sizeof *info);
    // Find the RIFF chunk of form WAVE among the top-level chunks.
    size_t pos = 0, riffEnd = 0, inner = 0;
    bool found = false;
    while (pos + 12 <= n) {
        uint32_t size = Le32(buf + pos + 4);
        if (std::memcmp(buf + pos, "RIFF", 4) == 0 && std::memcmp(buf + pos + 8, "WAVE", 4) == 0) {
            inner = pos + 12;
            riffEnd = ChunkEnd(pos + 8, size);
            if (riffEnd > n) riffEnd = n;
            found = true;
            break;
        }
        pos = ChunkEnd(pos + 8, size);
    }
    if (!found) return WAVE_NO_RIFF;
    // The format chunk must be the first chunk inside: no search here.
    if (inner + 8 > riffEnd) return WAVE_NO_FORMAT;
    uint32_t fmtSize = Le32(buf + inner + 4);
    size_t fmtData = inner + 8;
    // Eighteen bytes are read whatever the chunk's size: a 16-byte chunk
    // lends two bytes of the next chunk's header.
    if (fmtData + 18 > n) return WAVE_SHORT_FORMAT;
    const uint8_t* f = buf + fmtData;
    info->tag = Le16(f);
    info->channels = Le16(f + 2);
    info->rate = Le32(f + 4);
    info->byteRate = Le32(f + 8);
    info->blockAlign = Le16(f + 12);
    info->bits = Le16(f + 14);
    info->extra = Le16(f + 16);
    if (info->tag != 1) return WAVE_NOT_PCM;
    size_t after = ChunkEnd(fmtData, fmtSize);
    if (after > riffEnd) return WAVE_BAD_ASCENT;
    // Search on for the data chunk inside the WAVE chunk.
    pos = after;
    while (pos + 8 <= riffEnd) {
        uint32_t size = Le32(buf + pos + 4);
        if (std::memcmp(buf + pos, "data", 4) == 0) {
            // Never trust a size the file cannot back.
            if ((uint64_t)size > (uint64_t)(n - (pos + 8))) return WAVE_SHORT_DATA;
            info->dataOffset = pos + 8;
            info->dataSize = size;
            return WAVE_OK;
        }
        pos = ChunkEnd(pos + 8, size);
    }
    return WAVE_NO_DATA;
}

const char* Wave_Message(WaveResult r) {
    switch (r) {
    case WAVE_NO_RIFF:
    case WAVE_NO_FORMAT: return "ウエイブファイルが見つかりません";
    case WAVE_SHORT_FORMAT: return "ウエイブフォーマットを読み込めません";
    case WAVE_NOT_PCM: return "不正なウエイブフォーマットです";
    case WAVE_BAD_ASCENT: return "ウエイブファイルにアクセスできません";
    case WAVE_NO_DATA: return "ウエイブファイルにデータがありません";
    case WAVE_SHORT_DATA: return "ウエイブデータ読み込みに失敗しました";
    default: return "";
    }
}

const char* Wave_Problem(WaveResult r) {
    switch (r) {
    case WAVE_NO_RIFF: return "it is not a WAV file (no RIFF WAVE header)";
    case WAVE_NO_FORMAT: return "it is damaged: the WAV header ends before its format chunk";
    case WAVE_SHORT_FORMAT: return "it is damaged: the format chunk is cut short";
    case WAVE_NOT_PCM: return "it is not plain PCM (compressed or floating-point samples are not played)";
    case WAVE_BAD_ASCENT: return "it is damaged: the format chunk runs past the end of the file";
    case WAVE_NO_DATA: return "it holds no sample data (no data chunk)";
    case WAVE_SHORT_DATA: return "it is damaged or truncated: the sample data is cut short";
    default: return "";
    }
}

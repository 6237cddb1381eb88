#include "sound/midifile.h"

#include <cstring>

static uint32_t Be32(const uint8_t* p) { return (uint32_t)p[0] << 24 | p[1] << 16 | p[2] << 8 | p[3]; }
static uint16_t Be16(const uint8_t* p) { return (uint16_t)(p[0] << 8 | p[1]); }

// A variable-length quantity of at most four bytes at `*pos`, below `end`.
static bool ReadVlq(const uint8_t* buf, size_t* pos, size_t end, uint32_t* out) {
    uint32_t v = 0;
    for (int i = 0; i < 4; i++) {
        if (*pos >= end) return false;
        uint8_t b = buf[(*pos)++];
        v = v << 7 | (b & 0x7F);
        if (!(b & 0x80)) {
            *out = v;
            return true;
        }
    }
    return false;
}

// The events of one track, [pos, end). Lenient where players are: a
// missing end-of-track marker is no fault.
static bool TrackSound(const uint8_t* buf, size_t pos, size_t end) {
    uint8_t running = 0;
    while (pos < end) {
        uint32_t delta, len;
        if (!ReadVlq(buf, &pos, end, &delta) || pos >= end) return false;
        uint8_t status = buf[pos];
        if (status & 0x80) pos++;
        else if (running) status = running;
        else return false;  // data bytes with no status before them
        if (status == 0xFF) {  // meta event: type, length, data
            if (pos >= end) return false;
            uint8_t type = buf[pos++];
            if (!ReadVlq(buf, &pos, end, &len) || len > end - pos) return false;
            pos += len;
            if (type == 0x2F) return true;  // end of track
            running = 0;
        } else if (status == 0xF0 || status == 0xF7) {  // system exclusive
            if (!ReadVlq(buf, &pos, end, &len) || len > end - pos) return false;
            pos += len;
            running = 0;
        } else if (status >= 0xF1) {
            return false;  // real-time and common messages do not belong in a file
        } else {
            size_t need = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
            if (need > end - pos) return false;
            for (size_t i = 0; i < need; i++)
                if (buf[pos + i] & 0x80) return false;
            pos += need;
            running = status;
        }
    }
    return true;
}

MidiResult Midi_Check(const uint8_t* buf, size_t n) {
    if (n < 8 || std::memcmp(buf, "MThd", 4) != 0) return MIDI_NOT_SMF;
    uint32_t hlen = Be32(buf + 4);
    if (hlen < 6 || hlen > n - 8) return MIDI_BAD_HEADER;
    uint16_t format = Be16(buf + 8), tracks = Be16(buf + 10), division = Be16(buf + 12);
    if (format > 2 || tracks == 0 || (format == 0 && tracks != 1) || division == 0) return MIDI_BAD_HEADER;
    size_t pos = 8 + (size_t)hlen;
    int found = 0;
    while (found < tracks) {
        if (n - pos < 8) return MIDI_MISSING_TRACK;
        uint32_t len = Be32(buf + pos + 4);
        size_t data = pos + 8;
        if (len > n - data) return MIDI_CUT_TRACK;
        if (std::memcmp(buf + pos, "MTrk", 4) == 0) {
            if (!TrackSound(buf, data, data + len)) return MIDI_BAD_EVENT;
            found++;
        }
        pos = data + len;  // other chunks are passed over
    }
    return MIDI_OK;
}

const char* Midi_Problem(MidiResult r) {
    switch (r) {
    case MIDI_NOT_SMF: return "it is not a standard MIDI file";
    case MIDI_BAD_HEADER: return "it is damaged: its MIDI header is not valid";
    case MIDI_MISSING_TRACK: return "it is truncated: tracks the header promises are missing";
    case MIDI_CUT_TRACK: return "it is truncated: a track is cut short";
    case MIDI_BAD_EVENT: return "it is damaged: a track holds events that cannot be read";
    default: return "";
    }
}

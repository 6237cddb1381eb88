// Text rules the game and the score board share, so that both say the same
// of the same text: what a player's name may hold, how text goes into a
// URL, how text goes into a manual page. Header-only, nothing but the C++
// library: the board (server/) builds from this folder too.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The longest name, in characters.
constexpr int kTextNameChars = 24;

enum TextNameVerdict {
    TEXT_NAME_OK = 0,
    TEXT_NAME_NOT_UTF8,    // not well-formed UTF-8
    TEXT_NAME_CONTROL,     // a control character (C0, DEL, C1) or a line or paragraph separator
    TEXT_NAME_INVISIBLE,   // a format character (Cf: zero-width, direction overrides, ...)
    TEXT_NAME_NOTHING,     // empty, or nothing that shows (spaces, combining marks alone)
    TEXT_NAME_TOO_LONG,    // more than kTextNameChars characters
};

// Unicode's format characters (general category Cf): invisible, and some
// (the bidirectional overrides and isolates) turn the text after them.
inline bool Text_IsFormat(uint32_t cp) {
    static const uint32_t ranges[][2] = {
        {0x00AD, 0x00AD},   {0x0600, 0x0605},   {0x061C, 0x061C},   {0x06DD, 0x06DD},   {0x070F, 0x070F},
        {0x0890, 0x0891},   {0x08E2, 0x08E2},   {0x180E, 0x180E},   {0x200B, 0x200F},   {0x202A, 0x202E},
        {0x2060, 0x2064},   {0x2066, 0x206F},   {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD},
        {0x110CD, 0x110CD}, {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
        {0xE0020, 0xE007F},
    };
    for (const auto& r : ranges)
        if (cp >= r[0] && cp <= r[1]) return true;
    return false;
}

// Characters that show nothing by themselves: spaces, combining marks,
// variation selectors, fillers.
inline bool Text_ShowsNothing(uint32_t cp) {
    static const uint32_t ranges[][2] = {
        {0x0020, 0x0020}, {0x00A0, 0x00A0}, {0x0300, 0x036F}, {0x115F, 0x1160}, {0x1680, 0x1680},
        {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF}, {0x2000, 0x200A}, {0x202F, 0x202F}, {0x205F, 0x205F},
        {0x20D0, 0x20FF}, {0x2800, 0x2800}, {0x3000, 0x3000}, {0x3164, 0x3164}, {0xFE00, 0xFE0F},
        {0xFE20, 0xFE2F}, {0xFFA0, 0xFFA0}, {0xE0100, 0xE01EF},
    };
    for (const auto& r : ranges)
        if (cp >= r[0] && cp <= r[1]) return true;
    return false;
}

// A player's name as the board ranks it: 1 to kTextNameChars characters of
// well-formed UTF-8, no control or format character, one at least that shows.
inline TextNameVerdict Text_CheckName(const char* t, size_t n) {
    const unsigned char* c = (const unsigned char*)t;
    size_t i = 0;
    int chars = 0;
    bool shows = false;
    while (i < n) {
        int len = c[i] < 0x80 ? 1 : (c[i] & 0xE0) == 0xC0 ? 2 : (c[i] & 0xF0) == 0xE0 ? 3 : (c[i] & 0xF8) == 0xF0 ? 4 : 0;
        if (!len || i + (size_t)len > n) return TEXT_NAME_NOT_UTF8;
        uint32_t cp = len == 1 ? c[i] : c[i] & (0x7Fu >> len);
        for (int k = 1; k < len; k++) {
            if ((c[i + k] & 0xC0) != 0x80) return TEXT_NAME_NOT_UTF8;
            cp = cp << 6 | (c[i + k] & 0x3F);
        }
        bool overlong = (len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000);
        if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return TEXT_NAME_NOT_UTF8;
        if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0) || cp == 0x2028 || cp == 0x2029) return TEXT_NAME_CONTROL;
        if (Text_IsFormat(cp)) return TEXT_NAME_INVISIBLE;
        if (!Text_ShowsNothing(cp)) shows = true;
        chars++;
        i += (size_t)len;
    }
    if (!shows) return TEXT_NAME_NOTHING;
    return chars > kTextNameChars ? TEXT_NAME_TOO_LONG : TEXT_NAME_OK;
}

// Percent-encoded for a URL's path segment or query value: every byte but
// the unreserved ones (letters, digits, - _ . ~).
inline std::string Text_UrlEncode(const std::string& s) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
            c == '.' || c == '~') {
            out += (char)c;
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

// Text for a manual page (roff): backslashes and hyphens taken literally,
// and a line never starting as a request.
inline std::string Text_Roff(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\') out += "\\e";
        else if (c == '-') out += "\\-";
        else out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out = "\\&" + out;
    return out;
}

// The browser build's settings-file reader (web/inih/) against Debian's
// libinih, which the desktop links: the same lines give the same settings
// and the same first error line.
#include <gtest/gtest.h>

#include <ini.h>

#include <cstring>
#include <string>

#define ini_parse_stream web_ini_parse_stream
#define ini_allow_multiline web_ini_allow_multiline
#include "../../web/inih/ini.c"
#undef ini_parse_stream
#undef ini_allow_multiline

namespace {

struct Text {
    const char* p;
};

// fgets over a string, as the game's reader hands lines on.
char* ReadLine(char* buf, int num, void* stream) {
    Text* t = static_cast<Text*>(stream);
    if (!*t->p) return nullptr;
    int n = 0;
    while (t->p[n] && t->p[n] != '\n' && n < num - 2) n++;
    if (t->p[n] == '\n') n++;
    std::memcpy(buf, t->p, n);
    buf[n] = 0;
    t->p += n;
    return buf;
}

int Log(void* user, const char* section, const char* name, const char* value) {
    std::string* log = static_cast<std::string*>(user);
    *log += std::string("[") + section + "] <" + name + "> = <" + value + ">\n";
    return std::strcmp(name, "refused") != 0;
}

std::string Parse(bool ours, bool multiline, const char* text) {
    std::string log;
    Text t{text};
    int rc;
    if (ours) {
        web_ini_allow_multiline = multiline;
        rc = web_ini_parse_stream(ReadLine, &t, Log, &log);
    } else {
        ini_allow_multiline = multiline;
        rc = ini_parse_stream(ReadLine, &t, Log, &log);
    }
    ini_allow_multiline = true;
    return log + "rc " + std::to_string(rc);
}

}  // namespace

TEST(WebIni, ReadsEveryLineAsDebiansLibinih) {
    const char* cases[] = {
        "",
        "\xEF\xBB\xBF[display]\nfullscreen = off\nscale=3\n",
        "; comment\n# comment\n[sound]\nmusic-volume = 40 ; inline\neffect-volume = 50;not a comment\n",
        "name: value\n[ spaced section ]\n  indented = 1\nnext=2\n   continued line\n",
        "[unclosed\nkey = 1\nnovalue\n=empty name\nkey =\n",
        "[a]\nrefused = 1\nlater = 2\nbad line\n",
        "[a-very-long-section-name-that-goes-on-and-on-past-fifty-characters-of-it]\n"
        "a-very-long-key-name-that-goes-on-and-on-past-fifty-characters-of-it = v\n",
        "crlf = yes\r\n[win]\r\nkey = 1 \r\n\r\n",
        "x = a = b : c\ny : d = e\n[s]]\n[]\nz = ;\n",
        "\t[tabbed]\t\n\tk\t=\tv\t\n",
    };
    for (const char* text : cases)
        for (bool multiline : {false, true})
            EXPECT_EQ(Parse(true, multiline, text), Parse(false, multiline, text)) << "multiline " << multiline
                                                                                  << ", text:\n" << text;
}

// Message boxes in English: every failure the effect loader can report
// has its English text (a new one without it would show Japanese).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/lang.h"
#include "sound/wave.h"

namespace {

bool Ascii(const char* s) {
    for (; *s; s++)
        if ((unsigned char)*s >= 0x80) return false;
    return true;
}

}  // namespace

TEST(Language, EveryWaveFailureHasItsEnglishText) {
    for (int r = WAVE_NO_RIFF; r <= WAVE_SHORT_DATA; r++) {
        const char* en = Lang_English(Wave_Message((WaveResult)r));
        ASSERT_NE(en, nullptr) << "wave failure " << r;
        EXPECT_TRUE(Ascii(en)) << en;
    }
}

// The language page's preselection: the first locale variable set wins.
TEST(Language, TheLocaleChoosesJapaneseOnlyForJa) {
    struct {
        const char *all, *messages, *lang;
        int want;
    } cases[] = {{"", "", "ja_JP.UTF-8", LANG_JA}, {"", "", "en_US.UTF-8", LANG_EN}, {"C", "", "ja_JP.UTF-8", LANG_EN},
                 {"", "ja_JP", "de_DE", LANG_JA}, {"", "", "", LANG_EN}};
    std::string saved[3];
    bool had[3];
    const char* vars[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    for (int i = 0; i < 3; i++) {
        const char* v = std::getenv(vars[i]);
        had[i] = v != nullptr;
        saved[i] = v ? v : "";
    }
    for (const auto& c : cases) {
        setenv("LC_ALL", c.all, 1);
        setenv("LC_MESSAGES", c.messages, 1);
        setenv("LANG", c.lang, 1);
        EXPECT_EQ(Lang_FromLocale(), c.want) << c.all << "/" << c.messages << "/" << c.lang;
    }
    for (int i = 0; i < 3; i++)
        if (had[i]) setenv(vars[i], saved[i].c_str(), 1);
        else unsetenv(vars[i]);
}

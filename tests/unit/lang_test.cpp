// Message boxes in English: every failure the effect loader can report
// has its English text (a new one without it would show Japanese).
#include <gtest/gtest.h>

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

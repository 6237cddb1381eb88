// Text at many sizes holds one face per style, and what the intro's logo
// leaves behind can be given back without changing a picture.
#include <gtest/gtest.h>

#include <dirent.h>
#include <vector>

#include "platform/display.h"
#include "platform/text.h"

namespace {

int OpenDescriptors() {
    int n = 0;
    DIR* d = opendir("/proc/self/fd");
    if (!d) return -1;
    while (dirent* e = readdir(d))
        if (e->d_name[0] != '.') n++;
    closedir(d);
    return n;
}

std::vector<uint16_t> Pixels(PlatSurface* s) {
    const uint16_t* p = Plat_SurfacePixels(s);
    return std::vector<uint16_t>(p, p + Plat_SurfaceWidth(s) * Plat_SurfaceHeight(s));
}

// The screen's usual lines, and one large italic word.
void DrawUsual(PlatSurface* s) {
    Plat_Fill(s, 0, 0, 640, 480, 0);
    Plat_DrawText(s, "SCORE 0000000000000001234", 20, 0, 460, 255, 255, 255, false);
    Plat_DrawText(s, "補正 0.010000", 25, 0, 25, 255, 25, 25, false);
    Plat_DrawText(s, "ＭＡＸ", 20, 20, 30, 200, 100, 50, false);
    Plat_DrawText(s, "Ｎｏｗ", 30, 40, 320, 255, 0, 0, true);
    Plat_DrawText(s, "ＱＳＭ", 90, 90, 200, 255, 255, 255, false);
}

}  // namespace

TEST(TextMemory, TheGrowingLogoHoldsOneFaceAndItsGlyphsGoBack) {
    PlatSurface* s = Plat_SurfaceCreate(640, 480);
    ASSERT_NE(s, nullptr);
    Plat_TextShutdown();
    int before = OpenDescriptors();
    DrawUsual(s);
    std::vector<uint16_t> usual = Pixels(s);
    ASSERT_NE(usual, std::vector<uint16_t>(usual.size(), 0)) << "no text drawn (is the font installed?)";

    // The intro's logo: every size from 1 to 250, as it grows.
    for (int size = 1; size <= 250; size++) {
        Plat_DrawText(s, "ＴＥＡＭ", size, 70, 120, 255, 255, 255, false);
        Plat_DrawText(s, "ＰＲＥＳＥＮＴ", size, 30, 210 + size, 255, 255, 255, false);
    }
    EXPECT_LE(Plat_TextFaceCount(), 2);
    EXPECT_LE(OpenDescriptors() - before, 2) << "a font file held open per size";

    // Given back: the usual text draws the same from the glyphs kept, and
    // the large word the same from glyphs rendered anew.
    Plat_TextRelease(40);
    DrawUsual(s);
    EXPECT_EQ(Pixels(s), usual);
    Plat_TextRelease(40);  // nothing more to give: harmless
    DrawUsual(s);
    EXPECT_EQ(Pixels(s), usual);

    Plat_TextShutdown();
    EXPECT_EQ(Plat_TextFaceCount(), 0);
    EXPECT_EQ(OpenDescriptors(), before);
    Plat_SurfaceFree(s);
}

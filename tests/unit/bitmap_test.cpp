// Bitmap files: what decodes, what is refused, and never a crash.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include <unistd.h>

#include "platform/display.h"
#include "render/render.h"

namespace {

std::vector<unsigned char> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(Bitmap, DecodesCommonDepthsAndRefusesBrokenOnes) {
    auto ok24 = ReadAll(QS_SOURCE_DIR "/fuzz/corpus/bmp/small24.bmp");
    PlatSurface* s = Plat_SurfaceLoadBMPMem(ok24.data(), ok24.size());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(Plat_SurfaceWidth(s), 4);
    EXPECT_EQ(Plat_SurfaceHeight(s), 3);
    // Bottom-up rows: the file's first row is the picture's last.
    EXPECT_EQ(Plat_SurfacePixels(s)[2 * 4 + 1], Plat_RGB565(200, 0, 60));
    Plat_SurfaceFree(s);

    auto pal = ReadAll(QS_SOURCE_DIR "/fuzz/corpus/bmp/pal8.bmp");
    s = Plat_SurfaceLoadBMPMem(pal.data(), pal.size());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(Plat_SurfacePixels(s)[1], Plat_RGB565(255, 255, 255));  // top-down, palette entry 255
    Plat_SurfaceFree(s);

    // A header promising a picture of gigabytes is refused before decoding.
    auto huge = ReadAll(QS_SOURCE_DIR "/tests/data/bmp_huge_header.bmp");
    EXPECT_EQ(Plat_SurfaceLoadBMPMem(huge.data(), huge.size()), nullptr);
    // Rows missing from the end of the file.
    std::vector<unsigned char> cut(ok24.begin(), ok24.end() - 10);
    EXPECT_EQ(Plat_SurfaceLoadBMPMem(cut.data(), cut.size()), nullptr);
    std::vector<unsigned char> junk(100, 0x42);
    EXPECT_EQ(Plat_SurfaceLoadBMPMem(junk.data(), junk.size()), nullptr);
    EXPECT_EQ(Plat_SurfaceLoadBMPMem(junk.data(), 0), nullptr);
}

// The browser build ships its pictures as "<name>.png": a missing BMP is
// read from there, to the same pixels; a PNG that is not one, or claims a
// giant size, is refused.
TEST(Bitmap, PngBesideAMissingBmpGivesTheSamePixels) {
    char dir[] = "/tmp/qs_png_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    PlatSurface* src = Plat_SurfaceCreate(37, 5);
    uint16_t* px = Plat_SurfacePixels(src);
    for (int i = 0; i < 37 * 5; i++) px[i] = Plat_RGB565(i * 7, i * 13, 255 - i);
    std::string bmp = std::string(dir) + "/pic.BMP";
    ASSERT_TRUE(Plat_SurfaceSave(src, (bmp + ".png").c_str()));
    PlatSurface* got = Plat_SurfaceLoadBMP(bmp.c_str());
    ASSERT_NE(got, nullptr);
    ASSERT_EQ(Plat_SurfaceWidth(got), 37);
    ASSERT_EQ(Plat_SurfaceHeight(got), 5);
    EXPECT_EQ(std::memcmp(Plat_SurfacePixels(got), px, 37 * 5 * 2), 0);
    Plat_SurfaceFree(got);

    // A BMP that is there wins over the PNG.
    ASSERT_TRUE(Plat_SurfaceSave(src, bmp.c_str()));
    px[0] ^= 0xFFFF;
    ASSERT_TRUE(Plat_SurfaceSave(src, (bmp + ".png").c_str()));
    got = Plat_SurfaceLoadBMP(bmp.c_str());
    ASSERT_NE(got, nullptr);
    EXPECT_NE(Plat_SurfacePixels(got)[0], px[0]);
    Plat_SurfaceFree(got);
    std::remove(bmp.c_str());

    // Not a PNG, and a PNG header promising 40000 x 40000 pixels.
    std::string png = bmp + ".png";
    FILE* f = std::fopen(png.c_str(), "wb");
    std::fputs("not a picture at all, not at all", f);
    std::fclose(f);
    EXPECT_EQ(Plat_SurfaceLoadBMP(bmp.c_str()), nullptr);
    ASSERT_TRUE(Plat_SurfaceSave(src, png.c_str()));
    auto bytes = ReadAll(png);
    const unsigned char big[8] = {0, 0, 0x9C, 0x40, 0, 0, 0x9C, 0x40};
    std::memcpy(bytes.data() + 16, big, 8);
    f = std::fopen(png.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    EXPECT_EQ(Plat_SurfaceLoadBMP(bmp.c_str()), nullptr);
    std::remove(png.c_str());
    rmdir(dir);
    Plat_SurfaceFree(src);
}

TEST(Bitmap, MissingFileLeavesTheSlotAsItWas) {
    SurfaceData slot = {};
    EXPECT_FALSE(DD_LoadBitmap(slot, "BMP\\no_such_picture.bmp"));
    EXPECT_EQ(slot.surface, nullptr);
}

// The fast paths of the keyed copy (eight pixels at a time) against the
// plain rule, for every width up to a few chunks and every mix of key and
// colour: a pixel of value 0 leaves the screen, any other replaces it. And
// nothing is touched while drawing is off.
TEST(Bitmap, KeyedCopyMatchesThePlainRuleAtEveryWidth) {
    PlatSurface* src = Plat_SurfaceCreate(40, 3);
    PlatSurface* dst = Plat_SurfaceCreate(64, 3);
    ASSERT_TRUE(src && dst);
    uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u; };
    for (int pass = 0; pass < 2; pass++)
    for (int w = 1; w <= 40; w++) {
        Plat_SetWideCopies(pass == 0);
        uint16_t* s = Plat_SurfacePixels(src);
        uint16_t* d = Plat_SurfacePixels(dst);
        for (int i = 0; i < 40 * 3; i++) s[i] = (next() >> 16) % 3 == 0 ? 0 : (uint16_t)(next() >> 8);
        for (int i = 0; i < 64 * 3; i++) d[i] = (uint16_t)(next() >> 8);
        uint16_t before[64 * 3];
        std::memcpy(before, d, sizeof before);
        ASSERT_TRUE(Plat_Blit(dst, 5, 0, src, 0, 0, w, 3, true));
        for (int y = 0; y < 3; y++)
            for (int x = 0; x < 64; x++) {
                uint16_t want = before[y * 64 + x];
                if (x >= 5 && x < 5 + w && s[y * 40 + x - 5]) want = s[y * 40 + x - 5];
                ASSERT_EQ(d[y * 64 + x], want) << "width " << w << " at " << x << "," << y << " pass " << pass;
            }
    }
    Plat_SetWideCopies(true);
    Plat_SetDrawing(false);
    uint16_t before[64 * 3];
    std::memcpy(before, Plat_SurfacePixels(dst), sizeof before);
    EXPECT_TRUE(Plat_Blit(dst, 0, 0, src, 0, 0, 40, 3, true));
    EXPECT_FALSE(Plat_Blit(dst, 0, 0, src, 0, 0, 41, 3, true));  // still refused
    Plat_Fill(dst, 0, 0, 64, 3, 0xFFFF);
    Plat_SetDrawing(true);
    EXPECT_EQ(std::memcmp(before, Plat_SurfacePixels(dst), sizeof before), 0);
    Plat_SurfaceFree(src);
    Plat_SurfaceFree(dst);
}

// What the window shows: each component scaled to 0..255 and rounded, so
// full intensity is 255 (white stays white), in the eight-at-a-time path
// and the tail alike.
TEST(Bitmap, PicturesWidenToArgbRounded) {
    static uint16_t in[65536 + 3];
    static uint32_t out[65536 + 3];
    for (int i = 0; i < 65536 + 3; i++) in[i] = (uint16_t)(i * 40503u);
    Plat_RowToArgb(in, out, 65536 + 3);
    auto widen = [](uint32_t v, double max) { return (uint32_t)std::lround(v * 255.0 / max); };
    for (int i = 0; i < 65536 + 3; i++) {
        uint32_t p = in[i];
        uint32_t want = 0xFF000000u | widen(p >> 11, 31) << 16 | widen((p >> 5) & 63, 63) << 8 | widen(p & 31, 31);
        ASSERT_EQ(out[i], want) << "pixel " << std::hex << p;
    }
}

// QUELLSTORM asset generator. Run by the build:
//   qs_assetgen OUTDIR            writes every bitmap, effect and tune
//   qs_assetgen --preview OUTDIR PREVIEWDIR
//                                 contact sheet of the written bitmaps
//   qs_assetgen --png SRCDIR OUTDIR
//                                 every SRCDIR/X.bmp as OUTDIR/X.bmp.png
//   qs_assetgen --check-png SRCDIR PNGDIR
//                                 each PNG copy read back holds its BMP's
//                                 5-6-5 pixels
// The output is the same, byte for byte, on every run.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include "art.h"
#include "audio.h"
#include "preview.h"

using namespace qsassets;

namespace qsassets {
bool make_icons(const std::string& out);  // icon.cpp
}

const RGB qsassets::pal::ink = {0.07, 0.05, 0.12};
const RGB qsassets::pal::white = {1, 1, 1};

const ArtEntry qsassets::kArt[] = {
    {0, art_player, kEdgeSoft},         {1, art_bom, kEdgeSoft},
    {2, art_shot2, kEdgeHard},          {3, art_shot, kEdgeHard},
    {4, art_pom, kEdgeHard},            {5, art_bom2, kEdgeSoft},
    {6, art_digits, kEdgeSoft},         {7, art_bom3, kEdgeSoft},
    {8, art_shot3, kEdgeHard},          {9, art_shot4, kEdgeHard},
    {10, art_title, kEdgeOpaque},       {11, art_bar, kEdgeHard},
    {12, art_warning, kEdgeSoft},       {13, art_stageclear, kEdgeSoft},
    {14, art_warning2, kEdgeSoft},      {15, art_jewel, kEdgeSoft},
    {16, art_gameover, kEdgeSoft},      {17, art_shot5, kEdgeHard},
    {18, art_shot6, kEdgeHard},         {20, art_zako1, kEdgeSoft},
    {21, art_zako2, kEdgeSoft},         {22, art_zako3, kEdgeSoft},
    {23, art_zako4, kEdgeSoft},         {24, art_zako5, kEdgeSoft},
    {25, art_zako6, kEdgeSoft},         {26, art_zako7, kEdgeSoft},
    {27, art_zako8, kEdgeSoft},         {28, art_zako9, kEdgeSoft},
    {29, art_kirai, kEdgeSoft},         {30, art_harotate, kEdgeSoft},
    {31, art_zako11, kEdgeSoft},        {40, art_oozako1, kEdgeSoft},
    {41, art_eisei, kEdgeSoft},         {42, art_robo, kEdgeSoft},
    {43, art_robo2, kEdgeSoft},         {44, art_bit, kEdgeSoft},
    {50, art_chu1, kEdgeSoft},          {51, art_chu2, kEdgeSoft},
    {52, art_sensha2, kEdgeSoft},       {53, art_puro, kEdgeSoft},
    {54, art_chu5, kEdgeSoft},          {55, art_senkan1, kEdgeSoft},
    {56, art_senkan2, kEdgeSoft},       {57, art_toge, kEdgeSoft},
    {60, art_sky, kEdgeOpaque},         {62, art_cloud, kEdgeHard},
    {63, art_forest, kEdgeOpaque},      {64, art_crystal_front, kEdgeSoft},
    {65, art_crystal_back, kEdgeOpaque}, {66, art_cry, kEdgeSoft},
    {67, art_space, kEdgeOpaque},       {68, art_fortress_front, kEdgeSoft},
    {69, art_fortress_hall, kEdgeOpaque}, {70, art_boss1, kEdgeSoft},
    {71, art_boss2, kEdgeSoft},         {72, art_boss3, kEdgeSoft},
    {73, art_boss4, kEdgeSoft},         {74, art_core, kEdgeSoft},
    {75, art_boss5, kEdgeSoft},         {76, art_lastboss, kEdgeSoft},
    {77, art_fire, kEdgeHard},          {89, art_slaser2, kEdgeHard},
    {90, art_bullet_yellow, kEdgeHard}, {91, art_bullet_red, kEdgeHard},
    {92, art_bullet_blue, kEdgeHard},   {93, art_bullet_green, kEdgeHard},
    {94, art_slaser, kEdgeHard},        {95, art_bigbullet, kEdgeHard},
    {96, art_blaser, kEdgeHard},        {97, art_flash, kEdgeHard},
    {98, art_ring, kEdgeHard},          {99, art_ring2, kEdgeHard},
    {110, art_pitem, kEdgeSoft},        {111, art_shield, kEdgeHard},
    {150, art_gauge, kEdgeOpaque},      {151, art_gauge_frame, kEdgeSoft},
    {152, art_gomi, kEdgeHard},         {170, art_fortress_inside, kEdgeOpaque},
    {171, art_kabe, kEdgeSoft},         {172, art_hosi, kEdgeHard},
};
const int qsassets::kArtCount = sizeof(kArt) / sizeof(kArt[0]);

static const ArtEntry* art_for(int slot) {
    for (int i = 0; i < kArtCount; ++i)
        if (kArt[i].slot == slot) return &kArt[i];
    return nullptr;
}

static bool make_bitmaps(const std::string& out) {
    bool ok = true;
    for (int i = 0; i < kSheetCount; ++i) {
        const SheetDef& sp = kSheets[i];
        const ArtEntry* a = art_for(sp.slot);
        if (!a) {
            std::fprintf(stderr, "assetgen: no picture for slot %d\n", sp.slot);
            ok = false;
            continue;
        }
        Canvas c = canvas_new(sp);
        a->fn(c);
        std::vector<uint8_t> bgr = to_bgr(c, a->edge);
        canvas_free(c);
        std::string path = out + "/" + sp.file;
        if (!write_bmp(path, sp.width, sp.height, bgr)) {
            std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
            ok = false;
        }
    }
    return ok;
}

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--preview") == 0)
        return make_preview(argv[2], argv[3]) ? 0 : 1;
    if (argc == 4 && std::strcmp(argv[1], "--png") == 0)
        return make_png_copies(argv[2], argv[3]) ? 0 : 1;
    if (argc == 4 && std::strcmp(argv[1], "--check-png") == 0)
        return check_png_copies(argv[2], argv[3]) ? 0 : 1;
    if (argc >= 5 && std::strcmp(argv[1], "--montage") == 0)
        return make_montage(argv[2], argv[3], std::atof(argv[4]),
                            std::vector<std::string>(argv + 5, argv + argc)) ? 0 : 1;
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr,
                     "usage: qs_assetgen OUTDIR [bmp|wav|mid|icon]\n"
                     "       qs_assetgen --preview OUTDIR PREVIEWDIR\n"
                     "       qs_assetgen --png SRCDIR OUTDIR\n"
                     "       qs_assetgen --check-png SRCDIR PNGDIR\n");
        return 2;
    }
    std::string out = argv[1], only = argc == 3 ? argv[2] : "";
    bool ok = true;
    if (only.empty() || only == "bmp") ok = make_bitmaps(out) && ok;
    if (only.empty() || only == "wav") ok = make_effects(out) && ok;
    if (only.empty() || only == "mid") ok = make_tunes(out) && ok;
    if (only.empty() || only == "icon") ok = make_icons(out) && ok;
    return ok ? 0 : 1;
}

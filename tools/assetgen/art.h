// Every picture of the game, one drawing function per sheet. Each draws
// into a transparent canvas of the sheet's size (sheets.h); the generator
// then applies the colour-key rules and writes the BMP.
#pragma once
#include "core.h"

namespace qsassets {

typedef void (*ArtFn)(Canvas&);

struct ArtEntry {
    int slot;
    ArtFn fn;
    EdgeMode edge;
};
// The drawing function of every slot of kSheets.
extern const ArtEntry kArt[];
extern const int kArtCount;

// The shared palette.
namespace pal {
extern const RGB ink;      // outline of every machine
extern const RGB white;
}  // namespace pal

// player.cpp
void art_player(Canvas&);
void art_shot(Canvas&);
void art_shot2(Canvas&);
void art_shot3(Canvas&);
void art_shot4(Canvas&);
void art_shot5(Canvas&);
void art_shot6(Canvas&);
// small.cpp
void art_zako1(Canvas&);
void art_zako2(Canvas&);
void art_zako3(Canvas&);
void art_zako4(Canvas&);
void art_zako5(Canvas&);
void art_zako6(Canvas&);
void art_zako7(Canvas&);
void art_zako8(Canvas&);
void art_zako9(Canvas&);
void art_kirai(Canvas&);
void art_harotate(Canvas&);
void art_zako11(Canvas&);
void art_oozako1(Canvas&);
// mid.cpp
void art_eisei(Canvas&);
void art_robo(Canvas&);
void art_robo2(Canvas&);
void art_bit(Canvas&);
void art_chu1(Canvas&);
void art_chu2(Canvas&);
void art_sensha2(Canvas&);
void art_puro(Canvas&);
void art_chu5(Canvas&);
void art_senkan1(Canvas&);
void art_senkan2(Canvas&);
void art_toge(Canvas&);
// boss.cpp
void art_boss1(Canvas&);
void art_boss2(Canvas&);
void art_boss3(Canvas&);
void art_boss4(Canvas&);
void art_core(Canvas&);
void art_boss5(Canvas&);
void art_lastboss(Canvas&);
void art_fire(Canvas&);
// fx.cpp
void art_bom(Canvas&);
void art_bom2(Canvas&);
void art_bom3(Canvas&);
void art_pom(Canvas&);
void art_gomi(Canvas&);
void art_bullet_yellow(Canvas&);
void art_bullet_red(Canvas&);
void art_bullet_blue(Canvas&);
void art_bullet_green(Canvas&);
void art_ring(Canvas&);
void art_ring2(Canvas&);
void art_flash(Canvas&);
void art_bigbullet(Canvas&);
void art_slaser(Canvas&);
void art_slaser2(Canvas&);
void art_blaser(Canvas&);
void art_jewel(Canvas&);
void art_pitem(Canvas&);
void art_shield(Canvas&);
void art_cry(Canvas&);
void art_hosi(Canvas&);
// screens.cpp
void art_digits(Canvas&);
void art_title(Canvas&);
void art_bar(Canvas&);
void art_warning(Canvas&);
void art_warning2(Canvas&);
void art_stageclear(Canvas&);
void art_gameover(Canvas&);
void art_gauge(Canvas&);
void art_gauge_frame(Canvas&);
void art_kabe(Canvas&);
// bg.cpp
void art_sky(Canvas&);
void art_cloud(Canvas&);
void art_forest(Canvas&);
void art_crystal_front(Canvas&);
void art_crystal_back(Canvas&);
void art_space(Canvas&);
void art_fortress_front(Canvas&);
void art_fortress_hall(Canvas&);
void art_fortress_inside(Canvas&);

}  // namespace qsassets

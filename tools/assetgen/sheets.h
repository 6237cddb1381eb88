// The game's data files, as tables: every bitmap with its geometry, every
// sound effect and every tune. The generator draws from these tables and the
// unit tests check the built files against them, so a sheet that is smaller
// than a rectangle the game copies from it (which would make the sprite
// silently vanish) is caught at build time.
//
// Geometry conventions of the game's drawing code:
//  - a sheet holds cells of cellw x cellh; `rows` cells are stacked
//    downwards (animation frames) and `cols` side by side (variants, or the
//    frames of the player's shots, which run across);
//  - every rectangle the game copies lies inside width x height.
#pragma once

namespace qsassets {

enum SheetKind {
    kKeyed,   // drawn colour-keyed: pure black is see-through, nothing else
              // may be near-black (it would turn see-through by accident)
    kOpaque,  // a background or picture that covers what it is drawn on:
              // no pixel may turn see-through
};

struct SheetDef {
    int slot;          // index into the game's Bitmap table
    const char* file;  // path under the game's folder ('/' separators)
    int width, height; // whole sheet
    int cellw, cellh;  // one cell
    int rows;          // cells stacked downwards (animation frames)
    int cols;          // cells side by side
    SheetKind kind;
    const char* use;   // what the game draws from it
};

// 80 bitmaps, in slot order.
static const SheetDef kSheets[] = {
    {0, "BMP/player.bmp", 256, 192, 64, 64, 3, 4, kKeyed,
     "player ship, 4 frames across; rows: level 0-64, climb 64-127, dive 128-191"},
    {1, "BMP/bom.bmp", 130, 910, 130, 130, 7, 1, kKeyed, "large explosion, 7 frames"},
    {2, "BMP/shot2.bmp", 32, 32, 16, 32, 1, 2, kKeyed, "fan shot, 2 frames across"},
    {3, "BMP/shot.bmp", 64, 32, 32, 32, 1, 2, kKeyed, "spread shot, 2 frames across"},
    {4, "BMP/pom.bmp", 16, 64, 16, 16, 4, 1, kKeyed, "hit spark, 4 frames"},
    {5, "BMP/bom2.bmp", 64, 512, 64, 64, 8, 1, kKeyed,
     "medium explosion, 8 frames (short bursts stop after 4)"},
    {6, "BMP/suuji2.bmp", 160, 32, 16, 32, 1, 10, kKeyed, "digits 0-9 across"},
    {7, "BMP/bom3.bmp", 32, 256, 32, 32, 8, 1, kKeyed, "small explosion, 8 frames"},
    {8, "BMP/shot3.bmp", 64, 16, 16, 16, 1, 4, kKeyed, "missile, 4 frames across"},
    {9, "BMP/shot4.bmp", 200, 100, 100, 100, 1, 2, kKeyed, "missile blast, 2 frames across"},
    {10, "BMP/title3.bmp", 640, 480, 640, 480, 1, 1, kOpaque, "title picture, blended full screen"},
    {11, "BMP/bar.bmp", 8, 10, 1, 10, 1, 8, kKeyed, "boss energy bar, 1x10 column at (0,0)"},
    {12, "BMP/WARNING.bmp", 620, 227, 40, 227, 1, 15, kKeyed,
     "WARNING sweep: 40-wide slices from x 0 to 577"},
    {13, "BMP/stageclear.bmp", 640, 480, 640, 480, 1, 1, kKeyed,
     "STAGE CLEAR, full screen, wiped in 3-pixel columns"},
    {14, "BMP/WARNING2.bmp", 640, 480, 640, 480, 1, 1, kKeyed, "warning frame over the screen"},
    {15, "BMP/JEWEL.bmp", 160, 288, 32, 32, 9, 5, kKeyed,
     "jewels: 5 kinds across (col 3 fresh ... 0 oldest, 4 fast), 9 frames"},
    {16, "BMP/GAMEOVER.bmp", 640, 480, 640, 480, 1, 1, kKeyed, "GAME OVER over the screen"},
    {17, "BMP/shot5.bmp", 100, 1000, 100, 100, 10, 1, kKeyed, "bomb missile, 10 frames"},
    {18, "BMP/shot6.bmp", 100, 100, 100, 100, 1, 1, kKeyed, "spare shot picture (loaded only)"},
    {20, "BMP/zako1.BMP", 128, 1280, 64, 64, 20, 2, kKeyed,
     "dart fighter; col 0 from the right, col 1 from the left; 20 frames"},
    {21, "BMP/zako2.BMP", 64, 1280, 64, 64, 20, 1, kKeyed, "pop-up gunner, 20 frames"},
    {22, "BMP/zako3.BMP", 64, 64, 64, 64, 1, 1, kKeyed, "braking drone, 1 frame"},
    {23, "BMP/zako4.BMP", 128, 2176, 128, 128, 17, 1, kKeyed, "laser frigate, 17 frames"},
    {24, "BMP/zako5.BMP", 128, 2944, 128, 128, 23, 1, kKeyed, "twin-laser frigate, 23 frames"},
    {25, "BMP/zako6.BMP", 100, 1300, 100, 100, 13, 1, kKeyed, "balloon pod, 13 frames"},
    {26, "BMP/zako7.bmp", 150, 1500, 150, 150, 10, 1, kKeyed, "rotor gunship, 10 frames"},
    {27, "BMP/zako8.bmp", 64, 576, 64, 64, 9, 1, kKeyed, "spinner, 9 frames"},
    {28, "BMP/zako9.bmp", 64, 1280, 64, 64, 20, 1, kKeyed, "homing dart, 20 frames"},
    {29, "BMP/kirai.bmp", 64, 1280, 64, 64, 20, 1, kKeyed, "space mine, 20 frames"},
    {30, "BMP/harotate.bmp", 64, 768, 64, 64, 12, 1, kKeyed, "ring drone, 12 frames"},
    {31, "BMP/zako11.bmp", 128, 640, 64, 64, 10, 2, kKeyed,
     "needle fighter; col 0 faces left, col 1 faces right; 10 frames"},
    {40, "BMP/oozako1.BMP", 128, 2304, 128, 128, 18, 1, kKeyed, "heavy fighter, 18 frames"},
    {41, "BMP/eisei.BMP", 400, 6400, 400, 400, 16, 1, kKeyed, "satellite fortress, 16 frames"},
    {42, "BMP/robo.BMP", 200, 5000, 200, 200, 25, 1, kKeyed,
     "walker; frames 0-24 unfold its cannon"},
    {43, "BMP/robo2.BMP", 256, 150, 256, 150, 1, 1, kKeyed, "heavy walker"},
    {44, "BMP/bit.bmp", 700, 900, 100, 100, 9, 7, kKeyed,
     "boss drones: 7 variants across (2 fires up, 6 fires down), 9 frames"},
    {50, "BMP/chu1.bmp", 256, 123, 256, 123, 1, 1, kKeyed, "gunboat"},
    {51, "BMP/chu2.bmp", 200, 100, 200, 100, 1, 1, kKeyed, "ring cruiser"},
    {52, "BMP/sensha2.bmp", 500, 250, 500, 250, 1, 1, kKeyed, "heavy tank"},
    {53, "BMP/puro.bmp", 300, 480, 300, 80, 6, 1, kKeyed, "propeller bomber, 6 frames"},
    {54, "BMP/chu5.bmp", 200, 5000, 200, 200, 25, 1, kKeyed,
     "pod turret: 0-6 opening, 7-24 open cycle"},
    {55, "BMP/senkan1.bmp", 540, 240, 540, 240, 1, 1, kKeyed, "battleship"},
    {56, "BMP/senkan2.bmp", 540, 240, 540, 240, 1, 1, kKeyed, "carrier"},
    {57, "BMP/toge.bmp", 160, 2720, 160, 160, 17, 1, kKeyed, "spiked turret, 17 frames"},
    {60, "BG/kumo2.bmp", 640, 480, 640, 480, 1, 1, kOpaque, "sky tile, stages 1 and 4"},
    {62, "BG/kumo4.BMP", 200, 200, 200, 200, 1, 1, kKeyed, "drifting cloud"},
    {63, "BG/mori2.BMP", 640, 480, 640, 480, 1, 1, kOpaque, "forest tile, stage 2"},
    {64, "BG/suishou1.BMP", 640, 480, 640, 480, 1, 1, kKeyed, "crystal cavern, front layer"},
    {65, "BG/suishou2.BMP", 640, 480, 640, 480, 1, 1, kOpaque, "crystal cavern, back layer"},
    {66, "BMP/cry.bmp", 48, 432, 24, 24, 18, 2, kKeyed,
     "bomb icon: col 0 the crystal, col 1 its flash; 18 frames"},
    {67, "BG/BG5-2.BMP", 640, 800, 640, 800, 1, 1, kOpaque, "space tile, stage 5"},
    {68, "BG/BG5-1.BMP", 1920, 480, 1920, 480, 1, 1, kKeyed, "fortress front, stage 5"},
    {69, "BG/BG5-7.BMP", 640, 480, 640, 480, 1, 1, kOpaque, "spare stage-5 picture (loaded only)"},
    {70, "BMP/BOSS1.bmp", 480, 5520, 240, 240, 23, 2, kKeyed,
     "first boss: col 0 body, flash copy from x 241; 23 frames"},
    {71, "BMP/BOSS2.bmp", 500, 600, 500, 300, 2, 1, kKeyed, "second boss: row 0 body, row 1 flash"},
    {72, "BMP/BOSS3.bmp", 400, 400, 400, 400, 1, 1, kKeyed, "third boss"},
    {73, "BMP/BOSS4.bmp", 400, 400, 400, 400, 1, 1, kKeyed, "fourth boss"},
    {74, "BMP/core.bmp", 100, 2700, 100, 100, 27, 1, kKeyed, "fifth boss core, 27 frames"},
    {75, "BMP/BOSS5-12.bmp", 837, 499, 837, 499, 1, 1, kKeyed,
     "fifth boss fortress around the core; lower half from y 245"},
    {76, "BMP/LastBoss.bmp", 400, 168, 400, 168, 1, 1, kKeyed, "last boss, facing right"},
    {77, "BMP/fire.bmp", 500, 200, 100, 40, 5, 5, kKeyed,
     "last boss engine flame: 5 frames down column 0 and across row 0"},
    {89, "BMP/slaser2.bmp", 576, 64, 32, 32, 2, 18, kKeyed,
     "laser darts: 18 direction cells across; row 1 from y 33"},
    {90, "BMP/kitama3.bmp", 16, 128, 16, 16, 8, 1, kKeyed, "yellow bullet"},
    {91, "BMP/akatama4.bmp", 16, 128, 16, 16, 8, 1, kKeyed, "red bullet"},
    {92, "BMP/aotama3.bmp", 16, 128, 16, 16, 8, 1, kKeyed, "blue bullet"},
    {93, "BMP/midori3.bmp", 16, 128, 16, 16, 8, 1, kKeyed, "green bullet"},
    {94, "BMP/slaser.bmp", 64, 12, 64, 6, 2, 1, kKeyed,
     "thin laser (0,0)-(64,5), rightward overlay (0,6)-(64,11)"},
    {95, "BMP/Bkitama.bmp", 64, 128, 64, 64, 2, 1, kKeyed, "large bullet, drawn from row 1"},
    {96, "BMP/BLaser.bmp", 640, 1500, 640, 300, 5, 1, kKeyed, "screen-wide beam, 5 frames"},
    {97, "BMP/flash.bmp", 16, 128, 16, 16, 8, 1, kKeyed, "flash spark, 8 frames"},
    {98, "BMP/ring.bmp", 16, 128, 16, 16, 8, 1, kKeyed, "ring bullet, 8 frames"},
    {99, "BMP/ring2.bmp", 16, 128, 16, 16, 8, 1, kKeyed, "ring bullet (shootable), 8 frames"},
    {110, "BMP/pitem.bmp", 128, 192, 32, 32, 6, 4, kKeyed, "power item: 4 kinds across, 6 frames"},
    {111, "BMP/shield2.bmp", 100, 300, 100, 100, 3, 1, kKeyed, "shield, 3 frames"},
    {150, "BMP/overdrive.bmp", 100, 20, 100, 20, 1, 1, kKeyed, "charge gauge fill, cut at the charge"},
    {151, "BMP/overdrive2.bmp", 100, 20, 100, 20, 1, 1, kKeyed, "charge gauge frame"},
    {152, "BMP/gomi.bmp", 4, 32, 4, 4, 8, 1, kKeyed, "debris, 8 frames"},
    {170, "BG/BG5-6.BMP", 640, 480, 640, 480, 1, 1, kOpaque, "fortress interior tile, stage 5"},
    {171, "BG/kabe.BMP", 1216, 600, 605, 600, 1, 2, kKeyed,
     "title walls: left half (0,0)-(605,600), right half (611,0)-(1216,600)"},
    {172, "BG/hosi.bmp", 64, 8, 64, 2, 4, 1, kKeyed,
     "star streaks: streak k is the one-pixel row 2k"},
};
static const int kSheetCount = sizeof(kSheets) / sizeof(kSheets[0]);

// 17 sound effects, Wave slots 1..17.
struct SoundSpec {
    int slot;
    const char* file;
    const char* use;
};
static const SoundSpec kSounds[] = {
    {1, "SE/A_Explo1.wav", "enemy explosion"},
    {2, "SE/Firehit.wav", "enemy gunfire"},
    {3, "SE/Thruster.wav", "boss arrival"},
    {4, "SE/Bom2.wav", "heavy explosion"},
    {5, "SE/Laser.wav", "beam, game start"},
    {6, "SE/Lasergun.wav", "enemy laser"},
    {7, "SE/Warning.wav", "boss warning siren"},
    {8, "SE/Coin.wav", "jewel pickup"},
    {9, "SE/Fly.wav", "homing dart launch"},
    {10, "SE/Powerup.wav", "extra life, stage clear"},
    {11, "SE/MsgType.wav", "intro letter"},
    {12, "SE/Tunder.wav", "title thunder"},
    {13, "SE/Bullet.wav", "player volley"},
    {14, "SE/Pow.wav", "power item, level up"},
    {15, "SE/Blow.wav", "big blast"},
    {16, "SE/Trash.wav", "big bullet launch"},
    {17, "SE/Blow2.wav", "last boss entrance"},
};
static const int kSoundCount = sizeof(kSounds) / sizeof(kSounds[0]);

// 11 tunes.
struct TuneSpec {
    const char* file;
    const char* use;
};
static const TuneSpec kTunes[] = {
    {"MIDI/1ワンダータイム.mid", "stage 1"},
    {"MIDI/3.mid", "first boss, stage-5 mid-boss"},
    {"MIDI/Fatal.mid", "stage 2"},
    {"MIDI/Ravin'_U.mid", "second boss"},
    {"MIDI/空落ちる日.mid", "stage 3"},
    {"MIDI/Vbattle.mid", "third boss"},
    {"MIDI/2.MID", "stage 4"},
    {"MIDI/HA_Doll.mid", "fourth boss"},
    {"MIDI/Db.MID", "stage 5"},
    {"MIDI/rpglast.mid", "fortress core"},
    {"MIDI/BdBt4Bt.Mid", "last boss and staff roll"},
};
static const int kTuneCount = sizeof(kTunes) / sizeof(kTunes[0]);

}  // namespace qsassets

// Machine parts shared by the enemy and boss pictures: shaded hulls, gun
// barrels, engines, sensor eyes, armour plates. All enemies face left
// (towards the player) unless a sheet says otherwise.
#pragma once
#include "art.h"

namespace qsassets {

// A colour scheme for one kind of machine.
struct Livery {
    RGB light, base, dark;  // hull, lit from above
    RGB trim;               // stripes and fins
    RGB glow;               // eyes, lamps and exhausts
};

// Fills and outlines the current path with the livery's hull shading over
// [y0, y1].
void hull(cairo_t* cr, const Livery& l, double y0, double y1, double lw = 1.4);
// Same, with the trim colours.
void trim(cairo_t* cr, const Livery& l, double y0, double y1, double lw = 1.2);
// A gun barrel from (x, y) pointing at `deg` (0 right, 180 left).
void barrel(cairo_t* cr, double x, double y, double len, double th, double deg, RGB metal);
// An exhaust flame leaving (x, y) towards +x (use a mirrored context for
// other directions); `f` 0..1 varies its length.
void exhaust(cairo_t* cr, double x, double y, double len, double th, RGB col, double f);
// A glowing sensor eye.
void eye(cairo_t* cr, double x, double y, double r, RGB col, double open = 1.0);
// Panel seam from (x0,y0) to (x1,y1).
void seam(cairo_t* cr, double x0, double y0, double x1, double y1, RGB base);
// A rivet row along a line.
void rivets(cairo_t* cr, double x0, double y0, double x1, double y1, int n, RGB base);
// A shaded sphere.
void sphere(cairo_t* cr, double cx, double cy, double r, RGB light, RGB base, RGB dark, double lw = 1.4);

extern const Livery kRed, kPurple, kGreen, kOrange, kTeal, kPink, kOlive, kBlue, kGold, kSteel,
    kCrimson, kIce, kDark;

}  // namespace qsassets

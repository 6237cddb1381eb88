// The player's ship: its set-up, its loss and the bomb.
#pragma once

// The ship as the loading pass sets it up, once per run: in play at
// (0, 220), 64 x 64, level row, frame 0 of 4, speed 20.
void ShipSetUp();

// The ship is lost: it leaves play and explodes at its centre. The
// collision tests that take the ship call this (a few make a different
// explosion and clear P_Ship.flag themselves).
void ShipLost();

// A bomb: turns every enemy bullet into a jewel this frame and takes one
// bomb (and one power level); a second bomb while the icon still shows,
// or any bomb on EASY, also starts the barrage of bomb missiles. The
// callers check that a bomb is in stock.
void BombStart();

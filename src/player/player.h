// The player: ship, weapons and bombs, jewels, power items and the shield.
// The state below is shared with the enemies, the bullets and the HUD.
#pragma once

// Bomb and ship state.
extern int BombPulse;      // set for the frame of a bomb: every enemy bullet turns into a jewel
extern float BombTime;     // bomb barrage time left
extern int BombSpread;     // half-width in degrees of the barrage's spread
extern float BombFireTime; // time to the next barrage volley
extern bool BombIconAnim;  // set by every bomb
extern float BombIconTime;
extern float TiltTime;     // tilt animation accumulator
extern int RespawnWait;    // frames counted while the ship is destroyed
// Every bomb used since the program started; play never reads it (what a
// game came to counts its own from it).
extern long BombsUsed;

// Weapons.
extern int Weapon;         // 0 spread, 1 fan, 2 missiles
extern float ShotCool;     // fire cadence accumulator
extern float SpreadTime;   // how long a new spread shot keeps its heading
extern float AllShotTime;  // while above 0 every shot kind hits Enemy and Enemy2
extern int ChargePoints;   // points towards the next step of the charge gauge

// Jewels.
extern int JewelStep;

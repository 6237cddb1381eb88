// The player's shared state, with its values at program start.
#include "player/player.h"

int BombPulse;
float BombTime;
int BombSpread;
float BombFireTime;
bool BombIconAnim;
float BombIconTime;
float TiltTime;
int RespawnWait;
long BombsUsed;

int Weapon;
float ShotCool;
float SpreadTime = 0.3f;
float AllShotTime = 100.0f;
int ChargePoints;

int JewelStep;


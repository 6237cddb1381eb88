// What the player's shots hit arrives with its own work.
#include "player/shothit.h"
void ShotHitMidAndBoss(SpriteData&, int) {}
void shot4hit(int, int) {}
void shot5hit(int, int) {}

// What every spawner does after it has found its slot.
#pragma once
#include "entity/entity.h"

// Position, heading (degrees) and speed.
void SpawnPlace(SpriteData& s, float x, float y, int angle, float speed);
// Box and sheet: w x h cells, animation from frame 0 with a clear accumulator.
void SpawnLooks(SpriteData& s, int w, int h, int frames, int bmp);

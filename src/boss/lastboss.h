// The last boss's guns and the values its script files share.
#pragma once
#include "entity/entity.h"

// The mode of a dying last boss: above the script, so it only stands.
enum { LB_MODE_DYING = 23 };
// The end of its death: explosion steps counted in iw[9].
enum { LB_DEATH_STEPS = 100 };

// Firing points (the boss flies nose to the right; its rear guns face the
// ship behind it).
inline float TopGunX(const SpriteData& s) { return s.x + 43; }
inline float CentreGunX(const SpriteData& s) { return s.x + 160; }
inline float CentreGunY(const SpriteData& s) { return s.y + 39; }
inline float FrontGunX(const SpriteData& s) { return s.x + 303; }
inline float RearGunX(const SpriteData& s) { return s.x + 30; }
inline float UpperRearY(const SpriteData& s) { return s.y + 19; }
inline float LowerRearY(const SpriteData& s) { return s.y + 109; }

// The heading in whole degrees from (x, y) to the ship's centre.
int LastBossAim(float x, float y);

// Script steps of the later phases (modes 16..22), in lastboss_phase3.cpp.
void LastBossLatePhase(SpriteData& s);

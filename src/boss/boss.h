// Bosses: the frame every boss shares (creation at the end of a stage's
// script, the energy bar that is also the death trigger, aiming and fans)
// and the first boss, BOSS1.
//
// A boss is normally entry 0 of its pool; its energy is that entry's `hp`,
// which the WARNING fills and the player's shots lower. The bar BossBar is
// trunc(hp / full energy * 500) of entry 0, and a boss starts dying when
// the bar falls below 0 (hp <= -full / 500), not at 0.
#pragma once
#include "entity/entity.h"
#include "game/bosses.h"

// Only the first entries of a boss pool are ever updated.
enum { BOSS_ENTRIES = 3, LBOSS_ENTRIES = 5 };

// The whole degrees (truncated) of the heading from (x1, y1) to (x2, y2),
// 0 .. 359.
int AimDegrees(float x1, float y1, float x2, float y2);
// The heading from (x, y) to the ship's centre raised by `lift` pixels.
int AimAtShipFrom(float x, float y, float lift);

// The boss's centre, with integer halves of its box.
inline float BossCx(const SpriteData& s) { return s.x + s.w / 2; }
inline float BossCy(const SpriteData& s) { return s.y + s.h / 2; }

// A whole number drawn from [lo, hi] for positions; values that could not
// be turned into ints are held at the screen's neighbourhood first.
int BossRandCoord(float lo, float hi);

// The difficulty as the bosses see it: SPECIAL fights like NORMAL.
int BossLevel();
// The first, second or third value by BossLevel().
int BossByLevel(int easy, int normal, int hard);

// A script step is over: the next (`mode`) starts with its volley count
// `time` at 0 after `pause`.
void BossNext(SpriteData& s, int mode, float pause);
// A volley is due once `timer` has run down.
inline bool BossDue(const SpriteData& s) { return s.timer <= 0.0f; }
// Counts a volley and sets the pause to the next; true when `count` have
// been fired.
bool BossCounted(SpriteData& s, float pause, float count);

// The later bosses die in explosion steps. A random point of the boss's
// box, y drawn first.
void BossRandomPoint(const SpriteData& s, float* x, float* y);
// One step: the sound, every enemy bullet turned into a jewel, and 11
// large explosions at random points of the box.
void BossExplosionBurst(const SpriteData& s);
// The same once `timer` has run down, which then starts again at `pause`.
// True when a step was made (the caller counts it).
bool BossExplosionStep(SpriteData& s, float pause = 15.0f);
// A boss-sized chain of explosions at a random point of the box.
void BossBigBlast(const SpriteData& s);

// The per-frame update of each pool (called by BossPass, in this order).
void Boss1Pass();
void Boss2Pass();
void Boss3Pass();
void Boss4Pass();
void Boss5Pass();
void LastBossPass();
void BitPass();

// BOSS1: one entry's whole frame (movement, arena, pattern, death, contact,
// hits, drawing, bar), and its parts.
void Boss1Update(SpriteData& s, int index);
// The pattern choice and the current pattern iw[7] (patterns 0..13).
void Boss1Pattern(SpriteData& s);
// One step of the death sequence (every frame while BossBar < 0).
void Boss1DeathStep(SpriteData& s);

// BOSS4: one entry's whole frame, its script (modes 0..16) and one step of
// its death (mode BOSS4_DYING from the first frame of BossBar < 0).
enum { BOSS4_DYING = 1000 };
void Boss4Update(SpriteData& s, int index);
void Boss4Script(SpriteData& s);
void Boss4DeathStep(SpriteData& s);

// One drone's whole frame (movement, its mode, the shots that hit it,
// drawing).
void BitUpdate(SpriteData& d);

// BOSS5, the core of stage 5's fortress: one entry's frame (script, death,
// contact, hits, bar; the core is not drawn here), its script (modes
// 0..26; any higher mode starts it again from 0) and one death step.
void Boss5Update(SpriteData& s, int index);
void Boss5Script(SpriteData& s);
void Boss5DeathStep(SpriteData& s);
// The script back to its start: mode 0 (waiting for the walls), timer 80.
void Boss5ScriptRestart(SpriteData& s);

// LBOSS, the last boss (entries 0..4, 400 x 168, flying right): one
// entry's whole frame (movement, script, death, contact, hits, flame and
// body, bar), and its parts.
void LastBossUpdate(SpriteData& s, int index);
// The script step of the current `mode` (0..22; 23 and above: standing).
void LastBossScript(SpriteData& s);
// Bouncing flight of the last phases: kept inside x 200..500 and the
// screen's height with a new random heading at every bounce.
void LastBossBounce(SpriteData& s);
// The heading turning bullets leave on, by my_rand(0, n): 0 down, 1 up,
// 2 right, 3 left, anything else right.
int LastBossTurnChoice(int n);
// One step of the death sequence (every frame once BossBar < 0).
void LastBossDeathStep(SpriteData& s);

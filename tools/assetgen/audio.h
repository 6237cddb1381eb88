// Sound effects and music of the game, synthesised and composed here.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace qsassets {

// Writes the 17 effects under `outDir`/SE. False on a write error.
bool make_effects(const std::string& outDir);
// Writes the 11 tunes under `outDir`/MIDI. False on a write error.
bool make_tunes(const std::string& outDir);

// A mono 16-bit PCM WAV: 44-byte header ("fmt " first, then "data").
bool write_wav(const std::string& path, int rate, const std::vector<int16_t>& pcm);

}  // namespace qsassets

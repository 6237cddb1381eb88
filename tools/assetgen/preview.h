// Contact sheet of the generated bitmaps (make preview).
#pragma once
#include <string>
#include <vector>

namespace qsassets {

// Reads every bitmap from `outDir` and writes `dir`/contact.png and one
// full-size PNG per sheet under `dir`/sheets/. False on a read error.
bool make_preview(const std::string& outDir, const std::string& dir);

// Chosen cells ("slot:col:row") side by side, enlarged by `zoom`.
bool make_montage(const std::string& outDir, const std::string& png, double zoom,
                  const std::vector<std::string>& cells);

}  // namespace qsassets

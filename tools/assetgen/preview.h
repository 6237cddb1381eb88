// Contact sheet of the generated bitmaps (make preview).
#pragma once
#include <string>

namespace qsassets {

// Reads every bitmap from `outDir` and writes `dir`/contact.png and one
// full-size PNG per sheet under `dir`/sheets/. False on a read error.
bool make_preview(const std::string& outDir, const std::string& dir);

}  // namespace qsassets

// The game's face on a desktop: IPA P Mincho, the nearest to the game's
// proportional Mincho that we can ship, asked of fontconfig rather than
// looked for at a fixed path.
#include "platform/plat_internal.h"

#include <cstring>
#include <fontconfig/fontconfig.h>

std::string PlatI_FontFile() {
    const char* names[] = {"IPAPMincho", "IPA P明朝", "IPAMincho", "serif:lang=ja"};
    if (!FcInit()) return "";
    std::string path;
    for (const char* name : names) {
        FcPattern* pat = FcNameParse(reinterpret_cast<const FcChar8*>(name));
        if (!pat) continue;
        FcConfigSubstitute(nullptr, pat, FcMatchPattern);
        FcDefaultSubstitute(pat);
        FcResult res;
        FcPattern* match = FcFontMatch(nullptr, pat, &res);
        FcPatternDestroy(pat);
        if (!match) continue;
        FcChar8* file = nullptr;
        FcChar8* family = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
            FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch) {
            std::string fam = reinterpret_cast<const char*>(family);
            if (fam.find("IPA") != std::string::npos || std::strncmp(name, "serif", 5) == 0)
                path = reinterpret_cast<const char*>(file);
        }
        FcPatternDestroy(match);
        if (!path.empty()) break;
    }
    return path;
}

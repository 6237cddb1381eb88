// Bitmap decoding and conversion to display pixels on arbitrary bytes.
#include "platform/display.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PlatSurface* s = Plat_SurfaceLoadBMPMem(data, size);
    if (s) {
        // Touch every converted pixel.
        volatile uint16_t sum = 0;
        const uint16_t* p = Plat_SurfacePixels(s);
        for (long i = 0; i < (long)Plat_SurfaceWidth(s) * Plat_SurfaceHeight(s); i++) sum = (uint16_t)(sum + p[i]);
        Plat_SurfaceFree(s);
    }
    return 0;
}

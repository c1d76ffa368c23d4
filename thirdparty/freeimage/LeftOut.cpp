// Formats left out of this build: a name in the list, no reader or writer.
#include "FreeImage.h"
#include "Plugin.h"

#define LEFT_OUT(NAME)                                                                             \
    static const char* DLL_CALLCONV Format##NAME() {                                               \
        return #NAME;                                                                              \
    }                                                                                              \
    void DLL_CALLCONV Init##NAME(Plugin* plugin, int) {                                            \
        plugin->format_proc = Format##NAME;                                                        \
    }

LEFT_OUT(BMP)
LEFT_OUT(ICO)
LEFT_OUT(JNG)
LEFT_OUT(KOALA)
LEFT_OUT(IFF)
LEFT_OUT(MNG)
LEFT_OUT(PNM)
LEFT_OUT(PCD)
LEFT_OUT(PCX)
LEFT_OUT(RAS)
LEFT_OUT(TARGA)
LEFT_OUT(TIFF)
LEFT_OUT(WBMP)
LEFT_OUT(PSD)
LEFT_OUT(CUT)
LEFT_OUT(XBM)
LEFT_OUT(XPM)
LEFT_OUT(DDS)
LEFT_OUT(GIF)
LEFT_OUT(HDR)
LEFT_OUT(G3)
LEFT_OUT(SGI)
LEFT_OUT(EXR)
LEFT_OUT(J2K)
LEFT_OUT(JP2)
LEFT_OUT(PFM)
LEFT_OUT(PICT)
LEFT_OUT(RAW)
LEFT_OUT(WEBP)
LEFT_OUT(JXR)

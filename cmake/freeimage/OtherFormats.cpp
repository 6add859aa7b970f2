// The formats this build of FreeImage leaves out: each registers its name and nothing else,
// so that it reads and writes nothing while every format keeps FreeImage's own number.
#include "FreeImage.h"
#include "Plugin.h"

#define PICTARO_NAME_ONLY(Name, Text)                               \
  static const char* DLL_CALLCONV Name##Format() {                  \
    return Text;                                                    \
  }                                                                 \
  void DLL_CALLCONV Init##Name(Plugin* plugin, int /*format_id*/) { \
    plugin->format_proc = Name##Format;                             \
  }

PICTARO_NAME_ONLY(BMP, "BMP")
PICTARO_NAME_ONLY(ICO, "ICO")
PICTARO_NAME_ONLY(JPEG, "JPEG")
PICTARO_NAME_ONLY(JNG, "JNG")
PICTARO_NAME_ONLY(KOALA, "KOALA")
PICTARO_NAME_ONLY(IFF, "IFF")
PICTARO_NAME_ONLY(MNG, "MNG")
PICTARO_NAME_ONLY(PCD, "PCD")
PICTARO_NAME_ONLY(PCX, "PCX")
PICTARO_NAME_ONLY(RAS, "RAS")
PICTARO_NAME_ONLY(TARGA, "TARGA")
PICTARO_NAME_ONLY(TIFF, "TIFF")
PICTARO_NAME_ONLY(WBMP, "WBMP")
PICTARO_NAME_ONLY(PSD, "PSD")
PICTARO_NAME_ONLY(CUT, "CUT")
PICTARO_NAME_ONLY(XBM, "XBM")
PICTARO_NAME_ONLY(XPM, "XPM")
PICTARO_NAME_ONLY(DDS, "DDS")
PICTARO_NAME_ONLY(GIF, "GIF")
PICTARO_NAME_ONLY(HDR, "HDR")
PICTARO_NAME_ONLY(G3, "G3")
PICTARO_NAME_ONLY(SGI, "SGI")
PICTARO_NAME_ONLY(EXR, "EXR")
PICTARO_NAME_ONLY(J2K, "J2K")
PICTARO_NAME_ONLY(JP2, "JP2")
PICTARO_NAME_ONLY(PFM, "PFM")
PICTARO_NAME_ONLY(PICT, "PICT")
PICTARO_NAME_ONLY(RAW, "RAW")
PICTARO_NAME_ONLY(WEBP, "WEBP")
PICTARO_NAME_ONLY(JXR, "JXR")

// The portable any-map formats register their names themselves; their reader is left out.
void DLL_CALLCONV InitPNM(Plugin* /*plugin*/, int /*format_id*/) {}

// The formats this build of FreeImage leaves out: each registers its name and its file name
// extensions and nothing else, so that it reads and writes nothing while every format keeps
// FreeImage's own number, and a file name still finds its format (FreeImage's lookup by name
// reads every format's extensions and would fail on one without).
#include "FreeImage.h"
#include "Plugin.h"

#define PICTARO_NAME_ONLY(Name, Text, List)                         \
  static const char* DLL_CALLCONV Name##Format() {                  \
    return Text;                                                    \
  }                                                                 \
  static const char* DLL_CALLCONV Name##Extensions() {              \
    return List;                                                    \
  }                                                                 \
  void DLL_CALLCONV Init##Name(Plugin* plugin, int /*format_id*/) { \
    plugin->format_proc = Name##Format;                             \
    plugin->extension_proc = Name##Extensions;                      \
  }

PICTARO_NAME_ONLY(BMP, "BMP", "bmp")
PICTARO_NAME_ONLY(ICO, "ICO", "ico")
PICTARO_NAME_ONLY(JPEG, "JPEG", "jpg,jif,jpeg,jpe")
PICTARO_NAME_ONLY(JNG, "JNG", "jng")
PICTARO_NAME_ONLY(KOALA, "KOALA", "koa")
PICTARO_NAME_ONLY(IFF, "IFF", "iff,lbm")
PICTARO_NAME_ONLY(MNG, "MNG", "mng")
PICTARO_NAME_ONLY(PCD, "PCD", "pcd")
PICTARO_NAME_ONLY(PCX, "PCX", "pcx")
PICTARO_NAME_ONLY(RAS, "RAS", "ras")
PICTARO_NAME_ONLY(TARGA, "TARGA", "tga,targa")
PICTARO_NAME_ONLY(TIFF, "TIFF", "tif,tiff")
PICTARO_NAME_ONLY(WBMP, "WBMP", "wap,wbmp,wbm")
PICTARO_NAME_ONLY(PSD, "PSD", "psd,psb")
PICTARO_NAME_ONLY(CUT, "CUT", "cut")
PICTARO_NAME_ONLY(XBM, "XBM", "xbm")
PICTARO_NAME_ONLY(XPM, "XPM", "xpm")
PICTARO_NAME_ONLY(DDS, "DDS", "dds")
PICTARO_NAME_ONLY(GIF, "GIF", "gif")
PICTARO_NAME_ONLY(HDR, "HDR", "hdr")
PICTARO_NAME_ONLY(G3, "G3", "g3")
PICTARO_NAME_ONLY(SGI, "SGI", "sgi,rgb,rgba,bw")
PICTARO_NAME_ONLY(EXR, "EXR", "exr")
PICTARO_NAME_ONLY(J2K, "J2K", "j2k,j2c")
PICTARO_NAME_ONLY(JP2, "JP2", "jp2")
PICTARO_NAME_ONLY(PFM, "PFM", "pfm")
PICTARO_NAME_ONLY(PICT, "PICT", "pct,pict,pic")
PICTARO_NAME_ONLY(
    RAW, "RAW",
    "3fr,arw,bay,bmq,cap,cine,cr2,crw,cs1,dc2,dcr,drf,dsc,dng,erf,fff,ia,iiq,k25,kc2,kdc,mdc,mef,"
    "mos,mrw,nef,nrw,orf,pef,ptx,pxn,qtk,raf,raw,rdc,rw2,rwl,rwz,sr2,srf,srw,sti,x3f")
PICTARO_NAME_ONLY(WEBP, "WEBP", "webp")
PICTARO_NAME_ONLY(JXR, "JXR", "jxr,wdp,hdp")

// The portable any-map formats register their names themselves; their reader is left out.
void DLL_CALLCONV InitPNM(Plugin* /*plugin*/, int /*format_id*/) {}
